#include "Recordset.h"

Recordset::Recordset(QSqlQuery query) : m_query(std::move(query))
{
    m_record = m_query.record();
    m_names.reserve(m_record.count());
    for (int i = 0; i < m_record.count(); ++i) {
        m_names << m_record.fieldName(i);
        m_index.insert(m_names.last(), i); // later duplicates overwrite below
    }
    for (int i = m_record.count() - 1; i >= 0; --i)
        m_index.insert(m_names.at(i), i);
    m_atEnd = !m_query.next();
}

void Recordset::moveNext()
{
    if (!m_atEnd)
        m_atEnd = !m_query.next();
}

int Recordset::fieldIndex(const QString& name) const
{
    const auto it = m_index.constFind(name);
    if (it != m_index.constEnd())
        return it.value();
    // Column names are case-insensitive in SQL.
    for (int i = 0; i < m_names.size(); ++i)
        if (m_names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant Recordset::value(const QString& name) const
{
    const int i = fieldIndex(name);
    return i < 0 ? QVariant() : m_query.value(i);
}
