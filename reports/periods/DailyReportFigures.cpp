#include "reports/periods/DailyReportFigures.h"

#include "db/StatementBatch.h"
#include "query/SummaryPlanner.h"
#include "ui/ctlQuery.h"

#include <QHash>

namespace {

using Amount = DailyReportFigures::Amount;
using Handle = StatementBatch::Handle;

// a / b rounded half away from zero (b > 0).
qint64 divRound(qint64 a, qint64 b)
{
    return a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b);
}

// Declares a statement with its branch conditions written, answered from the bill summaries
// where it reads the bills (every criterion of the report is kept by them).
struct Declare
{
    StatementBatch& batch;
    const BranchScope& scope;
    const Connection& connection;
    Handle operator()(const Statement& statement) const
    {
        const Statement filled = scope.fill(statement);
        return batch.add(SummaryPlanner::answerJoined(connection, true, filled));
    }
    Handle operator()(const QString& sql) const { return batch.add(sql); }
};

// The statement's first row; no row reads as NULL sums.
struct FirstRow
{
    std::unique_ptr<Recordset> rs;
    FirstRow(const StatementBatch& batch, Handle h) : rs(batch.open(h)) {}
    // A NULL sum is zero.
    Money money(const QString& column) const
    {
        return rs->atEnd()
                   ? Money()
                   : MoneyInColumn(column, [&] { return Money::fromVariant(rs->value(column)); });
    }
    qint64 integer(const QString& column) const
    {
        return rs->atEnd() ? 0 : rs->value(column).toLongLong();
    }
};

// A value as the database compares it: the key columns are case-insensitive (COLLATE NOCASE on
// SQLite: ASCII letters; SQL Server's default collation: every letter, trailing blanks
// ignored). Null for a NULL, which equals nothing.
std::optional<QString> keyOf(const QVariant& v, SqlDialect dialect)
{
    if (v.isNull())
        return std::nullopt;
    QString s = v.toString();
    if (dialect == SqlDialect::MsSql) {
        while (s.endsWith(QLatin1Char(' ')))
            s.chop(1);
        return s.toCaseFolded();
    }
    for (QChar& ch : s)
        if (ch >= QLatin1Char('A') && ch <= QLatin1Char('Z'))
            ch = QChar(ch.unicode() + 32);
    return s;
}

// Each block declares its statements when it is made and reads its figures from their results
// once the batch has run; read() throws SqlError when one of them failed.

// Money taken: the bill summary and one sum per subject row.
class PaymentsBlock
{
public:
    PaymentsBlock(const Declare& add, const DailyReportCriteria& c, const DailyReportLists& lists,
                  const DateRange& r, bool grouped)
        : m_keys(lists.subjects)
    {
        if (grouped) {
            m_bySubject = add(DailySubjectSumsStatement(c, r));
            m_visible = add(DailyVisibleSubjectsSql());
        } else {
            for (const DailyReportRow& row : lists.subjects)
                m_subjects << (row.key.isEmpty() ? Handle()
                                                 : add(DailySubjectStatement(c, r, row.key)));
        }
        m_summary = add(DailySummaryStatement(c, r));
    }
    DailyReportFigures::Payments read(const StatementBatch& batch, SqlDialect dialect) const
    {
        DailyReportFigures::Payments p;
        const FirstRow summary(batch, m_summary);
        p.paid = summary.money(QStringLiteral("theSumPaid"));
        p.guests = summary.integer(QStringLiteral("thePeopleCount"));
        if (m_bySubject.valid()) {
            // Each subject's sum; a subtotal counts a subject's sum once per visible subject
            // row of its balance type (the join of the per-row statement).
            QHash<QString, Money> sums;
            Money income, expense;
            MoneyInColumn(QStringLiteral("theSum"), [&] {
                for (const auto rs = batch.open(m_bySubject); !rs->atEnd(); rs->moveNext())
                    if (const auto key = keyOf(rs->value(0), dialect))
                        sums[*key] += Money::fromVariant(rs->value(1));
                for (const auto rs = batch.open(m_visible); !rs->atEnd(); rs->moveNext()) {
                    const auto key = keyOf(rs->value(0), dialect);
                    const Money sum = key ? sums.value(*key) : Money();
                    income += sum * rs->value(1).toLongLong();
                    expense += sum * rs->value(2).toLongLong();
                }
            });
            for (const DailyReportRow& row : m_keys) {
                if (row.key.isEmpty())
                    p.subjects << Amount();
                else if (row.key == DailyIncomeSubtotalKey)
                    p.subjects << Amount(income);
                else if (row.key == DailyExpenseSubtotalKey)
                    p.subjects << Amount(expense);
                else
                    p.subjects << Amount(sums.value(*keyOf(row.key, dialect)));
            }
            return p;
        }
        for (const Handle& h : m_subjects)
            p.subjects << (h.valid() ? Amount(FirstRow(batch, h).money(QStringLiteral("theSum")))
                                     : Amount());
        return p;
    }

private:
    QList<DailyReportRow> m_keys;
    QList<Handle> m_subjects;      // per row, invalid on the blank rows (one statement a row)
    Handle m_bySubject, m_visible; // the grouped statements
    Handle m_summary;
};

