#include "reports/bills/frmBillItemReport.h"

#include "core/mod_ADO.h"
#include "query/ItemCriteria.h"
#include "query/ScreenSpec.h"

#include <QComboBox>

namespace {

using K = CriterionKind;
using namespace ColumnKind;
using namespace BackColour;

// Each view: its key columns, then the quantity, the amounts and the sales total.
std::vector<ColumnSpec> columns(std::vector<ColumnSpec> keys)
{
    keys.push_back(SumColumn("theAmount1", "销售数量", 1200, "theAmount1<>0", Grey));
    keys.push_back(SumColumn("theConsume1", "消费总额", 1200, "theConsume1<>0", Yellow));
    keys.push_back(SumColumn("theService1", "服务费", 1200, "theService1<>0", Yellow));
    keys.push_back(SumColumn("theDiscount1", "折扣金额", 1200, "theDiscount1<>0", Yellow));
    keys.push_back(SumColumn("theConsume1+theService1-theDiscount1|ConsumeTotal", "销售合计", 1200,
                             "(theConsume1+theService1-theDiscount1)<>0", Grey));
    return keys;
}

using C = BillItemReportCriteria;

const ScreenSpec kSpec{
    .name = "frmBillItemReport",
    .title = "销售日报表",
    .size = {11070, 7980},
    .criteria = CriteriaOf<C>(BillItemReportStatement),
    .branch = {BillItemReportBranch},
    .rows =
        {
            {BeginDate, EndDate, BranchCriterionSpec("分店:", 1500, "rp_BillItem_Upload"), Compare},
            {{.name = "cboDepartType",
              .kind = K::List,
              .label = "部门类别:",
              .labelWidth = 900,
              .width = 1300,
              .source = {.kind = ListSource::Screen, .owner = "cboBranch"},
              .into = Into(&C::departType)},
             {.name = "cboMenuType",
              .kind = K::List,
              .label = "菜品类别:",
              .labelWidth = 900,
              .width = 1300,
              .source = {.kind = ListSource::Screen, .owner = "cboDepartType"},
              .into = Into(&C::menuType)},
             MenuTextSpec(Into(&C::menuText))},
            {{.name = "optQuery", .kind = K::Views, .width = 1800}},
        },
    .views =
        {
            {.option = "按菜品明细汇总",
             .title = "销售日报表(按菜品明细汇总)",
             .columns =
                 columns({TextColumn("MenuID", "菜号", 800), TextColumn("MenuName", "菜名", 1800),
                          TextColumn("MenuUnitName", "单位", 800),
                          TextColumn("MenuTypeName", "菜品类别", 1000)}),
             .centred = {1, 3, 4}},
            {.option = "按菜品类别汇总",
             .title = "销售日报表(按菜品类别汇总)",
             .columns = columns({TextColumn("DepartTypeName", "部门类别", 1500),
                                 TextColumn("MenuTypeName", "菜品类别", 1500)}),
             .centred = {1, 2}},
            {.option = "按部门类别汇总",
             .title = "销售日报表(按部门类别汇总)",
             .columns = columns({TextColumn("DepartTypeName", "部门类别", 1500)}),
             .centred = {1}},
            {.option = "按出品部门汇总",
             .title = "销售日报表(按出品部门汇总)",
             .columns = columns({TextColumn("DepartName", "出品部门", 1500)}),
             .centred = {1}},
        },
};

} // namespace

frmBillItemReport::frmBillItemReport(QWidget* parent) : QueryReportScreen(kSpec, parent) {}

void frmBillItemReport::fillList(const QString& name, QComboBox* combo)
{
    // What the chosen branches uploaded; nothing while "(部分)" has no branch ticked.
    QString problem;
    const CriteriaValue criteria = criteriaAsShown(&problem);
    if (!problem.isEmpty())
        return;
    const auto& c = criteria.as<C>();
    const bool departTypes = name == QLatin1String("cboDepartType");
    const Statement statement =
        departTypes ? BillItemReportDepartTypesStatement(c) : BillItemReportMenuTypesStatement(c);
    const QString column =
        departTypes ? QStringLiteral("DepartTypeName") : QStringLiteral("MenuTypeName");
    QString error;
    for (const RowDict& row : ExecuteRows(branchScope(criteria).fill(statement), &error))
        combo->addItem(row.value(column).toString());
    MarkListFailure(combo, error);
}
