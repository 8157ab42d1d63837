#pragma once

#include "reports/bills/BillItemQuerySql.h"
#include "ui/QueryReportScreen.h"

// The bill item query: the item lines of the settled bills of a date range in four views (the
// lines themselves, summed by item, by department and menu type, by waiter), with ordered,
// returned and consumed quantities and the amounts; gifts left out unless asked for. A double
// click on a line opens its bill.
class frmBillItemQuery : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmBillItemQuery(QWidget* parent = nullptr);

protected:
    // The item and item-type views from the item summaries when the criteria fit them.
    Statement planned(int view, const CriteriaValue& criteria, const Statement& statement) override;
};
