#include "reports/periods/DailyReportFigures.h"

#include "db/StatementBatch.h"

namespace {

using Amount = DailyReportFigures::Amount;
using Handle = StatementBatch::Handle;

// a / b rounded half away from zero (b > 0).
qint64 divRound(qint64 a, qint64 b)
{
    return a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b);
}

struct Dates
{
    QDate begin, end; // end exclusive
    QVariantList params() const { return {begin, end}; }
};

// The statement's first row; no row reads as NULL sums.
struct FirstRow
{
    std::unique_ptr<Recordset> rs;
    FirstRow(const StatementBatch& batch, Handle h) : rs(batch.open(h)) {}
    // A NULL sum is zero.
    Money money(const QString& column) const
    {
        return rs->atEnd() ? Money() : Money::fromVariant(rs->value(column));
    }
    qint64 integer(const QString& column) const
    {
        return rs->atEnd() ? 0 : rs->value(column).toLongLong();
    }
};

// Each block declares its statements when it is made and reads its figures from their results
// once the batch has run; read() throws SqlError when one of them failed.

// Money taken: the bill summary and one sum per subject row.
class PaymentsBlock
{
public:
    PaymentsBlock(StatementBatch& batch, const DailyReportCriteria& c,
                  const DailyReportLists& lists, Dates r)
    {
        for (const DailyReportRow& row : lists.subjects)
            m_subjects << (row.key.isEmpty() ? Handle()
                                             : batch.add(DailySubjectSql(c, row.key), r.params()));
        m_summary = batch.add(DailySummarySql(c), r.params());
    }
    DailyReportFigures::Payments read(const StatementBatch& batch) const
    {
        DailyReportFigures::Payments p;
        const FirstRow summary(batch, m_summary);
        p.paid = summary.money(QStringLiteral("theSumPaid"));
        p.guests = summary.integer(QStringLiteral("thePeopleCount"));
        for (const Handle& h : m_subjects)
            p.subjects << (h.valid() ? Amount(FirstRow(batch, h).money(QStringLiteral("theSum")))
                                     : Amount());
        return p;
    }

private:
    QList<Handle> m_subjects; // invalid on the blank rows
    Handle m_summary;
};

// Sales: the bill summary, one sum per department type and one per statistic group.
class SalesBlock
{
public:
    SalesBlock(StatementBatch& batch, const DailyReportCriteria& c, const DailyReportLists& lists,
               Dates r)
    {
        for (const auto& group : lists.groupTypes)
            m_groupTypes << batch.add(DailyGroupTypeSql(c, group.first), r.params());
        for (const QString& name : lists.departTypes)
            m_departTypes << batch.add(DailyDepartTypeSql(c, name), r.params());
        m_summary = batch.add(DailySummarySql(c), r.params());
    }
    DailyReportFigures::Sales read(const StatementBatch& batch) const
    {
        DailyReportFigures::Sales s;
        const FirstRow summary(batch, m_summary);
        s.consume = summary.money(QStringLiteral("theSumOfConsume"));
        s.service = summary.money(QStringLiteral("theSumOfService"));
        s.discount = -summary.money(QStringLiteral("theSumForDiscount"));
        for (const Handle& h : m_departTypes)
            s.departTypes << FirstRow(batch, h).money(QStringLiteral("theSum"));
        for (const Handle& h : m_groupTypes)
            s.groupTypes << FirstRow(batch, h).money(QStringLiteral("theSum"));
        return s;
    }

private:
    QList<Handle> m_groupTypes, m_departTypes;
    Handle m_summary;
};

