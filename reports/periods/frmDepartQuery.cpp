#include "reports/periods/frmDepartQuery.h"

#include "core/HostContext.h"
#include "core/modMessage.h"
#include "core/mod_ADO.h"
#include "db/Connection.h"
#include "query/ItemCriteria.h"
#include "query/ScreenSpec.h"
#include "reports/bills/BillItemQuerySql.h"
#include "reports/bills/frmBillItemQuery.h"
#include "reports/periods/MenuQuerySql.h"
#include "sheet/Sheet.h"
#include "ui/CriteriaBar.h"
#include "ui/chart/CChart.h"
#include "ui/chart/Chart2D.h"

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolBar>

#include <stdexcept>

namespace {

using K = CriterionKind;

const char* const kGroupings[] = {"optType_0", "optType_1", "optType_2", "optType_3", "optType_4"};

using C = DepartShareCriteria;

// A grouping option; the first is read as the number of the one chosen (DepartGrouping).
CriterionSpec grouping(int n, const char* key, int width)
{
    return {.name = kGroupings[n],
            .kind = K::Option,
            .width = width,
            .text = key,
            .into = n == 0 ? Into(&C::grouping) : CriterionBinding()};
}

const ScreenSpec kSpec{
    .name = "frmDepartQuery",
    .title = "部门出品统计图",
    .size = {11070, 7980},
    .criteria = CriteriaOf<C, DepartQueryCriteria>(DepartShareStatement),
    .branch = {ItemLineBranch},
    .rows =
        {
            {BeginDate, EndDate, BranchCriterionSpec(),
             IsSentMenuSpec(Into(&DepartQueryCriteria::giftScope))},
            {grouping(0, "部门类别", 1100),
             grouping(1, "出品部门", 1100),
             grouping(2, "菜品类别", 1100),
             grouping(3, "部门类别、出品部门", 1900),
             grouping(4, "部门类别、菜品类别", 1900),
             {.name = "txtMin",
              .kind = K::TextBox,
              .label = "最小比例(%):",
              .labelWidth = 1100,
              .width = 600,
              .text = "份额低于此百分比的归入“其他”",
              .into = Into(&C::minimum)}},
            {{.name = "chkPeriod",
              .kind = K::MealPeriods,
              .label = "请选择要统计的餐段:",
              .labelWidth = 1900,
              .width = 700,
              .text = "全部",
              .into = Into(&C::periods)}},
            {UseTrueData, Saving},
        },
    .texts = {{"Msg_Chart_Amount", "金额"},
              {"Msg_Chart_Item", "项目"},
              {"Msg_Chart_NameSeparator", "："},
              {"Msg_Chart_ShareSeparator", "，"}},
};

} // namespace

frmDepartQuery::frmDepartQuery(QWidget* parent) : ChartReportScreen(kSpec, parent)
{
    for (const char* name : kGroupings)
        connect(static_cast<QAbstractButton*>(m_criteria->control(name)), &QAbstractButton::clicked,
                this, [this](bool on) {
                    if (on)
                        runRefresh();
                });
    // The smallest share takes numbers only, rewritten as the number's plain text.
    auto* minimum = static_cast<QLineEdit*>(m_criteria->control("txtMin"));
    minimum->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]*\\.?[0-9]*")), minimum));
    connect(minimum, &QLineEdit::editingFinished, this,
            [minimum] { minimum->setText(PlainNumber(minimum->text())); });
    // The chart is no grid to save: no "Save" key.
    delete tlbMain->findChild<QAction*>(QStringLiteral("Save"));
}

void frmDepartQuery::formLoad()
{
    static_cast<QAbstractButton*>(m_criteria->control("optType_0"))->setChecked(true);
    static_cast<QLineEdit*>(m_criteria->control("txtMin"))->setText(QStringLiteral("2"));
}

