#pragma once

#include "ui/GridScreen.h"

#include <QDialog>
#include <QPointer>

#include <memory>

class Bill;
class BillPanel;
class QPushButton;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class Sheet;
class ctlQuery;
class LanguageSection;

// The bill detail: one settled bill's header, item lines (ctlQuery1) and payments (ctlQuery2).
// Opened on a report grid's row (grid mode), it steps to the grid's previous and next bills;
// opened on a bill number (direct mode), it shows that bill alone. The reverse-settlement list
// shows the bill as it was before each reverse settlement; "Print" reprints the bill.
//
// The window lives for one opening and deletes itself when closed. It is shown modally, except
// in headless runs, where ShowMe returns with the window open.
// Opens the bill detail on the active row of `grid`, the bill number in `column` (a report's
// double click); nothing opens when that row holds no bill the user may see.
void OpenBillDetail(Sheet* grid, int column);

class frmBillInfo : public QDialog, public GridScreen
{
    Q_OBJECT
public:
    explicit frmBillInfo(QWidget* parent = nullptr);
    ~frmBillInfo() override;

    // Grid mode when `grid` is given (the bill number read from `billColumn` of its active
    // row), direct mode on `billID` otherwise. False when grid mode found no bill: the window
    // is then deleted without having been shown.
    bool ShowMe(Sheet* grid, int billColumn, const QString& billID);
    // Moves to the next ("+") or previous ("-") bill of the source grid, or shows the bill of
    // its active row (any other direction); `found` tells whether a bill was shown.
    void ShowBillInfo(const QString& direction, bool& found);

    // The bill number the window's queries read (the tag of txtBillID).
    QString billId() const;
    static const LanguageSection& texts();
    // The grid of the bill's item lines.
    Sheet* grid() const override;
    QString gridCaption() const override { return windowTitle(); }

private:
    void fillHeader(const QString& billId);
    void runQueries();
    void onToolbarKey(const QString& key);
    void cmdUnCheckBill_Click();
    void cmdPrint();
    bool eventFilter(QObject* watched, QEvent* event) override;

    QToolBar* tlbMain = nullptr;
    BillPanel* m_panel = nullptr;
    QPushButton* cmdUnCheckBill = nullptr;
    QTreeWidget* lvwUnCheckBill = nullptr;
    QPointer<Sheet> m_grid;
    int m_billColumn = 1;
    std::unique_ptr<Bill> m_bill;
};