// Sales: the bill summary, one sum per department type and one per statistic group.
class SalesBlock
{
public:
    // `items`: the grouped item sums (with grouped statements), else one statement per row.
    SalesBlock(const Declare& add, const DailyReportCriteria& c, const DailyReportLists& lists,
               const DateRange& r, Handle items)
        : m_items(items)
    {
        if (!items.valid()) {
            for (const auto& group : lists.groupTypes)
                m_groupTypes << add(DailyGroupTypeStatement(c, r, group.first));
            for (const QString& name : lists.departTypes)
                m_departTypes << add(DailyDepartTypeStatement(c, r, name));
        }
        m_summary = add(DailySummaryStatement(c, r));
    }
    DailyReportFigures::Sales read(const StatementBatch& batch, const DailyReportLists& lists,
                                   SqlDialect dialect) const
    {
        DailyReportFigures::Sales s;
        const FirstRow summary(batch, m_summary);
        s.consume = summary.money(QStringLiteral("theSumOfConsume"));
        s.service = summary.money(QStringLiteral("theSumOfService"));
        s.discount = -summary.money(QStringLiteral("theSumForDiscount"));
        if (m_items.valid()) {
            // A department type's sales: the group of its name (the names compare as the
            // database compares them); a statistic group's: its column summed over the groups.
            QHash<QString, Money> byName;
            QList<Money> groups(lists.groupTypes.size());
            for (const auto rs = batch.open(m_items); !rs->atEnd(); rs->moveNext()) {
                if (const auto key = keyOf(rs->value(0), dialect))
                    MoneyInColumn(QStringLiteral("theSum"), [&] {
                        byName[*key] += Money::fromVariant(rs->value(QStringLiteral("theSum")));
                    });
                for (qsizetype i = 0; i < groups.size(); ++i) {
                    const QString column = QStringLiteral("theGroup%1").arg(i + 1);
                    MoneyInColumn(column,
                                  [&] { groups[i] += Money::fromVariant(rs->value(column)); });
                }
            }
            for (const QString& name : lists.departTypes)
                s.departTypes << byName.value(*keyOf(name, dialect));
            for (const Money& m : groups)
                s.groupTypes << m;
            return s;
        }
        for (const Handle& h : m_departTypes)
            s.departTypes << FirstRow(batch, h).money(QStringLiteral("theSum"));
        for (const Handle& h : m_groupTypes)
            s.groupTypes << FirstRow(batch, h).money(QStringLiteral("theSum"));
        return s;
    }

private:
    Handle m_items;
    QList<Handle> m_groupTypes, m_departTypes; // one statement per row
    Handle m_summary;
};

