#include "screens/sheet/SheetFile.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QHash>
#include <QSaveFile>

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

CellStyle readStyle(QDataStream& in)
{
    CellStyle s;
    bool has = false;
    QColor color;
    QFont font;
    int align = 0;
    in >> has >> color;
    if (has)
        s.foreColor = color;
    in >> has >> color;
    if (has)
        s.backColor = color;
    in >> has >> font;
    if (has)
        s.font = font;
    in >> has >> align;
    if (has)
        s.hAlign = Qt::Alignment(align);
    in >> has >> align;
    if (has)
        s.vAlign = Qt::Alignment(align);
    if (readingVersion >= 2) {
        in >> has >> color;
        if (has)
            s.borderColor = color;
    }
    return s;
}

QDataStream& operator<<(QDataStream& out, const CellBlock& b)
{
    return out << qint32(b.row) << qint32(b.col) << qint32(b.row2) << qint32(b.col2);
}

QDataStream& operator>>(QDataStream& in, CellBlock& b)
{
    qint32 r, c, r2, c2;
    in >> r >> c >> r2 >> c2;
    b = {r, c, r2, c2};
    return in;
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

void readPrint(QDataStream& in, PrintSettings& p)
{
    qint32 type, start, end, orientation, top, bottom, left, right, scaling, wide, tall;
    CellBlock block;
    in >> type >> start >> end >> block >> p.header >> p.footer >> p.columnHeaders >>
        p.rowHeaders >> p.gridLines >> p.border >> p.dataCellsOnly >> p.color >> p.shadows >>
        p.centerHorizontal >> p.centerVertical >> orientation >> top >> bottom >> left >> right >>
        scaling >> p.zoomFactor >> wide >> tall;
    p.printType = PrintSettings::PrintType(type);
    p.pageStart = start;
    p.pageEnd = end;
    p.blockRow = block.row;
    p.blockCol = block.col;
    p.blockRow2 = block.row2;
    p.blockCol2 = block.col2;
    p.orientation = PrintSettings::Orientation(orientation);
    p.marginTop = top;
    p.marginBottom = bottom;
    p.marginLeft = left;
    p.marginRight = right;
    p.scaling = PrintSettings::Scaling(scaling);
    p.bestFitPagesWide = wide;
    p.bestFitPagesTall = tall;
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
                if (type != colType)
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
                    cellOut << quint8(type);
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

bool readSheet(QDataStream& in, Sheet& sheet)
{
    qint32 rows, cols, headerRows, hBar, vBar, frozen, activeRow, activeCol;
    bool thousands, rowHeaders, gridLines, locked;
    QFont font;
    CellBlock selection;
    in >> rows >> cols >> thousands >> font >> headerRows >> rowHeaders >> gridLines >> locked >>
        hBar >> vBar >> selection >> frozen >> activeRow >> activeCol;
    if (in.status() != QDataStream::Ok || rows < 0 || cols < 0 || cols > 100000)
        return false;
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
        in >> type >> decimals >> width >> hidden;
        sheet.setColumnType(c, CellType(type));
        sheet.setColumnDecimals(c, decimals);
        sheet.setColumnWidth(c, width);
        sheet.setColumnHidden(c, hidden);
        sheet.setColumnStyle(c, readStyle(in));
    }

    QList<QPair<qint32, qint32>> heights;
    in >> heights;
    for (const auto& h : heights)
        sheet.setRowHeight(h.first, h.second);
    QList<qint32> styledRows;
    in >> styledRows;
    for (qint32 r : styledRows)
        sheet.setRowStyle(r, readStyle(in));
    QList<QPair<QPair<qint32, qint32>, QString>> headerTexts;
    in >> headerTexts;
    for (const auto& h : headerTexts)
        sheet.setHeaderText(h.first.first, h.first.second, h.second);
    qint32 n = 0;
    in >> n;
    for (int i = 0; i < n && in.status() == QDataStream::Ok; ++i) {
        CellBlock b;
        in >> b;
        sheet.addHeaderSpan(b);
    }
    in >> n;
    for (int i = 0; i < n && in.status() == QDataStream::Ok; ++i) {
        CellBlock b;
        in >> b;
        sheet.addSpan(b);
    }

    in >> n;
    if (in.status() != QDataStream::Ok || n < 0)
        return false;
    QList<CellStyle> styles;
    for (int i = 0; i < n && in.status() == QDataStream::Ok; ++i)
        styles.append(readStyle(in));

    for (int c = 1; c <= cols; ++c) {
        for (int r = 1; r <= rows; ++r) {
            quint8 flags = 0;
            in >> flags;
            double number = 0;
            QString text;
            quint8 type = 0;
            quint32 style = 0;
            if (flags & HasNumber)
                in >> number;
            else if (flags & HasText)
                in >> text;
            if (flags & OwnType)
                in >> type;
            if (flags & OwnStyle)
                in >> style;
            if (in.status() != QDataStream::Ok)
                return false;
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
            if ((flags & OwnStyle) && style < quint32(styles.size()))
                sheet.setCellStyle(r, c, styles.at(int(style)));
        }
    }
    readPrint(in, sheet.printSettings());
    return in.status() == QDataStream::Ok;
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

bool SheetFile::save(const Sheet& sheet, const QString& path, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error, file.errorString());
        return false;
    }
    QDataStream out(&file);
    out.setVersion(QDataStream::Qt_6_4);
    out.writeRawData(Magic, MagicSize);
    out << Version;
    writeSheet(out, sheet);
    if (out.status() != QDataStream::Ok || !file.commit()) {
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
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_6_4);
    char magic[MagicSize];
    quint32 version = 0;
    if (in.readRawData(magic, MagicSize) != MagicSize || memcmp(magic, Magic, MagicSize) != 0) {
        setError(error, QStringLiteral("not a report file"));
        return false;
    }
    in >> version;
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
        setError(error, QStringLiteral("the report file is damaged"));
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
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_4);
    const bool redraw = to.reDraw();
    to.clear();
    to.setReDraw(false);
    readSheet(in, to);
    to.setReDraw(redraw);
}
