#include "plugin/ActionRows.h"

#include "core/ActionTable.h"
#include "reports/bills/frmBillAccountQuery.h"
#include "reports/bills/frmBillCheck.h"
#include "reports/bills/frmBillItemCost.h"
#include "reports/bills/frmBillItemQuery.h"
#include "reports/bills/frmBillItemReport.h"
#include "reports/bills/frmBillLogQuery.h"
#include "reports/bills/frmBillQuery.h"
#include "reports/bills/frmSubBillQuery.h"
#include "reports/bookings/frmBookQuery.h"
#include "reports/bookings/frmBookReport.h"
#include "reports/members/frmAccountPayment.h"
#include "reports/members/frmMemberConsume.h"
#include "reports/members/frmMemberDiscountQuery.h"
#include "reports/members/frmMemberQuery.h"
#include "reports/members/frmMemberSummary.h"
#include "reports/members/frmPaymentMember.h"
#include "reports/periods/frmBomReport.h"
#include "reports/periods/frmDailyReport.h"
#include "reports/periods/frmDepartQuery.h"
#include "reports/periods/frmDepartQueryTable.h"
#include "reports/periods/frmInventoryReport.h"
#include "reports/periods/frmMenuEngineering.h"
#include "reports/periods/frmMenuQuery.h"
#include "reports/periods/frmPaymentReport.h"
#include "reports/periods/frmTableReport.h"
// Charts
#include "reports/charts/frmMenuLine.h"
#include "reports/charts/frmTrendLine.h"
#include "reports/periods/frmHourReport.h"
#include "reports/periods/frmMonthReport.h"
#include "reports/periods/frmPaymentQuery.h"
#include "reports/periods/frmPeriodQuery.h"

