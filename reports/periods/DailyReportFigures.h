#pragma once

#include "db/Connection.h"
#include "db/Money.h"
#include "reports/periods/DailyReportLists.h"
#include "reports/periods/DailyReportSql.h"

#include <QList>
#include <QString>

#include <optional>

// The figures of the daily report as numbers: money taken per payment subject, sales per
// department type and statistic group, cost, expenses and gross profit, for the business day
// and for the period. Read by one batch of statements; the sheet renders them
// (DailyReportSheet::render). A block that could not be read leaves all its figures absent,
// and so every figure worked out from them.
class DailyReportFigures
{
public:
    // A sum of money, absent when the block it comes from could not be read.
    using Amount = std::optional<Money>;
    // A share in hundredths of a per cent (12.34% is 1234), rounded half away from zero;
    // absent when the amount or its base is absent or zero.
    using Share = std::optional<qint64>;

    // The blocks a run reads, each a block of figures for one range, in sheet order.
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

    // Money taken on the range's bills (subject block).
    struct Payments
    {
        QList<Amount> subjects; // per subject row; absent on the blank rows
        Amount paid;            // all money taken: the total and the base of the shares
        std::optional<qint64> guests;

        // Money taken per guest, to the cent; absent when nothing was taken or nobody came.
        Amount perGuest() const;
        Share share(const Amount& amount) const { return DailyReportFigures::share(amount, paid); }
    };
    // Sales of the range (department block).
    struct Sales
    {
        QList<Amount> departTypes; // per department type, in list order
        QList<Amount> groupTypes;  // per statistic group, in list order
        Amount consume;            // the bills' consumption
        Amount service;            // service charge
        Amount discount;           // the discount, negative

        // Consumption + service charge + discount: the total and the base of the shares.
        Amount total() const;
        Share share(const Amount& amount) const
        {
            return DailyReportFigures::share(amount, total());
        }
    };
    // Cost of the range: stock issued to the departments and/or the cost price of the items sold.
    struct Cost
    {
        QList<Amount> departTypes; // per department type, in list order
        Amount total;              // also the departments that belong to no department type
    };
    struct Range
    {
        Payments payments;
        Sales sales;
        Cost cost;
        Amount expenses;
    };

    Range day;               // the business day
    Range period;            // the period, its last day included
    QList<Failure> failures; // the blocks that could not be read and why, in sheet order

    // The period's gross profit of department type i (from 0): its sales less its cost.
    Amount profit(qsizetype departType) const;
    // The period's gross profit: sales total less cost less expenses.
    Amount totalProfit() const;

    static Share share(const Amount& amount, const Amount& base);

    // How the figures of a block's rows are read: with statements that return every row's
    // figure at once, one scan of the range per block (money taken grouped by subject; sales,
    // item cost and each statistic group's sales grouped by department type), or with one
    // statement per row (per subject, department type and statistic group, and the item cost).
    // Both give the same figures; the screen runs the grouped ones.
    enum class Statements
    {
        Grouped,
        PerRow
    };

    // Runs every statement of the report together, their branch conditions written by
    // `scope`, and works the figures out of their results for the criteria's business day and
    // period. Never throws: a block whose statements fail is named in `failures`.
    static DailyReportFigures read(const ConnectionPtr& db, const DailyReportCriteria& c,
                                   const DailyReportLists& lists, const BranchScope& scope,
                                   Statements statements = Statements::Grouped);
};
