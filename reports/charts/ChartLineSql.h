#pragma once

#include "db/Statement.h"
#include "query/BranchScope.h"
#include "query/ReportCriteria.h"

#include <QString>
#include <QStringList>

// The statements of the daily chart lines, as pure functions of their criteria. Each returns
// one row per business day with sales (BillDate, TotalSum) over the range, ordered by day. The
// charts have no views to choose: `view` is 0.

// What every daily line is limited by besides the range, branch, deleted bills and top-ups.
struct ChartLineCriteria : ReportCriteria
{
    QStringList periods; // the ticked meal periods (at least one)
};

// The bills of the lines carry their branch's id and name: the menu sales line's under the
// alias of the bills joined with their items, the trend lines' as they are.
inline const BranchColumns MenuLineBranch{QStringLiteral("BL.BranchID"),
                                          QStringLiteral("BL.BranchName")};
inline const BranchColumns TrendLineBranch{QStringLiteral("BranchID"),
                                           QStringLiteral("BranchName")};

// The menu sales chart: the sales amount or the quantity sold of one department type, menu
// type or menu, per day.
struct MenuLineCriteria : ChartLineCriteria
{
    enum Subject
    {
        DepartType,
        MenuType,
        Menu
    };
    enum Gifts
    {
        WithoutGifts, // gift items leave the line
        GiftsOnly,    // the line of gift items alone
        AllItems
    };
    int subject = DepartType; // Subject; none chosen counts as DepartType
    // The lists as shown: the department type and menu type chosen (their first item asks
    // for a choice), the menu chosen or typed (its code, name or abbreviation).
    QString departType, menuType, menuText;
    QString subjectName;      // the department type, menu type or menu the line is of, as listed
    bool quantity = false;    // plot the quantity sold instead of the amount
    int gifts = WithoutGifts; // Gifts
};
Statement MenuLineStatement(int view, const MenuLineCriteria& c);

// The business trend lines: 0 turnover (received), 1 guests, 2 settled bills (the table
// turnover before it is divided by the table count).
struct TrendLineCriteria : ChartLineCriteria
{
    int kind = 0;
};
QString TrendLineMeasure(int kind);
Statement TrendLineStatement(int view, const TrendLineCriteria& c);