// Each report screen adds its row here when it is built; an action without a row answers with
// the not-supported message. Order of comparison, with the screen each action opens:
//   DoBillQuery frmBillQuery, DoBillItemQuery frmBillItemQuery, DoBillItemCost frmBillItemCost,
//   DoPaymentQuery frmPaymentQuery, DoPaymentMember frmPaymentMember, DoBookQuery frmBookQuery,
//   DoBookReport frmBookReport, DoBillAccountQuery frmBillAccountQuery,
//   DoBillLogQuery frmBillLogQuery, DoDailyReport frmDailyReport, DoMonthReport frmMonthReport,
//   DoHourReport frmHourReport, DoPeriodQuery frmPeriodQuery,
//   DoDepartQueryTable frmDepartQueryTable, DoMemberDiscountQuery frmMemberDiscountQuery,
//   DoTableReport frmTableReport, DoDepartQuery frmDepartQuery, DoMenuLine frmMenuLine,
//   DoTrendLine_SumToPay / DoTrendLine_PeopleCount / DoTrendLine_TableCount frmTrendLine
//   (own instances, kinds 0, 1, 2), DoMenuQuery frmMenuQuery, DoMemberQuery frmMemberQuery,
//   DoMemberSummary frmMemberSummary, DoMemberConsume frmMemberConsume, DoBillCheck frmBillCheck,
//   DoInventoryReport frmInventoryReport, DoBomReport frmBomReport,
//   DoBillItemReport frmBillItemReport, DoPaymentReport frmPaymentReport,
//   DoSubBillQuery frmSubBillQuery, DoAccountPayment frmAccountPayment,
//   DoMenuEngineering frmMenuEngineering.
// A row reads, for example:
//   table.addShared<frmBillQuery>(QStringLiteral("DoBillQuery"), Bills);
//   table.addOwn<frmTrendLine>(QStringLiteral("DoTrendLine_SumToPay"), Charts, 0);
// The group names the host's menu the action appears in.
void AddActionRows(ActionTable& table)
{
    const QString Bills = QStringLiteral("Group_Bills");
    const QString Periods = QStringLiteral("Group_Periods");
    table.addShared<frmBillQuery>(QStringLiteral("DoBillQuery"), Bills);
    table.addShared<frmDailyReport>(QStringLiteral("DoDailyReport"), Periods);
    table.addShared<frmBillCheck>(QStringLiteral("DoBillCheck"), Bills);
    // bill item reports
    table.addShared<frmBillItemQuery>(QStringLiteral("DoBillItemQuery"), Bills);
    table.addShared<frmBillItemCost>(QStringLiteral("DoBillItemCost"), Bills);
    table.addShared<frmBillItemReport>(QStringLiteral("DoBillItemReport"), Bills);

    // Bill trails: returns, operations, account transfers; bookings.
    const QString ChartsAndBookings = QStringLiteral("Group_Charts");
    table.addShared<frmSubBillQuery>(QStringLiteral("DoSubBillQuery"), Bills);
    table.addShared<frmBillLogQuery>(QStringLiteral("DoBillLogQuery"), Bills);
    table.addShared<frmBillAccountQuery>(QStringLiteral("DoBillAccountQuery"), Bills);
    table.addShared<frmBookQuery>(QStringLiteral("DoBookQuery"), ChartsAndBookings);
    table.addShared<frmBookReport>(QStringLiteral("DoBookReport"), ChartsAndBookings);
    // Charts: the menu sales chart, and the trend lines side by side, one instance per kind.
    const QString Charts = QStringLiteral("Group_Charts");
    table.addShared<frmMenuLine>(QStringLiteral("DoMenuLine"), Charts);
    table.addOwn<frmTrendLine>(QStringLiteral("DoTrendLine_SumToPay"), Charts, 0);
    table.addOwn<frmTrendLine>(QStringLiteral("DoTrendLine_PeopleCount"), Charts, 1);
    table.addOwn<frmTrendLine>(QStringLiteral("DoTrendLine_TableCount"), Charts, 2);

    // Member and account reports.
    const QString Members = QStringLiteral("Group_Members");
    table.addShared<frmMemberQuery>(QStringLiteral("DoMemberQuery"), Members);
    table.addShared<frmMemberConsume>(QStringLiteral("DoMemberConsume"), Members);
    table.addShared<frmMemberSummary>(QStringLiteral("DoMemberSummary"), Members);
    table.addShared<frmMemberDiscountQuery>(QStringLiteral("DoMemberDiscountQuery"), Members);
    table.addShared<frmPaymentMember>(QStringLiteral("DoPaymentMember"), Members);
    table.addShared<frmAccountPayment>(QStringLiteral("DoAccountPayment"), Members);
    // Period and summary reports: period query, hour report, payment query, month report.
    table.addShared<frmPeriodQuery>(QStringLiteral("DoPeriodQuery"), Periods);
    table.addShared<frmHourReport>(QStringLiteral("DoHourReport"), Periods);
    table.addShared<frmPaymentQuery>(QStringLiteral("DoPaymentQuery"), Periods);
    table.addShared<frmMonthReport>(QStringLiteral("DoMonthReport"), Periods);
    // Period reports II: uploads of payments and stock, tables, departments, materials, menu.
    table.addShared<frmPaymentReport>(QStringLiteral("DoPaymentReport"), Periods);
    table.addShared<frmTableReport>(QStringLiteral("DoTableReport"), Periods);
    table.addShared<frmDepartQueryTable>(QStringLiteral("DoDepartQueryTable"), Periods);
    table.addShared<frmDepartQuery>(QStringLiteral("DoDepartQuery"), Charts);
    table.addShared<frmInventoryReport>(QStringLiteral("DoInventoryReport"), Periods);
    table.addShared<frmBomReport>(QStringLiteral("DoBomReport"), Periods);
    table.addShared<frmMenuQuery>(QStringLiteral("DoMenuQuery"), Periods);
    // Menu engineering: dishes classed by popularity and contribution margin.
    table.addShared<frmMenuEngineering>(QStringLiteral("DoMenuEngineering"), Periods);
}
