#include "reports/members/MemberQuerySql.h"

#include "screens/ItemCriteria.h"

QString MemberQuerySql(const MemberQueryCriteria& c)
{
    QString where = QStringLiteral(" WHERE ( 1=1 ") + QStringLiteral(")");
    if (c.lost)
        where += QStringLiteral(" AND LockFlag<>0 ");
    if (c.newCard)
        where += QStringLiteral(" AND IsNewCard<>0 ");
    if (c.expired)
        where += QStringLiteral(" AND LimitTime<? ");
    if (!c.allTime)
        where += QStringLiteral(" AND CreateTime>=? AND CreateTime<? ");
    if (!c.memberType.isEmpty())
        where += EqualsFilter(QStringLiteral("MemberTypeName"), c.memberType);
    if (c.byBirthday)
        where += QStringLiteral(" AND BirthMonth = ") + QString::number(c.birthMonth) +
                 QStringLiteral(" AND BirthDay>= ") + QString::number(c.birthDayFrom) +
                 QStringLiteral(" AND BirthDay<= ") + QString::number(c.birthDayTo);

    QString order;
    if (!c.orderBy.isEmpty())
        order = QStringLiteral(" ORDER BY ") + c.orderBy;
    if (c.descending && !order.isEmpty())
        order += QStringLiteral(" DESC ");
    if (!order.isEmpty())
        order += QStringLiteral(",MemberID ");

    const QString select = c.top > 0
                               ? QStringLiteral(" SELECT TOP ") + QString::number(c.top) +
                                     QStringLiteral(" * FROM mb_MemberInfo ")
                               : QStringLiteral(" SELECT TOP 100 PERCENT * FROM mb_MemberInfo ");
    return select + where + order;
}

QVariantList MemberQueryParameters(const MemberQueryCriteria& c, const QDate& begin,
                                   const QDate& end, const QDate& today)
{
    // Bound by the markers' places: the expiry marker stands before the issue-date markers.
    QVariantList values;
    if (c.expired)
        values << today.addDays(1);
    if (!c.allTime)
        values << begin << end.addDays(1);
    return values;
}
