// The report screens on a restaurant chain's database, against SQLite itself (or PostgreSQL).
//
//   bench_chain --db FILE [--export-dir DIR] [--no-year] [--no-export] [--plans]
//               [--only "REPORT[ RANGE]",...] [--raw-only REPORT,...] [--no-raw]
//   bench_chain --pg CONNECTION [--pg-stepped] [the same options]
//
// FILE is a database written by vtxdemodb (bench/run-chain.sh builds and caches one); with --pg,
// a PostgreSQL database written by vtxdemodb --pg, and the statements are replayed on PostgreSQL
// alone (libpq's own API on a connection of its own, bench/PostgresAlone.h; --pg-stepped takes
// the rows one by one as they come instead of each result whole) instead. The last
// business day in bi_Bill is "the day"; "month" is that day's month up to it; "year" is every
// day the database holds (at most a year). Every screen of the module's action table is run,
// each of its views over the month and (when its plan says so) the year, driven headless the
// way vtxhost does it: criteria through applyCriterion, then runRefresh(), timed until the grid
// or sheet is filled (the second of two refreshes; the first warms the cache). Every statement the
// screen runs is captured through the connection's statement trace and replayed on SQLite alone
// (SQLite's own API, every column of every row read); the table gives both times, their ratio, the
// rows shown, the peak memory growth of the run and the grid's bytes per cell. The largest grid is
// then saved as .xlsx and .pdf. With --plans the query plan of every captured statement is printed.
//
// "by" says how the timed refresh was answered: "sum" from the bill summaries (db/Summaries.h),
// "mon" from them with whole months from the month summaries, "raw" by the reports' own
// statements over the bills. --only runs the lines whose "report range" ("DoPeriodQuery year v2")
// begins with one of the texts given. A line answered from the summaries is
// also refreshed once with them switched off: "raw s" is that time (unless --no-raw, or
// --raw-only names other reports: the raw year takes minutes a screen).
#include "bench/BenchProcess.h"
#include "bench/PostgresAlone.h"
#include "bench/SqliteAlone.h"
#include "core/ActionTable.h"
#include "core/HostBinding.h"
#include "core/HostContext.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/SqlError.h"
#include "framework/HostUi.h"
#include "plugin/ActionRows.h"
#include "query/SummaryPlanner.h"
#include "sheet/Sheet.h"
#include "sheet/SheetOutput.h"
#include "ui/GridScreen.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>

#include <cstdio>
#include <ctime>
#include <functional>

