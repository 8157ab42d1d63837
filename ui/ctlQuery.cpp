#include "ui/ctlQuery.h"

#include "core/LanguageSection.h"
#include "db/Recordset.h"
#include "db/RowBatchReader.h"
#include "db/SqlError.h"
#include "query/QueryColumn.h"
#include "sheet/Sheet.h"
#include "sheet/SheetOutput.h"
#include "sheet/SheetView.h"
#include "sheet/Twips.h"
#include "ui/frmPrintSpread.h"
#include "ui/frmViewSpread.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The control's own texts: the labels of its subtotal and totals rows and its messages.
const LanguageSection kTexts(
    "ctlQuery",
    {
        {"lblSubtotal", "Caption", "小计"},
        {"lblTotal", "Caption", "合计"},
        {"lblPartialTotal", "Caption", "部分合计"},
        {"Msg_NoConnection", "Default", "查询失败：没有数据库连接"},
        {"Msg_QueryFailed", "Default", "查询失败：%1"},
        {"Msg_Overflow", "Default", "列“%1”的金额超出范围（最大 ±922,337,203,685,477.5807）"},
        {"Msg_BadColumn", "Default", "列“%1”（%2）：%3"},
        {"Msg_BadCondition", "Default", "列“%1”的条件 %2：%3"},
        {"Msg_BadKeyField", "Default", "关键字段“%1”不在查询结果中"},
        {"Msg_BadGroupField", "Default", "分组字段“%1”不在查询结果中"},
        {"Msg_Stopped", "Default", "已停止：表格中是停止前读到的 %1 笔记录"},
        {"Msg_CompareStopped", "Default", "已停止对比：表格中是本期的数字，没有对比栏"},
    });

QString message(const char* key)
{
    return kTexts.text(QString::fromLatin1(key), QStringLiteral("Default"));
}

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

