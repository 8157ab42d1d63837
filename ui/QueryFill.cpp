#include "ui/QueryFill.h"

#include "db/Money.h"
#include "db/Recordset.h"
#include "db/RowBatchReader.h"
#include "db/SqlError.h"
#include "query/QueryColumn.h"
#include "query/QueryColumns.h"
#include "query/QueryExpression.h"
#include "query/QueryGroups.h"
#include "sheet/Sheet.h"
#include "sheet/SheetCells.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace {

constexpr int TextKind = 1, PercentKind = 14;
constexpr quint32 NoTextId = ~0u;

QColor fromBgr(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// A grid column compiled for one run, and the value gathered for the grid row being built.
struct Leaf
{
    const QueryColumn* def = nullptr;
    QString name;       // its caption under its group's ("实收金额 其他"), for messages
    bool dates = false; // a date column: a date-time at midnight shows as its date
    QueryExpression value, condition; // the condition compiled once per distinct text
    int conditionIndex = -1;          // into the run's shared conditions; -1: none
    int kind = TextKind;
    bool summed = false;      // totalled in subtotal and totals rows
    bool sumsInGroup = false; // with key fields: sum over the folded records (else first value)
    bool integerField = true; // every field it reads is an integer column
    bool allWhole = true;     // every number written so far is whole
    bool has = false;
    bool isText = false;
    quint32 text = 0; // id in the sheet's text store
    Money sum;
    double number = 0;
};

// One subtotal level: a group field or a key prefix.
struct Level
{
    std::vector<int> fields; // result columns whose values delimit the groups
    QString label;
    std::vector<Money> sums; // per leaf
    std::vector<char> has;   // per leaf
    QString firstText;       // column 1 of the group's first row
    int rows = 0;
};

// A field value kept across records (key and group values of the current grid row).
struct Kept
{
    QueryValue::Kind kind = QueryValue::Null;
    double number = 0;
    QString text;
    quint32 textId = 0; // the reader's id of the text, when it gave one
    bool equals(const QueryValue& v) const
    {
        if (v.kind != kind)
            return false;
        if (kind == QueryValue::Number)
            return v.number == number;
        if (v.textId && textId)
            return v.textId == textId;
        return kind == QueryValue::Null || v.text == text;
    }
    void keep(const QueryValue& v)
    {
        kind = v.kind;
        number = v.number;
        textId = v.textId;
        text = v.kind == QueryValue::Text ? v.text.toString() : QString();
    }
};

// A date column's text as its cell shows it: a date-time at midnight ("2026-03-09 00:00:00")
// as its date alone.
QStringView dateText(QStringView text)
{
    static constexpr QStringView Midnight = u" 00:00:00";
    if (text.size() != 19 || !text.endsWith(Midnight) || text[4] != u'-' || text[7] != u'-')
        return text;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!text[i].isDigit())
            return text;
    return text.left(10);
}

// A sum or conversion of column `leaf`'s amounts; an overflow names the column.
template <typename F> Money money(const Leaf& leaf, F&& f)
{
    return MoneyInColumn(leaf.name, f);
}

} // namespace

// Where a fill's records come from: the result's columns, then its records one by one.
class QueryFill::Source
{
public:
    virtual ~Source() = default;
    virtual int fieldCount() const = 0;
    virtual int fieldIndex(const QString& name) const = 0;
    virtual QMetaType fieldType(int index) const = 0;
    // The records of the result, -1 when it does not say.
    virtual qint64 size() const { return -1; }
    // The result columns the fill reads (ascending); reading starts here.
    virtual void begin(const std::vector<int>& fields) = 0;
    // Loads the next record's fields into row[field]; false at the end, or when the fill was
    // asked to stop. Throws SqlError when reading fails.
    virtual bool next(QueryValue* row) = 0;
};

