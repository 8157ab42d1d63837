#include "db/Recordset.h"
#include "tests/support/PgServer.h"
#include "tests/support/TestDatabase.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

// The host application run as a user would run it from a script.
class tst_VtxHost : public QObject
{
    Q_OBJECT
private slots:
    void unsupportedActionShowsTheMessageAndExits3();
    void badCommandLinesExit2();
    void headlessRunDrivesTheOpenedScreen();
    void englishReportHasNoChineseOfItsOwn();
    void reportsReadWhileATillWrites();
    void failuresSayWhy();
    void scriptsDoNoMoreThanTheWindow();
    void headlessRunsWriteOnlyWithYes();
    void unreadablePrivilegesRefuseTheReport();

private:
    struct Run
    {
        int status;
        QString err;
    };
    // Runs vtxhost offscreen, with these variables added to its environment.
    Run run(const QStringList& arguments, const QList<QPair<QString, QString>>& extra = {});
    // The exported file of a headless run, or what the run said when it failed.
    QString exported(const QStringList& arguments, const QString& file);
};

tst_VtxHost::Run tst_VtxHost::run(const QStringList& arguments,
                                  const QList<QPair<QString, QString>>& extra)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    for (const auto& [name, value] : extra)
        env.insert(name, value);
    process.setProcessEnvironment(env);
    process.start(VTX_BIN_DIR "/vtxhost", arguments);
    if (!process.waitForFinished(60000))
        return {-1, "did not finish"};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError())};
}

void tst_VtxHost::unsupportedActionShowsTheMessageAndExits3()
{
    TestDatabase db;
    db.run("INSERT INTO pv_User (UserID, UserName, UserGroupID) VALUES ('001','管理员','G1');");
    const QString expected = "提示: 您所使用的软件版本不提供该功能模块!\n"
                             "如果要升级您的软件版本,请与您的供应商或者我们联系.\n";
    for (const QStringList& args :
         {QStringList{"--db", db.path(), "--action", "NoSuchAction"},
          QStringList{"--db", db.path(), "--user", "001", "--action", " DoBillQuery"},
          QStringList{"--db", db.path(), "--action", "NoSuchAction", "--export", "x.xlsx"}}) {
        const Run r = run(args);
        QCOMPARE(r.status, 3);
        QVERIFY2(r.err.contains(expected), qPrintable(r.err));
        QCOMPARE(r.err.count("提示:"), 1);
    }
}

void tst_VtxHost::badCommandLinesExit2()
{
    TestDatabase db;
    QTemporaryDir dir;
    const QString missing = dir.filePath("none.db");
    Run r = run({"--db", missing, "--action", "DoBillQuery"});
    QCOMPARE(r.status, 2);
    QVERIFY2(r.err.contains("database file not found: " + missing), qPrintable(r.err));
    QVERIFY(!QFile::exists(missing)); // not created by trying

    for (const QStringList& args : {
             QStringList{"--db", db.path(), "--action", "X", "--from", "2026-02-30"},
             QStringList{"--db", db.path(), "--action", "X", "--set", "cboBranch"},
             QStringList{"--db", db.path(), "--export", "out.xlsx"},
             QStringList{"--db", db.path(), "--odbc", "DSN=x", "--action", "X"},
             QStringList{"--db", db.path(), "--no-such-option"},
             QStringList{"--db", db.path(), "--trace-sql", dir.filePath("no/such/folder/log"),
                         "--action", "DoBillQuery"},
         }) {
        r = run(args);
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.startsWith("vtxhost: ") || r.err.contains("\nvtxhost: "), qPrintable(r.err));
    }
}

void tst_VtxHost::headlessRunDrivesTheOpenedScreen()
{
    TestDatabase db("db_bills.sql");
    QTemporaryDir dir;
    const QString out = dir.filePath("bills.txt");
    const QString shot = dir.filePath("bills.png");
    // 2026-03-10 holds B1 (in force) and B3 (deleted); B2 is a minute past midnight later.
    Run r = run({"--db", db.path(), "--action", "DoBillQuery", "--from", "2026-03-10", "--to",
                 "2026-03-10", "--export", out, "--screenshot", shot});
    QVERIFY2(r.status == 0, qPrintable(r.err));
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY2(text.contains("B1\t"), qPrintable(text));
    QVERIFY(!text.contains("B2\t"));
    QVERIFY(QImage(shot).width() > 200);

    // A criterion the screen does not have: nothing is exported, status 4.
    const QString none = dir.filePath("none.txt");
    r = run({"--db", db.path(), "--action", "DoBillQuery", "--set", "cboNoSuchControl=1",
             "--export", none});
    QCOMPARE(r.status, 4);
    QVERIFY2(r.err.contains("could not set cboNoSuchControl to 1"), qPrintable(r.err));
    QVERIFY(!QFile::exists(none));
}

