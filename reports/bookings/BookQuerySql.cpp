#include "reports/bookings/BookQuerySql.h"

#include "db/SqlText.h"
#include "query/StatementFragments.h"

QList<DateRange> BookQueryCriteria::tickedRanges() const
{
    QList<DateRange> ranges;
    if (byArrival)
        ranges.append(arrival);
    if (byBooking)
        ranges.append(booking);
    return ranges;
}

Statement BookQueryStatement(int, const BookQueryCriteria& c)
{
    Statement where = MealPeriodCondition(QStringLiteral("Period"), c.periods, QStringLiteral("'"));
    if (c.status >= 0 && c.status <= 2)
        where += QStringLiteral(" AND Status = %1 ").arg(c.status);
    if (!c.bookType.isEmpty())
        where += QStringLiteral(" AND BookType = '") + sqlQuote(c.bookType) + QLatin1Char('\'');
    if (!c.createPerson.isEmpty())
        where +=
            QStringLiteral(" AND CreatePerson = '") + sqlQuote(c.createPerson) + QLatin1Char('\'');
    if (c.byArrival)
        where += QStringLiteral(" AND ") + c.arrival.bound(QStringLiteral("ArriveTime")) +
                 QStringLiteral(" ");
    if (c.byBooking)
        where += QStringLiteral(" AND ") + c.booking.bound(QStringLiteral("BookTime")) +
                 QStringLiteral(" ");
    where += BranchMark(BookQueryBranch);
    QString order;
    if (!c.orderBy.isEmpty()) {
        order = QStringLiteral(" ORDER BY ") + c.orderBy;
        if (c.descending)
            order += QStringLiteral(" DESC ");
        order += QStringLiteral(" ,BookID ");
    }
    return QStringLiteral(" SELECT * ") + QStringLiteral(" FROM tb_Book ") +
           QStringLiteral(" WHERE 1=1 ") + where + order;
}
