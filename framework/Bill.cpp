#include "framework/Bill.h"

#include "framework/BillService.h"
#include "framework/FrameworkSql.h"

Bill::Bill(ConnectionPtr connection)
    : m_connection(connection ? std::move(connection)
                              : FrameworkService::connectionOf(BillService::existing()))
{
}

QString BillScope::condition(QVariantList* params) const
{
    QStringList terms;
    if (!includeDeleted)
        terms << QStringLiteral("IsDeleted=0");
    if (branchIds) {
        if (branchIds->isEmpty()) {
            terms << QStringLiteral("1<>1");
        } else {
            QStringList markers;
            for (const QString& id : *branchIds) {
                markers << QStringLiteral("?");
                *params << id;
            }
            terms << QStringLiteral("BranchID IN (") + markers.join(QLatin1Char(',')) +
                         QLatin1Char(')');
        }
    }
    return terms.join(QStringLiteral(" AND "));
}

bool Bill::load(const QString& billId)
{
    m_row.clear();
    m_memberName.clear();
    m_error.clear();
    QVariantList params{billId.trimmed()};
    QString sql = QStringLiteral("SELECT * FROM bi_Bill WHERE BillID=?");
    const QString scope = m_scope.condition(&params);
    if (!scope.isEmpty())
        sql += QStringLiteral(" AND ") + scope;
    QList<QVariantMap> rows;
    QString error;
    if (!FrameworkSql::rows(m_connection, sql, params, &rows, &error)) {
        m_error = QStringLiteral("cannot read bill %1 (bi_Bill): %2").arg(billId.trimmed(), error);
        return false;
    }
    if (rows.isEmpty())
        return false;
    setRow(rows.first());
    const QString memberId = text(QStringLiteral("MemberID"));
    if (!memberId.isEmpty()) {
        QList<QVariantMap> members;
        if (!FrameworkSql::rows(
                m_connection,
                QStringLiteral("SELECT MemberName FROM mb_MemberInfo WHERE MemberID=?"), {memberId},
                &members, &error)) {
            m_error = QStringLiteral("cannot read the member of bill %1 (mb_MemberInfo): %2")
                          .arg(billId.trimmed(), error);
            m_row.clear();
            return false;
        }
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
