#include "reports/bills/frmSubBillQuery.h"

#include "core/HostContext.h"
#include "core/mod_ADO.h"
#include "query/ItemCriteria.h"
#include "query/ScreenSpec.h"
#include "query/SummaryPlanner.h"
#include "reports/bills/frmBillInfo.h"

namespace {

using K = CriterionKind;

ColumnSpec figure(const char* field, const char* caption)
{
    return SumColumn(field, caption, 1000, "", BackColour::Grey);
}

using C = SubBillQueryCriteria;
using I = ItemLineCriteria;

const ScreenSpec kSpec{
    .name = "frmSubBillQuery",
    .title = "退菜记录查询",
    .size = {11070, 7980},
    .criteria = CriteriaOf<C, I>(SubBillQueryStatement),
    .branch = {ItemLineBranch},
    .rows =
        {
            {BeginDate, EndDate, BranchCriterionSpec("分店:"),
             BillPeriodSpec(Into(&I::billPeriod))},
            {DepartTypesSpec(Into(&I::departType), "cboDepartTypes", 1800),
             MenuTypesSpec(Into(&I::menuType), "cboMenuTypes", "cboDepartTypes", 1500),
             MenuTextSpec(Into(&I::menuText), 1500),
             ItemListSpec("cboReason", "原因:", DataList::ReturnReasons, nullptr, 1600, 600,
                          Into(&C::reason))},
            {{.name = "cboCreatePerson",
              .kind = K::List,
              .label = "退菜人:",
              .labelWidth = 900,
              .width = 1500,
              .source = {.kind = ListSource::Query,
                         .sql = "SELECT DISTINCT CreatePerson FROM bi_SubBill WHERE "
                                "SubBillType=2 ORDER BY CreatePerson",
                         .field = "CreatePerson"},
              .into = Into(&I::createPerson)},
             UseTrueData,
             Saving},
        },
    .views = {{
        .title = "退菜记录明细表",
        .columns =
            {
                TextColumn("BillID", "单号", 1400),
                TextColumn("TableName", "房台", 1100),
                TextColumn("MenuID", "菜号", 800),
                TextColumn("MenuName", "菜名", 1500),
                TextColumn("MenuTypeName", "菜品类别", 1000),
                TextColumn("DepartTypeName", "部门类别", 1000),
                TextColumn("CreatePerson", "退菜人", 1000),
                figure("MenuAmount", "退菜数量"),
                figure("MenuPrice", "单价"),
                figure("SumPaid", "金额"),
                TextColumn("OrderTime", "点菜时间", 1800),
                TextColumn("CreateTime", "退菜时间", 1800),
                TextColumn("Remark", "退菜原因", 2000),
            },
        .centred = {1, 2, 3, 4, 5, 6, 7, 11, 12},
        .detailColumn = 1,
        .openDetail = OpenBillDetail,
    }},
};

} // namespace

frmSubBillQuery::frmSubBillQuery(QWidget* parent) : QueryReportScreen(kSpec, parent) {}

Statement frmSubBillQuery::planned(int, const CriteriaValue&, const Statement& statement)
{
    return SummaryPlanner::answerReturns(*hostContext().connection(), statement);
}
