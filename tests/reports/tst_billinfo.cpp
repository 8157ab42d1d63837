#include "core/HostContext.h"
#include "db/Connection.h"
#include "db/Money.h"
#include "framework/HostUi.h"
#include "framework/ReportPrinter.h"
#include "reports/bills/BillInfoSql.h"
#include "reports/bills/BillReprint.h"
#include "reports/bills/frmBillInfo.h"
#include "reports/bills/frmBillQuery.h"
#include "sheet/Sheet.h"
#include "tests/support/TestDatabase.h"
#include "ui/ctlQuery.h"

#include <QAction>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTreeWidget>
#include <QtTest>

namespace {

// Leaf columns of the item grid and the payment grid.
enum ItemCol
{
    Gift = 5,
    Ordered = 6,
    Cancelled = 7,
    Consumed = 8,
    Consume = 10,
    Service = 11,
    Discount = 12,
    Subtotal = 13
};
enum PayCol
{
    PaidAfterRate = 5
};

QString field(const QWidget* w, const char* name)
{
    return w->findChild<QLineEdit*>(QString::fromLatin1(name))->text();
}
Sheet* grid(const QWidget* w, const char* name)
{
    return w->findChild<ctlQuery*>(QString::fromLatin1(name))->Grid();
}
void press(QWidget* w, const char* key)
{
    w->findChild<QAction*>(QString::fromLatin1(key))->trigger();
}
QStringList column(const Sheet* s, int col)
{
    QStringList out;
    for (int row = 1; row <= s->maxRows(); ++row)
        out << s->text(row, col);
    return out;
}
double total(const Sheet* s, int col)
{
    return s->value(s->maxRows(), col).toDouble();
}

} // namespace

