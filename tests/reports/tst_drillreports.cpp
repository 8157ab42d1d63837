// Drill-down from the period and takings reports to the lines and bills behind their figures,
// over tests/fixtures/period_reports.sql (period query, payment query, hour report) and
// period_reports2.sql (table report), on 2026-03-10: every row of each summary view, the totals
// row included, opens a list whose totals are the figure clicked; the lists named below are
// worked out by hand from the fixtures' bills. Last, `vtxhost --drill` exports the list.
#include "core/HostContext.h"
#include "framework/HostUi.h"
#include "reports/bills/frmBillItemQuery.h"
#include "reports/bills/frmBillQuery.h"
#include "reports/periods/frmHourReport.h"
#include "reports/periods/frmPaymentQuery.h"
#include "reports/periods/frmPeriodQuery.h"
#include "reports/periods/frmTableReport.h"
#include "sheet/Sheet.h"
#include "tests/support/TestDatabase.h"
#include "ui/ctlQuery.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

// The list a drill-down opened.
template <class List> List* drilled(ReportScreen& screen)
{
    return qobject_cast<List*>(screen.drilledScreen());
}

// A totalled column of a list: its totals row, 0 for an empty list.
double total(QueryReportScreen* list, int column)
{
    Sheet* g = list->queryControl()->Grid();
    const int last = g->maxRows();
    if (last < 1 || list->queryControl()->rowRole(last) != QueryFill::RowRole::Total)
        return 0;
    return g->value(last, column).toDouble();
}

// The list's bills (or lines) by their first column, the totals row left out.
QStringList listed(QueryReportScreen* list)
{
    QStringList ids;
    Sheet* g = list->queryControl()->Grid();
    for (int row = 1; row <= g->maxRows(); ++row)
        if (list->queryControl()->rowRole(row) == QueryFill::RowRole::Data)
            ids << g->text(row, 1);
    return ids;
}

double figure(QueryReportScreen& screen, int row, int column)
{
    return screen.queryControl()->Grid()->value(row, column).toDouble();
}

void setRange(ReportScreen& screen)
{
    QVERIFY(screen.applyCriterion("dtpBegin", "2026-03-10"));
    QVERIFY(screen.applyCriterion("dtpEnd", "2026-03-10"));
}

#define DRILL(screen, at)                                                                          \
    QVERIFY2((screen).drillDown(at), qPrintable(QString(at) + ": " + (screen).lastError()))

} // namespace

