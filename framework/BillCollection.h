#pragma once

#include "framework/Bill.h"
#include "framework/ListCriteria.h"

#include <QList>

// Bill headers of bi_Bill found by conditions, in the sort order asked for. Field codes:
// 1 bill number, 38 amount received, 43 business date, 58 original bill number; operators and
// directions as in ListCriteria (1 equal, 4 from, 5 to; 1 ascending, 2 descending).
class BillCollection
{
public:
    enum FieldCode
    {
        FieldBillID = 1,
        FieldSumPaid = 38,
        FieldBillDate = 43,
        FieldOriginalID = 58
    };

    // Reads from `connection`, or from the bill service's connection when none is given.
    explicit BillCollection(ConnectionPtr connection = {});

    void addCondition(int field, int op, const QVariant& value, int join = ListCriteria::And);
    void addSortKey(int field, int direction = ListCriteria::Ascending);
    void clear();
    // Only bills in this scope are read (the conditions apply within it).
    void setScope(const BillScope& scope) { m_scope = scope; }

    // Reads the bills; false (and no bills) when they cannot be read or a code is unknown.
    bool load();
    // Why the last load failed (the database's reason); empty after a load that read the bills.
    const QString& lastError() const { return m_error; }
    int Count() const { return int(m_bills.size()); }
    // Bill i, counting from 1; an empty bill when i is out of range.
    const Bill& item(int i) const;

private:
    ConnectionPtr m_connection;
    ListCriteria m_criteria;
    BillScope m_scope;
    QList<Bill> m_bills;
    QString m_error;
};
