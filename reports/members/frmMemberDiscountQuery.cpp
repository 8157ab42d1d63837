#include "reports/members/frmMemberDiscountQuery.h"

#include "core/HostContext.h"
#include "db/Connection.h"
#include "query/ItemCriteria.h"
#include "query/ScreenSpec.h"

namespace {

using K = CriterionKind;
using C = MemberDiscountCriteria;

const ScreenSpec kSpec{
    .name = "frmMemberDiscountQuery",
    .title = "会员折扣汇总表",
    .size = {10710, 7830},
    .criteria = CriteriaOf<C, ItemLineCriteria>(MemberDiscountStatement),
    .branch = {ItemLineBranch},
    .rows =
        {
            {BeginDate, EndDate, BranchCriterionSpec()},
            {DepartTypesSpec(Into(&C::departType), "cboDepartType", 1500),
             MenuTypesSpec(Into(&C::menuType), "cboMenuType", "cboDepartType", 1500),
             IsSentMenuSpec(Into(&C::giftScope))},
            {{.name = "cboOrderBy",
              .kind = K::List,
              .label = "排序方式:",
              .labelWidth = 900,
              .width = 1500,
              .source = {.kind = ListSource::Columns},
              .into = Into(&C::orderBy)},
             {.name = "chkOrderBy",
              .kind = K::Check,
              .width = 800,
              .text = "倒序",
              .into = Into(&C::descending)},
             UseTrueData,
             Saving},
        },
    .views = {{
        .title = "会员折扣汇总表",
        .columns =
            {
                TextColumn("MenuID", "菜品编号", 1000),
                TextColumn("MenuName", "菜品名称", 1600),
                TextColumn("MenutypeName", "菜品类别", 1000),
                TextColumn("DepartTypeName", "部门类别", 1000),
                {.field = "MenuPrice",
                 .caption = "原单价",
                 .kind = ColumnKind::Number,
                 .width = 900},
                {.field = "MenuPrice2",
                 .caption = "售单价",
                 .kind = ColumnKind::Number,
                 .width = 900},
                SumColumn("AmountOfSell", "销售数量", 1000),
                SumColumn("SumOfDisCount", "折扣金额", 1100),
                {.field = "RateOfDisCount",
                 .caption = "折扣率",
                 .kind = ColumnKind::Percent,
                 .width = 900},
            },
        .centred = {1, 3, 4},
    }},
};

} // namespace

frmMemberDiscountQuery::frmMemberDiscountQuery(QWidget* parent) : QueryReportScreen(kSpec, parent)
{
}

Statement frmMemberDiscountQuery::planned(int, const CriteriaValue&, const Statement& statement)
{
    // Every criterion of the screen is kept by the discount summary.
    return SummaryPlanner::answer(*hostContext().connection(), true,
                                  SummaryPlanner::Source::Discounts, statement,
                                  MemberDiscountSummaryText());
}
