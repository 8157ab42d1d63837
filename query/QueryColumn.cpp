#include "query/QueryColumn.h"

#include "query/QueryColumns.h"

QueryColumn::QueryColumn(const QString& field, const QString& caption, const QString& condition,
                         const QString& value4, bool value5, int value6, bool sum, int kind,
                         int width, int backColor, bool value11)
    : m_fieldText(field), m_caption(caption), m_condition(condition), m_value4(value4),
      m_value5(value5), m_value6(value6), m_sum(sum), m_kind(kind), m_width(width),
      m_backColor(backColor), m_value11(value11), m_sub(std::make_unique<QueryColumns>())
{
}

QueryColumn::~QueryColumn() = default;

int QueryColumn::subItemCount() const
{
    return m_sub->count();
}
IQueryItem* QueryColumn::subItem(int index)
{
    return m_sub->at(index);
}

QString QueryColumn::expression() const
{
    const qsizetype bar = m_fieldText.indexOf(QLatin1Char('|'));
    return (bar < 0 ? m_fieldText : m_fieldText.left(bar)).trimmed();
}

QString QueryColumn::name() const
{
    const qsizetype bar = m_fieldText.indexOf(QLatin1Char('|'));
    return (bar < 0 ? m_fieldText : m_fieldText.mid(bar + 1)).trimmed();
}

bool QueryColumn::isHeaderOnly() const
{
    return expression().isEmpty() && m_sub->count() > 0;
}
