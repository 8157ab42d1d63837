#pragma once

#include "reports/periods/MonthReportFigures.h"
#include "ui/QueryReportScreen.h"

#include <QHash>

// The monthly business income report: one row per business day of the range (the current
// month by default) with its weekday, bill and guest counts, consumption per department type,
// service charge and discount, money taken per payment subject, and a total row. The screen
// reads the figures itself (three grouped statements) and writes them into its query control's
// grid, each into the column keyed as the figure is (MonthReportFigures).
class frmMonthReport : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmMonthReport(QWidget* parent = nullptr);

    // The grid column of each figure's key, from the columns as laid out.
    const QHash<QString, int>& columnMap() const { return m_columns; }

protected:
    int writeCells(int view, Sheet* grid, QString* failure) override;
    // Each day's row beside its compared day (ComparedDate), the totals beside the compared
    // range's.
    int writeComparedCells(int view, Sheet* sheet, const CriteriaValue& criteria,
                           const CriteriaValue& compared, QString* failure) override;
    void formatGrid(int view, Sheet* grid) override;
    void formLoad() override;

private:
    void writeFigures(Sheet* grid, int row, const MonthReportFigures::Figures& figures);
    // The rows of the range's days with their dates and weekdays, and the totals row, without
    // figures; the totals row.
    int writeDays(Sheet* grid, const MonthReportCriteria& c);

    QHash<QString, int> m_columns;
};
