#include "reports/members/MemberQuerySql.h"

#include "query/StatementFragments.h"

#include <algorithm>

namespace {

// A whole number from `low` to `high` read from a typed box; out of range it is held at the
// bound, unreadable it is `low`.
int boxNumber(const QString& text, int low, int high)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? std::clamp(n, low, high) : low;
}

// The leading number of the row cap ("(全部显示)" has none: every row).
int rowCap(const QString& text)
{
    const QString top = text.trimmed();
    int digits = 0;
    while (digits < top.size() && top.at(digits).isDigit())
        ++digits;
    return top.left(digits).toInt();
}

} // namespace

Statement MemberQueryStatement(int, const MemberQueryCriteria& c)
{
    Statement where = QStringLiteral(" WHERE ( 1=1 ") + QStringLiteral(")");
    if (c.lost)
        where += QStringLiteral(" AND LockFlag<>0 ");
    if (c.newCard)
        where += QStringLiteral(" AND IsNewCard<>0 ");
    if (c.expired)
        where += QStringLiteral(" AND ") +
                 DateRange{c.today, c.today}.endBound(QStringLiteral("LimitTime")) +
                 QStringLiteral(" ");
    if (!c.allTime)
        where += QStringLiteral(" AND ") + c.range.bound(QStringLiteral("CreateTime")) +
                 QStringLiteral(" ");
    if (!c.memberType.isEmpty())
        where += EqualsFilter(QStringLiteral("MemberTypeName"), c.memberType);
    if (!c.allYear)
        where +=
            QStringLiteral(" AND BirthMonth = ") + QString::number(boxNumber(c.birthMonth, 1, 12)) +
            QStringLiteral(" AND BirthDay>= ") + QString::number(boxNumber(c.birthDayFrom, 1, 31)) +
            QStringLiteral(" AND BirthDay<= ") + QString::number(boxNumber(c.birthDayTo, 1, 31));

    QString order;
    if (!c.orderBy.isEmpty())
        order = QStringLiteral(" ORDER BY ") + c.orderBy;
    if (c.descending && !order.isEmpty())
        order += QStringLiteral(" DESC ");
    if (!order.isEmpty())
        order += QStringLiteral(",MemberID ");

    const int top = rowCap(c.top);
    const QString select = top > 0
                               ? QStringLiteral(" SELECT TOP ") + QString::number(top) +
                                     QStringLiteral(" * FROM mb_MemberInfo ")
                               : QStringLiteral(" SELECT TOP 100 PERCENT * FROM mb_MemberInfo ");
    return select + where + order;
}
