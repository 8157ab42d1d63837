#include "sheet/XlsxExporter.h"

#include "sheet/ExportFile.h"
#include "sheet/SheetCells.h"
#include "sheet/XmlText.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include <xlsxwriter.h>

namespace {

constexpr int ExcelRows = 1048576; // rows of a worksheet

lxw_color_t rgb(const QColor& c)
{
    return lxw_color_t(c.rgb() & 0xFFFFFF);
}

// Formats are shared by every cell that looks the same.
class Formats
{
public:
    explicit Formats(lxw_workbook* book) : m_book(book) {}

    lxw_format* header()
    {
        if (!m_header) {
            m_header = workbook_add_format(m_book);
            format_set_bold(m_header);
            format_set_align(m_header, LXW_ALIGN_CENTER);
            format_set_align(m_header, LXW_ALIGN_VERTICAL_CENTER);
            format_set_text_wrap(m_header);
            format_set_bg_color(m_header, 0xE0E0E0);
            format_set_border(m_header, LXW_BORDER_THIN);
        }
        return m_header;
    }

    // The format of a cell of column `col` (0-based); neighbouring cells of a column mostly
    // look the same, so the column's last look is tried before the keyed lookup.
    lxw_format* cell(int col, const CellStyle& style, bool ownFont, const QString& numFormat,
                     bool border)
    {
        if (col >= int(m_lastInColumn.size()))
            m_lastInColumn.resize(size_t(col) + 1);
        Last& last = m_lastInColumn[size_t(col)];
        if (last.format && last.ownFont == ownFont && last.numFormat == numFormat &&
            last.style == style)
            return last.format;
        lxw_format* f = cell(style, ownFont, numFormat, border);
        last = {style, ownFont, numFormat, f};
        return f;
    }

