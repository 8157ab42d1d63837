#include "sheet/Sheet.h"

#include "db/Money.h"
#include "sheet/ChunkBlocks.h"

#include <QHash>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// One cell is one 64-bit slot: a double's bits for a number, or one of two NaN patterns that
// no arithmetic produces (real NaNs are stored as the canonical quiet NaN): empty, or text
// with the string's id in the low 32 bits.
using Slot = quint64;
constexpr Slot EmptySlot = 0x7FF4000000000000ull;
constexpr Slot TextTag = 0x7FF5000000000000ull;
constexpr Slot TagMask = 0xFFFF000000000000ull;
constexpr Slot QuietNaN = 0x7FF8000000000000ull;

inline bool isTextSlot(Slot s)
{
    return (s & TagMask) == TextTag;
}
inline bool isNumberSlot(Slot s)
{
    return s != EmptySlot && !isTextSlot(s);
}
inline quint32 textId(Slot s)
{
    return isTextSlot(s) ? quint32(s) : 0;
}
inline Slot textSlot(quint32 id)
{
    return id ? (TextTag | id) : EmptySlot;
}
inline Slot numberSlot(double v)
{
    return std::isnan(v) ? QuietNaN : std::bit_cast<Slot>(v);
}
inline double slotNumber(Slot s)
{
    return std::bit_cast<double>(s);
}

// Every text of the sheet once: UTF-16 code units in chunks of 64K (a longer text has a chunk
// of its own), so that adding texts never moves those stored; id i is spans[i]. Lookup goes
// through an open-addressing table of ids, each id's hash kept beside it so that probing and
// growing the table compare and rehash no text.
class StringArena
{
public:
    StringArena() { spans.push_back({0, 0}), hashes.push_back(0); } // id 0: the empty text

    quint32 intern(QStringView text)
    {
        if (text.isEmpty())
            return 0;
        if ((findable + 1) * 2 > table.size())
            grow();
        const size_t mask = table.size() - 1;
        const quint32 hash = quint32(qHash(text));
        size_t i = hash & mask;
        while (quint32 id = table[i]) {
            if (hashes[id] == hash && view(id) == text)
                return id;
            i = (i + 1) & mask;
        }
        table[i] = add(text, hash);
        ++findable;
        return table[i];
    }
    // Stores the text under a new id that lookups do not find.
    quint32 add(QStringView text, quint32 hash = 0)
    {
        if (text.isEmpty())
            return 0;
        const quint32 id = quint32(count());
        spans.push_back(store(text));
        hashes.push_back(hash);
        return id;
    }
    QStringView view(quint32 id) const
    {
        if (id == 0 || id >= count())
            return {};
        const Span& s = spans[id];
        return QStringView(chunks[s.start >> ChunkShift].data() + (s.start & ChunkMask),
                           qsizetype(s.length));
    }
    size_t count() const { return spans.size(); }
    qint64 bytes() const
    {
        qint64 b = qint64(spans.capacity() * sizeof(Span) + hashes.capacity() * sizeof(quint32) +
                          table.capacity() * sizeof(quint32));
        for (const auto& c : chunks)
            b += qint64(c.capacity() * sizeof(char16_t));
        return b;
    }
    void squeeze()
    {
        if (!chunks.empty())
            chunks.back().shrink_to_fit();
        spans.shrink_to_fit();
        hashes.shrink_to_fit();
    }

private:
    static constexpr int ChunkShift = 16;
    static constexpr quint32 ChunkChars = 1u << ChunkShift, ChunkMask = ChunkChars - 1;
    struct Span
    {
        quint32 start; // chunk << ChunkShift | offset in the chunk
        quint32 length;
    };
    std::vector<std::vector<char16_t>> chunks;
    std::vector<Span> spans;
    std::vector<quint32> hashes;
    std::vector<quint32> table;
    size_t findable = 0; // ids in the table

