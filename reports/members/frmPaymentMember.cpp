#include "reports/members/frmPaymentMember.h"

#include "core/HostContext.h"
#include "core/LanguageSection.h"
#include "reports/bills/frmBillInfo.h"
#include "reports/members/MemberBillBar.h"

namespace {

const ScreenSpec kSpec{
    .name = "frmPaymentMember",
    .title = "会员卡支付明细表",
    .size = {10710, 7830},
    .criteria = CriteriaOf<MemberBillCriteria>(PaymentMemberStatement),
    .branch = {MemberBillBranch},
    .rows = MemberBillRows(),
    .views =
        {
            {.option = "会员卡支付\n明细表",
             .title = "会员卡支付明细表",
             .columns = MemberBillColumns(true, SumColumn("PaySum", "支付金额", 1200)),
             .centred = {1, 2, 3, 4, 5},
             .detailColumn = 1,
             .openDetail = OpenBillDetail},
            {.option = "会员卡支付\n汇总表",
             .title = "会员卡支付汇总表",
             .columns = MemberBillColumns(false, SumColumn("thePaySum", "支付金额", 1200)),
             .centred = {1, 2, 3}},
            {.option = "会员卡支付\n卡类汇总表",
             .title = "会员卡支付卡类汇总表",
             .columns =
                 {
                     TextColumn("MemberTypeName", "卡类型", 1500),
                     SumColumn("thePaySum", "支付金额", 1500),
                 },
             .centred = {1}},
        },
    .texts = {{"Msg_MemberCard", "会员卡"}},
};

} // namespace

frmPaymentMember::frmPaymentMember(QWidget* parent) : QueryReportScreen(kSpec, parent) {}

void frmPaymentMember::completeCriteria(CriteriaValue& criteria)
{
    // The subject name as the language in use writes it.
    criteria.as<MemberBillCriteria>().subject = ownText("Msg_MemberCard");
}

Statement frmPaymentMember::planned(int view, const CriteriaValue&, const Statement& statement)
{
    // The totals per card and per card type; the lines are listed from the bills.
    return SummaryPlanner::answer(*hostContext().connection(), view != PaymentLines,
                                  SummaryPlanner::Source::MemberPayments, statement,
                                  MemberPaymentsSummaryText());
}
