#pragma once

#include "core/modBranch.h"
#include "query/BranchScope.h"

#include <QString>

// The sales daily report reads the item sales each branch uploads as daily summaries
// (rp_BillItem_Upload), not the bills. What its criteria bar asks for: list choices carry the
// chosen item's text, or an empty text for "(全部)".
struct BillItemReportCriteria
{
    BranchChoice branch;
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

// The branch condition on the upload table's BranchID / BranchName.
QString BillItemReportBranchFilter(const BranchChoice& branch);
// The conditions appended after the date range, in their fixed order.
QString BillItemReportWhereTail(const BillItemReportCriteria& criteria);
// The statement of a view; its two parameters are the begin date and the day after the end date.
QString BillItemReportSql(int view, const BillItemReportCriteria& criteria);

// The department types the chosen branches uploaded, and their menu types (of one department
// type when `departType` is not empty); no parameters.
QString BillItemReportDepartTypesSql(const BranchChoice& branch);
QString BillItemReportMenuTypesSql(const BranchChoice& branch, const QString& departType);
