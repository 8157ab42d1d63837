#include "framework/HostUi.h"
#include "query/DatePeriod.h"
#include "query/ScreenSpec.h"
#include "ui/ReportScreen.h"

#include <QDateEdit>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>

#include <stdexcept>

namespace {

const ScreenSpec kProbe{.name = "frmProbe",
                        .title = "Probe report",
                        .size = {11070, 7980},
                        .rows = {{BeginDate, EndDate}},
                        .caption = "Probe"};

class ProbeScreen : public ReportScreen
{
public:
    ProbeScreen() : ReportScreen(kProbe) {}
    int runs = 0;
    bool fail = false;
    bool enabledWhileRunning = true;
    QDateEdit* begin() const { return dtpBegin; }
    QDateEdit* end() const { return dtpEnd; }
    QProgressBar* progress() const { return ProgressBar1; }

protected:
    void cmdQuery1() override
    {
        ++runs;
        enabledWhileRunning = isEnabled();
        if (fail)
            throw std::runtime_error("no such table: bi_Bill");
    }
};

} // namespace

class TestReportScreen : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { HostUi::setHeadless(true); }

    void datePeriodsOnFixedDays()
    {
        // Saturday 2026-12-05: the week began on Sunday the 29th of November.
        const QDate sat(2026, 12, 5);
        QCOMPARE(DatePeriodRange("Today", sat), (DateRange{sat, sat}));
        QCOMPARE(DatePeriodRange("FromCurWeek", sat), (DateRange{QDate(2026, 11, 29), sat}));
        QCOMPARE(DatePeriodRange("InCurWeek", sat), (DateRange{sat.addDays(-6), sat}));
        QCOMPARE(DatePeriodRange("FromCurMonth", sat), (DateRange{QDate(2026, 12, 1), sat}));
        // December ends on the 31st, February on the 28th or 29th.
        QCOMPARE(DatePeriodRange("InCurMonth", sat),
                 (DateRange{QDate(2026, 12, 1), QDate(2026, 12, 31)}));
        QCOMPARE(DatePeriodRange("InCurMonth", QDate(2028, 2, 10)).end, QDate(2028, 2, 29));
        QCOMPARE(DatePeriodRange("InCurMonth", QDate(2027, 2, 10)).end, QDate(2027, 2, 28));
        // On a Sunday the week so far is that one day.
        const QDate sun(2026, 12, 6);
        QCOMPARE(DatePeriodRange("FromCurWeek", sun), (DateRange{sun, sun}));
        QCOMPARE(DatePeriodRange("InCurWeek", sun).end, QDate(2026, 12, 12));
        // Keys match after trimming and in any letter case; others give nothing.
        QCOMPARE(DatePeriodRange("  incurmonth ", sat).end, QDate(2026, 12, 31));
        QVERIFY(!DatePeriodRange("ThisYear", sat).begin.isValid());
    }

    void refreshSequence()
    {
        ProbeScreen screen;
        screen.ShowMe();
        QCOMPARE(screen.begin()->date(), QDate::currentDate());

        // A reversed range is refused and nothing runs.
        screen.begin()->setDate(QDate(2026, 12, 5));
        screen.end()->setDate(QDate(2026, 12, 4));
        QVERIFY(!screen.runRefresh());
        QCOMPARE(screen.runs, 0);
        QCOMPARE(screen.lastError(), QString("结束日期不能小于开始日期，请调整时间段！"));

        // Begin equal to end runs, with the screen disabled meanwhile.
        screen.end()->setDate(QDate(2026, 12, 5));
        QVERIFY(screen.runRefresh());
        QCOMPARE(screen.runs, 1);
        QVERIFY(!screen.enabledWhileRunning);

        // A failing query still returns the screen to idle.
        screen.fail = true;
        QVERIFY(!screen.runRefresh());
        QCOMPARE(screen.runs, 2);
        QVERIFY(screen.isEnabled());
        QVERIFY(!screen.isRunning());
        QVERIFY(screen.progress()->isHidden());
        // ... and says why, on the status line and to a script.
        QCOMPARE(screen.lastError(), QString("no such table: bi_Bill"));
        QCOMPARE(screen.findChild<QLabel*>("StatusBar1_Panel1")->text(), screen.lastError());
        screen.fail = false;
        QVERIFY(screen.runRefresh());
        QVERIFY(screen.lastError().isEmpty());
        QCOMPARE(screen.findChild<QLabel*>("StatusBar1_Panel1")->text(), QString("报表已经生成。"));
    }

    void criteriaByName()
    {
        ProbeScreen screen;
        screen.ShowMe();
        QVERIFY(screen.applyCriterion("dtpBegin", "2026-02-28"));
        QCOMPARE(screen.begin()->date(), QDate(2026, 2, 28));
        QVERIFY(!screen.applyCriterion("dtpBegin", "28/02/2026"));
        QVERIFY(!screen.applyCriterion("cboNoSuchControl", "1"));
        QCOMPARE(screen.lastError(), QString("there is no control cboNoSuchControl"));
        // The day after the end is bound too: the pickers stop a day before the last date.
        QVERIFY(screen.applyCriterion("dtpEnd", "9999-12-30"));
        QVERIFY(!screen.applyCriterion("dtpEnd", "9999-12-31"));
        QCOMPARE(screen.end()->date(), QDate(9999, 12, 30));
    }
};

QTEST_MAIN(TestReportScreen)
#include "tst_reportscreen.moc"
