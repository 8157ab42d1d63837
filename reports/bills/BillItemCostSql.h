#pragma once

#include "core/modBranch.h"

#include <QString>

// The sales commission report: each sold quantity earns quantity x the commission price of its
// item and unit. The price is the item line's own (bi_BillItem.CostPrice) when the item lines
// carry one, otherwise the menu's: CostPrice for an item's default unit, PriceForCost for an
// extra unit (mn_MenuUnit).
//
// What the criteria bar asks for: list choices carry the chosen item's text, or an empty text
// for "(全部)".
struct BillItemCostCriteria
{
    BranchChoice branch;
    QString billPeriod;
    QString departType;
    QString menuType;
    QString menuText;  // typed: the start of an item code, or a part of a name (or spelling)
    int giftScope = 0; // GiftScope (screens/ItemCriteria.h)
    QString createPerson;
    bool useTrueData = false; // include deleted bills
    bool saving = false;      // leave out member-card top-ups
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
QString BillItemCostWhereTail(const BillItemCostCriteria& criteria);
// The menu's commission prices as a table MN: each item once with its default unit (unit id =
// item id) and once per extra unit; joined by item and unit.
QString BillItemCostMenuTable();
// The statement of a view; its two parameters are the begin date and the day after the end
// date. With item prices the menu table is left out and every "MN." reads "BI.".
QString BillItemCostSql(int view, const BillItemCostCriteria& criteria);
