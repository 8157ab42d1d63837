#pragma once

#include "sheet/SheetExporter.h"

// One self-contained UTF-8 HTML page (inline CSS): a table whose head holds the column
// header rows (colspan/rowspan for group headers) and whose body holds the data with its
// spans, colours, fonts and alignment. With append set, the table is added to an existing page.
class HtmlExporter : public SheetExporter
{
public:
    bool write(const Sheet& sheet, const QString& path, const SheetExportOptions& options,
               QString* error) const override;
};
