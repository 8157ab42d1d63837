#include "reports/members/frmMemberDiscountQuery.h"

#include "screens/CriteriaBar.h"
#include "screens/ItemCriteria.h"
#include "screens/ScreenSpec.h"

#include <QDateEdit>

namespace {

using K = CriterionKind;

const ScreenSpec kSpec{
    .name = "frmMemberDiscountQuery",
    .title = "会员折扣汇总表",
    .size = {10710, 7830},
    .rows =
        {
            {BeginDate, EndDate, BranchCriterionSpec()},
            {DepartTypesSpec("cboDepartType", 1500),
             MenuTypesSpec("cboMenuType", "cboDepartType", 1500), IsSentMenuSpec()},
            {{.name = "cboOrderBy",
              .kind = K::List,
              .label = "排序方式:",
              .labelWidth = 900,
              .width = 1500},
             {.name = "chkOrderBy", .kind = K::Check, .width = 800, .text = "倒序"},
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

void frmMemberDiscountQuery::formLoad()
{
    fillSortChoices("cboOrderBy");
}

QString frmMemberDiscountQuery::viewSql(int)
{
    const CriteriaBar& bar = *m_criteria;
    MemberDiscountCriteria c;
    c.departType = bar.chosen("cboDepartType");
    c.menuType = bar.chosen("cboMenuType");
    c.giftScope = bar.choice("cboIsSentMenu");
    c.useTrueData = bar.checked("chkUseTrueData");
    c.saving = bar.checked("chkSaving");
    c.orderBy = sortField("cboOrderBy");
    c.descending = bar.checked("chkOrderBy");
    c.branch = bar.requireBranch(); // throws when the branch choice is refused
    return MemberDiscountSql(c);
}

// Bill dates carry no time of day: the end date itself bounds the range, included.
QVariantList frmMemberDiscountQuery::viewParameters(int)
{
    return {dtpBegin->date(), dtpEnd->date()};
}
