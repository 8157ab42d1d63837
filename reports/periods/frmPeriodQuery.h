#pragma once

#include "reports/periods/PeriodQuerySql.h"
#include "screens/QueryReportScreen.h"

// The sales analysis by business period: for a date range, what each menu item, menu type,
// department or department type sold in each business period of the period list and over the
// whole day, one column group per period. The query control splits the rows by period with
// conditional sums; a bill whose period is not in the list counts in the all-day group only.
class frmPeriodQuery : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmPeriodQuery(QWidget* parent = nullptr);

    // The criteria as the bar shows them now; throws std::runtime_error, after telling the
    // user why, when the branch choice leaves nothing to query.
    PeriodQueryCriteria criteria() const;

protected:
    QString viewSql(int view) override;
    QVariantList viewParameters(int) override { return {}; } // the dates are in the text
    void formLoad() override;
};
