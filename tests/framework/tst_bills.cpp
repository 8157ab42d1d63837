#include "framework/BillCollection.h"
#include "framework/Member.h"
#include "framework/ReportPrinter.h"
#include "tests/support/TestDatabase.h"

#include <QtTest>

class tst_Bills : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void collectionConditionsAndSort();
    void billHeader();
    void memberByCard();
    void oldBillReport();

private:
    std::unique_ptr<TestDatabase> m_db;
};

static QStringList ids(const BillCollection& bills)
{
    QStringList out;
    for (int i = 1; i <= bills.Count(); ++i)
        out << bills.item(i).BillID();
    return out;
}

void tst_Bills::init()
{
    m_db = std::make_unique<TestDatabase>("db_bills.sql");
    m_db->run("UPDATE bi_Bill SET OriginalID='O-003', TableFullName='大厅A1', "
              "CheckOutTime='2026-03-10 21:05:00' WHERE BillID='B1';"
              "UPDATE bi_Bill SET OriginalID='O-001' WHERE BillID='B2';"
              "UPDATE bi_Bill SET OriginalID='O-002' WHERE BillID='B3';"
              "UPDATE bi_Bill SET OriginalID='O-004' WHERE BillID='B4';");
}

void tst_Bills::collectionConditionsAndSort()
{
    const ConnectionPtr c = m_db->connection();
    // Business date 2026-03-10: B1 at 23:59 and B3 at 00:00, not B2 (next midnight) or B4.
    BillCollection byDay(c);
    byDay.addCondition(BillCollection::FieldBillDate, ListCriteria::Equal, QDate(2026, 3, 10));
    byDay.addSortKey(BillCollection::FieldBillID);
    QVERIFY(byDay.load());
    QCOMPARE(ids(byDay), QStringList({"B1", "B3"}));

    // from/to on a date include the whole last day; text dates work too.
    BillCollection range(c);
    range.addCondition(43, 4, "2026-03-09");
    range.addCondition(43, 5, "2026-03-10");
    range.addSortKey(1, 2);
    QVERIFY(range.load());
    QCOMPARE(ids(range), QStringList({"B4", "B3", "B1"}));

    // Original number range, sorted by original number then bill number.
    BillCollection original(c);
    original.addCondition(58, 4, "O-002");
    original.addCondition(58, 5, "O-003");
    original.addSortKey(58);
    original.addSortKey(1);
    QVERIFY(original.load());
    QCOMPARE(ids(original), QStringList({"B3", "B1"}));
    QCOMPARE(original.item(2).OriginalID(), QString("O-003"));

    BillCollection byAmount(c);
    byAmount.addSortKey(38, 2);
    QVERIFY(byAmount.load());
    QCOMPARE(ids(byAmount), QStringList({"B1", "B2", "B3", "B4"}));
    QCOMPARE(byAmount.item(2).SumPaid().toString(), QString("46.00"));

    BillCollection one(c);
    one.addCondition(1, 1, "B2");
    QVERIFY(one.load());
    QCOMPARE(one.Count(), 1);
    QCOMPARE(one.item(2).BillID(), QString()); // beyond the end: empty

    BillCollection badOperator(c);
    badOperator.addCondition(1, 3, "B2");
    QVERIFY(!badOperator.load());
    QCOMPARE(badOperator.Count(), 0);

    BillCollection closed(std::make_shared<Connection>());
    QVERIFY(!closed.load());
}

void tst_Bills::billHeader()
{
    Bill bill(m_db->connection());
    QVERIFY(bill.load(" B1 "));
    QCOMPARE(bill.BillID(), QString("B1"));
    QCOMPARE(bill.TableFullName(), QString("大厅A1"));
    QCOMPARE(bill.PeopleCount(), 4);
    QCOMPARE(bill.CreateTime(), QDateTime(QDate(2026, 3, 10), QTime(19, 30)));
    QCOMPARE(bill.CheckOutTime().toString("hh:mm"), QString("21:05"));
    QCOMPARE(bill.SumPaid().toString(), QString("120.50"));
    QCOMPARE(bill.SumForDiscount().toString(), QString("9.50"));
    QCOMPARE(bill.DiscountRate(), 0.9);
    QCOMPARE(bill.MemberName(), QString("赵六"));

    QVERIFY(!bill.load("B9"));
    QVERIFY(!bill.isLoaded());
    QCOMPARE(bill.SumPaid().toString(), QString("0.00"));
}

void tst_Bills::memberByCard()
{
    Member member(m_db->connection());
    QVERIFY(member.findByCardNumber("8001 "));
    QCOMPARE(member.MemberID(), QString("M1"));
    QVERIFY(!member.findByCardNumber("9999"));
    QCOMPARE(member.MemberID(), QString());
}

void tst_Bills::oldBillReport()
{
    ReportPrinter printer;
    printer.bind(m_db->connection());
    QVERIFY(!printer.report("NewBill"));
    PrintReport* report = printer.report("OldBill");
    QVERIFY(report);
    report->setParameter("BillID", "B1");
    const QStringList lines = report->lines();
    // Items: ordered minus cancelled, with their consumption; payments per subject.
    QVERIFY(lines.contains("宫保鸡丁 份 x 3    114.00"));
    QVERIFY(lines.contains("可乐 瓶 x 1    8.00"));
    QVERIFY(lines.contains("实收金额: 120.50"));
    QVERIFY(lines.contains("  银行卡: 20.50"));

    QTemporaryDir dir;
    const QString pdf = dir.filePath("bill.pdf");
    QVERIFY(report->printToPdf(pdf));
    QVERIFY(QFileInfo(pdf).size() > 1000);

    report->setParameter("BillID", "B9");
    QVERIFY(!report->printToPdf(dir.filePath("none.pdf")));
}

QTEST_MAIN(tst_Bills)
#include "tst_bills.moc"
