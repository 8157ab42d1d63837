#include "reports/members/MemberBillBar.h"

#include "reports/members/MemberBillSql.h"

std::vector<std::vector<CriterionSpec>> MemberBillRows()
{
    using K = CriterionKind;
    return {
        {BeginDate, EndDate, BranchCriterionSpec()},
        {{.name = "cboMemberType",
          .kind = K::List,
          .label = "会员类型:",
          .labelWidth = 900,
          .width = 1500,
          .source = {.kind = ListSource::DataList, .list = DataList::MemberTypes},
          .into = Into(&MemberBillCriteria::memberType)},
         {.name = "cboMemberCardID",
          .kind = K::CardNumber,
          .label = "会员卡号:",
          .labelWidth = 900,
          .width = 1500,
          .into = Into(&MemberBillCriteria::cardNumber)},
         {.name = "cboMemberName",
          .kind = K::Text,
          .label = "会员姓名:",
          .labelWidth = 900,
          .width = 1500,
          .into = Into(&MemberBillCriteria::memberName)}},
        {UseTrueData, Saving, {.name = "optQuery", .kind = K::Views, .width = 1300}},
    };
}

std::vector<ColumnSpec> MemberBillColumns(bool bills, const ColumnSpec& amount)
{
    std::vector<ColumnSpec> columns;
    if (bills)
        columns = {TextColumn("BillID", "单号", 1500), DateColumn("BillDate", "日期", 1800)};
    columns.insert(columns.end(), {TextColumn("MemberCardID", "卡号", 1300),
                                   TextColumn("MemberTypeName", "卡类型", 1000),
                                   TextColumn("MemberName", "姓名", 1000), amount});
    return columns;
}
