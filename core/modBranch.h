#pragma once

#include "core/mod_ADO.h"
#include "framework/Bill.h"

#include <QString>
#include <QStringList>

#include <optional>

class QComboBox;

// Branch and area scope: the areas and branches the signed-in user may see, the SQL conditions
// that keep a report inside them, and the report's branch combo (`cboBranch`).
//
// Privileges: rpt_pv_Branch (UserID, BranchID) and rpt_pv_Area (UserID, AreaID), where UserID
// holds a user id or a user group id. A missing or empty table grants everything; otherwise the
// user sees exactly the ids listed for his user id or his group id. A privilege table that
// exists but cannot be read (a database role without the right to read it, a damaged page)
// grants nothing: the functions that build a statement throw SqlError with the database's
// reason, so the report is refused; the lists show nothing.
//
// Branch combo: item 0 "(全部)" (all), item 1 "(部分)" (several, chosen in frmBranch), then the
// branch names, added on the first drop-down. Once they are in, the combo's dynamic property
// "Tag" holds "Loaded".

// Area rows (AreaID, AreaName): rpt_dd_Branch, else mnt_dd_Area; filtered by rpt_pv_Area
// (none when it cannot be read).
RowCollection GetAreas();
// Branch rows: rpt_dd_Branch, else mnt_dd_Branch, else dd_Branch, else the distinct
// BranchID, BranchName of `fallbackTable` ("bi_Bill", "rp_BillItem_Upload", ...); filtered by
// rpt_pv_Branch (none when it cannot be read). A source that fails counts as empty.
RowCollection GetBranches(const QString& fallbackTable);
// Adds the branch names once (guarded by the tag), with the wait cursor on the combo's window.
void FillBranchCombo(QComboBox* combo, const QString& fallbackTable);
// Adds each row's `column` text at the end, skipping blank texts and texts already listed.
void FillComboFromRows(QComboBox* combo, const RowCollection& rows, const QString& column);

// The branch ids the user may see by rpt_pv_Branch (his and his group's rows, in row order, a
// repeated id listed again); nullopt when the table grants everything. Throws SqlError when
// rpt_pv_Branch exists but cannot be read.
std::optional<QStringList> PrivilegedBranchIds();
// The names of GetBranches("bi_Bill") when rpt_pv_Branch has rows, else nullopt. Throws as
// PrivilegedBranchIds.
std::optional<QStringList> PrivilegedBranchNames();
// " and <column> in ( '<v1>','<v2>' ) ", " and 1<>1 " for an empty list, nothing for nullopt.
QString BranchIdFilter(const std::optional<QStringList>& values, const QString& column);
// The bills the signed-in user may look at one by one (bill audit, bill detail): those of his
// branches (none when his privileges cannot be read), deleted ones only with the right to see
// deleted data.
BillScope UserBillScope();

// The branches the user is limited to: PrivilegedBranchIds(), or nullopt when they are every
// branch of the branch list (so that a user who may see every branch sees every row, those of
// no known branch included). For the screens that have no branch criterion yet keep a user to
// his branches' rows. Throws as PrivilegedBranchIds.
std::optional<QStringList> LimitedBranchIds();
// Whether bi_Bill holds bill `billId` for a branch the user may not see (false for a bill it
// does not hold, and for every bill when he may see every branch). Throws SqlError when the
// bill or the privileges cannot be read.
bool BillOfHiddenBranch(const QString& billId);

// " and <column> in ( '1','2' ) " for the branch ids the user may see, " and 1<>1 " when he may
// see none, nothing when rpt_pv_Branch grants everything. Throws as PrivilegedBranchIds.
void AppendBranchFilter(QString& sql, const QString& column);
// The same with the names of the branches the user may see (for tables keyed by branch name).
void AppendBranchNameFilter(QString& sql, const QString& column);
