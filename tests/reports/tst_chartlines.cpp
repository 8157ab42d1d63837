// The menu sales chart and the trend lines over tests/fixtures/chart_lines.sql, whose figures
// are worked out by hand in the fixture's comments (range 2026-05-01..2026-05-03):
//   热菜 amount        300 | 0 | 0   (Z1 settled for nothing, D1 deleted, S2 after the range)
//   酒水 gifts only     16 | 0 | 0   (quantity 2); 酒水 all items quantity 3 + 2 = 5
//   received           340 | 500 | 0 (50 bills of 10; Z1's 999 never counts)
//   guests               3 | 100 | 0
//   bills ÷ 20 tables 0.05 | 2.5 | 0
#include "core/HostContext.h"
#include "core/modPublic.h"
#include "db/Recordset.h"
#include "framework/HostUi.h"
#include "reports/charts/ChartLineSql.h"
#include "reports/charts/DailyLine.h"
#include "reports/charts/frmMenuLine.h"
#include "reports/charts/frmTrendLine.h"
#include "sheet/Sheet.h"
#include "tests/support/TestDatabase.h"
#include "ui/chart/Chart2D.h"
#include "ui/chart/ChartFile.h"

#include <QCheckBox>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Criteria = QList<QPair<QString, QString>>;

// A statement's text with its branch condition written as the screen writes it.
template <class C>
QString statementText(Statement (*statement)(int, const C&), const BranchColumns& columns,
                      const C& criteria)
{
    return BranchScope({columns}, criteria.branch).fill(statement(0, criteria)).text();
}

QStringList points(const DailyLine& line)
{
    QStringList list;
    for (int i = 0; i < line.days(); ++i)
        list << line.point(i).toString(2);
    return list;
}

bool refresh(ReportScreen& screen, const Criteria& criteria)
{
    screen.applyCriterion("dtpBegin", "2026-05-01");
    screen.applyCriterion("dtpEnd", "2026-05-03");
    for (const auto& [name, value] : criteria)
        if (!screen.applyCriterion(name, value))
            return false;
    return screen.runRefresh();
}

// The days of the rows that the statements run by `run` give when run again by themselves.
QStringList statementDays(TestDatabase& db, const std::function<void()>& run)
{
    QList<Connection::TracedStatement> ran;
    db.connection()->setStatementTrace([&](const Connection::TracedStatement& s) { ran << s; });
    run();
    db.connection()->setStatementTrace({});
    QStringList days;
    for (const Connection::TracedStatement& s : ran)
        for (auto rs = db.connection()->execute(s.tsql, s.params); !rs->atEnd(); rs->moveNext())
            days << rs->value(0).toString().left(10);
    days.removeDuplicates();
    return days;
}

} // namespace

