// Every action of the module end to end: run headless by vtxhost over the demo databases of
// tests/golden/cases.txt with the criteria of each case, exported as tab-separated text, compared
// with the golden file of the case. VTX_UPDATE_GOLDEN=1 writes the files instead of comparing.
// With VTX_TSQL_TRACE_DIR set (CTest sets it), each run also writes the statements it ran to
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
    void everyActionRunsRestrictedAndInside();
    void exports_data();
    void exports();

private:
    QStringList actions();

    QTemporaryDir m_dir;
    QStringList m_databases; // the files, by the index of cases.txt
    QString m_traceDir;
    QList<Case> m_cases;
    QList<GoldenDatabase> m_options;
};

void tst_Golden::initTestCase()
{
    QVERIFY2(readCases(&m_cases, &m_options), "tests/golden/cases.txt is missing or malformed");
    m_traceDir = qEnvironmentVariable("VTX_TSQL_TRACE_DIR");
    if (!m_traceDir.isEmpty()) {
        QDir traces(m_traceDir);
        QVERIFY(traces.mkpath(QStringLiteral(".")));
        for (const QString& old : traces.entryList({QStringLiteral("golden-*.jsonl")}))
            QVERIFY(traces.remove(old)); // a renamed case leaves no statements behind
    }
    for (const GoldenDatabase& db : std::as_const(m_options)) {
        const QString file = m_dir.filePath(
            (db.name.isEmpty() ? QStringLiteral("golden") : db.name) + QStringLiteral(".db"));
        QString err;
        QCOMPARE(run(QStringLiteral(VTX_BIN_DIR "/vtxdemodb"),
                     QStringList{QStringLiteral("--out"), file} + db.options, &err),
                 0);
        m_databases << file;
    }
}

QStringList tst_Golden::actions()
{
    HostUi::setHeadless(true);
    QPluginLoader loader(QStringLiteral(VTX_BIN_DIR "/vtxQueryApp.so"));
    auto* status = qobject_cast<ISubSystemStatus*>(loader.instance());
    if (!status)
        qWarning("%s", qPrintable(loader.errorString()));
    QStringList names;
    if (status)
        for (const SubSystemAction& a : status->ISubSystem_Actions())
            names << a.name;
    return names;
}

void tst_Golden::everyActionHasACase()
{
    const QStringList actions = this->actions();
    QVERIFY(!actions.isEmpty());
    QStringList covered;
    for (const Case& c : m_cases) {
        QVERIFY2(actions.contains(c.action), qPrintable(c.action + " is not an action"));
        covered << c.action;
    }
    for (const QString& action : actions)
        QVERIFY2(covered.contains(action), qPrintable(action + " has no golden case"));
}

// The databases after the first hold the net for dropped filters and moved bounds: there every
// action runs as a user limited to some branches, and every action that takes a range runs once
// with a range that begins after the data's first day and ends before its last.
void tst_Golden::everyActionRunsRestrictedAndInside()
{
    const QStringList actions = this->actions();
    QVERIFY(!actions.isEmpty());
    auto option = [](const QStringList& words, const char* name) {
        const qsizetype i = words.lastIndexOf(QLatin1String(name));
        return i >= 0 && i + 1 < words.size() ? words.at(i + 1) : QString();
    };
    for (int d = 1; d < m_options.size(); ++d) {
        const QStringList& options = m_options.at(d).options;
        const QDate last = QDate::fromString(option(options, "--last-day"), Qt::ISODate);
        const QDate first = last.addDays(1 - option(options, "--days").toInt());
        QVERIFY2(last.isValid() && first < last,
                 "a database of the net names its --last-day and --days");
        for (const QString& action : actions) {
            bool restricted = false, ranged = false, inside = false;
            for (const Case& c : std::as_const(m_cases)) {
                if (c.database != d || c.action != action)
                    continue;
                const QString user = option(c.arguments, "--user");
                restricted |= !user.isEmpty() && user != QLatin1String("admin");
                const QDate from = QDate::fromString(option(c.arguments, "--from"), Qt::ISODate);
                const QDate to = QDate::fromString(option(c.arguments, "--to"), Qt::ISODate);
                ranged |= from.isValid() || to.isValid();
                inside |= from.isValid() && to.isValid() && first < from && to < last;
            }
            const QString where = m_options.at(d).name + QStringLiteral(": ") + action;
            QVERIFY2(restricted, qPrintable(where + " has no case as a restricted user"));
            QVERIFY2(!ranged || inside,
                     qPrintable(where + " has no range with data on both sides of it"));
        }
    }
}

void tst_Golden::exports_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < m_cases.size(); ++i)
        if (selected(m_cases.at(i)))
            QTest::newRow(qPrintable(m_cases.at(i).name)) << i;
}

void tst_Golden::exports()
{
    QFETCH(int, index);
    const Case& c = m_cases.at(index);
    const QString out = m_dir.filePath(flatName(c) + QStringLiteral(".txt"));
    QStringList arguments{QStringLiteral("--db"),     m_databases.at(c.database),
                          QStringLiteral("--user"),   QStringLiteral("admin"),
                          QStringLiteral("--action"), c.action};
    arguments << c.arguments << QStringLiteral("--export") << out;
    if (!m_traceDir.isEmpty())
        arguments << QStringLiteral("--trace-sql")
                  << m_traceDir + QStringLiteral("/golden-") + flatName(c) +
                         QStringLiteral(".jsonl");
    QString err;
    const int status = run(QStringLiteral(VTX_BIN_DIR "/vtxhost"), arguments, &err);
    QVERIFY2(status == 0, qPrintable(err));
    compareWithGolden(c.name, out);
}

QTEST_MAIN(tst_Golden)
#include "tst_golden.moc"
