// The embedded SQLite file as the restaurant runs it: the tills write to it while reports read.
#include "db/Recordset.h"
#include "tests/support/TestDatabase.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <atomic>
#include <thread>

namespace {

// The journal mode a file's header records: 1 rollback journal, 2 WAL.
int headerMode(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray header = file.read(20);
    return header.size() == 20 && header[18] == header[19] ? header[18] : 0;
}

const QString Paid = QStringLiteral("SELECT SUM(SumPaid) AS s, COUNT(*) AS n FROM bi_Bill "
                                    "WHERE BillDate>=? AND BillDate<?");
const QVariantList March = {QDate(2026, 3, 1), QDate(2026, 4, 1)};

} // namespace

class TstSqliteFile : public QObject
{
    Q_OBJECT
private slots:
    // Statements fetched together read one state of the file while a till commits bill after
    // bill: every count agrees.
    void fetchedTogetherWhileATillCommits()
    {
        TestDatabase db("db_bills.sql");
        std::atomic<bool> stop{false};
        std::atomic<int> committed{0};
        std::atomic<bool> failed{false};
        std::thread till([&] {
            try {
                const ConnectionPtr t = Connection::openSqlite(db.path());
                t->executeScript(QStringLiteral("PRAGMA synchronous=OFF"));
                for (int i = 0; !stop; ++i, ++committed)
                    t->executeNonQuery(
                        QStringLiteral("INSERT INTO bi_Bill (BillID, BillDate, SumPaid) "
                                       "VALUES (?, '2026-03-10 12:00:00', 1)"),
                        {QStringLiteral("T%1").arg(i)});
            } catch (const SqlError&) {
                failed = true;
            }
        });
        QList<Connection::Statement> statements;
        for (int i = 0; i < 60; ++i)
            statements.append({Paid, March});
        bool agreed = true;
        while (committed < 1500 && !failed && agreed) {
            const std::vector<BufferedResult> r = db.connection()->executeAll(statements);
            for (const BufferedResult& one : r)
                agreed = agreed && one.error.isEmpty() && one.rows == r.front().rows;
        }
        stop = true;
        till.join();
        QVERIFY(!failed);
        QVERIFY(agreed);
    }

    void openingFiles()
    {
        QTemporaryDir dir;
        // Not a database: refused at once, with SQLite's reason.
        const QString text = dir.filePath("notes.db");
        QFile file(text);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("these are not the figures you are looking for\n");
        file.close();
        try {
            Connection::openSqlite(text);
            QFAIL("a text file was opened");
        } catch (const SqlError& e) {
            QVERIFY2(e.message().contains("not an SQLite database") &&
                         e.message().contains("file is not a database"),
                     qPrintable(e.message()));
        }

        // A new file is written in WAL mode; a file in rollback mode that another connection
        // is reading is opened without waiting and read as it is, and switched once it is free.
        const QString path = dir.filePath("till.db");
        {
            const ConnectionPtr first = Connection::openSqlite(path);
            QCOMPARE(headerMode(path), 2);
            first->executeScript(QStringLiteral("PRAGMA journal_mode=DELETE; CREATE TABLE t(x); "
                                                "INSERT INTO t VALUES (7), (8)"));
        }
        QCOMPARE(headerMode(path), 1);
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
            other.setDatabaseName(path);
            QVERIFY(other.open());
            QSqlQuery reading(other); // half read: the file is locked for reading meanwhile
            QVERIFY(reading.exec("SELECT x FROM t") && reading.next());
            QElapsedTimer timer;
            timer.start();
            const ConnectionPtr report = Connection::openSqlite(path);
            QVERIFY(timer.elapsed() < 1000);
            QCOMPARE(report->execute(QStringLiteral("SELECT x FROM t"))->value(0).toInt(), 7);
            QCOMPARE(headerMode(path), 1);
        }
        QSqlDatabase::removeDatabase("other");
        Connection::openSqlite(path);
        QCOMPARE(headerMode(path), 2);
    }
};

QTEST_MAIN(TstSqliteFile)
#include "tst_sqlitefile.moc"
