// Data access on the host context's connection, through QSQLITE and through the SQLite ODBC driver.
#include "core/HostContext.h"
#include "core/mod_ADO.h"
#include "db/Recordset.h"
#include "db/SqlError.h"
#include "db/StatementBatch.h"
#include "tests/support/TestDatabase.h"

#include <QComboBox>
#include <QDate>
#include <QtTest>

Q_DECLARE_METATYPE(TestDatabase::Driver)

class TstModAdo : public QObject
{
    Q_OBJECT

private:
    static void drivers()
    {
        QTest::addColumn<TestDatabase::Driver>("driver");
        QTest::newRow("QSQLITE") << TestDatabase::Driver::Sqlite;
        QTest::newRow("QODBC") << TestDatabase::Driver::Odbc;
    }
    static QStringList ids(const RowCollection& rows,
                           const QString& column = QStringLiteral("BillID"))
    {
        QStringList out;
        for (const RowDict& r : rows)
            out << r.value(column).toString();
        return out;
    }

private slots:
    void dateRange_data() { drivers(); }
    void dateRange()
    {
        QFETCH(TestDatabase::Driver, driver);
        TestDatabase db(QStringLiteral("db_bills.sql"), driver);
        db.install();
        const QString sql = QStringLiteral(
            "SELECT BillID FROM bi_Bill WHERE BillDate>=? AND BillDate<? ORDER BY BillID");
        // 2026-03-10 inclusive: B1 at 23:59 and B3 at 00:00 are in; B2 at 00:00 the next day and
        // B4 at 23:59:59 the day before are out.
        const QVariantList range{QDate(2026, 3, 10), QDate(2026, 3, 11)};
        QCOMPARE(ids(ExecuteRows(sql, range)), QStringList({"B1", "B3"}));
        QCOMPARE(ids(ExecuteRows(sql, {QDateTime(QDate(2026, 3, 10), QTime(0, 0)),
                                       QDateTime(QDate(2026, 3, 11), QTime(0, 0))})),
                 QStringList({"B1", "B3"}));
        // A list holding a list holding the values binds the inner values, however deep.
        QCOMPARE(ids(ExecuteRows(sql, {QVariant(range)})), QStringList({"B1", "B3"}));
        QCOMPARE(ids(ExecuteRows(sql, {QVariant(QVariantList{QVariant(range)})})),
                 QStringList({"B1", "B3"}));
        // "<=" on the end date: the bill stamped exactly at midnight after is in.
        QCOMPARE(ids(ExecuteRows(QStringLiteral("SELECT BillID FROM bi_Bill WHERE BillDate>=? AND "
                                                "BillDate<=? ORDER BY BillID"),
                                 range)),
                 QStringList({"B1", "B2", "B3"}));
        QCOMPARE(CountRows(sql, range), 2);
    }

    void rows_data() { drivers(); }
    void rows()
    {
        QFETCH(TestDatabase::Driver, driver);
        TestDatabase db(QStringLiteral("db_bills.sql"), driver);
        db.install();
        // A NULL column is present, read as "".
        const RowDict b3 = ExecuteFirstRow(
            QStringLiteral(
                "select BillID, DiscountName, MemberID, SumPaid from bi_Bill where BillID=?"),
            {QStringLiteral("B3")});
        QVERIFY(b3.contains("DiscountName"));
        QCOMPARE(b3.value("DiscountName").typeId(), QMetaType::QString);
        QCOMPARE(b3.value("DiscountName").toString(), QString(""));
        QCOMPARE(b3.value("MemberID").toString(), QString(""));
        QCOMPARE(b3.value("SumPaid").toDouble(), 38.0);
        QVERIFY(ExecuteFirstRow(QStringLiteral("select * from bi_Bill where 1<>1")).isEmpty());

        // Keyed rows keep the first row of a repeated key.
        const KeyedRows byArea = ExecuteKeyedRows(
            QStringLiteral("select TableAreaID, BillID from bi_Bill order by BillID"),
            "TableAreaID");
        QCOMPARE(byArea.size(), 2);
        QCOMPARE(byArea.value("T1").value("BillID").toString(), QString("B1"));
        QCOMPARE(byArea.value("T2").value("BillID").toString(), QString("B4"));

        // A later column of the same name overwrites an earlier one.
        const RowDict twice = ExecuteFirstRow(
            QStringLiteral("select BillID AS X, TableName AS X from bi_Bill where BillID='B1'"));
        QCOMPARE(twice.value("X").toString(), QString("A1"));

        // Failures are swallowed.
        QVERIFY(ExecuteRows(QStringLiteral("select * from no_such_table")).isEmpty());
        QVERIFY(ExecuteKeyedRows(QStringLiteral("select nonsense from"), "X").isEmpty());
        QVERIFY_THROWS_EXCEPTION(SqlError,
                                 ExecuteRecordset(QStringLiteral("select * from no_such_table")));
    }

