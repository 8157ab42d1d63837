#pragma once

#include "SheetExporter.h"

// An Excel workbook (.xlsx) of one worksheet: the column header rows with their merged group
// headers, the data with number and percent formats, colours, fonts, merged spans, column
// widths and row heights. Percent cells hold the fraction (12.5 % is stored as 0.125 and
// formatted "0.00%").
//
// A large grid is written row by row in constant memory: each row goes to a temporary file as
// soon as the next one starts and its texts are stored in the cells instead of in the shared
// string table. The workbook looks the same either way.
class XlsxExporter : public SheetExporter
{
public:
    enum class Memory
    {
        Auto,     // constant memory for grids of more than ConstantMemoryCells cells
        Held,     // every cell held until the workbook closes
        Constant, // rows written out as they are finished
    };
    // Holding a cell costs libxlsxwriter about 120 bytes until the workbook closes: a grid of
    // this many cells holds ~25 MB, below it the held workbook is cheap and keeps its shared
    // strings (a smaller file when texts repeat), above it memory grows with the grid.
    static constexpr qint64 ConstantMemoryCells = 200000;

    explicit XlsxExporter(Memory memory = Memory::Auto) : m_memory(memory) {}

    bool write(const Sheet& sheet, const QString& path, const SheetExportOptions& options,
               QString* error) const override;

    // The worksheet name for a caption: characters Excel forbids ([]:*?/\) replaced by "_",
    // at most 31 characters, "Sheet1" when nothing is left.
    static QString sheetName(const QString& caption);
    // Excel's column width (characters of the default font) for a width in twips.
    static double columnChars(int twips);

private:
    Memory m_memory;
};
