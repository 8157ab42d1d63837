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

private:
    void drawSlices(const QString& title);

    std::vector<DepartSlice> m_slices;
};
