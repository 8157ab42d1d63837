#include "reports/bills/frmBillQuery.h"

#include "core/LanguageSection.h"
#include "query/QueryColumn.h"
#include "query/ScreenSpec.h"
#include "reports/bills/frmBillInfo.h"
#include "sheet/Sheet.h"
#include "ui/CriteriaBar.h"
#include "ui/ctlQuery.h"

#include <QCheckBox>
#include <QComboBox>

#include <stdexcept>

namespace {

using K = CriterionKind;
using namespace ColumnKind;
using namespace BackColour;

ListSource fromBills(const char* sql, const char* field)
{
    return {.kind = ListSource::Query, .sql = sql, .field = field};
}

// A filter of the bills: a check box with its own caption.
CriterionSpec check(const char* name, int width, const char* text, bool BillQueryCriteria::*into)
{
    return {.name = name,
            .kind = CriterionKind::Check,
            .width = width,
            .text = text,
            .into = Into(into)};
}

using C = BillQueryCriteria;

const ScreenSpec kSpec{
    .name = "frmBillQuery",
    .title = "历史账单查询",
    .size = {11070, 7980},
    .criteria = CriteriaOf<C>(BillQueryStatement),
    .branch = {BillQueryBranch},
    .rows =
        {
            {BeginDate, EndDate, BranchCriterionSpec(), BillPeriodSpec(Into(&C::billPeriod))},
            {{.name = "cboDiscountName",
              .kind = K::List,
              .label = "打折方式:",
              .labelWidth = 900,
              .width = 1800,
              .source = fromBills(
                  "SELECT DISTINCT DiscountID,DiscountName FROM bi_Bill ORDER BY DiscountID",
                  "DiscountName"),
              .into = Into(&C::discountName)},
             {.name = "cboOrderBy",
              .kind = K::List,
              .label = "排序:",
              .labelWidth = 900,
              .width = 1800,
              .into = Into(&C::orderBy)},
             {.name = "optOrderBy_0", .kind = K::Option, .width = 800, .text = "顺序"},
             {.name = "optOrderBy_1",
              .kind = K::Option,
              .width = 800,
              .text = "倒序",
              .into = Into(&C::descending)},
             ShiftIdSpec(Into(&C::shiftId), 1900)},
            {{.name = "lblFilter", .kind = K::Label, .label = "过滤:", .width = 900},
             check("chkHaveDiscount", 900, "有打折", &C::haveDiscount),
             check("chkWithMemberCheck", 1500, "按会员价打折", &C::withMemberCheck),
             check("chkNotOnlyInCash", 1300, "非现金结账", &C::notOnlyInCash),
             check("chkCheckOutNull", 900, "零结账", &C::checkOutNull),
             check("chkSumOfInvoice", 900, "含发票", &C::sumOfInvoice),
             check("chkPrintCount", 1100, "多次埋单", &C::printCount),
             check("chkSumPaid", 1700, "应收实收不相等", &C::sumPaid)},
            {TableAreaSpec(Into(&C::tableAreaName), "cboTableAreaName"),
             {.name = "cboTableName",
              .kind = K::List,
              .label = "房台:",
              .labelWidth = 600,
              .width = 1300,
              .source = fromBills("SELECT DISTINCT TableID,TableName FROM bi_Bill ORDER BY TableID",
                                  "TableName"),
              .into = Into(&C::tableName)},
             OpenedBySpec(Into(&C::createPerson)),
             {.name = "cboChargePerson",
              .kind = K::List,
              .label = "埋单:",
              .labelWidth = 600,
              .width = 1100,
              .source = fromBills("SELECT DISTINCT ChargePersonID,ChargePerson FROM bi_Bill "
                                  "ORDER BY ChargePersonID",
                                  "ChargePerson"),
              .into = Into(&C::chargePerson)},
             CashierSpec(Into(&C::checkOutPerson))},
            {UseTrueData, Saving},
        },
    .views =
        {
            {
                .title = "历史账单查询",
                .columns =
                    {
                        {.field = "BillID", .caption = "单号", .width = 1500},
                        {.field = "TableFullName", .caption = "房台", .width = 1100},
                        {.field = "BillPeriod", .caption = "餐段", .width = 600},
                        {.field = "PeopleCount",
                         .caption = "人数",
                         .sum = true,
                         .kind = Number,
                         .width = 550},
                        {.field = "|ChargeMan",
                         .caption = "负责人",
                         .sub = {{.field = "CreatePerson", .caption = "开台人", .width = 700},
                                 {.field = "ChargePerson", .caption = "埋单人", .width = 700},
                                 {.field = "CheckOutPerson", .caption = "收银员", .width = 700}}},
                        SumColumn("SumOfConsume", "消费总额", 850, "", Grey),
                        {.field = "|SumOfService",
                         .caption = "服务费",
                         .sub = {{.field = "ServiceRate",
                                  .caption = "服务费率",
                                  .kind = Percent,
                                  .width = 840,
                                  .back = Grey},
                                 SumColumn("SumOfService", "服务费", 700, "", Grey)}},
                        {.field = "|Discount",
                         .caption = "折扣",
                         .sub = {{.field = "DiscountName",
                                  .caption = "打折方式",
                                  .width = 840,
                                  .back = Grey},
                                 {.field = "DiscountRate",
                                  .caption = "折扣率",
                                  .kind = Percent,
                                  .width = 700,
                                  .back = Grey},
                                 SumColumn("SumForDiscount", "折扣额", 700, "", Grey)}},
                        SumColumn("SumToPay", "应收金额", 850, "", Grey),
                        {.field = "|SumPaid",
                         .caption = "实收金额",
                         .sub = {SumColumn("SumInCash", "现金", 800, "", Yellow),
                                 SumColumn("SumPaid-SumInCash|SumOfOther", "其他", 750, "", Yellow),
                                 SumColumn("SumPaid", "实收金额", 850, "", Yellow)}},
                        SumColumn("SumOfInvoice", "发票金额", 850, "", Grey),
                        {.field = "PrintCount", .caption = "埋单次数", .width = 500},
                    },
                .emptyRows = 28,
                .centred = {1, 2, 3, 5, 6, 7, 19},
                .detailColumn = 1,
                .openDetail = OpenBillDetail,
            }},
    .keys = {{"Settled", Into(&C::settledOnly)},
             {"BillHour", Into(&C::createHour)},
             {"TableAreaName", Into(&C::tableAreaKey)},
             {"TableName", Into(&C::tableKey)},
             {"BillPeriods", Into(&C::billPeriods)}},
    .texts = {{"Msg_MemberPrice", "会员价"},
              // the sort choice by table number, which is no column of the grid
              {"ctlQuery1", "台号", "TableID"}},
};

} // namespace