void frmDepartQuery::cmdQuery1()
{
    const CriteriaValue criteria = readCriteria(); // throws when refused (the user was told)
    const DepartShareCriteria& c = criteria.as<DepartShareCriteria>();
    const QStringList labels = DepartLabelFields(c.grouping);
    const QStringList fields = DepartGroupFields(c.grouping);
    const Statement statement = branchScope(criteria).fill(DepartShareStatement(0, c));

    std::vector<DepartShareRow> rows;
    // A statement that fails stops the chart with its reason (never an empty pie).
    const Statement answered =
        SummaryPlanner::answer(*hostContext().connection(), true, SummaryPlanner::Source::Items,
                               statement, DepartShareSummaryText());
    for (const RowDict& row : ReadRows(answered.text(), answered.parameters())) {
        QStringList parts, keys;
        for (const QString& field : labels)
            parts << row.value(field).toString();
        for (const QString& field : fields)
            keys << row.value(field).toString();
        rows.push_back({parts.join(QLatin1Char('-')),
                        Money::fromVariant(row.value(QStringLiteral("TotalSum"))), keys});
    }
    const double minimum = PlainNumber(c.minimum).toDouble();
    const LanguageSection& texts = *languageTexts();
    m_slices = DepartSlices(
        rows, minimum, Msg(QStringLiteral("Msg_Chart_Others")),
        texts.text(QStringLiteral("Msg_Chart_NameSeparator"), QStringLiteral("Default")),
        texts.text(QStringLiteral("Msg_Chart_ShareSeparator"), QStringLiteral("Default")));
    m_fields = fields;
    m_periods = c.periods;
    const QString format = QStringLiteral("yyyy-MM-dd");
    drawSlices(c.range.begin.toString(format) + QStringLiteral(" - ") +
               c.range.end.toString(format) + QStringLiteral("  ") + windowTitle());
}

void frmDepartQuery::drawSlices(const QString& title)
{
    // One pie, a slice per group, turned so that the largest slices start at the upper left.
    CChart model;
    model.setTitle(title);
    for (const DepartSlice& slice : m_slices)
        model.add(slice.label, QString(), slice.amount.toDouble(), slice.label);
    model.toChart2D(*Chart2D1, ChartType::Pie);
    if (!m_slices.empty()) {
        ChartViewState view = Chart2D1->view();
        view.rotation = 135;
        Chart2D1->setView(view);
    }

    Sheet* grid = points();
    grid->setReDraw(false);
    grid->clear();
    grid->setHeaderRows(0);
    grid->setMaxCols(2);
    const int first = 4; // title, blank, captions
    grid->setMaxRows(first + int(m_slices.size()) - 1);
    grid->setColumnWidth(1, 4200);
    grid->setColumnWidth(2, 1800);
    grid->setColumnDecimals(2, 2);
    grid->setText(1, 1, title);
    grid->setText(
        3, 1, languageTexts()->text(QStringLiteral("Msg_Chart_Item"), QStringLiteral("Default")));
    grid->setText(
        3, 2, languageTexts()->text(QStringLiteral("Msg_Chart_Amount"), QStringLiteral("Default")));
    for (size_t i = 0; i < m_slices.size(); ++i) {
        const int row = first + int(i);
        grid->setText(row, 1, m_slices[i].label);
        grid->setCellType(row, 2, CellType::Number);
        grid->setText(row, 2, m_slices[i].amount.toString());
    }
    grid->setReDraw(true);
}

bool frmDepartQuery::drillToPoint(int series, int point)
{
    Q_UNUSED(point);
    return drillTo(series, 0);
}

bool frmDepartQuery::drillTo(int row, int column)
{
    Q_UNUSED(column);
    if (row < 1 || row > int(m_slices.size())) {
        setLastError(Msg(QStringLiteral("Msg_Drill_None")));
        return false;
    }
    static const DrillSpec lines{.make = []() -> ReportScreen* { return new frmBillItemQuery; },
                                 .view = ItemLines};
    const DepartSlice& slice = m_slices[size_t(row - 1)];
    return openDrilled(lines,
                       {{QStringLiteral("BillPeriods"), m_periods.join(QLatin1Char('\n'))},
                        {QStringLiteral("ItemGroups"), ItemGroupsText({m_fields, slice.groups})}});
}