class TestDrillReports : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        HostUi::setHeadless(true);
        hostContext().UserID = "admin";
        hostContext().TrueDataAllowed = false;
    }

    // The period query's figures are item lines: quantity consumed (item-line column 9), amount
    // (11) and amount after discount (11 less 13), per meal period group and for the day.
    void periodQuery()
    {
        TestDatabase db("period_reports.sql");
        db.install();
        frmPeriodQuery screen;
        screen.ShowMe();
        setRange(screen);
        struct View
        {
            const char* option;
            int leading; // the text columns before 午餐, 晚餐, 夜宵 and 全天
        };
        int drills = 0;
        for (const View v : {View{"optQuery1", 3}, View{"optQuery2", 2}, View{"optQuery3", 2},
                             View{"optQuery4", 1}}) {
            QVERIFY(screen.applyCriterion(v.option, "1"));
            QVERIFY(screen.runRefresh());
            const int rows = screen.queryControl()->Grid()->maxRows();
            for (int row = 1; row <= rows; ++row)
                for (int col = v.leading + 1; col <= v.leading + 9; ++col) {
                    DRILL(screen, QString("%1,%2").arg(row).arg(col));
                    auto* lines = drilled<frmBillItemQuery>(screen);
                    QVERIFY(lines && lines->currentView() == ItemLines);
                    const int k = (col - v.leading - 1) % 2; // quantity, amount
                    const double expected = col == v.leading + 9
                                                ? total(lines, 11) - total(lines, 13)
                                            : k == 0 ? total(lines, 9)
                                                     : total(lines, 11);
                    QVERIFY2(figure(screen, row, col) == expected,
                             qPrintable(QString("%1 %2,%3").arg(v.option).arg(row).arg(col)));
                    ++drills;
                }
        }
        QCOMPARE(drills, 9 * (4 + 3 + 3 + 3)); // each view's rows and 合计

        // By hand. 宫保鸡丁 for the day: B1's 2 (76, 6 off), B3's 1 after midnight (38) and B4's
        // 3 at the brunch the period list lacks (114); at 午餐, B1's alone.
        QVERIFY(screen.applyCriterion("optQuery1", "1"));
        QVERIFY(screen.runRefresh());
        DRILL(screen, "1,11");
        frmBillItemQuery* lines = drilled<frmBillItemQuery>(screen);
        Sheet* list = lines->queryControl()->Grid();
        QCOMPARE(listed(lines), QStringList({"1101", "1101", "1101"}));
        QCOMPARE(QStringList({list->text(1, 4), list->text(2, 4), list->text(3, 4)}),
                 QStringList({"B1", "B3", "B4"}));
        QCOMPARE(total(lines, 11), 228.0);
        QCOMPARE(total(lines, 11) - total(lines, 13), 222.0);
        DRILL(screen, "1,5");
        QCOMPARE(listed(lines).size(), 1);
        QCOMPARE(list->text(1, 4), QString("B1"));
        QCOMPARE(total(lines, 9), 2.0);
        // 合计 (row 4) at 晚餐: B2's fish and beer, 68 + 24.
        DRILL(screen, "4,7");
        QCOMPARE(QStringList({list->text(1, 2), list->text(2, 2)}),
                 QStringList({"水煮鱼", "青岛啤酒"}));
        QCOMPARE(total(lines, 11), 92.0);
        // The branch goes along: 北京店's 酒水 is B1's beer, 4 ordered, 1 returned.
        QVERIFY(screen.applyCriterion("cboBranch", "北京店"));
        QVERIFY(screen.applyCriterion("optQuery4", "1"));
        QVERIFY(screen.runRefresh());
        DRILL(screen, "2");
        QCOMPARE(listed(lines), QStringList({"2101"}));
        QCOMPARE(total(lines, 9), 3.0);
        QCOMPARE(total(lines, 11), 36.0);

        // Compared with the day before, three columns follow each figure: 宫保鸡丁's 午餐 amount
        // (column 5) stands in column 8 and still opens B1's line; its compared figure
        // (column 9) opens nothing.
        frmPeriodQuery compared;
        compared.ShowMe();
        setRange(compared);
        QVERIFY(compared.applyCriterion("cboCompare", "#1"));
        QVERIFY(compared.runRefresh());
        QCOMPARE(compared.queryControl()->Grid()->maxCols(), 3 + 9 * 4);
        DRILL(compared, "1,8");
        lines = drilled<frmBillItemQuery>(compared);
        QCOMPARE(listed(lines).size(), 1);
        QCOMPARE(lines->queryControl()->Grid()->text(1, 4), QString("B1"));
        QCOMPARE(figure(compared, 1, 8), total(lines, 11));
        QVERIFY(!compared.drillDown("1,9"));
        QCOMPARE(compared.lastError(), QString("对比的数字没有本期的账单：请双击本期的数字。"));
    }
    // The payment query's summed rows open their payment lines (its detail view): tendered
    // (column 5) and converted (6) add up to the row's, one line for each of its 笔数.
    void paymentQuery()
    {
        TestDatabase db("period_reports.sql");
        db.install();
        frmPaymentQuery screen;
        screen.ShowMe();
        setRange(screen);
        for (const auto& [option, keys] : {std::pair{"optQuery2", 1}, std::pair{"optQuery3", 2}}) {
            QVERIFY(screen.applyCriterion(option, "1"));
            QVERIFY(screen.runRefresh());
            const int rows = screen.queryControl()->Grid()->maxRows();
            QVERIFY(rows >= 3);
            for (int row = 1; row <= rows; ++row) {
                DRILL(screen, QString::number(row));
                auto* lines = drilled<frmPaymentQuery>(screen);
                QVERIFY(lines && lines->currentView() == 0);
                QCOMPARE(double(listed(lines).size()), figure(screen, row, keys + 1));
                QCOMPARE(total(lines, 5), figure(screen, row, keys + 2));
                QCOMPARE(total(lines, 6), figure(screen, row, keys + 3));
            }
        }
        // By hand: 现金 is B1's 100, B3's 38 and the top-up B6's 500; 港币 is B1's 30 worth 24;
        // the totals row every line, 874 tendered and 868 converted.
        QVERIFY(screen.applyCriterion("optQuery2", "1"));
        QVERIFY(screen.runRefresh());
        DRILL(screen, "1");
        frmPaymentQuery* lines = drilled<frmPaymentQuery>(screen);
        QCOMPARE(listed(lines), QStringList({"B1", "B3", "B6"}));
        QCOMPARE(total(lines, 5), 638.0);
        DRILL(screen, "3");
        QCOMPARE(listed(lines), QStringList({"B1"}));
        QCOMPARE(total(lines, 5), 30.0);
        QCOMPARE(total(lines, 6), 24.0);
        DRILL(screen, "4");
        QCOMPARE(listed(lines), QStringList({"B1", "B1", "B2", "B3", "B4", "B6"}));
        QCOMPARE(total(lines, 6), 868.0);
        // By subject and cashier at 午餐, the period going along: 现金 by 张三 is B1's 100 and
        // B6's 500.
        QVERIFY(screen.applyCriterion("optQuery3", "1"));
        QVERIFY(screen.applyCriterion("cboBillPeriod", "午餐"));
        QVERIFY(screen.runRefresh());
        DRILL(screen, "1");
        QCOMPARE(listed(lines), QStringList({"B1", "B6"}));
        QCOMPARE(total(lines, 5), 600.0);
    }
    // The table report's rows open the bill query on their table's (area's) settled bills:
    // 开台数 bills, their guests (bill column 4), consumption (8), service (10), discount (13)
    // and money received (17).
    void tableReport()
    {
        TestDatabase db("period_reports2.sql");
        db.install();
        frmTableReport screen;
        screen.ShowMe();
        setRange(screen);
        for (const auto& [option, bills] : {std::pair{"optQuery1", 3}, std::pair{"optQuery2", 2}}) {
            QVERIFY(screen.applyCriterion(option, "1"));
            QVERIFY(screen.runRefresh());
            const int rows = screen.queryControl()->Grid()->maxRows();
            QVERIFY(rows >= 4);
            for (int row = 1; row <= rows; ++row) {
                DRILL(screen, QString::number(row));
                auto* list = drilled<frmBillQuery>(screen);
                QVERIFY(list);
                const QString at = QString("%1 row %2").arg(option).arg(row);
                QVERIFY2(listed(list).size() == figure(screen, row, bills), qPrintable(at));
                int column = bills + 1;
                for (int billColumn : {4, 8, 10, 13, 17})
                    QVERIFY2(total(list, billColumn) == figure(screen, row, column++),
                             qPrintable(at));
            }
        }
        // By hand: A1 is T1 and T2 (90 + 60 received); A2 only T8, its deleted T5 and
        // zero-settled T6 left out; 大厅's subtotal adds them up; 包房 is T3's 550; the day
        // 90 + 60 + 30 + 550 + 30 = 760.
        QVERIFY(screen.applyCriterion("optQuery1", "1"));
        QVERIFY(screen.runRefresh());
        Sheet* grid = screen.queryControl()->Grid();
        QCOMPARE(grid->text(1, 2) + grid->text(2, 2) + grid->text(4, 2), QString("A1A2小计"));
        DRILL(screen, "1");
        auto* list = drilled<frmBillQuery>(screen);
        QCOMPARE(listed(list), QStringList({"T1", "T2"}));
        QCOMPARE(total(list, 17), 150.0);
        DRILL(screen, "2");
        QCOMPARE(listed(list), QStringList({"T8"}));
        DRILL(screen, "4");
        QCOMPARE(listed(list), QStringList({"T1", "T2", "T8"}));
        QCOMPARE(total(list, 17), 180.0);
        DRILL(screen, QString::number(grid->maxRows()));
        QCOMPARE(listed(list), QStringList({"T1", "T2", "T3", "T4", "T8"}));
        QCOMPARE(total(list, 17), 760.0);
        QVERIFY(screen.applyCriterion("optQuery2", "1"));
        QVERIFY(screen.runRefresh());
        QCOMPARE(screen.queryControl()->Grid()->text(2, 1), QString("包房"));
        DRILL(screen, "2");
        QCOMPARE(listed(list), QStringList({"T3"}));
        QCOMPARE(total(list, 17), 550.0);
    }

    // The hour report's rows open the bill query on the bills opened in that clock hour, by
    // business date: its figures are whole units of the bills' consumption (bill column 8),
    // service (10), discount (13), money received (17), bills and guests (4).
    void hourReport()
    {
        TestDatabase db("period_reports.sql");
        db.install();
        frmHourReport screen;
        screen.ShowMe();
        setRange(screen);
        QVERIFY(screen.runRefresh());
        for (int row = 1; row <= frmHourReport::AllDayRow; ++row) {
            DRILL(screen, QString::number(row));
            auto* list = drilled<frmBillQuery>(screen);
            QVERIFY(list);
            const QString at = QString("row %1").arg(row);
            QVERIFY2(listed(list).size() == figure(screen, row, 9), qPrintable(at));
            const std::pair<int, int> figures[] = {{4, 8}, {5, 10}, {6, 13}, {7, 17}, {11, 4}};
            for (const auto& [hourColumn, billColumn] : figures)
                QVERIFY2(std::round(total(list, billColumn)) == figure(screen, row, hourColumn),
                         qPrintable(at));
        }
        // By hand, from 10点 (the opening of 午餐): B4 opened at 10:15, B1 at 11:20, the top-up
        // B6 at 14:00, B3 at 00:30 of the next calendar day but of business day 2026-03-10;
        // the whole day 868 received (the deleted B5 left out).
        const std::pair<const char*, QStringList> hours[] = {
            {"1", {"B4"}},
            {"2", {"B1"}},
            {"5", {"B6"}},
            {"15", {"B3"}},
            {"3", {}}, // 12点: the deleted B5 only
            {"25", {"B1", "B2", "B3", "B4", "B6"}}};
        for (const auto& [row, bills] : hours) {
            DRILL(screen, row);
            QCOMPARE(listed(drilled<frmBillQuery>(screen)), bills);
        }
        QCOMPARE(total(drilled<frmBillQuery>(screen), 17), 868.0);
        QVERIFY(!screen.drillDown("26"));
    }

    // Headless, --drill after the refresh exports the list opened.
    void headless()
    {
        TestDatabase periods("period_reports.sql");
        TestDatabase tables("period_reports2.sql");
        QTemporaryDir dir;
        auto exported = [&](const TestDatabase& db, const QStringList& arguments) {
            const QString out = dir.filePath("drilled.txt");
            QFile::remove(out);
            QProcess host;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("QT_QPA_PLATFORM", "offscreen");
            host.setProcessEnvironment(env);
            host.start(VTX_BIN_DIR "/vtxhost",
                       QStringList{"--db", db.path(), "--from", "2026-03-10", "--to", "2026-03-10",
                                   "--export", out} +
                           arguments);
            host.waitForFinished(60000);
            QFile file(out);
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll())
                                                  : QString::fromUtf8(host.readAllStandardError());
        };
        // 宫保鸡丁 at 午餐: B1's line alone.
        QString text = exported(periods, {"--action", "DoPeriodQuery", "--drill", "1,5"});
        QVERIFY2(text.contains("\tB1\t") && !text.contains("\tB3\t"), qPrintable(text));
        // 现金's payment lines: B1, B3 and B6.
        text = exported(periods,
                        {"--action", "DoPaymentQuery", "--set", "optQuery2=1", "--drill", "1"});
        QVERIFY2(text.contains("\nB3\t") && text.contains("\nB6\t") && !text.contains("\nB2\t"),
                 qPrintable(text));
        // Table A1: T1 and T2.
        text = exported(tables, {"--action", "DoTableReport", "--drill", "1"});
        QVERIFY2(text.contains("\nT2\t") && !text.contains("\nT8\t"), qPrintable(text));
        // 11点: B1.
        text = exported(periods, {"--action", "DoHourReport", "--drill", "2"});
        QVERIFY2(text.contains("\nB1\t") && !text.contains("\nB4\t"), qPrintable(text));
    }
};

QTEST_MAIN(TestDrillReports)
#include "tst_drillreports.moc"
