// The T-SQL to SQLite translation: the translated text where it is the contract, the refusals, and
// the SQL functions registered on the connection.
#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/SqlError.h"
#include "db/TsqlToSqlite.h"
#include "tests/support/TestDatabase.h"

#include <QtTest>

class TstTsqlToSqlite : public QObject
{
    Q_OBJECT

    static QString tr(const QString& sql) { return TsqlToSqlite::translate(sql).simplified(); }

private slots:
    void translation_data()
    {
        QTest::addColumn<QString>("tsql");
        QTest::addColumn<QString>("sqlite");
        QTest::newRow("top percent")
            << " SELECT TOP 100 PERCENT BillID FROM bi_Bill ORDER BY BillID "
            << "SELECT BillID FROM bi_Bill ORDER BY BillID";
        QTest::newRow("top n") << "select top 1 BeginTime from dd_Period order by PeriodID"
                               << "select BeginTime from dd_Period order by PeriodID LIMIT 1";
        QTest::newRow("top n in derived table")
            << "SELECT COUNT(*) FROM (SELECT TOP 5 * FROM mb_MemberInfo ORDER BY MemberID) AS "
               "THE_VIEW"
            << "SELECT COUNT(*) FROM (SELECT * FROM mb_MemberInfo ORDER BY MemberID LIMIT 5 ) AS "
               "THE_VIEW";
        QTest::newRow("alias items and nolock")
            << " select BillHour    = datepart(hh,CreateTime),   BillCount = count(BillID)  "
               "  from bi_Bill as BL (nolock)   where 1=1 group by datepart(hh,CreateTime) "
            << "select datepart('hh',CreateTime) AS BillHour, count(BillID) AS BillCount from "
               "bi_Bill "
               "as BL where 1=1 group by datepart('hh',CreateTime)";
        QTest::newRow("alias item with product")
            << "SELECT BI.MenuPrice,SumPaid = BI.MenuPrice * SB.MenuAmount, SB.Remark FROM x"
            << "SELECT BI.MenuPrice, BI.MenuPrice * SB.MenuAmount AS SumPaid, SB.Remark FROM x";
        QTest::newRow("with nolock") << "select a from t WITH (NOLOCK) where b=1"
                                     << "select a from t where b=1";
        QTest::newRow("select into") << " select BillDate, SumToPay as Expense   into bi_Expense   "
                                        " from bi_Bill  where 1<>1 "
                                     << "CREATE TABLE bi_Expense AS select BillDate, SumToPay as "
                                        "Expense from bi_Bill where 1<>1";
        QTest::newRow("date literals")
            << " and BL.BillDate >= #2026-3-1# and BL.BillDate < '2026-03-02'"
            << "and BL.BillDate >= '2026-03-01 00:00:00' and BL.BillDate < "
               "'2026-03-02 00:00:00'";
        QTest::newRow("string concatenation")
            << "SELECT MN.MenuID+'01' AS MenuUnitID, a+b FROM mn_Menu AS MN"
            << "SELECT MN.MenuID||'01' AS MenuUnitID, a+b FROM mn_Menu AS MN";
        QTest::newRow("decimal division") << "SELECT (1-(SUM(a)/SUM(b))) AS r FROM t"
                                          << "SELECT (1-(SUM(a)*1.0/SUM(b))) AS r FROM t";
        QTest::newRow("isnull function and column")
            << "SELECT isnull(x,0), MN.IsNull FROM mn_Menu AS MN WHERE 1=1 AND IsNull<>0 "
            << "SELECT ifnull(x,0), MN.[IsNull] FROM mn_Menu AS MN WHERE 1=1 AND [IsNull]<>0";
        QTest::newRow("convert") << "select convert(varchar(10), BillDate, 120) from bi_Bill"
                                 << "select vtx_convert('varchar(10)', BillDate, 120) from bi_Bill";
        QTest::newRow("literals untouched") << "select 'a/b TOP 5 x=1' AS [Into], N'会员' from t"
                                            << "select 'a/b TOP 5 x=1' AS [Into], '会员' from t";
        QTest::newRow("insert") << " insert into bi_ExpenseItem values(?,?,  ?,?,?) "
                                << "insert into bi_ExpenseItem values(?,?, ?,?,?)";
    }
    void translation()
    {
        QFETCH(QString, tsql);
        QFETCH(QString, sqlite);
        QCOMPARE(tr(tsql), sqlite);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("tsql");
        QTest::addColumn<QString>("named");
        QTest::newRow("function") << "select charindex('a', x) from t"
                                  << "charindex";
        QTest::newRow("variable") << "select * from t where a=@a"
                                  << "@a";
        QTest::newRow("top percent") << "select top 50 percent * from t"
                                     << "TOP 50 PERCENT";
        QTest::newRow("hint") << "select * from t (readpast)"
                              << "readpast";
        QTest::newRow("exec") << "exec sp_who"
                              << "exec";
        QTest::newRow("top in union") << "select top 3 a from t union all select a from u"
                                      << "compound";
        QTest::newRow("temp table") << "select * into #t from u"
                                    << "#t";
    }
    void refusals()
    {
        QFETCH(QString, tsql);
        QFETCH(QString, named);
        try {
            TsqlToSqlite::translate(tsql);
            QFAIL("translated");
        } catch (const SqlError& e) {
            QVERIFY2(e.message().contains(named, Qt::CaseInsensitive), qPrintable(e.message()));
        }
    }

