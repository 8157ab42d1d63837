#pragma once

#include <QList>
#include <QString>

// The grouping fields of a query control: each group of consecutive rows with equal values of
// the field ends with a subtotal row captioned "<caption>小计".
class QueryGroups
{
public:
    struct Group
    {
        QString field;
        QString caption;
    };

    void Add(const QString& field, const QString& caption = QString())
    {
        m_groups.append({field.trimmed(), caption});
    }
    int count() const { return int(m_groups.size()); }
    const Group& at(int index) const { return m_groups.at(index); }
    void clear() { m_groups.clear(); }

private:
    QList<Group> m_groups;
};