namespace {

struct NativeStatement
{
    QString sql;
    QVariantList bound;
};

struct Timing
{
    double wallMs = 0;
    double cpuMs = 0;
    double peakMb = 0;
};

Timing measure(const std::function<void()>& work)
{
    resetPeakRss();
    const qint64 before = procStatusKb("VmRSS:");
    QElapsedTimer t;
    t.start();
    const double cpu0 = cpuMs(CLOCK_PROCESS_CPUTIME_ID);
    work();
    Timing r;
    r.cpuMs = cpuMs(CLOCK_PROCESS_CPUTIME_ID) - cpu0;
    r.wallMs = double(t.nsecsElapsed()) / 1e6;
    r.peakMb = double(std::max(procStatusKb("VmHWM:"), procStatusKb("VmRSS:")) - before) / 1024;
    return r;
}

// PostgreSQL alone's own connection (null on SQLite), and whether it steps the rows.
PGconn* g_postgresAlone = nullptr;
bool g_postgresStepped = false;

// SQLite (or PostgreSQL) alone: every captured statement run on the database's own API, every
// column of every row read.
Timing replay(const Connection& c, const QList<NativeStatement>& statements, qint64* rows)
{
    if (g_postgresAlone)
        return measure([&] {
            for (const NativeStatement& s : statements)
                *rows += std::max<qint64>(
                    0, runPostgresAlone(g_postgresAlone, s.sql, s.bound, g_postgresStepped));
        });
    sqlite3* db = sqliteHandleOf(c.database());
    return measure([&] {
        for (const NativeStatement& s : statements)
            *rows += std::max<qint64>(0, runSqliteAlone(db, s.sql, s.bound));
    });
}

void printPlans(const Connection& c, const QList<NativeStatement>& statements)
{
    const bool postgres = c.dialect() == SqlDialect::Postgres;
    for (const NativeStatement& s : statements) {
        QSqlQuery q(c.database());
        q.prepare((postgres ? QStringLiteral("EXPLAIN ") : QStringLiteral("EXPLAIN QUERY PLAN ")) +
                  s.sql);
        for (const QVariant& v : s.bound)
            q.addBindValue(v);
        q.exec();
        qint64 rows = 0;
        const Timing t = replay(c, {s}, &rows);
        std::printf("  -- %8.1f ms %7lld rows: %s\n", t.wallMs, rows,
                    qPrintable(s.sql.simplified().left(150)));
        while (q.next())
            std::printf("     %s\n", qPrintable(q.value(postgres ? 0 : 3).toString()));
    }
}

// A cached database predates indexes added to the schema since it was written: creates the
// missing ones (and their statistics) so that the figures are those of today's schema.
void addMissingIndexes(const Connection& c)
{
    QFile file(QStringLiteral(VTX_SOURCE_DIR "/data/schema/sqlite.sql"));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QString schema = QString::fromUtf8(file.readAll());
    const QString indexes = schema.mid(std::max<qsizetype>(0, schema.indexOf("-- @indexes")));
    static const QRegularExpression create(QStringLiteral("CREATE INDEX (\\w+) ON [^;]+;"));
    for (auto it = create.globalMatch(indexes); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QSqlQuery q(c.database());
        q.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type='index' AND name=?"));
        q.addBindValue(m.captured(1));
        q.exec();
        if (q.next())
            continue;
        QElapsedTimer t;
        t.start();
        q.exec(m.captured(0));
        q.exec(QStringLiteral("ANALYZE ") + m.captured(1));
        std::printf("index %s added to the cached database (%.1f s)\n", qPrintable(m.captured(1)),
                    t.elapsed() / 1e3);
    }
}

// What the benchmark asks of a screen besides its date range and view: the criteria it needs
// ("{last}" stands for the last business day, "{from}" for the first day of the range) and the
// ranges it is run over.
struct Plan
{
    QList<QPair<QString, QString>> criteria;
    QStringList ranges = {QStringLiteral("month"), QStringLiteral("year")};
    QList<int> views = {}; // the views run (from 0); none: every view
};

const QHash<QString, Plan>& benchPlans()
{
    static const QHash<QString, Plan> table = {
        {QStringLiteral("DoBillQuery"),
         {{}, {QStringLiteral("day"), QStringLiteral("month"), QStringLiteral("year")}}},
        {QStringLiteral("DoDailyReport"),
         {{{QStringLiteral("dtpToday"), QStringLiteral("{last}")}}}},
        {QStringLiteral("DoBillCheck"),
         {{{QStringLiteral("optQuery_0"), QStringLiteral("1")},
           {QStringLiteral("dtpBillDate"), QStringLiteral("{last}")}},
          {QStringLiteral("day")}}},
        // Bookings by arrival time over the range (the screen's own date pickers).
        {QStringLiteral("DoBookQuery"),
         {{{QStringLiteral("chkByDate_0"), QStringLiteral("1")},
           {QStringLiteral("dtpBegin_0"), QStringLiteral("{from}")},
           {QStringLiteral("dtpEnd_0"), QStringLiteral("{last}")}}}},
        // Charts: the menu sales chart needs a subject; the trend lines run as they open.
        {QStringLiteral("DoMenuLine"),
         {{{QStringLiteral("cboDepartType"), QStringLiteral("厨房")}}}},
        // Snapshots without dates (stock on hand, the menu): one run each.
        {QStringLiteral("DoInventoryReport"), {{}, {QStringLiteral("day")}}},
        {QStringLiteral("DoMenuQuery"), {{}, {QStringLiteral("day")}}},
        // Menu engineering: every view reads the same statement; every dish is the largest.
        {QStringLiteral("DoMenuEngineering"),
         {{}, {QStringLiteral("month"), QStringLiteral("year")}, {0}}},
    };
    return table;
}

// The least a daily report over a range can cost: SQLite alone scanning the range once per
// block of the sheet (the items by department type, the payments by subject, the bill summary).
Timing dailyReportFloor(const Connection& c, const QDate& from, const QDate& last)
{
    const QStringList blocks = {
        QStringLiteral("SELECT BI.DepartTypeName, SUM(BI.SumOfConsume) FROM bi_Bill AS BL, "
                       "bi_BillItem AS BI WHERE BL.BillID = BI.BillID AND BL.BillDate >=? AND "
                       "BL.BillDate <? AND BL.CheckOutNull=0 AND BI.IsSentMenu=0 AND "
                       "BL.IsDeleted=0 GROUP BY BI.DepartTypeName"),
        QStringLiteral("SELECT BP.SubjectID, SUM(BP.SumPaid) FROM bi_Bill AS BL, "
                       "bi_BillPayment AS BP WHERE BL.BillID = BP.BillID AND BL.CheckOutNull=0 "
                       "AND BL.BillDate >=? AND BL.BillDate <? AND BL.IsDeleted=0 "
                       "GROUP BY BP.SubjectID"),
        QStringLiteral("SELECT SUM(SumPaid), SUM(SumOfConsume), SUM(SumForDiscount), "
                       "SUM(SumOfService), SUM(PeopleCount) FROM bi_Bill WHERE BillDate >=? AND "
                       "BillDate <? AND CheckOutNull=0 AND IsDeleted=0"),
    };
    const QVariantList range = {from.toString(Qt::ISODate) + QStringLiteral(" 00:00:00"),
                                last.addDays(1).toString(Qt::ISODate) +
                                    QStringLiteral(" 00:00:00")};
    QList<NativeStatement> statements;
    for (const QString& sql : blocks)
        statements.append({c.nativeSql(sql), range});
    qint64 rows = 0;
    return replay(c, statements, &rows);
}

struct Case
{
    QString report;
    QString range;
    QWidget* screen;
    QList<QPair<QString, QString>> criteria; // applied before runRefresh
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    auto option = [&](const char* name) {
        const qsizetype at = args.indexOf(QLatin1String(name));
        return at >= 0 && at + 1 < args.size() ? args.at(at + 1) : QString();
    };
    const QString dbPath = option("--db");
    const QString pg = option("--pg");
    const QString exportDir =
        option("--export-dir").isEmpty() ? QDir::tempPath() : option("--export-dir");
    const bool withYear = !args.contains(QStringLiteral("--no-year"));
    const bool plans = args.contains(QStringLiteral("--plans"));
    if (pg.isEmpty() && (dbPath.isEmpty() || !QFileInfo::exists(dbPath))) {
        std::fprintf(stderr, "usage: bench_chain {--db FILE | --pg CONNECTION} [--export-dir DIR] "
                             "[--no-year] [--plans] [--only REPORT]\n");
        return 2;
    }
    HostUi::setHeadless(true);
    ConnectionPtr conn;
    try {
        conn = pg.isEmpty() ? Connection::openSqlite(dbPath) : Connection::openPostgres(pg);
    } catch (const SqlError& e) {
        std::fprintf(stderr, "bench_chain: %s\n", qPrintable(e.message()));
        return 2;
    }
    if (pg.isEmpty()) {
        addMissingIndexes(*conn);
    } else {
        // libpq reads both the keyword=value form and postgresql:// URLs.
        // (without our own sums= keyword, which libpq does not know)
        static const QRegularExpression sums(QStringLiteral("(^|\\s+|[?&])sums=\\w+"));
        g_postgresAlone = PQconnectdb(QString(pg).remove(sums).toUtf8().constData());
        g_postgresStepped = args.contains(QStringLiteral("--pg-stepped"));
        if (PQstatus(g_postgresAlone) != CONNECTION_OK) {
            std::fprintf(stderr, "bench_chain: %s", PQerrorMessage(g_postgresAlone));
            return 2;
        }
    }
    hostContext().Connection = conn;
    BindHost(nullptr);
    LoadUserGroup(QStringLiteral("admin"));

