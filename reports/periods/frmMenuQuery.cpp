#include "reports/periods/frmMenuQuery.h"

#include "core/modMessage.h"
#include "query/ItemCriteria.h"
#include "query/ScreenSpec.h"
#include "reports/periods/MenuQuerySql.h"
#include "ui/CriteriaBar.h"
#include "ui/ctlQuery.h"

namespace {

using K = CriterionKind;
using namespace BackColour;

using C = MenuQueryCriteria;

CriterionSpec flag(const char* name, const char* caption, int width, bool C::*into)
{
    return {.name = name, .kind = K::Check, .width = width, .text = caption, .into = Into(into)};
}

ColumnSpec price(const char* field, const char* caption, int width)
{
    return {.field = field,
            .caption = caption,
            .kind = ColumnKind::Number,
            .width = width,
            .back = Grey};
}

// A check mark where the flag is set.
ColumnSpec mark(const char* field, const char* caption, const char* condition, int width = 450)
{
    return {.field = field, .caption = caption, .condition = condition, .width = width};
}

ColumnSpec yellowText(const char* field, const char* caption)
{
    return {.field = field, .caption = caption, .width = 1000, .back = Yellow};
}

const ScreenSpec kSpec{
    .name = "frmMenuQuery",
    .title = "菜品资料",
    .size = {10710, 7830},
    .criteria = CriteriaOf<C>(MenuQueryStatement),
    .rows =
        {
            {DepartTypesSpec(Into(&C::departType), "cboDepartType", 1300),
             MenuTypesSpec(Into(&C::menuType), "cboMenuType", "cboDepartType"),
             {.name = "txtMenuName",
              .kind = K::TextBox,
              .label = "菜品名称:",
              .labelWidth = 900,
              .width = 1500,
              .text = "输入菜品的编码、条码（前面部分）或者名称、简拼（任何部分）",
              .into = Into(&C::menuText)},
             {.name = "txtPrice_0",
              .kind = K::TextBox,
              .label = "价格范围:",
              .labelWidth = 900,
              .width = 700,
              .into = Into(&C::lowPrice)},
             {.name = "lblPriceTo", .kind = K::Label, .label = "-", .width = 180},
             {.name = "txtPrice_1", .kind = K::TextBox, .width = 700, .into = Into(&C::highPrice)}},
            {flag("chkIsMenuSets", "套餐", 800, &C::menuSets),
             flag("chkBySeanson", "时价菜", 1000, &C::marketPrice),
             flag("chkIsService", "免服务费", 1100, &C::noService),
             flag("chkIsNull", "沽清", 800, &C::soldOut),
             flag("chkNeedToPrint", "不分单打印", 1300, &C::notSplit)},
            {flag("chkAutoSaleOut", "自动出库", 1100, &C::autoIssue),
             flag("chkIsDiscount", "参与积分", 1100, &C::points),
             flag("chkCostPrice", "销售提成", 1100, &C::commission),
             flag("chkIsTableOrder", "按台上菜", 1100, &C::tableOrder),
             flag("chkIsPersonOrder", "按人上菜", 1100, &C::personOrder)},
        },
    .views = {{
        .title = "菜品资料",
        .columns =
            {
                TextColumn("MenuID", "菜号", 600),
                TextColumn("MenuName", "菜名", 1580),
                TextColumn("ToSpell", "简拼", 700),
                TextColumn("BarCode", "条码", 1000),
                TextColumn("MenuUnit", "单位", 500),
                price("MenuPrice1", "标准价", 700),
                price("MenuPrice3", "会员价", 700),
                price("MenuPrice2", "包房价", 700),
                price("MenuPrice4", "包房会员价", 1000),
                price("CostPrice", "销售提成", 850),
                yellowText("MenuTypeName", "菜品类别"),
                yellowText("DepartTypeName", "部门类别"),
                mark("'√'|IsMenuSets", "套餐", "IsMenuSets<>0"),
                mark("'√'|BySeanson", "时价", "BySeanson<>0"),
                mark("'√'|IsService", "服务费", "IsService<>0", 650),
                mark("'√'|IsNull", "沽清", "IsNull<>0"),
                mark("'√'|NeedToPrint", "分单", "NeedToPrint<>0"),
                mark("'√'|AutoSaleOut", "出库", "AutoSaleOut<>0"),
                mark("'√'|IsDiscount", "积分", "IsDiscount<>0"),
            },
        .keyFields = "MenuID,MenuUnitID",
        .centred = {1, 3, 5, 13, 14, 15, 16, 17, 18, 19},
    }},
    .caption = "菜品资料查询",
};

} // namespace

frmMenuQuery::frmMenuQuery(QWidget* parent) : QueryReportScreen(kSpec, parent) {}

QString frmMenuQuery::printHeader() const
{
    // The menu as it stands: the title alone.
    return Msg(QStringLiteral("Msg_Report_LargeFont")) +
           Msg(QStringLiteral("Msg_Report_SmallFont")) + QStringLiteral("/f1/c") +
           queryControl()->Title() + QStringLiteral("/n/n");
}
