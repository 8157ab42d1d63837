#include "screens/ctlQuery.h"

#include "core/LanguageSection.h"
#include "db/Money.h"
#include "db/Recordset.h"
#include "screens/QueryColumn.h"
#include "screens/QueryExpression.h"
#include "screens/frmPrintSpread.h"
#include "screens/frmViewSpread.h"
#include "screens/sheet/Sheet.h"
#include "screens/sheet/SheetOutput.h"
#include "screens/sheet/SheetView.h"
#include "screens/sheet/Twips.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QRegularExpression>
#include <QSqlField>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int TextKind = 1, PercentKind = 14;

// The control's own texts: the labels of its subtotal and totals rows and its messages.
const LanguageSection kTexts("ctlQuery",
                             {
                                 {"lblSubtotal", "Caption", "小计"},
                                 {"lblTotal", "Caption", "合计"},
                                 {"Msg_NoConnection", "Default", "查询失败：没有数据库连接"},
                                 {"Msg_QueryFailed", "Default", "查询失败：%1"},
                                 {"Msg_BadColumn", "Default", "列“%1”（%2）：%3"},
                                 {"Msg_BadCondition", "Default", "列“%1”的条件 %2：%3"},
                                 {"Msg_BadKeyField", "Default", "关键字段“%1”不在查询结果中"},
                                 {"Msg_BadGroupField", "Default", "分组字段“%1”不在查询结果中"},
                             });

QString message(const char* key)
{
    return kTexts.text(QString::fromLatin1(key), QStringLiteral("Default"));
}

QColor fromBgr(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// A width of -1 with a plain number in the condition slot (a definition some screens make for
// their first text column, "1100" or "1600"): the number is the column's width in twips and
// the column has no condition.
bool conditionIsWidth(const QueryColumn& c, int* width)
{
    if (c.width() >= 0)
        return false;
    bool ok = false;
    const int w = c.condition().trimmed().toInt(&ok);
    if (ok && width)
        *width = w;
    return ok;
}

// ---------------------------------------------------------------------------------------------
// One run: the compiled columns and the running state of the fill.

struct Leaf
{
    const QueryColumn* def = nullptr;
    QueryExpression value, condition; // the condition compiled once per distinct text
    int conditionIndex = -1;          // into the run's shared conditions; -1: none
    int kind = TextKind;
    bool summed = false;      // totalled in subtotal and totals rows
    bool sumsInGroup = false; // with key fields: sum over the folded records (else first value)
    bool integerField = true; // every field it reads is an integer column
    bool allWhole = true;     // every number written so far is whole
    // The value gathered for the grid row being built.
    bool has = false;
    bool isText = false;
    quint32 text = 0; // id in the sheet's text store
    Money sum;
    double number = 0;
};

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
    bool equals(const QueryValue& v) const
    {
        if (v.kind != kind)
            return false;
        if (kind == QueryValue::Number)
            return v.number == number;
        return kind == QueryValue::Null || v.text == text;
    }
    void keep(const QueryValue& v)
    {
        kind = v.kind;
        number = v.number;
        text = v.kind == QueryValue::Text ? v.text.toString() : QString();
    }
};

} // namespace