    void countAndProbes_data() { drivers(); }
    void countAndProbes()
    {
        QFETCH(TestDatabase::Driver, driver);
        TestDatabase db(QStringLiteral("db_bills.sql"), driver);
        db.install();
        // No TOP: rewritten to "SELECT TOP 100 PERCENT ..." so that ORDER BY may stand.
        QCOMPARE(CountRows(QStringLiteral(
                     "select BillID from bi_Bill where IsDeleted=0 order by BillID")),
                 3);
        QCOMPARE(CountRows(QStringLiteral("  SELECT BillID FROM bi_Bill ORDER BY SumPaid DESC ")),
                 4);
        // " TOP " present: wrapped unchanged.
        QCOMPARE(CountRows(QStringLiteral("select top 2 BillID from bi_Bill order by BillID")), 2);
        QVERIFY_THROWS_EXCEPTION(SqlError,
                                 CountRows(QStringLiteral("select x from no_such_table")));

        QVERIFY(TableExists("bi_Bill"));
        QVERIFY(!TableExists("no_such_table"));
        QVERIFY(TableHasRows("bi_Bill"));
        QVERIFY(!TableHasRows("bi_Expense")); // exists, empty
        QVERIFY(!TableHasRows("no_such_table"));
        QVERIFY(CheckConnection());
    }

    void combo_data() { drivers(); }
    void combo()
    {
        QFETCH(TestDatabase::Driver, driver);
        TestDatabase db(QStringLiteral("db_bills.sql"), driver);
        db.install();
        QWidget screen;
        QComboBox combo(&screen);
        combo.addItem(QStringLiteral("(全部)"));
        FillComboFromQuery(&combo, "ReasonName",
                           "select ReasonName from dd_Reason order by ReasonID");
        QStringList items;
        for (int i = 0; i < combo.count(); ++i)
            items << combo.itemText(i);
        QCOMPARE(items, QStringList({"(全部)", "A", "a"}));
        FillComboFromQuery(&combo, "ReasonName", "select ReasonName from no_such_table");
        QCOMPARE(combo.count(), 3);
        QCOMPARE(screen.cursor().shape(), Qt::ArrowCursor);
    }

    // What a reader hands out, the same through both drivers and once buffered: numbers, texts
    // (the empty one too), NULLs, names without their table prefix, integer columns told apart.
    void readerValues_data() { drivers(); }
    void readerValues()
    {
        QFETCH(TestDatabase::Driver, driver);
        TestDatabase db(QStringLiteral("db_bills.sql"), driver);
        const QString sql = QStringLiteral(
            "SELECT BL.BillID, PeopleCount, SumPaid, DiscountName, '' AS e, NULL AS n "
            "FROM bi_Bill BL WHERE BillID IN ('B1','B3') ORDER BY BillID");
        auto check = [](Recordset& rs) {
            QCOMPARE(rs.fieldNames(),
                     QStringList({"BillID", "PeopleCount", "SumPaid", "DiscountName", "e", "n"}));
            QCOMPARE(rs.fieldIndex(QStringLiteral("sumpaid")), 2);
            QVERIFY(isIntegerType(rs.fieldType(1)));
            QVERIFY(!isIntegerType(rs.fieldType(2)));
            QCOMPARE(rs.cell(0).text, u"B1");
            QCOMPARE(rs.cell(1).kind, SqlCell::Number);
            QCOMPARE(rs.cell(1).number, 4.0);
            QCOMPARE(rs.cell(2).number, 120.5);
            QCOMPARE(rs.cell(3).text, u"九折");
            QCOMPARE(rs.cell(4).kind, SqlCell::Text);
            QVERIFY(rs.cell(4).text.isEmpty());
            QCOMPARE(rs.cell(5).kind, SqlCell::Null);
            QVERIFY(rs.isNull(5) && !rs.isNull(4));
            QCOMPARE(rs.value(QStringLiteral("SumPaid")).toDouble(), 120.5);
            QCOMPARE(rs.value(1).toInt(), 4);
            rs.moveNext();
            QCOMPARE(rs.value(0).toString(), QStringLiteral("B3"));
            QVERIFY(rs.isNull(3)); // B3 has no discount name
            rs.moveNext();
            QVERIFY(rs.atEnd());
            QVERIFY(!rs.value(0).isValid() && rs.isNull(0));
        };
        auto rs = db.connection()->execute(sql);
        check(*rs);
        auto again = db.connection()->execute(sql);
        check(*BufferedResult::readAll(*again).open());
    }