    const auto span =
        conn->execute(QStringLiteral("SELECT min(BillDate), max(BillDate), count(*) FROM bi_Bill"));
    const QDate first = QDate::fromString(span->value(0).toString().left(10), Qt::ISODate);
    const QDate last = QDate::fromString(span->value(1).toString().left(10), Qt::ISODate);
    const qint64 bills = span->value(2).toLongLong();
    const QDate monthStart(last.year(), last.month(), 1);
    const QDate yearStart = std::max(first, last.addYears(-1).addDays(1));
    auto iso = [](const QDate& d) { return d.toString(Qt::ISODate); };
    std::printf("database %s: %lld bills, %s .. %s\n",
                qPrintable(pg.isEmpty() ? QFileInfo(dbPath).fileName()
                                        : QStringLiteral("PostgreSQL ") + pg),
                bills, qPrintable(iso(first)), qPrintable(iso(last)));

    // Every screen of the action table, each view over the ranges of its plan.
    ActionTable table;
    AddActionRows(table);
    QList<Case> cases;
    for (const QString& action : table.actions()) {
        if (!table.dispatch(action))
            continue;
        QWidget* screen = table.lastScreen();
        const Plan plan = benchPlans().value(action);
        // Views are options optQuery1..n, or a control array optQuery_0.. with its query
        // controls ctlQuery_0..
        const bool indexed = screen->findChild<QWidget*>(QStringLiteral("ctlQuery_0"));
        auto viewOption = [indexed](int v) {
            return indexed ? QStringLiteral("optQuery_%1").arg(v)
                           : QStringLiteral("optQuery%1").arg(v + 1);
        };
        int views = 0;
        while (screen->findChild<QWidget*>(viewOption(views)))
            ++views;
        const bool dated = screen->findChild<QWidget*>(QStringLiteral("dtpBegin"));
        for (int v = 0; v < std::max(1, views); ++v) {
            if (!plan.views.isEmpty() && !plan.views.contains(v))
                continue;
            for (const QString& range : plan.ranges) {
                if (range == QLatin1String("year") && !withYear)
                    continue;
                const QDate from = range == QLatin1String("day")     ? last
                                   : range == QLatin1String("month") ? monthStart
                                                                     : yearStart;
                Case c{action, range, screen, {}};
                if (views > 1) {
                    c.range = QStringLiteral("%1 v%2").arg(range).arg(v + 1);
                    c.criteria.append({viewOption(v), "1"});
                }
                if (dated)
                    c.criteria += {{"dtpBegin", iso(from)}, {"dtpEnd", iso(last)}};
                for (auto [name, value] : plan.criteria)
                    c.criteria.append({name, value.replace(QStringLiteral("{last}"), iso(last))
                                                 .replace(QStringLiteral("{from}"), iso(from))});
                cases.append(c);
            }
        }
    }

