#include "reports/bills/frmBillItemQuery.h"

#include "core/HostContext.h"
#include "db/Connection.h"
#include "query/ItemCriteria.h"
#include "query/ScreenSpec.h"
#include "reports/bills/frmBillInfo.h"

namespace {

using K = CriterionKind;
using namespace ColumnKind;
using namespace BackColour;

// What was served: ordered, returned and consumed quantities.
ColumnSpec outStatus(const char* order, const char* cancel, const char* consumed,
                     const char* orderCondition, const char* cancelCondition,
                     const char* consumedCondition)
{
    return {.field = "|OutStatus",
            .caption = "出品情况",
            .sub = {SumColumn(order, "点菜数", 800, orderCondition, Grey),
                    SumColumn(cancel, "退菜数", 800, cancelCondition, Grey),
                    SumColumn(consumed, "消费数", 800, consumedCondition, Grey)}};
}

// The summed views' columns after their leading ones.
std::vector<ColumnSpec> summedColumns(std::vector<ColumnSpec> leading, bool cookway)
{
    leading.push_back(outStatus("theOrder", "theCancel", "theOrder-theCancel|theOrder_theCancel",
                                "theOrder<>0", "theCancel<>0", "theOrder-theCancel<>0"));
    leading.push_back(SumColumn("theConsume", "消费总额", 850, "theConsume<>0", Yellow));
    leading.push_back(SumColumn("theService", "服务费", 850, "theService<>0", Yellow));
    leading.push_back(SumColumn("theDiscount", "折扣金额", 850, "theDiscount<>0", Yellow));
    if (cookway)
        leading.push_back(SumColumn("theCookway", "做法附加费", 1000, "theCookway<>0", Yellow));
    return leading;
}

// The two options beside the four views, their labels no wider than their texts.
CriterionSpec narrowLabel(CriterionSpec option, int width)
{
    option.labelWidth = width;
    return option;
}

using C = BillItemQueryCriteria;
using I = ItemLineCriteria;

// A summed row's lines: the item-line view with the row's keys.
DrillSpec itemLines(std::vector<DrillKey> keys)
{
    return {.make = []() -> ReportScreen* { return new frmBillItemQuery; },
            .view = ItemLines,
            .keys = std::move(keys)};
}

const ScreenSpec kSpec{
    .name = "frmBillItemQuery",
    .title = "账单消费明细汇总表",
    .size = {11070, 7980},
    .criteria = CriteriaOf<C, I>(BillItemQueryStatement),
    .branch = {ItemLineBranch},
    .rows =
        {
            {BeginDate, EndDate, BranchCriterionSpec(), BillPeriodSpec(Into(&I::billPeriod))},
            {ShiftIdSpec(Into(&C::shiftId), 1200), TableAreaSpec(Into(&C::tableArea)),
             DepartTypesSpec(Into(&I::departType)), MenuTypesSpec(Into(&I::menuType))},
            {DepartsSpec(Into(&C::depart)), MenuTextSpec(Into(&I::menuText)),
             IsSentMenuSpec(Into(&I::giftScope)), ItemWaiterSpec(Into(&I::createPerson))},
            {{.name = "optQuery", .kind = K::Views, .width = 1500},
             narrowLabel(UseTrueData, 1700),
             narrowLabel(Saving, 1900)},
        },
    .views =
        {
            {.option = "账单消费明细\n汇总表",
             .title = "账单消费明细汇总表",
             .columns =
                 {
                     {.field = "MenuID", .caption = "菜号", .width = 600},
                     {.field = "MenuName", .caption = "菜名", .width = 1500},
                     {.field = "MenuTypeName", .caption = "菜品类别", .width = 1100},
                     {.field = "BillID", .caption = "单号", .width = 1400},
                     {.field = "TableFullName", .caption = "房台", .width = 1100},
                     {.field = "CreatePerson", .caption = "服务员", .width = 800},
                     outStatus("AmountOrder", "AmountCancel",
                               "AmountOrder-AmountCancel|AmountOrder_AmountCancel",
                               "AmountOrder<>0", "AmountCancel<>0", "AmountOrder-AmountCancel<>0"),
                     {.field = "MenuPrice",
                      .caption = "单价",
                      .condition = "MenuPrice<>0",
                      .kind = Number,
                      .width = 800,
                      .back = Yellow},
                     SumColumn("SumOfConsume", "消费总额", 850, "SumOfConsume<>0", Yellow),
                     SumColumn("SumOfService", "服务费", 850, "SumOfService<>0", Yellow),
                     SumColumn("SumForDiscount", "折扣金额", 850, "SumForDiscount<>0", Yellow),
                     {.field = "CheckOutTime", .caption = "结账时间", .width = 1800},
                 },
             .centred = {1, 3, 4, 5, 6},
             // the leaf columns count, the group header has none: the bill number is column 4
             .detailColumn = 4,
             .openDetail = OpenBillDetail},
            {.option = "账单消费明细\n按菜品汇总",
             .title = "账单消费明细汇总表(按菜品汇总)",
             .columns =
                 summedColumns({{.field = "MenuID", .caption = "菜号", .width = 600},
                                {.field = "MenuName", .caption = "菜名", .width = 1500},
                                {.field = "MenuTypeName", .caption = "菜品类别", .width = 1100}},
                               true),
             .centred = {1, 3},
             .drill = itemLines({{1, "MenuID"}, {2, "MenuName"}})},
            {.option = "账单消费明细\n按菜类汇总",
             .title = "账单消费明细汇总表(按菜类汇总)",
             .columns =
                 summedColumns({{.field = "DepartTypeName", .caption = "部门类别", .width = 1500},
                                {.field = "MenuTypeName", .caption = "菜品类别", .width = 1500}},
                               true),
             .centred = {1, 2},
             .drill = itemLines({{1, "DepartTypeName"}, {2, "MenuTypeName"}})},
            {.option = "账单消费明细\n按服务员汇总",
             .title = "账单消费明细汇总表(按服务员汇总)",
             .columns =
                 summedColumns({{.field = "CreatePerson", .caption = "服务员", .width = 1500},
                                {.field = "theCount",
                                 .caption = "笔数",
                                 .condition = "theCount<>0",
                                 .sum = true,
                                 .kind = Number,
                                 .width = 1500}},
                               false),
             .centred = {1},
             .drill = itemLines({{1, "CreatePerson"}})},
        },
    .keys = {{"MenuID", Into(&C::menuId)},
             {"MenuName", Into(&C::menuName)},
             {"DepartTypeName", Into(&I::departType)},
             {"MenuTypeName", Into(&I::menuType)},
             {"CreatePerson", Into(&I::createPerson)},
             {"DepartName", Into(&C::departName)},
             {"GroupTypeID", Into(&C::groupTypeId)},
             {"BillPeriods", Into(&C::billPeriods)},
             {"ItemGroups", Into(&C::itemGroups)}},
};

} // namespace

frmBillItemQuery::frmBillItemQuery(QWidget* parent) : QueryReportScreen(kSpec, parent) {}

Statement frmBillItemQuery::planned(int view, const CriteriaValue& criteria,
                                    const Statement& statement)
{
    // The planner reads the summary of the items that keeps the waiter or the menu item where
    // the view or its criteria name them.
    return SummaryPlanner::answer(
        *hostContext().connection(),
        BillItemQueryFitsSummaries(view, criteria.as<BillItemQueryCriteria>()),
        SummaryPlanner::Source::Items, statement, BillItemQuerySummaryText());
}