namespace {

// A recordset read on this thread.
class RecordsetSource final : public QueryFill::Source
{
public:
    RecordsetSource(Recordset& rs, const std::atomic<bool>& stop) : m_rs(rs), m_stop(stop) {}
    int fieldCount() const override { return m_rs.fieldCount(); }
    int fieldIndex(const QString& name) const override { return m_rs.fieldIndex(name); }
    QMetaType fieldType(int index) const override { return m_rs.fieldType(index); }
    qint64 size() const override { return m_rs.size(); }
    void begin(const std::vector<int>& fields) override { m_fields = fields; }
    bool next(QueryValue* row) override
    {
        if (m_started)
            m_rs.moveNext();
        m_started = true;
        if (m_rs.atEnd() || m_stop)
            return false;
        for (int f : m_fields)
            row[f] = m_rs.cell(f);
        return true;
    }

private:
    Recordset& m_rs;
    const std::atomic<bool>& m_stop;
    std::vector<int> m_fields;
    bool m_started = false;
};

// Batches of records read on the reader's thread; `waiting` runs while none is ready.
class BatchSource final : public QueryFill::Source
{
public:
    BatchSource(RowBatchReader& reader, const std::atomic<bool>& stop,
                std::function<void()> waiting)
        : m_reader(reader), m_stop(stop), m_waiting(std::move(waiting)), m_names(reader.names()),
          m_types(reader.types())
    {
        for (int i = int(m_names.size()) - 1; i >= 0; --i)
            m_index.insert(m_names.at(i), i);
    }
    int fieldCount() const override { return int(m_names.size()); }
    int fieldIndex(const QString& name) const override
    {
        const auto it = m_index.constFind(name);
        if (it != m_index.constEnd())
            return it.value();
        for (int i = 0; i < m_names.size(); ++i)
            if (m_names.at(i).compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
    QMetaType fieldType(int index) const override { return m_types.value(index); }
    void begin(const std::vector<int>& fields) override
    {
        m_fields = fields;
        m_reader.begin(fields);
    }
    bool next(QueryValue* row) override
    {
        while (!m_batch || m_row >= m_batch->rows) {
            if (m_stop) {
                m_reader.stop();
                return false;
            }
            m_reader.recycle(std::move(m_batch));
            m_batch = m_reader.next(50);
            m_row = 0;
            if (m_batch) {
                m_batch->keepTexts(m_kept);
            } else if (m_reader.atEnd()) {
                if (!m_reader.error().isEmpty())
                    throw SqlError(m_reader.error());
                return false;
            } else {
                m_waiting();
            }
        }
        const int fields = int(m_fields.size());
        for (int k = 0; k < fields; ++k)
            row[m_fields[size_t(k)]] = m_batch->cell(m_row, k, m_kept);
        ++m_row;
        return true;
    }

private:
    RowBatchReader& m_reader;
    const std::atomic<bool>& m_stop;
    std::function<void()> m_waiting;
    QStringList m_names;
    QList<QMetaType> m_types;
    QHash<QString, int> m_index;
    std::vector<int> m_fields;
    std::unique_ptr<RowBatchReader::Batch> m_batch;
    int m_row = 0;
    std::vector<QString> m_kept; // the reader's repeated texts, by id - 1
};

} // namespace

bool QueryFill::conditionIsWidth(const QueryColumn& c, int* width)
{
    if (c.width() >= 0)
        return false;
    bool ok = false;
    const int w = c.condition().trimmed().toInt(&ok);
    if (ok && width)
        *width = w;
    return ok;
}

std::vector<const QueryColumn*> QueryFill::leafColumns(const QueryColumns& columns)
{
    std::vector<const QueryColumn*> leaves;
    for (const auto& c : columns) {
        if (c->isHeaderOnly()) {
            for (const auto& sub : c->SubColumns())
                leaves.push_back(sub.get());
        } else {
            leaves.push_back(c.get());
        }
    }
    return leaves;
}

std::vector<const QueryColumn*> QueryFill::layOut(Sheet& sheet, const QueryColumns& columns)
{
    const std::vector<const QueryColumn*> leaves = leafColumns(columns);
    const int count = int(leaves.size());
    sheet.clear();
    sheet.setMaxCols(count);
    std::vector<bool> grouped(leaves.size() + 1, false);
    bool anyGroup = false;
    for (const auto& c : columns)
        anyGroup |= c->isHeaderOnly();
    const int headerRows = anyGroup ? 2 : 1;
    sheet.setHeaderRows(headerRows);
    int col = 1;
    for (const auto& c : columns) {
        if (!c->isHeaderOnly()) {
            ++col;
            continue;
        }
        const int first = col, last = col + c->SubColumns().count() - 1;
        sheet.setHeaderText(1, first, c->caption());
        sheet.addHeaderSpan({1, first, 1, last});
        for (; col <= last; ++col)
            grouped[size_t(col)] = true;
    }
    for (col = 1; col <= count; ++col) {
        const QueryColumn& c = *leaves[size_t(col - 1)];
        if (grouped[size_t(col)]) {
            sheet.setHeaderText(2, col, c.caption());
        } else {
            sheet.setHeaderText(1, col, c.caption());
            if (headerRows == 2)
                sheet.addHeaderSpan({1, col, 2, col});
        }
        sheet.setColumnType(col, c.kind() == 13   ? CellType::Number
                                 : c.kind() == 14 ? CellType::Percent
                                                  : CellType::Text);
        int width = c.width();
        conditionIsWidth(c, &width);
        sheet.setColumnWidth(col, width);
        CellStyle style;
        if (c.backColor() >= 0)
            style.backColor = fromBgr(c.backColor());
        sheet.setColumnStyle(col, style);
    }
    sheet.setLocked(true);
    return leaves;
}

QueryFill::QueryFill(std::vector<const QueryColumn*> leaves, const Texts& texts)
    : m_leaves(std::move(leaves)), m_texts(texts)
{
}

QueryFill::RowRole QueryFill::rowRole(int row) const
{
    if (row > 0 && row == m_totalRow)
        return RowRole::Total;
    return std::binary_search(m_subtotalRows.begin(), m_subtotalRows.end(), row) ? RowRole::Subtotal
                                                                                 : RowRole::Data;
}

bool QueryFill::fail(Sheet& sheet, const QString& message)
{
    m_error = message;
    m_subtotalRows.clear();
    m_totalRow = 0;
    sheet.setMaxRows(0);
    return false;
}

bool QueryFill::fill(Recordset& rs, Sheet& sheet)
{
    m_stop = false;
    RecordsetSource source(rs, m_stop);
    return fill(source, sheet);
}

bool QueryFill::fill(RowBatchReader& reader, Sheet& sheet)
{
    m_stop = false;
    m_stopped = false;
    m_records = 0;
    m_rowsWritten = 0;
    m_total = -1; // a statement stepped forward does not know its rows ahead
    // The first record may take a while (an ordered result is sorted first).
    report(0);
    while (!reader.waitForHeader(50)) {
        report(0);
        if (m_stop) {
            reader.stop();
            reader.waitForHeader(-1);
        }
    }
    if (!reader.error().isEmpty())
        return fail(sheet, m_texts.queryFailed.arg(reader.error()));
    if (m_stop && reader.names().isEmpty()) { // stopped before the first record
        m_error.clear();
        m_subtotalRows.clear();
        m_totalRow = 0;
        sheet.setMaxRows(0);
        m_stopped = true;
        return true;
    }
    qint64 readSoFar = 0;
    BatchSource source(reader, m_stop, [&] { report(readSoFar); });
    m_readSoFar = &readSoFar;
    const bool ok = fill(source, sheet);
    m_readSoFar = nullptr;
    return ok;
}

void QueryFill::stop()
{
    m_stop = true;
}

// One fill: the columns and subtotal levels compiled against the result, the grid row being
// gathered, and the sums so far. Its steps run in order: compile, readRecords, writeClosingRows,
// styleRows.
class QueryFill::Run
{
public:
    Run(QueryFill& fill, Source& source, Sheet& sheet)
        : m_fill(fill), m_rs(source), m_sheet(sheet), m_keyed(!fill.m_keyFields.isEmpty())
    {
    }

