#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

// Conditions and sort keys of a data list or bill collection, in the codes the screens use.
// Operators: 1 equal, 2 not equal, 4 from (>=), 5 to (<=). Joins: 1 AND, 2 OR.
// Directions: 1 ascending, 2 descending. For a date field, "equal" means the whole day and
// "to" includes the whole last day.
class ListCriteria
{
public:
    enum Operator
    {
        Equal = 1,
        NotEqual = 2,
        From = 4,
        To = 5
    };
    enum Join
    {
        And = 1,
        Or = 2
    };
    enum Direction
    {
        Ascending = 1,
        Descending = 2
    };

    // A field a list can be filtered and sorted on: its code, column, and whether it is a date.
    struct Field
    {
        QString column;
        bool isDate = false;
    };
    using Fields = QHash<int, Field>;

    void addCondition(int field, int op, const QVariant& value, int join = And);
    void addSortKey(int field, int direction = Ascending);
    void clear();
    bool isEmpty() const { return m_conditions.isEmpty() && m_sortKeys.isEmpty(); }

    // The " WHERE …" and " ORDER BY …" texts (empty when there is nothing to add) and the
    // parameters, for the given field table. False when a code is unknown: the list then
    // loads nothing rather than more than was asked for.
    bool build(const Fields& fields, QString* where, QString* orderBy, QVariantList* params) const;

private:
    struct Condition
    {
        int field;
        int op;
        QVariant value;
        int join;
    };
    QList<Condition> m_conditions;
    QList<QPair<int, int>> m_sortKeys;
};
