// The statement log that feeds the T-SQL check: every way a statement reaches the database is
// logged once, with the text and parameters SQL Server would receive.
#include "db/Recordset.h"
#include "db/StatementLog.h"
#include "tests/support/TestDatabase.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QList<QJsonObject> records(const QString& path)
{
    QFile file(path);
    QList<QJsonObject> list;
    if (!file.open(QIODevice::ReadOnly))
        return list;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (!line.isEmpty())
            list << QJsonDocument::fromJson(line).object();
    return list;
}

} // namespace

class TstStatementLog : public QObject
{
    Q_OBJECT

private slots:
    // Markers are numbered in order outside literals, names and comments; a doubled quote
    // or bracket stays inside its literal or name.
    void serverText()
    {
        int markers = -1;
        QCOMPARE(StatementLog::serverText("SELECT [a?]]b], 'it''s ?', \"c?\" FROM t -- where x=?\n"
                                          "WHERE d>=? AND /* e=? */ f<? AND g=N'?' AND h=?",
                                          &markers),
                 QString("SELECT [a?]]b], 'it''s ?', \"c?\" FROM t -- where x=?\n"
                         "WHERE d>=@P1 AND /* e=? */ f<@P2 AND g=N'?' AND h=@P3"));
        QCOMPARE(markers, 3);
        QCOMPARE(StatementLog::serverText("SELECT 'open ?", &markers), QString("SELECT 'open ?"));
        QCOMPARE(markers, 0);
    }

    // execute, executeNonQuery, executeAll and a read on another thread: each statement once,
    // in order, as written and as SQL Server binds its parameters.
    void everyPathLoggedOnce()
    {
        TestDatabase db(QStringLiteral("db_bills.sql"));
        QTemporaryDir dir;
        const QString path = dir.filePath("log.jsonl");
        QString error;
        const auto log = StatementLog::create(path, &error);
        QVERIFY2(log, qPrintable(error));
        const ConnectionPtr& c = db.connection();
        StatementLog::attach(log, *c);

        const QString range = "SELECT COUNT(*) AS n FROM bi_Bill WHERE BillDate>=? AND BillDate<?";
        QCOMPARE(c->execute(range, {QDate(2026, 3, 10), QDate(2026, 3, 11)})->value(0).toInt(), 2);
        QCOMPARE(c->executeNonQuery("UPDATE bi_Bill SET PrintCount=? WHERE BillID=? AND "
                                    "SumPaid>?",
                                    {3, QString("B1"), 100.5}),
                 1);
        const auto all = c->executeAll({{"SELECT TOP 1 BillID FROM bi_Bill", {}},
                                        {range, {QDate(2026, 3, 9), QDate(2026, 3, 10)}}});
        QCOMPARE(all.size(), size_t(2));
        {
            auto detached = Connection::prepareDetached(
                c, "SELECT BillID FROM bi_Bill WHERE BillID=?", {QString("B2")});
            QVERIFY(detached);
        }
        // Inside a transaction no detached read is made; the caller's execute() logs it.
        c->beginTransaction();
        QVERIFY(!Connection::prepareDetached(c, "SELECT 1", {}));
        c->rollback();

        const QList<QJsonObject> got = records(path);
        QCOMPARE(got.size(), 5);
        QCOMPARE(got[0]["tsql"].toString(), range);
        QCOMPARE(got[0]["server"].toString(),
                 QString("SELECT COUNT(*) AS n FROM bi_Bill WHERE BillDate>=@P1 AND BillDate<@P2"));
        QCOMPARE(got[0]["markers"].toInt(), 2);
        QCOMPARE(QJsonDocument(got[0]["params"].toArray()).toJson(QJsonDocument::Compact),
                 QByteArray(R"([{"odbc":"SQL_TIMESTAMP","value":"2026-03-10 00:00:00"},)"
                            R"({"odbc":"SQL_TIMESTAMP","value":"2026-03-11 00:00:00"}])"));
        QCOMPARE(QJsonDocument(got[1]["params"].toArray()).toJson(QJsonDocument::Compact),
                 QByteArray(R"([{"odbc":"SQL_INTEGER","value":3},)"
                            R"({"odbc":"SQL_WVARCHAR","value":"B1"},)"
                            R"({"odbc":"SQL_DOUBLE","value":100.5}])"));
        QCOMPARE(got[2]["tsql"].toString(), QString("SELECT TOP 1 BillID FROM bi_Bill"));
        QVERIFY(got[2]["native"].toString().contains("LIMIT 1"));
        QCOMPARE(got[3]["params"].toArray().at(1)["value"].toString(),
                 QString("2026-03-10 00:00:00"));
        QCOMPARE(got[4]["server"].toString(),
                 QString("SELECT BillID FROM bi_Bill WHERE BillID=@P1"));
    }
};

QTEST_MAIN(TstStatementLog)
#include "tst_statementlog.moc"
