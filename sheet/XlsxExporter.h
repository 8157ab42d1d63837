#pragma once

#include "sheet/PrintCodeParser.h"
#include "sheet/SheetExporter.h"

// An Excel workbook (.xlsx) of one worksheet: the column header rows with their merged group
// headers, the data with number and percent formats, colours, fonts, merged spans, column
// widths and row heights. Percent cells hold the fraction (12.5 % is stored as 0.125 and
// formatted "0.00%").
//
// Each worksheet prints as the sheet does: paper, orientation, margins, centring and scaling
// from the sheet's print settings (smart print fits the page width), the column header rows
// repeated on every page, and the print header and footer as the worksheet's page header and
// footer, the page number and count as the spreadsheet's own page fields.
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
    // A page header or footer in Excel's codes (&L &C &R sections, &"font,style" and &size,
    // &P page, &N page count, && for "&", lines broken by "\n") for lines of the print code
    // language; at most HeaderFooterMax characters: the font codes are left out of a longer
    // one, and what is still too long is cut off. Texts in `defaultFont` get no font codes
    // (the spreadsheet's own header font).
    static QString headerFooter(const QList<PrintLine>& lines, const QFont& defaultFont = QFont());
    static constexpr int HeaderFooterMax = 255;
    // Excel's number format of a number or percent cell shown with `decimals` places:
    // "#,##0.00", "0.00%", or #,##0" ";-#,##0" ";" " for whole units followed by a blank and
    // nothing but the blank for zero. Empty for a text cell.
    static QString numberFormat(CellType type, int decimals, bool thousands,
                                const NumberFormat& format = NumberFormat());

private:
    Memory m_memory;
};
