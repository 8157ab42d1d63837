#include "reports/periods/frmPaymentReport.h"

#include "query/ScreenSpec.h"
#include "reports/periods/PaymentReportSql.h"

namespace {

// The leading columns of a view, then the count and the two amounts every view totals.
std::vector<ColumnSpec> columns(std::vector<ColumnSpec> leading)
{
    leading.push_back(SumColumn("theCount1", "笔数", 1200, "theCount1<>0"));
    leading.push_back(SumColumn("thePaySum1", "支付金额", 1500, "thePaySum1<>0"));
    leading.push_back(SumColumn("theSumPaid1", "换算后金额", 1500, "theSumPaid1<>0"));
    return leading;
}

const ScreenSpec kSpec{
    .name = "frmPaymentReport",
    .title = "收银日报表",
    .size = {11070, 7980},
    .criteria = CriteriaOf<PaymentReportCriteria>(PaymentReportStatement),
    .branch = {PaymentReportBranch},
    .rows =
        {
            {BeginDate, EndDate, BranchCriterionSpec("分店:", 1500, "st_BOM")},
            {{.name = "optQuery", .kind = CriterionKind::Views, .width = 2300}, Compare},
        },
    .views =
        {
            {.option = "按支付方式汇总",
             .title = "收银日报表(按支付方式汇总)",
             .columns = columns({TextColumn("SubjectName", "科目", 1500)}),
             .centred = {1}},
            {.option = "按分店汇总",
             .title = "收银日报表(按分店汇总)",
             .columns = columns({TextColumn("BranchName", "分店", 1500)}),
             .centred = {1}},
            {.option = "按分店、支付方式汇总",
             .title = "收银日报表(按分店、支付方式汇总)",
             .columns = columns(
                 {TextColumn("BranchName", "分店", 1500), TextColumn("SubjectName", "科目", 1500)}),
             .centred = {1, 2}},
        },
};

} // namespace

frmPaymentReport::frmPaymentReport(QWidget* parent) : QueryReportScreen(kSpec, parent) {}
