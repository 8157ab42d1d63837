// The query control against SQLite itself on a bill-query-shaped result.
//
//   bench_query_control [--rows N]      (default 1,000,000)
//
// Builds a temporary SQLite table of N bills with 20 columns (7 text, 13 numeric), then times
//   1. SQLite alone: the same statement stepped through with SQLite's own API, reading every
//      column of every row as SQLite holds it, and
//   2. ctlQuery::ApplyQuery(false, true, false) with the bill query's 19 columns: three group
//      headers, a computed column, the zero-settlement condition on every totalled column and
//      the totals row (the statement stepped on the control's reader thread while this thread
//      fills the grid; CPU is given for this thread and for the whole process), and
//   3. QueryFill alone on the same statement and columns, into a sheet of its own (no widget,
//      no column fitting, no event pumping),
// and prints the times, their ratios, the sheet's memory per cell and the process RSS growth.
#include "bench/BenchProcess.h"
#include "bench/SqliteAlone.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "query/QueryColumn.h"
#include "sheet/Sheet.h"
#include "ui/QueryFill.h"
#include "ui/ctlQuery.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

namespace {

void buildTable(const Connection& c, int rows)
{
    QSqlDatabase db = c.database();
    QSqlQuery q(db);
    q.exec(QStringLiteral(
        "CREATE TABLE bi_Bill (BillID VARCHAR(20) PRIMARY KEY, TableFullName VARCHAR(50), "
        "BillPeriod VARCHAR(30), PeopleCount INTEGER, CreatePerson VARCHAR(30), "
        "ChargePerson VARCHAR(30), CheckOutPerson VARCHAR(30), SumOfConsume NUMERIC, "
        "ServiceRate NUMERIC, SumOfService NUMERIC, DiscountName VARCHAR(30), "
        "DiscountRate NUMERIC, SumForDiscount NUMERIC, SumInCash NUMERIC, SumToPay NUMERIC, "
        "SumPaid NUMERIC, SumOfInvoice NUMERIC, PrintCount INTEGER, CheckOutNull INTEGER, "
        "ShiftID INTEGER)"));
    db.transaction();
    q.prepare(
        QStringLiteral("INSERT INTO bi_Bill VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    const QStringList periods{QStringLiteral("早市"), QStringLiteral("午市"),
                              QStringLiteral("晚市")};
    const QStringList discounts{QStringLiteral("无"), QStringLiteral("九折"),
                                QStringLiteral("八八折"), QStringLiteral("会员价"),
                                QStringLiteral("员工餐")};
    for (int i = 0; i < rows; ++i) {
        const double consume = 50 + (i * 37 % 2000) + (i % 4) * 0.25;
        const double rate = i % 5 == 1 ? 0.9 : 1.0;
        const double service = i % 3 == 0 ? consume * 0.1 : 0.0;
        const double discount = consume * (1 - rate);
        const double pay = consume + service - discount;
        q.addBindValue(QStringLiteral("B%1").arg(i + 1, 10, 10, QLatin1Char('0')));
        q.addBindValue(QStringLiteral("大厅%1").arg(i % 50, 2, 10, QLatin1Char('0')));
        q.addBindValue(periods.at(i % 3));
        q.addBindValue(1 + i % 12);
        q.addBindValue(QStringLiteral("服务员%1").arg(i % 20));
        q.addBindValue(QStringLiteral("领班%1").arg(i % 20));
        q.addBindValue(QStringLiteral("收银%1").arg(i % 10));
        q.addBindValue(consume);
        q.addBindValue(service ? 0.1 : 0.0);
        q.addBindValue(service);
        q.addBindValue(discounts.at(i % 5));
        q.addBindValue(rate);
        q.addBindValue(discount);
        q.addBindValue(i % 2 ? pay : pay / 2);
        q.addBindValue(pay);
        q.addBindValue(i % 97 == 0 ? 0.0 : pay);
        q.addBindValue(i % 7 == 0 ? pay : 0.0);
        q.addBindValue(1 + (i % 50 == 0));
        q.addBindValue(i % 97 == 0 ? 1 : 0);
        q.addBindValue(1 + i % 3);
        q.exec();
    }
    db.commit();
}

void defineBillQueryColumns(ctlQuery& q)
{
    auto& cols = q.Columns();
    cols.Add("BillID", "单号", "", "", false, 0, false, 1, 1500);
    cols.Add("TableFullName", "房台", "", "", false, 0, false, 1, 1100);
    cols.Add("BillPeriod", "餐段", "", "", false, 0, false, 1, 600);
    cols.Add("PeopleCount", "人数", "", "", false, 0, true, 13, 550);
    QueryColumn* man = cols.Add("|ChargeMan", "负责人");
    man->SubColumns().add("CreatePerson", "开台人", "", "", false, 0, false, 1, 700);
    man->SubColumns().add("ChargePerson", "埋单人", "", "", false, 0, false, 1, 700);
    man->SubColumns().add("CheckOutPerson", "收银员", "", "", false, 0, false, 1, 700);
    const QString z = QStringLiteral("CheckOutNull=0");
    cols.Add("SumOfConsume", "消费总额", z, "", false, 0, true, 13, 850, 14737632);
    QueryColumn* svc = cols.Add("|SumOfService", "服务费");
    svc->SubColumns().add("ServiceRate", "服务费率", "", "", false, 0, false, 14, 840, 14737632);
    svc->SubColumns().add("SumOfService", "服务费", z, "", false, 0, true, 13, 700, 14737632);
    QueryColumn* dis = cols.Add("|Discount", "折扣");
    dis->SubColumns().add("DiscountName", "打折方式", "", "", false, 0, false, 1, 840, 14737632);
    dis->SubColumns().add("DiscountRate", "折扣率", "", "", false, 0, false, 14, 700, 14737632);
    dis->SubColumns().add("SumForDiscount", "折扣额", z, "", false, 0, true, 13, 700, 14737632);
    cols.Add("SumToPay", "应收金额", z, "", false, 0, true, 13, 850, 14737632);
    QueryColumn* paid = cols.Add("|SumPaid", "实收金额");
    paid->SubColumns().add("SumInCash", "现金", z, "", false, 0, true, 13, 800, 12648447);
    paid->SubColumns().add("SumPaid-SumInCash|SumOfOther", "其他", z, "", false, 0, true, 13, 750,
                           12648447);
    paid->SubColumns().add("SumPaid", "实收金额", z, "", false, 0, true, 13, 850, 12648447);
    cols.Add("SumOfInvoice", "发票金额", z, "", false, 0, true, 13, 850, 14737632);
    cols.Add("PrintCount", "埋单次数", "", "", false, 0, false, 1, 500);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int rows = 1000000;
    const QStringList args = app.arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--rows"));
    if (at >= 0 && at + 1 < args.size())
        rows = args.at(at + 1).toInt();

    QTemporaryDir dir;
    auto conn = Connection::openSqlite(dir.filePath(QStringLiteral("bench.db")));
    QElapsedTimer t;
    t.start();
    buildTable(*conn, rows);
    std::printf("table: %d rows x 20 columns (7 text) built in %.1f s\n", rows,
                t.elapsed() / 1000.0);

    const QString sql = QStringLiteral(
        " SELECT TOP 100 PERCENT BillID,TableFullName,BillPeriod,PeopleCount, "
        "CreatePerson,ChargePerson,CheckOutPerson,SumOfConsume,ServiceRate,SumOfService, "
        "DiscountName,DiscountRate,SumForDiscount,SumInCash,SumToPay,SumPaid,SumOfInvoice, "
        "PrintCount,CheckOutNull,ShiftID FROM bi_Bill ORDER BY BillID ");

    // 1. SQLite alone, every column read (best of two).
    double sqliteMs = 1e300, sqliteCpu = 1e300;
    for (int pass = 0; pass < 2; ++pass) {
        t.restart();
        const double cpu0 = cpuMs(CLOCK_THREAD_CPUTIME_ID);
        runSqliteAlone(sqliteHandleOf(conn->database()), conn->nativeSql(sql));
        sqliteMs = std::min(sqliteMs, double(t.nsecsElapsed()) / 1e6);
        sqliteCpu = std::min(sqliteCpu, cpuMs(CLOCK_THREAD_CPUTIME_ID) - cpu0);
    }

    // 2. The query control.
    ctlQuery control;
    control.resize(1200, 700);
    defineBillQueryColumns(control);
    control.ApplyQuery(true, false, false);
    control.SetConnection(conn);
    control.SetSQL(sql);
    const qint64 rssBefore = procStatusKb("VmRSS:");
    resetPeakRss();
    t.restart();
    const double cpu0 = cpuMs(CLOCK_THREAD_CPUTIME_ID);
    const double processCpu0 = cpuMs(CLOCK_PROCESS_CPUTIME_ID);
    const bool ok = control.ApplyQuery(false, true, false);
    const double controlMs = double(t.nsecsElapsed()) / 1e6;
    const double controlCpu = cpuMs(CLOCK_THREAD_CPUTIME_ID) - cpu0;
    const double controlProcessCpu = cpuMs(CLOCK_PROCESS_CPUTIME_ID) - processCpu0;
    const qint64 rssAfter = procStatusKb("VmRSS:");
    const qint64 rssPeak = procStatusKb("VmHWM:");
    if (!ok) {
        std::printf("ApplyQuery failed: %s\n", qPrintable(control.lastError()));
        return 1;
    }
    const Sheet* g = control.Grid();
    const double cells = double(g->maxRows()) * g->maxCols();
    std::printf("                                                  wall ms    CPU ms\n");
    std::printf("SQLite alone (sqlite3_step, 20 columns read):     %8.1f  %8.1f\n", sqliteMs,
                sqliteCpu);
    std::printf("ctlQuery::ApplyQuery (19 grid columns, totals):    %8.1f  %8.1f\n", controlMs,
                controlCpu);
    std::printf("ratio control / SQLite:                            %8.2f  %8.2f\n",
                controlMs / sqliteMs, controlCpu / sqliteCpu);
    std::printf("  (CPU: the UI thread; with the reader thread %.1f ms, ratio %.2f)\n",
                controlProcessCpu, controlProcessCpu / sqliteCpu);
    std::printf("grid: %d rows x %d columns = %.0f cells\n", g->maxRows(), g->maxCols(), cells);
    std::printf("Sheet::memoryBytes / cell:                                  %9.1f bytes\n",
                double(g->memoryBytes()) / cells);
    std::printf("process RSS growth / cell (after fill):                     %9.1f bytes\n",
                double(rssAfter - rssBefore) * 1024 / cells);
    std::printf("process RSS peak growth / cell (during fill):               %9.1f bytes\n",
                double(std::max(rssPeak, rssAfter) - rssBefore) * 1024 / cells);

    // 3. The fill alone, on a fresh result.
    Sheet sheet;
    QueryFill fill(QueryFill::layOut(sheet, control.Columns()), ctlQuery::fillTexts());
    auto rs = conn->execute(sql, {});
    t.restart();
    const double fillCpu0 = cpuMs(CLOCK_THREAD_CPUTIME_ID);
    if (!fill.fill(*rs, sheet)) {
        std::printf("QueryFill failed: %s\n", qPrintable(fill.error()));
        return 1;
    }
    const double fillMs = double(t.nsecsElapsed()) / 1e6;
    const double fillCpu = cpuMs(CLOCK_THREAD_CPUTIME_ID) - fillCpu0;
    std::printf("QueryFill::fill alone (same columns, no widget):   %8.1f  %8.1f\n", fillMs,
                fillCpu);
    std::printf("ratio fill / SQLite:                               %8.2f  %8.2f\n",
                fillMs / sqliteMs, fillCpu / sqliteCpu);
    std::printf("totals row: %s | %s | %s\n", qPrintable(g->text(g->maxRows(), 1)),
                qPrintable(g->text(g->maxRows(), 4)), qPrintable(g->text(g->maxRows(), 17)));
    return 0;
}
