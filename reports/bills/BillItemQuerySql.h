#pragma once

#include "core/modBranch.h"

#include <QString>

// What the bill item query's criteria bar asks for. List choices carry the chosen item's text,
// or an empty text for "(全部)" and for a typed text that matches no item.
struct BillItemQueryCriteria
{
    BranchChoice branch;
    QString shiftId; // typed; blanks around it are ignored
    QString billPeriod;
    QString tableArea;
    QString departType;
    QString menuType;
    QString depart;
    QString menuText;  // typed: the start of an item code, or any part of a name
    int giftScope = 0; // GiftScope (screens/ItemCriteria.h)
    QString createPerson;
    bool useTrueData = false; // include deleted bills
    bool saving = false;      // leave out member-card top-ups
};

// The views, in the order of their option buttons.
enum BillItemQueryView
{
    ItemLines,  // one item line of one bill
    ByItem,     // one menu item
    ByItemType, // one department type and menu type
    ByWaiter    // one waiter (who ordered the line)
};

// The conditions appended after the join and the date range, in their fixed order; zero-settled
// bills are always left out.
QString BillItemQueryWhereTail(const BillItemQueryCriteria& criteria);
// The statement of a view; its two parameters are the begin date and the day after the end date.
QString BillItemQuerySql(int view, const BillItemQueryCriteria& criteria);