// Cost per department type from stock issued to the departments and/or from the cost price of
// the items sold; the latter only where bi_BillItem has a CostPrice column.
class CostBlock
{
public:
    CostBlock(StatementBatch& batch, const DailyReportCriteria& c, Dates r)
    {
        if (c.costing == 0 || c.costing == 2) {
            m_costPrice = batch.add(DailyCostPriceProbeSql());
            m_items = batch.add(DailyItemCostSql(c), r.params());
        }
        if (c.costing == 0 || c.costing == 1)
            m_stock = batch.add(DailyStockCostSql(c), {r.begin, r.end, r.begin, r.end});
    }
    DailyReportFigures::Cost read(const StatementBatch& batch, const DailyReportLists& lists) const
    {
        const qsizetype departs = lists.departTypes.size();
        QList<Money> cost(departs); // names that match no department type count in the total
        Money total;
        auto accumulate = [&](Handle h) {
            for (const auto rs = batch.open(h); !rs->atEnd(); rs->moveNext()) {
                const Money v = Money::fromVariant(rs->value(QStringLiteral("theTotalSum")));
                const qsizetype i = lists.departTypes.indexOf(
                    rs->value(QStringLiteral("DepartTypeName")).toString());
                if (i >= 0)
                    cost[i] += v;
                total += v;
            }
        };
        if (m_stock.valid())
            accumulate(m_stock);
        if (m_items.valid() && batch.error(m_costPrice).isEmpty())
            accumulate(m_items);
        DailyReportFigures::Cost result;
        for (const Money& m : cost)
            result.departTypes << m;
        result.total = total;
        return result;
    }

private:
    Handle m_costPrice, m_items, m_stock;
};

class ExpensesBlock
{
public:
    ExpensesBlock(StatementBatch& batch, Dates r)
        : m_expense(batch.add(DailyExpenseSql(), r.params()))
    {
    }
    Amount read(const StatementBatch& batch) const
    {
        return FirstRow(batch, m_expense).money(QStringLiteral("theExpense"));
    }

private:
    Handle m_expense;
};

// The blocks of one range. Declared in this order so that, ranges taken longest first, the
// longest statements (the item cost's, the per-row sums) start first and no core is left with a
// long one at the end.
struct RangeBlocks
{
    CostBlock cost;
    SalesBlock sales;
    PaymentsBlock payments;
    ExpensesBlock expenses;

    RangeBlocks(StatementBatch& batch, const DailyReportCriteria& c, const DailyReportLists& lists,
                Dates r)
        : cost(batch, c, r), sales(batch, c, lists, r), payments(batch, c, lists, r),
          expenses(batch, r)
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
    // Hundredths of a per cent: amount / base * 100 * 100.
    qint64 num = amount->units() * 10000, den = base->units();
    if (den < 0)
        num = -num, den = -den;
    return divRound(num, den);
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
                                            const DailyReportLists& lists, const QDate& today,
                                            const QDate& begin, const QDate& end)
{
    const Dates day{today, today.addDays(1)};
    const Dates period{begin, end.addDays(1)};
    StatementBatch batch;
    const RangeBlocks periodBlocks(batch, c, lists, period); // the longer range first
    const RangeBlocks dayBlocks(batch, c, lists, day);
    batch.run(*db);

    DailyReportFigures f;
    auto take = [&](Part part, auto& figures, auto&& read) {
        try {
            figures = read();
        } catch (const std::exception& e) {
            f.failures.append({part, QString::fromUtf8(e.what())});
        }
    };
    take(PaymentsDay, f.day.payments, [&] { return dayBlocks.payments.read(batch); });
    take(PaymentsPeriod, f.period.payments, [&] { return periodBlocks.payments.read(batch); });
    take(SalesDay, f.day.sales, [&] { return dayBlocks.sales.read(batch); });
    take(SalesPeriod, f.period.sales, [&] { return periodBlocks.sales.read(batch); });
    take(CostDay, f.day.cost, [&] { return dayBlocks.cost.read(batch, lists); });
    take(CostPeriod, f.period.cost, [&] { return periodBlocks.cost.read(batch, lists); });
    take(ExpensesDay, f.day.expenses, [&] { return dayBlocks.expenses.read(batch); });
    take(ExpensesPeriod, f.period.expenses, [&] { return periodBlocks.expenses.read(batch); });
    return f;
}
