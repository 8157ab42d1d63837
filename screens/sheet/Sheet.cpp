#include "Sheet.h"

#include <QHash>
#include <QLocale>

#include <cmath>
#include <vector>

namespace {

// One cell: 16 bytes. Text lives in the shared string table; style in the style table.
struct Cell
{
    double number = 0;
    quint32 text = 0;  // index into strings; 0 is the empty text
    quint16 style = 0; // index into styles; 0 is "no own style"
    quint8 type = 0;   // 0: the column's type
    quint8 flags = 0;  // HasNumber
};
constexpr quint8 HasNumber = 1;

struct Column
{
    std::vector<Cell> cells; // grows to the last written row only
    CellType type = CellType::Text;
    int decimals = 2;
    int width = -1;
    bool hidden = false;
    CellStyle style;
};

} // namespace

struct Sheet::Private
{
    int rows = 0;
    std::vector<Column> cols;
    std::vector<int> rowHeights; // grows to the last sized row only
    QList<QString> strings{QString()};
    QHash<QString, quint32> stringIndex;
    QList<CellStyle> styles{CellStyle()};
    QList<CellBlock> spans;
    int headerRows = 1;
    QHash<quint64, QString> headerTexts;
    QList<CellBlock> headerSpans;
    bool rowHeaders = false;
    bool reDraw = true;
    bool pendingReset = false;
    bool gridLines = true;
    bool locked = true;
    bool thousands = true;
    Qt::ScrollBarPolicy hBar = Qt::ScrollBarAsNeeded, vBar = Qt::ScrollBarAsNeeded;
    CellBlock selection{0, 0, 0, 0};
    int frozenRows = 0;
    QFont font;
    PrintSettings print;

    Column* column(int col) { return col >= 1 && col <= int(cols.size()) ? &cols[col - 1] : nullptr; }
    const Column* column(int col) const
    {
        return col >= 1 && col <= int(cols.size()) ? &cols[col - 1] : nullptr;
    }
    const Cell* cell(int row, int col) const
    {
        const Column* c = column(col);
        if (!c || row < 1 || row > int(c->cells.size()))
            return nullptr;
        return &c->cells[row - 1];
    }
    Cell* cellForWrite(int row, int col)
    {
        Column* c = column(col);
        if (!c || row < 1 || row > rows)
            return nullptr;
        if (int(c->cells.size()) < row)
            c->cells.resize(row);
        return &c->cells[row - 1];
    }
    quint32 intern(const QString& text)
    {
        if (text.isEmpty())
            return 0;
        auto it = stringIndex.constFind(text);
        if (it != stringIndex.constEnd())
            return *it;
        const quint32 id = quint32(strings.size());
        strings.append(text);
        stringIndex.insert(text, id);
        return id;
    }
    quint16 internStyle(const CellStyle& style)
    {
        if (style == CellStyle())
            return 0;
        const qsizetype i = styles.indexOf(style);
        if (i >= 0)
            return quint16(i);
        styles.append(style);
        return quint16(styles.size() - 1);
    }
    CellType typeOf(const Cell* cell, int col) const
    {
        if (cell && cell->type)
            return CellType(cell->type);
        const Column* c = column(col);
        return c ? c->type : CellType::Text;
    }
};

static quint64 headerKey(int row, int col) { return (quint64(quint32(row)) << 32) | quint32(col); }

Sheet::Sheet(QObject* parent) : QObject(parent), d(std::make_unique<Private>()) {}
Sheet::~Sheet() = default;

void Sheet::clear()
{
    PrintSettings print = d->print;
    QFont font = d->font;
    d = std::make_unique<Private>();
    d->print = print;
    d->font = font;
    emit structureChanged();
}

void Sheet::announce(const CellBlock& block)
{
    if (d->reDraw)
        emit cellsChanged(block);
    else
        d->pendingReset = true;
}

static void announceStructure(Sheet* sheet, bool reDraw, bool& pending)
{
    if (reDraw)
        emit sheet->structureChanged();
    else
        pending = true;
}

int Sheet::maxRows() const { return d->rows; }
int Sheet::maxCols() const { return int(d->cols.size()); }

