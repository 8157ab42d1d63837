#include "framework/ListCriteria.h"

#include "framework/FrameworkSql.h"

#include <QDateTime>

void ListCriteria::addCondition(int field, int op, const QVariant& value, int join)
{
    m_conditions.append({field, op, value, join});
}

void ListCriteria::addSortKey(int field, int direction)
{
    m_sortKeys.append({field, direction});
}

void ListCriteria::clear()
{
    m_conditions.clear();
    m_sortKeys.clear();
}

bool ListCriteria::build(const Fields& fields, QString* where, QString* orderBy,
                         QVariantList* params) const
{
    where->clear();
    orderBy->clear();
    for (const Condition& c : m_conditions) {
        if (!fields.contains(c.field) || (c.join != And && c.join != Or))
            return false;
        const Field f = fields.value(c.field);
        QString term;
        if (f.isDate) {
            const QDateTime t = FrameworkSql::toDateTime(c.value);
            if (!t.isValid())
                return false;
            const QDate day = t.date();
            switch (c.op) {
            case Equal:
                term = QStringLiteral("(%1>=? AND %1<?)").arg(f.column);
                *params << day << day.addDays(1);
                break;
            case NotEqual:
                term = QStringLiteral("(%1<? OR %1>=?)").arg(f.column);
                *params << day << day.addDays(1);
                break;
            case From:
                term = f.column + QStringLiteral(">=?");
                *params << day;
                break;
            case To:
                term = f.column + QStringLiteral("<?");
                *params << day.addDays(1);
                break;
            default:
                return false;
            }
        } else {
            static const QHash<int, QString> ops = {
                {Equal, QStringLiteral("=")},
                {NotEqual, QStringLiteral("<>")},
                {From, QStringLiteral(">=")},
                {To, QStringLiteral("<=")},
            };
            if (!ops.contains(c.op))
                return false;
            term = f.column + ops.value(c.op) + QLatin1Char('?');
            *params << c.value;
        }
        if (where->isEmpty())
            *where = QStringLiteral(" WHERE ") + term;
        else
            *where += (c.join == Or ? QStringLiteral(" OR ") : QStringLiteral(" AND ")) + term;
    }
    for (const auto& [field, direction] : m_sortKeys) {
        if (!fields.contains(field) || (direction != Ascending && direction != Descending))
            return false;
        *orderBy += (orderBy->isEmpty() ? QStringLiteral(" ORDER BY ") : QStringLiteral(","));
        *orderBy += fields.value(field).column;
        *orderBy += direction == Descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC");
    }
    return true;
}