void tst_VtxHost::englishReportHasNoChineseOfItsOwn()
{
    // With English chosen, the grid's captions and its totals row are English; only the data
    // (names of tables, staff, branches) may be Chinese.
    TestDatabase db("db_bills.sql");
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("Valtrix"));
    QFile ini(dir.filePath("Valtrix/Valtrix.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Language]\nLanguage=3\n");
    ini.close();
    const QString out = dir.filePath("bills.txt");
    const Run r = run({"--db", db.path(), "--action", "DoBillQuery", "--from", "2026-03-10", "--to",
                       "2026-03-10", "--export", out},
                      {{"XDG_CONFIG_HOME", dir.path()}});
    QVERIFY2(r.status == 0, qPrintable(r.err));
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    QVERIFY(lines.size() >= 3);
    static const QRegularExpression cjk("[\\x{2E80}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]");
    QVERIFY2(!lines.at(0).contains(cjk) && !lines.at(1).contains(cjk), qPrintable(lines.at(0)));
    QVERIFY2(lines.last().startsWith("Total\t"), qPrintable(lines.last()));
}

QString tst_VtxHost::exported(const QStringList& arguments, const QString& file)
{
    const Run r = run(arguments + QStringList{"--export", file});
    QFile out(file);
    if (r.status != 0 || !out.open(QIODevice::ReadOnly))
        return QString("status %1: %2").arg(r.status).arg(r.err);
    return QString::fromUtf8(out.readAll());
}

// A till inside its write transaction, its bill not committed, while a scheduled export runs in
// another process: the same files as without it, and no waiting for the till's lock.
void tst_VtxHost::reportsReadWhileATillWrites()
{
    TestDatabase db("db_bills.sql");
    QTemporaryDir dir;
    const QStringList bills = {"--db",   db.path(),    "--action", "DoBillQuery",
                               "--from", "2026-03-01", "--to",     "2026-03-31"};
    const QStringList daily = {
        "--db",       db.path(), "--action",   "DoDailyReport", "--from",
        "2026-03-01", "--to",    "2026-03-31", "--set",         "dtpToday=2026-03-10"};
    const QString billRows = exported(bills, dir.filePath("b0.txt"));
    const QString sheet = exported(daily, dir.filePath("d0.txt"));
    QVERIFY2(billRows.contains("B1\t") && sheet.contains("120.50"), qPrintable(billRows + sheet));

    const ConnectionPtr till = Connection::openSqlite(db.path());
    till->executeScript("BEGIN EXCLUSIVE; INSERT INTO bi_Bill (BillID, BillDate, SumPaid, "
                        "CheckOutNull, IsDeleted, BranchID) VALUES ('T1', '2026-03-10 12:00:00', "
                        "99, 0, 0, '01')");
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(exported(bills, dir.filePath("b1.txt")), billRows);
    QCOMPARE(exported(daily, dir.filePath("d1.txt")), sheet);
    QVERIFY(timer.elapsed() < 15000);
    till->rollback();
}

