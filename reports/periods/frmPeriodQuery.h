#pragma once

#include "reports/periods/PeriodQuerySql.h"
#include "ui/QueryReportScreen.h"

// The sales analysis by business period: for a date range, what each menu item, menu type,
// department or department type sold in each business period of the period list and over the
// whole day, one column group per period. The query control splits the rows by period with
// conditional sums; a bill whose period is not in the list counts in the all-day group only.
class frmPeriodQuery : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmPeriodQuery(QWidget* parent = nullptr);

protected:
    void completeCriteria(CriteriaValue& criteria) override;
    Statement planned(int view, const CriteriaValue& criteria, const Statement& statement) override;
    void formLoad() override;
};
