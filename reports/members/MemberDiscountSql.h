#pragma once

#include "screens/ItemCriteria.h"

#include <QString>

// What the member discount query asks for: the item-line criteria it shares with the item
// reports (branch, department type, menu type, gift scope, deleted bills, top-ups) and a sort.
struct MemberDiscountCriteria : ItemLineCriteria
{
    QString orderBy; // a column of the result, empty for no order
    bool descending = false;
};

// The discounts per dish and price pair on the lines sold below (or above) their list price:
// quantity, discount and discount rate (1 - discount / consumption). Its two parameters are the
// begin date and the end date itself (bill dates carry no time of day).
QString MemberDiscountSql(const MemberDiscountCriteria& criteria);
