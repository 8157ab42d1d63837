#include "sheet/SheetFile.h"

#include "sheet/BoundedStream.h"
#include "sheet/ExportFile.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QHash>

#include <algorithm>
#include <limits>
#include <optional>

namespace {

const char Magic[] = "VTXRPT";
constexpr int MagicSize = 6;
constexpr int MaxHeaderRows = 8;

enum CellFlag : quint8
{
    HasNumber = 1,
    HasText = 2,
    OwnType = 4,
    OwnStyle = 8
};

void writeStyle(QDataStream& out, const CellStyle& s)
{
    out << bool(s.foreColor) << s.foreColor.value_or(QColor());
    out << bool(s.backColor) << s.backColor.value_or(QColor());
    out << bool(s.font) << s.font.value_or(QFont());
    out << bool(s.hAlign) << int(s.hAlign.value_or(Qt::AlignLeft));
    out << bool(s.vAlign) << int(s.vAlign.value_or(Qt::AlignVCenter));
    out << bool(s.borderColor) << s.borderColor.value_or(QColor()); // since version 2
}

// The version of the file being read: styles of version 1 files carry no border.
thread_local quint32 readingVersion = SheetFile::Version;

QDataStream& operator<<(QDataStream& out, const CellBlock& b)
{
    return out << qint32(b.row) << qint32(b.col) << qint32(b.row2) << qint32(b.col2);
}

void writePrint(QDataStream& out, const PrintSettings& p)
{
    out << qint32(p.printType) << qint32(p.pageStart) << qint32(p.pageEnd)
        << CellBlock{p.blockRow, p.blockCol, p.blockRow2, p.blockCol2} << p.header << p.footer
        << p.columnHeaders << p.rowHeaders << p.gridLines << p.border << p.dataCellsOnly << p.color
        << p.shadows << p.centerHorizontal << p.centerVertical << qint32(p.orientation)
        << qint32(p.marginTop) << qint32(p.marginBottom) << qint32(p.marginLeft)
        << qint32(p.marginRight) << qint32(p.scaling) << p.zoomFactor << qint32(p.bestFitPagesWide)
        << qint32(p.bestFitPagesTall);
}

void writeSheet(QDataStream& out, const Sheet& sheet)
{
    const int rows = sheet.maxRows(), cols = sheet.maxCols();
    out << qint32(rows) << qint32(cols) << sheet.thousandsSeparator() << sheet.defaultFont()
        << qint32(sheet.headerRows()) << sheet.rowHeadersVisible() << sheet.gridLines()
        << sheet.locked() << qint32(sheet.horizontalScrollBar())
        << qint32(sheet.verticalScrollBar()) << sheet.selection() << qint32(sheet.frozenRows())
        << qint32(sheet.activeRow()) << qint32(sheet.activeCol());

    for (int c = 1; c <= cols; ++c) {
        out << qint32(sheet.columnType(c)) << qint32(sheet.columnDecimals(c))
            << qint32(sheet.columnWidth(c)) << sheet.isColumnHidden(c);
        writeStyle(out, sheet.columnStyle(c));
        const NumberFormat format = sheet.columnNumberFormat(c); // since version 3
        out << bool(format.suffix) << format.suffix.value_or(QString()) << format.zeroBlank;
    }

    QList<QPair<qint32, qint32>> heights;
    for (int r = 1; r <= rows; ++r)
        if (sheet.rowHeight(r) != Sheet::DefaultRowHeight)
            heights.append({r, sheet.rowHeight(r)});
    out << heights;
    QList<qint32> styledRows;
    for (int r = 1; r <= rows; ++r)
        if (!(sheet.rowStyle(r) == CellStyle()))
            styledRows.append(r);
    out << styledRows;
    for (int r : styledRows)
        writeStyle(out, sheet.rowStyle(r));

    QList<QPair<QPair<qint32, qint32>, QString>> headerTexts;
    for (int r = 1; r <= MaxHeaderRows; ++r)
        for (int c = 1; c <= cols; ++c)
            if (!sheet.headerText(r, c).isEmpty())
                headerTexts.append({{r, c}, sheet.headerText(r, c)});
    out << headerTexts;
    out << qint32(sheet.headerSpans().size());
    for (const CellBlock& b : sheet.headerSpans())
        out << b;
    out << qint32(sheet.spans().size());
    for (const CellBlock& b : sheet.spans())
        out << b;

    // Style table first, so that cells refer to styles by number.
    QList<CellStyle> styles;
    QHash<QByteArray, quint32> styleIds;
    auto styleKey = [](const CellStyle& s) {
        QByteArray bytes;
        QDataStream k(&bytes, QIODevice::WriteOnly);
        writeStyle(k, s);
        return bytes;
    };
    QByteArray cells;
    {
        QDataStream cellOut(&cells, QIODevice::WriteOnly);
        cellOut.setVersion(out.version());
        for (int c = 1; c <= cols; ++c) {
            const CellType colType = sheet.columnType(c);
            for (int r = 1; r <= rows; ++r) {
                quint8 flags = 0;
                const QVariant v = sheet.value(r, c);
                if (v.typeId() == QMetaType::Double)
                    flags |= HasNumber;
                else if (v.isValid())
                    flags |= HasText;
                const CellType type = sheet.cellType(r, c);
                // The type in the low four bits, the cell's own decimals + 1 in the high four.
                const quint8 format =
                    quint8(quint8(type) |
                           (sheet.hasOwnDecimals(r, c) ? (sheet.cellDecimals(r, c) + 1) << 4 : 0));
                if (type != colType || format > 0x0F)
                    flags |= OwnType;
                const CellStyle style = sheet.cellStyle(r, c);
                const bool styled = !(style == CellStyle());
                if (styled)
                    flags |= OwnStyle;
                cellOut << flags;
                if (flags & HasNumber)
                    cellOut << v.toDouble();
                else if (flags & HasText)
                    cellOut << v.toString();
                if (flags & OwnType)
                    cellOut << format;
                if (styled) {
                    const QByteArray key = styleKey(style);
                    auto it = styleIds.constFind(key);
                    if (it == styleIds.constEnd()) {
                        it = styleIds.insert(key, quint32(styles.size()));
                        styles.append(style);
                    }
                    cellOut << *it;
                }
            }
        }
    }
    out << qint32(styles.size());
    for (const CellStyle& s : styles)
        writeStyle(out, s);
    out.writeRawData(cells.constData(), int(cells.size()));
    writePrint(out, sheet.printSettings());
}

// Limits of a report file: beyond them a file is refused as damaged.
constexpr qint64 MostCols = 100000;
constexpr qint64 MostSpans = 10000;
constexpr qint64 MostStyles = 1024;
constexpr qint64 MostTextLength = 1 << 24; // characters of one cell
constexpr qint64 MostPrintTextLength = 10000;
constexpr qint32 MostTwips = 200000; // a column or row over 130 inches
constexpr double MostCellNumber = 1e300;

bool readStyle(BoundedStream& in, CellStyle* s)
{
    bool has = false;
    QColor color;
    QFont font;
    qint32 align = 0;
    auto colour = [&](std::optional<QColor>* into) {
        if (!(in.flag(&has) && in.raw(&color)))
            return false;
        if (has)
            *into = color;
        return true;
    };
    auto alignment = [&](std::optional<Qt::Alignment>* into, int mask) {
        if (!(in.flag(&has) && in.raw(&align)))
            return false;
        if (align & ~mask)
            return in.fail(QStringLiteral("an alignment is %1").arg(align));
        if (has)
            *into = Qt::Alignment(align);
        return true;
    };
    if (!colour(&s->foreColor) || !colour(&s->backColor))
        return false;
    if (!(in.flag(&has) && in.font(&font)))
        return false;
    if (has)
        s->font = font;
    if (!alignment(&s->hAlign, Qt::AlignHorizontal_Mask) ||
        !alignment(&s->vAlign, Qt::AlignVertical_Mask))
        return false;
    return readingVersion < 2 || colour(&s->borderColor);
}

// A span: first corner no later than the second; the part within the sheet is kept (none when
// nothing of it is).
bool readSpan(BoundedStream& in, std::optional<CellBlock>* span, int rows, int cols)
{
    qint32 r = 0, c = 0, r2 = 0, c2 = 0;
    if (!(in.raw(&r) && in.raw(&c) && in.raw(&r2) && in.raw(&c2)))
        return false;
    if (r > r2 || c > c2)
        return in.fail(QStringLiteral("a span runs from (%1, %2) back to (%3, %4)")
                           .arg(r)
                           .arg(c)
                           .arg(r2)
                           .arg(c2));
    span->reset();
    const CellBlock kept{std::max(r, 1), std::max(c, 1), std::min(r2, rows), std::min(c2, cols)};
    if (kept.row <= kept.row2 && kept.col <= kept.col2)
        *span = kept;
    return true;
}

bool readPrint(BoundedStream& in, PrintSettings& p)
{
    qint32 type, start, end, orientation, top, bottom, left, right, scaling, wide, tall;
    qint32 r, c, r2, c2;
    if (!(in.integer(&type, 0, 3, "the print type") && in.raw(&start) && in.raw(&end) &&
          in.raw(&r) && in.raw(&c) && in.raw(&r2) && in.raw(&c2) &&
          in.text(&p.header, MostPrintTextLength) && in.text(&p.footer, MostPrintTextLength) &&
          in.flag(&p.columnHeaders) && in.flag(&p.rowHeaders) && in.flag(&p.gridLines) &&
          in.flag(&p.border) && in.flag(&p.dataCellsOnly) && in.flag(&p.color) &&
          in.flag(&p.shadows) && in.flag(&p.centerHorizontal) && in.flag(&p.centerVertical) &&
          in.integer(&orientation, 1, 2, "the orientation") && in.raw(&top) && in.raw(&bottom) &&
          in.raw(&left) && in.raw(&right) && in.integer(&scaling, 0, 3, "the scaling") &&
          in.number(&p.zoomFactor, 1e6) && in.raw(&wide) && in.raw(&tall)))
        return false;
    // Sizes a printer can follow: margins up to 20 inches, zoom from 5% to 1000%, up to a
    // thousand pages each way.
    auto margin = [](qint32 twips) { return std::clamp(twips, 0, 28800); };
    p.printType = PrintSettings::PrintType(type);
    p.pageStart = std::clamp(start, 0, 1 << 20);
    p.pageEnd = std::clamp(end, 0, 1 << 20);
    p.blockRow = r;
    p.blockCol = c;
    p.blockRow2 = r2;
    p.blockCol2 = c2;
    p.orientation = PrintSettings::Orientation(orientation);
    p.marginTop = margin(top);
    p.marginBottom = margin(bottom);
    p.marginLeft = margin(left);
    p.marginRight = margin(right);
    p.scaling = PrintSettings::Scaling(scaling);
    p.zoomFactor = std::clamp(p.zoomFactor, 0.05, 10.0);
    p.bestFitPagesWide = std::clamp(wide, 1, 1000);
    p.bestFitPagesTall = std::clamp(tall, 1, 1000);
    return true;
}

bool knownType(qint32 type)
{
    return type == qint32(CellType::Text) || type == qint32(CellType::Number) ||
           type == qint32(CellType::Percent);
}

bool readSheet(BoundedStream& in, Sheet& sheet)
{
    qint32 rows, cols, headerRows, hBar, vBar, frozen, activeRow, activeCol;
    bool thousands, rowHeaders, gridLines, locked;
    QFont font;
    if (!(in.integer(&rows, 0, std::numeric_limits<qint32>::max(), "the row count") &&
          in.integer(&cols, 0, qint32(MostCols), "the column count")))
        return false;
    // Each cell takes at least its flag byte further on (and a sheet without columns has no
    // more rows than bytes follow).
    if (qint64(rows) * std::max<qint32>(cols, 1) > in.left())
        return in.fail(QStringLiteral("it ends too early"));
    qint32 sr, sc, sr2, sc2;
    if (!(in.flag(&thousands) && in.font(&font) &&
          in.integer(&headerRows, 0, MaxHeaderRows, "the header rows") && in.flag(&rowHeaders) &&
          in.flag(&gridLines) && in.flag(&locked) && in.integer(&hBar, 0, 2, "a scroll bar") &&
          in.integer(&vBar, 0, 2, "a scroll bar") && in.raw(&sr) && in.raw(&sc) && in.raw(&sr2) &&
          in.raw(&sc2) && in.raw(&frozen) && in.raw(&activeRow) && in.raw(&activeCol)))
        return false;
    // Where the user was: kept within the sheet.
    auto row = [rows](qint32 r) { return std::clamp(r, 0, std::max(1, rows)); };
    auto col = [cols](qint32 c) { return std::clamp(c, 0, std::max(1, cols)); };
    const CellBlock selection{row(sr), col(sc), row(sr2), col(sc2)};
    frozen = std::clamp(frozen, 0, rows);
    activeRow = row(activeRow);
    activeCol = col(activeCol);
    sheet.setMaxCols(cols);
    sheet.setMaxRows(rows);
    sheet.setThousandsSeparator(thousands);
    sheet.setDefaultFont(font);
    sheet.setHeaderRows(headerRows);
    sheet.setRowHeadersVisible(rowHeaders);
    sheet.setGridLines(gridLines);
    sheet.setLocked(locked);
    sheet.setScrollBars(Qt::ScrollBarPolicy(hBar), Qt::ScrollBarPolicy(vBar));
    sheet.setSelection(selection);
    sheet.setFrozenRows(frozen);
    sheet.setActiveCell(activeRow, activeCol);

    for (int c = 1; c <= cols; ++c) {
        qint32 type, decimals, width;
        bool hidden;
        CellStyle style;
        if (!(in.raw(&type) && in.integer(&decimals, 0, 100, "a column's decimals") &&
              in.integer(&width, -1, MostTwips, "a column's width") && in.flag(&hidden) &&
              readStyle(in, &style)))
            return false;
        if (!knownType(type))
            return in.fail(QStringLiteral("a column's type is %1").arg(type));
        sheet.setColumnType(c, CellType(type));
        sheet.setColumnDecimals(c, decimals);
        sheet.setColumnWidth(c, width);
        sheet.setColumnHidden(c, hidden);
        sheet.setColumnStyle(c, style);
        if (readingVersion >= 3) {
            NumberFormat format;
            bool hasSuffix = false;
            QString suffix;
            if (!(in.flag(&hasSuffix) && in.text(&suffix, 256) && in.flag(&format.zeroBlank)))
                return false;
            if (hasSuffix)
                format.suffix = suffix;
            sheet.setColumnNumberFormat(c, format);
        }
    }

    qint64 n = 0;
    if (!in.count(&n, 8, rows, "row heights"))
        return false;
    for (qint64 i = 0; i < n; ++i) {
        qint32 row, height;
        if (!(in.integer(&row, 1, rows, "a sized row") &&
              in.integer(&height, -1, MostTwips, "a row's height")))
            return false;
        sheet.setRowHeight(row, height);
    }
    QList<qint32> styledRows;
    if (!in.count(&n, 4, rows, "styled rows"))
        return false;
    for (qint64 i = 0; i < n; ++i) {
        qint32 row;
        if (!in.integer(&row, 1, rows, "a styled row"))
            return false;
        styledRows << row;
    }
    for (qint32 row : styledRows) {
        CellStyle style;
        if (!readStyle(in, &style))
            return false;
        sheet.setRowStyle(row, style);
    }
    if (!in.count(&n, 12, qint64(MaxHeaderRows) * cols, "header texts"))
        return false;
    for (qint64 i = 0; i < n; ++i) {
        qint32 row, col;
        QString text;
        if (!(in.integer(&row, 1, MaxHeaderRows, "a header row") &&
              in.integer(&col, 1, cols, "a header column") && in.text(&text, MostTextLength)))
            return false;
        sheet.setHeaderText(row, col, text);
    }
    if (!in.count(&n, 16, MostSpans, "header spans"))
        return false;
    for (qint64 i = 0; i < n; ++i) {
        std::optional<CellBlock> b;
        if (!readSpan(in, &b, MaxHeaderRows, cols))
            return false;
        if (b)
            sheet.addHeaderSpan(*b);
    }
    if (!in.count(&n, 16, MostSpans, "spans"))
        return false;
    for (qint64 i = 0; i < n; ++i) {
        std::optional<CellBlock> b;
        if (!readSpan(in, &b, rows, cols))
            return false;
        if (b)
            sheet.addSpan(*b);
    }

    if (!in.count(&n, 10, MostStyles, "cell styles"))
        return false;
    QList<CellStyle> styles;
    for (qint64 i = 0; i < n; ++i) {
        CellStyle style;
        if (!readStyle(in, &style))
            return false;
        styles << style;
    }

    for (int c = 1; c <= cols; ++c) {
        for (int r = 1; r <= rows; ++r) {
            quint8 flags = 0;
            double number = 0;
            QString text;
            quint8 type = 0;
            quint32 style = 0;
            if (!in.raw(&flags))
                return false;
            if ((flags & ~(HasNumber | HasText | OwnType | OwnStyle)) ||
                ((flags & HasNumber) && (flags & HasText)))
                return in.fail(QStringLiteral("a cell's flags are %1").arg(flags));
            if ((flags & HasNumber) && !in.number(&number, MostCellNumber))
                return false;
            if ((flags & HasText) && !in.text(&text, MostTextLength))
                return false;
            if ((flags & OwnType) && !in.raw(&type))
                return false;
            // The type in the low four bits, the cell's own decimals + 1 in the high four.
            if ((flags & OwnType) && (!knownType(type & 0x0F) || (type >> 4) > 7))
                return in.fail(QStringLiteral("a cell's type is %1").arg(type));
            if ((flags & OwnStyle) && !in.raw(&style))
                return false;
            if ((flags & OwnStyle) && style >= quint32(styles.size()))
                return in.fail(
                    QStringLiteral("a cell's style is %1 of %2").arg(style).arg(styles.size()));
            const int ownDecimals = (type >> 4) - 1; // -1: the column's
            type &= 0x0F;
            if (flags & HasText) {
                // Stored as text whatever the type: written as a text cell, then typed.
                const CellType target = type ? CellType(type) : sheet.columnType(c);
                if (target != CellType::Text) {
                    sheet.setCellType(r, c, CellType::Text);
                    sheet.setText(r, c, text);
                    sheet.setCellType(r, c, target);
                } else {
                    sheet.setText(r, c, text);
                }
            } else if (flags & HasNumber) {
                sheet.setNumber(r, c, number);
            }
            if (type && !(flags & HasText))
                sheet.setCellType(r, c, CellType(type));
            if (ownDecimals >= 0)
                sheet.setCellDecimals(r, c, ownDecimals);
            if (flags & OwnStyle)
                sheet.setCellStyle(r, c, styles.at(int(style)));
        }
    }
    if (!readPrint(in, sheet.printSettings()))
        return false;
    if (in.left() > 0)
        return in.fail(QStringLiteral("it goes on after the sheet"));
    return true;
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

bool SheetFile::save(const Sheet& sheet, const QString& path, QString* error)
{
    ExportFile file(path);
    if (!file.begin()) {
        setError(error, file.errorString());
        return false;
    }
    QDataStream out(&file);
    out.setVersion(QDataStream::Qt_6_4);
    out.writeRawData(Magic, MagicSize);
    out << Version;
    writeSheet(out, sheet);
    if (!file.commit()) { // a write that failed fails here, with the system's reason
        setError(error, file.errorString());
        return false;
    }
    return true;
}

bool SheetFile::load(Sheet& sheet, const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, file.errorString());
        return false;
    }
    BoundedStream in(&file);
    char magic[MagicSize];
    quint32 version = 0;
    if (in.stream().readRawData(magic, MagicSize) != MagicSize ||
        memcmp(magic, Magic, MagicSize) != 0) {
        setError(error, QStringLiteral("not a report file"));
        return false;
    }
    in.stream() >> version;
    if (version < 1 || version > Version) {
        setError(error, QStringLiteral("report file version %1 is not supported").arg(version));
        return false;
    }
    const bool redraw = sheet.reDraw();
    sheet.clear();
    sheet.setReDraw(false);
    readingVersion = version;
    const bool ok = readSheet(in, sheet);
    readingVersion = Version;
    if (!ok) {
        sheet.clear();
        setError(error, QStringLiteral("the report file is damaged: %1").arg(in.problem()));
    }
    sheet.setReDraw(redraw);
    return ok;
}

void SheetFile::copy(const Sheet& from, Sheet& to)
{
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_4);
        writeSheet(out, from);
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    BoundedStream in(&buffer);
    const bool redraw = to.reDraw();
    to.clear();
    to.setReDraw(false);
    readSheet(in, to);
    to.setReDraw(redraw);
}
