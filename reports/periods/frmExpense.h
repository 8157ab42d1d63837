#pragma once

#include "db/Connection.h"
#include "db/Money.h"

#include <QDate>
#include <QDialog>
#include <QList>
#include <QString>

#include <memory>

class QDateEdit;
class QPushButton;
class QWidget;
class Sheet;
class SheetView;
class LanguageSection;

// Daily expense entry: one amount per expense item and day, the day's total beside it and a
// totals row, saved day by day as cells change; and, in settings mode, the list of expense
// items. The expense tables are created empty on first use.
class frmExpense : public QDialog
{
    Q_OBJECT
public:
    // One expense item with its amount on the day being saved.
    struct Item
    {
        QString id;
        QString name;
        int listIndex = 0;
        Money expense;
    };

    explicit frmExpense(QWidget* parent = nullptr);
    ~frmExpense() override;

    // Shows the sheet for begin..end as a modal window (the report day is kept for the caller's
    // sake); `changed` becomes true when at least one day's expenses were saved.
    void ShowMe(const QDate& begin, const QDate& end, const QDate& reportDate, bool& changed);
    // Loads the sheet for the range without showing the window.
    void load(const QDate& begin, const QDate& end);
    bool changed() const { return m_changed; }
    Sheet* report() const { return m_report.get(); }
    Sheet* data() const { return m_data.get(); }
    const QList<Item>& items() const { return m_items; }
    // Writes an item cell as a user's edit does: the row and totals are recomputed and the day
    // is saved. False when the day could not be saved.
    bool editAmount(const QDate& day, int item, const QString& text);

    // -- settings mode ---------------------------------------------------------------------
    void cmdSetting_Click();
    void cmdAdd_Click();
    void cmdDelete_Click();
    bool cmdOK_Click(); // false when the rows were refused or could not be saved
    void cmdCancel_Click();
    bool inSettings() const;

    // -- the storage, on any connection ------------------------------------------------------
    // Creates bi_Expense, dd_Expense and bi_ExpenseItem when missing (errors ignored).
    static void CreateTables(const ConnectionPtr& db);
    // The items in ListIndex order, with zero amounts.
    static QList<Item> LoadItems(const ConnectionPtr& db);
    // Replaces the day's total and item rows in one transaction: either all of them are
    // written or the day keeps its previous rows. False with the reason on failure.
    static bool SaveDay(const ConnectionPtr& db, const QDate& day, const QList<Item>& items,
                        QString* error = nullptr);
    // The message key for a refused item list (Msg_NotNull, Msg_TheSame), empty when valid.
    static QString ValidateItems(const QList<QPair<QString, QString>>& rows);
    // Replaces dd_Expense with the rows (id, name), numbered from 1.
    static bool SaveItems(const ConnectionPtr& db, const QList<QPair<QString, QString>>& rows,
                          QString* error = nullptr);

    static const LanguageSection& texts();

private:
    void reload();
    void dayChanged(int row);
    void recomputeRow(int row);
    void recomputeTotals();
    int dayRow(const QDate& day) const;
    void setSettingsMode(bool on);

    std::unique_ptr<Sheet> m_report;
    std::unique_ptr<Sheet> m_data;
    SheetView* sprReport;
    SheetView* sprData;
    QWidget* picSetting;
    QDateEdit* dtpBegin;
    QDateEdit* dtpEnd;
    QPushButton* cmdRefresh;
    QPushButton* cmdMonth;
    QPushButton* cmdSetting;
    QPushButton* cmdClose;
    QPushButton* cmdAdd;
    QPushButton* cmdDelete;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QList<Item> m_items;
    bool m_changed = false;
    bool m_filling = false;
};
