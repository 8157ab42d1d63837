#pragma once

#include "reports/bills/BillQuerySql.h"
#include "screens/QueryReportScreen.h"

class BranchCriterion;
class DropDownComboBox;
class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;

// The bill query: settled bills of a date range, one row per bill, with guests, staff,
// amounts, discount, service charge, tender split, invoice and settlement count, and a totals
// row. Bills settled more than once show in red; a double click opens the bill.
class frmBillQuery : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmBillQuery(QWidget* parent = nullptr);

    // The criteria as the bar shows them now; false, after telling the user why, when the
    // branch choice leaves nothing to query (`reason` receives the message).
    bool criteria(BillQueryCriteria* criteria, QString* reason = nullptr);

protected:
    void cmdQuery1() override;
    void cmdSetColumn1() override;
    void cmdOpen() override;
    void formLoad() override;
    const LanguageSection* languageTexts() const override;
    QList<QList<QWidget*>> englishLayoutRows() const override;

private:
    DropDownComboBox* addCombo(const char* name, int left, int top, int width);
    void applyCheckOutNullCondition();
    void fillListOnFirstDropDown(DropDownComboBox* combo, const QString& sql, const QString& field);
    void highlightRepeatedSettlements();
    static QString chosenText(const QComboBox* combo);

    QLabel* lblBranch;
    DropDownComboBox* cboBranch;
    QLabel* lblBillPeriod;
    DropDownComboBox* cboBillPeriod;
    QLabel* lblDiscountName;
    DropDownComboBox* cboDiscountName;
    QLabel* lblOrderBy;
    QComboBox* cboOrderBy;
    QRadioButton* optOrderBy[2];
    QLabel* lblShiftID;
    QComboBox* cboShiftID;
    QLabel* lblFilter;
    QCheckBox* chkHaveDiscount;
    QCheckBox* chkWithMemberCheck;
    QCheckBox* chkNotOnlyInCash;
    QCheckBox* chkCheckOutNull;
    QCheckBox* chkSumOfInvoice;
    QCheckBox* chkPrintCount;
    QCheckBox* chkSumPaid;
    QLabel* lblTableAreaName;
    DropDownComboBox* cboTableAreaName;
    QLabel* lblTableName;
    DropDownComboBox* cboTableName;
    QLabel* lblCreatePerson;
    DropDownComboBox* cboCreatePerson;
    QLabel* lblChargePerson;
    DropDownComboBox* cboChargePerson;
    QLabel* lblCheckOutPerson;
    DropDownComboBox* cboCheckOutPerson;
    BranchCriterion* m_branch;
    QString m_memberPriceName = QStringLiteral("会员价");
};
