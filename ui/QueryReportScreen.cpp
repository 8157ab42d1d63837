#include "ui/QueryReportScreen.h"

#include "core/HostContext.h"
#include "core/modMessage.h"
#include "db/SqlError.h"
#include "query/ColumnSpec.h"
#include "query/ComparedRange.h"
#include "query/QueryColumn.h"
#include "query/QueryColumns.h"
#include "query/ScreenSpec.h"
#include "sheet/Sheet.h"
#include "ui/CriteriaBar.h"
#include "ui/QueryCompare.h"
#include "ui/ctlQuery.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QStackedWidget>
#include <QToolBar>

#include <map>
#include <optional>
#include <stdexcept>

namespace {

// The captions of the compared columns, from the figure column's caption.
QueryCompare::Texts compareTexts(int compareWith)
{
    return {Msg(compareWith == CompareLastYear ? QStringLiteral("Msg_Compare_LastYearColumn")
                                               : QStringLiteral("Msg_Compare_PreviousColumn")),
            Msg(QStringLiteral("Msg_Compare_ChangeColumn")),
            Msg(QStringLiteral("Msg_Compare_PercentColumn"))};
}

} // namespace

QueryReportScreen::QueryReportScreen(const ScreenSpec& spec, QWidget* parent)
    : ReportScreen(spec, parent)
{
    m_views = new QStackedWidget(this);
    const bool indexed = ViewsIndexed(spec);
    for (size_t v = 0; v < std::max<size_t>(1, spec.views.size()); ++v) {
        auto* control = new ctlQuery(m_views);
        control->setObjectName(ViewControlName("ctlQuery", int(v), indexed));
        m_views->addWidget(control);
        m_controls << control;
        m_refreshed << false;
        m_stopped << false;
        connect(control, &ctlQuery::Progress, this, &QueryReportScreen::setProgress);
        connect(control, &ctlQuery::RowsRead, this, &QueryReportScreen::setRowsRead);
        connect(control, &ctlQuery::GridDblClick, this, [this] {
            try {
                runWithScreenDisabled([this] { cmdOpen(); });
            } catch (const std::exception&) {
            }
        });
    }
    ctlQuery1 = m_controls.first();
    mSpread1 = ctlQuery1->Grid();
    setBody(m_views);
    connect(m_criteria, &CriteriaBar::viewChosen, this, &QueryReportScreen::showView);
    updatePrintKey();
}

ctlQuery* QueryReportScreen::queryControl() const
{
    return m_controls.at(m_views->currentIndex());
}

ctlQuery* QueryReportScreen::queryControl(int view) const
{
    return m_controls.value(view);
}

int QueryReportScreen::viewCount() const
{
    return int(m_controls.size());
}

int QueryReportScreen::currentView() const
{
    return m_views->currentIndex();
}

Sheet* QueryReportScreen::grid() const
{
    return queryControl()->Grid();
}

QString QueryReportScreen::gridCaption() const
{
    return shownTitle(queryControl()->Title());
}

QString QueryReportScreen::gridTitle() const
{
    return queryControl()->Title();
}

const ViewSpec& QueryReportScreen::viewSpec(int view) const
{
    return m_spec.views.at(size_t(view));
}

void QueryReportScreen::setViewBody(int view, QWidget* body)
{
    ctlQuery* control = m_controls.at(view);
    const bool shown = m_views->currentIndex() == view;
    m_views->removeWidget(control);
    control->setParent(this);
    control->hide();
    m_views->insertWidget(view, body);
    if (shown)
        m_views->setCurrentIndex(view);
}

void QueryReportScreen::showView(int view)
{
    if (view < 0 || view >= m_controls.size())
        return;
    m_views->setCurrentIndex(view);
    setPartial(m_stopped.value(view));
    updatePrintKey();
}

void QueryReportScreen::updatePrintKey()
{
    // A grid holding only its totals row (or nothing yet) has nothing to print.
    const int v = currentView();
    const bool rows = m_refreshed.value(v) &&
                      queryControl()->rowRole(1) != QueryFill::RowRole::Total &&
                      queryControl()->Grid()->maxRows() >= 1;
    if (auto* print = tlbMain->findChild<QAction*>(QStringLiteral("Print")))
        print->setEnabled(rows);
}

Statement QueryReportScreen::planned(int, const CriteriaValue&, const Statement& statement)
{
    return statement;
}

int QueryReportScreen::writeCells(int, Sheet*, QString*)
{
    throw std::logic_error("the view writes no cells");
}

int QueryReportScreen::writeComparedCells(int, Sheet*, const CriteriaValue&, const CriteriaValue&,
                                          QString*)
{
    return -1;
}

void QueryReportScreen::addColumns(int, QueryColumns&) {}
void QueryReportScreen::formatGrid(int, Sheet*) {}
void QueryReportScreen::afterQuery(int, Sheet*) {}

