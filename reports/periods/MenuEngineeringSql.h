#pragma once

#include "db/Statement.h"
#include "query/ItemLineCriteria.h"

#include <QString>

// What the menu engineering report's criteria bar asks for: the settled bills of a date range
// and branch choice, their item lines by department type and menu type and the gift scope, as
// the item reports count them (net of returns).
struct MenuEngineeringCriteria : ItemLineCriteria
{
    // The item lines carry their own cost price (ItemPriceProbe runs); otherwise the menu's
    // is read, by item and unit.
    bool itemPrice = false;
};

// Each dish (item and unit) sold in the range: MenuID, MenuName, MenuUnitID, MenuUnitName,
// MenuTypeName, the net quantity MenuAmount, the sales theSumOfConsume, the cost SumOfCost
// (quantity x cost price) and CostAmount, the quantity of the lines that carry a cost price.
// The cost price is the line's own CostPrice with itemPrice, otherwise the menu's (the item's
// CostPrice for its default unit, the unit's PriceForCost for an extra unit), NULL for a dish
// the menu does not know. The same statement for every view; the branch's condition stands on
// ItemLineBranch.
Statement MenuEngineeringStatement(int view, const MenuEngineeringCriteria& criteria);