    // Computed columns are typed as SQL Server types them, so whole amounts still show as money
    // and counts as counts: amounts and their arithmetic are decimal, counts and sums of
    // integer columns integer, whatever the values stored.
    void computedColumnTypes()
    {
        TestDatabase db(QStringLiteral("db_bills.sql"));
        auto rs = db.connection()->execute(QStringLiteral(
            "SELECT (SumOfConsume+SumOfService-SumForDiscount) AS theSum, "
            "SUM(PeopleCount) AS people, COUNT(*) theCount, SUM(BL.SumPaid) AS paid, "
            "SUM(PeopleCount)/COUNT(*) AS perBill, CASE WHEN PrintCount>1 THEN 1 ELSE 0 END AS "
            "again, MAX(BillID) AS last, '√' AS mark, 100 AS hundred "
            "FROM bi_Bill BL WHERE BillID='B1' GROUP BY SumOfConsume, SumOfService, "
            "SumForDiscount, PrintCount"));
        QVERIFY(!rs->atEnd());
        const QList<int> expected = {QMetaType::Double, QMetaType::Int,    QMetaType::Int,
                                     QMetaType::Double, QMetaType::Double, QMetaType::Int};
        for (int i = 0; i < expected.size(); ++i)
            QVERIFY2(rs->fieldType(i).id() == expected.at(i), qPrintable(rs->fieldNames().at(i)));
        QVERIFY(!isIntegerType(rs->fieldType(6)) && !isIntegerType(rs->fieldType(7)));
        QVERIFY(isIntegerType(rs->fieldType(8)));
        // A select list with "*" is left to the values.
        auto star = db.connection()->execute(
            QStringLiteral("SELECT *, SumOfConsume+0 AS c FROM bi_Bill WHERE BillID='B1'"));
        QVERIFY(isIntegerType(star->fieldType(star->fieldIndex("PeopleCount"))));
        // "*" over one derived table of UNIONed parts takes the parts' types: a sum of amounts
        // (B1's whole 125) against a literal 0 stays decimal (the catalogue rows of a sales
        // list), a count against 0 stays an integer; a table joined to the derived one leaves
        // "*" unknown.
        const QString parts = QStringLiteral(
            "SELECT BillID, SUM(SumOfConsume) AS paid, COUNT(*) AS n FROM bi_Bill "
            "WHERE BillID='B1' GROUP BY BillID UNION ALL SELECT 'none', 0 AS paid, 0 AS n FROM "
            "bi_Bill");
        auto derived = db.connection()->execute(QStringLiteral("SELECT * FROM ( ") + parts +
                                                QStringLiteral(" ) AS v WHERE 1=1"));
        QCOMPARE(derived->fieldType(1).id(), int(QMetaType::Double));
        QCOMPARE(derived->fieldType(2).id(), int(QMetaType::Int));
        auto joined = db.connection()->execute(QStringLiteral("SELECT * FROM ( ") + parts +
                                               QStringLiteral(" ) AS v, bi_Bill AS b WHERE 1=0"));
        QVERIFY(!joined->fieldType(1).isValid());
    }

