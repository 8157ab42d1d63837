#include "reports/bookings/BookQuerySql.h"

#include "core/modBranch.h"
#include "db/SqlText.h"
#include "screens/MealPeriodBoxes.h"

QString BookQuerySql(const BookQueryCriteria& c)
{
    QString where = MealPeriodCondition(QStringLiteral("Period"), c.periods, QStringLiteral("'"));
    if (c.status >= 0 && c.status <= 2)
        where += QStringLiteral(" AND Status = %1 ").arg(c.status);
    if (!c.bookType.isEmpty())
        where += QStringLiteral(" AND BookType = '") + sqlQuote(c.bookType) + QLatin1Char('\'');
    if (!c.createPerson.isEmpty())
        where +=
            QStringLiteral(" AND CreatePerson = '") + sqlQuote(c.createPerson) + QLatin1Char('\'');
    if (c.byArrival)
        where += QStringLiteral(" AND ArriveTime>=? AND ArriveTime<? ");
    if (c.byBooking)
        where += QStringLiteral(" AND BookTime>=? AND BookTime<? ");
    where += BranchIdFilter(c.branches, QStringLiteral("BranchID"));
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
