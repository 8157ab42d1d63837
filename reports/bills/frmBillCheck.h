#pragma once

#include "ui/GridScreen.h"

#include <QDialog>

class BillPanel;
class QComboBox;
class QDateEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;
class ctlQuery;
class LanguageSection;

// The bill audit ("DoBillCheck"): finds settled bills by business date, by a range of original
// bill numbers or by bill number, lists them (lvwBills) and shows the chosen one with its
// header, item lines (ctlQuery1) and payments (ctlQuery2); "Print" reprints it.
//
// Shown modally; in headless runs it opens in the host window instead and is driven through
// applyCriterion (a control by name; "lvwBills" takes the bill number to show; a button given
// "1" is clicked, so "cmdPrint=1" reprints, and fails when no bill is reprinted), runRefresh
// (the search) and exportGrid (the item lines), with lastError saying why one failed.
class frmBillCheck : public QDialog, public GridScreen
{
    Q_OBJECT
public:
    explicit frmBillCheck(QWidget* parent = nullptr);
    ~frmBillCheck() override;

    void ShowMe();
    // The bill numbers listed, in order.
    QStringList listedBills() const;
    // The bill number shown (the tag of txtBillID).
    QString billId() const;
    static const LanguageSection& texts();
    // The grid of the shown bill's item lines.
    Sheet* grid() const override;
    QString gridCaption() const override { return windowTitle(); }

public slots:
    bool applyCriterion(const QString& name, const QString& value);
    bool runRefresh();
    bool exportGrid(const QString& path);
    // Why the last of applyCriterion, runRefresh or exportGrid failed.
    QString lastError() const { return m_lastError; }
    // Shows the listed bill with this number, searching first when it is not listed yet;
    // false, with the reason in `why`, when the search does not list it or the search or the
    // bill cannot be read.
    bool showListedBill(const QString& billId, QString* why = nullptr);

private:
    bool cmdQuery(QString* why = nullptr); // false, with the reason, when bills cannot be read
    bool cmdPrint();                       // true when the bill was reprinted
    bool showBill(QTreeWidgetItem* item, QString* why = nullptr);
    void chooseQuery(int index);

    QRadioButton* optQuery[3] = {};
    QDateEdit* dtpBillDate = nullptr;
    QComboBox* cboOriginalID[2] = {};
    QComboBox* cboBillID = nullptr;
    QRadioButton* optOrder[2] = {};
    QPushButton* cmdQueryButton = nullptr;
    QPushButton* cmdPrintButton = nullptr;
    QPushButton* cmdExit = nullptr;
    QTreeWidget* lvwBills = nullptr;
    BillPanel* m_panel = nullptr;
    QString m_lastError;
};