    lxw_format* cell(const CellStyle& style, bool ownFont, const QString& numFormat, bool border)
    {
        const QFont font = *style.font;
        const QString key = QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8")
                                .arg(style.foreColor->rgb())
                                .arg(style.backColor->rgb())
                                .arg(ownFont ? font.toString() : QString::number(font.bold()))
                                .arg(int(*style.hAlign))
                                .arg(int(*style.vAlign))
                                .arg(numFormat)
                                .arg(border)
                                .arg(style.borderColor ? style.borderColor->rgb() : 0);
        auto it = m_cells.constFind(key);
        if (it != m_cells.constEnd())
            return *it;
        lxw_format* f = workbook_add_format(m_book);
        if (*style.foreColor != QColor(Qt::black))
            format_set_font_color(f, rgb(*style.foreColor));
        if (*style.backColor != QColor(Qt::white))
            format_set_bg_color(f, rgb(*style.backColor));
        if (font.bold())
            format_set_bold(f);
        if (ownFont) {
            if (font.italic())
                format_set_italic(f);
            if (font.underline())
                format_set_underline(f, LXW_UNDERLINE_SINGLE);
            if (font.strikeOut())
                format_set_font_strikeout(f);
            if (font.pointSizeF() > 0)
                format_set_font_size(f, font.pointSizeF());
            if (!font.family().isEmpty())
                format_set_font_name(f, font.family().toUtf8().constData());
        }
        const Qt::Alignment h = *style.hAlign;
        format_set_align(f, h & Qt::AlignHCenter ? LXW_ALIGN_CENTER
                            : h & Qt::AlignRight ? LXW_ALIGN_RIGHT
                                                 : LXW_ALIGN_LEFT);
        const Qt::Alignment v = *style.vAlign;
        format_set_align(f, v & Qt::AlignTop      ? LXW_ALIGN_VERTICAL_TOP
                            : v & Qt::AlignBottom ? LXW_ALIGN_VERTICAL_BOTTOM
                                                  : LXW_ALIGN_VERTICAL_CENTER);
        if (!numFormat.isEmpty())
            format_set_num_format(f, numFormat.toUtf8().constData());
        if (border || style.borderColor)
            format_set_border(f, LXW_BORDER_THIN);
        if (style.borderColor && *style.borderColor != QColor(Qt::black))
            format_set_border_color(f, rgb(*style.borderColor));
        m_cells.insert(key, f);
        return f;
    }

private:
    struct Last
    {
        CellStyle style;
        bool ownFont = false;
        QString numFormat;
        lxw_format* format = nullptr;
    };
    lxw_workbook* m_book;
    lxw_format* m_header = nullptr;
    QHash<QString, lxw_format*> m_cells;
    std::vector<Last> m_lastInColumn;
};

QString escaped(const QString& text)
{
    QString out = XmlText::clean(text);
    out.replace(QLatin1Char('&'), QLatin1String("&&"));
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    out.remove(QLatin1Char('\r'));
    return out;
}

// Excel's codes for a font; "-" names the spreadsheet's own header font.
QString fontCode(const QFont& font, bool ownFont)
{
    const QString style = font.bold() && font.italic() ? QStringLiteral("Bold Italic")
                          : font.bold()                ? QStringLiteral("Bold")
                          : font.italic()              ? QStringLiteral("Italic")
                                                       : QStringLiteral("Regular");
    // The size before the name: a text starting with a digit cannot be read as part of it.
    const int points = font.pointSize() > 0 ? font.pointSize() : qRound(font.pointSizeF());
    QString family = ownFont ? QStringLiteral("-") : font.family();
    family.remove(QLatin1Char('"'));
    return (points > 0 ? QStringLiteral("&%1").arg(points) : QString()) +
           QStringLiteral("&\"%1,%2\"").arg(family, style);
}

QString headerFooterCodes(const QList<PrintLine>& lines, const QFont& defaultFont, bool withFonts)
{
    static const char* const Sections[3] = {"&L", "&C", "&R"};
    QString out;
    for (int s = 0; s < 3; ++s) {
        QStringList texts;
        QString font;
        for (const PrintLine& line : lines) {
            QString text;
            for (const PrintRun& run : line.sections[s]) {
                // Texts in the default font stand in the header font until another is set.
                const bool own = run.font == defaultFont;
                const QString code = own && font.isEmpty() ? QString() : fontCode(run.font, own);
                if (withFonts && code != font) {
                    font = code;
                    text += code;
                }
                text += run.field == PrintRun::Field::Page        ? QStringLiteral("&P")
                        : run.field == PrintRun::Field::PageCount ? QStringLiteral("&N")
                                                                  : escaped(run.text);
            }
            texts << text;
        }
        // Blank lines before and after the text only push it away from the margin.
        while (!texts.isEmpty() && texts.first().trimmed().isEmpty())
            texts.removeFirst();
        while (!texts.isEmpty() && texts.last().trimmed().isEmpty())
            texts.removeLast();
        if (!texts.isEmpty())
            out += QLatin1String(Sections[s]) + texts.join(QLatin1Char('\n'));
    }
    return out;
}

// The height of the lines of a header or footer, twips: each line as high as its largest font
// is in the Noto CJK fonts the printer uses (1.45 em), without loading a font.
double linesHeight(const QList<PrintLine>& lines)
{
    auto points = [](const QFont& f) { return f.pointSizeF() > 0 ? f.pointSizeF() : 9.0; };
    double height = 0;
    for (const PrintLine& line : lines) {
        double size = points(line.font);
        for (const QList<PrintRun>& runs : line.sections)
            for (const PrintRun& run : runs)
                size = std::max(size, points(run.font));
        height += size * 20 * 1.45;
    }
    return height;
}

// What every worksheet of the workbook gets for printing.
struct PageSetup
{
    QByteArray header, footer;
    double top = 0, bottom = 0, left = 0, right = 0, headerMargin = 0, footerMargin = 0; // inches
};

PageSetup pageSetup(const Sheet& sheet)
{
    const PrintSettings& ps = sheet.printSettings();
    const QList<PrintLine> header = PrintCodeParser::parse(ps.header, sheet.defaultFont());
    const QList<PrintLine> footer = PrintCodeParser::parse(ps.footer, sheet.defaultFont());
    PageSetup setup;
    setup.header = XlsxExporter::headerFooter(header, sheet.defaultFont()).toUtf8();
    setup.footer = XlsxExporter::headerFooter(footer, sheet.defaultFont()).toUtf8();
    // The header and footer stand inside the margins, the grid a gap away from them.
    const double gap = 120; // as the printer leaves
    setup.headerMargin = ps.marginTop / 1440.0;
    setup.footerMargin = ps.marginBottom / 1440.0;
    setup.top = (ps.marginTop + (setup.header.isEmpty() ? 0 : linesHeight(header) + gap)) / 1440.0;
    setup.bottom =
        (ps.marginBottom + (setup.footer.isEmpty() ? 0 : linesHeight(footer) + gap)) / 1440.0;
    setup.left = ps.marginLeft / 1440.0;
    setup.right = ps.marginRight / 1440.0;
    return setup;
}

void setUpPage(lxw_worksheet* ws, const Sheet& sheet, const PageSetup& setup, int headerRows)
{
    const PrintSettings& ps = sheet.printSettings();
    worksheet_set_paper(ws, 9); // A4, the paper the sheet is laid out on
    if (ps.orientation == PrintSettings::Orientation::Landscape)
        worksheet_set_landscape(ws);
    else
        worksheet_set_portrait(ws);
    worksheet_set_margins(ws, setup.left, setup.right, setup.top, setup.bottom);
    if (ps.centerHorizontal)
        worksheet_center_horizontally(ws);
    if (ps.centerVertical)
        worksheet_center_vertically(ws);
    switch (ps.scaling) {
    case PrintSettings::Scaling::None:
        break;
    case PrintSettings::Scaling::SmartPrint: // fits the width when it is wider than the page
        worksheet_fit_to_pages(ws, 1, 0);
        break;
    case PrintSettings::Scaling::Zoom:
        worksheet_set_print_scale(ws, uint16_t(std::clamp(qRound(ps.zoomFactor * 100), 10, 400)));
        break;
    case PrintSettings::Scaling::BestFit:
        worksheet_fit_to_pages(ws, uint16_t(std::clamp(ps.bestFitPagesWide, 1, 32767)),
                               uint16_t(std::clamp(ps.bestFitPagesTall, 1, 32767)));
        break;
    }
    if (ps.columnHeaders && headerRows > 0)
        worksheet_repeat_rows(ws, 0, lxw_row_t(headerRows - 1));
    // Excel wants header and footer margins above zero.
    lxw_header_footer_options options = {};
    if (!setup.header.isEmpty()) {
        options.margin = std::max(0.01, setup.headerMargin);
        worksheet_set_header_opt(ws, setup.header.constData(), &options);
    }
    if (!setup.footer.isEmpty()) {
        options.margin = std::max(0.01, setup.footerMargin);
        worksheet_set_footer_opt(ws, setup.footer.constData(), &options);
    }
}

} // namespace

