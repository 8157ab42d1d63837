#include "reports/periods/frmPaymentQuery.h"

#include "core/HostContext.h"
#include "db/Connection.h"
#include "query/ScreenSpec.h"
#include "reports/bills/frmBillInfo.h"

namespace {

using K = CriterionKind;
using namespace ColumnKind;

// After the columns of a summary view: its measures, shown where they are not zero.
std::vector<ColumnSpec> withMeasures(std::vector<ColumnSpec> columns)
{
    columns.push_back(SumColumn("theCount", "笔数", 1200, "theCount<>0"));
    columns.push_back(SumColumn("thePaySum", "支付金额", 1500, "thePaySum<>0"));
    columns.push_back(SumColumn("theSumPaid", "换算后金额", 1500, "theSumPaid<>0"));
    return columns;
}

using C = PaymentQueryCriteria;

// A summed row's figures are payments, not bill totals: its payment lines, each on its bill,
// whose tendered and converted amounts add up to the row's and whose count is its 笔数.
DrillSpec paymentLines(std::vector<DrillKey> keys)
{
    return {.make = []() -> ReportScreen* { return new frmPaymentQuery; },
            .view = int(PaymentView::Detail),
            .keys = std::move(keys)};
}

const ScreenSpec kSpec{
    .name = "frmPaymentQuery",
    .title = "账单支付明细汇总表",
    .size = {10710, 7830},
    .criteria = CriteriaOf<C>(PaymentQueryStatement),
    .branch = {PaymentQueryBranch},
    .rows =
        {
            {BeginDate, EndDate, BranchCriterionSpec(), ShiftIdSpec(Into(&C::shiftId))},
            {TableAreaSpec(Into(&C::tableAreaName)),
             BillPeriodSpec(Into(&C::billPeriod), 1300),
             {.name = "cboSubject",
              .kind = K::List,
              .label = "科目:",
              .labelWidth = 600,
              .width = 1300,
              .source = {.kind = ListSource::DataList, .list = DataList::Subjects},
              .into = Into(&C::subjectName)},
             CashierSpec(Into(&C::checkOutPerson)),
             OpenedBySpec(Into(&C::createPerson))},
            {{.name = "optQuery", .kind = K::Views, .width = 1400}, UseTrueData, Saving, Compare},
        },
    .views =
        {
            {.option = "支付明细",
             .title = "账单支付明细汇总表",
             .columns =
                 {{.field = "BillID", .caption = "单号", .width = 1500},
                  {.field = "TableName", .caption = "房台", .width = 1400},
                  // Repeated on each payment line of a bill: not totalled.
                  {.field = "SumToPay", .caption = "应收金额", .kind = Number, .width = 1100},
                  {.field = "SubjectName", .caption = "科目", .width = 1100},
                  SumColumn("PaySum", "支付金额", 1100),
                  SumColumn("SumPaid", "换算后金额", 1100),
                  {.field = "CheckOutPerson", .caption = "收银员", .width = 800},
                  {.field = "CreatePerson", .caption = "负责人", .width = 800},
                  {.field = "CheckOutTime", .caption = "结账时间", .width = 1800}},
             .centred = {1, 2, 4, 7, 8},
             .detailColumn = 1,
             .openDetail = OpenBillDetail},
            {.option = "按科目汇总",
             .title = "账单支付明细汇总表（按科目）",
             .columns = withMeasures({{.field = "SubjectName", .caption = "科目", .width = 1500}}),
             .centred = {1},
             .drill = paymentLines({{1, "SubjectName"}})},
            {.option = "按收银员汇总",
             .title = "账单支付明细汇总表（按收银员）",
             .columns =
                 withMeasures({{.field = "SubjectName", .caption = "科目", .width = 1500},
                               {.field = "CheckOutPerson", .caption = "收银员", .width = 1200}}),
             .centred = {1, 2},
             .drill = paymentLines({{1, "SubjectName"}, {2, "CheckOutPerson"}})},
        },
    .keys = {{"SubjectName", Into(&C::subjectKey)},
             {"CheckOutPerson", Into(&C::cashierKey)},
             {"SubjectID", Into(&C::subjectId)},
             {"BalanceType", Into(&C::balanceType)}},
};

} // namespace

frmPaymentQuery::frmPaymentQuery(QWidget* parent) : QueryReportScreen(kSpec, parent) {}

Statement frmPaymentQuery::planned(int view, const CriteriaValue& criteria,
                                   const Statement& statement)
{
    return SummaryPlanner::answer(
        *hostContext().connection(),
        PaymentQueryFitsSummaries(view, criteria.as<PaymentQueryCriteria>()),
        SummaryPlanner::Source::Payments, statement, PaymentQuerySummaryText());
}
