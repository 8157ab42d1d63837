#pragma once

#include "query/ItemLineCriteria.h"
#include "query/SummaryPlanner.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the bill item query's criteria bar asks for besides the item-line criteria.
struct BillItemQueryCriteria : ItemLineCriteria
{
    QString shiftId; // typed; blanks around it are ignored
    QString tableArea;
    QString depart; // the kitchen
    // One item exactly, by code and name: the key of a row summed by item, when a drill-down
    // opens its lines (no control).
    QString menuId;
    QString menuName;
    // One preparing department exactly, by name: the key of a row summed by department (no
    // control).
    QString departName;
    // The lines of one statistic group (its department types, menu types and menus), by the
    // group's id: a daily report's group row drilled down (no control).
    QString groupTypeId;
    // The meal periods a chart's line counts, one name a line (no control; empty: all).
    QString billPeriods;
    // The lines of some item groups, as ItemGroupsText writes them: a slice of the department
    // share chart, or its "others" slice (no control; empty: every group).
    QString itemGroups;
};

// Item groups by their department type, preparing department or menu type: the fields that make
// a group (of DepartTypeName, DepartName, MenuTypeName) and each group's values in that order, a
// missing value (NULL) written empty. A line belongs when it has every value of one group.
struct ItemGroups
{
    QStringList fields;
    QList<QStringList> groups;
    bool operator==(const ItemGroups&) const = default;
};
// The groups as the key criterion's text, and back (no fields from a text that is not one).
QString ItemGroupsText(const ItemGroups& groups);
ItemGroups ItemGroupsFromText(const QString& text);

// The views, in the order of their option buttons.
enum BillItemQueryView
{
    ItemLines,  // one item line of one bill
    ByItem,     // one menu item
    ByItemType, // one department type and menu type
    ByWaiter    // one waiter (who ordered the line)
};

// The conditions appended after the join and the date range, in their fixed order; zero-settled
// bills are always left out. The branch's stands on ItemLineBranch.
Statement BillItemQueryWhereTail(const BillItemQueryCriteria& criteria);
// The statement of a view, with the range's dates.
Statement BillItemQueryStatement(int view, const BillItemQueryCriteria& criteria);

// Whether the item summaries answer the view: the items, the item types and the waiters, with
// any waiter or menu item chosen; none of them when a shift or a table area is chosen.
bool BillItemQueryFitsSummaries(int view, const BillItemQueryCriteria& criteria);
// Where the statement's bill tables and their join stand, for the item summaries.
SummaryPlanner::Replacements BillItemQuerySummaryText();
