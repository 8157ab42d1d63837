#include "reports/bills/frmBillItemCost.h"

#include "core/HostContext.h"
#include "core/mod_ADO.h"
#include "query/ItemCriteria.h"
#include "query/ScreenSpec.h"
#include "query/SummaryPlanner.h"
#include "reports/bills/frmBillInfo.h"

namespace {

using K = CriterionKind;
using namespace ColumnKind;
using namespace BackColour;

// The summed views' quantity, sales and commission after their leading columns.
std::vector<ColumnSpec> summedColumns(std::vector<ColumnSpec> leading)
{
    leading.push_back(SumColumn("MenuAmount", "销售数量", 1200, "MenuAmount<>0", Yellow));
    leading.push_back(SumColumn("theSumOfConsume", "销售金额", 1200, "theSumOfConsume<>0", Yellow));
    leading.push_back(SumColumn("SumOfCost", "销售提成", 1200, "SumOfCost<>0", Yellow));
    return leading;
}

using I = ItemLineCriteria;

const ScreenSpec kSpec{
    .name = "frmBillItemCost",
    .title = "销售提成明细汇总表",
    .size = {11070, 7980},
    .criteria = CriteriaOf<BillItemCostCriteria, I>(BillItemCostStatement),
    .branch = {ItemLineBranch},
    .rows =
        {
            {BeginDate, EndDate, BranchCriterionSpec(), BillPeriodSpec(Into(&I::billPeriod))},
            {DepartTypesSpec(Into(&I::departType)), MenuTypesSpec(Into(&I::menuType)),
             MenuTextSpec(Into(&I::menuText)), IsSentMenuSpec(Into(&I::giftScope))},
            {ItemWaiterSpec(Into(&I::createPerson)), UseTrueData, Saving},
            {{.name = "optQuery", .kind = K::Views, .width = 1500}, Compare},
        },
    .views =
        {
            {.option = "销售提成\n明细表",
             .title = "销售提成明细表",
             .columns =
                 {
                     TextColumn("BillID", "单号", 1600),
                     TextColumn("CreatePerson", "服务员", 1000),
                     TextColumn("MenuID", "菜号", 800),
                     TextColumn("MenuName", "菜名", 1500),
                     TextColumn("MenuTypeName", "菜类", 1300),
                     TextColumn("MenuUnitName", "单位", 800),
                     SumColumn("MenuAmount", "销售数量", 1000, "MenuAmount<>0", Yellow),
                     {.field = "MenuPrice",
                      .caption = "销售单价",
                      .condition = "MenuPrice<>0",
                      .kind = Number,
                      .width = 1000,
                      .back = Yellow},
                     SumColumn("SumOfConsume", "销售金额", 1000, "SumOfConsume<>0", Yellow),
                     SumColumn("SumOfCost", "销售提成", 1000, "SumOfCost<>0", Yellow),
                 },
             .centred = {1, 2, 3, 4, 5, 6},
             .detailColumn = 1,
             .openDetail = OpenBillDetail},
            {.option = "销售提成\n汇总表",
             .title = "销售提成汇总表",
             .columns = summedColumns({TextColumn("MenuID", "菜号", 800),
                                       TextColumn("MenuName", "菜名", 1500),
                                       TextColumn("MenuTypeName", "菜类", 1300),
                                       TextColumn("MenuUnitName", "单位", 800)}),
             .centred = {1, 2, 3, 4}},
            {.option = "销售提成\n菜类汇总表",
             .title = "销售提成菜类汇总表",
             .columns = summedColumns({TextColumn("DepartTypeName", "部门类别", 1500),
                                       TextColumn("MenuTypeName", "菜品类别", 1500)}),
             .centred = {1, 2}},
            {.option = "销售提成\n服务员汇总表",
             .title = "销售提成服务员汇总表",
             .columns = summedColumns({TextColumn("CreatePerson", "服务员", 1000)}),
             .centred = {1}},
        },
};

} // namespace

frmBillItemCost::frmBillItemCost(QWidget* parent) : QueryReportScreen(kSpec, parent) {}

Statement frmBillItemCost::planned(int view, const CriteriaValue&, const Statement& statement)
{
    // The lines read a line's own quantity, which no summary keeps. A quantity times a price
    // kept with it sums as the quantity's sum times the price, whether the line's or the menu's.
    const bool fits = view != CostLines;
    return SummaryPlanner::answerItems(*hostContext().connection(), fits, statement);
}

void frmBillItemCost::formLoad()
{
    m_prices.probe();
}

void frmBillItemCost::completeCriteria(CriteriaValue& criteria)
{
    criteria.as<BillItemCostCriteria>().itemPrice = m_prices.linesCarryPrice();
}