    // Compiles every expression once against the result's columns and finds the key and group
    // fields; false (the fill failed, saying why) when one names a column the result lacks.
    bool compile()
    {
        if (!compileColumns() || !findKeysAndLevels())
            return false;
        shareConditions();
        planFetch();
        return true;
    }
    // Reads every record, folding records of equal keys into one grid row and closing groups as
    // their fields change. Throws SqlError when reading fails, MoneyOverflow when a sum leaves
    // Money's range.
    void readRecords();
    // The subtotals of the groups still open and the totals row (partial for a stopped fill).
    void writeClosingRows();
    // Subtotal and totals rows bold (the totals of a stopped fill italic, dark red), and each
    // number column's decimals settled by the values written.
    void styleRows();

private:
    QueryFill& m_fill;
    Source& m_rs;
    Sheet& m_sheet;
    const bool m_keyed;
    std::vector<Leaf> m_leaves;
    std::vector<const QueryExpression*> m_conditions; // shared by the columns, by text
    std::vector<signed char> m_conditionState;        // per record: -1 not tested yet, 0, 1
    std::vector<int> m_keyIndex;
    std::vector<Level> m_levels; // outermost first
    std::vector<std::vector<Kept>> m_levelValues;
    std::vector<int> m_fetch; // the fields read per record
    std::vector<QueryValue> m_row;
    std::vector<quint32> m_sheetTextIds; // the sheet's id of each text the reader names by id
    std::vector<Sheet::RowCell> m_cells; // the grid row being written
    std::vector<Money> m_totals;
    std::vector<char> m_totalHas;
    bool m_col2Label = false; // subtotal labels go into column 2
    int m_gridRows = 0, m_capacity = 0;
    bool m_anyRow = false;

