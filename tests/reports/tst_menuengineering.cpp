// The menu engineering report over tests/fixtures/menu_engineering.sql, signed in as "mgr"
// (北京店 and 上海店, not 广州店), on 2026-03-10. The figures are worked out by hand:
//
//   dish       qty  sales  cost  avg price  unit cost  unit margin  total margin
//   宫保鸡丁    10    380   120      38.00      12.00        26.00        260.00
//   水煮鱼       4    272   123      68.00      30.75        37.25        149.00
//   鱼香肉丝     8    256   112      32.00      14.00        18.00        144.00
//   拍黄瓜       3     35    12      11.6667     4.00         7.6667       23.00
//   青岛啤酒    12    144    60      12.00       5.00         7.00         84.00  (14 - 2 returned)
//   鲜榨橙汁     1     30     6      30.00       6.00        24.00         24.00  (a jug)
//   米饭         2      6     -       3.00      no cost
//
// Seven dishes, 40 sold: popular from 70% x 1/7 = 10% of 40, that is 4 (水煮鱼 exactly). The 38
// with a cost make 684 of margin: 18.00 a dish on average (鱼香肉丝 exactly). The gift, the
// returned lobster, 广州店, the deleted, the zero-settled and the other days' bills count nowhere.
#include "core/HostContext.h"
#include "framework/HostUi.h"
#include "reports/periods/MenuEngineeringChart.h"
#include "reports/periods/frmMenuEngineering.h"
#include "sheet/Sheet.h"
#include "sheet/SheetView.h"
#include "tests/support/TestDatabase.h"
#include "ui/ctlQuery.h"

#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Criteria = QList<QPair<QString, QString>>;

// Refreshes the screen for 2026-03-10 with the criteria set by name; each row of the grid shown
// (the totals row last) as the texts of `columns` joined by "|".
QStringList rows(frmMenuEngineering& screen, const Criteria& criteria, const QList<int>& columns)
{
    screen.applyCriterion("dtpBegin", "2026-03-10");
    screen.applyCriterion("dtpEnd", "2026-03-10");
    for (const auto& [name, value] : criteria)
        if (!screen.applyCriterion(name, value))
            return {"cannot set " + name};
    if (!screen.runRefresh())
        return {"refused: " + screen.lastError()};
    QStringList lines;
    const Sheet* grid = screen.grid();
    for (int row = 1; row <= grid->maxRows(); ++row) {
        QStringList cells;
        for (int col : columns)
            cells << grid->text(row, col);
        lines << cells.join('|');
    }
    return lines;
}

// Name, quantity, share, average price, unit cost, unit margin, total margin, class.
const QList<int> Figures{2, 5, 6, 8, 9, 10, 11, 12};

} // namespace