QString XlsxExporter::numberFormat(CellType type, int decimals, bool thousands,
                                   const NumberFormat& format)
{
    if (type == CellType::Text)
        return QString();
    // Shares are never grouped: "1234.00%".
    QString number =
        thousands && type != CellType::Percent ? QStringLiteral("#,##0") : QStringLiteral("0");
    if (decimals > 0)
        number += QLatin1Char('.') + QString(decimals, QLatin1Char('0'));
    // The suffix in quotes, its "%" outside them (a percent sign scales the number by 100).
    QString suffix;
    if (!format.suffix) {
        suffix = type == CellType::Percent ? QStringLiteral("%") : QString();
    } else {
        bool quoted = false;
        for (QChar ch : *format.suffix) {
            if (ch == QLatin1Char('"'))
                continue;
            if ((ch == QLatin1Char('%')) == quoted) {
                suffix += QLatin1Char('"');
                quoted = !quoted;
            }
            suffix += ch;
        }
        if (quoted)
            suffix += QLatin1Char('"');
    }
    if (!format.zeroBlank)
        return number + suffix;
    // Positive; negative; zero: the zero section holds the suffix alone.
    QString zero = suffix;
    zero.remove(QLatin1Char('%'));
    return number + suffix + QLatin1Char(';') + QLatin1Char('-') + number + suffix +
           QLatin1Char(';') + zero;
}