class TestChartLines : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        HostUi::setHeadless(true);
        hostContext().TrueDataAllowed = false;
    }

    // The statements, fragment by fragment.
    void statements()
    {
        MenuLineCriteria m;
        m.periods = {"午餐", "晚'餐"};
        m.saving = true;
        m.gifts = MenuLineCriteria::GiftsOnly;
        m.subject = MenuLineCriteria::Menu;
        m.subjectName = "燕京'啤酒";
        m.quantity = true;
        m.branch.kind = BranchChoice::Several;
        m.branch.ids = {"01", "02"};
        QCOMPARE(statementText(MenuLineStatement, MenuLineBranch, m),
                 QString(" SELECT BillDate,  SUM(BI.AmountOrder-BI.AmountCancel)  AS TotalSum  "
                         "FROM bi_Bill AS BL,bi_BillItem AS BI  WHERE BL.BillID=BI.BillID AND "
                         "BillDate>=? AND BillDate<?  AND ( 1<>1  OR BillPeriod = '午餐' OR "
                         "BillPeriod = '晚''餐') AND IsDeleted=0  AND TableName<>'会员卡充值' AND "
                         "BI.IsSentMenu<>0  AND BL.CheckOutNull=0  and BL.BranchID in "
                         "('01','02')  AND MenuName ='燕京''啤酒' GROUP BY BillDate  ORDER BY "
                         "BillDate "));
        m.useTrueData = true;
        m.saving = false;
        m.gifts = MenuLineCriteria::WithoutGifts;
        m.subject = MenuLineCriteria::DepartType;
        m.subjectName = "热菜";
        m.quantity = false;
        m.periods = {"午餐"};
        m.branch = BranchChoice{};
        m.branch.privileged = QStringList{"01"};
        QCOMPARE(
            statementText(MenuLineStatement, MenuLineBranch, m),
            QString(" SELECT BillDate,  SUM(BI.SumOfConsume)  AS TotalSum  FROM bi_Bill AS "
                    "BL,bi_BillItem AS BI  WHERE BL.BillID=BI.BillID AND BillDate>=? AND "
                    "BillDate<?  AND ( 1<>1  OR BillPeriod = '午餐') AND BI.IsSentMenu=0   AND "
                    "BL.CheckOutNull=0  and BL.BranchID in ( '01' )  AND DepartTypeName "
                    "='热菜' GROUP BY BillDate  ORDER BY BillDate "));
        TrendLineCriteria t;
        t.periods = {"午餐"};
        t.kind = 2;
        t.branch.kind = BranchChoice::One;
        t.branch.name = "北京店";
        QCOMPARE(statementText(TrendLineStatement, TrendLineBranch, t),
                 QString(" SELECT BillDate, COUNT(*) AS TotalSum  FROM bi_Bill AS BL  WHERE 1=1 "
                         "AND BillDate>=? AND BillDate<? AND CheckOutNull=0  AND ( 1<>1  OR "
                         "BillPeriod = '午餐') AND IsDeleted=0  and BranchName='北京店'  GROUP BY "
                         "BillDate  ORDER BY BillDate "));
        QCOMPARE(TrendLineMeasure(0), QString("SUM(SumPaid)"));
        QCOMPARE(TrendLineMeasure(1), QString("SUM(PeopleCount)"));
    }

    // Averages over every day of the range; divisions rounded half away from zero.
    void dailyFigures()
    {
        DailyLine line(QDate(2026, 5, 1), QDate(2026, 5, 3));
        QVERIFY(line.add(QDate(2026, 5, 2), Money::fromUnits(3000000)));
        QVERIFY(!line.add(QDate(2026, 5, 4), Money::fromUnits(10000)));
        QCOMPARE(line.average().toString(2), QString("100.00"));
        QCOMPARE(line.maximum().toString(2), QString("300.00"));
        // Rows of one day (dates carrying times) add up to one point.
        QVERIFY(line.add(QDate(2026, 5, 2), Money::fromUnits(1000000)));
        QCOMPARE(line.point(1).toString(2), QString("400.00"));
        QCOMPARE(line.maximum().toString(2), QString("400.00"));
        line.setDivisor(3);
        QCOMPARE(line.point(1).toString(4), QString("133.3333"));
        QCOMPARE(DailyLine(QDate(2026, 5, 2), QDate(2026, 5, 1)).average().toString(2),
                 QString("0.00"));
        QCOMPARE(DailyLine::divided(Money::fromUnits(10000), 3).units(), 3333);
        QCOMPARE(DailyLine::divided(Money::fromUnits(-20000), 3).units(), -6667);
        QCOMPARE(DailyLine::divided(Money::fromUnits(5000), 1, 0).units(), 10000);
        QCOMPARE(DailyLineScreen::formatChartDate(QDate(2026, 5, 1), "%m月%d日"),
                 QString("05月01日"));
        QCOMPARE(DailyLineScreen::formatChartDate(QDate(2026, 5, 1), "%b %d, %Y 100%%"),
                 QString("May 01, 2026 100%"));
    }

    void menuLine()
    {
        TestDatabase db("chart_lines.sql");
        db.install();
        frmMenuLine screen;
        screen.ShowMe();

        // 热菜 by amount: days without sales stay 0, the average is over all three days.
        QVERIFY(refresh(screen, {{"cboDepartType", "热菜"}}));
        QCOMPARE(points(screen.line()), QStringList({"300.00", "0.00", "0.00"}));
        const Chart2DData& d = screen.chart()->data();
        QCOMPARE(d.header, QString("2026年05月01日-2026年05月03日 部门类别-热菜 销售额走势图"));
        QCOMPARE(d.footer, QString("合计:300.00  最大值:300.00  日平均值:100.00"));
        // Slice labels group their thousands as the grids do; the footer keeps "0.00".
        QCOMPARE(GroupThousands("1234567.80"), QString("1,234,567.80"));
        QCOMPARE(GroupThousands("-1234"), QString("-1,234"));
        QCOMPARE(GroupThousands("999.50"), QString("999.50"));
        QCOMPARE(d.pointLabels, QStringList({"05月01日", "05月02日", "05月03日"}));
        QCOMPARE(d.yAxisMax.value_or(0), 450.0);
        QCOMPARE(screen.points()->text(4, 1), QString("2026年05月01日"));
        QCOMPARE(screen.points()->text(4, 2), QString("300.00"));
        // The statement keeps to the range by itself (the line skips other days anyway): run
        // again, it gives no row of S2, the day after.
        QCOMPARE(statementDays(db,
                               [&] {
                                   refresh(screen, {{"cboDepartType", "热菜"}});
                               }),
                 QStringList{"2026-05-01"});

        // Nothing sold: zeros below the chart and the y axis left to the chart.
        screen.applyCriterion("dtpBegin", "2026-04-01");
        screen.applyCriterion("dtpEnd", "2026-04-30");
        QVERIFY(screen.runRefresh());
        QCOMPARE(screen.chart()->data().footer, QString("合计:0.00  最大值:0.00  日平均值:0.00"));
        QVERIFY(!screen.chart()->data().yAxisMax);
        QCOMPARE(screen.chart()->data().pointCount(), 30);

        // One day: a single date in the header and one point.
        screen.applyCriterion("dtpBegin", "2026-05-01");
        screen.applyCriterion("dtpEnd", "2026-05-01");
        QVERIFY(screen.runRefresh());
        QCOMPARE(screen.chart()->data().header,
                 QString("2026年05月01日 部门类别-热菜 销售额走势图"));
        QCOMPARE(screen.chart()->data().pointCount(), 1);

        // Gifts only: the consumption value of gift items; quantities are ordered - cancelled.
        QVERIFY(refresh(screen,
                        {{"optGroupBy_1", "1"}, {"cboMenuType", "啤酒"}, {"cboIsSentMenu", "#1"}}));
        QCOMPARE(points(screen.line()), QStringList({"16.00", "0.00", "0.00"}));
        QVERIFY(refresh(screen, {{"optSumBy_1", "1"}, {"cboIsSentMenu", "#2"}}));
        QCOMPARE(points(screen.line()), QStringList({"5.00", "0.00", "0.00"}));
        QVERIFY(screen.chart()->data().header.endsWith(" 菜品类别-啤酒 销售量走势图"));

        // Deleted bills count when asked for, by a user who may see them (the box is hidden
        // from others, and a script cannot tick it); zero-settled bills never.
        QVERIFY(
            refresh(screen, {{"optSumBy_0", "1"}, {"optGroupBy_0", "1"}, {"cboIsSentMenu", "#0"}}));
        QCOMPARE(points(screen.line()), QStringList({"300.00", "0.00", "0.00"}));
        QVERIFY(!screen.applyCriterion("chkUseTrueData", "1"));
        {
            hostContext().TrueDataAllowed = true;
            frmMenuLine allowed;
            allowed.ShowMe();
            hostContext().TrueDataAllowed = false;
            QVERIFY(refresh(allowed, {{"cboDepartType", "热菜"}, {"chkUseTrueData", "1"}}));
            QCOMPARE(points(allowed.line()), QStringList({"300.00", "0.00", "70.00"}));
        }

        // A menu by its phonetic code, and a name with a quote in it, taken literally.
        QVERIFY(refresh(screen, {{"optGroupBy_2", "1"}, {"cboMenu", "gbjd"}}));
        QCOMPARE(points(screen.line()), QStringList({"300.00", "0.00", "0.00"}));
        QVERIFY(refresh(screen, {{"cboMenu", "燕京'啤酒"}, {"cboIsSentMenu", "#2"}}));
        QCOMPARE(points(screen.line()), QStringList({"16.00", "0.00", "0.00"}));
        QList<frmMenuLine::MenuEntry> menus = {
            {"M1", "宫保鸡丁", "GBJD"}, {"M3", "青岛啤酒", "QDPJ"}, {"M4", "燕京啤酒", "YJPJ"}};
        QCOMPARE(frmMenuLine::narrowMenus(menus, "啤酒"), QList<int>({1, 2}));
        QCOMPARE(frmMenuLine::narrowMenus(menus, "qd"), QList<int>({1}));
        QCOMPARE(frmMenuLine::narrowMenus(menus, "m"), QList<int>({0, 1, 2}));
        QCOMPARE(frmMenuLine::narrowMenus(menus, "jd"), QList<int>());

        // Typing that names no single menu, or a hostile text: refused, nothing run.
        for (const char* typed : {"啤酒", "x' OR '1'='1"}) {
            QVERIFY(!refresh(screen, {{"cboMenu", typed}}));
            QCOMPARE(screen.lastError(), QString("请选择要统计的菜品！"));
            QVERIFY(!screen.isRunning() && screen.isEnabled());
        }
    }

    void trendLines()
    {
        TestDatabase db("chart_lines.sql");
        db.install();
        frmTrendLine people;
        people.ShowMe(1);
        // Opened with the current month's line already drawn.
        const QDate today = QDate::currentDate();
        QCOMPARE(people.line().days(), today.day());
        QCOMPARE(people.title(), QString("客流量走势图"));
        people.ShowMe(7); // not a kind: nothing changes
        QCOMPARE(people.kind(), 1);

        QVERIFY(refresh(people, {}));
        QCOMPARE(points(people.line()), QStringList({"3.00", "100.00", "0.00"}));
        QCOMPARE(statementDays(db, [&] { refresh(people, {}); }),
                 QStringList({"2026-05-01", "2026-05-02"}));
        QCOMPARE(people.points()->text(5, 2), QString("100"));

        frmTrendLine received;
        received.ShowMe(0);
        QVERIFY(refresh(received, {}));
        QCOMPARE(points(received.line()), QStringList({"340.00", "500.00", "0.00"}));
        QCOMPARE(received.chart()->data().header,
                 QString("2026年05月01日-2026年05月03日 营业额走势图"));
        QVERIFY(refresh(received, {{"chkPeriod_1", "0"}})); // lunch left out
        QCOMPARE(points(received.line()), QStringList({"340.00", "0.00", "0.00"}));
        QVERIFY(!refresh(received, {{"chkPeriod_2", "0"}})); // no period left
        QCOMPARE(received.lastError(), QString("请选择要统计的餐段，至少必须选择一个餐段！"));

        // Table turnover: 50 settled bills over 20 tables; with no tables, the bill counts.
        frmTrendLine tables;
        tables.ShowMe(2);
        QVERIFY(refresh(tables, {}));
        QCOMPARE(points(tables.line()), QStringList({"0.05", "2.50", "0.00"}));
        db.run("DELETE FROM tb_Table");
        QVERIFY(tables.runRefresh());
        QCOMPARE(points(tables.line()), QStringList({"1.00", "50.00", "0.00"}));

        // Safe: a reversed range and a missing table leave the screen idle, the chart as it was.
        QTemporaryDir dir;
        QVERIFY(tables.exportGrid(dir.filePath("before.cht")));
        tables.applyCriterion("dtpEnd", "2026-04-01");
        QVERIFY(!tables.runRefresh());
        db.run("DROP TABLE bi_Bill");
        QVERIFY(!refresh(tables, {}));
        QVERIFY(!tables.lastError().isEmpty());
        QVERIFY(!tables.isRunning() && tables.isEnabled());
        Chart2DData before;
        QVERIFY(ChartFile::load(&before, dir.filePath("before.cht")));
        QCOMPARE(tables.chart()->data().values, before.values);
    }

    // Exports by extension: the points as text, the chart as pictures and chart files.
    void exports()
    {
        TestDatabase db("chart_lines.sql");
        db.install();
        frmTrendLine received;
        received.ShowMe(0);
        QVERIFY(refresh(received, {}));
        QTemporaryDir dir;
        QVERIFY(received.exportGrid(dir.filePath("points.txt")));
        QFile text(dir.filePath("points.txt"));
        QVERIFY(text.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(text.readAll()).split('\n');
        QVERIFY(lines.at(0).startsWith("2026年05月01日-2026年05月03日 营业额走势图"));
        QVERIFY(lines.at(2).startsWith("日期\t营业额走势图"));
        QVERIFY(lines.at(4).startsWith("2026年05月02日\t500.00"));
        for (const char* name : {"line.png", "line.svg", "line.pdf", "line.cht", "line.xlsx"})
            QVERIFY2(received.exportGrid(dir.filePath(name)), name);
        QVERIFY(QImage(dir.filePath("line.png")).width() > 0);
    }
};

QTEST_MAIN(TestChartLines)
#include "tst_chartlines.moc"