void QueryReportScreen::cmdSetColumn1()
{
    // The data lists of the repeated columns, read once for all views. A list that cannot be
    // read leaves its columns out and keeps the screen from running until it can (cmdQuery1).
    m_columnsError.clear();
    std::map<DataList::Kind, QList<DataListItem>> lists;
    const DataListEntries entries = [this, &lists](DataList::Kind kind) {
        auto it = lists.find(kind);
        if (it == lists.end()) {
            DataList list(kind, hostContext().connection());
            list.initialise(1, 1);
            if (!list.load() && m_columnsError.isEmpty())
                m_columnsError = list.lastError();
            it = lists.emplace(kind, list.items()).first;
        }
        return it->second;
    };
    for (int v = 0; v < int(m_spec.views.size()); ++v) {
        const ViewSpec& view = viewSpec(v);
        ctlQuery* control = m_controls.at(v);
        control->ClearColumns();
        control->SetTitle(QString::fromUtf8(view.title));
        AddColumns(control->Columns(), view.columns, entries);
        try {
            addColumns(v, control->Columns());
        } catch (const SqlError& e) {
            if (m_columnsError.isEmpty())
                m_columnsError = e.message();
        }
        TranslateQueryControl(this, control);
        control->SetKeyFields(QString::fromLatin1(view.keyFields));
        control->SetKeyLevel(view.keyLevel);
        control->ApplyQuery(true, false, false);

        Sheet* sheet = control->Grid();
        sheet->setReDraw(false);
        sheet->setMaxRows(0);
        sheet->setMaxRows(view.emptyRows);
        for (int col : view.centred) {
            CellStyle style = sheet->columnStyle(col); // its back colour stays
            style.hAlign = Qt::AlignHCenter;
            sheet->setColumnStyle(col, style);
        }
        formatGrid(v, sheet);
        sheet->setReDraw(true);
    }
}

void QueryReportScreen::cmdQuery1()
{
    if (!m_columnsError.isEmpty()) {
        cmdSetColumn1(); // the lists behind the columns, read again
        if (!m_columnsError.isEmpty())
            throw SqlError(m_columnsError);
    }
    const int v = currentView();
    ctlQuery* control = queryControl();
    if (viewSpec(v).ownCells) {
        control->showOwnColumns();
        QString failure;
        const int totalRow = writeCells(v, control->Grid(), &failure); // throws when refused
        m_stopped[v] = false;
        setPartial(false);
        control->cellsWritten(totalRow);
        m_refreshed[v] = true;
        const CriteriaValue criteria = readCriteria();
        const int compareWith = criteria.common().compare;
        if (compareWith != CompareNone) {
            // The same figures over the compared range, written into a copy of the grid.
            CriteriaValue other = criteria.copy();
            other.common().range = ComparedRange(criteria.common().range, compareWith);
            Sheet compared;
            compared.assign(*control->Grid());
            QString comparedFailure;
            const int comparedTotal =
                writeComparedCells(v, &compared, criteria, other, &comparedFailure);
            if (comparedTotal >= 0) {
                std::vector<QueryFill::RowRole> roles(size_t(compared.maxRows()),
                                                      QueryFill::RowRole::Data);
                if (comparedTotal > 0 && comparedTotal <= compared.maxRows())
                    roles[size_t(comparedTotal - 1)] = QueryFill::RowRole::Total;
                control->showCompared(compared, roles, compareTexts(compareWith));
            }
            if (failure.isEmpty())
                failure = comparedFailure;
        }
        updatePrintKey();
        afterQuery(v, control->Grid());
        if (!failure.isEmpty())
            throw std::runtime_error(failure.toStdString());
        return;
    }
    if (!m_spec.criteria.statement)
        throw std::logic_error("the view has no statement");
    const CriteriaValue criteria = readCriteria(); // throws when refused
    const Statement statement =
        planned(v, criteria, branchScope(criteria).fill(m_spec.criteria.statement(v, criteria)));
    std::optional<Statement> compared; // the same statement over the compared range
    const int compareWith = criteria.common().compare;
    // A list of bills or lines (a view that opens a bill) is shown without comparison.
    if (compareWith != CompareNone && !viewSpec(v).openDetail) {
        CriteriaValue other = criteria.copy();
        other.common().range = ComparedRange(criteria.common().range, compareWith);
        compared = planned(v, other, branchScope(other).fill(m_spec.criteria.statement(v, other)));
    }
    m_stopped[v] = false;
    setPartial(false);
    control->SetConnection(hostContext().connection());
    control->SetStatement(statement);
    bool ok = control->ApplyQuery(false, true, false);
    // A stopped load keeps the rows read: marked partial, with the view's rules applied to them.
    m_stopped[v] = control->wasStopped();
    m_refreshed[v] = ok || m_stopped[v];
    setPartial(m_stopped[v]);
    if (ok || m_stopped[v])
        afterQuery(v, control->Grid());
    if (ok && compared) {
        // The compared range's grid, with the view's rules applied to it too, set beside.
        Sheet other;
        std::vector<QueryFill::RowRole> roles;
        ok = control->fillCompared(*compared, other, roles);
        if (ok) {
            afterQuery(v, &other);
            control->showCompared(other, roles, compareTexts(compareWith));
        }
        // Stopped, the grid still holds the whole report of its own range.
        m_refreshed[v] = ok || control->wasStopped();
    }
    updatePrintKey();
    if (!ok)
        throw std::runtime_error(control->lastError().toStdString());
}

