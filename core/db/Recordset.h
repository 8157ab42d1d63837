#pragma once

#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

// A forward-only, read-only reader over a query's result, positioned on the first row (or at
// its end when there is none). NULL values read as invalid QVariants; callers that need the
// access layer's "NULL reads as empty text" use the row helpers of mod_ADO.
// The result's columns are read once; per-row access costs no record copies.
class Recordset
{
public:
    explicit Recordset(QSqlQuery query);

    bool atEnd() const { return m_atEnd; }
    void moveNext();

    int fieldCount() const { return int(m_names.size()); }
    QString fieldName(int index) const { return m_names.value(index); }
    const QStringList& fieldNames() const { return m_names; }
    int fieldIndex(const QString& name) const; // -1 when the result has no such column
    QVariant value(int index) const { return m_query.value(index); }
    QVariant value(const QString& name) const;
    bool isNull(int index) const { return m_query.isNull(index); }
    const QSqlRecord& record() const { return m_record; }

    QSqlQuery& query() { return m_query; }

private:
    QSqlQuery m_query;
    QSqlRecord m_record;
    QStringList m_names;
    QHash<QString, int> m_index; // exact names; first column of a name wins
    bool m_atEnd = true;
};
