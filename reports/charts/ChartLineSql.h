#pragma once

#include "core/modBranch.h"
#include "query/BranchScope.h"

#include <QString>
#include <QStringList>

// The statements of the daily chart lines, as pure functions of plain criteria. Each returns
// one row per business day with sales (BillDate, TotalSum), ordered by day, and binds two date
// parameters: the begin date and the day after the end date.

// What every daily line is limited by.
struct ChartLineCriteria
{
    QStringList periods;      // the ticked meal periods (at least one)
    bool useTrueData = false; // include bills flagged deleted
    bool saving = false;      // leave out member-card top-up bills
    BranchChoice branch;
};

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
    Subject subject = DepartType;
    QString subjectName;   // the chosen department type, menu type or menu, as listed
    bool quantity = false; // plot the quantity sold instead of the amount
    Gifts gifts = WithoutGifts;
};
QString MenuLineSql(const MenuLineCriteria& c);

// The business trend lines: 0 turnover (received), 1 guests, 2 settled bills (the table
// turnover before it is divided by the table count).
struct TrendLineCriteria : ChartLineCriteria
{
    int kind = 0;
};
QString TrendLineMeasure(int kind);
QString TrendLineSql(const TrendLineCriteria& c);
