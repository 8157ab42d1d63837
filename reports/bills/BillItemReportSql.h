#pragma once

#include "db/Statement.h"
#include "query/BranchScope.h"
#include "query/ReportCriteria.h"

#include <QString>

// The sales daily report reads the item sales each branch uploads as daily summaries
// (rp_BillItem_Upload), not the bills. What its criteria bar asks for: list choices carry the
// chosen item's text, or an empty text for "(全部)".
struct BillItemReportCriteria : ReportCriteria
{
    QString departType;
    QString menuType;
    QString menuText; // typed: the start of an item code, or any part of a name
};

// The views, in the order of their option buttons.
enum BillItemReportView
{
    UploadByItem,       // menu item and unit
    UploadByMenuType,   // department type and menu type
    UploadByDepartType, // department type
    UploadByDepart      // preparing department
};

// The uploaded rows carry their branch's id and name.
inline const BranchColumns BillItemReportBranch{QStringLiteral("BranchID"),
                                                QStringLiteral("BranchName")};

// The conditions appended after the date range, in their fixed order, the branch's first.
Statement BillItemReportWhereTail(const BillItemReportCriteria& criteria);
// The statement of a view, with the range's dates.
Statement BillItemReportStatement(int view, const BillItemReportCriteria& criteria);

// The department types the chosen branches uploaded, and their menu types (of the department
// type chosen, when one is); no parameters.
Statement BillItemReportDepartTypesStatement(const BillItemReportCriteria& criteria);
Statement BillItemReportMenuTypesStatement(const BillItemReportCriteria& criteria);
