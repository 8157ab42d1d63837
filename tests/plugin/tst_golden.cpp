// Every action of the module end to end: run headless by vtxhost over one demo database with the
// criteria of tests/golden/cases.txt, exported as tab-separated text, compared with the golden
// file of the case. VTX_UPDATE_GOLDEN=1 writes the files instead of comparing. With
// VTX_TSQL_TRACE_DIR set (CTest sets it), each run also writes the statements it ran to
// golden-<case>.jsonl there (vtxhost --trace-sql) for the T-SQL check of tools/tsqlcheck.
// tst_goldenpg runs the same cases on PostgreSQL.
#include "framework/HostUi.h"
#include "framework/ISubSystem.h"
#include "tests/support/GoldenCases.h"

#include <QDir>
#include <QFile>
#include <QPluginLoader>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

class tst_Golden : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void everyActionHasACase();
    void exports_data();
    void exports();

private:
    QTemporaryDir m_dir;
    QString m_database;
    QString m_traceDir;
    QList<Case> m_cases;
};

void tst_Golden::initTestCase()
{
    QStringList options;
    QVERIFY2(readCases(&m_cases, &options), "tests/golden/cases.txt is missing or malformed");
    m_traceDir = qEnvironmentVariable("VTX_TSQL_TRACE_DIR");
    if (!m_traceDir.isEmpty()) {
        QDir traces(m_traceDir);
        QVERIFY(traces.mkpath(QStringLiteral(".")));
        for (const QString& old : traces.entryList({QStringLiteral("golden-*.jsonl")}))
            QVERIFY(traces.remove(old)); // a renamed case leaves no statements behind
    }
    m_database = m_dir.filePath(QStringLiteral("golden.db"));
    QString err;
    QCOMPARE(run(QStringLiteral(VTX_BIN_DIR "/vtxdemodb"),
                 QStringList{QStringLiteral("--out"), m_database} + options, &err),
             0);
}

void tst_Golden::everyActionHasACase()
{
    HostUi::setHeadless(true);
    QPluginLoader loader(QStringLiteral(VTX_BIN_DIR "/vtxQueryApp.so"));
    auto* status = qobject_cast<ISubSystemStatus*>(loader.instance());
    QVERIFY2(status, qPrintable(loader.errorString()));
    QStringList actions;
    for (const SubSystemAction& a : status->ISubSystem_Actions())
        actions << a.name;
    QVERIFY(!actions.isEmpty());
    QStringList covered;
    for (const Case& c : m_cases) {
        QVERIFY2(actions.contains(c.action), qPrintable(c.action + " is not an action"));
        covered << c.action;
    }
    for (const QString& action : actions)
        QVERIFY2(covered.contains(action), qPrintable(action + " has no golden case"));
}

void tst_Golden::exports_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < m_cases.size(); ++i)
        QTest::newRow(qPrintable(m_cases.at(i).name)) << i;
}

void tst_Golden::exports()
{
    QFETCH(int, index);
    const Case& c = m_cases.at(index);
    const QString out = m_dir.filePath(c.name + QStringLiteral(".txt"));
    QStringList arguments{QStringLiteral("--db"),     m_database,
                          QStringLiteral("--user"),   QStringLiteral("admin"),
                          QStringLiteral("--action"), c.action};
    arguments << c.arguments << QStringLiteral("--export") << out;
    if (!m_traceDir.isEmpty())
        arguments << QStringLiteral("--trace-sql")
                  << m_traceDir + QStringLiteral("/golden-") + c.name + QStringLiteral(".jsonl");
    QString err;
    const int status = run(QStringLiteral(VTX_BIN_DIR "/vtxhost"), arguments, &err);
    QVERIFY2(status == 0, qPrintable(err));
    compareWithGolden(c.name, out);
}

QTEST_MAIN(tst_Golden)
#include "tst_golden.moc"
