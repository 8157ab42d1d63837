#pragma once

#include "db/Money.h"
#include "reports/periods/DailyReportFigures.h"
#include "reports/periods/DailyReportLists.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>

class Sheet;
enum class CellType : quint8;

// The income sheet itself: an 18-column grid with the subject block on the left (money taken
// per payment subject) and the department block on the right (sales per department type and
// statistic group, cost, expenses and gross profit), each figure for the day and the period.
// Draws the sheet and renders the figures (DailyReportFigures) into it; reads nothing from the
// database. Works on a Sheet only, so that it runs and is tested without the screen's widgets.
class DailyReportSheet
{
public:
    // The 28 captions, indexed as the screen's caption table.
    enum Caption
    {
        ReportTitle,
        DateTime,
        DateFrom,
        DateTo,
        Year,
        Month,
        Day,
        Subject,
        DateIncome,
        Percent,
        MonthTotal,
        DepartType,
        MonthIncome,
        DateCost,
        MonthCost,
        DateExpenses,
        MonthExpenses,
        MonthProfits,
        PeopleCount,
        AverageConsume,
        Total,
        TotalIncome,
        SumOfService,
        SumForDiscount,
        BalanceType0,
        BalanceType1,
        CostingUse,
        CostingSale,
        CaptionCount
    };
    static constexpr int Columns = 18;

    DailyReportSheet(Sheet* sheet, QStringList captions);

    // Clears the sheet and draws the empty sheet for the lists and dates.
    void layout(const DailyReportLists& lists, const QDate& today, const QDate& begin,
                const QDate& end);
    // Writes the figures into the laid-out sheet as number cells: amounts with two decimals and
    // thousands separators, shares as percent cells ("12.34%"), empty for zero; an absent figure
    // leaves its cell empty. Layout first, for the same lists.
    void render(const DailyReportFigures& figures);
    // Widens each column to its longest text from row 3 to the last row but one, never below
    // its designed width; `twipsPerPixel` converts the font's measures (15 at 96 dpi).
    void fitColumns(double twipsPerPixel = 15.0);

    // What a cell's figure is made of, for a drill-down: the bills or item lines behind it.
    struct Source
    {
        enum Kind
        {
            None,            // a caption, a blank, a cost, the expenses or a profit
            Bills,           // the settled bills (guests, per guest, consumption, totals...)
            SubjectPayments, // the payments of subject `key`
            BalancePayments, // the payments of the visible subjects of balance type `key`
            DepartTypeItems, // the item lines of department type `key` (gifts left out)
            GroupItems,      // the item lines of statistic group `key` (gifts left out)
        };
        Kind kind = None;
        QString key;
        bool period = false; // the period's figure; else the business day's
    };
    // The source of the figure at `row`, `col` of the laid-out sheet; a share's is its
    // amount's.
    Source sourceAt(int row, int col) const;

    const DailyReportLists& lists() const { return m_lists; } // as laid out
    int lastDataRow() const { return m_last; }                // M
    int departRow(int i) const { return 5 + i; }              // department type i (from 1)
    int groupRow(int j) const { return 5 + int(m_lists.departTypes.size()) + 1 + j; }

    // "0.00", empty for zero.
    static QString amountText(Money amount);
    // The ratio as a percentage with two decimals ("12.34%"), empty when either is zero.
    static QString percentText(Money amount, Money base);
    // The designed width of a column, in twips.
    static int designedWidth(int col);

private:
    void renderPayments(const DailyReportFigures::Payments& p, int base);
    void renderSales(const DailyReportFigures::Sales& s, int base);
    void renderCost(const DailyReportFigures::Cost& cost, int base);
    void putAmount(int row, int col, const DailyReportFigures::Amount& amount);
    void putShare(int row, int col, const DailyReportFigures::Share& share);
    void putText(int row, int col, const QString& text);
    void putNumber(int row, int col, CellType type, double value, int decimals);

    Sheet* m_sheet;
    QStringList m_captions;
    DailyReportLists m_lists;
    int m_last = 0;
    QHash<int, int> m_designed; // column -> designed width, remembered once
};
