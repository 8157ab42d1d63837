#pragma once

#include "db/Money.h"
#include "db/Statement.h"
#include "query/ItemLineCriteria.h"
#include "query/ReportCriteria.h"
#include "query/SummaryPlanner.h"

#include <QString>
#include <QStringList>

#include <vector>

// What the department reports filter their item lines on, besides the range, the branch choice,
// deleted bills and top-ups. Their bills carry the branch as the item lines' do (ItemLineBranch).
struct DepartQueryCriteria : ReportCriteria
{
    int giftScope = WithoutGifts;
};

// -- the department item statistics ------------------------------------------------------------
struct DepartItemCriteria : DepartQueryCriteria
{
    QString departType; // chosen, empty for "(全部)"
    QString menuType;
    QString lowPrice, highPrice; // the band of the average price; empty: no bound
    int orderBy = -1;            // grid column (0-based) to sort on, -1: none
    bool descending = false;
};
// The grid columns' fields in order, as the sort choices list them.
extern const char* const DepartItemFields[10];
// Items sold over the range with quantity, amount, discount, net amount and average price (the
// one view).
Statement DepartItemStatement(int view, const DepartItemCriteria& criteria);

// -- the department share chart ----------------------------------------------------------------
// What a slice stands for: the grouping options in order.
enum DepartGrouping
{
    ByDepartType,
    ByDepart,
    ByMenuType,
    ByDepartTypeAndDepart,
    ByDepartTypeAndMenuType
};
// The group fields of a grouping ("DepartTypeName,DepartName") and the fields of a slice's
// label in the order they are written (department first, then its type).
QStringList DepartGroupFields(int grouping);
QStringList DepartLabelFields(int grouping);
struct DepartShareCriteria : DepartQueryCriteria
{
    QStringList periods;                   // the ticked meal periods
    int grouping = ByDepartType;           // DepartGrouping
    QString minimum = QStringLiteral("2"); // the smallest share of a slice, in percent, as typed
};
// The sales amount per group over the ticked meal periods, largest first (the chart has no views
// to choose: `view` is 0).
Statement DepartShareStatement(int view, const DepartShareCriteria& criteria);

// One group's amount, and one slice of the chart.
struct DepartShareRow
{
    QString label;
    Money amount;
    QStringList keys = {}; // the group's values of DepartGroupFields, in that order
};
struct DepartSlice
{
    QString label; // "<label>：<amount>，<share>", the amount with thousands separators
    Money amount;
    bool others = false;
    QList<QStringList> groups = {}; // the keys of the groups it holds (the folded ones: several)
};
// The slices for rows that arrive largest first: a group whose share in percent is below
// `minPercent` goes to the "others" slice (labelled `othersLabel`), except the last row while
// nothing else has gone there, which keeps its own slice. The label's two separators are the
// language's ("：" and "，" in Chinese).
std::vector<DepartSlice> DepartSlices(const std::vector<DepartShareRow>& rows, double minPercent,
                                      const QString& othersLabel,
                                      const QString& nameSeparator = QStringLiteral("："),
                                      const QString& shareSeparator = QStringLiteral("，"));

// Where the share statement's bill tables and their join stand, for the item summaries.
SummaryPlanner::Replacements DepartShareSummaryText();
// The same for the item statistics, whose lines with no quantity left are those the summaries
// mark QtyNonZero=0 (every criterion of the screen is kept by the summaries).
SummaryPlanner::Replacements DepartItemSummaryText();
