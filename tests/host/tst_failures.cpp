// Failures as a script meets them: a statement that fails, a lock, a damaged or read-only file,
// a full disk. Each stops the run with status 4 (2 when the database cannot be opened) and says
// what failed; nothing partial is left looking complete.
#include "db/Connection.h"
#include "tests/support/PgServer.h"
#include "tests/support/TestDatabase.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

#include <sys/mount.h>
#include <unistd.h>

namespace {

struct Run
{
    int status;
    QString err;
    qint64 ms;
};

Run run(const QStringList& arguments, const QList<QPair<QString, QString>>& env = {})
{
    QProcess process;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert("QT_QPA_PLATFORM", "offscreen");
    for (const auto& [name, value] : env)
        e.insert(name, value);
    process.setProcessEnvironment(e);
    QElapsedTimer timer;
    timer.start();
    process.start(VTX_BIN_DIR "/vtxhost", arguments);
    if (!process.waitForFinished(120000))
        return {-1, "did not finish", timer.elapsed()};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError()), timer.elapsed()};
}

// A tool of the build (vtxdemodb): its exit status, its complaint in *err.
int runTool(const QString& program, const QStringList& arguments, QString* err)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(300000)) {
        *err = "did not finish";
        return -1;
    }
    *err = QString::fromUtf8(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QString describe(const QStringList& arguments, const Run& r)
{
    return QString("%1 → %2 in %3 ms: %4")
        .arg(arguments.join(' '))
        .arg(r.status)
        .arg(r.ms)
        .arg(r.err);
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// Two branches, ten days to 2026-03-10, 60 bills a day each.
const QStringList DemoOptions{"--branches",      "2",  "--days",     "10",
                              "--bills-per-day", "60", "--last-day", "2026-03-10"};
const QStringList Range{"--from", "2026-03-01", "--to", "2026-03-10"};

QString copyOf(const QString& demo, const QString& dir, const QString& name)
{
    const QString path = QDir(dir).filePath(name);
    QFile::remove(path);
    return QFile::copy(demo, path) ? path : QString();
}

// Runs native SQL on a copy, closed again so that the file holds everything (no WAL left).
void change(const QString& path, const QString& script)
{
    ConnectionPtr db = Connection::openSqlite(path);
    db->executeScript(script);
    db->executeScript("PRAGMA journal_mode=DELETE");
}

// A tmpfs of its own for the export tests, mounted where the test may (root, or a user namespace
// that allows it); `mounted` false means none could be and the tests fall back on the injected
// limit of the export writer (VTX_EXPORT_SPACE).
struct SmallDisk
{
    QTemporaryDir dir;
    bool mounted = false;
    explicit SmallDisk(int kilobytes)
    {
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
        mounted = ::mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", 0,
                          options.constData()) == 0;
    }
    ~SmallDisk()
    {
        if (mounted)
            ::umount2(QFile::encodeName(dir.path()).constData(), MNT_DETACH);
    }
    // Fills the disk but for one page (4 KiB): what an export then writes stops short.
    void fillAllBut4k()
    {
        QFile reserve(dir.filePath("reserve"));
        QVERIFY(reserve.open(QIODevice::WriteOnly));
        QVERIFY(reserve.write(QByteArray(4096, 'r')) == 4096 && reserve.flush());
        reserve.close();
        QFile filler(dir.filePath("filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray chunk(4096, 'f');
        while (filler.write(chunk) == chunk.size()) {
        }
        filler.close();
        QVERIFY(QFile::remove(dir.filePath("reserve")));
    }
    QStringList files() const
    {
        QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        names.removeAll("filler");
        return names;
    }
};

} // namespace

class tst_Failures : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void failedStatementsStopTheReport();
    void reasonsSayWhatFailed();
    void exportsAreAtomic();

private:
    QTemporaryDir m_dir;
    QString m_demo;
};

void tst_Failures::initTestCase()
{
    m_demo = TestDatabase::writeDemo(m_dir.path(), DemoOptions);
    QVERIFY2(!m_demo.isEmpty(), "vtxdemodb did not write the demo chain");
}

// A statement that fails ends the run with the database's reason, never an empty or partial
// result exported as if complete; on SQLite and on PostgreSQL.
void tst_Failures::failedStatementsStopTheReport()
{
    const QString noColumn = copyOf(m_demo, m_dir.path(), "nocolumn.db");
    change(noColumn, "DROP INDEX IF EXISTS ix_bi_BillItem_Sales; "
                     "ALTER TABLE bi_BillItem DROP COLUMN DepartTypeName");
    // Damaged pages: the root pages of bi_BillItem and of its indexes overwritten.
    const QString damaged = copyOf(m_demo, m_dir.path(), "damaged.db");
    change(damaged, "SELECT 1");
    QList<int> roots;
    int pageSize = 0;
    {
        ConnectionPtr db = Connection::openSqlite(damaged);
        for (auto rs = db->execute("SELECT rootpage FROM sqlite_master "
                                   "WHERE tbl_name='bi_BillItem' AND rootpage>1");
             !rs->atEnd(); rs->moveNext())
            roots << rs->value(0).toInt();
        pageSize = db->execute("PRAGMA page_size")->value(0).toInt();
        db->executeScript("PRAGMA journal_mode=DELETE");
    }
    QVERIFY(!roots.isEmpty() && pageSize > 0);
    {
        QFile file(damaged);
        QVERIFY(file.open(QIODevice::ReadWrite));
        for (int root : roots)
            QVERIFY(file.seek(qint64(root - 1) * pageSize) &&
                    file.write(QByteArray(pageSize, '\xA5')) == pageSize);
    }
    const QString out = m_dir.filePath("share.txt");
    struct Case
    {
        QString db;
        QStringList arguments;
        QString says;
    };
    const QList<Case> cases{
        {noColumn, {"--action", "DoDepartQuery"}, "no such column: DepartTypeName"},
        {noColumn,
         {"--action", "DoMenuLine", "--set", "cboDepartType=厨房"},
         "no such column: DepartTypeName"},
        {damaged, {"--action", "DoDepartQuery"}, "the database file is damaged"},
        {damaged, {"--action", "DoBillItemQuery"}, "查询失败：the database file is damaged"},
    };
    for (const Case& c : cases) {
        QFile::remove(out);
        const QStringList arguments = QStringList{"--db", c.db, "--user", "admin"} + c.arguments +
                                      Range + QStringList{"--export", out};
        // The reports' own statements over the bills (the damage is in the bills' tables, not
        // in the summaries that would answer the department shares).
        const Run r = run(arguments, {{"VTX_SUMMARIES", "off"}});
        QVERIFY2(r.status == 4 && r.err.contains(c.says), qPrintable(describe(arguments, r)));
        QVERIFY2(!QFile::exists(out), qPrintable(describe(arguments, r)));
        // The reason, not the statement: that goes to the statement trace.
        QVERIFY2(!r.err.contains("SELECT", Qt::CaseInsensitive), qPrintable(r.err));
    }
    // The same file read right: the chart has its slices.
    QVERIFY(run({"--db", m_demo, "--user", "admin", "--action", "DoDepartQuery", "--from",
                 "2026-03-01", "--to", "2026-03-10", "--export", out})
                .status == 0);
    QVERIFY(contents(out).contains("厨房"));

    PgServer server;
    if (!server.isRunning()) {
        if (!server.binariesFound())
            QSKIP(qPrintable(server.skipReason()));
        QFAIL(qPrintable(server.skipReason()));
    }
    QString error;
    const QString pg = server.createDatabase("failures", &error);
    QVERIFY2(!pg.isEmpty(), qPrintable(error));
    QCOMPARE(runTool(VTX_BIN_DIR "/vtxdemodb", {"--pg", pg, "--copy", m_demo}, &error), 0);
    Connection::openPostgres(pg)->executeScript(
        "ALTER TABLE \"bi_BillItem\" DROP COLUMN \"DepartTypeName\" CASCADE");
    for (const QStringList& action :
         {QStringList{"--action", "DoDepartQuery"},
          QStringList{"--action", "DoMenuLine", "--set", "cboDepartType=厨房"}}) {
        QFile::remove(out);
        const QStringList arguments = QStringList{"--pg", pg, "--user", "admin"} + action + Range +
                                      QStringList{"--export", out};
        const Run r = run(arguments);
        QVERIFY2(r.status == 4 && r.err.contains("DepartTypeName") &&
                     r.err.contains("does not exist") && !r.err.contains("LINE 1"),
                 qPrintable(describe(arguments, r)));
        QVERIFY(!QFile::exists(out));
    }
}

// What failed is named: the table, the lock, the mount; a lock is waited on for a few seconds,
// not once per statement; the statement goes to the trace; nothing reaches the terminal raw.
void tst_Failures::reasonsSayWhatFailed()
{
    const QString noPeriods = copyOf(m_demo, m_dir.path(), "noperiods.db");
    change(noPeriods, "DROP TABLE dd_Period");
    const QString noSubjects = copyOf(m_demo, m_dir.path(), "nosubjects.db");
    change(noSubjects, "DROP TABLE dd_Subject");
    const QString trace = m_dir.filePath("trace.jsonl");
    const QString periods = "cannot read the meal periods (dd_Period): no such table: dd_Period";
    struct Case
    {
        QStringList arguments;
        QString says;
    };
    const QList<Case> cases{
        {{"--db", noPeriods, "--action", "DoBookQuery"}, periods},
        {{"--db", noPeriods, "--action", "DoDepartQuery"}, periods},
        {{"--db", noPeriods, "--action", "DoTrendLine_TableCount", "--trace-sql", trace}, periods},
        {{"--db", noSubjects, "--action", "DoBookReport"},
         "cannot read the payment subjects (dd_Subject): no such table: dd_Subject"},
        {{"--db", m_demo, "--action", "DoBillQuery", "--set", "cbo\x1b[2J\x07=1"},
         "there is no control cbo\\x1b[2J\\x07"},
    };
    for (const Case& c : cases) {
        const QStringList arguments = QStringList{"--user", "admin"} + c.arguments + Range;
        const Run r = run(arguments);
        QVERIFY2(r.status == 4 && r.err.contains(c.says) && !r.err.contains("请选择要统计的餐段"),
                 qPrintable(describe(arguments, r)));
        QVERIFY2(!r.err.contains(QChar(0x1b)) && !r.err.contains(QChar(0x07)), qPrintable(r.err));
    }
    // The trace has the statement that failed, with the reason given.
    const QByteArray traced = contents(trace);
    QVERIFY2(traced.contains("{\"failed\":\"no such table: dd_Period\"") &&
                 traced.contains("FROM dd_Period"),
             traced.constData());

    // A lock held by another program: "busy" after a few seconds, wherever it is met.
    const QString locked = copyOf(m_demo, m_dir.path(), "locked.db");
    change(locked, "SELECT 1");
    {
        ConnectionPtr till = Connection::openSqlite(locked);
        till->executeScript("PRAGMA journal_mode=DELETE; BEGIN EXCLUSIVE; "
                            "UPDATE bi_Bill SET SumPaid=SumPaid WHERE rowid=1");
        for (const QStringList& action : {
                 QStringList{"--action", "DoDepartQuery"},
                 QStringList{"--action", "DoBillCheck", "--set", "lvwBills=B1"},
                 QStringList{"--action", "DoMenuLine", "--set", "cboDepartType=厨房"},
                 QStringList{"--action", "DoBillQuery"},
             }) {
            const QStringList arguments = QStringList{"--db", locked} + action + Range;
            const Run r = run(arguments);
            QVERIFY2(r.status == 4 &&
                         r.err.contains("the database is busy: another program holds a lock") &&
                         r.ms < 12000,
                     qPrintable(describe(arguments, r)));
        }
        // The user named by --user cannot be checked: the run does not start.
        const QStringList user =
            QStringList{"--db", locked, "--user", "admin", "--action", "DoBillQuery"} + Range;
        const Run r = run(user);
        QVERIFY2(r.status == 2 &&
                     r.err.contains("cannot read the users (pv_User): the database is busy"),
                 qPrintable(describe(user, r)));
        till->rollback();
    }

    // A file in WAL mode on a read-only mount (only where the test may mount a file system).
    {
        SmallDisk disk(20 * 1024);
        if (disk.mounted) {
            const QString wal = copyOf(m_demo, disk.dir.path(), "wal.db");
            Connection::openSqlite(wal)->executeScript("PRAGMA journal_mode=WAL");
            QCOMPARE(::mount("tmpfs", QFile::encodeName(disk.dir.path()).constData(), "tmpfs",
                             MS_REMOUNT | MS_RDONLY, nullptr),
                     0);
            const QStringList arguments{"--db", wal, "--action", "DoBillQuery"};
            const Run r = run(arguments);
            QVERIFY2(r.status == 2 &&
                         r.err.contains("is in WAL mode and its folder is on a "
                                        "read-only mount") &&
                         !r.err.contains("not an SQLite database"),
                     qPrintable(describe(arguments, r)));
        } else {
            qInfo("no file system can be mounted here: the read-only mount is not tried");
        }
    }

    PgServer server;
    if (!server.isRunning()) {
        if (!server.binariesFound())
            QSKIP(qPrintable(server.skipReason()));
        QFAIL(qPrintable(server.skipReason()));
    }
    QString error;
    const QString pg = server.createDatabase("reasons", &error);
    QVERIFY2(!pg.isEmpty(), qPrintable(error));
    QCOMPARE(runTool(VTX_BIN_DIR "/vtxdemodb", {"--pg", pg, "--copy", m_demo}, &error), 0);
    ConnectionPtr other = Connection::openPostgres(pg);
    other->beginTransaction();
    other->executeScript("LOCK TABLE \"bi_Bill\" IN ACCESS EXCLUSIVE MODE");
    const QStringList arguments =
        QStringList{"--pg", pg, "--user", "admin", "--action", "DoTrendLine_SumToPay"} + Range;
    const Run r = run(arguments);
    other->rollback();
    QVERIFY2(r.status == 4 && r.err.contains("the database is busy") && r.ms < 12000,
             qPrintable(describe(arguments, r)));
    other->executeScript("DROP TABLE \"dd_Period\"");
    const QStringList booking =
        QStringList{"--pg", pg, "--user", "admin", "--action", "DoBookQuery"} + Range;
    const Run b = run(booking);
    QVERIFY2(b.status == 4 && b.err.contains("cannot read the meal periods (dd_Period)") &&
                 b.err.contains("does not exist"),
             qPrintable(describe(booking, b)));
}

// Every format is written beside its target and put in its place only when complete: a full
// disk fails the run with the system's reason and leaves the previous file as it was; a link at
// the target is replaced, not followed; a run killed while writing leaves the previous file.
void tst_Failures::exportsAreAtomic()
{
    const QStringList bills{"--db", m_demo, "--user", "admin", "--action", "DoBillQuery"};
    // A year of the trend line: its chart file and points are more than a page.
    const QStringList line{
        "--db",   m_demo,       "--user", "admin",     "--action", "DoTrendLine_SumToPay",
        "--from", "2025-03-11", "--to",   "2026-03-10"};
    const QList<QPair<QStringList, QString>> formats{{bills + Range, "txt"},
                                                     {bills + Range, "html"},
                                                     {bills + Range, "xml"},
                                                     {bills + Range, "rpt"},
                                                     {bills + Range, "xlsx"},
                                                     {bills + Range, "pdf"},
                                                     {line, "txt"},
                                                     {line, "png"},
                                                     {line, "svg"},
                                                     {line, "pdf"},
                                                     {line, "cht"}};
    QTemporaryDir roomy;
    for (const auto& [arguments, format] : formats) {
        const QString good =
            roomy.filePath((arguments == line ? "line." : "good.") + format); // good: bills
        Run r = run(arguments + QStringList{"--export", good});
        QVERIFY2(r.status == 0, qPrintable(describe(arguments, r)));
        const QByteArray previous = contents(good);
        QVERIFY2(previous.size() > 8192, qPrintable(format)); // more than the disk has left

        SmallDisk disk(previous.size() / 1024 + 64);
        QList<QPair<QString, QString>> env;
        if (!disk.mounted)
            env = {{"VTX_EXPORT_SPACE", "4096"}}; // the export writer's injected full disk
        const QString target = disk.dir.filePath("report." + format);
        QVERIFY(QFile::copy(good, target));
        if (disk.mounted)
            disk.fillAllBut4k();
        r = run(arguments + QStringList{"--export", target}, env);
        QVERIFY2(r.status == 4 && r.err.contains("No space left on device"),
                 qPrintable(describe(arguments, r)));
        QVERIFY2(contents(target) == previous, qPrintable(format));
        QCOMPARE(disk.files(), QStringList{"report." + format});
    }
    if (!SmallDisk(64).mounted)
        qInfo("no file system can be mounted here: the full disk was the injected one");

    // A symbolic link at the target is replaced; what it pointed to is not written.
    for (const QString& format : {"txt", "xlsx", "pdf"}) {
        const QString victim = roomy.filePath("victim." + format);
        const QString link = roomy.filePath("link." + format);
        QFile v(victim);
        QVERIFY(v.open(QIODevice::WriteOnly) && v.write("not a report") > 0);
        v.close();
        QVERIFY(QFile::link(victim, link));
        const Run r = run(bills + Range + QStringList{"--export", link});
        QVERIFY2(r.status == 0, qPrintable(r.err));
        QVERIFY(!QFileInfo(link).isSymLink() && QFileInfo(link).size() > 8192);
        QCOMPARE(contents(victim), QByteArray("not a report"));
    }
    QCOMPARE(contents(roomy.filePath("link.txt")), contents(roomy.filePath("good.txt")));

    // Killed while writing: the previous file stays whole.
    for (const QString& format : {"xlsx", "pdf"}) {
        const QString target = roomy.filePath("killed." + format);
        QVERIFY(QFile::copy(roomy.filePath("good." + format), target));
        const QByteArray previous = contents(target);
        QProcess process;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(e);
        process.start(VTX_BIN_DIR "/vtxhost", bills + Range + QStringList{"--export", target});
        bool seen = false; // the temporary file beside the target
        while (!seen && process.state() != QProcess::NotRunning) {
            seen = !QDir(roomy.path())
                        .entryList({".killed." + format + ".*"}, QDir::Files | QDir::Hidden)
                        .isEmpty();
            if (!seen)
                process.waitForFinished(1);
        }
        process.kill();
        process.waitForFinished(10000);
        QVERIFY2(seen, qPrintable(format + ": no file was written beside the target"));
        QCOMPARE(contents(target), previous);
    }
}

QTEST_MAIN(tst_Failures)
#include "tst_failures.moc"
