#pragma once

#include "reports/periods/DailyReportSheet.h"
#include "reports/periods/DailyReportSql.h"
#include "screens/ReportScreen.h"

#include <memory>

class DropDownComboBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class Sheet;
class SheetView;
class BranchCriterion;

// The business income daily report: a one-page sheet `sprDateReport` with money taken per
// payment subject on the left and sales per department type and statistic group, cost,
// expenses and gross profit on the right, each for the business day `dtpToday` and for the
// period `dtpBegin`..`dtpEnd`. Opens the expense entry and the statistic group settings.
class frmDailyReport : public ReportScreen
{
    Q_OBJECT
public:
    explicit frmDailyReport(QWidget* parent = nullptr);
    ~frmDailyReport() override;

    // The criteria as the bar shows them now; false, after telling the user why, when the
    // branch choice leaves nothing to query (`reason` receives the message).
    bool criteria(DailyReportCriteria* c, QString* reason = nullptr);
    // The 28 sheet captions from the language file.
    static QStringList captions();
    Sheet* sheet() const { return m_sheet.get(); }

public slots:
    // The "Save" export without its dialog: filter 1 xls, 2 htm, 3 rpt, 4 txt, 5 xml, or 0 by
    // the file's extension.
    bool saveTo(const QString& path, int filter = 0);

protected:
    void cmdQuery1() override;
    void cmdPrint1() override;
    void toggleFullScreen() override;
    void saveGrid() override;
    Sheet* grid() const override { return m_sheet.get(); }
    void formLoad() override;
    const LanguageSection* languageTexts() const override;
    QList<QList<QWidget*>> englishLayoutRows() const override;

private:
    void layoutSheet();
    void cmdExpense_Click();
    void cmdGroupType_Click();

    std::unique_ptr<Sheet> m_sheet;
    SheetView* sprDateReport;
    std::unique_ptr<DailyReportSheet> m_report;
    QStringList m_captions;

    QLabel* lblToday;
    QDateEdit* dtpToday;
    QLabel* lblBranch;
    DropDownComboBox* cboBranch;
    QLabel* lblCosting;
    QComboBox* cboCosting;
    QPushButton* cmdQuery0;
    QPushButton* cmdExpense;
    QPushButton* cmdGroupType;
    QPushButton* cmdSave;
    BranchCriterion* m_branch;
};