ctlQuery::ctlQuery(QWidget* parent) : QWidget(parent)
{
    m_sheet = new Sheet(this);
    m_view = new SheetView(m_sheet, this);
    m_view->setObjectName(QStringLiteral("sprData"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setStyleSheet(QStringLiteral("color: #B00000; padding: 2px;"));
    m_status->setWordWrap(true);
    m_status->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_status);
    connect(m_view, &SheetView::cellDoubleClicked, this, &ctlQuery::GridDblClick);
}

ctlQuery::~ctlQuery() = default;

void ctlQuery::SetConnection(ConnectionPtr connection)
{
    m_connection = std::move(connection);
}
void ctlQuery::SetSQL(const QString& sql)
{
    m_sql = sql;
}

void ctlQuery::SetParameter(int index, const QVariant& value)
{
    if (index >= 1)
        m_params[index] = value;
}

void ctlQuery::SetKeyFields(const QString& fields)
{
    m_keyFields.clear();
    for (const QString& f : fields.split(QLatin1Char(','), Qt::SkipEmptyParts))
        if (!f.trimmed().isEmpty())
            m_keyFields.append(f.trimmed());
}

void ctlQuery::ClearColumns()
{
    m_columns.clear();
    m_leaves.clear();
    m_laidOut = false;
}

IQueryItem* ctlQuery::queryItem(int index)
{
    return m_columns.at(index);
}

int ctlQuery::gridColumnOf(const QueryColumn* column) const
{
    for (size_t i = 0; i < m_leaves.size(); ++i)
        if (m_leaves[i] == column)
            return int(i) + 1;
    return 0;
}

bool ctlQuery::ApplyQuery(bool takeColumns, bool run, bool /*third*/)
{
    if (m_running)
        return false;
    if (takeColumns || !m_laidOut)
        layOut();
    if (!run)
        return true;
    return runQuery();
}

void ctlQuery::layOut()
{
    m_leaves.clear();
    struct Head
    {
        QString caption;
        int first, last;
    };
    QList<Head> groups;
    for (const auto& c : m_columns) {
        if (c->isHeaderOnly()) {
            const int first = int(m_leaves.size()) + 1;
            for (const auto& sub : c->SubColumns())
                m_leaves.push_back(sub.get());
            groups.append({c->caption(), first, int(m_leaves.size())});
        } else {
            m_leaves.push_back(c.get());
        }
    }
    const bool reDraw = m_sheet->reDraw();
    m_sheet->setReDraw(false);
    m_sheet->clear();
    m_sheet->setMaxCols(int(m_leaves.size()));
    const int headerRows = groups.isEmpty() ? 1 : 2;
    m_sheet->setHeaderRows(headerRows);
    std::vector<bool> grouped(m_leaves.size() + 1, false);
    for (const Head& g : groups) {
        m_sheet->setHeaderText(1, g.first, g.caption);
        m_sheet->addHeaderSpan({1, g.first, 1, g.last});
        for (int col = g.first; col <= g.last; ++col)
            grouped[size_t(col)] = true;
    }
    for (int col = 1; col <= int(m_leaves.size()); ++col) {
        const QueryColumn& c = *m_leaves[size_t(col - 1)];
        if (grouped[size_t(col)]) {
            m_sheet->setHeaderText(2, col, c.caption());
        } else {
            m_sheet->setHeaderText(1, col, c.caption());
            if (headerRows == 2)
                m_sheet->addHeaderSpan({1, col, 2, col});
        }
        m_sheet->setColumnType(col, c.kind() == 13   ? CellType::Number
                                    : c.kind() == 14 ? CellType::Percent
                                                     : CellType::Text);
        int width = c.width();
        conditionIsWidth(c, &width);
        m_sheet->setColumnWidth(col, width);
        CellStyle style;
        if (c.backColor() >= 0)
            style.backColor = fromBgr(c.backColor());
        m_sheet->setColumnStyle(col, style);
    }
    m_sheet->setLocked(true);
    fitColumnWidths();
    m_sheet->setReDraw(reDraw);
    m_laidOut = true;
}

void ctlQuery::fitColumnWidths()
{
    // Widths are given for the old grid's small font: a column is widened (never narrowed)
    // until its caption and its figures fit. The rows read are the first and last hundred,
    // where the totals row and the widest sums are, so a million-row grid costs nothing more.
    const QFontMetrics plain(m_view->font());
    QFont boldFont = m_view->font();
    boldFont.setBold(true);
    const QFontMetrics bold(boldFont);
    const double dpi = m_view->logicalDpiX();
    const int padding = 10;
    const int rows = m_sheet->maxRows();
    const int sample = 100;
    auto widen = [&](int col, int pixels) {
        const int twips = pixelsToTwips(pixels + padding, dpi);
        if (twips > m_sheet->columnWidth(col))
            m_sheet->setColumnWidth(col, twips);
    };
    for (int col = 1; col <= m_sheet->maxCols(); ++col) {
        int pixels = 0;
        for (int h = 1; h <= m_sheet->headerRows(); ++h) {
            bool spansColumns = false;
            for (const CellBlock& span : m_sheet->headerSpans())
                spansColumns |= span.contains(h, col) && span.colCount() > 1;
            if (!spansColumns)
                pixels = std::max(pixels, plain.horizontalAdvance(m_sheet->headerText(h, col)));
        }
        // Shaping text is the costly part: a text narrower by count (a CJK character counting
        // two) than one already measured cannot need more room, except in the bold totals row.
        qsizetype longest = 0;
        auto measure = [&](int row) {
            const QString text = m_sheet->text(row, col);
            qsizetype length = text.size();
            for (QChar c : text)
                length += c.unicode() >= 0x2E80 ? 1 : 0;
            if (row != rows && length < longest)
                return;
            longest = std::max(longest, length);
            const QFontMetrics& fm = row == rows ? bold : plain;
            pixels = std::max(pixels, fm.horizontalAdvance(text));
        };
        for (int row = 1; row <= std::min(rows, sample); ++row)
            measure(row);
        for (int row = std::max(sample + 1, rows - sample); row <= rows; ++row)
            measure(row);
        widen(col, pixels);
    }
    // A group caption wider than its sub-columns together widens the last of them.
    for (const CellBlock& span : m_sheet->headerSpans()) {
        if (span.colCount() < 2)
            continue;
        int twips = 0;
        for (int col = span.col; col <= span.col2; ++col)
            twips += m_sheet->columnWidth(col);
        const int needed = pixelsToTwips(
            plain.horizontalAdvance(m_sheet->headerText(span.row, span.col)) + padding, dpi);
        if (needed > twips)
            m_sheet->setColumnWidth(span.col2, m_sheet->columnWidth(span.col2) + needed - twips);
    }
}

bool ctlQuery::fail(const QString& message)
{
    m_lastError = message;
    m_sheet->setReDraw(false);
    m_sheet->setMaxRows(0);
    m_sheet->setReDraw(true);
    m_status->setText(message);
    m_status->show();
    return false;
}

bool ctlQuery::runQuery()
{
    m_running = true;
    struct Done
    {
        bool& flag;
        ~Done() { flag = false; }
    } done{m_running};
    m_lastError.clear();
    m_status->hide();

    // Empty the grid on screen before the records come.
    m_sheet->setMaxRows(0);
    m_sheet->setReDraw(false);

    if (!m_connection)
        return fail(message("Msg_NoConnection"));
    QVariantList params;
    if (!m_params.empty())
        for (int i = 1; i <= m_params.rbegin()->first; ++i)
            params.append(m_params.count(i) ? m_params.at(i) : QVariant());
    std::unique_ptr<Recordset> rs;
    try {
        rs = m_connection->execute(m_sql, params);
    } catch (const SqlError& e) {
        return fail(message("Msg_QueryFailed").arg(e.message()));
    }

    // Compile every expression once against the result's columns.
    const int fieldCount = rs->fieldCount();
    const QueryExpression::Resolver resolve = [&rs](const QString& name) {
        return rs->fieldIndex(name);
    };
    std::vector<Leaf> leaves(m_leaves.size());
    const bool keyed = !m_keyFields.isEmpty();
    for (size_t i = 0; i < m_leaves.size(); ++i) {
        Leaf& leaf = leaves[i];
        const QueryColumn& c = *m_leaves[i];
        leaf.def = &c;
        leaf.kind = c.kind() == 13 || c.kind() == 14 ? c.kind() : TextKind;
        leaf.summed = c.isSummed();
        QString error;
        const QString condition = conditionIsWidth(c, nullptr) ? QString() : c.condition();
        if (!leaf.value.compile(c.expression(), resolve, &error))
            return fail(message("Msg_BadColumn").arg(c.caption(), c.expression(), error));
        if (!leaf.condition.compile(condition, resolve, &error))
            return fail(message("Msg_BadCondition").arg(c.caption(), condition, error));
        for (int f : leaf.value.fields())
            leaf.integerField = leaf.integerField && isIntegerType(rs->fieldType(f));
        bool readsOther = false;
        for (int f : leaf.condition.fields())
            if (!std::binary_search(leaf.value.fields().begin(), leaf.value.fields().end(), f))
                readsOther = true;
        leaf.sumsInGroup = keyed && leaf.kind != TextKind && (c.value6() == 1 || readsOther);
    }
    // Columns with the same condition (the zero-settlement condition on every amount) share
    // one evaluation per record.
    std::vector<const QueryExpression*> conditions;
    {
        QHash<QString, int> byText;
        for (Leaf& l : leaves) {
            if (l.condition.isEmpty())
                continue;
            const QString text =
                conditionIsWidth(*l.def, nullptr) ? QString() : l.def->condition().simplified();
            auto it = byText.constFind(text);
            if (it == byText.constEnd()) {
                it = byText.insert(text, int(conditions.size()));
                conditions.push_back(&l.condition);
            }
            l.conditionIndex = *it;
        }
    }
    std::vector<signed char> conditionState(conditions.size());
    std::vector<int> keyIndex;
    for (const QString& k : m_keyFields) {
        const int i = rs->fieldIndex(k);
        if (i < 0)
            return fail(message("Msg_BadKeyField").arg(k));
        keyIndex.push_back(i);
    }
    std::vector<Level> levels; // outermost first
    const QString subtotalLabel = kTexts.text(QStringLiteral("lblSubtotal"));
    for (int g = 0; g < m_groups.count(); ++g) {
        const int i = rs->fieldIndex(m_groups.at(g).field);
        if (i < 0)
            return fail(message("Msg_BadGroupField").arg(m_groups.at(g).field));
        levels.push_back({{i}, m_groups.at(g).caption + subtotalLabel, {}, {}, {}, 0});
    }
    for (int k = 1; k < int(keyIndex.size()) && k <= 30; ++k)
        if (m_keyLevel & (1 << (k - 1)))
            levels.push_back({std::vector<int>(keyIndex.begin(), keyIndex.begin() + k),
                              subtotalLabel,
                              {},
                              {},
                              {},
                              0});
    for (Level& l : levels) {
        l.sums.assign(leaves.size(), Money());
        l.has.assign(leaves.size(), 0);
    }

    // The fields read per record, each fetched once.
    std::vector<char> used(size_t(fieldCount), 0);
    for (const Leaf& l : leaves) {
        for (int f : l.value.fields())
            used[size_t(f)] = 1;
        for (int f : l.condition.fields())
            used[size_t(f)] = 1;
    }
    for (int f : keyIndex)
        used[size_t(f)] = 1;
    for (const Level& l : levels)
        for (int f : l.fields)
            used[size_t(f)] = 1;
    std::vector<int> fetch;
    for (int f = 0; f < fieldCount; ++f)
        if (used[size_t(f)])
            fetch.push_back(f);
    std::vector<QueryValue> row(size_t(std::max(1, fieldCount)));
    auto load = [&] {
        for (int f : fetch) {
            row[size_t(f)] = rs->cell(f);
        }
    };

    // Gathers one record into the grid row being built.
    auto gather = [&] {
        std::fill(conditionState.begin(), conditionState.end(), -1);
        for (Leaf& l : leaves) {
            if (l.value.isEmpty())
                continue;
            if (l.conditionIndex >= 0) {
                signed char& state = conditionState[size_t(l.conditionIndex)];
                if (state < 0)
                    state = conditions[size_t(l.conditionIndex)]->test(row.data()) ? 1 : 0;
                if (!state)
                    continue;
            }
            const int single = l.value.singleField();
            const QueryValue v = single >= 0 ? row[size_t(single)] : l.value.evaluate(row.data());
            if (v.isNull())
                continue;
            bool numeric = v.kind == QueryValue::Number;
            double n = v.number;
            if (!numeric && l.kind != TextKind)
                n = v.toNumber(&numeric);
            if (l.sumsInGroup && numeric) {
                l.sum += Money::fromDouble(n);
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
                             ? m_sheet->internText(v.text)
                             : m_sheet->internText(QString::number(v.number, 'g', 15));
            else
                l.number = n;
        }
    };

    int gridRows = 0, capacity = 0;
    auto newRow = [&] {
        if (++gridRows > capacity) {
            capacity = std::max(1024, capacity * 2);
            m_sheet->setMaxRows(capacity);
            m_sheet->reserveRows(capacity);
        }
        return gridRows;
    };
    std::vector<Money> totals(leaves.size());
    std::vector<char> totalHas(leaves.size(), 0);
    std::vector<int> subtotalRows;
    auto writeSums = [&](int r, const std::vector<Money>& sums, const std::vector<char>& has) {
        for (size_t i = 0; i < leaves.size(); ++i)
            if (leaves[i].summed && has[i]) {
                double v = sums[i].toDouble();
                m_sheet->setNumber(r, int(i) + 1, v);
                if (v != std::floor(v))
                    leaves[i].allWhole = false;
            }
    };
    auto writeSubtotal = [&](Level& l) {
        const int r = newRow();
        subtotalRows.push_back(r);
        writeSums(r, l.sums, l.has);
        const bool col2Label =
            leaves.size() >= 2 && leaves[1].kind == TextKind && !leaves[1].summed;
        if (!leaves.empty() && !leaves[0].summed) {
            const QString first = l.firstText;
            m_sheet->setText(
                r, 1, col2Label || first.isEmpty() ? first : first + QLatin1Char(' ') + l.label);
        }
        if (col2Label)
            m_sheet->setText(r, 2, l.label);
        std::fill(l.sums.begin(), l.sums.end(), Money());
        std::fill(l.has.begin(), l.has.end(), 0);
        l.rows = 0;
    };

    // Group boundaries: the values of each level's fields on the current grid row.
    std::vector<std::vector<Kept>> levelValues(levels.size());
    for (size_t i = 0; i < levels.size(); ++i)
        levelValues[i].resize(levels[i].fields.size());
    bool anyRow = false;
    auto breakLevels = [&] {
        // The outermost level whose values changed; subtotals close inner to outer.
        size_t changed = levels.size();
        for (size_t i = 0; i < levels.size() && changed == levels.size(); ++i)
            for (size_t k = 0; k < levels[i].fields.size(); ++k)
                if (!levelValues[i][k].equals(row[size_t(levels[i].fields[k])])) {
                    changed = i;
                    break;
                }
        if (anyRow)
            for (size_t i = levels.size(); i-- > changed;)
                writeSubtotal(levels[i]);
        for (size_t i = changed; i < levels.size(); ++i)
            for (size_t k = 0; k < levels[i].fields.size(); ++k)
                levelValues[i][k].keep(row[size_t(levels[i].fields[k])]);
    };

    // Writes the gathered grid row and resets the gathering.
    auto flush = [&] {
        const int r = newRow();
        for (size_t i = 0; i < leaves.size(); ++i) {
            Leaf& l = leaves[i];
            if (!l.has)
                continue;
            const int col = int(i) + 1;
            if (l.isText) {
                m_sheet->setTextId(r, col, l.text);
            } else {
                double v = l.sumsInGroup ? l.sum.toDouble() : l.number;
                Money m = l.sumsInGroup ? l.sum : Money::fromDouble(v);
                if (l.kind == PercentKind)
                    v *= 100;
                m_sheet->setNumber(r, col, v);
                if (v != std::floor(v))
                    l.allWhole = false;
                if (l.summed) {
                    if (l.kind == PercentKind)
                        m = Money::fromDouble(v);
                    totals[i] += m;
                    totalHas[i] = 1;
                    for (Level& lv : levels) {
                        lv.sums[i] += m;
                        lv.has[i] = 1;
                    }
                }
            }
            l.has = false;
            l.sum = Money();
        }
        for (Level& lv : levels)
            if (lv.rows++ == 0)
                lv.firstText = m_sheet->text(r, 1);
        anyRow = true;
    };

    std::vector<Kept> key(keyIndex.size());
    bool gathering = false;
    qint64 records = 0;
    int lastPercent = -1;
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    emit Progress(0, 100);
    for (; !rs->atEnd(); rs->moveNext()) {
        load();
        bool sameKey = keyed && gathering;
        for (size_t k = 0; sameKey && k < keyIndex.size(); ++k)
            sameKey = key[k].equals(row[size_t(keyIndex[k])]);
        if (!sameKey) {
            if (gathering)
                flush();
            breakLevels();
            for (size_t k = 0; k < keyIndex.size(); ++k)
                key[k].keep(row[size_t(keyIndex[k])]);
            gathering = true;
        }
        gather();
        if ((++records & 1023) == 0) {
            // Forward-only: the total is unknown, so the percentage approaches 99 as rows come.
            const int percent = int(99.0 * double(records) / double(records + 50000));
            if (percent != lastPercent) {
                lastPercent = percent;
                emit Progress(percent, 100);
            }
            if (sinceEvents.elapsed() >= 100) {
                QCoreApplication::processEvents();
                sinceEvents.restart();
            }
        }
    }
    if (gathering)
        flush();
    if (anyRow)
        for (size_t i = levels.size(); i-- > 0;)
            writeSubtotal(levels[i]);
    const int totalRow = newRow();
    writeSums(totalRow, totals, totalHas);
    if (!leaves.empty() && !leaves[0].summed)
        m_sheet->setText(totalRow, 1, kTexts.text(QStringLiteral("lblTotal")));
    m_sheet->setMaxRows(gridRows);

    QFont bold = m_sheet->defaultFont();
    bold.setBold(true);
    CellStyle subtotalStyle;
    subtotalStyle.font = bold;
    subtotalStyle.backColor = QColor(0xF2, 0xF2, 0xF2);
    for (int r : subtotalRows)
        m_sheet->setRowStyle(r, subtotalStyle);
    CellStyle totalStyle;
    totalStyle.font = bold;
    m_sheet->setRowStyle(totalRow, totalStyle);
    for (size_t i = 0; i < leaves.size(); ++i) {
        const Leaf& l = leaves[i];
        if (l.kind == TextKind)
            continue;
        const bool whole = l.allWhole && (l.kind == PercentKind || l.integerField);
        m_sheet->setColumnDecimals(int(i) + 1, whole ? 0 : 2);
    }
    fitColumnWidths();
    m_sheet->setReDraw(true);
    emit Progress(100, 100);
    return true;
}

void ctlQuery::ToggleFullScreen()
{
    auto* view = new frmViewSpread(window());
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->ShowSpread(m_sheet, m_title);
}

bool ctlQuery::SaveGrid(const QString& fileName, int /*flags*/)
{
    if (fileName.isEmpty())
        return frmViewSpread::saveWithDialog(*m_sheet, m_title, this);
    return SheetOutput::save(*m_sheet, fileName, m_title);
}

void ctlQuery::PrintGrid(const QString& header, const QString& footer)
{
    m_sheet->printSettings().header = header;
    m_sheet->printSettings().footer = footer;
    auto* dialog = new frmPrintSpread(window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->ShowMe(m_sheet, m_title);
}
