#include "framework/BillCollection.h"

#include "framework/BillService.h"
#include "framework/FrameworkSql.h"

BillCollection::BillCollection(ConnectionPtr connection)
    : m_connection(connection ? std::move(connection)
                              : FrameworkService::connectionOf(BillService::existing()))
{
}

void BillCollection::addCondition(int field, int op, const QVariant& value, int join)
{
    m_criteria.addCondition(field, op, value, join);
}

void BillCollection::addSortKey(int field, int direction)
{
    m_criteria.addSortKey(field, direction);
}

void BillCollection::clear()
{
    m_criteria.clear();
    m_bills.clear();
}

bool BillCollection::load()
{
    m_bills.clear();
    static const ListCriteria::Fields fields = {
        {FieldBillID, {QStringLiteral("BillID")}},
        {FieldSumPaid, {QStringLiteral("SumPaid")}},
        {FieldBillDate, {QStringLiteral("BillDate"), true}},
        {FieldOriginalID, {QStringLiteral("OriginalID")}},
    };
    QString where, orderBy;
    QVariantList params;
    m_error.clear();
    if (!m_criteria.build(fields, &where, &orderBy, &params)) {
        m_error = QStringLiteral("the conditions on the bills are not valid");
        return false;
    }
    const QString scope = m_scope.condition(&params);
    if (!scope.isEmpty())
        where = where.isEmpty()
                    ? QStringLiteral(" WHERE ") + scope
                    : QStringLiteral(" WHERE (") + where.mid(7) + QStringLiteral(") AND ") + scope;
    QList<QVariantMap> rows;
    QString error;
    if (!FrameworkSql::rows(m_connection, QStringLiteral("SELECT * FROM bi_Bill") + where + orderBy,
                            params, &rows, &error)) {
        m_error = QStringLiteral("cannot read the bills (bi_Bill): ") + error;
        return false;
    }
    for (const QVariantMap& row : rows) {
        Bill bill(m_connection);
        bill.setRow(row);
        m_bills.append(bill);
    }
    return true;
}

const Bill& BillCollection::item(int i) const
{
    static const Bill empty(std::make_shared<Connection>());
    return i >= 1 && i <= m_bills.size() ? m_bills.at(i - 1) : empty;
}