void QueryReportScreen::cmdOpen()
{
    if (m_spec.views.empty())
        return;
    const ViewSpec& view = viewSpec(currentView());
    if (view.openDetail && view.detailColumn > 0)
        view.openDetail(grid(), view.detailColumn);
    else if (view.drill.make && grid() && grid()->activeRow() > 0)
        drillTo(grid()->activeRow(), grid()->activeCol());
}

namespace {

int leafCount(const QueryColumn& c)
{
    int n = 0;
    for (const auto& sub : c.SubColumns())
        n += leafCount(*sub);
    return n > 0 ? n : 1;
}

// The name of the data-list entry (a meal period, say) whose column or column group, repeated
// per entry of the list (`eachEntryOf`), holds grid column `column` (from 1); empty when the
// column stands under none. Each other column of the description is one of the control's; the
// repeated ones are those that follow, captioned with the list's entries.
QString entryOfColumn(const std::vector<ColumnSpec>& specs, const QueryColumns& columns, int column)
{
    int at = 0, first = 1;
    auto holds = [&](int index) {
        const int n = leafCount(*columns.at(index));
        const bool in = column >= first && column < first + n;
        first += n;
        return in;
    };
    for (const ColumnSpec& spec : specs) {
        if (at >= columns.count())
            break;
        if (!spec.eachEntryOf) {
            if (holds(at++))
                return QString();
            continue;
        }
        DataList list(*spec.eachEntryOf, hostContext().connection());
        list.initialise(1, 1);
        list.load();
        QStringList names;
        for (const DataListItem& item : list.items())
            names << item.Name;
        while (at < columns.count() && names.contains(columns.at(at)->caption())) {
            const QString caption = columns.at(at)->caption();
            if (holds(at++))
                return caption;
        }
    }
    return QString();
}

} // namespace

bool QueryReportScreen::drillTo(int row, int column)
{
    const int v = currentView();
    const DrillSpec& drill = m_spec.views.empty() ? DrillSpec() : viewSpec(v).drill;
    ctlQuery* control = queryControl();
    Sheet* g = control->Grid();
    if (!drill.make || !m_refreshed[v] || row < 1 || row > g->maxRows() || column > g->maxCols()) {
        setLastError(Msg(QStringLiteral("Msg_Drill_None")));
        return false;
    }
    // A compared grid has three more columns after each figure: the keys and the clicked
    // column are found by the grid's own columns; the added ones lead to no lines of this range.
    std::vector<int> figures;
    if (control->isCompared()) {
        figures = QueryCompare::figureColumns(QueryFill::leafColumns(control->Columns()));
        if (column > 0 && (column = ownColumn(column)) == 0)
            return false;
    }
    const QueryFill::RowRole role = control->rowRole(row);
    QList<QPair<QString, QString>> keys;
    for (const DrillValue& fixed : drill.fixed)
        keys.append({QString::fromLatin1(fixed.criterion), QString::fromUtf8(fixed.value)});
    if (role != QueryFill::RowRole::Total) {
        for (const DrillKey& key : drill.keys) {
            // A subtotal row shows its group's text in column 1, its label beside it.
            if (role == QueryFill::RowRole::Subtotal && key.column != 1)
                continue;
            const QString value =
                g->text(row, QueryCompare::mergedColumn(key.column, figures)).trimmed();
            if (role == QueryFill::RowRole::Data || !value.isEmpty())
                keys.append({QString::fromLatin1(key.criterion), value});
        }
    }
    if (drill.columnEntry && column > 0) {
        const QString entry = entryOfColumn(viewSpec(v).columns, control->Columns(), column);
        if (!entry.isEmpty())
            keys.append({QString::fromLatin1(drill.columnEntry), entry});
    }
    return openDrilled(drill, keys);
}

int QueryReportScreen::ownColumn(int column)
{
    ctlQuery* control = queryControl();
    if (!control->isCompared() || column < 1)
        return column;
    const int own = QueryCompare::sourceColumn(
        column, QueryCompare::figureColumns(QueryFill::leafColumns(control->Columns())));
    if (own == 0)
        setLastError(Msg(QStringLiteral("Msg_Drill_Compared")));
    return own;
}

void QueryReportScreen::stopLoad()
{
    for (ctlQuery* control : m_controls)
        control->stopLoad();
}

QString QueryReportScreen::printHeader() const
{
    return PrintHeader(queryControl()->Title(), beginDate(), endDate());
}