    bool compileColumns();
    void shareConditions();
    bool findKeysAndLevels();
    void planFetch();
    quint32 intern(const QueryValue& v);
    void gather();
    int newRow();
    void writeSums(int r, const std::vector<Money>& sums, const std::vector<char>& has);
    void writeSubtotal(Level& level);
    void breakLevels();
    void flush();
};

bool QueryFill::Run::compileColumns()
{
    const QueryExpression::Resolver resolve = [this](const QString& name) {
        return m_rs.fieldIndex(name);
    };
    const SheetCells headers(m_sheet);
    m_leaves.resize(m_fill.m_leaves.size());
    for (size_t i = 0; i < m_leaves.size(); ++i) {
        Leaf& leaf = m_leaves[i];
        const QueryColumn& c = *m_fill.m_leaves[i];
        leaf.def = &c;
        leaf.dates = c.holdsDates();
        leaf.name = headers.columnCaption(int(i) + 1, QStringLiteral(" "));
        if (leaf.name.isEmpty())
            leaf.name = c.caption();
        leaf.kind = c.kind() == 13 || c.kind() == 14 ? c.kind() : TextKind;
        leaf.summed = c.isSummed();
        QString error;
        const QString condition = conditionIsWidth(c, nullptr) ? QString() : c.condition();
        if (!leaf.value.compile(c.expression(), resolve, &error))
            return m_fill.fail(m_sheet,
                               m_fill.m_texts.badColumn.arg(c.caption(), c.expression(), error));
        if (!leaf.condition.compile(condition, resolve, &error))
            return m_fill.fail(m_sheet,
                               m_fill.m_texts.badCondition.arg(c.caption(), condition, error));
        for (int f : leaf.value.fields())
            leaf.integerField = leaf.integerField && isIntegerType(m_rs.fieldType(f));
        bool readsOther = false;
        for (int f : leaf.condition.fields())
            if (!std::binary_search(leaf.value.fields().begin(), leaf.value.fields().end(), f))
                readsOther = true;
        leaf.sumsInGroup = m_keyed && leaf.kind != TextKind && (c.value6() == 1 || readsOther);
    }
    // Rows show while they come: whole-number columns show no decimals from the start (the end
    // of the fill settles them by the values read).
    for (size_t i = 0; i < m_leaves.size(); ++i)
        if (m_leaves[i].kind != TextKind)
            m_sheet.setColumnDecimals(
                int(i) + 1, m_leaves[i].kind == PercentKind || m_leaves[i].integerField ? 0 : 2);
    m_col2Label = m_leaves.size() >= 2 && m_leaves[1].kind == TextKind && !m_leaves[1].summed;
    m_totals.assign(m_leaves.size(), Money());
    m_totalHas.assign(m_leaves.size(), 0);
    return true;
}

// Columns with the same condition (the zero-settlement condition on every amount) share one
// evaluation per record.
void QueryFill::Run::shareConditions()
{
    QHash<QString, int> byText;
    for (Leaf& l : m_leaves) {
        if (l.condition.isEmpty())
            continue;
        const QString text =
            conditionIsWidth(*l.def, nullptr) ? QString() : l.def->condition().simplified();
        auto it = byText.constFind(text);
        if (it == byText.constEnd()) {
            it = byText.insert(text, int(m_conditions.size()));
            m_conditions.push_back(&l.condition);
        }
        l.conditionIndex = *it;
    }
    m_conditionState.resize(m_conditions.size());
}

bool QueryFill::Run::findKeysAndLevels()
{
    const QueryFill& f = m_fill;
    for (const QString& k : f.m_keyFields) {
        const int i = m_rs.fieldIndex(k);
        if (i < 0)
            return m_fill.fail(m_sheet, f.m_texts.badKeyField.arg(k));
        m_keyIndex.push_back(i);
    }
    for (int g = 0; f.m_groups && g < f.m_groups->count(); ++g) {
        const int i = m_rs.fieldIndex(f.m_groups->at(g).field);
        if (i < 0)
            return m_fill.fail(m_sheet, f.m_texts.badGroupField.arg(f.m_groups->at(g).field));
        m_levels.push_back({{i}, f.m_groups->at(g).caption + f.m_texts.subtotal, {}, {}, {}, 0});
    }
    for (int k = 1; k < int(m_keyIndex.size()) && k <= 30; ++k)
        if (f.m_keyLevel & (1 << (k - 1)))
            m_levels.push_back({std::vector<int>(m_keyIndex.begin(), m_keyIndex.begin() + k),
                                f.m_texts.subtotal,
                                {},
                                {},
                                {},
                                0});
    m_levelValues.resize(m_levels.size());
    for (size_t i = 0; i < m_levels.size(); ++i) {
        m_levels[i].sums.assign(m_leaves.size(), Money());
        m_levels[i].has.assign(m_leaves.size(), 0);
        m_levelValues[i].resize(m_levels[i].fields.size());
    }
    return true;
}

// The fields read per record, each fetched once.
void QueryFill::Run::planFetch()
{
    const int fieldCount = m_rs.fieldCount();
    std::vector<char> used(size_t(fieldCount), 0);
    for (const Leaf& l : m_leaves) {
        for (int f : l.value.fields())
            used[size_t(f)] = 1;
        for (int f : l.condition.fields())
            used[size_t(f)] = 1;
    }
    for (int f : m_keyIndex)
        used[size_t(f)] = 1;
    for (const Level& l : m_levels)
        for (int f : l.fields)
            used[size_t(f)] = 1;
    for (int f = 0; f < fieldCount; ++f)
        if (used[size_t(f)])
            m_fetch.push_back(f);
    m_row.resize(size_t(std::max(1, fieldCount)));
}

// A text's id in the sheet, found once per distinct text the reader names by id.
quint32 QueryFill::Run::intern(const QueryValue& v)
{
    if (v.textId == 0)
        return v.rarelyRepeated ? m_sheet.addText(v.text) : m_sheet.internText(v.text);
    if (v.textId > m_sheetTextIds.size())
        m_sheetTextIds.resize(std::max<size_t>(v.textId, m_sheetTextIds.size() * 2), NoTextId);
    quint32& id = m_sheetTextIds[v.textId - 1];
    if (id == NoTextId) // the reader sends each distinct text once: nothing to look up
        id = m_sheet.addText(v.text);
    return id;
}

// Gathers one record into the grid row being built.
void QueryFill::Run::gather()
{
    std::fill(m_conditionState.begin(), m_conditionState.end(), -1);
    for (Leaf& l : m_leaves) {
        if (l.value.isEmpty())
            continue;
        if (l.conditionIndex >= 0) {
            signed char& state = m_conditionState[size_t(l.conditionIndex)];
            if (state < 0)
                state = m_conditions[size_t(l.conditionIndex)]->test(m_row.data()) ? 1 : 0;
            if (!state)
                continue;
        }
        const int single = l.value.singleField();
        QueryValue computed;
        if (single < 0)
            computed = l.value.evaluate(m_row.data());
        const QueryValue& v = single >= 0 ? m_row[size_t(single)] : computed;
        if (v.isNull())
            continue;
        bool numeric = v.kind == QueryValue::Number;
        double n = v.number;
        if (!numeric && l.kind != TextKind)
            n = v.toNumber(&numeric);
        if (l.sumsInGroup && numeric) {
            l.sum = money(l, [&] { return l.sum + Money::fromDouble(n); });
            l.has = true;
            l.isText = false;
            continue;
        }
        if (l.has)
            continue; // the first record meeting the condition gave the value
        l.has = true;
        l.isText = !numeric || (l.kind == TextKind && v.kind == QueryValue::Text);
        if (l.isText)
            l.text = v.kind == QueryValue::Text
                         ? (l.dates ? m_sheet.internText(dateText(v.text)) : intern(v))
                         : m_sheet.internText(QString::number(v.number, 'g', 15));
        else
            l.number = n;
    }
}

int QueryFill::Run::newRow()
{
    if (++m_gridRows > m_capacity) {
        m_capacity = std::max(1024, m_capacity * 2);
        m_sheet.setMaxRows(m_capacity);
        m_sheet.reserveRows(m_capacity);
    }
    return m_gridRows;
}

void QueryFill::Run::writeSums(int r, const std::vector<Money>& sums, const std::vector<char>& has)
{
    for (size_t i = 0; i < m_leaves.size(); ++i)
        if (m_leaves[i].summed && has[i]) {
            double v = sums[i].toDouble();
            m_sheet.setNumber(r, int(i) + 1, v);
            if (v != std::floor(v))
                m_leaves[i].allWhole = false;
        }
}

void QueryFill::Run::writeSubtotal(Level& l)
{
    const int r = newRow();
    m_fill.m_subtotalRows.push_back(r);
    writeSums(r, l.sums, l.has);
    if (!m_leaves.empty() && !m_leaves[0].summed) {
        const QString first = l.firstText;
        m_sheet.setText(
            r, 1, m_col2Label || first.isEmpty() ? first : first + QLatin1Char(' ') + l.label);
    }
    if (m_col2Label)
        m_sheet.setText(r, 2, l.label);
    std::fill(l.sums.begin(), l.sums.end(), Money());
    std::fill(l.has.begin(), l.has.end(), 0);
    l.rows = 0;
}

// Group boundaries: closes, inner to outer, the subtotals of the outermost level whose fields
// changed and of every level inside it, and keeps the new values.
void QueryFill::Run::breakLevels()
{
    size_t changed = m_levels.size();
    for (size_t i = 0; i < m_levels.size() && changed == m_levels.size(); ++i)
        for (size_t k = 0; k < m_levels[i].fields.size(); ++k)
            if (!m_levelValues[i][k].equals(m_row[size_t(m_levels[i].fields[k])])) {
                changed = i;
                break;
            }
    if (m_anyRow)
        for (size_t i = m_levels.size(); i-- > changed;)
            writeSubtotal(m_levels[i]);
    for (size_t i = changed; i < m_levels.size(); ++i)
        for (size_t k = 0; k < m_levels[i].fields.size(); ++k)
            m_levelValues[i][k].keep(m_row[size_t(m_levels[i].fields[k])]);
}

// Writes the gathered grid row, adds it to the totals and the open subtotals, and resets the
// gathering.
void QueryFill::Run::flush()
{
    const int r = newRow();
    m_cells.resize(m_leaves.size());
    for (size_t i = 0; i < m_leaves.size(); ++i) {
        Leaf& l = m_leaves[i];
        Sheet::RowCell& cell = m_cells[i];
        if (!l.has) {
            cell.kind = Sheet::RowCell::Keep;
            continue;
        }
        if (l.isText) {
            cell.kind = Sheet::RowCell::Text;
            cell.textId = l.text;
        } else {
            double v = l.sumsInGroup ? l.sum.toDouble() : l.number;
            if (l.kind == PercentKind)
                v *= 100;
            cell.kind = Sheet::RowCell::Number;
            cell.number = v;
            if (v != std::floor(v))
                l.allWhole = false;
            if (l.summed) {
                const Money m = l.sumsInGroup && l.kind != PercentKind
                                    ? l.sum
                                    : money(l, [&] { return Money::fromDouble(v); });
                m_totals[i] = money(l, [&] { return m_totals[i] + m; });
                m_totalHas[i] = 1;
                for (Level& lv : m_levels) {
                    lv.sums[i] = money(l, [&] { return lv.sums[i] + m; });
                    lv.has[i] = 1;
                }
            }
        }
        l.has = false;
        l.sum = Money();
    }
    m_sheet.setRowCells(r, m_cells.data(), int(m_cells.size()));
    for (Level& lv : m_levels)
        if (lv.rows++ == 0)
            lv.firstText = m_sheet.text(r, 1);
    m_anyRow = true;
}

void QueryFill::Run::readRecords()
{
    QueryFill& f = m_fill;
    std::vector<Kept> key(m_keyIndex.size());
    bool gathering = false;
    qint64 records = 0;
    m_rs.begin(m_fetch);
    while (m_rs.next(m_row.data())) {
        bool sameKey = m_keyed && gathering;
        for (size_t k = 0; sameKey && k < m_keyIndex.size(); ++k)
            sameKey = key[k].equals(m_row[size_t(m_keyIndex[k])]);
        if (!sameKey) {
            if (gathering)
                flush();
            breakLevels();
            for (size_t k = 0; k < m_keyIndex.size(); ++k)
                key[k].keep(m_row[size_t(m_keyIndex[k])]);
            gathering = true;
        }
        gather();
        if ((++records & 1023) == 0 && f.m_progress) {
            if (f.m_readSoFar)
                *f.m_readSoFar = records;
            f.m_rowsWritten = m_gridRows; // the row being gathered is not written yet
            f.m_progress(records, f.m_total);
        }
    }
    if (gathering)
        flush();
    f.m_records = records;
}

void QueryFill::Run::writeClosingRows()
{
    QueryFill& f = m_fill;
    if (m_anyRow)
        for (size_t i = m_levels.size(); i-- > 0;)
            writeSubtotal(m_levels[i]);
    // A grid that totals no column has no totals row; a stopped fill's is partial.
    if (std::any_of(m_leaves.begin(), m_leaves.end(), [](const Leaf& l) { return l.summed; })) {
        f.m_totalRow = newRow();
        writeSums(f.m_totalRow, m_totals, m_totalHas);
        const bool partial = f.m_stopped && !f.m_texts.partialTotal.isEmpty();
        if (!m_leaves[0].summed)
            m_sheet.setText(f.m_totalRow, 1, partial ? f.m_texts.partialTotal : f.m_texts.total);
    }
    m_sheet.setMaxRows(m_gridRows);
    f.m_rowsWritten = m_gridRows;
}

void QueryFill::Run::styleRows()
{
    const QueryFill& f = m_fill;
    QFont bold = m_sheet.defaultFont();
    bold.setBold(true);
    CellStyle subtotalStyle;
    subtotalStyle.font = bold;
    subtotalStyle.backColor = QColor(0xF2, 0xF2, 0xF2);
    for (int r : f.m_subtotalRows)
        m_sheet.setRowStyle(r, subtotalStyle);
    CellStyle totalStyle;
    totalStyle.font = bold;
    if (f.m_stopped) {
        totalStyle.font->setBold(false);
        totalStyle.font->setItalic(true);
        totalStyle.foreColor = QColor(0xB0, 0x00, 0x00);
    }
    if (f.m_totalRow > 0)
        m_sheet.setRowStyle(f.m_totalRow, totalStyle);
    for (size_t i = 0; i < m_leaves.size(); ++i) {
        const Leaf& l = m_leaves[i];
        if (l.kind == TextKind)
            continue;
        const bool whole = l.allWhole && (l.kind == PercentKind || l.integerField);
        m_sheet.setColumnDecimals(int(i) + 1, whole ? 0 : 2);
    }
}

bool QueryFill::fill(Source& rs, Sheet& sheet)
{
    m_error.clear();
    m_stopped = false;
    m_records = 0;
    m_rowsWritten = 0;
    m_total = rs.size();
    m_subtotalRows.clear();
    m_totalRow = 0;
    sheet.setMaxRows(0);

    Run run(*this, rs, sheet);
    if (!run.compile())
        return false;
    report(0);
    try {
        run.readRecords();
    } catch (const SqlError& e) {
        return fail(sheet, m_texts.queryFailed.arg(e.message()));
    } catch (const MoneyOverflow& e) {
        return fail(sheet, m_texts.overflow.isEmpty() ? QString::fromUtf8(e.what())
                                                      : m_texts.overflow.arg(e.column()));
    }
    m_stopped = m_stop;
    run.writeClosingRows();
    run.styleRows();
    m_total = m_records;
    report(m_records);
    return true;
}
