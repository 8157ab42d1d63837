#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariant>

// A forward-only, read-only reader over a query's result, positioned on the first row (or at
// its end when there is none). NULL values read as invalid QVariants; callers that need the
// access layer's "NULL reads as empty text" use the row helpers of mod_ADO.
class Recordset
{
public:
    explicit Recordset(QSqlQuery query);

    bool atEnd() const { return m_atEnd; }
    void moveNext();

    int fieldCount() const;
    QString fieldName(int index) const;
    int fieldIndex(const QString& name) const; // -1 when the result has no such column
    QVariant value(int index) const;
    QVariant value(const QString& name) const;
    bool isNull(int index) const;

    QSqlQuery& query() { return m_query; }

private:
    QSqlQuery m_query;
    bool m_atEnd = true;
};
