// The bill summaries on PostgreSQL, through the administrator's commands of vtxhost: installed
// only when asked, the golden cases of the screens they answer giving their golden files with
// them, fresh after a bill is written, verified, and removed whole.
#include "db/Connection.h"
#include "db/Recordset.h"
#include "tests/support/GoldenCases.h"
#include "tests/support/PgServer.h"

#include <QTemporaryDir>
#include <QtTest>

class tst_SummariesPg : public QObject
{
    Q_OBJECT
private slots:
    void installAnswerVerifyDrop();
};

namespace {

qint64 count(const Connection& db, const char* sql)
{
    auto rs = db.execute(QString::fromUtf8(sql));
    return rs->atEnd() ? -1 : rs->value(0).toLongLong();
}

const char* const kSummaryTables =
    "SELECT COUNT(*) FROM information_schema.tables WHERE table_name LIKE 'sm\\_%'";

} // namespace

void tst_SummariesPg::installAnswerVerifyDrop()
{
    PgServer server;
    if (!server.isRunning()) {
        if (!server.binariesFound())
            QSKIP(qPrintable(server.skipReason()));
        QFAIL(qPrintable(server.skipReason()));
    }
    QList<Case> cases;
    QList<GoldenDatabase> databases;
    QVERIFY(readCases(&cases, &databases));
    QString error;
    const QString where = server.createDatabase("chain", &error);
    QVERIFY2(!where.isEmpty(), qPrintable(error));
    QCOMPARE(
        run(VTX_BIN_DIR "/vtxdemodb", QStringList{"--pg", where} + databases.at(0).options, &error),
        0);
    ConnectionPtr db = Connection::openPostgres(where);
    // Nothing is created without the command.
    QCOMPARE(count(*db, kSummaryTables), 0);
    const QString host = QStringLiteral(VTX_BIN_DIR "/vtxhost");
    QCOMPARE(run(host, {"--pg", where, "--install-summaries"}, &error), 0);
    QCOMPARE(count(*db, kSummaryTables), 26);
    // Every summary analysed, the day and month tables (not the stale dates and the version).
    QCOMPARE(count(*db, "SELECT COUNT(*) FROM pg_stat_user_tables WHERE relname LIKE 'sm\\_%' "
                        "AND last_analyze IS NOT NULL"),
             23);
    QVERIFY(count(*db, "SELECT COUNT(*) FROM sm_ItemMonth") > 0);
    QVERIFY(count(*db, "SELECT COUNT(*) FROM sm_ItemDay") > 0);
    QVERIFY(count(*db, "SELECT COUNT(*) FROM sm_TableMonth") > 0);
    QVERIFY(count(*db, "SELECT COUNT(*) FROM sm_DiscountDay") > 0);
    QVERIFY(count(*db, "SELECT COUNT(*) FROM sm_DepartMonth") > 0);
    QVERIFY2(run(host, {"--pg", where, "--verify-summaries"}, &error) == 0, qPrintable(error));

    // The screens the summaries answer give their golden files.
    QTemporaryDir dir;
    const QStringList answered{"DoPeriodQuery",     "DoDepartQuery",   "DoDepartQueryTable",
                               "DoMonthReport",     "DoBillItemQuery", "DoBillItemCost",
                               "DoMenuEngineering", "DoHourReport",    "DoPaymentQuery",
                               "DoDailyReport",     "DoTableReport",   "DoMemberDiscountQuery",
                               "DoMemberConsume",   "DoPaymentMember", "DoSubBillQuery"};
    int compared = 0;
    for (const Case& c : std::as_const(cases)) {
        if (c.database != 0 || !answered.contains(c.action))
            continue;
        const QString out = dir.filePath(flatName(c) + QStringLiteral(".txt"));
        QStringList arguments{"--pg", where, "--user", "admin", "--action", c.action};
        arguments << c.arguments << "--export" << out;
        QVERIFY2(run(host, arguments, &error) == 0, qPrintable(c.name + ": " + error));
        compareWithGolden(c.name, out);
        ++compared;
    }
    QVERIFY(compared >= 12);

    // A bill written through the tills' table marks its day; the next report rebuilds it and its
    // month, over which the whole of March is read.
    db->executeNonQuery(
        "INSERT INTO bi_Bill (BillID, BillDate, BillPeriod, TableName, CheckOutNull, IsDeleted, "
        "BranchID, BranchName) SELECT 'F1', BillDate, BillPeriod, 'A9', 0, 0, BranchID, "
        "BranchName FROM bi_Bill WHERE BillID=(SELECT MIN(BillID) FROM bi_Bill WHERE "
        "IsDeleted=0 AND CheckOutNull=0)");
    db->executeNonQuery("INSERT INTO bi_BillItem (BillItemID, BillID, MenuID, MenuName, "
                        "AmountOrder, AmountCancel, IsSentMenu, SumOfConsume, SumForDiscount) "
                        "VALUES ('F1-1', 'F1', 'F-TEST', 'test dish', 2, 0, 0, 12.34, 0)");
    QCOMPARE(count(*db, "SELECT COUNT(*) FROM sm_StaleDay"), 1);
    const QString out = dir.filePath(QStringLiteral("fresh.txt"));
    QCOMPARE(run(host,
                 {"--pg", where, "--user", "admin", "--action", "DoPeriodQuery", "--from",
                  "2026-03-01", "--to", "2026-03-31", "--export", out},
                 &error),
             0);
    QFile file(out);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY2(text.contains("F-TEST\ttest dish\t"), qPrintable(text.left(400)));
    // All periods together: 2 for 12.34, nothing off.
    QVERIFY2(text.contains("\t2.00\t12.34\t12.34\n"), qPrintable(text.left(400)));
    QCOMPARE(count(*db, "SELECT COUNT(*) FROM sm_StaleDay"), 0);
    QVERIFY2(run(host, {"--pg", where, "--verify-summaries"}, &error) == 0, qPrintable(error));

    // A member given another id marks the days of its bills for the member summary alone; its
    // balance changed marks nothing.
    db->executeNonQuery("UPDATE mb_MemberInfo SET Balance=1 WHERE MemberID=(SELECT "
                        "MIN(MemberID) FROM bi_Bill)");
    QCOMPARE(count(*db, "SELECT COUNT(*) FROM sm_StaleMemberDay"), 0);
    db->executeNonQuery("UPDATE mb_MemberInfo SET MemberID='M-NEW' WHERE MemberID=(SELECT "
                        "MIN(MemberID) FROM bi_Bill)");
    QVERIFY(count(*db, "SELECT COUNT(*) FROM sm_StaleMemberDay") > 0);
    QCOMPARE(count(*db, "SELECT COUNT(*) FROM sm_StaleDay"), 0);
    QVERIFY2(run(host, {"--pg", where, "--verify-summaries"}, &error) == 0, qPrintable(error));
    QCOMPARE(count(*db, "SELECT COUNT(*) FROM sm_StaleMemberDay"), 0);

    QCOMPARE(run(host, {"--pg", where, "--drop-summaries"}, &error), 0);
    QCOMPARE(count(*db, kSummaryTables), 0);
    QCOMPARE(count(*db, "SELECT COUNT(*) FROM pg_trigger WHERE tgname LIKE 'sm\\_%'"), 0);
    // Without them the bills are written as before and the reports read the bills.
    db->executeNonQuery("DELETE FROM bi_BillItem WHERE BillID='F1'");
    QCOMPARE(run(host, {"--pg", where, "--verify-summaries"}, &error), 4);
}

QTEST_MAIN(tst_SummariesPg)
#include "tst_summariespg.moc"
