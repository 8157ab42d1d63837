#pragma once

#include "reports/bills/BillAccountQuerySql.h"
#include "screens/QueryReportScreen.h"

// The account transfer query: bill amounts settled by charging them to an account, listed one
// by one (a double click opens the bill) or summed by kind of transfer and tender.
class frmBillAccountQuery : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmBillAccountQuery(QWidget* parent = nullptr);

    BillAccountQueryCriteria criteria() const;

protected:
    QString viewSql(int view) override;
};
