#include "core/HostContext.h"
#include "framework/HostUi.h"
#include "framework/ReportPrinter.h"
#include "reports/bills/frmBillCheck.h"
#include "sheet/Sheet.h"
#include "tests/support/TestDatabase.h"
#include "ui/ctlQuery.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTreeWidget>
#include <QtTest>

namespace {

// Searches with the given criteria set by control name and returns the listed bills.
QStringList search(frmBillCheck& w, const QList<QPair<QString, QString>>& criteria)
{
    for (const auto& [name, value] : criteria)
        if (!w.applyCriterion(name, value))
            return {"cannot set " + name};
    w.runRefresh();
    return w.listedBills();
}

QStringList column(const Sheet* s, int col)
{
    QStringList out;
    for (int row = 1; row <= s->maxRows(); ++row)
        out << s->text(row, col);
    return out;
}

} // namespace

class TestBillCheck : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { HostUi::setHeadless(true); }

    void searchesAndSortOrders()
    {
        TestDatabase db("bill_info.sql");
        db.install();
        frmBillCheck w;
        // Business date: the whole day, 23:59:59 included, the next day's 00:00 not.
        QCOMPARE(search(w, {{"optQuery_0", "1"}, {"dtpBillDate", "2026-04-02"}}),
                 QStringList({"I1", "I2", "I4"}));
        // By original number first: blanks, then 0005, then 0007.
        QCOMPARE(search(w, {{"optOrder_1", "1"}}), QStringList({"I2", "I4", "I1"}));
        // A range of original numbers, inclusive at both ends; choosing it sorts by original.
        QCOMPARE(search(w, {{"optQuery_1", "1"},
                            {"cboOriginalID_0", " 0003 "},
                            {"cboOriginalID_1", "0007"}}),
                 QStringList({"I3", "I4", "I1"}));
        QVERIFY(w.findChild<QRadioButton*>("optOrder_1")->isChecked());
        QCOMPARE(search(w, {{"optOrder_0", "1"}}), QStringList({"I1", "I3", "I4"}));
        // By bill number, trimmed; choosing it goes back to bill number order.
        w.findChild<QRadioButton*>("optOrder_1")->setChecked(true);
        QCOMPARE(search(w, {{"optQuery_2", "1"}, {"cboBillID", " I3 "}}), QStringList({"I3"}));
        QVERIFY(w.findChild<QRadioButton*>("optOrder_0")->isChecked());
        QCOMPARE(search(w, {{"cboBillID", "I9"}}), QStringList());
    }

    void onlyTheUsersBills()
    {
        // A branch manager of 01: another branch's bill and a deleted bill stay out of the
        // search, the list and the shown bill, whatever number is typed.
        TestDatabase db("bill_info.sql");
        db.run("UPDATE bi_Bill SET BranchID='01';"
               "INSERT INTO bi_Bill (BillID, BillDate, BranchID, BranchName, IsDeleted) VALUES "
               "('I5', '2026-04-02 14:00:00', '02', '上海店', 0),"
               "('I6', '2026-04-02 15:00:00', '01', '北京店', 1);"
               "INSERT INTO rpt_pv_Branch (UserID, BranchID) VALUES ('mgr', '01')");
        db.install();
        hostContext().UserID = "mgr";
        hostContext().TrueDataAllowed = false;
        {
            frmBillCheck w;
            QCOMPARE(search(w, {{"optQuery_0", "1"}, {"dtpBillDate", "2026-04-02"}}),
                     QStringList({"I1", "I2", "I4"}));
            QCOMPARE(search(w, {{"optQuery_2", "1"}, {"cboBillID", "I5"}}), QStringList());
            QVERIFY(!w.showListedBill("I5"));
            QVERIFY(!w.showListedBill("I6"));
        }
        // With the right to see deleted data, the deleted bill of his branch shows.
        hostContext().TrueDataAllowed = true;
        {
            frmBillCheck w;
            QCOMPARE(search(w, {{"optQuery_0", "1"}, {"dtpBillDate", "2026-04-02"}}),
                     QStringList({"I1", "I2", "I4", "I6"}));
        }
        hostContext().TrueDataAllowed = false;
        hostContext().UserID.clear();
    }

    void showingAndReprintingABill()
    {
        TestDatabase db("bill_info.sql");
        db.install();
        QTemporaryDir dir;
        const QString pdf = dir.filePath("bill.pdf");
        ReportPrinter::setPdfOutput(pdf);
        frmBillCheck w;
        // Nothing shown yet: "Print" only says so.
        w.findChild<QPushButton*>("cmdPrint")->click();
        QVERIFY(!QFileInfo::exists(pdf));

        search(w, {{"dtpBillDate", "2026-04-02"}});
        QVERIFY(w.showListedBill("I1"));
        QCOMPARE(w.billId(), QString("I1"));
        QCOMPARE(w.findChild<QLineEdit*>("txtBillID")->text(), QString("I1(0007)"));
        // Lines by line key, no order time column; the gift has its mark and no amount.
        Sheet* items = w.findChild<ctlQuery*>("ctlQuery1")->Grid();
        QCOMPARE(items->maxCols(), 13);
        QCOMPARE(column(items, 2), QStringList({"清蒸鱼", "果盘", "可乐", "宫保鸡丁", ""}));
        QCOMPARE(items->text(2, 5), QString("√"));
        QVERIFY(items->isEmpty(2, 10));
        QCOMPARE(items->value(5, 13).toDouble(), 150.0);
        // The line total is money like the amounts beside it, also on a bill of whole amounts.
        QVERIFY(w.showListedBill("I2"));
        QCOMPARE(items->text(1, 10), QString("46.00"));
        QCOMPARE(items->text(1, 13), QString("46.00"));
        QVERIFY(w.showListedBill("I1"));
        // Payments: the amount paid before the rate comes before the rate.
        Sheet* payments = w.findChild<ctlQuery*>("ctlQuery2")->Grid();
        QCOMPARE(column(payments, 2), QStringList({"现金", "银行卡", "港币", ""}));
        QCOMPARE(payments->value(3, 3).toDouble(), 25.0);
        QCOMPARE(payments->value(3, 4).toDouble(), 0.8);
        QCOMPARE(payments->value(4, 5).toDouble(), 150.0);

        HostUi::setHeadlessYes(true); // the reprint is confirmed, as a user would
        w.findChild<QPushButton*>("cmdPrint")->click();
        HostUi::setHeadlessYes(false);
        QVERIFY(QFileInfo(pdf).size() > 1000);
        ReportPrinter::setPdfOutput(QString());
    }

    void everythingShownFits()
    {
        // A bill of large amounts with its original number: the window shows the bill number
        // box, the list's numbers and every grid column, the line total (小计) included, whole.
        TestDatabase db("bill_info.sql");
        db.run("UPDATE bi_BillItem SET SumOfConsume=17688, SumOfService=1768.8 WHERE BillID='I1';"
               "UPDATE bi_Bill SET OriginalID='BK0126120500', SumPaid=23091.64 WHERE BillID='I1'");
        db.install();
        frmBillCheck w;
        w.ShowMe();
        w.show();
        search(w, {{"optQuery_0", "1"}, {"dtpBillDate", "2026-04-02"}});
        QVERIFY(w.showListedBill("I1"));
        QCoreApplication::processEvents();
        for (const char* name : {"ctlQuery1", "ctlQuery2"}) {
            auto* view = w.findChild<ctlQuery*>(name)->findChild<QTableView*>();
            QVERIFY2(view->horizontalHeader()->length() <= view->viewport()->width(), name);
        }
        auto* billId = w.findChild<QLineEdit*>("txtBillID");
        QVERIFY(billId->fontMetrics().horizontalAdvance(billId->text()) < billId->width() - 6);
        auto* list = w.findChild<QTreeWidget*>("lvwBills");
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            for (int col = 0; col < 2; ++col)
                QVERIFY(list->fontMetrics().horizontalAdvance(list->topLevelItem(i)->text(col)) <
                        list->columnWidth(col));
    }
};

QTEST_MAIN(TestBillCheck)
#include "tst_billcheck.moc"
