#pragma once

#include "reports/bills/BillLogQuerySql.h"
#include "ui/QueryReportScreen.h"

// The bill operation log: discounts, table transfers and merges, cancelled pre-settlements,
// changes of service rate, guest count, item quantity or price, and reverse settlements made in
// a period, on open and settled bills alike, in the order they were made. A double click opens
// the bill when it is a settled one; a bill still open opens nothing. Only the operations on
// bills of the user's branches are listed (a settled bill's branch, an open bill's table's).
class frmBillLogQuery : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmBillLogQuery(QWidget* parent = nullptr);

protected:
    void cmdOpen() override; // says so when the bill is of a branch the user may not see
};
