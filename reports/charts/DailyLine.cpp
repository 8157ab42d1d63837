#include "reports/charts/DailyLine.h"

#include "db/Recordset.h"
#include "ui/ctlQuery.h"

#include <stdexcept>

DailyLine::DailyLine(const QDate& begin, const QDate& end) : m_begin(begin)
{
    const qint64 days = begin.isValid() && end.isValid() ? begin.daysTo(end) + 1 : 0;
    m_points.resize(qsizetype(std::max<qint64>(0, days)));
}

Money DailyLine::average() const
{
    return days() < 1 ? Money() : divided(m_total, days(), 2);
}

Money DailyLine::point(int index) const
{
    const Money sum = m_points.value(index);
    return m_divisor > 0 ? divided(sum, m_divisor) : sum;
}

bool DailyLine::add(const QDate& day, Money value)
{
    const qint64 index = m_begin.daysTo(day);
    if (!day.isValid() || index < 0 || index >= days())
        return false;
    Money& sum = m_points[qsizetype(index)];
    sum += value;
    m_total += value;
    m_maximum = std::max(m_maximum, sum);
    return true;
}

Money DailyLine::divided(Money value, std::int64_t divisor, int decimals)
{
    if (divisor == 0)
        return value;
    std::int64_t step = 1;
    for (int i = std::clamp(decimals, 0, 4); i < 4; ++i)
        step *= 10;
    const bool negative = (value.units() < 0) != (divisor < 0);
    // In 128 bits: no amount overflows on the way.
    const __int128 n = value.units() < 0 ? -__int128(value.units()) : __int128(value.units());
    const __int128 d = (divisor < 0 ? -__int128(divisor) : __int128(divisor)) * step;
    const __int128 q = (n + d / 2) / d * step;
    if (q > INT64_MAX)
        throw MoneyOverflow();
    return Money::fromUnits(negative ? -std::int64_t(q) : std::int64_t(q));
}

namespace {

QDate rowDate(const QVariant& value)
{
    const int type = value.metaType().id();
    if (type == QMetaType::QDateTime || type == QMetaType::QDate)
        return value.toDate();
    return QDate::fromString(value.toString().left(10), Qt::ISODate);
}

} // namespace

DailyLine DailyLine::read(const Connection& db, const Statement& statement, const QDate& begin,
                          const QDate& end, int divisor,
                          const std::function<void(int, int)>& progress)
{
    DailyLine line(begin, end);
    line.setDivisor(divisor);
    statement.requireFilled();
    auto rows = db.execute(statement.text(), statement.parameters());
    try {
        for (; !rows->atEnd(); rows->moveNext()) {
            const QDate day = rowDate(rows->value(0));
            MoneyInColumn(rows->fieldName(1),
                          [&] { line.add(day, Money::fromVariant(rows->value(1))); });
            if (progress)
                progress(int(begin.daysTo(day)) + 1, line.days());
        }
    } catch (const MoneyOverflow& e) {
        throw std::runtime_error(ctlQuery::fillTexts().overflow.arg(e.column()).toStdString());
    }
    return line;
}

std::vector<ComparedDay> CompareLines(const DailyLine& line, const DailyLine& compared,
                                      int decimals)
{
    std::vector<ComparedDay> days;
    days.reserve(size_t(std::max(0, line.days())));
    for (int i = 0; i < line.days(); ++i) {
        ComparedDay d{line.day(i), line.point(i).rounded(decimals)};
        if (i < compared.days()) {
            d.comparedDay = compared.day(i);
            d.compared = compared.point(i).rounded(decimals);
            d.change = d.figure - *d.compared;
            if (!d.compared->isZero())
                d.percent = d.change->toDouble() / d.compared->toDouble() * 100.0;
        }
        days.push_back(d);
    }
    return days;
}