    Span store(QStringView text)
    {
        const size_t n = size_t(text.size());
        if (chunks.empty() || (!chunks.back().empty() && chunks.back().size() + n > ChunkChars)) {
            chunks.emplace_back();
            if (chunks.size() > 1) // the first chunk grows by doubling: a small sheet stays small
                chunks.back().reserve(std::max<size_t>(ChunkChars, n));
        }
        std::vector<char16_t>& c = chunks.back();
        const Span span{quint32((chunks.size() - 1) << ChunkShift) | quint32(c.size()), quint32(n)};
        c.insert(c.end(), text.utf16(), text.utf16() + n);
        return span;
    }
    void grow()
    {
        std::vector<quint32> bigger(std::max<size_t>(64, table.size() * 2), 0);
        const size_t mask = bigger.size() - 1;
        for (quint32 id : table) {
            if (!id)
                continue;
            size_t i = hashes[id] & mask;
            while (bigger[i])
                i = (i + 1) & mask;
            bigger[i] = id;
        }
        table.swap(bigger);
    }
};

// A column's cells in chunks of a fixed number of rows: a streaming fill never copies the rows
// it has written, and the room held besides them is at most part of one chunk. The first chunk
// grows by doubling, so that a small sheet stays small; the others come from ChunkBlocks.
class SlotChunks
{
public:
    static constexpr int Shift = 13;
    static constexpr size_t ChunkRows = size_t(1) << Shift, Mask = ChunkRows - 1;
    static_assert(ChunkRows * sizeof(Slot) == ChunkBlocks::ChunkBytes);

    SlotChunks() = default;
    SlotChunks(const SlotChunks& other) : m_first(other.m_first), m_size(other.m_size)
    {
        m_more.reserve(other.m_more.size());
        for (const Slot* chunk : other.m_more) {
            m_more.push_back(static_cast<Slot*>(ChunkBlocks::take()));
            std::memcpy(m_more.back(), chunk, ChunkBlocks::ChunkBytes);
        }
    }
    SlotChunks(SlotChunks&& other) noexcept
        : m_first(std::move(other.m_first)), m_more(std::move(other.m_more)),
          m_size(std::exchange(other.m_size, 0))
    {
        other.m_more.clear();
    }
    SlotChunks& operator=(SlotChunks other) noexcept
    {
        std::swap(m_first, other.m_first);
        std::swap(m_more, other.m_more);
        std::swap(m_size, other.m_size);
        return *this;
    }
    ~SlotChunks()
    {
        for (Slot* chunk : m_more)
            ChunkBlocks::give(chunk);
    }

    size_t size() const { return m_size; }
    Slot operator[](size_t i) const
    {
        return i < ChunkRows ? m_first[i] : m_more[(i >> Shift) - 1][i & Mask];
    }
    Slot& operator[](size_t i)
    {
        return i < ChunkRows ? m_first[i] : m_more[(i >> Shift) - 1][i & Mask];
    }
    void push_back(Slot s)
    {
        if (m_size < ChunkRows) {
            if (m_first.capacity() == 0)
                m_first.reserve(16);
            m_first.push_back(s);
        } else {
            if ((m_size & Mask) == 0)
                m_more.push_back(static_cast<Slot*>(ChunkBlocks::take()));
            m_more.back()[m_size & Mask] = s;
        }
        ++m_size;
    }
    void resize(size_t rows, Slot fill = EmptySlot)
    {
        if (rows < m_size) {
            const size_t keep = rows > ChunkRows ? ((rows - 1) >> Shift) : 0;
            while (m_more.size() > keep) {
                ChunkBlocks::give(m_more.back());
                m_more.pop_back();
            }
            m_first.resize(std::min(rows, ChunkRows));
            m_size = rows;
            return;
        }
        if (m_size < ChunkRows) {
            const size_t first = std::min(rows, ChunkRows);
            m_first.resize(first, fill);
            m_size = first;
        }
        while (m_size < rows)
            push_back(fill);
    }
    // Room for `rows` without growing the chunk list; chunks are taken as they are first written.
    void reserve(size_t rows)
    {
        if (rows > ChunkRows)
            m_more.reserve((rows - 1) >> Shift);
    }
    size_t capacity() const { return m_first.capacity() + m_more.size() * ChunkRows; }
    void shrink_to_fit()
    {
        m_first.shrink_to_fit();
        m_more.shrink_to_fit();
    }

private:
    std::vector<Slot> m_first; // rows [0, ChunkRows)
    std::vector<Slot*> m_more; // ChunkRows rows each from there on
    size_t m_size = 0;
};

