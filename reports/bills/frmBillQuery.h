#pragma once

#include "reports/bills/BillQuerySql.h"
#include "ui/QueryReportScreen.h"

// The bill query: settled bills of a date range, one row per bill, with guests, staff,
// amounts, discount, service charge, tender split, invoice and settlement count, and a totals
// row. Zero-settled bills show blank amounts that count in no total unless "零结账" is ticked;
// bills settled more than once show in red; a double click opens the bill.
class frmBillQuery : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmBillQuery(QWidget* parent = nullptr);

protected:
    void completeCriteria(CriteriaValue& criteria) override;
    void formatGrid(int view, Sheet* grid) override;
    void afterQuery(int view, Sheet* grid) override;
    void formLoad() override;

private:
    void applyCheckOutNullCondition();
};