QString XlsxExporter::headerFooter(const QList<PrintLine>& lines, const QFont& defaultFont)
{
    QString codes = headerFooterCodes(lines, defaultFont, true);
    if (codes.size() <= HeaderFooterMax)
        return codes;
    codes = headerFooterCodes(lines, defaultFont, false);
    if (codes.size() <= HeaderFooterMax)
        return codes;
    codes.truncate(HeaderFooterMax);
    if (codes.back().isHighSurrogate())
        codes.chop(1);
    // A code cut in two: an odd run of "&" at the end.
    qsizetype amps = 0;
    while (amps < codes.size() && codes.at(codes.size() - 1 - amps) == QLatin1Char('&'))
        ++amps;
    if (amps % 2)
        codes.chop(1);
    return codes;
}

QString XlsxExporter::sheetName(const QString& caption)
{
    QString name = XmlText::clean(caption);
    for (QChar& ch : name)
        if (QStringLiteral("[]:*?/\\").contains(ch) || ch.unicode() < 0x20)
            ch = QLatin1Char('_');
    name = name.trimmed();
    while (name.startsWith(QLatin1Char('\'')))
        name.remove(0, 1);
    name = name.left(31);
    while (name.endsWith(QLatin1Char('\'')))
        name.chop(1);
    return name.isEmpty() ? QStringLiteral("Sheet1") : name;
}

double XlsxExporter::columnChars(int twips)
{
    // Excel sizes columns in characters of the default font (Calibri 11: 7 pixels a digit and
    // 5 pixels of padding at 96 DPI); a twip is 1/15 pixel at 96 DPI.
    const double pixels = twips / 15.0;
    if (pixels <= 12)
        return pixels / 12.0;
    return qRound((pixels - 5) / 7.0 * 100) / 100.0;
}