class TestBillInfo : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { HostUi::setHeadless(true); }

    void statements()
    {
        // The snapshot tables replace the bill's own when a reverse settlement is chosen; a
        // quote in a bill number stays inside its literal.
        QVERIFY(BillInfoItemsSql("I1").contains(
            " FROM  bi_BillItem     WHERE  BillID='I1'  ORDER BY CreateTime "));
        QVERIFY(BillInfoPaymentsSql("I1", "U-A")
                    .contains(" FROM  bi_UnCheckBillPayment     WHERE  UnCheckBillID='U-A'  ORDER "
                              "BY SubjectID "));
        QCOMPARE(UnCheckBillListSql("a'b"), QString("   SELECT *      FROM bi_UnCheckBill     "
                                                    "WHERE BillID='a''b'  ORDER BY UnCheckTime "));
        QVERIFY(BillCheckItemsSql("I1").endsWith(
            " FROM bi_BillItem  WHERE BillID='I1' ORDER BY BillItemID "));
    }

    void steppingThroughTheGrid()
    {
        TestDatabase db("bill_info.sql");
        db.install();
        // A report grid: I1, an unknown number, I2 and the totals row.
        Sheet source;
        source.setMaxCols(2);
        source.setMaxRows(4);
        const QStringList ids = {"I1", "X9", "I2", "合计"};
        for (int row = 1; row <= 4; ++row)
            source.setText(row, 1, ids[row - 1]);
        source.setText(4, 2, "280.00");

        // Opened on the totals row: no window.
        source.setActiveCell(4, 1);
        QPointer<frmBillInfo> none = new frmBillInfo;
        QVERIFY(!none->ShowMe(&source, 1, QString()));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(none.isNull());

        source.setActiveCell(1, 1);
        QPointer<frmBillInfo> info = new frmBillInfo;
        QVERIFY(info->ShowMe(&source, 1, QString()));
        QVERIFY(info->isVisible());
        QCOMPARE(info->billId(), QString("I1"));
        press(info, "Prev"); // on row 1: nothing changes
        QCOMPARE(info->billId(), QString("I1"));
        QCOMPARE(source.activeRow(), 1);
        press(info, "Next"); // over the unknown number to I2
        QCOMPARE(info->billId(), QString("I2"));
        QCOMPARE(source.activeRow(), 3);
        QCOMPARE(field(info, "txtSumPaid"), QString("46.00"));
        // Blanks as original number: no parentheses.
        QCOMPARE(field(info, "txtBillID"), QString("I2"));
        press(info, "Next"); // the totals row does not qualify: stays on I2
        QCOMPARE(info->billId(), QString("I2"));
        QCOMPARE(source.activeRow(), 3);
        QCOMPARE(column(grid(info, "ctlQuery1"), 2), QStringList({"宫保鸡丁", ""}));
        press(info, "Prev");
        QCOMPARE(info->billId(), QString("I1"));
        QCOMPARE(source.activeRow(), 1);

        press(info, "Exit");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(info.isNull());
    }

    void onlyTheUsersBills()
    {
        // A branch manager of 01: the number of another branch's bill (I5) or of a deleted bill
        // (I6) shows nothing, and stepping through a grid passes over them.
        TestDatabase db("bill_info.sql");
        db.run("UPDATE bi_Bill SET BranchID='01';"
               "INSERT INTO bi_Bill (BillID, BillDate, BranchID, BranchName, IsDeleted) VALUES "
               "('I5', '2026-04-02 14:00:00', '02', '上海店', 0),"
               "('I6', '2026-04-02 15:00:00', '01', '北京店', 1);"
               "INSERT INTO rpt_pv_Branch (UserID, BranchID) VALUES ('mgr', '01')");
        db.install();
        const bool trueData = hostContext().TrueDataAllowed;
        const auto restore = qScopeGuard([trueData] {
            hostContext().UserID.clear();
            hostContext().TrueDataAllowed = trueData;
        });
        hostContext().UserID = "mgr";
        hostContext().TrueDataAllowed = false;
        for (const char* id : {"I5", "I6"}) {
            QPointer<frmBillInfo> none = new frmBillInfo;
            QVERIFY(none->ShowMe(nullptr, 1, id));
            QVERIFY2(none->billId().isEmpty(), id);
            QCOMPARE(field(none, "txtSumPaid"), QString());
            press(none, "Exit");
        }
        Sheet source;
        source.setMaxCols(1);
        source.setMaxRows(4);
        const QStringList ids = {"I1", "I5", "I6", "I2"};
        for (int row = 1; row <= 4; ++row)
            source.setText(row, 1, ids[row - 1]);
        source.setActiveCell(1, 1);
        QPointer<frmBillInfo> info = new frmBillInfo;
        QVERIFY(info->ShowMe(&source, 1, QString()));
        press(info, "Next");
        QCOMPARE(info->billId(), QString("I2"));
        QCOMPARE(source.activeRow(), 4);
        press(info, "Exit");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void headerItemsAndPayments()
    {
        TestDatabase db("bill_info.sql");
        db.install();
        auto* info = new frmBillInfo;
        QVERIFY(info->ShowMe(nullptr, 1, "I1"));
        QVERIFY(!info->findChild<QAction*>("Next")->isEnabled());
        QCOMPARE(field(info, "txtBillID"), QString("I1(0007)"));
        QCOMPARE(field(info, "txtMemberCardID"), QString("8001 赵六"));
        QCOMPARE(field(info, "txtCreateTime"), QString("11:05"));
        QCOMPARE(field(info, "txtCheckOutTime"), QString("12:40"));
        QCOMPARE(field(info, "txtDiscoutRate"), QString("90%"));
        QCOMPARE(field(info, "txtServiceRate"), QString("10%"));
        QCOMPARE(field(info, "txtSumForDiscount"), QString("15.00"));
        QCOMPARE(field(info, "txtSumPaid"), QString("150.00"));

        // Lines by order time; the gift shows its mark and no amounts, and adds only to the
        // quantities: 2+3+1+1 ordered, 1 returned, 6 consumed; 76+16+58 consumption,
        // 7.6+1.6+5.8 service, 7.6+7.4 discount, 76+17.6+56.4 subtotal.
        Sheet* items = grid(info, "ctlQuery1");
        QCOMPARE(column(items, 2), QStringList({"宫保鸡丁", "可乐", "果盘", "清蒸鱼", ""}));
        QCOMPARE(column(items, Gift).mid(0, 4), QStringList({"", "", "√", ""}));
        for (int col : {Consume, Service, Discount, Subtotal})
            QVERIFY(items->isEmpty(3, col));
        QCOMPARE(total(items, Ordered), 7.0);
        QCOMPARE(total(items, Cancelled), 1.0);
        QCOMPARE(total(items, Consumed), 6.0);
        QCOMPARE(total(items, Consume), 150.0);
        QCOMPARE(total(items, Service), 15.0);
        QCOMPARE(total(items, Discount), 15.0);
        QCOMPARE(total(items, Subtotal), 150.0);
        Sheet* payments = grid(info, "ctlQuery2");
        QCOMPARE(column(payments, 2), QStringList({"现金", "银行卡", "港币", ""}));
        QCOMPARE(total(payments, PaidAfterRate), 150.0);

        // Two reverse settlements, listed in time order whatever their keys.
        auto* list = info->findChild<QTreeWidget*>("lvwUnCheckBill");
        QVERIFY(!list->isVisible());
        info->findChild<QPushButton*>("cmdUnCheckBill")->click();
        QVERIFY(list->isVisible());
        QCOMPARE(list->topLevelItemCount(), 2);
        QCOMPARE(list->topLevelItem(0)->text(0), QString("1 "));
        QCOMPARE(list->topLevelItem(0)->text(1), QString("2026-04-02 12:00:00"));
        QCOMPARE(list->topLevelItem(0)->text(3), QString("98.00"));
        QCOMPARE(list->topLevelItem(1)->text(0), QString("2 "));
        QCOMPARE(list->topLevelItem(1)->text(2), QString("王五"));
        QCOMPARE(list->topLevelItem(1)->text(3), QString("120.50"));

        // Entry 2: the snapshot's lines, the header unchanged.
        list->setCurrentItem(list->topLevelItem(1));
        emit list->itemClicked(list->topLevelItem(1), 0);
        QCOMPARE(column(items, 2), QStringList({"宫保鸡丁", "米饭", ""}));
        QCOMPARE(total(items, Subtotal), 120.5);
        QCOMPARE(total(payments, PaidAfterRate), 120.5);
        QCOMPARE(field(info, "txtSumPaid"), QString("150.00"));
        // Once the list has hidden itself, "Refresh" shows the bill's own lines again.
        list->hide();
        press(info, "Refresh");
        QCOMPARE(total(items, Subtotal), 150.0);
        QCOMPARE(items->maxRows(), 5);
        info->close();
    }

    void reprint()
    {
        TestDatabase db("bill_info.sql");
        db.install();
        QTemporaryDir dir;
        const QString pdf = dir.filePath("I1.pdf");
        ReportPrinter::setPdfOutput(pdf);
        HostUi::setHeadlessYes(true); // the reprint is confirmed, as a user would
        QVERIFY(ReprintBill("I1", "confirm", "fault", nullptr));
        QVERIFY(QFileInfo(pdf).size() > 1000);
        // A file that cannot be written, or a bill that does not exist, is a failed reprint.
        ReportPrinter::setPdfOutput(dir.filePath("missing/I1.pdf"));
        QVERIFY(!ReprintBill("I1", "confirm", "fault", nullptr));
        ReportPrinter::setPdfOutput(dir.filePath("I9.pdf"));
        QVERIFY(!ReprintBill("I9", "confirm", "fault", nullptr));
        QVERIFY(!QFileInfo::exists(dir.filePath("I9.pdf")));
        ReportPrinter::setPdfOutput(QString());
        HostUi::setHeadlessYes(false);

        ReportPrinter printer;
        printer.bind(db.connection());
        PrintReport* report = printer.report("OldBill");
        report->setParameter("BillID", "I1");
        const QStringList lines = report->lines();
        QVERIFY(lines.contains("果盘 份 x 1    赠送"));
        QVERIFY(lines.contains("可乐 瓶 x 2    16.00"));
        QVERIFY(lines.contains("  港币: 25.00"));
    }

    // On the demo database, each bill opened from the bill query shows the amount received of
    // its grid row, and its payment lines add up to it.
    void openedFromTheBillQueryOnTheDemoDatabase()
    {
        QTemporaryDir dir;
        const QString path = TestDatabase::writeDemo(
            dir.path(), {"--branches", "2", "--days", "2", "--bills-per-day", "15", "--last-day",
                         "2026-04-02", "--seed", "3"});
        if (path.isEmpty())
            QSKIP("vtxdemodb is not built or failed");
        hostContext().Connection = Connection::openSqlite(path);
        hostContext().TrueDataAllowed = false;
        hostContext().UserID = "admin";
        hostContext().UserGroupID = "G01";

        frmBillQuery query;
        query.ShowMe();
        query.applyCriterion("dtpBegin", "2026-04-01");
        query.applyCriterion("dtpEnd", "2026-04-02");
        QVERIFY(query.runRefresh());
        Sheet* rows = query.queryControl()->Grid();
        QVERIFY(rows->maxRows() > 10);
        int opened = 0;
        bool pictured = false;
        for (int row = 1; row < rows->maxRows(); ++row) {
            rows->setActiveCell(row, 1);
            query.findChild<QAction*>("Open")->trigger();
            frmBillInfo* info = nullptr;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* candidate = qobject_cast<frmBillInfo*>(w);
                    candidate && candidate->isVisible())
                    info = candidate;
            QVERIFY(info);
            QCOMPARE(info->billId(), rows->text(row, 1));
            const Money received = Money::fromString(field(info, "txtSumPaid"));
            QCOMPARE(received, Money::fromDouble(rows->value(row, 17).toDouble()));
            QCOMPARE(Money::fromDouble(total(grid(info, "ctlQuery2"), PaidAfterRate)), received);
            // With VTX_DOCS_DIR set, the first bill with reverse settlements is pictured.
            auto* list = info->findChild<QTreeWidget*>("lvwUnCheckBill");
            if (!pictured && list->topLevelItemCount() > 0 &&
                qEnvironmentVariableIsSet("VTX_DOCS_DIR")) {
                info->findChild<QPushButton*>("cmdUnCheckBill")->click();
                QCoreApplication::processEvents();
                pictured =
                    info->grab().save(qEnvironmentVariable("VTX_DOCS_DIR") + "/billinfo.png");
            }
            info->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            ++opened;
        }
        QCOMPARE(opened, rows->maxRows() - 1);
        hostContext().Connection.reset();
    }
};

QTEST_MAIN(TestBillInfo)
#include "tst_billinfo.moc"