// Each failure exits with its status and says why on stderr.
void tst_VtxHost::failuresSayWhy()
{
    TestDatabase db("db_bills.sql");
    TestDatabase noStock("db_bills.sql");
    noStock.run("DROP TABLE st_Bill");
    TestDatabase noBills("db_bills.sql");
    noBills.run("DROP TABLE bi_Bill");
    TestDatabase huge("db_bills.sql"); // a bill of 10^15: beyond what fixed-point money holds
    huge.run("UPDATE bi_Bill SET SumPaid = 1e15 WHERE BillID = 'B1'");
    QTemporaryDir dir;
    const QString notes = dir.filePath("notes.db");
    QFile file(notes);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a database\n") > 0);
    file.close();
    const QString out = dir.filePath("out.txt");
    const QString nowhere = dir.filePath("no/such/folder/out.txt");
    const QStringList tenth = {"--from", "2026-03-10", "--to", "2026-03-10", "--export", out};
    const QStringList bills = {"--db", db.path(), "--action", "DoBillQuery", "--export", out};
    struct Case
    {
        QStringList arguments;
        int status;
        QString says;
        QList<QPair<QString, QString>> env = {}; // added to the host's environment
    };
    const QList<Case> cases = {
        {{"--db", notes, "--action", "DoBillQuery"},
         2,
         "cannot open the database: " + notes +
             " is not an SQLite database (file is not a database)"},
        {bills + QStringList{"--from", "2026-03-10", "--to", "2026-03-09"}, 4,
         "could not refresh: 结束日期不能小于开始日期，请调整时间段！"},
        {bills + QStringList{"--set", "cboBranch=(部分)"}, 4,
         "could not refresh: 请在分店列表中至少勾选一个分店"},
        {bills + QStringList{"--to", "9999-12-31"}, 4,
         "could not set dtpEnd to 9999-12-31: dtpEnd takes a date from 1752-09-14 to 9999-12-30"},
        {{"--db", db.path(), "--action", "DoBillQuery", "--export", nowhere},
         4,
         "could not export to " + nowhere + ": No such file or directory"},
        {{"--db", noBills.path(), "--action", "DoBillQuery", "--export", out},
         4,
         "could not refresh: 查询失败：no such table: bi_Bill"},
        {{"--db", noStock.path(), "--action", "DoDailyReport", "--export", out},
         4,
         "could not refresh: 报表未能全部生成，以下部分读取失败，相关数字留空：本日成本, 本月成本 "
         "(no such table: st_Bill"},
        {QStringList{"--db", huge.path(), "--action", "DoBillQuery"} + tenth, 4,
         "could not refresh: 列“实收金额 其他”的金额超出范围（最大 ±922,337,203,685,477.5807）"},
        {QStringList{"--db", huge.path(), "--action", "DoTrendLine_SumToPay"} + tenth, 4,
         "could not refresh: 列“TotalSum”的金额超出范围"},
        {QStringList{"--db", huge.path(), "--action", "DoHourReport"} + tenth, 4,
         "could not refresh: 列“BillTotal”的金额超出范围"},
        {{"--db", db.path(), "--action", "DoBillCheck", "--set", "cmdPrint=1"},
         4,
         "could not set cmdPrint to 1: 没有需要打印的历史账单！"},
        {{"--db", db.path(), "--yes", "--action", "DoBillCheck", "--set", "dtpBillDate=2026-03-10",
          "--set", "lvwBills=B1", "--set", "cmdPrint=1"},
         4,
         "could not set cmdPrint to 1: 重新打印账单失败！",
         {{"VTX_PRINT_PDF", dir.filePath("no/such/folder/bill.pdf")}}},
    };
    for (const Case& c : cases) {
        const Run r = run(c.arguments, c.env);
        QVERIFY2(
            r.status == c.status && r.err.contains("vtxhost: ") && r.err.contains(c.says),
            qPrintable(QString("%1 → %2: %3").arg(c.arguments.join(' ')).arg(r.status).arg(r.err)));
    }
    QVERIFY(!QFile::exists(out));

    // The last date the pickers take still reads every bill from the first date on.
    const QString all = exported({"--db", db.path(), "--action", "DoBillQuery", "--from",
                                  "2026-03-10", "--to", "9999-12-30"},
                                 out);
    QVERIFY2(all.contains("B1\t") && all.contains("B2\t"), qPrintable(all));
}

