#include "framework/Member.h"

#include "framework/FrameworkSql.h"
#include "framework/MemberService.h"

Member::Member(ConnectionPtr connection)
    : m_connection(connection ? std::move(connection)
                              : FrameworkService::connectionOf(MemberService::existing()))
{
}

bool Member::findByCardNumber(const QString& cardNumber)
{
    m_row.clear();
    QList<QVariantMap> rows;
    FrameworkSql::rows(m_connection,
                       QStringLiteral("SELECT * FROM mb_MemberInfo WHERE MemberCardID=?"),
                       {cardNumber.trimmed()}, &rows);
    if (!rows.isEmpty())
        m_row = rows.first();
    return isFound();
}