    std::printf("\n%-15s %-10s %9s %4s %3s %9s %9s %9s %9s %9s %6s %6s %8s %7s\n", "report",
                "range", "rows", "stmt", "by", "screen s", "cpu s", "raw s",
                pg.isEmpty() ? "SQLite s" : "PgSQL s", "cpu s", "ratio", "cpu r", "peak MB",
                "B/cell");
    const bool withRaw = !args.contains(QStringLiteral("--no-raw"));
    const QStringList rawOnly = option("--raw-only").split(QLatin1Char(','), Qt::SkipEmptyParts);
    const Case* largestCase = nullptr; // run again before its grid is exported
    qint64 largestCells = 0;
    const QStringList only = option("--only").split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const Case& c : cases) {
        const QString line = c.report + QLatin1Char(' ') + c.range;
        if (!only.isEmpty() && std::none_of(only.begin(), only.end(),
                                            [&](const QString& o) { return line.startsWith(o); }))
            continue;
        QWidget* screen = c.screen;
        bool ok = true;
        for (const auto& [name, value] : c.criteria) {
            bool set = false;
            QMetaObject::invokeMethod(screen, "applyCriterion", Q_RETURN_ARG(bool, set),
                                      Q_ARG(QString, name), Q_ARG(QString, value));
            ok &= set;
        }
        // The first refresh captures the statements and warms the page cache; SQLite alone and
        // the timed second refresh then both read from a warm cache.
        QList<NativeStatement> statements;
        conn->setStatementTrace([&](const Connection::TracedStatement& s) {
            statements.append({s.nativeSql, s.bound});
        });
        auto refresh = [&] {
            bool done = false;
            QMetaObject::invokeMethod(screen, "runRefresh", Q_RETURN_ARG(bool, done));
            ok &= done;
        };
        const double peakMb = measure(refresh).peakMb; // memory: the first refresh's growth
        conn->setStatementTrace({});
        SummaryPlanner::resetAnswered();
        const Timing screenTime = measure(refresh);
        const SummaryPlanner::Answers answers = SummaryPlanner::answered();
        const bool fromSummaries = answers.fromSummaries > 0;
        double rawWallMs = fromSummaries ? -1 : screenTime.wallMs;
        if (fromSummaries && withRaw && (rawOnly.isEmpty() || rawOnly.contains(c.report))) {
            SummaryPlanner::setEnabled(false);
            rawWallMs = measure(refresh).wallMs;
            SummaryPlanner::setEnabled(true);
        }
        qint64 sqliteRows = 0;
        const Timing sqliteTime = replay(*conn, statements, &sqliteRows);
        const auto* gridScreen = dynamic_cast<const GridScreen*>(screen);
        const Sheet* sheet = gridScreen ? gridScreen->grid() : nullptr;
        const double cells = sheet ? double(sheet->maxRows()) * sheet->maxCols() : 0;
        std::printf(
            "%-15s %-10s %9lld %4lld %3s %9.2f %9.2f %9s %9.2f %9.2f %6.2f %6.2f %8.0f %7s%s\n",
            qPrintable(c.report), qPrintable(c.range), qint64(sheet ? sheet->maxRows() : 0),
            qint64(statements.size()),
            fromSummaries ? (answers.raw > 0          ? "mix"
                             : answers.fromMonths > 0 ? "mon"
                                                      : "sum")
                          : "raw",
            screenTime.wallMs / 1e3, screenTime.cpuMs / 1e3,
            rawWallMs < 0 ? "-" : qPrintable(QString::number(rawWallMs / 1e3, 'f', 2)),
            sqliteTime.wallMs / 1e3, sqliteTime.cpuMs / 1e3, screenTime.wallMs / sqliteTime.wallMs,
            screenTime.cpuMs / sqliteTime.cpuMs, peakMb,
            cells > 0 ? qPrintable(QString::number(sheet->memoryBytes() / cells, 'f', 1)) : "-",
            ok ? "" : "  (refresh failed)");
        if (c.report == QLatin1String("DoDailyReport")) {
            // The range is the one the criteria gave dtpBegin .. dtpEnd.
            QDate from, to;
            for (const auto& [name, value] : c.criteria) {
                if (name == QLatin1String("dtpBegin"))
                    from = QDate::fromString(value, Qt::ISODate);
                if (name == QLatin1String("dtpEnd"))
                    to = QDate::fromString(value, Qt::ISODate);
            }
            const Timing floor = dailyReportFloor(*conn, from, to);
            std::printf("%-15s %-10s %9s %4s %3s %9s %9s %9s %9.2f %9.2f %6.2f %6.2f   (%s "
                        "alone, one scan of the range per block)\n",
                        "  floor", qPrintable(c.range), "", "", "", "", "", "", floor.wallMs / 1e3,
                        floor.cpuMs / 1e3, screenTime.wallMs / floor.wallMs,
                        screenTime.cpuMs / floor.cpuMs, pg.isEmpty() ? "SQLite" : "PostgreSQL");
        }
        std::fflush(stdout);
        if (plans)
            printPlans(*conn, statements);
        if (sheet && cells > largestCells) {
            largestCells = qint64(cells);
            largestCase = &c;
        }
    }