bool XlsxExporter::write(const Sheet& sheet, const QString& path, const SheetExportOptions& options,
                         QString* error) const
{
    const SheetCells cells(sheet);
    const QList<int>& columns = cells.visibleColumns();
    const int headerRows = sheet.headerRows();
    const int rowsPerWorksheet = std::max(1, ExcelRows - headerRows);
    const qint64 gridCells = qint64(columns.size()) * (qint64(headerRows) + sheet.maxRows());
    // In constant memory a row can no longer be written once a later row has been started:
    // cells are written strictly row by row, and a range merged over several rows is
    // registered while its last row is being written (its own writes into earlier rows are
    // refused then, so the cells of those rows are written here beforehand).
    const bool constant = m_memory == Memory::Constant ||
                          (m_memory == Memory::Auto && gridCells > ConstantMemoryCells);
    lxw_workbook_options bookOptions = {};
    bookOptions.constant_memory = constant ? LXW_TRUE : LXW_FALSE;
    // A worksheet's XML over 4 GB needs ZIP64 (~100 bytes of XML a cell at most).
    const qint64 worksheetCells =
        qint64(columns.size()) * std::min<qint64>(ExcelRows, headerRows + sheet.maxRows());
    bookOptions.use_zip64 = worksheetCells * 100 > (qint64(1) << 32) ? LXW_TRUE : LXW_FALSE;
    // Written by libxlsxwriter to the temporary file beside the target, put in its place once
    // it is complete.
    ExportFile file(path);
    if (!file.begin()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    lxw_workbook* book =
        workbook_new_opt(QFile::encodeName(file.temporaryPath()).constData(), &bookOptions);
    if (!book) {
        if (error)
            *error = QStringLiteral("cannot create %1").arg(path);
        return false;
    }
    Formats formats(book);
    const PageSetup setup = pageSetup(sheet);
    QHash<int, int> excelCol; // sheet column -> 0-based worksheet column
    for (int i = 0; i < columns.size(); ++i)
        excelCol.insert(columns[i], i);
    auto firstVisible = [&](int c1, int c2) {
        for (int c = c1; c <= c2; ++c)
            if (excelCol.contains(c))
                return excelCol.value(c);
        return -1;
    };
    auto lastVisible = [&](int c1, int c2) {
        for (int c = c2; c >= c1; --c)
            if (excelCol.contains(c))
                return excelCol.value(c);
        return -1;
    };

    // Ranges over several rows waiting for their last row (constant memory only).
    struct Merge
    {
        int r1, c1, r2, c2;
        lxw_format* format;
    };
    std::vector<Merge> pending;
    lxw_error mergeError = LXW_NO_ERROR;
    auto mergeFinished = [&](lxw_worksheet* ws, int row) {
        for (auto it = pending.begin(); it != pending.end();) {
            if (it->r2 != row) {
                ++it;
                continue;
            }
            const lxw_error e =
                worksheet_merge_range(ws, lxw_row_t(it->r1), lxw_col_t(it->c1), lxw_row_t(it->r2),
                                      lxw_col_t(it->c2), "", it->format);
            if (e != LXW_NO_ERROR && mergeError == LXW_NO_ERROR)
                mergeError = e;
            it = pending.erase(it);
        }
    };

    // A worksheet holds at most ExcelRows rows: longer grids go on over further worksheets
    // ("name (2)", ...), each with the column headers again.
    const QString baseName = sheetName(options.caption);
    auto addWorksheet = [&](int part) {
        const QString suffix = part == 1 ? QString() : QStringLiteral(" (%1)").arg(part);
        lxw_worksheet* ws = workbook_add_worksheet(
            book, (baseName.left(31 - suffix.size()) + suffix).toUtf8().constData());
        for (int i = 0; i < columns.size(); ++i)
            worksheet_set_column(ws, lxw_col_t(i), lxw_col_t(i),
                                 columnChars(sheet.columnWidth(columns[i])), nullptr);
        // Column header rows, group headers merged over their sub-columns.
        for (int hr = 1; hr <= headerRows; ++hr) {
            for (int c : columns) {
                const CellBlock* span = cells.headerSpanAt(hr, c);
                if (!span) {
                    worksheet_write_string(
                        ws, lxw_row_t(hr - 1), lxw_col_t(excelCol.value(c)),
                        XmlText::clean(sheet.headerText(hr, c)).toUtf8().constData(),
                        formats.header());
                    continue;
                }
                if (firstVisible(span->col, span->col2) != excelCol.value(c) || hr != span->row) {
                    if (constant)
                        worksheet_write_blank(ws, lxw_row_t(hr - 1), lxw_col_t(excelCol.value(c)),
                                              formats.header());
                    continue;
                }
                const int r1 = span->row - 1, r2 = std::min(span->row2, headerRows) - 1;
                const int c1 = excelCol.value(c), c2 = lastVisible(span->col, span->col2);
                const QByteArray caption = XmlText::clean(cells.headerCaption(hr, c)).toUtf8();
                if ((r1 == r2 && c1 == c2) || (constant && r1 != r2)) {
                    worksheet_write_string(ws, lxw_row_t(r1), lxw_col_t(c1), caption.constData(),
                                           formats.header());
                    if (r1 != r2)
                        pending.push_back({r1, c1, r2, c2, formats.header()});
                } else {
                    worksheet_merge_range(ws, lxw_row_t(r1), lxw_col_t(c1), lxw_row_t(r2),
                                          lxw_col_t(c2), caption.constData(), formats.header());
                }
            }
            if (constant)
                mergeFinished(ws, hr - 1);
        }
        if (headerRows > 0 && sheet.maxRows() > 0)
            worksheet_freeze_panes(ws, lxw_row_t(headerRows), 0);
        setUpPage(ws, sheet, setup, headerRows);
        return ws;
    };
    lxw_worksheet* ws = addWorksheet(1);

    const bool border = sheet.gridLines();
    const bool thousands = sheet.thousandsSeparator();
    std::vector<bool> columnFont(size_t(sheet.maxCols()) + 1, false);
    for (int c : columns)
        columnFont[size_t(c)] = sheet.columnStyle(c).font.has_value();
    for (int r = 1; r <= sheet.maxRows(); ++r) {
        const int part = (r - 1) / rowsPerWorksheet; // 0 for the first worksheet
        if (part > 0 && (r - 1) % rowsPerWorksheet == 0)
            ws = addWorksheet(part + 1);
        const int firstRow = part * rowsPerWorksheet + 1; // the worksheet's first grid row
        const lxw_row_t row = lxw_row_t(headerRows + r - firstRow);
        if (sheet.rowHeight(r) != Sheet::DefaultRowHeight)
            worksheet_set_row(ws, row, sheet.rowHeight(r) / 20.0, nullptr);
        const bool rowFont = sheet.rowStyle(r).font.has_value();
        for (int c : columns) {
            const CellBlock* span = cells.spanAt(r, c);
            // A cell inside a span: the merge fills it with the span's format, except in
            // constant memory, where that is done here (a span begun on an earlier worksheet
            // is left empty on this one).
            const bool covered = span && (r != span->row ||
                                          excelCol.value(c) != firstVisible(span->col, span->col2));
            if (covered && (!constant || span->row < firstRow))
                continue;
            const int ar = span ? span->row : r, ac = span ? span->col : c;
            const CellStyle style = sheet.effectiveStyle(ar, ac);
            const bool ownFont = sheet.cellStyle(ar, ac).font ||
                                 (ar == r ? rowFont : sheet.rowStyle(ar).font.has_value()) ||
                                 columnFont[size_t(ac)];
            const CellType type = sheet.cellType(ar, ac);
            const QVariant value = sheet.value(ar, ac);
            const bool number = value.typeId() == QMetaType::Double && type != CellType::Text;
            const lxw_col_t col = lxw_col_t(excelCol.value(c));
            lxw_format* f =
                formats.cell(int(col), style, ownFont,
                             number ? numberFormat(type, sheet.cellDecimals(ar, ac), thousands,
                                                   sheet.columnNumberFormat(ac))
                                    : QString(),
                             border);
            if (covered) {
                worksheet_write_blank(ws, row, col, f);
                continue;
            }
            if (span) {
                const int r2 =
                    headerRows + std::min(span->row2, firstRow + rowsPerWorksheet - 1) - firstRow;
                const int c2 = lastVisible(span->col, span->col2);
                if (constant && r2 != int(row))
                    pending.push_back({int(row), int(col), r2, c2, f});
                else if (r2 != int(row) || c2 != int(col))
                    worksheet_merge_range(ws, row, col, lxw_row_t(r2), lxw_col_t(c2), "", f);
            }
            if (number) {
                const double v = value.toDouble();
                worksheet_write_number(ws, row, col, type == CellType::Percent ? v / 100 : v, f);
            } else if (value.isValid()) {
                // A text is written as stored; a number in a text cell as the grid shows it.
                const QString text =
                    value.typeId() == QMetaType::QString ? value.toString() : sheet.text(ar, ac);
                worksheet_write_string(ws, row, col, XmlText::clean(text).toUtf8().constData(), f);
            } else if (f) {
                worksheet_write_blank(ws, row, col, f);
            }
        }
        if (!pending.empty())
            mergeFinished(ws, int(row));
    }
    // Spans reaching below the grid's last row.
    std::sort(pending.begin(), pending.end(),
              [](const Merge& a, const Merge& b) { return a.r2 < b.r2; });
    while (!pending.empty())
        mergeFinished(ws, pending.front().r2);

    errno = 0;
    const lxw_error result = workbook_close(book);
    // A file operation that failed left the system's reason in errno ("No space left on
    // device"); libxlsxwriter's own text guesses at permissions.
    const int systemError = errno;
    if (result == LXW_ERROR_CREATING_XLSX_FILE || result == LXW_ERROR_ZIP_FILE_OPERATION ||
        result == LXW_ERROR_ZIP_FILE_ADD || result == LXW_ERROR_ZIP_CLOSE ||
        result == LXW_ERROR_CREATING_TMPFILE)
        file.fail(systemError ? QString::fromLocal8Bit(std::strerror(systemError))
                              : QString::fromUtf8(lxw_strerror(result)));
    else if (result != LXW_NO_ERROR || mergeError != LXW_NO_ERROR)
        file.fail(QString::fromUtf8(lxw_strerror(result != LXW_NO_ERROR ? result : mergeError)));
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
