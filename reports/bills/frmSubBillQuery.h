#pragma once

#include "reports/bills/SubBillQuerySql.h"
#include "ui/QueryReportScreen.h"

// The returned-items query: every return of an ordered item in the settled bills of a date
// range, with its bill and table, the item, quantity and value returned, who returned it, when
// it was ordered and returned, and the reason given. A double click opens the bill.
class frmSubBillQuery : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmSubBillQuery(QWidget* parent = nullptr);

protected:
    Statement planned(int view, const CriteriaValue& criteria, const Statement& statement) override;
};
