// Long lists on PostgreSQL read on a thread of their own (RowBatchReader over a connection of
// the reader's own): the same rows as execute(), cell for cell and type for type, over the demo
// chain of the golden cases; a stop that ends the read at once and cancels the server's
// statement; a failing statement reported as execute() reports it.
#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/RowBatchReader.h"
#include "tests/support/GoldenCases.h"
#include "tests/support/PgServer.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <QtTest>

#include <cmath>
#include <numeric>

class tst_PgLists : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void sameRowsAsExecute_data();
    void sameRowsAsExecute();
    void stopEndsAtOnce();
    void failuresAndFallbacks();

private:
    std::unique_ptr<PgServer> m_server;
    ConnectionPtr m_db;
};

namespace {

// Every row of the reader, every field asked for, as the rows of a Recordset give them.
struct ReadRows
{
    QStringList names;
    QList<QMetaType> types;
    std::vector<std::vector<SqlCell>> rows;
    std::vector<QString> texts; // what the text cells point into
    QString error;
};

ReadRows readAll(RowBatchReader& reader)
{
    ReadRows out;
    reader.waitForHeader(-1);
    out.names = reader.names();
    out.types = reader.types();
    std::vector<int> fields(size_t(out.names.size()));
    std::iota(fields.begin(), fields.end(), 0);
    reader.begin(fields);
    std::vector<QString> kept;
    out.texts.reserve(1 << 20);
    while (!reader.atEnd()) {
        auto batch = reader.next(1000);
        if (!batch)
            continue;
        batch->keepTexts(kept);
        for (int r = 0; r < batch->rows; ++r) {
            std::vector<SqlCell> row;
            for (int k = 0; k < batch->fields; ++k) {
                SqlCell c = batch->cell(r, k, kept);
                out.texts.push_back(c.text.toString());
                c.text = out.texts.back();
                row.push_back(c);
            }
            out.rows.push_back(row);
        }
    }
    out.error = reader.error();
    return out;
}

bool sameCell(const SqlCell& a, const SqlCell& b)
{
    if (a.kind != b.kind)
        return false;
    if (a.kind == SqlCell::Number)
        return a.number == b.number || (std::isnan(a.number) && std::isnan(b.number));
    return a.text == b.text;
}

QString shown(const SqlCell& c)
{
    return c.kind == SqlCell::Null     ? QStringLiteral("NULL")
           : c.kind == SqlCell::Number ? QString::number(c.number, 'g', 17)
                                       : QLatin1Char('\'') + c.text.toString() + QLatin1Char('\'');
}

// Statements of the server that are running now with `text` in them.
int running(const ConnectionPtr& db, const QString& text)
{
    QSqlQuery q(db->database());
    q.prepare(QStringLiteral("SELECT count(*) FROM pg_stat_activity WHERE state = 'active' AND "
                             "pid <> pg_backend_pid() AND position(? in query) > 0"));
    q.addBindValue(text);
    return q.exec() && q.next() ? q.value(0).toInt() : -1;
}

} // namespace

void tst_PgLists::initTestCase()
{
    m_server = std::make_unique<PgServer>();
    if (!m_server->isRunning()) {
        if (!m_server->binariesFound())
            QSKIP(qPrintable(m_server->skipReason()));
        QFAIL(qPrintable(m_server->skipReason()));
    }
    QList<Case> cases;
    QList<GoldenDatabase> databases;
    QVERIFY(readCases(&cases, &databases));
    QString error;
    const QString where = m_server->createDatabase("lists", &error);
    QVERIFY2(!where.isEmpty(), qPrintable(error));
    QCOMPARE(
        run(VTX_BIN_DIR "/vtxdemodb", QStringList{"--pg", where} + databases.at(0).options, &error),
        0);
    m_db = Connection::openPostgres(where);
}

void tst_PgLists::sameRowsAsExecute_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariantList>("params");
    QTest::newRow("bills") << "select * from bi_Bill order by BillID" << QVariantList();
    QTest::newRow("items of a day")
        << "select i.*, b.BillDate, b.TableName from bi_BillItem i join bi_Bill b on "
           "b.BillID=i.BillID where b.BillDate>=? and b.BillDate<? order by i.BillItemID"
        << QVariantList{QDate(2026, 3, 10), QDate(2026, 3, 11)};
    QTest::newRow("payments") << "select * from bi_BillPayment where BillID like ?"
                              << QVariantList{QString("02%")};
    // Big integers, doubles, dates and texts the statement makes, NULLs, an integer parameter.
    QTest::newRow("computed")
        << "select BillID, datediff(minute, CreateTime, CheckOutTime) as Minutes, "
           "SumPaid * 1.5 as More, convert(varchar(10), BillDate, 120) as Day, "
           "cast(BillDate as date) as D, null as Nothing, SumPaid/0 as Never, "
           "case when PrintCount > ? then 1 end as Printed "
           "from bi_Bill order by BillID"
        << QVariantList{1};
}

