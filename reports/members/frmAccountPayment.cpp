#include "reports/members/frmAccountPayment.h"

#include "query/ScreenSpec.h"
#include "reports/bills/frmBillInfo.h"

namespace {

using K = CriterionKind;
using C = AccountPaymentCriteria;

CriterionSpec typed(const char* name, const char* label, QString C::*into)
{
    return {.name = name,
            .kind = K::Text,
            .label = label,
            .labelWidth = 900,
            .width = 1500,
            .into = Into(into)};
}

const ScreenSpec kSpec{
    .name = "frmAccountPayment",
    .title = "挂账明细汇总表",
    .size = {10710, 7830},
    .criteria = CriteriaOf<C>(AccountPaymentStatement),
    .rows =
        {
            {BeginDate, EndDate,
             QueryListSpec(
                 "cboAccountType", "账户类别:", 900, 1500,
                 "SELECT DISTINCT AccountTypeID,AccountTypeName FROM ac_AccountType ORDER BY "
                 "AccountTypeID",
                 "AccountTypeName", Into(&C::accountType))},
            {{.name = "cboPaymentType",
              .kind = K::List,
              .label = "挂账方式:",
              .labelWidth = 900,
              .width = 1500,
              .source = {.kind = ListSource::Items,
                         .items = {{"Msg_ComboBox_All"},
                                   {"Msg_PaymentType_CheckOut", "收银挂账"},
                                   {"Msg_PaymentType_UnCheckOut", "收银反结账"},
                                   {"Msg_PaymentType_Payback", "付款"}}},
              .into = Into(&C::paymentType)},
             typed("cboBillID", "单号:", &C::billId),
             QueryListSpec("cboCreatePerson", "收银员:", 900, 1500,
                           "SELECT DISTINCT CreatePersonID,CreatePerson FROM ac_Payment ORDER "
                           "BY CreatePersonID",
                           "CreatePerson", Into(&C::createPerson))},
            {typed("cboAccountID", "账户:", &C::accountId),
             typed("cboAccountName", "账户名:", &C::accountName),
             {.name = "optQuery", .kind = K::Views, .width = 1300}},
        },
    .views =
        {
            {.option = "挂账\n明细表",
             .title = "挂账明细表",
             .columns =
                 {
                     TextColumn("BillID", "单号", 1500),
                     TextColumn("AccountTypeName", "账户类别", 1000),
                     TextColumn("AccountID", "账户", 900),
                     TextColumn("AccountName", "账户名", 1800),
                     SumColumn("Amount", "挂账金额", 1100),
                     TextColumn("CreatePerson", "收银员", 800),
                     TextColumn("CreateTime", "挂账时间", 1800),
                     TextColumn("Remark", "备注", 1200),
                 },
             .centred = {1, 2, 3, 6, 7},
             .detailColumn = 1,
             .openDetail = OpenBillDetail},
            {.option = "挂账明细\n汇总表",
             .title = "挂账明细汇总表",
             .columns =
                 {
                     TextColumn("AccountTypeName", "账户类别", 1200),
                     TextColumn("AccountID", "账户", 1000),
                     TextColumn("AccountName", "账户名", 2000),
                     SumColumn("theCount", "笔数", 900),
                     SumColumn("theSum", "挂账金额", 1300),
                 },
             .centred = {1, 2}},
            {.option = "挂账结余\n汇总表",
             .title = "挂账结余汇总表",
             .columns =
                 {
                     TextColumn("AccountTypeName", "账户类别", 1200),
                     TextColumn("AccountID", "账户", 1000),
                     TextColumn("AccountName", "账户名", 2000),
                     SumColumn("Balance", "结余", 1300),
                     {.field = "CreditLimit",
                      .caption = "信用限额",
                      .kind = ColumnKind::Number,
                      .width = 1300},
                 },
             .centred = {1, 2}},
        },
};

} // namespace

frmAccountPayment::frmAccountPayment(QWidget* parent) : QueryReportScreen(kSpec, parent) {}

QList<QPair<QDate, QDate>> frmAccountPayment::rangesToCheck() const
{
    if (currentView() == AccountBalancesView)
        return {};
    return QueryReportScreen::rangesToCheck();
}
