// The end-to-end cases of tst_golden on PostgreSQL: the suite's own server (PgServer) gets the
// same demo databases from vtxdemodb --pg, every case runs headless by vtxhost --pg, and every
// export must equal the same golden file as on SQLite. Skipped, with the reason, where the
// PostgreSQL binaries are not installed.
#include "tests/support/GoldenCases.h"
#include "tests/support/PgServer.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class tst_GoldenPg : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void exports_data();
    void exports();
    void cleanupTestCase();

private:
    std::unique_ptr<PgServer> m_server;
    QTemporaryDir m_dir;
    QStringList m_connections; // by the database index of cases.txt
    QList<Case> m_cases;
    QElapsedTimer m_timer;
};

void tst_GoldenPg::initTestCase()
{
    m_timer.start();
    QList<GoldenDatabase> databases;
    QVERIFY2(readCases(&m_cases, &databases), "tests/golden/cases.txt is missing or malformed");
    m_server = std::make_unique<PgServer>();
    if (!m_server->isRunning()) {
        if (!m_server->binariesFound())
            QSKIP(qPrintable(m_server->skipReason()));
        QFAIL(qPrintable(m_server->skipReason()));
    }
    for (const GoldenDatabase& db : std::as_const(databases)) {
        QString error;
        const QString connection = m_server->createDatabase(
            db.name.isEmpty() ? QStringLiteral("golden") : QStringLiteral("golden_") + db.name,
            &error);
        QVERIFY2(!connection.isEmpty(), qPrintable(error));
        QString err;
        QCOMPARE(run(QStringLiteral(VTX_BIN_DIR "/vtxdemodb"),
                     QStringList{QStringLiteral("--pg"), connection} + db.options, &err),
                 0);
        m_connections << connection;
    }
    qInfo("PostgreSQL server started and demo databases loaded in %.1f s",
          m_timer.elapsed() / 1000.0);
}

void tst_GoldenPg::exports_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < m_cases.size(); ++i)
        if (selected(m_cases.at(i)))
            QTest::newRow(qPrintable(m_cases.at(i).name)) << i;
}

void tst_GoldenPg::exports()
{
    QFETCH(int, index);
    const Case& c = m_cases.at(index);
    const QString out = m_dir.filePath(flatName(c) + QStringLiteral(".txt"));
    QString err;
    const int status = run(QStringLiteral(VTX_BIN_DIR "/vtxhost"),
                           QStringList{QStringLiteral("--pg"), m_connections.at(c.database),
                                       QStringLiteral("--user"), QStringLiteral("admin"),
                                       QStringLiteral("--action"), c.action} +
                               c.arguments + QStringList{QStringLiteral("--export"), out},
                           &err);
    QVERIFY2(status == 0, qPrintable(err));
    if (qEnvironmentVariableIntValue("VTX_UPDATE_GOLDEN") == 1)
        QSKIP("the golden files are written from SQLite (tst_golden)");
    compareWithGolden(c.name, out);
}

void tst_GoldenPg::cleanupTestCase()
{
    m_server.reset();
    qInfo("PostgreSQL golden run: %.1f s", m_timer.elapsed() / 1000.0);
}

QTEST_MAIN(tst_GoldenPg)
#include "tst_goldenpg.moc"