void tst_PgLists::sameRowsAsExecute()
{
    QFETCH(QString, sql);
    QFETCH(QVariantList, params);
    auto reader = RowBatchReader::start(m_db, sql, params);
    QVERIFY(reader);
    const ReadRows read = readAll(*reader);
    QCOMPARE(read.error, QString());

    auto rs = m_db->execute(sql, params);
    QCOMPARE(read.names, rs->fieldNames());
    for (int f = 0; f < rs->fieldCount(); ++f)
        QVERIFY2(read.types.at(f) == rs->fieldType(f),
                 qPrintable(rs->fieldName(f) + ": " + read.types.at(f).name() + " against " +
                            rs->fieldType(f).name()));
    size_t row = 0;
    QSet<int> kinds;
    for (; !rs->atEnd(); rs->moveNext(), ++row) {
        QVERIFY(row < read.rows.size());
        for (int f = 0; f < rs->fieldCount(); ++f) {
            const SqlCell want = rs->cell(f), got = read.rows[row][size_t(f)];
            kinds << want.kind;
            QVERIFY2(sameCell(want, got),
                     qPrintable(QStringLiteral("row %1 %2: %3 against %4")
                                    .arg(row)
                                    .arg(rs->fieldName(f), shown(got), shown(want))));
        }
    }
    QCOMPARE(read.rows.size(), row);
    QVERIFY(row > 0);
    QVERIFY(kinds.contains(SqlCell::Number) && kinds.contains(SqlCell::Text));
    if (QTest::currentDataTag() == QLatin1String("computed"))
        QVERIFY(kinds.contains(SqlCell::Null));
}

void tst_PgLists::stopEndsAtOnce()
{
    // Millions of rows, streamed: stopped after the first batches.
    const QString stream = "select a.BillItemID, b.BillItemID as other from bi_BillItem a, "
                           "bi_BillItem b where a.BillItemID <> 'streamed'";
    // A sort of millions of rows: stopped before the first row comes.
    const QString sorted = "select a.BillItemID, b.MenuName from bi_BillItem a, bi_BillItem b "
                           "where b.BillItemID <> 'sorted' order by b.MenuName, a.BillItemID";
    for (const QString& sql : {stream, sorted}) {
        auto reader = RowBatchReader::start(m_db, sql, {});
        QVERIFY(reader);
        if (sql == stream) {
            QVERIFY(reader->waitForHeader(10000));
            reader->begin({0, 1});
            QVERIFY(reader->next(10000));
        } else {
            QVERIFY(!reader->waitForHeader(300));
        }
        QElapsedTimer timer;
        timer.start();
        reader->stop();
        reader.reset();
        QVERIFY2(timer.elapsed() < 500, qPrintable(QString::number(timer.elapsed())));
        // The server gave the statement up.
        const QString marker = sql == stream ? "'streamed'" : "'sorted'";
        QTRY_COMPARE_WITH_TIMEOUT(running(m_db, marker), 0, 5000);
    }
    // The connection serves the next list.
    auto reader = RowBatchReader::start(m_db, "select count(*) as n from bi_Bill", {});
    QVERIFY(reader);
    const ReadRows read = readAll(*reader);
    QCOMPARE(read.rows.size(), size_t(1));
    QCOMPARE(read.rows[0][0].number,
             m_db->execute("select count(*) from bi_Bill")->value(0).toDouble());
}

void tst_PgLists::failuresAndFallbacks()
{
    // Fails on the server mid-result: the same message as execute() gives, and the trace hears.
    const QString bad = "select BillID, cast(case when BillID > '01260305' then BranchName else "
                        "'1' end as int) as n from bi_Bill order by BillID";
    QStringList traced;
    m_db->setFailureTrace(
        [&](const Connection::TracedStatement&, const QString& error) { traced << error; });
    auto reader = RowBatchReader::start(m_db, bad, {});
    QVERIFY(reader);
    const ReadRows read = readAll(*reader);
    QString expected;
    try {
        auto rs = m_db->execute(bad);
        while (!rs->atEnd())
            rs->moveNext();
    } catch (const SqlError& e) {
        expected = e.message();
    }
    m_db->setFailureTrace({});
    QVERIFY(expected.startsWith("invalid input syntax for type integer"));
    QCOMPARE(read.error, expected);
    QCOMPARE(traced, QStringList({expected, expected}));

    // Left to execute(): a statement the reader's connection cannot prepare (over this
    // connection's temporary table; a misspelt column), and any read inside a transaction.
    QVERIFY(QSqlQuery(m_db->database()).exec("CREATE TEMPORARY TABLE kept (n integer)"));
    QVERIFY(!RowBatchReader::start(m_db, "select n from kept", {}));
    QVERIFY(!RowBatchReader::start(m_db, "select Nothing from bi_Bill", {}));
    m_db->beginTransaction();
    QVERIFY(!RowBatchReader::start(m_db, "select BillID from bi_Bill", {}));
    m_db->rollback();
    QVERIFY(RowBatchReader::start(m_db, "select BillID from bi_Bill", {}));
}

QTEST_MAIN(tst_PgLists)
#include "tst_pglists.moc"