// Cost per department type from stock issued to the departments and/or from the cost price of
// the items sold; the latter only where bi_BillItem has a CostPrice column.
class CostBlock
{
public:
    // `items`: the grouped item sums, with their cost when the items' cost counts and can be
    // read (with grouped statements), else the item cost's own statement.
    CostBlock(const Declare& add, const DailyReportCriteria& c, const DateRange& r, Handle items,
              bool itemCost)
    {
        if (items.valid()) {
            if (itemCost)
                m_groups = items;
        } else if (c.costing == 0 || c.costing == 2) {
            m_costPrice = add(DailyCostPriceProbeSql());
            m_items = add(DailyItemCostStatement(c, r));
        }
        if (c.costing == 0 || c.costing == 1)
            m_stock = add(DailyStockCostStatement(c, r));
    }
    DailyReportFigures::Cost read(const StatementBatch& batch, const DailyReportLists& lists) const
    {
        const qsizetype departs = lists.departTypes.size();
        QList<Money> cost(departs); // names that match no department type count in the total
        Money total;
        auto accumulate = [&](Handle h) {
            const QString column = QStringLiteral("theTotalSum");
            for (const auto rs = batch.open(h); !rs->atEnd(); rs->moveNext())
                MoneyInColumn(column, [&] {
                    const Money v = Money::fromVariant(rs->value(column));
                    const qsizetype i = lists.departTypes.indexOf(
                        rs->value(QStringLiteral("DepartTypeName")).toString());
                    if (i >= 0)
                        cost[i] += v;
                    total += v;
                });
        };
        if (m_stock.valid())
            accumulate(m_stock);
        if (m_items.valid() && batch.error(m_costPrice).isEmpty())
            accumulate(m_items);
        if (m_groups.valid())
            accumulate(m_groups); // the grouped item sums carry the items' cost
        DailyReportFigures::Cost result;
        for (const Money& m : cost)
            result.departTypes << m;
        result.total = total;
        return result;
    }

private:
    Handle m_costPrice, m_items, m_stock, m_groups;
};

class ExpensesBlock
{
public:
    ExpensesBlock(const Declare& add, const DateRange& r) : m_expense(add(DailyExpenseStatement(r)))
    {
    }
    Amount read(const StatementBatch& batch) const
    {
        return FirstRow(batch, m_expense).money(QStringLiteral("theExpense"));
    }

private:
    Handle m_expense;
};

QStringList groupIds(const DailyReportLists& lists)
{
    QStringList ids;
    for (const auto& group : lists.groupTypes)
        ids << group.first;
    return ids;
}

// The blocks of one range. Declared in this order so that, ranges taken longest first, the
// longest statements (the item cost's, the per-row sums) start first and no core is left with a
// long one at the end.
struct RangeBlocks
{
    Handle items; // the grouped item sums, shared by the sales and cost blocks
    CostBlock cost;
    SalesBlock sales;
    PaymentsBlock payments;
    ExpensesBlock expenses;

    // `itemCost`: with grouped statements, whether the items' cost counts and can be read.
    RangeBlocks(const Declare& add, const DailyReportCriteria& c, const DailyReportLists& lists,
                const DateRange& r, bool grouped, bool itemCost)
        : items(grouped ? add(DailyItemSumsStatement(c, r, itemCost, groupIds(lists))) : Handle()),
          cost(add, c, r, items, itemCost), sales(add, c, lists, r, items),
          payments(add, c, lists, r, grouped), expenses(add, r)
    {
    }
};

// The figure rounded to the cent, as the sheet shows it.
Amount shown(const Amount& a)
{
    return a ? Amount(a->rounded(2)) : Amount();
}

} // namespace

DailyReportFigures::Amount DailyReportFigures::Payments::perGuest() const
{
    if (!paid || !guests || paid->isZero() || *guests == 0)
        return {};
    return Money::fromUnits(divRound(paid->units(), *guests * 100) * 100);
}

