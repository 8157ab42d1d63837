#pragma once

#include "sheet/SheetExporter.h"

// Tab-separated UTF-8 text: the column header rows, then the data rows as the grid shows
// them; tabs and line breaks inside cells become blanks.
class TextExporter : public SheetExporter
{
public:
    bool write(const Sheet& sheet, const QString& path, const SheetExportOptions& options,
               QString* error) const override;
};
