#pragma once

#include "core/modBranch.h"

#include <QString>

// What the returned-items query's criteria bar asks for. List choices carry the chosen item's
// text, or an empty text for "(全部)".
struct SubBillQueryCriteria
{
    BranchChoice branch;
    QString billPeriod;
    QString departType;
    QString menuType;
    QString menuText; // typed: a code's beginning or a part of the name
    QString reason;   // matches every return whose remark contains it
    QString createPerson;
    bool useTrueData = false; // include deleted bills
    bool saving = false;      // leave out member-card top-ups
};

// The conditions after the bill date range, in their fixed order.
QString SubBillQueryWhereTail(const SubBillQueryCriteria& criteria);
// The returns (bi_SubBill rows of type 2) of the settled bills of the range with their item
// lines; its two parameters are the begin date and the day after the end date.
QString SubBillQuerySql(const SubBillQueryCriteria& criteria);
