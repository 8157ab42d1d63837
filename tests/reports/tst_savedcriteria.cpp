// Saved criteria on a real screen (the bill query) over the bill fixture: kept in the user's
// settings, reopened with relative dates worked out on the day they are opened, refused whole
// when they name a branch the user may no longer see, and opened in part when they carry a
// criterion the screen no longer has.
#include "core/HostContext.h"
#include "framework/HostUi.h"
#include "query/DatePeriod.h"
#include "query/SavedCriteria.h"
#include "reports/bills/frmBillQuery.h"
#include "sheet/Sheet.h"
#include "tests/support/TestDatabase.h"
#include "ui/ctlQuery.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList billIds(frmBillQuery& screen)
{
    Sheet* grid = screen.queryControl()->Grid();
    QStringList ids;
    for (int row = 1; row < grid->maxRows(); ++row)
        ids << grid->text(row, 1);
    return ids;
}

QDate shown(frmBillQuery& screen, const char* name)
{
    return screen.findChild<QDateEdit*>(name)->date();
}

} // namespace

class TestSavedCriteria : public QObject
{
    Q_OBJECT
    QTemporaryDir m_settings;

private slots:
    void initTestCase()
    {
        HostUi::setHeadless(true);
        hostContext().TrueDataAllowed = false;
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
    }
    void cleanup()
    {
        SetToday({});
        hostContext().UserID.clear();
    }

    void relativeDatesFollowTheDayTheyAreOpened()
    {
        TestDatabase db("bill_query.sql");
        db.install();
        hostContext().UserID = "cashier";
        SetToday([] { return QDate(2026, 3, 10); });
        {
            frmBillQuery screen;
            screen.ShowMe();
            QVERIFY(screen.applyCriterion("chkSaving", "1"));
            QVERIFY(screen.applyCriterion("cboOrderBy", "#7"));
            QVERIFY(screen.applyCriterion("optOrderBy_1", "1"));
            QVERIFY(screen.saveCriteria("每天", "today"));
            QVERIFY(screen.applyCriterion("dtpBegin", "2026-03-01"));
            QVERIFY(screen.saveCriteria("月初至今", QString()));
            QVERIFY(!screen.saveCriteria("  ", QString()));
            QVERIFY(!screen.saveCriteria("x", "Fortnight"));
        }
        // Another user has sets of his own.
        QCOMPARE(SavedCriteriaStore("manager", "frmBillQuery").names(), QStringList());
        QCOMPARE(SavedCriteriaStore("cashier", "frmBillQuery").names(),
                 QStringList({"每天", "月初至今"}));

        // A day later "today" is the 11th: Q5 alone, whatever the clock said when it was saved.
        SetToday([] { return QDate(2026, 3, 11); });
        frmBillQuery screen;
        screen.ShowMe();
        QVERIFY(screen.openSavedCriteria("每天"));
        QCOMPARE(screen.lastNotice(), QString());
        QCOMPARE(shown(screen, "dtpBegin"), QDate(2026, 3, 11));
        QCOMPARE(shown(screen, "dtpEnd"), QDate(2026, 3, 11));
        QVERIFY(screen.findChild<QCheckBox*>("chkSaving")->isChecked());
        QCOMPARE(screen.findChild<QComboBox*>("cboOrderBy")->currentIndex(), 7);
        QVERIFY(screen.runRefresh());
        QCOMPARE(billIds(screen), QStringList({"Q5"}));

        // Fixed dates stay as they were saved: 1 to 10 March, top-ups left out, by amount
        // descending, Q1 (200) before Q2 (100) before Q3 (80), deleted Q4 and top-up Q7 out.
        QVERIFY(screen.openSavedCriteria("月初至今"));
        QCOMPARE(shown(screen, "dtpBegin"), QDate(2026, 3, 1));
        QCOMPARE(shown(screen, "dtpEnd"), QDate(2026, 3, 10));
        QVERIFY(screen.runRefresh());
        QCOMPARE(billIds(screen), QStringList({"Q1", "Q2", "Q3", "Q6"}));

        // A whole month saved on its last day gives the month before on the first of the next.
        SetToday([] { return QDate(2026, 3, 31); });
        QVERIFY(screen.saveCriteria("上个月", "LastMonth"));
        SetToday([] { return QDate(2026, 4, 1); });
        QVERIFY(screen.openSavedCriteria("上个月"));
        QCOMPARE(shown(screen, "dtpBegin"), QDate(2026, 3, 1));
        QCOMPARE(shown(screen, "dtpEnd"), QDate(2026, 3, 31));
        QVERIFY(!screen.openSavedCriteria("没有这个"));
    }

