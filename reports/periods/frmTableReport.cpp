#include "reports/periods/frmTableReport.h"

#include "core/HostContext.h"
#include "db/Connection.h"
#include "db/Money.h"
#include "query/ScreenSpec.h"
#include "reports/bills/frmBillQuery.h"
#include "reports/periods/TableReportSql.h"
#include "sheet/Sheet.h"
#include "ui/CriteriaBar.h"

#include <cmath>

namespace {

using K = CriterionKind;

// A measure summed over the records folded into a row and in the totals.
ColumnSpec measure(const char* field, const char* caption, const char* condition)
{
    ColumnSpec c = SumColumn(field, caption, 1100, condition);
    c.value6 = 1;
    return c;
}

// The grid columns after the leading ones: the six measures and the two averages.
std::vector<ColumnSpec> columns(std::vector<ColumnSpec> leading)
{
    leading.push_back(measure("theBillCount", "开台数", "theBillCount<>0"));
    leading.push_back(measure("thePeopleCount", "就餐人数", "thePeopleCount<>0"));
    leading.push_back(measure("theConsume", "消费合计", "theConsume<>0"));
    leading.push_back(measure("theService", "服务费合计", "theService<>0"));
    leading.push_back(measure("theDiscount", "折扣合计", "theDiscount<>0"));
    leading.push_back(measure("thePaid", "实收合计", "thePaid<>0"));
    leading.push_back({.field = "|avrBillCount",
                       .caption = "单均消费",
                       .kind = ColumnKind::Number,
                       .width = 1100});
    leading.push_back({.field = "|avrPeopleCount",
                       .caption = "人均消费",
                       .kind = ColumnKind::Number,
                       .width = 1100});
    return leading;
}

// A row's bills: the bill query on the table's (area's) settled bills, the area's from its
// subtotal row, every table's from the totals row.
DrillSpec bills(std::vector<DrillKey> keys)
{
    return {.make = []() -> ReportScreen* { return new frmBillQuery; },
            .keys = std::move(keys),
            .fixed = {{"Settled", "1"}}};
}

const ScreenSpec kSpec{
    .name = "frmTableReport",
    .title = "房台营业分析表",
    .size = {11595, 8325},
    .criteria = CriteriaOf<TableReportCriteria>(TableReportStatement),
    .branch = {TableReportBranch},
    .rows =
        {
            {BeginDate, EndDate, BranchCriterionSpec(),
             BillPeriodSpec(Into(&TableReportCriteria::billPeriod))},
            {{.name = "optQuery", .kind = K::Views, .width = 1700},
             UseTrueData,
             Saving,
             {.name = "chkNotNull",
              .kind = K::LabelledCheck,
              .label = "只显示有营业的房台",
              .labelWidth = 1900,
              .into = Into(&TableReportCriteria::notNull)},
             Compare},
        },
    .views =
        {
            {.option = "房台明细",
             .title = "房台营业分析明细表",
             .columns = columns({TextColumn("TableAreaName", "台区", 1600),
                                 TextColumn("TableName", "房台", 1600)}),
             .keyFields = "TableAreaID,TableID",
             .keyLevel = 1,
             .emptyRows = 38,
             .centred = {1, 2},
             .drill = bills({{1, "TableAreaName"}, {2, "TableName"}})},
            {.option = "台区汇总",
             .title = "台区营业分析汇总表",
             .columns = columns({TextColumn("TableAreaName", "台区", 1600)}),
             .keyFields = "TableAreaID",
             .emptyRows = 38,
             .centred = {1},
             .drill = bills({{1, "TableAreaName"}})},
        },
};

} // namespace

frmTableReport::frmTableReport(QWidget* parent) : QueryReportScreen(kSpec, parent) {}

Statement frmTableReport::planned(int, const CriteriaValue&, const Statement& statement)
{
    // Every criterion of the screen is kept by the table summary.
    return SummaryPlanner::answer(*hostContext().connection(), true, SummaryPlanner::Source::Tables,
                                  statement, TableReportSummaryText());
}

Money frmTableReport::average(const Money& amount, double count)
{
    const double units = std::round(double(amount.units()) / count / 100.0) * 100.0;
    return Money::fromUnits(std::int64_t(units));
}

void frmTableReport::formatGrid(int view, Sheet* grid)
{
    if (view != 0)
        return;
    CellStyle areas;
    areas.hAlign = Qt::AlignHCenter;
    areas.vAlign = Qt::AlignVCenter;
    grid->setColumnStyle(1, areas);
}

void frmTableReport::afterQuery(int view, Sheet* grid)
{
    // Columns by view: bills, guests, money received, then the two averages.
    const int bills = view == 0 ? 3 : 2, guests = bills + 1, paid = bills + 5;
    const int perBill = bills + 6, perGuest = bills + 7;
    grid->setReDraw(false);
    grid->setColumnDecimals(perBill, 2);
    grid->setColumnDecimals(perGuest, 2);
    for (int row = 1; row <= grid->maxRows(); ++row) {
        const Money received = Money::fromVariant(grid->value(row, paid));
        const double n = grid->value(row, bills).toDouble();
        const double g = grid->value(row, guests).toDouble();
        if (n != 0)
            grid->setValue(row, perBill, average(received, n).toDouble());
        if (g != 0)
            grid->setValue(row, perGuest, average(received, g).toDouble());
    }
    grid->setReDraw(true);
}
