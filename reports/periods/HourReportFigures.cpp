#include "reports/periods/HourReportFigures.h"

#include "db/SqlError.h"
#include "db/StatementBatch.h"

namespace {

// num / den rounded half away from zero (den > 0).
qint64 roundedRatio(qint64 num, qint64 den)
{
    const qint64 q = (2 * (num < 0 ? -num : num) + den) / (2 * den);
    return num < 0 ? -q : q;
}

HourReportFigures::Sums sumsOf(const Recordset& rs)
{
    HourReportFigures::Sums s;
    s.paid = Money::fromVariant(rs.value(QStringLiteral("BillTotal")));
    s.consume = Money::fromVariant(rs.value(QStringLiteral("BillConsume")));
    s.service = Money::fromVariant(rs.value(QStringLiteral("BillService")));
    s.discount = Money::fromVariant(rs.value(QStringLiteral("BillDiscount")));
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
    return roundedRatio(paid.units() * 100, grand.units());
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
                                          const QDate& begin, const QDate& end)
{
    const QVariantList range{begin, end.addDays(1)};
    StatementBatch batch;
    const auto totals = batch.add(HourTotalsSql(c), range);
    const auto hours = batch.add(HourSalesSql(c), range);
    batch.run(*db);

    HourReportFigures f;
    try {
        auto rs = batch.open(totals);
        if (!rs->atEnd() && rs->value(QStringLiteral("BillCount")).toLongLong() > 0)
            f.allDay = sumsOf(*rs);
    } catch (const SqlError& e) {
        f.failures << e.message();
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
    }
    return f;
}