struct Column
{
    SlotChunks cells;            // grows to the last written row only
    std::vector<quint16> styles; // per-cell style ids; empty until a cell gets a style
    // Per-cell formats, empty until a cell gets one of its own: the type in the low four bits
    // (0: the column's), the decimals + 1 in the high four (0: the column's).
    std::vector<quint8> types;
    CellType type = CellType::Text;
    int decimals = 2;
    NumberFormat format;
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
    StringArena strings;
    QList<CellStyle> styles{CellStyle()};
    QHash<int, quint16> rowStyles;
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
    int activeRow = 0, activeCol = 0;
    int frozenRows = 0;
    QFont font;
    PrintSettings print;

    Column* column(int col)
    {
        return col >= 1 && col <= int(cols.size()) ? &cols[col - 1] : nullptr;
    }
    const Column* column(int col) const
    {
        return col >= 1 && col <= int(cols.size()) ? &cols[col - 1] : nullptr;
    }
    Slot slot(int row, int col) const
    {
        const Column* c = column(col);
        if (!c || row < 1 || row > int(c->cells.size()))
            return EmptySlot;
        return c->cells[row - 1];
    }
    Slot* slotForWrite(int row, int col)
    {
        Column* c = column(col);
        if (!c || row < 1 || row > rows)
            return nullptr;
        if (int(c->cells.size()) < row) {
            if (int(c->cells.size()) == row - 1)
                c->cells.push_back(EmptySlot); // the usual case while rows stream in
            else
                c->cells.resize(row, EmptySlot);
        }
        return &c->cells[row - 1];
    }
    quint16 styleId(int row, int col) const
    {
        const Column* c = column(col);
        if (!c || row < 1 || row > int(c->styles.size()))
            return 0;
        return c->styles[row - 1];
    }
    void setStyleId(int row, int col, quint16 id)
    {
        Column* c = column(col);
        if (!c || row < 1 || row > rows)
            return;
        if (int(c->styles.size()) < row) {
            if (id == 0)
                return;
            c->styles.resize(row, 0);
        }
        c->styles[row - 1] = id;
    }
    // Style ids found by a hash of the style, so that styling a cell takes the same time
    // however many styles the sheet holds.
    QMultiHash<size_t, quint16> styleIds;
    static size_t styleHash(const CellStyle& s)
    {
        auto colour = [](const std::optional<QColor>& c) { return c ? c->rgba() : 0u; };
        return qHashMulti(0, colour(s.foreColor), colour(s.backColor), colour(s.borderColor),
                          s.font ? qHash(*s.font) : 0u, s.hAlign ? int(*s.hAlign) : -1,
                          s.vAlign ? int(*s.vAlign) : -1);
    }
    quint16 internStyle(const CellStyle& style)
    {
        if (style == CellStyle())
            return 0;
        const size_t hash = styleHash(style);
        for (auto it = styleIds.constFind(hash); it != styleIds.cend() && it.key() == hash; ++it)
            if (styles.at(*it) == style)
                return *it;
        styles.append(style);
        const quint16 id = quint16(styles.size() - 1);
        styleIds.insert(hash, id);
        return id;
    }
    CellType typeOf(int row, int col) const
    {
        const Column* c = column(col);
        if (!c)
            return CellType::Text;
        if (row >= 1 && row <= int(c->types.size()) && (c->types[row - 1] & 0x0F))
            return CellType(c->types[row - 1] & 0x0F);
        return c->type;
    }
    int decimalsOf(int row, int col) const
    {
        const Column* c = column(col);
        if (!c)
            return 2;
        if (row >= 1 && row <= int(c->types.size()) && (c->types[row - 1] >> 4))
            return (c->types[row - 1] >> 4) - 1;
        return c->decimals;
    }
    quint8* formatForWrite(int row, int col)
    {
        Column* c = column(col);
        if (!c || row < 1 || row > rows)
            return nullptr;
        if (int(c->types.size()) < row)
            c->types.resize(row, 0);
        return &c->types[row - 1];
    }
};

static quint64 headerKey(int row, int col)
{
    return (quint64(quint32(row)) << 32) | quint32(col);
}

// Members set in `over` replace those of `base`.
static CellStyle merged(CellStyle base, const CellStyle& over)
{
    if (over.foreColor)
        base.foreColor = over.foreColor;
    if (over.backColor)
        base.backColor = over.backColor;
    if (over.font)
        base.font = over.font;
    if (over.hAlign)
        base.hAlign = over.hAlign;
    if (over.vAlign)
        base.vAlign = over.vAlign;
    if (over.borderColor)
        base.borderColor = over.borderColor;
    return base;
}