    const Sheet* largest = nullptr;
    if (largestCase && !args.contains(QStringLiteral("--no-export"))) {
        // A later case may have refilled the screen's grid: fill it again as that case did.
        for (const auto& [name, value] : largestCase->criteria)
            QMetaObject::invokeMethod(largestCase->screen, "applyCriterion", Q_ARG(QString, name),
                                      Q_ARG(QString, value));
        QMetaObject::invokeMethod(largestCase->screen, "runRefresh");
        largest = dynamic_cast<const GridScreen*>(largestCase->screen)->grid();
    }
    if (largest) {
        std::printf("\nexport of the largest grid (%d rows x %d columns = %lld cells):\n",
                    largest->maxRows(), largest->maxCols(), largestCells);
        for (const char* ext : {"xlsx", "pdf"}) {
            const QString path = exportDir + QStringLiteral("/bench_chain.") + QLatin1String(ext);
            bool saved = false;
            const Timing t = measure(
                [&] { saved = SheetOutput::save(*largest, path, QStringLiteral("bench")); });
            std::printf("  .%-5s %8.2f s wall %8.2f s CPU  peak %6.0f MB  %7.1f MB file%s\n", ext,
                        t.wallMs / 1e3, t.cpuMs / 1e3, t.peakMb,
                        double(QFileInfo(path).size()) / (1 << 20), saved ? "" : "  (failed)");
            std::fflush(stdout);
        }
    }
    return 0;
}