void Sheet::setMaxRows(int rows)
{
    rows = std::max(0, rows);
    if (rows < d->rows) {
        for (Column& c : d->cols)
            if (int(c.cells.size()) > rows)
                c.cells.resize(rows);
        if (int(d->rowHeights.size()) > rows)
            d->rowHeights.resize(rows);
    }
    d->rows = rows;
    announceStructure(this, d->reDraw, d->pendingReset);
}

void Sheet::appendRows(int count) { setMaxRows(d->rows + count); }

void Sheet::setMaxCols(int cols)
{
    d->cols.resize(std::max(0, cols));
    announceStructure(this, d->reDraw, d->pendingReset);
}

QString Sheet::text(int row, int col) const
{
    const Cell* c = d->cell(row, col);
    if (!c)
        return QString();
    const CellType type = d->typeOf(c, col);
    if (type == CellType::Text || !(c->flags & HasNumber))
        return d->strings.at(c->text);
    const int decimals = columnDecimals(col);
    QString s;
    if (d->thousands) {
        QLocale locale(QLocale::C);
        locale.setNumberOptions(QLocale::DefaultNumberOptions);
        s = locale.toString(c->number, 'f', decimals);
    } else {
        s = QString::number(c->number, 'f', decimals);
    }
    if (s.startsWith(QLatin1Char('-')) && s.count(QLatin1Char('0')) + s.count(QLatin1Char('.')) +
                                                  s.count(QLatin1Char(',')) ==
                                              s.size() - 1)
        s.remove(0, 1); // no "-0.00"
    if (type == CellType::Percent)
        s += QLatin1Char('%');
    return s;
}

void Sheet::setText(int row, int col, const QString& text)
{
    Cell* c = d->cellForWrite(row, col);
    if (!c)
        return;
    const CellType type = d->typeOf(c, col);
    if (type != CellType::Text) {
        QString t = text.trimmed();
        t.remove(QLatin1Char(','));
        if (t.endsWith(QLatin1Char('%')))
            t.chop(1);
        bool ok = false;
        const double v = t.toDouble(&ok);
        if (ok) {
            c->number = v;
            c->flags |= HasNumber;
            c->text = 0;
            announce({row, col, row, col});
            return;
        }
    }
    c->flags &= ~HasNumber;
    c->number = 0;
    c->text = d->intern(text);
    announce({row, col, row, col});
}

QVariant Sheet::value(int row, int col) const
{
    const Cell* c = d->cell(row, col);
    if (!c)
        return QVariant();
    if (c->flags & HasNumber)
        return c->number;
    if (c->text == 0)
        return QVariant();
    return d->strings.at(c->text);
}

void Sheet::setValue(int row, int col, const QVariant& value)
{
    if (!value.isValid() || value.isNull()) {
        clearCell(row, col);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        setNumber(row, col, value.toDouble());
        return;
    default:
        setText(row, col, value.toString());
    }
}

void Sheet::setNumber(int row, int col, double value)
{
    Cell* c = d->cellForWrite(row, col);
    if (!c)
        return;
    c->number = value;
    c->flags |= HasNumber;
    c->text = 0;
    announce({row, col, row, col});
}

bool Sheet::isEmpty(int row, int col) const
{
    const Cell* c = d->cell(row, col);
    return !c || (!(c->flags & HasNumber) && c->text == 0);
}

void Sheet::clearCell(int row, int col)
{
    const Cell* existing = d->cell(row, col);
    if (!existing)
        return;
    Cell* c = d->cellForWrite(row, col);
    c->flags &= ~HasNumber;
    c->number = 0;
    c->text = 0;
    announce({row, col, row, col});
}

CellType Sheet::cellType(int row, int col) const { return d->typeOf(d->cell(row, col), col); }

void Sheet::setCellType(int row, int col, CellType type)
{
    if (Cell* c = d->cellForWrite(row, col)) {
        c->type = quint8(type);
        announce({row, col, row, col});
    }
}

void Sheet::setColumnType(int col, CellType type)
{
    if (Column* c = d->column(col))
        c->type = type;
}

