// A head office on PostgreSQL: two managers' daily reports run while an expense day is saved
// again and again. Each save replaces the day's rows in one transaction with the same amounts, so
// every report must show exactly the figures of the golden file: a reader that saw the day
// half-written (its rows deleted, not yet inserted) would show a smaller expense.
#include "db/Connection.h"
#include "db/Recordset.h"
#include "reports/periods/frmExpense.h"
#include "tests/support/GoldenCases.h"
#include "tests/support/PgServer.h"

#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>

class tst_PgConcurrency : public QObject
{
    Q_OBJECT
private slots:
    void twoReadersOneWriter();
};

void tst_PgConcurrency::twoReadersOneWriter()
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
    const auto golden = std::find_if(cases.cbegin(), cases.cend(), [](const Case& c) {
        return c.name == QLatin1String("DoDailyReport");
    });
    QVERIFY(golden != cases.cend());
    QString error;
    const QString where = server.createDatabase("chain", &error);
    QVERIFY2(!where.isEmpty(), qPrintable(error));
    QCOMPARE(run(VTX_BIN_DIR "/vtxdemodb",
                 QStringList{"--pg", where} + databases.at(golden->database).options, &error),
             0);

    // The days the writer saves, with the items they hold now.
    ConnectionPtr writer = Connection::openPostgres(where);
    const QList<QDate> days{QDate(2026, 3, 10), QDate(2026, 3, 5)};
    QList<QList<frmExpense::Item>> dayItems;
    for (const QDate& day : days) {
        QList<frmExpense::Item> items = frmExpense::LoadItems(writer);
        QVERIFY(!items.isEmpty());
        auto rs = writer->execute(" select * from bi_ExpenseItem where BillDate=? ", {day});
        int found = 0;
        for (; !rs->atEnd(); rs->moveNext())
            for (frmExpense::Item& item : items)
                if (item.id == rs->value("ExpenseID").toString()) {
                    item.expense = Money::fromDouble(rs->value("Expense").toDouble());
                    ++found;
                }
        QVERIFY2(found > 0, "the demo chain has no expenses that day");
        dayItems << items;
    }

    std::atomic<bool> reading{true};
    std::atomic<int> saves{0};
    QString writeError;
    std::thread writing([&] {
        ConnectionPtr db = Connection::openPostgres(where); // a connection of this thread
        for (int i = 0; reading && i < 20000; ++i) {
            QString e;
            if (!frmExpense::SaveDay(db, days.at(i % 2), dayItems.at(i % 2), &e)) {
                writeError = e;
                return;
            }
            ++saves;
        }
    });

    QTemporaryDir dir;
    const Case& c = *golden;
    for (int round = 0; round < 2; ++round) {
        QList<QProcess*> readers;
        for (int r = 0; r < 2; ++r) {
            auto* p = new QProcess(this);
            p->start(
                VTX_BIN_DIR "/vtxhost",
                QStringList{"--pg", where, "--user", "admin", "--action", c.action} + c.arguments +
                    QStringList{"--export", dir.filePath(QString("r%1-%2.txt").arg(round).arg(r))});
            readers << p;
        }
        for (QProcess* p : readers) {
            QVERIFY(p->waitForFinished(120000));
            QVERIFY2(p->exitCode() == 0, p->readAllStandardError().constData());
            delete p;
        }
    }
    reading = false;
    writing.join();
    QVERIFY2(writeError.isEmpty(), qPrintable(writeError));
    QVERIFY(saves > 2);
    qInfo("%d expense days saved while 4 reports ran", int(saves));
    for (int round = 0; round < 2; ++round)
        for (int r = 0; r < 2; ++r)
            compareWithGolden(c.name, dir.filePath(QString("r%1-%2.txt").arg(round).arg(r)));
}

QTEST_MAIN(tst_PgConcurrency)
#include "tst_pgconcurrency.moc"