Sheet::Sheet(QObject* parent) : QObject(parent), d(std::make_unique<Private>()) {}
Sheet::~Sheet() = default;

void Sheet::clear()
{
    PrintSettings print = d->print;
    QFont font = d->font;
    const bool reDraw = d->reDraw;
    d = std::make_unique<Private>();
    d->print = print;
    d->font = font;
    d->reDraw = reDraw;
    if (reDraw)
        emit structureChanged();
    else
        d->pendingReset = true;
}

void Sheet::assign(const Sheet& other)
{
    if (&other == this)
        return;
    *d = *other.d;
    d->reDraw = true;
    d->pendingReset = false;
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

int Sheet::maxRows() const
{
    return d->rows;
}
int Sheet::maxCols() const
{
    return int(d->cols.size());
}

void Sheet::setMaxRows(int rows)
{
    rows = std::max(0, rows);
    if (rows < d->rows) {
        for (Column& c : d->cols) {
            if (int(c.cells.size()) > rows)
                c.cells.resize(rows);
            if (int(c.styles.size()) > rows)
                c.styles.resize(rows);
            if (int(c.types.size()) > rows)
                c.types.resize(rows);
        }
        if (int(d->rowHeights.size()) > rows)
            d->rowHeights.resize(rows);
        d->rowStyles.removeIf([rows](auto it) { return it.key() > rows; });
    }
    d->rows = rows;
    announceStructure(this, d->reDraw, d->pendingReset);
}

void Sheet::appendRows(int count)
{
    setMaxRows(d->rows + count);
}

void Sheet::reserveRows(int rows)
{
    for (Column& c : d->cols)
        c.cells.reserve(size_t(std::max(0, rows)));
}

void Sheet::setMaxCols(int cols)
{
    d->cols.resize(std::max(0, cols));
    announceStructure(this, d->reDraw, d->pendingReset);
}

QString Sheet::text(int row, int col) const
{
    const Slot s = d->slot(row, col);
    if (s == EmptySlot)
        return QString();
    if (isTextSlot(s))
        return d->strings.view(textId(s)).toString();
    const CellType type = d->typeOf(row, col);
    const double v = slotNumber(s);
    if (type == CellType::Text) // a number written into a text cell shows as written
        return QString::number(v, 'g', 15);
    // Rounded half away from zero on the decimal value: 106.335 shows as 106.34.
    QString out =
        DecimalText(v, d->decimalsOf(row, col), d->thousands && type != CellType::Percent);
    const NumberFormat& format = d->column(col)->format;
    if (format.zeroBlank && std::all_of(out.cbegin(), out.cend(), [](QChar ch) {
            return ch == u'0' || ch == u'.' || ch == u',';
        }))
        out.clear();
    if (format.suffix)
        out += *format.suffix;
    else if (type == CellType::Percent)
        out += QLatin1Char('%');
    return out;
}

void Sheet::setText(int row, int col, const QString& text)
{
    Slot* s = d->slotForWrite(row, col);
    if (!s)
        return;
    if (d->typeOf(row, col) != CellType::Text) {
        QString t = text.trimmed();
        t.remove(QLatin1Char(','));
        if (t.endsWith(QLatin1Char('%')))
            t.chop(1);
        bool ok = false;
        const double v = t.toDouble(&ok);
        if (ok) {
            *s = numberSlot(v);
            announce({row, col, row, col});
            return;
        }
    }
    *s = textSlot(d->strings.intern(text));
    announce({row, col, row, col});
}

QVariant Sheet::value(int row, int col) const
{
    const Slot s = d->slot(row, col);
    if (s == EmptySlot)
        return QVariant();
    if (isTextSlot(s))
        return d->strings.view(textId(s)).toString();
    return slotNumber(s);
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
    if (Slot* s = d->slotForWrite(row, col)) {
        *s = numberSlot(value);
        announce({row, col, row, col});
    }
}

bool Sheet::isNumber(int row, int col) const
{
    return isNumberSlot(d->slot(row, col));
}

double Sheet::number(int row, int col) const
{
    const Slot s = d->slot(row, col);
    return isNumberSlot(s) ? slotNumber(s) : 0.0;
}

quint32 Sheet::internText(QStringView text)
{
    return d->strings.intern(text);
}

quint32 Sheet::addText(QStringView text)
{
    return d->strings.add(text);
}

void Sheet::setTextId(int row, int col, quint32 id)
{
    if (id >= d->strings.count())
        id = 0;
    if (Slot* s = d->slotForWrite(row, col)) {
        *s = textSlot(id);
        announce({row, col, row, col});
    }
}

void Sheet::setRowCells(int row, const RowCell* cells, int count)
{
    if (row < 1 || row > d->rows)
        return;
    count = std::min(count, maxCols());
    const size_t r = size_t(row - 1);
    const size_t texts = d->strings.count();
    for (int i = 0; i < count; ++i) {
        const RowCell& cell = cells[i];
        if (cell.kind == RowCell::Keep)
            continue;
        const Slot s = cell.kind == RowCell::Number
                           ? numberSlot(cell.number)
                           : textSlot(cell.textId < texts ? cell.textId : 0);
        SlotChunks& column = d->cols[size_t(i)].cells;
        if (column.size() == r)
            column.push_back(s); // the usual case while rows stream in
        else if (column.size() > r)
            column[r] = s;
        else {
            column.resize(r, EmptySlot);
            column.push_back(s);
        }
    }
    if (count > 0)
        announce({row, 1, row, count});
}

bool Sheet::isEmpty(int row, int col) const
{
    return d->slot(row, col) == EmptySlot;
}

void Sheet::clearCell(int row, int col)
{
    const Column* c = d->column(col);
    if (!c || row < 1 || row > int(c->cells.size()))
        return;
    d->cols[col - 1].cells[row - 1] = EmptySlot;
    announce({row, col, row, col});
}

CellType Sheet::cellType(int row, int col) const
{
    return d->typeOf(row, col);
}

void Sheet::setCellType(int row, int col, CellType type)
{
    if (quint8* format = d->formatForWrite(row, col)) {
        *format = quint8((*format & 0xF0) | (quint8(type) & 0x0F));
        announce({row, col, row, col});
    }
}

int Sheet::cellDecimals(int row, int col) const
{
    return d->decimalsOf(row, col);
}

void Sheet::setCellDecimals(int row, int col, int decimals)
{
    if (quint8* format = d->formatForWrite(row, col)) {
        const int own = decimals < 0 ? 0 : qBound(0, decimals, 6) + 1;
        *format = quint8((*format & 0x0F) | (own << 4));
        announce({row, col, row, col});
    }
}

bool Sheet::hasOwnDecimals(int row, int col) const
{
    const Column* c = d->column(col);
    return c && row >= 1 && row <= int(c->types.size()) && (c->types[row - 1] >> 4);
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

void Sheet::setColumnNumberFormat(int col, const NumberFormat& format)
{
    if (Column* c = d->column(col))
        c->format = format;
}

NumberFormat Sheet::columnNumberFormat(int col) const
{
    const Column* c = d->column(col);
    return c ? c->format : NumberFormat();
}

void Sheet::setThousandsSeparator(bool on)
{
    d->thousands = on;
}
bool Sheet::thousandsSeparator() const
{
    return d->thousands;
}

CellStyle Sheet::cellStyle(int row, int col) const
{
    return d->styles.at(d->styleId(row, col));
}

CellStyle Sheet::effectiveStyle(int row, int col) const
{
    CellStyle s = cellStyle(row, col);
    const auto rs = d->rowStyles.constFind(row);
    if (rs != d->rowStyles.constEnd())
        s = merged(d->styles.at(*rs), s);
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
    if (!s.borderColor)
        s.borderColor = cs.borderColor;
    return s;
}

void Sheet::setCellStyle(int row, int col, const CellStyle& style)
{
    if (row < 1 || row > d->rows || !d->column(col))
        return;
    d->setStyleId(row, col, d->internStyle(style));
    announce({row, col, row, col});
}

void Sheet::applyStyle(const CellBlock& block, const CellStyle& style)
{
    const int row1 = std::max(1, block.row), row2 = std::min(block.row2, maxRows());
    const int col1 = std::max(1, block.col), col2 = std::min(block.col2, maxCols());
    if (row1 > row2 || col1 > col2)
        return;
    const bool wholeRows = col1 == 1 && col2 == maxCols();
    for (int row = row1; row <= row2; ++row) {
        if (wholeRows)
            d->rowStyles.insert(row, d->internStyle(merged(rowStyle(row), style)));
        for (int col = col1; col <= col2; ++col) {
            const quint16 id = d->styleId(row, col);
            if (wholeRows && id == 0)
                continue; // the row style covers it
            d->setStyleId(row, col, d->internStyle(merged(d->styles.at(id), style)));
        }
    }
    announce({row1, col1, row2, col2});
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

void Sheet::setRowStyle(int row, const CellStyle& style)
{
    if (row < 1 || row > d->rows)
        return;
    if (const quint16 id = d->internStyle(style))
        d->rowStyles.insert(row, id);
    else
        d->rowStyles.remove(row);
    announce({row, 1, row, std::max(1, maxCols())});
}

CellStyle Sheet::rowStyle(int row) const
{
    return d->styles.at(d->rowStyles.value(row, 0));
}

QFont Sheet::defaultFont() const
{
    return d->font;
}
void Sheet::setDefaultFont(const QFont& font)
{
    d->font = font;
}

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

QList<int> Sheet::rowsWithOwnHeight() const
{
    QList<int> rows;
    for (int i = 0; i < int(d->rowHeights.size()); ++i)
        if (d->rowHeights[i] >= 0)
            rows.append(i + 1);
    return rows;
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

const QList<CellBlock>& Sheet::spans() const
{
    return d->spans;
}

std::optional<CellBlock> Sheet::spanAt(int row, int col) const
{
    for (const CellBlock& s : d->spans)
        if (s.contains(row, col))
            return s;
    return std::nullopt;
}

int Sheet::headerRows() const
{
    return d->headerRows;
}

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

const QList<CellBlock>& Sheet::headerSpans() const
{
    return d->headerSpans;
}
bool Sheet::rowHeadersVisible() const
{
    return d->rowHeaders;
}
void Sheet::setRowHeadersVisible(bool visible)
{
    d->rowHeaders = visible;
}

bool Sheet::reDraw() const
{
    return d->reDraw;
}

void Sheet::setReDraw(bool on)
{
    d->reDraw = on;
    if (on && d->pendingReset) {
        d->pendingReset = false;
        emit structureChanged();
    }
}

void Sheet::showRows(int rows)
{
    emit rowsShown(std::clamp(rows, 0, d->rows));
}

bool Sheet::gridLines() const
{
    return d->gridLines;
}
void Sheet::setGridLines(bool on)
{
    d->gridLines = on;
}
bool Sheet::locked() const
{
    return d->locked;
}
void Sheet::setLocked(bool on)
{
    d->locked = on;
}
Qt::ScrollBarPolicy Sheet::horizontalScrollBar() const
{
    return d->hBar;
}
Qt::ScrollBarPolicy Sheet::verticalScrollBar() const
{
    return d->vBar;
}

void Sheet::setScrollBars(Qt::ScrollBarPolicy horizontal, Qt::ScrollBarPolicy vertical)
{
    d->hBar = horizontal;
    d->vBar = vertical;
}

CellBlock Sheet::selection() const
{
    return d->selection;
}

void Sheet::setSelection(const CellBlock& block)
{
    if (block == d->selection)
        return;
    d->selection = block;
    emit selectionChanged(block);
}

int Sheet::activeRow() const
{
    return d->activeRow;
}
int Sheet::activeCol() const
{
    return d->activeCol;
}

void Sheet::setActiveCell(int row, int col)
{
    if (row == d->activeRow && col == d->activeCol)
        return;
    d->activeRow = row;
    d->activeCol = col;
    emit activeCellChanged(row, col);
}

int Sheet::frozenRows() const
{
    return d->frozenRows;
}
void Sheet::setFrozenRows(int rows)
{
    d->frozenRows = std::max(0, rows);
}
PrintSettings& Sheet::printSettings()
{
    return d->print;
}
const PrintSettings& Sheet::printSettings() const
{
    return d->print;
}

qint64 Sheet::memoryBytes() const
{
    qint64 bytes = qint64(sizeof(Private)) + d->strings.bytes();
    for (const Column& c : d->cols)
        bytes += qint64(sizeof(Column) + c.cells.capacity() * sizeof(Slot) +
                        c.styles.capacity() * sizeof(quint16) + c.types.capacity());
    bytes += qint64(d->rowHeights.capacity() * sizeof(int));
    bytes += qint64(d->rowStyles.capacity()) * 16;
    return bytes;
}

void Sheet::squeeze()
{
    for (Column& c : d->cols) {
        c.cells.shrink_to_fit();
        c.styles.shrink_to_fit();
        c.types.shrink_to_fit();
    }
    d->strings.squeeze();
}