    void branchNoLongerVisibleRefusesTheSet()
    {
        TestDatabase db("bill_query.sql");
        db.run("INSERT INTO rpt_dd_Branch (BranchID, BranchName, AreaID, AreaName) VALUES "
               "('01','北京店','A','华北'),('02','上海店','B','华东');"
               "INSERT INTO rpt_pv_Branch (UserID, BranchID) VALUES ('mgr','01'),('mgr','02')");
        db.install();
        hostContext().UserID = "mgr";
        {
            frmBillQuery screen;
            screen.ShowMe();
            QVERIFY(screen.applyCriterion("dtpBegin", "2026-03-10"));
            QVERIFY(screen.applyCriterion("dtpEnd", "2026-03-10"));
            QVERIFY(screen.applyCriterion("cboBranch", "上海店"));
            QVERIFY(screen.saveCriteria("上海", QString()));
            QVERIFY(screen.applyCriterion("cboBranch", "北京店"));
            QVERIFY(screen.saveCriteria("北京", QString()));
        }
        db.run("DELETE FROM rpt_pv_Branch WHERE BranchID='02'");

        frmBillQuery screen;
        screen.ShowMe();
        QVERIFY(!screen.openSavedCriteria("上海"));
        QVERIFY(screen.lastError().contains("上海店"));
        QVERIFY(HostUi::lastHeadlessMessage().contains("上海店"));
        // Nothing of the refused set was set, and the screen still runs.
        QCOMPARE(shown(screen, "dtpBegin"), Today());
        QCOMPARE(screen.findChild<QComboBox*>("cboBranch")->currentIndex(), 0);
        QVERIFY(screen.isEnabled());
        QVERIFY(screen.openSavedCriteria("北京"));
        QVERIFY(screen.runRefresh());
        QCOMPARE(billIds(screen), QStringList({"Q1", "Q2"}));
    }

    void unknownCriteriaAreSkippedAndNamed()
    {
        TestDatabase db("bill_query.sql");
        db.install();
        hostContext().UserID = "cashier";
        // A set an older version of the screen saved, with a criterion it no longer has and an
        // item its list no longer holds.
        SavedCriteria old;
        old.name = "旧版";
        old.savedOn = QDate(2025, 1, 1);
        old.values = {{"dtpBegin", "2026-03-10"}, {"dtpEnd", "2026-03-10"},
                      {"cboOldWaiter", "张三"},   {"chkSaving", "1"},
                      {"cboOrderBy", "#40"},      {"cboTableName", "B'2"}};
        QVERIFY(SavedCriteriaStore("cashier", "frmBillQuery").save(old));

        frmBillQuery screen;
        screen.ShowMe();
        QVERIFY(screen.openSavedCriteria("旧版"));
        QVERIFY(screen.lastNotice().contains("cboOldWaiter"));
        QVERIFY(screen.lastNotice().contains("cboOrderBy=#40"));
        QVERIFY(!screen.lastNotice().contains("chkSaving"));
        QVERIFY(screen.runRefresh());
        // Table B'2 on the 10th: Q2 alone.
        QCOMPARE(billIds(screen), QStringList({"Q2"}));
    }
};

QTEST_MAIN(TestSavedCriteria)
#include "tst_savedcriteria.moc"
