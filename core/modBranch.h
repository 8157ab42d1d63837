#pragma once

#include "mod_ADO.h"

#include <QString>

class QComboBox;
class QWidget;
class frmBranch;

// Branch and area scope: the areas and branches the signed-in user may see, the SQL conditions
// that keep a report inside them, and the report's branch combo (`cboBranch`).
//
// Privileges: rpt_pv_Branch (UserID, BranchID) and rpt_pv_Area (UserID, AreaID), where UserID
// holds a user id or a user group id. A missing or empty table grants everything; otherwise the
// user sees exactly the ids listed for his user id or his group id.
//
// Branch combo: item 0 "(全部)" (all), item 1 "(部分)" (several, chosen in frmBranch), then the
// branch names, added on the first drop-down. Once they are in, the combo's dynamic property
// "Tag" holds "Loaded".

// Area rows (AreaID, AreaName): rpt_dd_Branch, else mnt_dd_Area; filtered by rpt_pv_Area.
RowCollection GetAreas();
// Branch rows: rpt_dd_Branch, else mnt_dd_Branch, else dd_Branch, else the distinct
// BranchID, BranchName of `fallbackTable` ("bi_Bill", "rp_BillItem_Upload", ...); filtered by
// rpt_pv_Branch. A source that fails counts as empty.
RowCollection GetBranches(const QString& fallbackTable);
// Adds the branch names once (guarded by the tag), with the wait cursor on the combo's window.
void FillBranchCombo(QComboBox* combo, const QString& fallbackTable);
// Adds each row's `column` text at the end, skipping blank texts and texts already listed.
void FillComboFromRows(QComboBox* combo, const RowCollection& rows, const QString& column);

// " and <column> in ( '1','2' ) " for the branch ids the user may see, " and 1<>1 " when he may
// see none, nothing when rpt_pv_Branch grants everything.
void AppendBranchFilter(QString& sql, const QString& column);
// The same with the names of the branches the user may see (for tables keyed by branch name).
void AppendBranchNameFilter(QString& sql, const QString& column);

// The condition for the branch combo's choice, as every report screen appends it:
//   item 0 (all):      AppendBranchFilter(sql, idColumn)
//   item 1 (several):  " and <idColumn> in (<the picker's ticked ids>) "
//   item 2 and later:  " and <nameColumn>='<the combo text>'"
// With item 1 and nothing ticked in the picker (or no picker yet) there is nothing sensible to
// query: the user is asked to tick a branch (message Msg_Branch_ToSelect of section frmBranch),
// the picker is opened, and false is returned with `sql` unchanged; the screen then runs no
// query. True otherwise.
bool AppendBranchChoice(QString& sql, QComboBox* cboBranch, frmBranch* picker,
                        const QString& idColumn, const QString& nameColumn);