frmBillQuery::frmBillQuery(QWidget* parent) : QueryReportScreen(kSpec, parent)
{
    connect(static_cast<QCheckBox*>(m_criteria->control("chkCheckOutNull")), &QCheckBox::clicked,
            this, [this] { applyCheckOutNullCondition(); });
}

void frmBillQuery::formLoad()
{
    QComboBox* orderBy = m_criteria->combo("cboOrderBy");
    orderBy->clear();
    for (const BillQuerySortChoice& choice : BillQuerySortChoices)
        orderBy->addItem(
            languageTexts()->text(QStringLiteral("ctlQuery1"), QString::fromLatin1(choice.field)));
    orderBy->setCurrentIndex(0);
    static_cast<QAbstractButton*>(m_criteria->control("optOrderBy_0"))->setChecked(true);
    applyCheckOutNullCondition();
}

void frmBillQuery::formatGrid(int, Sheet* grid)
{
    CellStyle right;
    right.hAlign = Qt::AlignRight;
    grid->setColumnStyle(11, right); // the discount method beside its figures
}

void frmBillQuery::completeCriteria(CriteriaValue& criteria)
{
    criteria.as<BillQueryCriteria>().memberPriceName = ownText("Msg_MemberPrice");
}

void frmBillQuery::applyCheckOutNullCondition()
{
    // Zero-settled bills count in no total, unless they are what is asked for.
    const QString condition = m_criteria->shown(&BillQueryCriteria::checkOutNull)
                                  ? QString()
                                  : QStringLiteral("CheckOutNull=0");
    for (const auto& column : ctlQuery1->Columns()) {
        if (column->isSummed())
            column->setCondition(condition);
        for (const auto& sub : column->SubColumns())
            if (sub->isSummed())
                sub->setCondition(condition);
    }
}

void frmBillQuery::afterQuery(int, Sheet* grid)
{
    // Bills settled more than once stand out in red.
    const int last = grid->maxCols();
    CellStyle red;
    red.foreColor = QColor(255, 0, 0);
    grid->setReDraw(false);
    for (int row = 1; row <= grid->maxRows(); ++row)
        if (ctlQuery1->rowRole(row) == QueryFill::RowRole::Data &&
            grid->value(row, last).toDouble() > 1)
            grid->applyStyle({row, 1, row, last}, red);
    grid->setReDraw(true);
}