void ctlQuery::SetStatement(const Statement& statement)
{
    statement.requireFilled();
    SetSQL(statement.text());
    ClearParameters();
    for (qsizetype i = 0; i < statement.parameters().size(); ++i)
        SetParameter(int(i) + 1, statement.parameters().at(i));
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
    m_fill.reset();
    m_comparedRoles.clear();
    m_uncompared.reset();
    m_ownTotalRow = 0;
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
    const bool reDraw = m_sheet->reDraw();
    m_sheet->setReDraw(false);
    m_leaves = QueryFill::layOut(*m_sheet, m_columns);
    m_fill.reset();
    m_comparedRoles.clear();
    m_uncompared.reset();
    m_ownTotalRow = 0;
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

QueryFill::Texts ctlQuery::fillTexts()
{
    return {kTexts.text(QStringLiteral("lblSubtotal")),
            kTexts.text(QStringLiteral("lblTotal")),
            message("Msg_QueryFailed"),
            message("Msg_BadColumn"),
            message("Msg_BadCondition"),
            message("Msg_BadKeyField"),
            message("Msg_BadGroupField"),
            message("Msg_Overflow"),
            kTexts.text(QStringLiteral("lblPartialTotal"))};
}

QueryFill::RowRole ctlQuery::rowRole(int row) const
{
    if (!m_comparedRoles.empty())
        return row >= 1 && row <= int(m_comparedRoles.size()) ? m_comparedRoles[size_t(row - 1)]
                                                              : QueryFill::RowRole::Data;
    if (m_fill)
        return m_fill->rowRole(row);
    return row > 0 && row == m_ownTotalRow ? QueryFill::RowRole::Total : QueryFill::RowRole::Data;
}

void ctlQuery::showOwnColumns()
{
    if (!m_uncompared)
        return;
    m_sheet->assign(*m_uncompared);
    m_uncompared.reset();
    m_comparedRoles.clear();
}

void ctlQuery::cellsWritten(int totalRow)
{
    m_fill.reset();
    m_comparedRoles.clear();
    m_uncompared.reset();
    m_lastError.clear();
    m_status->hide();
    m_ownTotalRow = totalRow;
    fitColumnWidths();
    m_sheet->setReDraw(true);
}

bool ctlQuery::runQuery()
{
    const QScopedValueRollback<bool> running(m_running, true);
    m_lastError.clear();
    m_stopped = false;
    m_status->hide();
    m_fill.reset();
    m_comparedRoles.clear();
    m_ownTotalRow = 0;
    showOwnColumns();

    // Empty the grid on screen before the records come; they show as they are read.
    m_sheet->setMaxRows(0);
    m_sheet->setReDraw(true); // the views drop what they showed
    m_sheet->setReDraw(false);

    if (!m_connection)
        return fail(message("Msg_NoConnection"));
    QVariantList params;
    if (!m_params.empty())
        for (int i = 1; i <= m_params.rbegin()->first; ++i)
            params.append(m_params.count(i) ? m_params.at(i) : QVariant());
    // On an SQLite file or a PostgreSQL server the statement is read on a thread of its own
    // while this one fills the grid; elsewhere it is read here.
    std::unique_ptr<RowBatchReader> reader;
    std::unique_ptr<Recordset> rs;
    try {
        reader = RowBatchReader::start(m_connection, m_sql, params);
        if (!reader)
            rs = m_connection->execute(m_sql, params);
    } catch (const SqlError& e) {
        return fail(message("Msg_QueryFailed").arg(e.message()));
    }

    auto fill = std::make_unique<QueryFill>(m_leaves, fillTexts());
    fill->setKeyFields(m_keyFields);
    fill->setKeyLevel(m_keyLevel);
    fill->setGroups(&m_groups);
    const bool filled = load(*fill, reader.get(), rs.get(), *m_sheet, true);
    reader.reset();
    if (!filled)
        return fail(fill->error());
    m_stopped = fill->stopped();
    const qint64 records = fill->records();
    m_fill = std::move(fill);
    fitColumnWidths();
    m_sheet->setReDraw(true);
    emit RowsRead(records, m_stopped ? -1 : records);
    if (m_stopped) {
        // The screen's status line says so (once); the grid ends in a partial totals row.
        m_lastError = message("Msg_Stopped").arg(QLocale(QLocale::English).toString(records));
        return false;
    }
    emit Progress(100, 100);
    return true;
}

bool ctlQuery::fillCompared(const Statement& statement, Sheet& sheet,
                            std::vector<QueryFill::RowRole>& roles)
{
    roles.clear();
    if (m_running)
        return false;
    const QScopedValueRollback<bool> running(m_running, true);
    if (!m_connection)
        return fail(message("Msg_NoConnection"));
    QueryFill::layOut(sheet, m_columns);
    std::unique_ptr<RowBatchReader> reader;
    std::unique_ptr<Recordset> rs;
    try {
        reader = RowBatchReader::start(m_connection, statement.text(), statement.parameters());
        if (!reader)
            rs = m_connection->execute(statement.text(), statement.parameters());
    } catch (const SqlError& e) {
        return fail(message("Msg_QueryFailed").arg(e.message()));
    }
    QueryFill fill(m_leaves, fillTexts());
    fill.setKeyFields(m_keyFields);
    fill.setKeyLevel(m_keyLevel);
    fill.setGroups(&m_groups);
    if (!load(fill, reader.get(), rs.get(), sheet, false))
        return fail(fill.error());
    if (fill.stopped()) {
        // Part of a range compared with the whole of the other would show false changes.
        m_stopped = true;
        m_lastError = message("Msg_CompareStopped");
        return false;
    }
    roles = QueryCompare::rolesOf(fill, sheet.maxRows());
    return true;
}

bool ctlQuery::load(QueryFill& fill, RowBatchReader* reader, Recordset* rs, Sheet& into,
                    bool showRows)
{
    // When the load starts (Esc or closing the window already stops it), then every tenth of a
    // second: the rows written so far shown, the records read so far (and the true percentage
    // when the result says how many it holds), pending window events run.
    qint64 lastRecords = -1;
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    fill.setProgress([&](qint64 records, qint64 total) {
        const bool starting = lastRecords < 0;
        if (!starting && sinceEvents.elapsed() < m_progressInterval)
            return;
        if (starting)
            emit Progress(0, 100);
        if (records != lastRecords) {
            lastRecords = records;
            if (showRows)
                m_sheet->showRows(fill.rowsWritten()); // shown before they are counted
            emit RowsRead(records, total);
            if (total > 0 && !starting)
                emit Progress(int(std::min(records, total) * 100 / total), 100);
        }
        QCoreApplication::processEvents();
        sinceEvents.restart();
    });
    // Esc in this window, or closing it, stops the load (eventFilter).
    m_loading = &fill;
    qApp->installEventFilter(this);
    const bool filled = reader ? fill.fill(*reader, into) : fill.fill(*rs, into);
    qApp->removeEventFilter(this);
    m_loading = nullptr;
    return filled;
}

void ctlQuery::showCompared(const Sheet& compared, const std::vector<QueryFill::RowRole>& roles,
                            const QueryCompare::Texts& texts)
{
    std::vector<QueryFill::RowRole> ownRoles;
    for (int row = 1; row <= m_sheet->maxRows(); ++row)
        ownRoles.push_back(rowRole(row));
    m_uncompared = std::make_unique<Sheet>();
    m_uncompared->assign(*m_sheet);
    m_uncompared->setMaxRows(0);
    Sheet merged;
    std::vector<QueryFill::RowRole> mergedRoles;
    QueryCompare::merge(*m_sheet, ownRoles, compared, roles, QueryCompare::keyColumns(m_leaves),
                        QueryCompare::figureColumns(m_leaves), texts, merged, mergedRoles);
    // Four columns for each figure no longer fit a portrait page at a readable size: unless the
    // user chose otherwise, the pages turn to landscape and the columns run on over further
    // pages rather than shrink to fit one.
    PrintSettings& print = merged.printSettings();
    if (print.scaling == PrintSettings::Scaling::SmartPrint &&
        print.orientation == PrintSettings::Orientation::Portrait) {
        print.orientation = PrintSettings::Orientation::Landscape;
        print.scaling = PrintSettings::Scaling::None;
    }
    m_sheet->assign(merged);
    m_comparedRoles = std::move(mergedRoles);
    fitColumnWidths();
}

void ctlQuery::stopLoad()
{
    if (m_loading)
        m_loading->stop();
}

bool ctlQuery::eventFilter(QObject* watched, QEvent* event)
{
    if (m_loading && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
            widget->window() == window()) {
            stopLoad();
            return true;
        }
        if (event->type() == QEvent::Close && (widget == this || widget->isAncestorOf(this)))
            stopLoad();
    }
    return QWidget::eventFilter(watched, event);
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
