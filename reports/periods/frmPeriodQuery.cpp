#include "reports/periods/frmPeriodQuery.h"

#include "core/HostContext.h"
#include "core/mod_ADO.h"
#include "db/Connection.h"
#include "query/ItemCriteria.h"
#include "query/ScreenSpec.h"
#include "query/SummaryPlanner.h"
#include "reports/bills/frmBillItemQuery.h"
#include "ui/CriteriaBar.h"

#include <QCheckBox>

namespace {

using K = CriterionKind;
using namespace ColumnKind;
using namespace BackColour;

ColumnSpec periodFigure(const char* field, const char* caption, const char* condition, int width,
                        int back)
{
    return SumColumn(field, caption, width, condition, back, 1);
}

// After a view's own columns: a group per business period of the period list, then the day.
std::vector<ColumnSpec> withPeriods(std::vector<ColumnSpec> columns)
{
    columns.push_back({.field = "|",
                       .caption = nullptr,
                       .sub = {periodFigure("TotalAmount", "数量",
                                            "TotalAmount<>0 AND BillPeriod='{name}'", 800, Grey),
                               periodFigure("TotalConsume", "金额",
                                            "TotalConsume<>0 AND BillPeriod='{name}'", 800, Grey)},
                       .eachEntryOf = DataList::MealPeriods});
    columns.push_back(
        {.field = "|AllDay",
         .caption = "全天",
         .sub = {periodFigure("TotalAmount", "数量", "TotalAmount<>0", 850, Yellow),
                 periodFigure("TotalConsume", "金额", "TotalConsume<>0", 850, Yellow),
                 periodFigure("TotalConsume2", "折后金额", "TotalConsume2<>0", 850, Yellow)}});
    return columns;
}

using C = PeriodQueryCriteria;

// A row's figures are made of item lines: the bill item query's lines with the row's keys, and
// the meal period of the figure's column group (none under 全天).
DrillSpec itemLines(std::vector<DrillKey> keys)
{
    return {.make = []() -> ReportScreen* { return new frmBillItemQuery; },
            .view = ItemLines,
            .keys = std::move(keys),
            .columnEntry = "cboBillPeriod"};
}

const ColumnSpec DepartTypeName{.field = "DepartTypeName", .caption = "部门类别", .width = 1500};

const ScreenSpec kSpec{
    .name = "frmPeriodQuery",
    .title = "销售时段分析表",
    .size = {11070, 7980},
    .criteria = CriteriaOf<C>(PeriodQueryStatement),
    .branch = {PeriodQueryBranch},
    .rows =
        {
            {BeginDate, EndDate, BranchCriterionSpec(), IsSentMenuSpec(Into(&C::giftScope))},
            {DepartTypesSpec(Into(&C::departTypeName), "cboDepartTypes", 1500),
             MenuTypesSpec(Into(&C::menuTypeName), "cboMenuTypes", "cboDepartTypes", 1500),
             MenuTextSpec(Into(&C::menuText), 1500),
             {.name = "chkNotNull",
              .kind = K::LabelledCheck,
              .label = "只显示有销量的项目",
              .labelWidth = 1800,
              .into = Into(&C::notNull)}},
            {{.name = "optQuery", .kind = K::Views, .width = 1300}, UseTrueData, Saving, Compare},
        },
    .views =
        {
            {.option = "按菜品",
             .title = "销售时段分析表(按菜品统计)",
             .columns = withPeriods(
                 {{.field = "MenuID", .caption = "编码", .width = 550},
                  {.field = "MenuName", .caption = "菜品名称", .width = 1500},
                  // As the menu view has always defined it: the width in the condition's place.
                  {.field = "MenuTypeName", .caption = "菜品类别", .condition = "1100"}}),
             .keyFields = "MenuID",
             .centred = {1, 3},
             .drill = itemLines({{1, "MenuID"}})},
            {.option = "按菜品类别",
             .title = "销售时段分析表(按菜品类别统计)",
             .columns = withPeriods(
                 {DepartTypeName, {.field = "MenuTypeName", .caption = "菜品类别", .width = 1500}}),
             .keyFields = "MenuTypeID",
             .centred = {1, 2},
             .drill = itemLines({{1, "DepartTypeName"}, {2, "MenuTypeName"}})},
            {.option = "按出品部门",
             .title = "销售时段分析表(按出品部门统计)",
             .columns = withPeriods(
                 {DepartTypeName, {.field = "DepartName", .caption = "出品部门", .width = 1500}}),
             .keyFields = "DepartID",
             .centred = {1, 2},
             .drill = itemLines({{1, "DepartTypeName"}, {2, "DepartName"}})},
            {.option = "按部门类别",
             .title = "销售时段分析表(按部门类别统计)",
             .columns = withPeriods({DepartTypeName}),
             .keyFields = "DepartTypeID",
             .centred = {1},
             .drill = itemLines({{1, "DepartTypeName"}})},
        },
};

} // namespace

frmPeriodQuery::frmPeriodQuery(QWidget* parent) : QueryReportScreen(kSpec, parent) {}

void frmPeriodQuery::formLoad()
{
    // Sales first: the whole menu only when asked for.
    static_cast<QCheckBox*>(m_criteria->control("chkNotNull"))->setChecked(true);
}

void frmPeriodQuery::completeCriteria(CriteriaValue& criteria)
{
    criteria.as<PeriodQueryCriteria>().quotedDates = CheckConnection();
}

Statement frmPeriodQuery::planned(int, const CriteriaValue&, const Statement& statement)
{
    // Every criterion of the screen is kept by the item summaries.
    return SummaryPlanner::answer(*hostContext().connection(), true, SummaryPlanner::Source::Items,
                                  statement, PeriodQuerySummaryText());
}
