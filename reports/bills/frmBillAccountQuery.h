#pragma once

#include "reports/bills/BillAccountQuerySql.h"
#include "ui/QueryReportScreen.h"

// The account transfer query: bill amounts settled by charging them to an account, listed one
// by one (a double click opens the bill) or summed by kind of transfer and tender; only the
// transfers of bills of the user's branches.
class frmBillAccountQuery : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmBillAccountQuery(QWidget* parent = nullptr);

protected:
    void cmdOpen() override; // says so when the bill is of a branch the user may not see
};
