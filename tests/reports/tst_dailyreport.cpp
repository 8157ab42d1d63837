#include "core/modMessage.h"
#include "core/modPublic.h"
#include "framework/HostUi.h"
#include "reports/periods/DailyReportFigures.h"
#include "reports/periods/DailyReportSheet.h"
#include "reports/periods/DailyReportSql.h"
#include "reports/periods/frmDailyReport.h"
#include "sheet/Sheet.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/XlsxCells.h"
#include "ui/frmViewSpread.h"

#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Criteria = QList<QPair<QString, QString>>;

// The report's branch scope for the criteria's branch choice.
BranchScope scope(const DailyReportCriteria& c)
{
    return BranchScope({DailyBillBranch, DailyItemCostBranch, DailyStockBranch}, c.branch);
}

// Rows 6 to 17 of the sheet, columns 2 to 17 without the gap column 7: caption, day amount and
// percent, period amount and percent | department caption, day sales and percent, period sales
// and percent, day cost, period cost, day expenses, period expenses, gross profit.
QStringList sheetRows(const Sheet& s)
{
    QStringList rows;
    for (int r = 6; r <= s.maxRows() - 1; ++r) {
        QStringList cells;
        for (int c = 2; c <= 17; ++c)
            if (c != 7)
                cells << s.text(r, c);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

// Expected rows: the subject and department halves of each row.
QStringList expected(const QList<QPair<const char*, const char*>>& halves)
{
    QStringList rows;
    for (const auto& [left, right] : halves)
        rows << QString::fromUtf8(left) + QLatin1Char('|') + QString::fromUtf8(right);
    return rows;
}

const char* const Blank5 = "||||";
const char* const Blank10 = "|||||||||";

using Amount = DailyReportFigures::Amount;
using Share = DailyReportFigures::Share;

} // namespace

namespace QTest {
template <> char* toString(const Amount& a)
{
    return qstrdup(a ? qPrintable(a->toString(4)) : "absent");
}
} // namespace QTest

class TestDailyReport : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { HostUi::setHeadless(true); }

    void wholeSheet_data()
    {
        QTest::addColumn<Criteria>("criteria");
        QTest::addColumn<QStringList>("rows");

        // All branches, both cost sources.
        QTest::newRow("all")
            << Criteria{}
            << expected({
                   {"现金|250.00|26.32%|650.00|48.15%",
                    "热菜|300.00|31.58%|600.00|44.44%|190.00|410.00|||190.00"},
                   {"银行卡|600.00|63.16%|600.00|44.44%",
                    "酒水|80.00|8.42%|180.00|13.33%|50.00|100.00|||80.00"},
                   {"收入小计|850.00|89.47%|1250.00|92.59%", Blank10},
                   {Blank5, "主食组|180.00|18.95%|180.00|13.33%|||||"},
                   {"挂账|100.00|10.53%|100.00|7.41%", Blank10},
                   {"费用小计|100.00|10.53%|100.00|7.41%", Blank10},
                   {Blank5, Blank10},
                   {Blank5, "出品小计|950.00|100.00%|1350.00|100.00%|||||"},
                   {"人数|6||11|", "服务费|30.00|3.16%|70.00|5.19%|||||"},
                   {"人均消费|158.33||122.73|", "折扣额|-30.00|-3.16%|-70.00|-5.19%|||||"},
                   {Blank5, Blank10},
                   {"合计|950.00|100.00%|1350.00|100.00%",
                    "合计|950.00|100.00%|1350.00|100.00%|250.00|520.00|80.00|145.50|684.50"},
               });
        // One branch: its bills, its own and the local stock, the bill items of its bills.
        QTest::newRow("one branch")
            << Criteria{{"cboBranch", "北京店"}}
            << expected({
                   {"现金|200.00|66.67%|600.00|85.71%",
                    "热菜|200.00|66.67%|500.00|71.43%|150.00|370.00|||130.00"},
                   {"银行卡|100.00|33.33%|100.00|14.29%",
                    "酒水|80.00|26.67%|180.00|25.71%|20.00|70.00|||110.00"},
                   {"收入小计|300.00|100.00%|700.00|100.00%", Blank10},
                   {Blank5, "主食组|80.00|26.67%|80.00|11.43%|||||"},
                   {"挂账||||", Blank10},
                   {"费用小计||||", Blank10},
                   {Blank5, Blank10},
                   {Blank5, "出品小计|300.00|100.00%|700.00|100.00%|||||"},
                   {"人数|4||9|", "服务费|30.00|10.00%|70.00|10.00%|||||"},
                   {"人均消费|75.00||77.78|", "折扣额|-30.00|-10.00%|-70.00|-10.00%|||||"},
                   {Blank5, Blank10},
                   {"合计|300.00|100.00%|700.00|100.00%",
                    "合计|300.00|100.00%|700.00|100.00%|170.00|440.00|80.00|145.50|114.50"},
               });
        // Production cost only (stock movements), then sales cost only (bill items).
        QStringList production = expected({
            {"现金|250.00|26.32%|650.00|48.15%",
             "热菜|300.00|31.58%|600.00|44.44%|50.00|150.00|||450.00"},
            {"银行卡|600.00|63.16%|600.00|44.44%",
             "酒水|80.00|8.42%|180.00|13.33%|30.00|30.00|||150.00"},
        });
        QStringList sales = expected({
            {"现金|250.00|26.32%|650.00|48.15%",
             "热菜|300.00|31.58%|600.00|44.44%|140.00|260.00|||340.00"},
            {"银行卡|600.00|63.16%|600.00|44.44%",
             "酒水|80.00|8.42%|180.00|13.33%|20.00|70.00|||110.00"},
        });
        QTest::newRow("production cost")
            << Criteria{{"cboCosting", "#1"}}
            << (production << QStringLiteral("*")
                           << QString::fromUtf8(
                                  "合计|950.00|100.00%|1350.00|100.00%|合计|950.00|100.00%|1350.00|"
                                  "100.00%|80.00|180.00|80.00|145.50|1024.50"));
        QTest::newRow("sales cost")
            << Criteria{{"cboCosting", "#2"}}
            << (sales << QStringLiteral("*")
                      << QString::fromUtf8("合计|950.00|100.00%|1350.00|100.00%|合计|950.00|100.00%"
                                           "|1350.00|100.00%|170.00|340.00|80.00|145.50|864.50"));
        // A day without bills: the day columns stay empty, the day's expenses show.
        QTest::newRow("day without bills")
            << Criteria{{"dtpToday", "2026-03-05"}}
            << expected({
                   {"现金|||650.00|48.15%", "热菜|||600.00|44.44%||410.00|||190.00"},
                   {"银行卡|||600.00|44.44%", "酒水|||180.00|13.33%||100.00|||80.00"},
                   {"收入小计|||1250.00|92.59%", Blank10},
                   {Blank5, "主食组|||180.00|13.33%|||||"},
                   {"挂账|||100.00|7.41%", Blank10},
                   {"费用小计|||100.00|7.41%", Blank10},
                   {Blank5, Blank10},
                   {Blank5, "出品小计|||1350.00|100.00%|||||"},
                   {"人数|||11|", "服务费|||70.00|5.19%|||||"},
                   {"人均消费|||122.73|", "折扣额|||-70.00|-5.19%|||||"},
                   {Blank5, Blank10},
                   {"合计|||1350.00|100.00%", "合计|||1350.00|100.00%||520.00|45.50|145.50|684.50"},
               });
    }

    // Every cell of the data rows for the day and the period, per criteria case. A "*" row
    // skips to the last row (cases that differ only in a few rows).
    void wholeSheet()
    {
        QFETCH(Criteria, criteria);
        QFETCH(QStringList, rows);
        TestDatabase db("daily_report.sql");
        db.install();
        frmDailyReport screen;
        screen.ShowMe();
        QVERIFY(screen.applyCriterion("dtpBegin", "2026-03-01"));
        QVERIFY(screen.applyCriterion("dtpEnd", "2026-03-10"));
        QVERIFY(screen.applyCriterion("dtpToday", "2026-03-10"));
        for (const auto& [name, value] : criteria)
            QVERIFY2(screen.applyCriterion(name, value), qPrintable(name));
        QVERIFY(screen.runRefresh());
        const Sheet& s = *screen.sheet();
        QCOMPARE(s.maxRows(), 18); // M = 17 (7 subject rows + 10), then the margin row
        QCOMPARE(s.maxCols(), 18);
        const QStringList actual = sheetRows(s);
        const qsizetype skip = rows.indexOf(QStringLiteral("*"));
        if (skip < 0) {
            QCOMPARE(actual, rows);
        } else {
            QCOMPARE(actual.mid(0, skip), rows.mid(0, skip));
            QCOMPARE(actual.last(), rows.last());
        }
    }

    void titlesAndGeometry()
    {
        TestDatabase db("daily_report.sql");
        db.install();
        frmDailyReport screen;
        screen.ShowMe();
        // Initial criteria: the month so far, today.
        const QDate today = QDate::currentDate();
        QCOMPARE(screen.beginDate(), QDate(today.year(), today.month(), 1));
        QCOMPARE(screen.endDate(), today);
        screen.applyCriterion("dtpBegin", "2026-03-01");
        screen.applyCriterion("dtpEnd", "2026-03-10");
        screen.applyCriterion("dtpToday", "2026-03-04");
        QVERIFY(screen.runRefresh());
        const Sheet& s = *screen.sheet();
        QCOMPARE(s.text(1, 2), QString("营业收入日报表"));
        QCOMPARE(s.text(2, 2), QString("日期：2026年3月4日"));
        QCOMPARE(s.text(2, 8), QString("统计期间：从2026年3月1日 至2026年3月10日"));
        QStringList headers;
        for (int c = 1; c <= 18; ++c)
            headers << s.text(4, c);
        QCOMPARE(headers.join('|'),
                 QString("|项目名称|本日收入|百分比|本月累计|百分比||项目名称|本日收入|"
                         "百分比|本月收入|百分比|本日成本|本月成本|本日费用|本月费用|月毛利润|"));
        QCOMPARE(s.effectiveStyle(1, 2).font->pointSize(), 20);
        QVERIFY(s.spans().contains(CellBlock{1, 2, 1, 18}));
        QVERIFY(s.spans().contains(CellBlock{2, 2, 3, 6}));
        QVERIFY(s.spans().contains(CellBlock{2, 8, 3, 17}));
        QVERIFY(s.effectiveStyle(4, 2).borderColor && s.effectiveStyle(17, 17).borderColor);
        QVERIFY(!s.effectiveStyle(18, 17).borderColor && !s.effectiveStyle(10, 18).borderColor);
        QCOMPARE(*s.effectiveStyle(6, 3).hAlign, Qt::AlignRight);
        QVERIFY(!s.gridLines() && s.locked());
        for (int c = 1; c <= 18; ++c)
            QVERIFY(s.columnWidth(c) >= DailyReportSheet::designedWidth(c));
        const PrintSettings& ps = s.printSettings();
        QVERIFY(!ps.border && !ps.columnHeaders && !ps.gridLines && ps.header.isEmpty());
        QCOMPARE(ps.marginLeft, 0);

        // The day must lie in the period: refused, the sheet is left as it was.
        screen.applyCriterion("dtpToday", "2026-03-11");
        QVERIFY(!screen.runRefresh());
        QCOMPARE(s.text(2, 2), QString("日期：2026年3月4日"));
        screen.applyCriterion("dtpToday", "2026-03-01");
        QVERIFY(screen.runRefresh());
        screen.applyCriterion("dtpEnd", "2026-02-28");
        QVERIFY(!screen.runRefresh());
    }

    // The English sheet is no wider than the Chinese one, so it fits wherever that does, and
    // its period header reads as one line.
    void englishSheetAsWideAsTheChinese()
    {
        TestDatabase db("daily_report.sql");
        db.install();
        auto run = [](QString* period) {
            frmDailyReport screen;
            screen.ShowMe();
            screen.applyCriterion("dtpBegin", "2026-03-01");
            screen.applyCriterion("dtpEnd", "2026-03-10");
            screen.applyCriterion("dtpToday", "2026-03-04");
            if (!screen.runRefresh())
                return -1;
            const Sheet& s = *screen.sheet();
            *period = s.text(2, 8);
            int width = 0;
            for (int c = 1; c <= s.maxCols(); ++c)
                width += s.columnWidth(c);
            return width;
        };
        QString period;
        const int chinese = run(&period);
        QTemporaryDir settings;
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
        QSettings(QSettings::IniFormat, QSettings::UserScope, "Valtrix", "Valtrix")
            .setValue("Language/Language", "3");
        SetPluginDirectory(VTX_BIN_DIR);
        LoadMessageTable();
        const int english = run(&period);
        QSettings(QSettings::IniFormat, QSettings::UserScope, "Valtrix", "Valtrix")
            .setValue("Language/Language", "0");
        LoadMessageTable();
        QVERIFY(chinese > 0);
        QVERIFY2(english <= chinese, qPrintable(QString("%1 > %2").arg(english).arg(chinese)));
        QCOMPARE(period, QString("Period: 2026/3/1 to 2026/3/10"));
    }

    // A part that cannot be read leaves its cells and the figures worked out from it empty,
    // the next parts still run, and the run fails naming the part; hidden and missing lists.
    void failuresAndLists()
    {
        TestDatabase db("daily_report.sql");
        db.install();
        db.run("DROP TABLE st_Bill");
        frmDailyReport screen;
        screen.ShowMe();
        screen.applyCriterion("dtpBegin", "2026-03-01");
        screen.applyCriterion("dtpEnd", "2026-03-10");
        screen.applyCriterion("dtpToday", "2026-03-10");
        QVERIFY(!screen.runRefresh());
        QStringList rows = sheetRows(*screen.sheet());
        // No cost: no gross profit either, rather than sales less nothing.
        QCOMPARE(rows.first(),
                 QString("现金|250.00|26.32%|650.00|48.15%|热菜|300.00|31.58%|600.00|44.44%|||||"));
        QCOMPARE(rows.last(), QString("合计|950.00|100.00%|1350.00|100.00%|合计|950.00|100.00%|"
                                      "1350.00|100.00%|||80.00|145.50|"));
        const QString status = screen.findChild<QLabel*>("StatusBar1_Panel1")->text();
        QVERIFY2(status.startsWith("报表未能全部生成") &&
                     status.contains("：本日成本, 本月成本 (no such table: st_Bill"),
                 qPrintable(status));
        QCOMPARE(screen.lastError(), status);
        // No period expenses: the departments' profit stands, the total's does not.
        TestDatabase db2("daily_report.sql");
        db2.install();
        db2.run("DROP TABLE bi_Expense");
        QVERIFY(!screen.runRefresh());
        rows = sheetRows(*screen.sheet());
        QVERIFY(rows.first().endsWith("|190.00") && rows.last().endsWith("|250.00|520.00|||"));
        QVERIFY(screen.lastError().contains("本日费用, 本月费用 (no such table: bi_Expense"));
        QVERIFY(!screen.applyCriterion("dtpToday", "9999-12-31"));

        db.run("UPDATE dd_Subject SET IsVisible=0 WHERE SubjectID='09'; DROP TABLE mn_GroupType");
        const DailyReportLists lists = DailyReportLists::load(db.connection(), "in", "out");
        QCOMPARE(lists.subjects.size(), 2);
        QCOMPARE(lists.subjects.at(1).caption, QString("银行卡"));
        QCOMPARE(lists.departTypes, QStringList({"热菜", "酒水"}));
        QVERIFY(lists.groupTypes.isEmpty());

        // Only the top-up option and the deleted option change the common fragments.
        DailyReportCriteria c;
        c.saving = true;
        c.branch.kind = BranchChoice::One;
        c.branch.name = "x";
        QCOMPARE(
            scope(c).fill(DailyCommonFilter(c, true)).text(),
            QString(" AND BL.IsDeleted=0  AND BL.TableName<>'会员卡充值' and BranchName='x' "));
        c.useTrueData = true;
        QCOMPARE(scope(c).fill(DailyCommonFilter(c, false)).text(),
                 QString(" AND TableName<>'会员卡充值' and BranchName='x' "));
        QCOMPARE(DailyReportSheet::percentText(Money::fromString(u"1"), Money::fromString(u"3")),
                 QString("33.33%"));
        QCOMPARE(DailyReportSheet::percentText(Money::fromString(u"2"), Money::fromString(u"3")),
                 QString("66.67%"));
    }

    // The figures themselves, worked out by hand from the fixture for 2026-03-10 in the period
    // 2026-03-01..10, all branches, both cost sources.
    void figures()
    {
        TestDatabase db("daily_report.sql");
        const DailyReportLists lists = DailyReportLists::load(db.connection(), "in", "out");
        DailyReportCriteria c;
        c.range = {QDate(2026, 3, 1), QDate(2026, 3, 10)};
        c.today = QDate(2026, 3, 10);
        auto read = [&] { return DailyReportFigures::read(db.connection(), c, lists, scope(c)); };
        auto money = [](const char* text) { return Amount(Money::fromString(QString(text))); };
        DailyReportFigures f = read();
        QVERIFY(f.failures.isEmpty());
        // The day's bills B1, B2 and the top-up B4 (B3 is deleted): 950 paid by 6 guests, of
        // which 200 + 50 in cash; the blank row after the income subtotal has no figure.
        QCOMPARE(f.day.payments.paid, money("950"));
        QCOMPARE(f.day.payments.guests, std::optional<qint64>(6));
        QCOMPARE(f.day.payments.perGuest(), money("158.33"));
        QCOMPARE(f.day.payments.subjects.at(0), money("250"));
        QCOMPARE(f.day.payments.share(f.day.payments.subjects.at(0)), Share(2632)); // 26.315..%
        QVERIFY(!f.day.payments.subjects.at(3));
        // Period sales of hot dishes: B1 200 + B2 100 + B6 300 (the gift line is not sold), of
        // 1350 consumption + 70 service - 70 discount.
        QCOMPARE(f.period.sales.departTypes.at(0), money("600"));
        QCOMPARE(f.period.sales.total(), money("1350"));
        QCOMPARE(f.period.sales.share(f.period.sales.departTypes.at(0)), Share(4444));
        QCOMPARE(f.period.sales.share(f.period.sales.discount), Share(-519));
        // Period cost of hot dishes: stock 70 - 20 + 100, items 2x50 + 2x20 + 2x60; drinks 30 +
        // 2x10 + 2x25; the unlisted 其他 (10) counts in the total only. Profit 600 - 410,
        // 180 - 100, and 1350 - 520 - the period's expenses 80 + 45.5 + 20.
        QCOMPARE(f.period.cost.departTypes, QList<Amount>({money("410"), money("100")}));
        QCOMPARE(f.period.cost.total, money("520"));
        QCOMPARE(f.profit(0), money("190"));
        QCOMPARE(f.profit(1), money("80"));
        QCOMPARE(f.totalProfit(), money("684.5"));

        // The profit takes each figure to the cent as the sheet shows it: 145.505 of expenses
        // show as 145.51, and 1350 - 520 - 145.51 is 684.49 (not 684.495 shown as 684.50).
        db.run("INSERT INTO bi_Expense (BillDate, Expense) VALUES ('2026-03-04 00:00:00', 0.005)");
        f = read();
        QCOMPARE(f.period.expenses, money("145.505"));
        QCOMPARE(f.totalProfit(), money("684.49"));

        // A block that cannot be read leaves all its figures absent, and every profit with
        // them; the other blocks stand. Without bi_BillPayment the money taken is not shown
        // either, though the bill summary could be read.
        db.run("DROP TABLE st_Bill; DROP TABLE bi_BillPayment");
        f = read();
        QList<DailyReportFigures::Part> failed;
        for (const DailyReportFigures::Failure& failure : f.failures) {
            failed << failure.part;
            QVERIFY2(failure.error.contains("no such table"), qPrintable(failure.error));
        }
        QCOMPARE(failed, QList<DailyReportFigures::Part>(
                             {DailyReportFigures::PaymentsDay, DailyReportFigures::PaymentsPeriod,
                              DailyReportFigures::CostDay, DailyReportFigures::CostPeriod}));
        QVERIFY(!f.day.payments.paid && !f.day.payments.guests && !f.day.payments.perGuest());
        QVERIFY(!f.period.cost.total && !f.profit(0) && !f.totalProfit());
        QCOMPARE(f.period.sales.departTypes.at(0), money("600"));
        QCOMPARE(f.period.expenses, money("145.505"));
    }

    // The grouped statements (one scan per block) and the statements per row give the same
    // sheet, cell for cell, and the same figures to the last decimal: over the fixture with
    // each criterion that changes a statement, and over every day of a demo database against
    // its month so far. A subject or department type spelt in another case, a bill item whose
    // menu type and menu are both in a group (counted once), an item of no department type
    // and a subject that is not listed are added to the fixture.
    void groupedStatementsMatchPerRow()
    {
        auto mismatch = [](const ConnectionPtr& db, DailyReportCriteria c, const QDate& today,
                           const QDate& begin) -> QString {
            c.range = {begin, today};
            c.today = today;
            const DailyReportLists lists = DailyReportLists::load(db, "in", "out");
            QStringList captions;
            for (int i = 0; i < DailyReportSheet::CaptionCount; ++i)
                captions << QString("c%1").arg(i);
            Sheet sheets[2];
            QStringList figures[2];
            int filled = 0;
            for (int form = 0; form < 2; ++form) {
                const auto f =
                    DailyReportFigures::read(db, c, lists, scope(c),
                                             form ? DailyReportFigures::Statements::PerRow
                                                  : DailyReportFigures::Statements::Grouped);
                if (!f.failures.isEmpty())
                    return "failed: " + f.failures.first().error;
                DailyReportSheet sheet(&sheets[form], captions);
                sheet.layout(lists, today, begin, today);
                sheet.render(f);
                auto add = [&](const Amount& a) {
                    figures[form] << (a ? a->toString(4) : QString("-"));
                };
                for (const DailyReportFigures::Range* r : {&f.day, &f.period}) {
                    for (const Amount& a : r->payments.subjects + r->sales.departTypes +
                                               r->sales.groupTypes + r->cost.departTypes)
                        add(a);
                    for (const Amount& a : {r->payments.paid, r->sales.consume, r->cost.total})
                        add(a);
                }
            }
            const Sheet &a = sheets[0], &b = sheets[1];
            if (a.maxRows() != b.maxRows() || a.maxCols() != b.maxCols())
                return "sheet size";
            for (int r = 1; r <= a.maxRows(); ++r)
                for (int col = 1; col <= a.maxCols(); ++col) {
                    if (a.text(r, col) != b.text(r, col))
                        return QString("cell %1,%2: grouped %3, per row %4")
                            .arg(r)
                            .arg(col)
                            .arg(a.text(r, col), b.text(r, col));
                    filled += !a.text(r, col).isEmpty();
                }
            if (figures[0] != figures[1])
                return "figures: " + figures[0].join(' ') + " / " + figures[1].join(' ');
            return filled > 60 ? QString() : QString("only %1 cells filled").arg(filled);
        };

        TestDatabase db("daily_report.sql");
        db.run("INSERT INTO bi_BillPayment (BillPaymentID, BillID, SubjectID, SumPaid) VALUES "
               "('B6-9', 'B6', '77', 12.5);"
               "INSERT INTO bi_BillItem (BillItemID, BillID, MenuID, MenuTypeID, DepartTypeID, "
               "DepartTypeName, SumOfConsume, IsSentMenu, CostPrice, AmountOrder, AmountCancel) "
               "SELECT 'B6-x', 'B6', 'M3', 'T2', NULL, NULL, 33.25, 0, 1.5, 2, 0;"
               "INSERT INTO bi_BillItem (BillItemID, BillID, MenuID, MenuTypeID, DepartTypeID, "
               "DepartTypeName, SumOfConsume, IsSentMenu, CostPrice, AmountOrder, AmountCancel) "
               "SELECT 'B1-y', 'B1', 'M9', 'T9', DepartTypeID, upper(DepartTypeName), 7.75, 0, "
               "2, 1, 0 FROM bi_BillItem WHERE BillID='B1' LIMIT 1;");
        const QDate today(2026, 3, 10), first(2026, 3, 1);
        DailyReportCriteria c;
        QCOMPARE(mismatch(db.connection(), c, today, first), QString());
        c.useTrueData = true;
        c.saving = true;
        QCOMPARE(mismatch(db.connection(), c, today, first), QString());
        for (int costing : {1, 2}) {
            c.costing = costing;
            QCOMPARE(mismatch(db.connection(), c, today, first), QString());
        }
        c.branch.kind = BranchChoice::One;
        c.branch.name = "北京店";
        QCOMPARE(mismatch(db.connection(), c, today, first), QString());

        // A demo chain: two branches, a week of bills.
        QTemporaryDir dir;
        const QString demo = dir.filePath("demo.db");
        QProcess p;
        p.start(VTX_BIN_DIR "/vtxdemodb", {"--out", demo, "--branches", "2", "--days", "7",
                                           "--bills-per-day", "40", "--last-day", "2026-11-30"});
        QVERIFY(p.waitForFinished(120000) && p.exitCode() == 0);
        const ConnectionPtr chain = Connection::openSqlite(demo);
        for (QDate day(2026, 11, 24); day <= QDate(2026, 11, 30); day = day.addDays(1))
            QVERIFY2(mismatch(chain, DailyReportCriteria(), day, QDate(2026, 11, 1)).isEmpty(),
                     qPrintable(day.toString(Qt::ISODate) + ": " +
                                mismatch(chain, DailyReportCriteria(), day, QDate(2026, 11, 1))));
    }

    void exportFormats()
    {
        TestDatabase db("daily_report.sql");
        db.install();
        frmDailyReport screen;
        screen.ShowMe();
        screen.applyCriterion("dtpBegin", "2026-03-01");
        screen.applyCriterion("dtpEnd", "2026-03-10");
        screen.applyCriterion("dtpToday", "2026-03-10");
        QVERIFY(screen.runRefresh());
        QTemporaryDir dir;
        const QStringList expectedFiles = {"d.xlsx", "d.htm", "d.rpt", "d.txt", "d.xml"};
        for (int filter = 1; filter <= 5; ++filter) {
            QVERIFY(frmViewSpread::exportSheet(*screen.sheet(), dir.filePath("d"), filter,
                                               screen.windowTitle()));
            QVERIFY2(QFileInfo(dir.filePath(expectedFiles.at(filter - 1))).size() > 0,
                     qPrintable(expectedFiles.at(filter - 1)));
        }
        QFile text(dir.filePath("d.txt"));
        QVERIFY(text.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(text.readAll()).contains("1350.00\t100.00%"));

        // Read back by a spreadsheet reader: every figure a number cell with its format (the
        // share as a fraction under a percent format), no figure a text; the captions texts.
        QString error;
        const QHash<QString, XlsxCell> cells = readXlsxCells(dir.filePath("d.xlsx"), &error);
        QVERIFY2(!cells.isEmpty(), qPrintable(error));
        const QList<QPair<const char*, QStringList>> figures = {
            {"C6", {"n", "250", "0.00"}},     // 现金, the day
            {"D6", {"n", "0.2632", "0.00%"}}, // 26.32% of 950
            {"E17", {"n", "1350", "0.00"}},   // money taken in the period
            {"C14", {"n", "6", "0"}},         // guests
            {"C15", {"n", "158.33", "0.00"}}, {"O17", {"n", "80", "0.00"}}, // the day's expenses
            {"Q17", {"n", "684.5", "0.00"}},                                // gross profit
            {"B6", {"s", "现金", "General"}},
        };
        for (const auto& [ref, want] : figures) {
            const XlsxCell c = cells.value(ref);
            QCOMPARE(QStringList({c.type, c.value, c.format}), want);
        }
        static const QRegularExpression figure("^-?[0-9,]+(\\.[0-9]+)?%?$");
        for (auto it = cells.cbegin(); it != cells.cend(); ++it)
            QVERIFY2(it->type == "n" || !figure.match(it->value).hasMatch(),
                     qPrintable(it.key() + " holds the text " + it->value));

        // The workbook keeps the title row and prints on one landscape page, without a page
        // header or repeated rows.
        if (QStandardPaths::findExecutable("unzip").isEmpty())
            return;
        auto member = [&](const char* name) {
            QProcess unzip;
            unzip.start("unzip", {"-p", dir.filePath("d.xlsx"), name});
            unzip.waitForFinished();
            return QString::fromUtf8(unzip.readAllStandardOutput());
        };
        const QString ws = member("xl/worksheets/sheet1.xml");
        QVERIFY(ws.contains("<pageSetUpPr fitToPage=\"1\"/>"));
        QVERIFY(ws.contains("orientation=\"landscape\""));
        QVERIFY(!ws.contains("<headerFooter"));
        QVERIFY(!member("xl/workbook.xml").contains("Print_Titles"));
        QVERIFY(member("xl/sharedStrings.xml").contains("营业收入日报表"));
        QVERIFY(ws.contains("<row r=\"1\""));
    }
};

QTEST_MAIN(TestDailyReport)
#include "tst_dailyreport.moc"