    // Statements fetched together, side by side on an SQLite file, come back in their order
    // with the values (and errors) each gives alone; inside a transaction they see its writes.
    void statementsFetchedTogether_data() { drivers(); }
    void statementsFetchedTogether()
    {
        QFETCH(TestDatabase::Driver, driver);
        TestDatabase db(QStringLiteral("db_bills.sql"), driver);
        const ConnectionPtr& c = db.connection();
        const QString paid = QStringLiteral(
            "SELECT SUM(SumPaid) AS theSum, COUNT(*) AS n, MIN(DAY(BillDate)) AS d FROM bi_Bill "
            "WHERE BillDate>=? AND BillDate<? AND IsDeleted=0");
        QList<Connection::Statement> list;
        for (int i = 0; i < 12; ++i) // days 9, 10, 11, 12 three times over
            list.append({paid, {QDate(2026, 3, 9 + i % 4), QDate(2026, 3, 10 + i % 4)}});
        list.insert(5, {QStringLiteral("SELECT x FROM no_such_table"), {}});
        const std::vector<BufferedResult> r = c->executeAll(list);
        QCOMPARE(r.size(), size_t(13));
        QVERIFY(r[5].error.contains("no_such_table"));
        const double sums[4] = {0, 120.5, 46, 0};
        const int counts[4] = {1, 1, 1, 0};
        for (int i = 0; i < 12; ++i) {
            const BufferedResult& one = r[size_t(i < 5 ? i : i + 1)];
            QVERIFY2(one.error.isEmpty(), qPrintable(one.error));
            QCOMPARE(one.names, QStringList({"theSum", "n", "d"}));
            QCOMPARE(one.rows.size(), 1);
            QCOMPARE(one.rows[0][0].toDouble(), sums[i % 4]);
            QCOMPARE(one.rows[0][1].toInt(), counts[i % 4]);
            QCOMPARE(one.rows[0][2].toInt(), counts[i % 4] ? 9 + i % 4 : 0);
        }

        c->beginTransaction();
        c->executeNonQuery(QStringLiteral("INSERT INTO bi_Bill (BillID, BillDate, SumPaid, "
                                          "IsDeleted) VALUES ('B5', '2026-03-12 10:00:00', 7, 0)"));
        const std::vector<BufferedResult> inside =
            c->executeAll({{paid, {QDate(2026, 3, 12), QDate(2026, 3, 13)}},
                           {paid, {QDate(2026, 3, 11), QDate(2026, 3, 13)}}});
        c->rollback();
        QCOMPARE(inside[0].rows[0][0].toDouble(), 7.0);
        QCOMPARE(inside[1].rows[0][0].toDouble(), 53.0);

        // Declared ahead: declared twice runs once and both handles read it; a failure throws
        // when its result is opened and says why; a statement declared after a run runs next.
        int run = 0;
        c->setStatementTrace([&](const Connection::TracedStatement&) { ++run; });
        StatementBatch batch;
        const StatementBatch::Handle first = batch.add(paid, list[1].params);
        const StatementBatch::Handle again = batch.add(paid, list[1].params);
        const StatementBatch::Handle broken = batch.add(list[5].tsql);
        QVERIFY_THROWS_EXCEPTION(SqlError, batch.open(first));
        batch.run(*c);
        QCOMPARE(run, 2);
        QCOMPARE(batch.open(first)->value(QStringLiteral("theSum")).toDouble(), 120.5);
        QCOMPARE(batch.open(again)->value(QStringLiteral("theSum")).toDouble(), 120.5);
        QVERIFY_THROWS_EXCEPTION(SqlError, batch.open(broken));
        QVERIFY(batch.error(broken).contains("no_such_table"));
        QVERIFY(batch.error(first).isEmpty());
        const StatementBatch::Handle later = batch.add(paid, list[2].params);
        batch.run(*c);
        c->setStatementTrace({});
        QCOMPARE(run, 3);
        QCOMPARE(batch.open(later)->value(0).toDouble(), 46.0);
        QVERIFY_THROWS_EXCEPTION(SqlError, batch.open(StatementBatch::Handle()));
    }

    void withoutConnection()
    {
        hostContext().Connection.reset();
        QVERIFY(!CheckConnection());
        QVERIFY(!TableExists("bi_Bill"));
        QVERIFY(ExecuteRows("select 1").isEmpty());
        QVERIFY_THROWS_EXCEPTION(SqlError, ExecuteRecordset("select 1"));
        QVERIFY_THROWS_EXCEPTION(SqlError, CountRows("select 1"));
    }
};

QTEST_MAIN(TstModAdo)
#include "tst_modado.moc"