// --set reaches only what the user sees and may use; --user names a user of pv_User.
void tst_VtxHost::scriptsDoNoMoreThanTheWindow()
{
    // 2026-03-10 holds B1, B2 and the deleted B3.
    TestDatabase db("daily_report.sql");
    db.run(
        "INSERT INTO pv_User (UserID, UserName, UserGroupID) VALUES ('cashier', '收银员', 'G2')");
    QTemporaryDir dir;
    const QString out = dir.filePath("bills.txt");
    const QStringList bills = {"--db",        db.path(), "--user",     "cashier", "--action",
                               "DoBillQuery", "--from",  "2026-03-10", "--to",    "2026-03-10"};
    // The include-deleted box is hidden from a user who may not see deleted bills.
    Run r = run(bills + QStringList{"--set", "chkUseTrueData=1", "--export", out});
    QCOMPARE(r.status, 4);
    QVERIFY2(r.err.contains(
                 "could not set chkUseTrueData to 1: chkUseTrueData is not shown on the screen"),
             qPrintable(r.err));
    QVERIFY(!QFile::exists(out));
    QVERIFY(!exported(bills, out).contains("B3\t"));
    QVERIFY(exported(bills + QStringList{"--true-data", "--set", "chkUseTrueData=1"}, out)
                .contains("B3\t"));
    // A button the window keeps disabled (cancelling an edit of a group not begun).
    r = run({"--db", db.path(), "--action", "DoDailyReport", "--set", "cmdGroupType=1", "--set",
             "cmdCancel=1"});
    QCOMPARE(r.status, 4);
    QVERIFY2(r.err.contains("could not set cmdCancel to 1: cmdCancel is disabled on the screen"),
             qPrintable(r.err));
    // A user nobody in pv_User is: refused before anything runs.
    QFile::remove(out);
    r = run({"--db", db.path(), "--user", "nobody", "--action", "DoBillQuery", "--export", out});
    QCOMPARE(r.status, 2);
    QVERIFY2(r.err.contains("vtxhost: no user nobody in pv_User"), qPrintable(r.err));
    QVERIFY(!QFile::exists(out));
}

// The statistic groups change headless only with --yes; without it the run is refused and a
// confirmation is declined.
void tst_VtxHost::headlessRunsWriteOnlyWithYes()
{
    TestDatabase db("daily_report.sql"); // one group, 主食组
    const QStringList groups = {
        "--db",       db.path(),        "--action",   "DoDailyReport", "--from",
        "2026-03-01", "--to",           "2026-03-10", "--set",         "dtpToday=2026-03-10",
        "--set",      "cmdGroupType=1", "--set",      "cmdDelete=1"};
    auto groupCount = [&] {
        auto rs = db.connection()->execute("SELECT COUNT(*) FROM mn_GroupType");
        return rs->value(0).toInt();
    };
    Run r = run(groups);
    QCOMPARE(r.status, 4);
    QVERIFY2(r.err.contains("could not set cmdDelete to 1: cmdDelete changes the database, which "
                            "a headless run does only with --yes"),
             qPrintable(r.err));
    QCOMPARE(groupCount(), 1);
    // With --yes the confirmation is answered Yes and the group goes.
    r = run(groups + QStringList{"--yes"});
    QVERIFY2(r.status == 0, qPrintable(r.err));
    QVERIFY2(r.err.contains("确定要删除统计项目：主食组 吗？"), qPrintable(r.err));
    QCOMPARE(groupCount(), 0);
    QCOMPARE(run({"--db", db.path(), "--yes"}).status, 2); // --yes needs --action

    // A confirmation is declined without --yes: the reprint is asked for and not made.
    QTemporaryDir dir;
    const QString pdf = dir.filePath("bill.pdf");
    const QStringList reprint = {
        "--db",  db.path(),     "--action", "DoBillCheck", "--set", "dtpBillDate=2026-03-10",
        "--set", "lvwBills=B1", "--set",    "cmdPrint=1"};
    r = run(reprint, {{"VTX_PRINT_PDF", pdf}});
    QCOMPARE(r.status, 4);
    QVERIFY2(r.err.contains("(declined: a headless run confirms only with --yes)"),
             qPrintable(r.err));
    QVERIFY(!QFile::exists(pdf));
    r = run(reprint + QStringList{"--yes"}, {{"VTX_PRINT_PDF", pdf}});
    QVERIFY2(r.status == 0, qPrintable(r.err));
    QVERIFY(QFile::exists(pdf));
}

