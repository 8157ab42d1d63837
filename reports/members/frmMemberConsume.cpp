#include "reports/members/frmMemberConsume.h"

#include "core/HostContext.h"
#include "reports/bills/frmBillInfo.h"
#include "reports/members/MemberBillBar.h"

namespace {

const ScreenSpec kSpec{
    .name = "frmMemberConsume",
    .title = "会员卡消费明细汇总表",
    .size = {10710, 7830},
    .criteria = CriteriaOf<MemberBillCriteria>(MemberConsumeStatement),
    .branch = {MemberBillBranch},
    .rows = MemberBillRows(),
    .views =
        {
            {.option = "会员卡消费\n明细表",
             .title = "会员卡消费明细表",
             .columns = MemberBillColumns(true, SumColumn("SumPaid", "消费金额", 1200)),
             .centred = {1, 2, 3, 4, 5},
             .detailColumn = 1,
             .openDetail = OpenBillDetail},
            {.option = "会员卡消费\n汇总表",
             .title = "会员卡消费汇总表",
             .columns = MemberBillColumns(false, SumColumn("theSumPaid", "消费金额", 1200)),
             .centred = {1, 2, 3}},
            {.option = "会员卡消费\n菜品汇总表",
             .title = "会员卡消费菜品汇总表",
             .columns =
                 {
                     TextColumn("MenuID", "菜号", 900),
                     TextColumn("MenuName", "菜名", 1600),
                     TextColumn("MenuTypeName", "菜品类别", 1100),
                     SumColumn("theCount", "消费次数", 1100, "theCount<>0"),
                     SumColumn("theQty", "消费数量", 1100, "theQty<>0"),
                 },
             .centred = {1, 3}},
        },
    .texts = {{"Msg_MemberCard", "会员卡"}},
};

} // namespace

frmMemberConsume::frmMemberConsume(QWidget* parent) : QueryReportScreen(kSpec, parent) {}

Statement frmMemberConsume::planned(int view, const CriteriaValue& criteria,
                                    const Statement& statement)
{
    if (view == MemberDishes)
        return SummaryPlanner::answer(*hostContext().connection(),
                                      MemberDishesFitSummaries(criteria.as<MemberBillCriteria>()),
                                      SummaryPlanner::Source::MemberItems, statement,
                                      MemberDishesSummaryText());
    // The bills themselves are listed from the bills.
    return SummaryPlanner::answer(*hostContext().connection(), view == MemberTotals,
                                  SummaryPlanner::Source::MemberBills, statement,
                                  MemberTotalsSummaryText());
}