class TestMenuEngineering : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        HostUi::setHeadless(true);
        hostContext().UserID = "mgr";
        hostContext().TrueDataAllowed = false;
    }

    void classesFromTheLines()
    {
        TestDatabase db("menu_engineering.sql");
        db.install();
        frmMenuEngineering screen;
        screen.ShowMe();
        QVERIFY(screen.itemPrice());
        // Stars by total margin, then the plowhorse, the puzzle, the dog and the dish without a
        // cost. Totals: 1123 / 40 = 28.075 a dish; unit cost 433 / 38 = 11.3947; margin 18.
        QCOMPARE(rows(screen, {}, Figures),
                 QStringList({"宫保鸡丁|10.00|25.00%|38.00|12.00|26.00|260.00|明星",
                              "水煮鱼|4.00|10.00%|68.00|30.75|37.25|149.00|明星",
                              "鱼香肉丝|8.00|20.00%|32.00|14.00|18.00|144.00|明星",
                              "青岛啤酒|12.00|30.00%|12.00|5.00|7.00|84.00|耕马",
                              "鲜榨橙汁|1.00|2.50%|30.00|6.00|24.00|24.00|谜题",
                              "拍黄瓜|3.00|7.50%|11.67|4.00|7.67|23.00|瘦狗",
                              "米饭|2.00|5.00%|3.00||||无成本",
                              "|40.00|100.00%|28.08|11.39|18.00|684.00|"}));
        QCOMPARE(screen.grid()->text(8, 1), QString("合计"));
        // The stars alone: 908 / 22 = 41.2727, 355 / 22 = 16.1364, 553 / 22 = 25.1364.
        QCOMPARE(rows(screen, {{"optQuery2", "1"}}, Figures).last(),
                 QString("|22.00|55.00%|41.27|16.14|25.14|553.00|"));
        QCOMPARE(rows(screen, {{"optQuery6", "1"}}, Figures),
                 QStringList({"米饭|2.00|5.00%|3.00||||无成本", "|2.00|5.00%|3.00||||"}));

        // The chart's points and the lines between the quadrants (10% and 18.00).
        QStringList points = rows(screen, {{"optQuery7", "1"}}, {2, 4, 5, 6});
        QCOMPARE(points.size(), 7);
        QCOMPARE(points.first(), QString("宫保鸡丁|25.00%|26.00|明星"));
        QCOMPARE(points.last(), QString("分界线|10.00%|18.00|"));
        QTemporaryDir dir;
        QVERIFY(screen.exportGrid(dir.filePath("quadrants.png")));
        QCOMPARE(QImage(dir.filePath("quadrants.png")).size(), MenuEngineeringChart::PictureSize);
        QVERIFY(screen.exportGrid(dir.filePath("quadrants.txt")));
        QVERIFY(screen.chart()->data().points.size() == 6);

        // Gifts counted: 宫保鸡丁 11 for the same 380 (34.5455), 41 sold, so popular from 4.1:
        // 水煮鱼 turns puzzle. Margin 672 / 39 = 17.2308: 鱼香肉丝 stays a star.
        QCOMPARE(rows(screen, {{"optQuery1", "1"}, {"cboIsSentMenu", "#2"}}, Figures).first(),
                 QString("宫保鸡丁|11.00|26.83%|34.55|12.00|22.55|248.00|明星"));
        QCOMPARE(rows(screen, {{"optQuery4", "1"}}, {2, 12}),
                 QStringList({"水煮鱼|谜题", "鲜榨橙汁|谜题", "|"}));
        QCOMPARE(rows(screen, {{"optQuery2", "1"}}, {2}),
                 QStringList({"宫保鸡丁", "鱼香肉丝", ""}));
    }

    void classesFromTheMenu()
    {
        // Item lines without a cost price of their own: the menu's, by item and unit.
        TestDatabase db("menu_engineering.sql");
        db.run("DROP INDEX ix_bi_BillItem_Sales; ALTER TABLE bi_BillItem DROP COLUMN CostPrice");
        db.install();
        frmMenuEngineering screen;
        screen.ShowMe();
        QVERIFY(!screen.itemPrice());
        // The jug of 鲜榨橙汁 costs its unit's 6, not the glass's 2; 米饭, not on the menu, has
        // no cost; the classes are those of the lines' own prices.
        QCOMPARE(rows(screen, {}, {2, 9, 12}),
                 QStringList({"宫保鸡丁|12.00|明星", "水煮鱼|30.75|明星", "鱼香肉丝|14.00|明星",
                              "青岛啤酒|5.00|耕马", "鲜榨橙汁|6.00|谜题", "拍黄瓜|4.00|瘦狗",
                              "米饭||无成本", "|11.39|"}));
    }

    void edges()
    {
        TestDatabase db("menu_engineering.sql");
        db.install();
        frmMenuEngineering screen;
        screen.ShowMe();
        // A day without sales: the totals row alone, nothing divided by zero.
        screen.applyCriterion("dtpBegin", "2026-03-12");
        screen.applyCriterion("dtpEnd", "2026-03-12");
        QVERIFY(screen.runRefresh());
        QCOMPARE(screen.grid()->maxRows(), 1);
        QCOMPARE(screen.grid()->text(1, 6), QString("0.00%"));
        // Only dishes without a cost: listed, none classed, no lines drawn from nothing.
        std::vector<MenuDish> dishes(2);
        dishes[0].quantity = 2 * Money::Scale;
        dishes[1].quantity = 0; // returned whole: not sold
        const MenuEngineeringFigures f = MenuEngineeringFigures::classify(dishes);
        QCOMPARE(f.dishCount, 1);
        QCOMPARE(f.dishes.front().menuClass, MenuClass::NoCost);
        QVERIFY(f.averageMargin.isZero());
        // A reversed range is refused before anything runs.
        screen.applyCriterion("dtpBegin", "2026-03-11");
        screen.applyCriterion("dtpEnd", "2026-03-10");
        QVERIFY(!screen.runRefresh());
        QVERIFY(screen.lastError().contains("结束日期不能小于开始日期"));
    }

    // At the size the screen opens with, every column of the dish views is in sight, empty and
    // after a refresh, without scrolling sideways.
    void columnsFitAtOpening()
    {
        TestDatabase db("menu_engineering.sql");
        db.install();
        frmMenuEngineering screen;
        screen.ShowMe();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        for (const char* view : {"optQuery1", "optQuery2", "optQuery6"}) {
            QVERIFY(screen.applyCriterion(view, "1"));
            QTest::qWait(0);
            QCOMPARE(screen.queryControl()->View()->horizontalScrollBar()->maximum(), 0);
        }
        QVERIFY(screen.applyCriterion("optQuery1", "1"));
        QCOMPARE(rows(screen, {}, {2}).size(), 8);
        QTest::qWait(0);
        QCOMPARE(screen.queryControl()->View()->horizontalScrollBar()->maximum(), 0);
    }
};

QTEST_MAIN(TestMenuEngineering)
#include "tst_menuengineering.moc"
