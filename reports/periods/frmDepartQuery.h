#pragma once

#include "reports/periods/DepartQuerySql.h"
#include "ui/ChartReportScreen.h"

// The department share chart: the sales amount per department type, department or menu type
// (or a department or menu type within its department type) over a date range and the ticked
// meal periods, drawn as a pie with each slice's amount and share; groups below the smallest
// share asked for are folded into one "others" slice. Choosing another grouping redraws.
class frmDepartQuery : public ChartReportScreen
{
    Q_OBJECT
public:
    explicit frmDepartQuery(QWidget* parent = nullptr);

    // The slices of the last refresh.
    const std::vector<DepartSlice>& slices() const { return m_slices; }

protected:
    void cmdQuery1() override;
    void formLoad() override;
    // Slice ROW (from 1, in the order the chart lists them) opens the bill item query's lines of
    // its group, or of every group folded into "others", with the chart's dates, meal periods and
    // the options it shares by name (branch, deleted data, top-ups, gifts): the lines add up to
    // the slice's amount.
    bool drillTo(int row, int column) override;
    // The slices are the chart's series.
    bool drillToPoint(int series, int point) override;

private:
    void drawSlices(const QString& title);

    std::vector<DepartSlice> m_slices;
    // What the slices were drawn from, beyond the criteria of the refresh a drill-down takes.
    QStringList m_fields; // the grouping's fields (DepartGroupFields)
    QStringList m_periods;
};
