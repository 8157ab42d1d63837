// vtxdemodb writes a database in which every table the reports read has rows, the same for a seed.
#include "db/Connection.h"
#include "db/Recordset.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TstDemoDb : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    static QString run(const QString& out, const QStringList& extra = {})
    {
        QProcess p;
        p.start(
            QStringLiteral(VTX_BIN_DIR "/vtxdemodb"),
            QStringList{"--out", out, "--branches", "2", "--days", "3", "--bills-per-day", "10"} +
                extra);
        if (!p.waitForFinished(120000) || p.exitCode() != 0)
            return QString::fromUtf8(p.readAllStandardError()) + " (failed)";
        return QString::fromUtf8(p.readAllStandardError());
    }
    static QVariant scalar(const Connection& c, const QString& sql)
    {
        return c.execute(sql)->value(0);
    }

private slots:
    void everyTableHasRows()
    {
        const QString path = dir.filePath("demo.db");
        const QString log = run(path, {"--seed", "7"});
        QVERIFY2(!log.contains("(failed)"), qPrintable(log));
        QVERIFY(log.contains("100%"));
        // Written in WAL mode (bytes 18 and 19 of the header are 2), for the tills and reports.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(20).mid(18), QByteArray("\x02\x02"));
        file.close();
        auto c = Connection::openSqlite(path);
        const QStringList tables = {"bi_Bill",
                                    "bi_BillItem",
                                    "bi_BillPayment",
                                    "bi_SubBill",
                                    "bi_UnCheckBill",
                                    "bi_UnCheckBillItem",
                                    "bi_UnCheckBillPayment",
                                    "bi_BillLog",
                                    "bi_TempBillLog",
                                    "bi_BillAccount",
                                    "bi_Expense",
                                    "rp_BillItem_Upload",
                                    "rp_BillPayment_Upload",
                                    "rp_Inventory_Upload",
                                    "mn_Menu",
                                    "mn_MenuUnit",
                                    "mn_MenuType",
                                    "mn_DepartType",
                                    "mn_Depart",
                                    "mn_GroupType",
                                    "mn_GroupItem",
                                    "tb_Table",
                                    "tb_TableArea",
                                    "tb_Book",
                                    "st_Bill",
                                    "st_BOM",
                                    "mb_MemberInfo",
                                    "mb_Summary",
                                    "ac_Account",
                                    "ac_AccountType",
                                    "ac_Payment",
                                    "dd_Period",
                                    "dd_Subject",
                                    "pv_User",
                                    "rpt_pv_Branch",
                                    "rpt_pv_Area",
                                    "rpt_dd_Branch",
                                    "mnt_dd_Branch",
                                    "dd_Branch",
                                    "mnt_dd_Area"};
        for (const QString& table : tables)
            QVERIFY2(scalar(*c, "select count(*) from " + table).toInt() > 0, qPrintable(table));

        // Bills run up to today, and the kinds of business the reports single out are there.
        QCOMPARE(scalar(*c, "select max(BillDate) from bi_Bill").toString(),
                 QDate::currentDate().toString("yyyy-MM-dd 00:00:00"));
        QCOMPARE(scalar(*c, "select count(distinct BillDate) from bi_Bill").toInt(), 3);
        for (const char* kind :
             {"IsDeleted<>0", "CheckOutNull<>0", "PrintCount>1", "TableName='会员卡充值'",
              "DiscountName='会员价'", "DiscountRate<1", "SumOfInvoice<>0", "SumPaid<>SumToPay",
              "SumInCash<>SumPaid"})
            QVERIFY2(
                scalar(*c, QStringLiteral("select count(*) from bi_Bill where ") + kind).toInt() >
                    0,
                kind);
        QVERIFY(scalar(*c, "select count(*) from bi_BillItem where IsSentMenu<>0").toInt() > 0);
        QVERIFY(scalar(*c, "select count(*) from bi_BillItem where AmountCancel>0").toInt() > 0);
        QVERIFY(
            scalar(*c, "select count(*) from bi_BillPayment where SubjectName='会员卡'").toInt() >
            0);
        QVERIFY(
            scalar(*c, "select count(*) from bi_Bill BL, tb_Book BO where BL.OriginalID=BO.BookID")
                .toInt() > 0);
        // Every bill's items add up to its consumption, its payments to the amount received.
        QCOMPARE(scalar(*c, "select count(*) from bi_Bill BL where TableName<>'会员卡充值' and "
                            "abs(SumOfConsume - "
                            "(select sum(SumOfConsume+SumOfCookway) from bi_BillItem BI where "
                            "BI.BillID=BL.BillID)) > 0.001")
                     .toInt(),
                 0);
        QCOMPARE(
            scalar(
                *c,
                "select count(*) from bi_Bill BL where CheckOutNull=0 and abs(SumPaid - "
                "(select sum(SumPaid) from bi_BillPayment BP where BP.BillID=BL.BillID)) > 0.001")
                .toInt(),
            0);
        // One user is limited to the branches of one area.
        QVERIFY(scalar(*c, "select count(*) from rpt_pv_Branch where UserID='manager'").toInt() <
                scalar(*c, "select count(*) from rpt_pv_Branch where UserID='G01'").toInt());
    }

    void sameSeedSameDatabase()
    {
        const QString a = dir.filePath("a.db"), b = dir.filePath("b.db"), d = dir.filePath("d.db");
        QVERIFY(!run(a, {"--seed", "3", "--last-day", "2026-03-10"}).contains("(failed)"));
        QVERIFY(!run(b, {"--seed", "3", "--last-day", "2026-03-10"}).contains("(failed)"));
        QVERIFY(!run(d, {"--seed", "4", "--last-day", "2026-03-10"}).contains("(failed)"));
        const QString digest = "select count(*) || '/' || sum(SumPaid) || '/' || "
                               "group_concat(BillID || TableID, ',') from bi_Bill";
        auto ca = Connection::openSqlite(a), cb = Connection::openSqlite(b),
             cd = Connection::openSqlite(d);
        QCOMPARE(scalar(*ca, digest).toString(), scalar(*cb, digest).toString());
        QVERIFY(scalar(*ca, digest).toString() != scalar(*cd, digest).toString());
        QCOMPARE(scalar(*ca, "select max(BillDate) from bi_Bill").toString(),
                 QString("2026-03-10 00:00:00"));
        QCOMPARE(QProcess::execute(VTX_BIN_DIR "/vtxdemodb", {"--branches", "2"}), 2); // no --out
    }
};

QTEST_MAIN(TstDemoDb)
#include "tst_demodb.moc"
