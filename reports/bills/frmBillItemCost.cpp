#include "reports/bills/frmBillItemCost.h"

#include "core/mod_ADO.h"
#include "reports/bills/frmBillInfo.h"
#include "screens/CriteriaBar.h"
#include "screens/ItemCriteria.h"
#include "screens/ScreenSpec.h"

namespace {

using K = CriterionKind;
using namespace ColumnKind;
using namespace BackColour;

ColumnSpec text(const char* field, const char* caption, int width)
{
    return {.field = field, .caption = caption, .width = width};
}

// A totalled number column, shown where it is not 0.
ColumnSpec summed(const char* field, const char* caption, const char* condition, int width)
{
    return {.field = field,
            .caption = caption,
            .condition = condition,
            .sum = true,
            .kind = Number,
            .width = width,
            .back = Yellow};
}

// The summed views' quantity, sales and commission after their leading columns.
std::vector<ColumnSpec> summedColumns(std::vector<ColumnSpec> leading)
{
    leading.push_back(summed("MenuAmount", "销售数量", "MenuAmount<>0", 1200));
    leading.push_back(summed("theSumOfConsume", "销售金额", "theSumOfConsume<>0", 1200));
    leading.push_back(summed("SumOfCost", "销售提成", "SumOfCost<>0", 1200));
    return leading;
}

const ScreenSpec kSpec{
    .name = "frmBillItemCost",
    .title = "销售提成明细汇总表",
    .size = {11070, 7980},
    .rows =
        {
            {BeginDate, EndDate, BranchCriterionSpec(), BillPeriodSpec()},
            {DepartTypesSpec(), MenuTypesSpec(), MenuTextSpec(), IsSentMenuSpec()},
            {ItemWaiterSpec(), UseTrueData, Saving},
            {{.name = "optQuery", .kind = K::Views, .width = 1500}},
        },
    .views =
        {
            {.option = "销售提成\n明细表",
             .title = "销售提成明细表",
             .columns =
                 {
                     text("BillID", "单号", 1600),
                     text("CreatePerson", "服务员", 1000),
                     text("MenuID", "菜号", 800),
                     text("MenuName", "菜名", 1500),
                     text("MenuTypeName", "菜类", 1300),
                     text("MenuUnitName", "单位", 800),
                     summed("MenuAmount", "销售数量", "MenuAmount<>0", 1000),
                     {.field = "MenuPrice",
                      .caption = "销售单价",
                      .condition = "MenuPrice<>0",
                      .kind = Number,
                      .width = 1000,
                      .back = Yellow},
                     summed("SumOfConsume", "销售金额", "SumOfConsume<>0", 1000),
                     summed("SumOfCost", "销售提成", "SumOfCost<>0", 1000),
                 },
             .centred = {1, 2, 3, 4, 5, 6},
             .detailColumn = 1,
             .openDetail = OpenBillDetail},
            {.option = "销售提成\n汇总表",
             .title = "销售提成汇总表",
             .columns = summedColumns({text("MenuID", "菜号", 800), text("MenuName", "菜名", 1500),
                                       text("MenuTypeName", "菜类", 1300),
                                       text("MenuUnitName", "单位", 800)}),
             .centred = {1, 2, 3, 4}},
            {.option = "销售提成\n菜类汇总表",
             .title = "销售提成菜类汇总表",
             .columns = summedColumns({text("DepartTypeName", "部门类别", 1500),
                                       text("MenuTypeName", "菜品类别", 1500)}),
             .centred = {1, 2}},
            {.option = "销售提成\n服务员汇总表",
             .title = "销售提成服务员汇总表",
             .columns = summedColumns({text("CreatePerson", "服务员", 1000)}),
             .centred = {1}},
        },
};

} // namespace

frmBillItemCost::frmBillItemCost(QWidget* parent) : QueryReportScreen(kSpec, parent) {}

void frmBillItemCost::formLoad()
{
    // Any failure of the probe means the lines carry no price: the menu's is read instead.
    try {
        ExecuteRecordset(QString::fromLatin1(ItemPriceProbe));
        m_itemPrice = true;
    } catch (const std::exception&) {
        m_itemPrice = false;
    }
}

QString frmBillItemCost::viewSql(int view)
{
    BillItemCostCriteria c;
    ReadItemLineCriteria(*m_criteria, &c); // throws when the branch choice is refused
    c.itemPrice = m_itemPrice;
    return BillItemCostSql(view, c);
}
