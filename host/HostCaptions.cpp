#include "host/HostCaptions.h"

#include <QHash>
#include <QSettings>

namespace {

struct Caption
{
    const char* chinese;
    const char* english;
};

const QHash<QString, Caption>& table()
{
    static const QHash<QString, Caption> captions = {
        {"Host_Title", {"餐饮管理系统 - 查询报表", "Restaurant Manager - Reports"}},
        {"Menu_System", {"系统(&S)", "&System"}},
        {"Menu_Exit", {"退出(&X)", "E&xit"}},
        {"Menu_Reports", {"查询报表(&R)", "&Reports"}},
        {"Menu_Window", {"窗口(&W)", "&Window"}},
        {"Menu_Cascade", {"层叠(&C)", "&Cascade"}},
        {"Menu_Tile", {"平铺(&T)", "&Tile"}},
        {"Menu_CloseAll", {"全部关闭(&A)", "Close &All"}},
        {"Group_Bills", {"账单报表(&B)", "&Bill reports"}},
        {"Group_Periods", {"营业统计报表(&P)", "&Period and summary reports"}},
        {"Group_Members", {"会员与挂账报表(&M)", "&Member and account reports"}},
        {"Group_Charts", {"图表与预订(&C)", "&Charts and bookings"}},
        {"DoBillQuery", {"历史账单查询", "Bill query"}},
        {"DoBillItemQuery", {"账单消费明细汇总表", "Bill item query"}},
        {"DoBillItemCost", {"销售提成明细汇总表", "Sales commission report"}},
        {"DoBillItemReport", {"销售日报表", "Sales daily report"}},
        {"DoSubBillQuery", {"退菜记录查询", "Returned items query"}},
        {"DoBillLogQuery", {"账单操作记录查询", "Bill operation log"}},
        {"DoBillAccountQuery", {"转账明细汇总表", "Bill account transfers"}},
        {"DoBillCheck", {"历史账单稽查", "Bill audit"}},
        {"DoDailyReport", {"营业收入日报表", "Daily income report"}},
        {"DoMonthReport", {"营业收入月报表", "Monthly income report"}},
        {"DoHourReport", {"分时销售报表", "Hourly sales report"}},
        {"DoPeriodQuery", {"销售时段分析表", "Sales by business period"}},
        {"DoPaymentQuery", {"账单支付明细汇总表", "Payment query"}},
        {"DoPaymentReport", {"收银日报表", "Cashier daily report"}},
        {"DoTableReport", {"房台营业分析表", "Table report"}},
        {"DoDepartQuery", {"部门出品统计表", "Department query"}},
        {"DoDepartQueryTable", {"部门出品统计表(按房台)", "Department query by table"}},
        {"DoInventoryReport", {"库存报表", "Inventory report"}},
        {"DoBomReport", {"原材料耗量对比表", "Raw material (BOM) report"}},
        {"DoMenuQuery", {"菜品资料查询", "Menu query"}},
        {"DoMenuEngineering", {"菜单工程分析表", "Menu engineering"}},
        {"DoMemberQuery", {"会员资料查询", "Member query"}},
        {"DoMemberConsume", {"会员卡消费明细汇总表", "Member consumption"}},
        {"DoMemberSummary", {"会员操作记录查询", "Member operation log"}},
        {"DoMemberDiscountQuery", {"会员折扣汇总表", "Member discount query"}},
        {"DoPaymentMember", {"会员卡支付明细表", "Member card payments"}},
        {"DoAccountPayment", {"挂账明细汇总表", "Account payments"}},
        {"DoMenuLine", {"销售出品走势图", "Menu sales chart"}},
        {"DoTrendLine_SumToPay", {"营业额走势图", "Turnover trend"}},
        {"DoTrendLine_PeopleCount", {"客流量走势图", "Guest count trend"}},
        {"DoTrendLine_TableCount", {"翻台率走势图", "Table turnover trend"}},
        {"DoBookQuery", {"预定单查询", "Booking query"}},
        {"DoBookReport", {"预定明细报表", "Booking report"}},
        {"SignIn_Title", {"登录", "Sign in"}},
        {"SignIn_Prompt", {"请选择登录用户:", "Who signs in:"}},
        {"Status_Database", {"数据库: ", "Database: "}},
        {"Status_User", {"用户: ", "User: "}},
    };
    return captions;
}

} // namespace

int HostCaptions::languageCode()
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Valtrix"),
                       QStringLiteral("Valtrix"));
    return settings.value(QStringLiteral("Language/Language"), 0).toInt();
}

QString HostCaptions::text(const QString& key)
{
    const auto it = table().constFind(key);
    if (it == table().constEnd())
        return key;
    return QString::fromUtf8(languageCode() == 3 ? it->english : it->chinese);
}
