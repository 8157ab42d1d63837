#pragma once

#include "db/Connection.h"
#include "db/Money.h"
#include "reports/periods/DailyReportSql.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class PrefetchedResults;
class Sheet;

// One row of the subject block: a subject id, an income or expense subtotal key, or an empty
// key for a blank spacer row; and the caption shown in column 2.
struct DailyReportRow
{
    QString key;
    QString caption;
};

// The rows of the two blocks, read from the data lists once per run.
struct DailyReportLists
{
    QList<DailyReportRow> subjects;
    QStringList departTypes;                   // department type names, in list order
    QList<QPair<QString, QString>> groupTypes; // group type id and name, in list order

    // Visible income subjects; then, when there are visible expense subjects, the income
    // subtotal, a blank row, the expense subjects, the expense subtotal and a blank row.
    // Group types only when mn_GroupType exists.
    static DailyReportLists load(const ConnectionPtr& db, const QString& incomeSubtotal,
                                 const QString& expenseSubtotal);
};

// The income sheet itself: an 18-column grid with the subject block on the left (money taken
// per payment subject) and the department block on the right (sales per department type and
// statistic group, cost, expenses and gross profit), each figure for the day and the period.
// Works on a Sheet only, so that it runs and is tested without the screen's widgets.
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

    // The parts a run reads, each a block of figures for one range.
    enum Part
    {
        PaymentsDay,    // subject block, day columns
        PaymentsPeriod, // subject block, period columns
        SalesDay,       // department block, day columns
        SalesPeriod,    // department block, period columns
        CostDay,
        CostPeriod,
        ExpensesDay,
        ExpensesPeriod,
        PartCount
    };
    struct Failure
    {
        Part part;
        QString error;
    };

    DailyReportSheet(Sheet* sheet, QStringList captions);

    // Clears the sheet and draws the empty sheet for the lists and dates.
    void layout(const DailyReportLists& lists, const QDate& today, const QDate& begin,
                const QDate& end);
    // Fills every figure; returns the parts that could not be read, in sheet order. A part that
    // fails leaves its remaining cells empty and the next parts still run; the gross profit,
    // worked out from the period's sales, cost and expenses, stays empty when one of them
    // failed rather than being computed from what is missing. Layout first.
    QList<Failure> fill(const ConnectionPtr& db, const DailyReportCriteria& c, const QDate& today,
                        const QDate& begin, const QDate& end);
    // Widens each column to its longest text from row 3 to the last row but one, never below
    // its designed width; `twipsPerPixel` converts the font's measures (15 at 96 dpi).
    void fitColumns(double twipsPerPixel = 15.0);

    int lastDataRow() const { return m_last; }   // M
    int departRow(int i) const { return 5 + i; } // department type i (from 1)
    int groupRow(int j) const { return 5 + int(m_lists.departTypes.size()) + 1 + j; }

    // "0.00", empty for zero.
    static QString amountText(Money amount);
    // The ratio as a percentage with two decimals ("12.34%"), empty when either is zero.
    static QString percentText(Money amount, Money base);
    // The designed width of a column, in twips.
    static int designedWidth(int col);

private:
    struct Range
    {
        QDate begin, end; // end exclusive
    };
    QList<Connection::Statement> statements(const DailyReportCriteria& c, Range day,
                                            Range period) const;
    void subjectBlock(const PrefetchedResults& db, const DailyReportCriteria& c, Range r, int base);
    void departBlock(const PrefetchedResults& db, const DailyReportCriteria& c, Range r, int base);
    void costColumn(const PrefetchedResults& db, const DailyReportCriteria& c, Range r, int base);
    void expenses(const PrefetchedResults& db, Range r, int col);
    void profit(bool withTotal);
    void putAmount(int row, int col, Money amount);
    void putPercent(int row, int col, Money amount, Money base);
    void putText(int row, int col, const QString& text);
    Money cellMoney(int row, int col) const;

    Sheet* m_sheet;
    QStringList m_captions;
    DailyReportLists m_lists;
    int m_last = 0;
    QHash<int, int> m_designed; // column -> designed width, remembered once
};