CellType Sheet::columnType(int col) const
{
    const Column* c = d->column(col);
    return c ? c->type : CellType::Text;
}

void Sheet::setColumnDecimals(int col, int decimals)
{
    if (Column* c = d->column(col))
        c->decimals = qBound(0, decimals, 6);
}

int Sheet::columnDecimals(int col) const
{
    const Column* c = d->column(col);
    return c ? c->decimals : 2;
}

void Sheet::setThousandsSeparator(bool on) { d->thousands = on; }
bool Sheet::thousandsSeparator() const { return d->thousands; }

CellStyle Sheet::cellStyle(int row, int col) const
{
    const Cell* c = d->cell(row, col);
    return c ? d->styles.at(c->style) : CellStyle();
}

CellStyle Sheet::effectiveStyle(int row, int col) const
{
    CellStyle s = cellStyle(row, col);
    const CellStyle cs = columnStyle(col);
    if (!s.foreColor)
        s.foreColor = cs.foreColor ? cs.foreColor : QColor(Qt::black);
    if (!s.backColor)
        s.backColor = cs.backColor ? cs.backColor : QColor(Qt::white);
    if (!s.font)
        s.font = cs.font ? cs.font : d->font;
    if (!s.hAlign) {
        if (cs.hAlign)
            s.hAlign = cs.hAlign;
        else
            s.hAlign = cellType(row, col) == CellType::Text ? Qt::AlignLeft : Qt::AlignRight;
    }
    if (!s.vAlign)
        s.vAlign = cs.vAlign ? cs.vAlign : Qt::AlignVCenter;
    return s;
}

void Sheet::setCellStyle(int row, int col, const CellStyle& style)
{
    if (Cell* c = d->cellForWrite(row, col)) {
        c->style = d->internStyle(style);
        announce({row, col, row, col});
    }
}

void Sheet::applyStyle(const CellBlock& block, const CellStyle& style)
{
    const bool wasOn = d->reDraw;
    d->reDraw = false;
    for (int col = std::max(1, block.col); col <= std::min(block.col2, maxCols()); ++col) {
        for (int row = std::max(1, block.row); row <= std::min(block.row2, maxRows()); ++row) {
            CellStyle s = cellStyle(row, col);
            if (style.foreColor)
                s.foreColor = style.foreColor;
            if (style.backColor)
                s.backColor = style.backColor;
            if (style.font)
                s.font = style.font;
            if (style.hAlign)
                s.hAlign = style.hAlign;
            if (style.vAlign)
                s.vAlign = style.vAlign;
            if (Cell* c = d->cellForWrite(row, col))
                c->style = d->internStyle(s);
        }
    }
    d->reDraw = wasOn;
    announce(block);
}

void Sheet::setColumnStyle(int col, const CellStyle& style)
{
    if (Column* c = d->column(col))
        c->style = style;
    announce({1, col, std::max(1, d->rows), col});
}

CellStyle Sheet::columnStyle(int col) const
{
    const Column* c = d->column(col);
    return c ? c->style : CellStyle();
}

QFont Sheet::defaultFont() const { return d->font; }
void Sheet::setDefaultFont(const QFont& font) { d->font = font; }

int Sheet::columnWidth(int col) const
{
    const Column* c = d->column(col);
    return c && c->width >= 0 ? c->width : DefaultColumnWidth;
}

void Sheet::setColumnWidth(int col, int twips)
{
    if (Column* c = d->column(col))
        c->width = twips;
    announceStructure(this, d->reDraw, d->pendingReset);
}

int Sheet::rowHeight(int row) const
{
    if (row >= 1 && row <= int(d->rowHeights.size()) && d->rowHeights[row - 1] >= 0)
        return d->rowHeights[row - 1];
    return DefaultRowHeight;
}

void Sheet::setRowHeight(int row, int twips)
{
    if (row < 1 || row > d->rows)
        return;
    if (int(d->rowHeights.size()) < row)
        d->rowHeights.resize(row, -1);
    d->rowHeights[row - 1] = twips;
    announceStructure(this, d->reDraw, d->pendingReset);
}

