#pragma once

#include "SheetExporter.h"

// An Excel workbook (.xlsx) of one worksheet: the column header rows with their merged group
// headers, the data with number and percent formats, colours, fonts, merged spans, column
// widths and row heights. Percent cells hold the fraction (12.5 % is stored as 0.125 and
// formatted "0.00%").
class XlsxExporter : public SheetExporter
{
public:
    bool write(const Sheet& sheet, const QString& path, const SheetExportOptions& options,
               QString* error) const override;

    // The worksheet name for a caption: characters Excel forbids ([]:*?/\) replaced by "_",
    // at most 31 characters, "Sheet1" when nothing is left.
    static QString sheetName(const QString& caption);
    // Excel's column width (characters of the default font) for a width in twips.
    static double columnChars(int twips);
};
