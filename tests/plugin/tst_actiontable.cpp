#include "core/ActionTable.h"
#include "framework/HostUi.h"
#include "plugin/ActionRows.h"
#include "sheet/Twips.h"
#include "tests/support/TestDatabase.h"

#include <QtTest>

#include <stdexcept>

namespace {

struct BillScreen : QWidget
{
    int shown = 0;
    void ShowMe() { ++shown; }
};

struct DailyScreen : QWidget
{
    int shown = 0;
    void ShowMe() { ++shown; }
};

struct TrendScreen : QWidget
{
    QList<int> kinds;
    void ShowMe(int kind) { kinds << kind; }
};

struct FailingScreen : QWidget
{
    void ShowMe() { throw std::runtime_error("cannot open"); }
};

void fill(ActionTable& table)
{
    table.addShared<BillScreen>("DoBillQuery", "Group_Bills");
    table.addShared<DailyScreen>("DoDailyReport", "Group_Periods");
    table.addOwn<TrendScreen>("DoTrendLine_SumToPay", "Group_Charts", 0);
    table.addOwn<TrendScreen>("DoTrendLine_PeopleCount", "Group_Charts", 1);
    table.addOwn<TrendScreen>("DoTrendLine_TableCount", "Group_Charts", 2);
    table.addShared<FailingScreen>("DoBillCheck", "Group_Bills");
}

} // namespace

class tst_ActionTable : public QObject
{
    Q_OBJECT
private slots:
    void matchingIgnoresCaseAndNothingElse();
    void oneSharedInstancePerScreenType();
    void trendLinesHaveTheirOwnInstances();
    void showFailuresReachTheCaller();
    void screensOpenAtTheirSizes();
};

void tst_ActionTable::matchingIgnoresCaseAndNothingElse()
{
    ActionTable table;
    fill(table);
    for (const char* name : {"DoBillQuery", "dobillquery", "DOBILLQUERY"}) {
        QVERIFY2(table.dispatch(name), name);
        QVERIFY(qobject_cast<QWidget*>(table.lastScreen()));
    }
    for (const char* name : {" DoBillQuery", "DoBillQuery ", "", "DoBill", "DoBillQuery\r"})
        QVERIFY2(!table.dispatch(name), name);
    QCOMPARE(static_cast<BillScreen*>(table.lastScreen())->shown, 3);
    QCOMPARE(table.actions().first(), QString("DoBillQuery"));
}

void tst_ActionTable::oneSharedInstancePerScreenType()
{
    ActionTable table;
    fill(table);
    QVERIFY(table.dispatch("DoBillQuery"));
    QWidget* bills = table.lastScreen();
    QVERIFY(table.dispatch("DoDailyReport"));
    QVERIFY(table.lastScreen() != bills);
    QVERIFY(table.dispatch("DOBILLQUERY"));
    QCOMPARE(table.lastScreen(), bills);

    // Shared per process: a second entry object gets the same screen, and so do screens that
    // ask the registry directly.
    ActionTable other;
    fill(other);
    QVERIFY(other.dispatch("DoBillQuery"));
    QCOMPARE(other.lastScreen(), bills);
    QCOMPARE(ScreenRegistry::shared<BillScreen>(), bills);

    // A screen closed for good is created afresh on the next action.
    delete bills;
    QVERIFY(table.dispatch("DoBillQuery"));
    QVERIFY(table.lastScreen());
    QCOMPARE(static_cast<BillScreen*>(table.lastScreen())->shown, 1);
}

void tst_ActionTable::trendLinesHaveTheirOwnInstances()
{
    ActionTable table;
    fill(table);
    QVERIFY(table.dispatch("DoTrendLine_SumToPay"));
    auto* turnover = static_cast<TrendScreen*>(table.lastScreen());
    QVERIFY(table.dispatch("DoTrendLine_PeopleCount"));
    auto* guests = static_cast<TrendScreen*>(table.lastScreen());
    QVERIFY(table.dispatch("dotrendline_tablecount"));
    auto* tables = static_cast<TrendScreen*>(table.lastScreen());
    QVERIFY(turnover != guests && guests != tables && turnover != tables);
    QVERIFY(table.dispatch("DoTrendLine_SumToPay"));
    QCOMPARE(table.lastScreen(), turnover);
    QCOMPARE(turnover->kinds, QList<int>({0, 0}));
    QCOMPARE(guests->kinds, QList<int>({1}));
    QCOMPARE(tables->kinds, QList<int>({2}));

    // Another entry object keeps trend screens of its own.
    ActionTable other;
    fill(other);
    QVERIFY(other.dispatch("DoTrendLine_SumToPay"));
    QVERIFY(other.lastScreen() != turnover);
}

void tst_ActionTable::showFailuresReachTheCaller()
{
    ActionTable table;
    fill(table);
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, table.dispatch("DoBillCheck"));
}

void tst_ActionTable::screensOpenAtTheirSizes()
{
    HostUi::setHeadless(true);
    TestDatabase db;
    db.install();
    // Width and height in twips of each report screen as it opens.
    const QSize narrow(10710, 7830), usual(11070, 7980), stock(11595, 8325), tall(11595, 8490);
    const QList<QPair<const char*, QSize>> sizes = {
        {"DoAccountPayment", narrow},
        {"DoBillAccountQuery", narrow},
        {"DoMemberDiscountQuery", narrow},
        {"DoMenuQuery", narrow},
        {"DoMemberConsume", narrow},
        {"DoPaymentQuery", narrow},
        {"DoPaymentMember", narrow},
        {"DoBillItemCost", usual},
        {"DoBillLogQuery", usual},
        {"DoBillItemReport", usual},
        {"DoBillQuery", usual},
        {"DoBookQuery", usual},
        {"DoDailyReport", usual},
        {"DoDepartQuery", usual},
        {"DoDepartQueryTable", usual},
        {"DoMemberQuery", usual},
        {"DoMenuLine", usual},
        {"DoMonthReport", usual},
        {"DoPaymentReport", usual},
        {"DoPeriodQuery", usual},
        {"DoSubBillQuery", usual},
        {"DoTrendLine_SumToPay", usual},
        {"DoTrendLine_PeopleCount", usual},
        {"DoTrendLine_TableCount", usual},
        {"DoBillItemQuery", usual},
        {"DoBookReport", usual},
        {"DoHourReport", usual},
        {"DoMenuEngineering", tall},
        {"DoInventoryReport", stock},
        {"DoTableReport", stock},
        {"DoMemberSummary", tall},
        {"DoBomReport", tall},
    };
    ActionTable table;
    AddActionRows(table);
    for (const auto& [action, twips] : sizes) {
        QVERIFY2(table.dispatch(action), action);
        QWidget* screen = table.lastScreen();
        const QSize pixels(twipsToPixelsX(twips.width(), screen),
                           twipsToPixelsY(twips.height(), screen));
        QVERIFY2(screen->size() == pixels, action);
    }
}

QTEST_MAIN(tst_ActionTable)
#include "tst_actiontable.moc"
