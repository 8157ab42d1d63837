#pragma once

#include <QString>

#include <memory>
#include <vector>

class QueryColumn;

// The column list of a query control (Columns()) or of a header-only column (SubColumns()).
class QueryColumns
{
public:
    QueryColumns();
    ~QueryColumns();
    QueryColumns(const QueryColumns&) = delete;
    QueryColumns& operator=(const QueryColumns&) = delete;

    // Appends a column definition (the eleven values, see QueryColumn) and returns it; the
    // list owns it.
    QueryColumn* Add(const QString& field, const QString& caption = QString(),
                     const QString& condition = QString(), const QString& value4 = QString(),
                     bool value5 = false, int value6 = 0, bool sum = false, int kind = 1,
                     int width = -1, int backColor = -1, bool value11 = true);
    // The same, under the name the sub-column lists are called with.
    QueryColumn* add(const QString& field, const QString& caption = QString(),
                     const QString& condition = QString(), const QString& value4 = QString(),
                     bool value5 = false, int value6 = 0, bool sum = false, int kind = 1,
                     int width = -1, int backColor = -1, bool value11 = true)
    {
        return Add(field, caption, condition, value4, value5, value6, sum, kind, width, backColor,
                   value11);
    }

    int count() const { return int(m_items.size()); }
    QueryColumn* at(int index) const;                            // 0-based; null when out of range
    QueryColumn* Item(int index) const { return at(index - 1); } // 1-based
    void clear();

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::vector<std::unique_ptr<QueryColumn>> m_items;
};
