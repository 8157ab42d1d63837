#include "query/ColumnSpec.h"

#include "db/SqlText.h"
#include "query/QueryColumn.h"
#include "query/QueryColumns.h"

#include <QString>

namespace {

void add(QueryColumns& columns, const std::vector<ColumnSpec>& specs,
         const DataListEntries& entries, const DataListItem* entry);

// One column and its sub-columns; `entry`, when given, fills in the conditions.
void addOne(QueryColumns& columns, const ColumnSpec& c, const QString& caption,
            const DataListEntries& entries, const DataListItem* entry)
{
    QString condition = QString::fromUtf8(c.condition);
    if (entry)
        condition.replace(QLatin1String("{id}"), sqlQuote(entry->id))
            .replace(QLatin1String("{name}"), sqlQuote(entry->Name));
    QueryColumn* column = columns.Add(QString::fromUtf8(c.field), caption, condition, QString(),
                                      c.value5, c.value6, c.sum, c.kind, c.width, c.back, true);
    column->setHoldsDates(c.dates);
    add(column->SubColumns(), c.sub, entries, entry);
}

void add(QueryColumns& columns, const std::vector<ColumnSpec>& specs,
         const DataListEntries& entries, const DataListItem* entry)
{
    for (const ColumnSpec& c : specs) {
        if (!c.eachEntryOf || entry) {
            addOne(columns, c, QString::fromUtf8(c.caption), entries, entry);
            continue;
        }
        if (entries)
            for (const DataListItem& e : entries(*c.eachEntryOf))
                addOne(columns, c, e.Name, entries, &e);
    }
}

} // namespace

void AddColumns(QueryColumns& columns, const std::vector<ColumnSpec>& specs,
                const DataListEntries& entries)
{
    add(columns, specs, entries, nullptr);
}
