#include "Recordset.h"

#include <QSqlRecord>

Recordset::Recordset(QSqlQuery query) : m_query(std::move(query))
{
    m_atEnd = !m_query.next();
}

void Recordset::moveNext()
{
    if (!m_atEnd)
        m_atEnd = !m_query.next();
}

int Recordset::fieldCount() const { return m_query.record().count(); }
QString Recordset::fieldName(int index) const { return m_query.record().fieldName(index); }
int Recordset::fieldIndex(const QString& name) const { return m_query.record().indexOf(name); }
QVariant Recordset::value(int index) const { return m_query.value(index); }
QVariant Recordset::value(const QString& name) const { return m_query.value(name); }
bool Recordset::isNull(int index) const { return m_query.isNull(index); }
