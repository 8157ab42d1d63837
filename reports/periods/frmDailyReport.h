#pragma once

#include "reports/periods/DailyReportSheet.h"
#include "reports/periods/DailyReportSql.h"
#include "ui/ReportScreen.h"

#include <memory>

class Sheet;
class SheetView;

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

    // The 28 sheet captions from the language file.
    QStringList captions() const;
    Sheet* sheet() const { return m_sheet.get(); }

    Sheet* grid() const override { return m_sheet.get(); }

protected:
    void cmdQuery1() override;
    void formLoad() override;
    // The sheet carries its own title and dates: printed and exported as it is.
    void preparePrint(Sheet*) const override {}
    // A figure's bills or item lines (DailyReportSheet::sourceAt), for the business day or the
    // period of the last refresh: the bill query, the payment query's lines or the bill item
    // query's lines; a cell with none behind it says so.
    bool drillTo(int row, int column) override;

private:
    QString layoutSheet(); // the reason a list behind the rows could not be read, or empty
    void cmdExpense_Click();
    void cmdGroupType_Click();

    std::unique_ptr<Sheet> m_sheet;
    SheetView* sprDateReport;
    std::unique_ptr<DailyReportSheet> m_report;
    QStringList m_captions;
    // The dates of the figures shown: the business day and the period (invalid before a
    // refresh).
    QDate m_shownDay, m_shownBegin, m_shownEnd;
};