void Sheet::setColumnHidden(int col, bool hidden)
{
    if (Column* c = d->column(col))
        c->hidden = hidden;
    announceStructure(this, d->reDraw, d->pendingReset);
}

bool Sheet::isColumnHidden(int col) const
{
    const Column* c = d->column(col);
    return c && c->hidden;
}

void Sheet::addSpan(const CellBlock& block)
{
    removeSpansIn(block);
    if (block.rowCount() > 1 || block.colCount() > 1)
        d->spans.append(block);
    announceStructure(this, d->reDraw, d->pendingReset);
}

static bool overlaps(const CellBlock& a, const CellBlock& b)
{
    return a.row <= b.row2 && b.row <= a.row2 && a.col <= b.col2 && b.col <= a.col2;
}

void Sheet::removeSpansIn(const CellBlock& block)
{
    d->spans.removeIf([&](const CellBlock& s) { return overlaps(s, block); });
}

const QList<CellBlock>& Sheet::spans() const { return d->spans; }

std::optional<CellBlock> Sheet::spanAt(int row, int col) const
{
    for (const CellBlock& s : d->spans)
        if (s.contains(row, col))
            return s;
    return std::nullopt;
}

int Sheet::headerRows() const { return d->headerRows; }

void Sheet::setHeaderRows(int rows)
{
    d->headerRows = qBound(0, rows, 8);
    announceStructure(this, d->reDraw, d->pendingReset);
}

QString Sheet::headerText(int headerRow, int col) const
{
    return d->headerTexts.value(headerKey(headerRow, col));
}

void Sheet::setHeaderText(int headerRow, int col, const QString& text)
{
    d->headerTexts.insert(headerKey(headerRow, col), text);
    announceStructure(this, d->reDraw, d->pendingReset);
}

void Sheet::addHeaderSpan(const CellBlock& block)
{
    d->headerSpans.removeIf([&](const CellBlock& s) { return overlaps(s, block); });
    d->headerSpans.append(block);
    announceStructure(this, d->reDraw, d->pendingReset);
}

const QList<CellBlock>& Sheet::headerSpans() const { return d->headerSpans; }
bool Sheet::rowHeadersVisible() const { return d->rowHeaders; }
void Sheet::setRowHeadersVisible(bool visible) { d->rowHeaders = visible; }

bool Sheet::reDraw() const { return d->reDraw; }

void Sheet::setReDraw(bool on)
{
    d->reDraw = on;
    if (on && d->pendingReset) {
        d->pendingReset = false;
        emit structureChanged();
    }
}

bool Sheet::gridLines() const { return d->gridLines; }
void Sheet::setGridLines(bool on) { d->gridLines = on; }
bool Sheet::locked() const { return d->locked; }
void Sheet::setLocked(bool on) { d->locked = on; }
Qt::ScrollBarPolicy Sheet::horizontalScrollBar() const { return d->hBar; }
Qt::ScrollBarPolicy Sheet::verticalScrollBar() const { return d->vBar; }

void Sheet::setScrollBars(Qt::ScrollBarPolicy horizontal, Qt::ScrollBarPolicy vertical)
{
    d->hBar = horizontal;
    d->vBar = vertical;
}

CellBlock Sheet::selection() const { return d->selection; }
void Sheet::setSelection(const CellBlock& block) { d->selection = block; }
int Sheet::frozenRows() const { return d->frozenRows; }
void Sheet::setFrozenRows(int rows) { d->frozenRows = std::max(0, rows); }
PrintSettings& Sheet::printSettings() { return d->print; }
const PrintSettings& Sheet::printSettings() const { return d->print; }

qint64 Sheet::memoryBytes() const
{
    qint64 bytes = 0;
    for (const Column& c : d->cols)
        bytes += qint64(c.cells.capacity() * sizeof(Cell));
    for (const QString& s : d->strings)
        bytes += qint64(sizeof(QString) + s.capacity() * 2 + 16);
    bytes += qint64(d->stringIndex.capacity()) * qint64(sizeof(QString) + sizeof(quint32) + 16);
    return bytes;
}
