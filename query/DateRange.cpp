#include "query/DateRange.h"

namespace {

Statement twoMarkers(const QString& column, const QString& from, const QString& to,
                     const QString& conjunction, const QVariantList& dates)
{
    return Statement(column + from + QStringLiteral("? ") + conjunction + QLatin1Char(' ') +
                         column + to + QLatin1Char('?'),
                     dates);
}

} // namespace

Statement DateRange::bound(const QString& column, Spelling spelling) const
{
    const bool spaced = spelling == Spaced;
    return twoMarkers(column, spaced ? QStringLiteral(" >=") : QStringLiteral(">="),
                      spaced ? QStringLiteral(" <") : QStringLiteral("<"),
                      spelling == Lower ? QStringLiteral("and") : QStringLiteral("AND"),
                      {begin, dayAfterEnd()});
}

Statement DateRange::endBound(const QString& column) const
{
    return Statement(column + QStringLiteral("<?"), {dayAfterEnd()});
}

Statement DateRange::boundToMidnightAfter(const QString& column) const
{
    return twoMarkers(column, QStringLiteral(">="), QStringLiteral("<="), QStringLiteral("AND"),
                      {begin, dayAfterEnd()});
}

Statement DateRange::boundThroughEndDate(const QString& column) const
{
    return twoMarkers(column, QStringLiteral(">="), QStringLiteral("<="), QStringLiteral("AND"),
                      {begin, end});
}

Statement DateRange::boundAsLiterals(const QString& column, bool quoted) const
{
    const QChar delimiter = quoted ? QLatin1Char('\'') : QLatin1Char('#');
    auto literal = [delimiter](const QDate& d) {
        return delimiter + d.toString(Qt::ISODate) + delimiter;
    };
    return Statement(column + QStringLiteral(" >= ") + literal(begin) + QStringLiteral(" and ") +
                     column + QStringLiteral(" < ") + literal(dayAfterEnd()));
}
