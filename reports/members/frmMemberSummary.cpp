#include "reports/members/frmMemberSummary.h"

#include "core/HostContext.h"
#include "core/modBranch.h"
#include "core/mod_ADO.h"
#include "framework/Member.h"
#include "query/ScreenSpec.h"
#include "ui/CriteriaBar.h"

#include <QDateEdit>

#include <utility>

namespace {

using K = CriterionKind;
using C = MemberSummaryCriteria;

// Who, where and when, then the columns of the operation type.
ViewSpec operationView(const char* option, std::vector<ColumnSpec> own)
{
    std::vector<ColumnSpec> columns{
        TextColumn("SummaryName", "类型", 1000),        TextColumn("CreateTime", "时间", 1800),
        TextColumn("CreatePlace", "地点", 1100),        TextColumn("CreatePerson", "操作人", 900),
        TextColumn("MemberCardID", "卡号", 1200),       TextColumn("MemberName", "会员", 900),
        TextColumn("MemberTypeName", "会员级别", 1000),
    };
    columns.insert(columns.end(), own.begin(), own.end());
    return {.option = option,
            .title = "会员操作记录查询",
            .columns = std::move(columns),
            .centred = {1, 2, 3, 4, 5, 6, 7}};
}

// The money and points of an operation, each shown where it is not zero.
ColumnSpec expense(const char* caption)
{
    return SumColumn("Expense", caption, 1100, "Expense<>0");
}
ColumnSpec points(const char* caption)
{
    return SumColumn("IntegralChange", caption, 1100, "IntegralChange<>0");
}

const ColumnSpec LimitTime = DateColumn("LimitTime", "有效期至", 1800);
const ColumnSpec Remark = TextColumn("Remark", "摘要", 2000);

const ScreenSpec kSpec{
    .name = "frmMemberSummary",
    .title = "会员操作记录查询",
    .size = {11595, 8490},
    .criteria = CriteriaOf<C>(MemberSummaryStatement),
    .rows =
        {
            {BeginDate,
             EndDate,
             {.name = "cboCreatePlace", // the places of the log, of the user's branches
              .kind = K::List,
              .label = "地点:",
              .labelWidth = 600,
              .width = 1800,
              .source = {.kind = ListSource::Screen},
              .into = Into(&C::createPlace)}},
            {QueryListSpec("cboCreatePerson", "操作人:", 900, 1800,
                           "SELECT DISTINCT CreatePerson FROM mb_Summary ORDER BY CreatePerson",
                           "CreatePerson", Into(&C::createPerson)),
             {.name = "cboMemberCardID",
              .kind = K::CardNumber,
              .label = "会员卡:",
              .labelWidth = 900,
              .width = 1800,
              .into = Into(&C::cardNumber)}},
            {{.name = "optQuery",
              .kind = K::Views,
              .label = "操作类型:",
              .labelWidth = 900,
              .width = 1070,
              .indexed = true,
              .perLine = 6}},
        },
    .views =
        {
            operationView("全部记录", {Remark}),
            operationView("发卡记录", {LimitTime, expense("发卡费")}),
            operationView("挂失记录", {}),
            operationView("解挂记录", {}),
            operationView("续卡记录", {LimitTime, expense("续卡费")}),
            operationView("换卡记录", {LimitTime, expense("换卡费")}),
            operationView("存款记录", {expense("存款金额"),
                                       SumColumn("SumPaid", "实收金额", 1100, "SumPaid<>0"),
                                       points("扣减积分")}),
            operationView("消费记录", {expense("消费金额"), points("所得积分")}),
            operationView("结账记录", {expense("结账金额")}),
            operationView("兑分记录", {points("扣减积分")}),
            operationView("升级记录", {Remark}),
        },
    .refusedRangeFocusesEnd = true,
};

} // namespace

frmMemberSummary::frmMemberSummary(QWidget* parent) : QueryReportScreen(kSpec, parent) {}

void frmMemberSummary::formLoad()
{
    dtpBegin->setDate(QDate::currentDate().addDays(1 - QDate::currentDate().day()));
}

void frmMemberSummary::completeCriteria(CriteriaValue& criteria)
{
    // The card typed is looked up among the members.
    MemberSummaryCriteria& c = criteria.as<MemberSummaryCriteria>();
    c.cardNumber = c.cardNumber.trimmed();
    if (!c.cardNumber.isEmpty()) {
        Member member(hostContext().connection());
        if (member.findByCardNumber(c.cardNumber))
            c.memberId = member.MemberID();
    }
}

void frmMemberSummary::fillList(const QString&, QComboBox* combo)
{
    // A user limited to some branches is offered only the places that are his branches.
    Statement places;
    try {
        const BranchScope branches = userBranches(MemberLogPlaces);
        places = branches.choice().privileged ? branches.fill(MemberLogPlacesStatement(true))
                                              : MemberLogPlacesStatement(false);
    } catch (const std::exception&) {
        return; // privileges that cannot be read offer no place
    }
    FillComboFromQuery(combo, QStringLiteral("CreatePlace"), places.text());
}
