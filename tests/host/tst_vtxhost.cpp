#include "TestDatabase.h"

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

private:
    struct Run
    {
        int status;
        QString err;
    };
    Run run(const QStringList& arguments, const QString& configHome = QString());
};

tst_VtxHost::Run tst_VtxHost::run(const QStringList& arguments, const QString& configHome)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    if (!configHome.isEmpty())
        env.insert("XDG_CONFIG_HOME", configHome);
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
                      dir.path());
    QVERIFY2(r.status == 0, qPrintable(r.err));
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    QVERIFY(lines.size() >= 3);
    static const QRegularExpression cjk("[\\x{2E80}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]");
    QVERIFY2(!lines.at(0).contains(cjk) && !lines.at(1).contains(cjk), qPrintable(lines.at(0)));
    QVERIFY2(lines.last().startsWith("Total\t"), qPrintable(lines.last()));
}

QTEST_MAIN(tst_VtxHost)
#include "tst_vtxhost.moc"
