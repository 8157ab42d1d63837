#include "Bill.h"

#include "BillService.h"
#include "FrameworkSql.h"

Bill::Bill(ConnectionPtr connection)
    : m_connection(connection ? std::move(connection)
                              : FrameworkService::connectionOf(BillService::existing()))
{
}

bool Bill::load(const QString& billId)
{
    m_row.clear();
    m_memberName.clear();
    QList<QVariantMap> rows;
    if (!FrameworkSql::rows(m_connection, QStringLiteral("SELECT * FROM bi_Bill WHERE BillID=?"),
                            {billId.trimmed()}, &rows) ||
        rows.isEmpty())
        return false;
    setRow(rows.first());
    const QString memberId = text(QStringLiteral("MemberID"));
    if (!memberId.isEmpty()) {
        QList<QVariantMap> members;
        FrameworkSql::rows(m_connection,
                           QStringLiteral("SELECT MemberName FROM mb_MemberInfo WHERE MemberID=?"),
                           {memberId}, &members);
        if (!members.isEmpty())
            m_memberName = members.first().value(QStringLiteral("MemberName")).toString();
    }
    return true;
}

void Bill::setRow(const QVariantMap& row)
{
    m_row = row;
    m_memberName.clear();
}

QVariant Bill::value(const QString& column) const
{
    return m_row.value(column, QString());
}

QDateTime Bill::BillDate() const
{
    return FrameworkSql::toDateTime(value(QStringLiteral("BillDate")));
}
QDateTime Bill::CreateTime() const
{
    return FrameworkSql::toDateTime(value(QStringLiteral("CreateTime")));
}
QDateTime Bill::CheckOutTime() const
{
    return FrameworkSql::toDateTime(value(QStringLiteral("CheckOutTime")));
}
