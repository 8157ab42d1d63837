#pragma once

#include "db/Statement.h"
#include "query/BranchScope.h"
#include "query/ReportCriteria.h"
#include "query/StatementFragments.h"

#include <QString>

// What the item reports over bill lines ask for. List choices carry the chosen item's text, or
// an empty text for "(全部)" and for a typed text that matches no item.
struct ItemLineCriteria : ReportCriteria
{
    QString billPeriod;
    QString departType;
    QString menuType;
    QString menuText; // typed: the start of an item code, or any part of a name
    int giftScope = WithoutGifts;
    QString createPerson; // the waiter
};

// The bills of the item lines carry their branch's id and name.
inline const BranchColumns ItemLineBranch{QStringLiteral("BL.BranchID"),
                                          QStringLiteral("BL.BranchName")};

// The conditions that begin an item-line statement over settled bills, in this order: settled
// bills only (BL.CheckOutNull=0), the branch (ItemLineBranch), the meal period (BL.BillPeriod),
// the department type and menu type (<item>.DepartTypeName, <item>.MenuTypeName, `item` the
// alias of the table that names them).
Statement ItemLineHead(const ItemLineCriteria& criteria, const QString& item);
// The conditions that end an item-line statement, in this order: the gift scope, the waiter
// (BI.CreatePerson), deleted bills left out, member-card top-ups left out.
QString ItemLineTail(const ItemLineCriteria& criteria);
