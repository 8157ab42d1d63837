#include "reports/periods/HourReportFigures.h"

#include "db/SqlError.h"
#include "db/StatementBatch.h"
#include "ui/ctlQuery.h"

namespace {

// num / den rounded half away from zero (den > 0), in 128 bits: no amount overflows.
qint64 roundedRatio(__int128 num, __int128 den)
{
    const __int128 q = (2 * (num < 0 ? -num : num) + den) / (2 * den);
    return qint64(num < 0 ? -q : q);
}

Money moneyOf(const Recordset& rs, const QString& column)
{
    return MoneyInColumn(column, [&] { return Money::fromVariant(rs.value(column)); });
}

HourReportFigures::Sums sumsOf(const Recordset& rs)
{
    HourReportFigures::Sums s;
    s.paid = moneyOf(rs, QStringLiteral("BillTotal"));
    s.consume = moneyOf(rs, QStringLiteral("BillConsume"));
    s.service = moneyOf(rs, QStringLiteral("BillService"));
    s.discount = moneyOf(rs, QStringLiteral("BillDiscount"));
    s.bills = rs.value(QStringLiteral("BillCount")).toLongLong();
    s.guests = rs.value(QStringLiteral("PeopleCount")).toLongLong();
    return s;
}

} // namespace

qint64 HourReportFigures::whole(Money amount, qint64 divisor)
{
    return roundedRatio(amount.units(), divisor * Money::Scale);
}

qint64 HourReportFigures::Sums::percentOf(Money grand) const
{
    if (grand.units() <= 0)
        return 0;
    return roundedRatio(__int128(paid.units()) * 100, grand.units());
}

std::optional<qint64> HourReportFigures::Sums::perBill() const
{
    return bills != 0 ? std::optional(whole(paid, bills)) : std::nullopt;
}

std::optional<qint64> HourReportFigures::Sums::perGuest() const
{
    return guests != 0 ? std::optional(whole(paid, guests)) : std::nullopt;
}

HourReportFigures HourReportFigures::read(const ConnectionPtr& db, const HourReportCriteria& c,
                                          const BranchScope& scope)
{
    // Every criterion of the report is kept by the bill summaries.
    const auto planned = [&](const Statement& raw, const SummaryPlanner::Replacements& text) {
        return SummaryPlanner::answer(*db, true, SummaryPlanner::Source::Bills, raw, text);
    };
    StatementBatch batch;
    const auto totals =
        batch.add(planned(scope.fill(HourTotalsStatement(c)), HourTotalsSummaryText()));
    const auto hours =
        batch.add(planned(scope.fill(HourSalesStatement(c)), HourSalesSummaryText()));
    batch.run(*db);

    HourReportFigures f;
    try {
        auto rs = batch.open(totals);
        if (!rs->atEnd() && rs->value(QStringLiteral("BillCount")).toLongLong() > 0)
            f.allDay = sumsOf(*rs);
    } catch (const SqlError& e) {
        f.failures << e.message();
    } catch (const MoneyOverflow& e) {
        f.failures << ctlQuery::fillTexts().overflow.arg(e.column());
    }
    try {
        auto rs = batch.open(hours);
        for (; !rs->atEnd(); rs->moveNext()) {
            const QVariant hour = rs->value(QStringLiteral("BillHour")); // NULL: no creation time
            bool ok = false;
            const int h = hour.toInt(&ok);
            if (hour.isValid() && ok && h >= 0 && h < 24)
                f.hours[size_t(h)] = sumsOf(*rs);
        }
    } catch (const SqlError& e) {
        f.failures << e.message();
    } catch (const MoneyOverflow& e) {
        f.failures << ctlQuery::fillTexts().overflow.arg(e.column());
    }
    f.failures.removeDuplicates(); // one overflow may show in several statements
    return f;
}
