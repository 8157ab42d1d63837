#include "reports/periods/frmPaymentQuery.h"

#include "reports/bills/frmBillInfo.h"
#include "screens/CriteriaBar.h"
#include "screens/ScreenSpec.h"

namespace {

using K = CriterionKind;
using namespace ColumnKind;

ListSource fromBills(const char* sql, const char* field)
{
    return {.kind = ListSource::Query, .sql = sql, .field = field};
}

ColumnSpec amount(const char* field, const char* caption, int width, bool sum = true)
{
    return {.field = field, .caption = caption, .sum = sum, .kind = Number, .width = width};
}

// After the columns of a summary view: its measures, shown where they are not zero.
std::vector<ColumnSpec> withMeasures(std::vector<ColumnSpec> columns)
{
    auto measure = [](const char* field, const char* caption, const char* condition, int width) {
        return ColumnSpec{.field = field,
                          .caption = caption,
                          .condition = condition,
                          .sum = true,
                          .kind = Number,
                          .width = width};
    };
    columns.push_back(measure("theCount", "笔数", "theCount<>0", 1200));
    columns.push_back(measure("thePaySum", "支付金额", "thePaySum<>0", 1500));
    columns.push_back(measure("theSumPaid", "换算后金额", "theSumPaid<>0", 1500));
    return columns;
}

const ScreenSpec kSpec{
    .name = "frmPaymentQuery",
    .title = "账单支付明细汇总表",
    .size = {10710, 7830},
    .rows =
        {
            {BeginDate,
             EndDate,
             BranchCriterionSpec(),
             {.name = "cboShiftID",
              .kind = K::Text,
              .label = "交班号:",
              .labelWidth = 780,
              .width = 1500}},
            {{.name = "cboTableAreas",
              .kind = K::List,
              .label = "台区:",
              .labelWidth = 600,
              .width = 1300,
              .source = fromBills("SELECT DISTINCT TableAreaID,TableAreaName FROM bi_Bill ORDER "
                                  "BY TableAreaID",
                                  "TableAreaName")},
             BillPeriodSpec(1300),
             {.name = "cboSubject",
              .kind = K::List,
              .label = "科目:",
              .labelWidth = 600,
              .width = 1300,
              .source = {.kind = ListSource::DataList, .list = DataList::Subjects}},
             {.name = "cboCheckOutPerson",
              .kind = K::List,
              .label = "收银:",
              .labelWidth = 600,
              .width = 1100,
              .source = fromBills("SELECT DISTINCT CheckOutPersonID,CheckOutPerson FROM bi_Bill "
                                  "ORDER BY CheckOutPersonID",
                                  "CheckOutPerson")},
             {.name = "cboCreatePerson",
              .kind = K::List,
              .label = "开台:",
              .labelWidth = 600,
              .width = 1100,
              .source = fromBills("SELECT DISTINCT CreatePersonID,CreatePerson FROM bi_Bill "
                                  "ORDER BY CreatePersonID",
                                  "CreatePerson")}},
            {{.name = "optQuery", .kind = K::Views, .width = 1400}, UseTrueData, Saving},
        },
    .views =
        {
            {.option = "支付明细",
             .title = "账单支付明细汇总表",
             .columns = {{.field = "BillID", .caption = "单号", .width = 1500},
                         {.field = "TableName", .caption = "房台", .width = 1400},
                         amount("SumToPay", "应收金额", 1100, false), // repeated on each line
                         {.field = "SubjectName", .caption = "科目", .width = 1100},
                         amount("PaySum", "支付金额", 1100),
                         amount("SumPaid", "换算后金额", 1100),
                         {.field = "CheckOutPerson", .caption = "收银员", .width = 800},
                         {.field = "CreatePerson", .caption = "负责人", .width = 800},
                         {.field = "CheckOutTime", .caption = "结账时间", .width = 1800}},
             .centred = {1, 2, 4, 7, 8},
             .detailColumn = 1,
             .openDetail = OpenBillDetail},
            {.option = "按科目汇总",
             .title = "账单支付明细汇总表（按科目）",
             .columns = withMeasures({{.field = "SubjectName", .caption = "科目", .width = 1500}}),
             .centred = {1}},
            {.option = "按收银员汇总",
             .title = "账单支付明细汇总表（按收银员）",
             .columns =
                 withMeasures({{.field = "SubjectName", .caption = "科目", .width = 1500},
                               {.field = "CheckOutPerson", .caption = "收银员", .width = 1200}}),
             .centred = {1, 2}},
        },
};

} // namespace

frmPaymentQuery::frmPaymentQuery(QWidget* parent) : QueryReportScreen(kSpec, parent) {}

PaymentQueryCriteria frmPaymentQuery::criteria() const
{
    const CriteriaBar& bar = *m_criteria;
    PaymentQueryCriteria c;
    static_cast<BillCriteria&>(c) = ReadBillCriteria(bar);
    c.shiftId = bar.text("cboShiftID");
    c.tableAreaName = bar.chosen("cboTableAreas");
    c.billPeriod = bar.chosen("cboBillPeriod");
    c.subjectName = bar.chosen("cboSubject");
    c.checkOutPerson = bar.chosen("cboCheckOutPerson");
    c.createPerson = bar.chosen("cboCreatePerson");
    return c;
}

QString frmPaymentQuery::viewSql(int view)
{
    return PaymentQuerySql(criteria(), PaymentView(view));
}
