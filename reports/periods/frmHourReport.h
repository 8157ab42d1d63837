#pragma once

#include "reports/periods/HourReportFigures.h"
#include "ui/QueryReportScreen.h"

// The hourly sales report: how the takings of a date range spread over the 24 hours of the
// business day, one row per clock hour in business-day order from the hour the first business
// period opens, and an all-day row. The screen reads the figures itself (two grouped
// statements) and writes every cell of its query control's grid.
class frmHourReport : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmHourReport(QWidget* parent = nullptr);

    // The clock hour of grid row 1: the opening hour of the first business period.
    int startHour() const { return m_startHour; }
    // The grid row of a clock hour: business-day order from the start hour (1 to 24).
    static int rowOfHour(int hour, int startHour) { return (hour - startHour + 24) % 24 + 1; }
    static constexpr int AllDayRow = 25;

protected:
    int writeCells(int view, Sheet* grid, QString* failure) override;
    // The compared range's figures in the same hours, from the same start hour.
    int writeComparedCells(int view, Sheet* sheet, const CriteriaValue& criteria,
                           const CriteriaValue& compared, QString* failure) override;
    // An hour's row opens the bill query on the bills opened in that clock hour, the all-day
    // row on every bill of the range: the bills its figures are made of.
    bool drillTo(int row, int column) override;
    void formatGrid(int view, Sheet* grid) override;
    void formLoad() override;

private:
    void writeRow(Sheet* grid, int row, const HourReportFigures::Sums& sums, Money grand);
    // Reads the figures of `criteria` and writes them into the hours' rows; the totals row.
    int writeFigures(Sheet* grid, const CriteriaValue& criteria, QString* failure);
    void writeHours(Sheet* grid) const; // the 25 rows with their hours, in business-day order
    void readStartHour();               // and writes the hour captions

    int m_startHour = 0;
    bool m_written = false;   // the grid holds figures
    QString m_startHourError; // why the start hour could not be read
};
