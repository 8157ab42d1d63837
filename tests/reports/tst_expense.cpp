#include "core/mod_ADO.h"
#include "framework/HostUi.h"
#include "reports/periods/frmExpense.h"
#include "sheet/Sheet.h"
#include "tests/support/TestDatabase.h"

#include <QSqlQuery>
#include <QTest>

namespace {

const QDate Day(2026, 3, 10);

// The day's rows in the database: the total, then each item "id=amount" in ListIndex order.
QString stored(const QDate& day)
{
    const QString total = ExecuteFirstRow("select Expense from bi_Expense where BillDate=?", {day})
                              .value("Expense")
                              .toString();
    QStringList items;
    for (const RowDict& r :
         ExecuteRows("select * from bi_ExpenseItem where BillDate=? order by ListIndex", {day}))
        items << r.value("ExpenseID").toString() + "=" + r.value("Expense").toString();
    return total + " " + items.join(',');
}

QString sheetRow(const Sheet& s, int row)
{
    QStringList cells;
    for (int c = 1; c <= s.maxCols(); ++c)
        cells << s.text(row, c);
    return cells.join('|');
}

} // namespace

class TestExpense : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        HostUi::setHeadless(true);
        HostUi::setHeadlessYes(true); // the test confirms as a user at the window would
    }

    // The sheet by day and item, a day saved as a whole, a failing save leaving the day alone.
    void sheetAndSaving()
    {
        TestDatabase db("expense.sql");
        db.install();
        frmExpense window;
        bool changed = true;
        window.ShowMe(Day.addDays(-1), Day, Day, changed);
        QVERIFY(!changed);
        const Sheet& s = *window.report();
        QCOMPARE(s.maxRows(), 3);
        QCOMPARE(s.headerText(1, 1) + s.headerText(1, 2) + s.headerText(1, 3) + s.headerText(1, 4) +
                     s.headerText(1, 5),
                 QString("日期费用水电房租杂费"));
        QCOMPARE(sheetRow(s, 1), QString("2026-03-09|0.00|0.00|0.00|0.00"));
        QCOMPARE(sheetRow(s, 2), QString("2026-03-10|80.00|30.00|50.00|0.00"));
        QCOMPARE(sheetRow(s, 3), QString("合计|80.00|30.00|50.00|0.00"));

        // The third item's insert is refused: the transaction leaves the day's earlier rows.
        QSqlQuery(db.connection()->database())
            .exec("CREATE TRIGGER refuse AFTER INSERT ON bi_ExpenseItem WHEN NEW.Expense > 100 "
                  "BEGIN SELECT RAISE(ABORT, 'too much'); END");
        QVERIFY(!window.editAmount(Day, 2, "150"));
        QCOMPARE(stored(Day), QString("80 E1=30,E2=50,E3=0"));
        QCOMPARE(sheetRow(s, 2), QString("2026-03-10|80.00|30.00|50.00|0.00"));
        QVERIFY(!window.changed());

        QVERIFY(window.editAmount(Day, 0, "12.35"));
        QVERIFY(window.editAmount(Day.addDays(-1), 2, "7.5"));
        QCOMPARE(stored(Day), QString("62.35 E1=12.35,E2=50,E3=0"));
        QCOMPARE(stored(Day.addDays(-1)), QString("7.5 E1=0,E2=0,E3=7.5"));
        QCOMPARE(sheetRow(s, 3), QString("合计|69.85|12.35|50.00|7.50"));
        QVERIFY(window.changed());
    }

    // First use creates the tables; items are checked as a whole and renamed without touching
    // the rows saved before.
    void itemsAndTables()
    {
        TestDatabase db("expense.sql");
        db.install();
        db.run("DROP TABLE bi_Expense; DROP TABLE bi_ExpenseItem; DROP TABLE dd_Expense");
        HostUi::setHeadlessYes(false); // a headless run without --yes creates nothing
        frmExpense(nullptr).load(Day, Day);
        QVERIFY(!TableExists("bi_Expense"));
        HostUi::setHeadlessYes(true);
        frmExpense fresh;
        fresh.load(Day, Day);
        for (const char* table : {"bi_Expense", "bi_ExpenseItem", "dd_Expense"})
            QVERIFY2(TableExists(table), table);
        QCOMPARE(sheetRow(*fresh.report(), 1), QString("2026-03-10|0.00"));

        QCOMPARE(frmExpense::ValidateItems({{"1", "a"}, {"", "b"}}), QString("Msg_NotNull"));
        QCOMPARE(frmExpense::ValidateItems({{"1", "a"}, {"2", " "}}), QString("Msg_NotNull"));
        QCOMPARE(frmExpense::ValidateItems({{"1", "a"}, {"2", "a"}}), QString("Msg_TheSame"));
        QCOMPARE(frmExpense::ValidateItems({{"1", "a"}, {"1", "b"}}), QString("Msg_TheSame"));
        QCOMPARE(frmExpense::ValidateItems({{"1", "a"}, {"2", "b"}}), QString());

        TestDatabase db2("expense.sql");
        db2.install();
        frmExpense window;
        window.load(Day, Day);
        window.cmdSetting_Click();
        QVERIFY(window.inSettings());
        Sheet& items = *window.data();
        QCOMPARE(items.maxRows(), 3);
        items.setText(1, 2, "电费");
        window.cmdAdd_Click();
        items.setText(4, 1, "E4");
        QVERIFY(!window.cmdOK_Click()); // the new row has no name
        QVERIFY(window.inSettings());
        items.setText(4, 2, "房租");
        QVERIFY(!window.cmdOK_Click()); // a name used twice
        items.setText(4, 2, "餐具");
        items.setActiveCell(2, 1);
        window.cmdDelete_Click(); // 房租 goes
        QVERIFY(window.cmdOK_Click());
        QVERIFY(!window.inSettings());
        QStringList list;
        for (const RowDict& r : ExecuteRows("select * from dd_Expense order by ListIndex"))
            list << r.value("ExpenseID").toString() + r.value("ExpenseName").toString() +
                        r.value("ListIndex").toString();
        QCOMPARE(list, QStringList({"E1电费1", "E3杂费2", "E4餐具3"}));
        QCOMPARE(window.report()->headerText(1, 3), QString("电费"));
        QCOMPARE(sheetRow(*window.report(), 1), QString("2026-03-10|80.00|30.00|0.00|0.00"));
        QCOMPARE(ExecuteFirstRow("select ExpenseName from bi_ExpenseItem where ExpenseID='E1'")
                     .value("ExpenseName")
                     .toString(),
                 QString("水电"));
    }
};

QTEST_MAIN(TestExpense)
#include "tst_expense.moc"