    void functions()
    {
        TestDatabase db;
        auto value = [&](const QString& sql) {
            auto rs = db.connection()->execute(QStringLiteral("select ") + sql);
            return rs->value(0);
        };
        QCOMPARE(value("datepart(hh,'2026-03-10 19:30:00')").toInt(), 19);
        QCOMPARE(value("datepart(dw,'2026-03-08')").toInt(), 1); // a Sunday
        QCOMPARE(value("datepart(mm,'2026-03-08')").toInt(), 3);
        QCOMPARE(value("datediff(day,'2026-03-10 23:59:00','2026-03-11 00:01:00')").toInt(), 1);
        QCOMPARE(value("datediff(hh,'2026-03-10 23:59:00','2026-03-11 00:00:00')").toInt(), 1);
        QCOMPARE(value("datediff(month,'2025-12-31','2026-03-01')").toInt(), 3);
        QCOMPARE(value("dateadd(day,1,'2026-02-28')").toString(), QString("2026-03-01 00:00:00"));
        QCOMPARE(value("dateadd(month,1,'2026-01-31 08:00:00')").toString(),
                 QString("2026-02-28 08:00:00"));
        QCOMPARE(value("convert(varchar(10), '2026-03-10 19:30:00', 120)").toString(),
                 QString("2026-03-10"));
        QCOMPARE(value("convert(varchar(8), '2026-03-10 19:30:00', 108)").toString(),
                 QString("19:30:00"));
        QCOMPARE(value("convert(int, 7.9)").toInt(), 7);
        QCOMPARE(value("left('宫保鸡丁', 2)").toString(), QString("宫保"));
        QCOMPARE(value("right('宫保鸡丁', 1)").toString(), QString("丁"));
        QCOMPARE(value("isnull(NULL, 'x')").toString(), QString("x"));
        QCOMPARE(value("len('abc')").toInt(), 3);
        QCOMPARE(value("7/2").toDouble(), 3.5);
        QCOMPARE(value("'a' + 'b'").toString(), QString("ab"));
        const QString now = value("getdate()").toString();
        QCOMPARE(now.left(10), QDate::currentDate().toString("yyyy-MM-dd"));
        QCOMPARE(now.size(), 19);
        // Text compares without regard to letter case, as on SQL Server.
        db.run("INSERT INTO dd_Branch (BranchID, BranchName) VALUES ('b1', 'North')");
        QCOMPARE(db.connection()
                     ->execute("select count(*) from dd_Branch where BranchName='NORTH' "
                               "and BranchID='B1'")
                     ->value(0)
                     .toInt(),
                 1);
        // Translations are made once and kept: the second run hits the cache, same text.
        const QString sql = "select top 2 BranchID from dd_Branch";
        QCOMPARE(db.connection()->nativeSql(sql), db.connection()->nativeSql(sql));
        QVERIFY_THROWS_EXCEPTION(SqlError, db.connection()->execute("select nosuch(1)"));
    }

    // Sums are exact decimals: ten dimes are a unit, a sum of group sums is the sum of the lines
    // to the last bit, integers stay integers, a window sum subtracts exactly.
    void exactSums()
    {
        TestDatabase db;
        const Connection& c = *db.connection();
        auto value = [&](const QString& sql) { return c.execute(sql)->value(0); };
        db.run("CREATE TABLE t (k INTEGER, v NUMERIC, q NUMERIC);"
               "INSERT INTO t VALUES (1, 0.1, 2), (1, 0.2, 3), (1, 0.3, NULL), (2, 0.7, 1), "
               "(2, 1.15, 1), (2, 38.05, 1), (3, 80.35, 1), (3, 0.06, 1)");
        // Added as doubles, the first group comes to 0.6000000000000001.
        QCOMPARE(value("select sum(v) from t").toDouble(), 120.91);
        QCOMPARE(
            value("select sum(s) from (select k, sum(v) as s from t group by k) as d").toDouble(),
            120.91);
        QCOMPARE(value("select sum(v) from t where k=1").toDouble(), 0.6);
        // Integers: an integer sum; no value: NULL; beyond 64 bits: an error, as SQLite's own.
        const QVariant whole = value("select sum(q) from t");
        QCOMPARE(whole.typeId(), int(QMetaType::LongLong));
        QCOMPARE(whole.toLongLong(), 10); // 2 + 3 + five times 1
        QVERIFY(value("select sum(v) from t where k=9").isNull());
        QVERIFY_THROWS_EXCEPTION(SqlError,
                                 c.execute("select sum(x) from (select 9223372036854775807 as x "
                                           "union all select 1)"));
        // 0.355 x 12.5 = 4.4375 and 1.1 x 1.1 = 1.21 (1.2100000000000002 as a double).
        QCOMPARE(value("select sum(a*b) from (select 0.355 as a, 12.5 as b union all select "
                       "1.1, 1.1)")
                     .toDouble(),
                 5.6475);
        // A running sum over two rows: 0.1+0.2, 0.2+0.3, 0.3+0.7.
        auto rs = c.execute("select sum(v) over (order by k, v rows 1 preceding) from t "
                            "order by k, v limit 3");
        QList<double> running;
        for (; !rs->atEnd(); rs->moveNext())
            running << rs->value(0).toDouble();
        QCOMPARE(running, QList<double>({0.1, 0.3, 0.5}));
    }
};

QTEST_MAIN(TstTsqlToSqlite)
#include "tst_tsqltosqlite.moc"
