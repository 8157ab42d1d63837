#include "reports/bills/frmBillAccountQuery.h"

#include "query/ScreenSpec.h"
#include "reports/bills/HiddenBranchBill.h"
#include "reports/bills/frmBillInfo.h"

namespace {

using K = CriterionKind;
using C = BillAccountQueryCriteria;

CriterionSpec fromTransfers(const char* name, const char* label, const char* sql, const char* field,
                            QString C::*into)
{
    return QueryListSpec(name, label, 900, 1500, sql, field, Into(into));
}

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
    .name = "frmBillAccountQuery",
    .title = "转账明细汇总表",
    .size = {10710, 7830},
    .criteria = CriteriaOf<C>(BillAccountQueryStatement),
    .branch = {BillAccountBranch},
    .rows =
        {
            {BeginDate, EndDate,
             fromTransfers("cboAccountType", "转账类型:",
                           "SELECT DISTINCT AccountType FROM bi_BillAccount ORDER BY AccountType",
                           "AccountType", &C::accountType)},
            {fromTransfers(
                 "cboSubjectName", "账号类型:",
                 "SELECT DISTINCT SubjectID,SubjectName FROM bi_BillAccount ORDER BY SubjectID",
                 "SubjectName", &C::subjectName),
             fromTransfers("cboUserName", "收银员:",
                           "SELECT DISTINCT UserID,UserName FROM bi_BillAccount ORDER BY UserID",
                           "UserName", &C::userName),
             typed("cboBillID", "单号:", &C::billId)},
            {typed("cboAccountID", "账号:", &C::accountId),
             typed("cboAccountName", "账号名:", &C::accountName),
             {.name = "optQuery", .kind = K::Views, .width = 1300}},
        },
    .views =
        {
            {.option = "转账\n明细表",
             .title = "转账明细表",
             .columns =
                 {
                     TextColumn("BillID", "单号", 1500),
                     TextColumn("AccountType", "转账类型", 1000),
                     TextColumn("SubjectName", "账号类型", 1000),
                     TextColumn("AccountID", "账号", 1300),
                     TextColumn("AccountName", "账号名", 1800),
                     SumColumn("Amount", "转账金额", 1100),
                     TextColumn("UserName", "收银员", 800),
                     TextColumn("PeriodName", "餐段", 800),
                     TextColumn("CreateTime", "转账时间", 1800),
                 },
             .centred = {1, 2, 3, 4, 5, 7, 8, 9},
             .detailColumn = 1,
             .openDetail = OpenBillDetail},
            {.option = "转账明细\n汇总表",
             .title = "转账明细汇总表",
             .columns =
                 {
                     TextColumn("AccountType", "转账类型", 1500),
                     TextColumn("SubjectName", "账号类型", 1500),
                     SumColumn("theCount", "笔数", 1200, "theCount<>0"),
                     SumColumn("theAmount", "转账金额", 1500, "theAmount<>0"),
                 },
             .centred = {1, 2}},
        },
    .texts = {{"Msg_Bill_OtherBranch", "账单 %1 属于您无权查看的分店，不能打开。"}},
};

} // namespace

frmBillAccountQuery::frmBillAccountQuery(QWidget* parent) : QueryReportScreen(kSpec, parent) {}

void frmBillAccountQuery::cmdOpen()
{
    if (currentView() == 0 && !OpenableBill(grid(), 1, ownText("Msg_Bill_OtherBranch"), this))
        return;
    QueryReportScreen::cmdOpen();
}
