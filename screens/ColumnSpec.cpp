#include "screens/ColumnSpec.h"

#include "screens/QueryColumn.h"
#include "screens/QueryColumns.h"

#include <QString>

void AddColumns(QueryColumns& columns, const std::vector<ColumnSpec>& specs)
{
    for (const ColumnSpec& c : specs) {
        QueryColumn* column = columns.Add(QString::fromUtf8(c.field), QString::fromUtf8(c.caption),
                                          QString::fromUtf8(c.condition), QString(), c.value5,
                                          c.value6, c.sum, c.kind, c.width, c.back, true);
        AddColumns(column->SubColumns(), c.sub);
    }
}
