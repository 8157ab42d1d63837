#pragma once

#include "reports/periods/PaymentQuerySql.h"
#include "ui/QueryReportScreen.h"

// The bill payment details and summary: how the settled bills of a date range were paid, every
// payment line (with the bill's amount due repeated on each line, not totalled), or the lines
// summed per payment subject, or per subject and cashier. A double click on a detail line opens
// its bill; one on a summed row opens that row's payment lines (the totals row: all of them).
class frmPaymentQuery : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmPaymentQuery(QWidget* parent = nullptr);

protected:
    Statement planned(int view, const CriteriaValue& criteria, const Statement& statement) override;
};
