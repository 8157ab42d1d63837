#include "host/ModuleMenu.h"

const QList<ModuleMenu::Group>& ModuleMenu::groups()
{
    static const QList<Group> menu = {
        {QStringLiteral("Group_Bills"),
         {"DoBillQuery", "DoBillItemQuery", "DoBillItemCost", "DoBillItemReport", "DoSubBillQuery",
          "DoBillLogQuery", "DoBillAccountQuery", "DoBillCheck"}},
        {QStringLiteral("Group_Periods"),
         {"DoDailyReport", "DoMonthReport", "DoHourReport", "DoPeriodQuery", "DoPaymentQuery",
          "DoPaymentReport", "DoTableReport", "DoDepartQuery", "DoDepartQueryTable",
          "DoInventoryReport", "DoBomReport", "DoMenuQuery"}},
        {QStringLiteral("Group_Members"),
         {"DoMemberQuery", "DoMemberConsume", "DoMemberSummary", "DoMemberDiscountQuery",
          "DoPaymentMember", "DoAccountPayment"}},
        {QStringLiteral("Group_Charts"),
         {"DoMenuLine", "DoTrendLine_SumToPay", "DoTrendLine_PeopleCount", "DoTrendLine_TableCount",
          "DoBookQuery", "DoBookReport"}},
    };
    return menu;
}
