#include "reports/periods/frmDepartQueryTable.h"

#include "core/HostContext.h"
#include "db/Connection.h"
#include "query/ItemCriteria.h"
#include "query/ScreenSpec.h"
#include "query/SummaryPlanner.h"
#include "reports/periods/DepartQuerySql.h"
#include "ui/CriteriaBar.h"

#include <QComboBox>

namespace {

using K = CriterionKind;
using C = DepartItemCriteria;

ColumnSpec figure(const char* field, const char* caption)
{
    return SumColumn(field, caption, 1200);
}

const ScreenSpec kSpec{
    .name = "frmDepartQueryTable",
    .title = "部门出品统计表",
    .size = {11070, 7980},
    .criteria = CriteriaOf<C, DepartQueryCriteria>(DepartItemStatement),
    .branch = {ItemLineBranch},
    .rows =
        {
            {BeginDate, EndDate, BranchCriterionSpec(),
             IsSentMenuSpec(Into(&DepartQueryCriteria::giftScope))},
            {DepartTypesSpec(Into(&C::departType), "cboDepartType", 1500),
             MenuTypesSpec(Into(&C::menuType), "cboMenuType", "cboDepartType"),
             {.name = "txtPrice_0",
              .kind = K::TextBox,
              .label = "平均售价:",
              .labelWidth = 900,
              .width = 700,
              .into = Into(&C::lowPrice)},
             {.name = "lblPriceTo", .kind = K::Label, .label = "-", .width = 180},
             {.name = "txtPrice_1", .kind = K::TextBox, .width = 700, .into = Into(&C::highPrice)}},
            {{.name = "cboOrderBy",
              .kind = K::List,
              .label = "排序:",
              .labelWidth = 600,
              .width = 1500,
              .into = Into(&C::orderBy)},
             {.name = "chkOrderBy",
              .kind = K::Check,
              .width = 800,
              .text = "降序",
              .into = Into(&C::descending)},
             UseTrueData,
             Saving,
             Compare},
        },
    .views = {{
        .title = "部门出品统计表",
        .columns =
            {
                TextColumn("MenuID", "菜品编码", 1000),
                TextColumn("MenuName", "菜品名称", 2000),
                TextColumn("DepartTypeName", "部门类别", 1200),
                TextColumn("MenuTypeName", "菜品类别", 1200),
                TextColumn("MenuUnitName", "单位", 600),
                figure("AmountOfOut", "出品数量"),
                figure("SumOfOut", "出品金额"),
                figure("SumOfDicount", "折扣金额"),
                figure("SumOfPaid", "实售金额"),
                figure("AvgOfPaid", "平均售价"),
            },
        .centred = {1, 2, 3, 4, 5},
    }},
};

} // namespace

frmDepartQueryTable::frmDepartQueryTable(QWidget* parent) : QueryReportScreen(kSpec, parent) {}

void frmDepartQueryTable::formLoad()
{
    // One sort choice per grid column, captioned as the column; none chosen at the start.
    QComboBox* orderBy = m_criteria->combo("cboOrderBy");
    orderBy->clear();
    for (const char* field : DepartItemFields)
        orderBy->addItem(languageTexts()->text(QStringLiteral("ctlQuery1"), QLatin1String(field)));
    orderBy->setCurrentIndex(-1);
}

Statement frmDepartQueryTable::planned(int, const CriteriaValue&, const Statement& statement)
{
    // Every criterion of the screen is kept by the item summaries.
    return SummaryPlanner::answer(*hostContext().connection(), true, SummaryPlanner::Source::Items,
                                  statement, DepartItemSummaryText());
}
