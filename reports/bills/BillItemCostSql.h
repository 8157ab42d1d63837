#pragma once

#include "query/ItemLineCriteria.h"

#include <QString>

// The sales commission report: each sold quantity earns quantity x the commission price of its
// item and unit. The price is the item line's own (bi_BillItem.CostPrice) when the item lines
// carry one, otherwise the menu's: CostPrice for an item's default unit, PriceForCost for an
// extra unit (mn_MenuUnit).
struct BillItemCostCriteria : ItemLineCriteria
{
    // The item lines carry their own commission price (ItemPriceProbe runs).
    bool itemPrice = false;
};

// The views, in the order of their option buttons.
enum BillItemCostView
{
    CostLines,      // one item line of one bill
    CostByItem,     // one menu item and unit
    CostByItemType, // one department type and menu type
    CostByWaiter    // one waiter (who ordered the line)
};

// Runs when the item lines carry their own commission price, fails otherwise.
extern const char* const ItemPriceProbe;

// The conditions appended after the join, in their fixed order (before the MN./BI. rewrite).
Statement BillItemCostWhereTail(const BillItemCostCriteria& criteria);
// The menu's commission prices as a table MN: each item once with its default unit (unit id =
// item id) and once per extra unit; joined by item and unit.
QString BillItemCostMenuTable();
// The same table without the comma before it: "(SELECT DISTINCT * FROM ( ... )AS MN ".
QString MenuCostPriceTable();
// The statement of a view, with the range's dates. With item prices the menu table is left out
// and every "MN." reads "BI.".
Statement BillItemCostStatement(int view, const BillItemCostCriteria& criteria);