// A privilege table that exists but cannot be read refuses the report with the database's
// reason, on SQLite (a damaged page) and on PostgreSQL (a role without the right to read it);
// a missing or empty table still grants every branch.
void tst_VtxHost::unreadablePrivilegesRefuseTheReport()
{
    // 2026-03-10: B1 of 北京店 (01), B2 and the top-up B4 of 上海店 (02).
    TestDatabase db("daily_report.sql");
    db.run("INSERT INTO pv_User (UserID, UserName, UserGroupID) VALUES ('manager', '经理', 'G3');"
           "INSERT INTO rpt_pv_Branch (UserID, BranchID) VALUES ('G1', '01'), ('G1', '02'), "
           "('manager', '01')");
    QTemporaryDir dir;
    const QString out = dir.filePath("out.txt");
    const QString damaged = dir.filePath("damaged.db");
    db.writeDamagedCopy(damaged, "rpt_pv_Branch");
    auto report = [&](const QString& database, const QString& action) {
        return QStringList{"--db", database, "--user",     "manager", "--action",
                           action, "--from", "2026-03-10", "--to",    "2026-03-10"};
    };
    QString bills = exported(report(db.path(), "DoBillQuery"), out);
    QVERIFY2(bills.contains("B1\t") && !bills.contains("B2\t"), qPrintable(bills));
    QFile::remove(out);
    for (const QString& action :
         {"DoBillQuery", "DoPaymentQuery", "DoDailyReport", "DoBillLogQuery"}) {
        QStringList arguments = report(damaged, action) + QStringList{"--export", out};
        if (action == "DoDailyReport")
            arguments << "--set"
                      << "dtpToday=2026-03-10";
        const Run r = run(arguments);
        QVERIFY2(r.status == 4 && r.err.contains("cannot read the privileges of rpt_pv_Branch: ") &&
                     r.err.contains("database disk image is malformed"),
                 qPrintable(action + ": " + r.err));
        QVERIFY(!QFile::exists(out));
    }
    db.run("DELETE FROM rpt_pv_Branch");
    bills = exported(report(db.path(), "DoBillQuery"), out);
    QVERIFY2(bills.contains("B1\t") && bills.contains("B2\t"), qPrintable(bills));
    QFile::remove(out);
    db.run("DROP TABLE rpt_pv_Branch");
    bills = exported(report(db.path(), "DoBillQuery"), out);
    QVERIFY2(bills.contains("B1\t") && bills.contains("B2\t"), qPrintable(bills));

    PgServer server;
    if (!server.isRunning()) {
        if (!server.binariesFound())
            QSKIP(qPrintable(server.skipReason()));
        QFAIL(qPrintable(server.skipReason()));
    }
    QString error;
    const QString owner = server.createDatabase("privileges", &error);
    QVERIFY2(!owner.isEmpty(), qPrintable(error));
    QProcess demo;
    demo.start(VTX_BIN_DIR "/vtxdemodb", {"--pg", owner, "--branches", "2", "--days", "1",
                                          "--bills-per-day", "4", "--last-day", "2026-03-10"});
    QVERIFY(demo.waitForFinished(120000) && demo.exitCode() == 0);
    // The clerk's role reads every table but the branch privileges.
    Connection::openPostgres(owner)->executeScript(
        "CREATE ROLE clerk LOGIN; GRANT SELECT ON ALL TABLES IN SCHEMA public TO clerk; "
        "REVOKE SELECT ON \"rpt_pv_Branch\" FROM clerk");
    QString clerk = owner;
    clerk.replace(QRegularExpression("user=\\S+"), "user=clerk");
    auto pgReport = [&](const QString& connection) {
        return QStringList{"--pg",        connection, "--user",     "manager", "--action",
                           "DoBillQuery", "--from",   "2026-03-10", "--to",    "2026-03-10"};
    };
    // The owner's manager sees branch 01's bills only (their numbers begin with the branch).
    bills = exported(pgReport(owner), out);
    QVERIFY2(bills.contains("\n01") && !bills.contains("\n02"), qPrintable(bills));
    QFile::remove(out);
    const Run r = run(pgReport(clerk) + QStringList{"--export", out});
    QVERIFY2(r.status == 4 && r.err.contains("cannot read the privileges of rpt_pv_Branch: ") &&
                 r.err.contains("permission denied"),
             qPrintable(r.err));
    QVERIFY(!QFile::exists(out));
}

QTEST_MAIN(tst_VtxHost)
#include "tst_vtxhost.moc"