DailyReportFigures::Amount DailyReportFigures::Sales::total() const
{
    if (!consume || !service || !discount)
        return {};
    return *consume + *service + *discount;
}

DailyReportFigures::Share DailyReportFigures::share(const Amount& amount, const Amount& base)
{
    if (!amount || !base || amount->isZero() || base->isZero())
        return {};
    // Hundredths of a per cent: amount / base * 100 * 100 (in 128 bits: no amount overflows).
    __int128 num = __int128(amount->units()) * 10000, den = base->units();
    if (den < 0)
        num = -num, den = -den;
    const __int128 q = num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den);
    if (q > INT64_MAX || q < -INT64_MAX)
        throw MoneyOverflow();
    return qint64(q);
}

// The figures as shown, to the cent, so that the profit on the sheet is the shown sales less the
// shown cost and expenses.
DailyReportFigures::Amount DailyReportFigures::profit(qsizetype departType) const
{
    const Amount sales = shown(period.sales.departTypes.value(departType));
    const Amount cost = shown(period.cost.departTypes.value(departType));
    if (!sales || !cost)
        return {};
    return *sales - *cost;
}

DailyReportFigures::Amount DailyReportFigures::totalProfit() const
{
    const Amount sales = shown(period.sales.total());
    const Amount cost = shown(period.cost.total);
    const Amount expenses = shown(period.expenses);
    if (!sales || !cost || !expenses)
        return {};
    return *sales - *cost - *expenses;
}

DailyReportFigures DailyReportFigures::read(const ConnectionPtr& db, const DailyReportCriteria& c,
                                            const DailyReportLists& lists, const BranchScope& scope,
                                            Statements statements)
{
    const bool grouped = statements == Statements::Grouped;
    // The grouped item sums carry the items' cost when it counts and bi_BillItem has a cost
    // price column.
    bool itemCost = grouped && (c.costing == 0 || c.costing == 2);
    if (itemCost) {
        try {
            db->execute(DailyCostPriceProbeSql());
        } catch (const SqlError& e) {
            if (!e.isMissingObject()) // the column is there or not: a lock is no answer
                throw;
            itemCost = false;
        }
    }
    StatementBatch batch;
    const Declare add{batch, scope, *db};
    const RangeBlocks periodBlocks(add, c, lists, c.range, grouped, itemCost); // longer first
    const RangeBlocks dayBlocks(add, c, lists, c.day(), grouped, itemCost);
    batch.run(*db);
    const SqlDialect dialect = db->dialect();

    DailyReportFigures f;
    auto take = [&](Part part, auto& figures, auto&& read) {
        try {
            figures = read();
        } catch (const MoneyOverflow& e) {
            f.failures.append({part, ctlQuery::fillTexts().overflow.arg(e.column())});
        } catch (const std::exception& e) {
            f.failures.append({part, QString::fromUtf8(e.what())});
        }
    };
    take(PaymentsDay, f.day.payments, [&] { return dayBlocks.payments.read(batch, dialect); });
    take(PaymentsPeriod, f.period.payments,
         [&] { return periodBlocks.payments.read(batch, dialect); });
    take(SalesDay, f.day.sales, [&] { return dayBlocks.sales.read(batch, lists, dialect); });
    take(SalesPeriod, f.period.sales,
         [&] { return periodBlocks.sales.read(batch, lists, dialect); });
    take(CostDay, f.day.cost, [&] { return dayBlocks.cost.read(batch, lists); });
    take(CostPeriod, f.period.cost, [&] { return periodBlocks.cost.read(batch, lists); });
    take(ExpensesDay, f.day.expenses, [&] { return dayBlocks.expenses.read(batch); });
    take(ExpensesPeriod, f.period.expenses, [&] { return periodBlocks.expenses.read(batch); });
    return f;
}
