#include "query/QueryColumns.h"

#include "query/QueryColumn.h"

QueryColumns::QueryColumns() = default;
QueryColumns::~QueryColumns() = default;

QueryColumn* QueryColumns::Add(const QString& field, const QString& caption,
                               const QString& condition, const QString& value4, bool value5,
                               int value6, bool sum, int kind, int width, int backColor,
                               bool value11)
{
    m_items.push_back(std::make_unique<QueryColumn>(field, caption, condition, value4, value5,
                                                    value6, sum, kind, width, backColor, value11));
    return m_items.back().get();
}

QueryColumn* QueryColumns::at(int index) const
{
    return index >= 0 && index < count() ? m_items[size_t(index)].get() : nullptr;
}

void QueryColumns::clear()
{
    m_items.clear();
}
