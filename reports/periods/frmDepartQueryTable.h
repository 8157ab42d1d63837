#pragma once

#include "ui/QueryReportScreen.h"

// The department item statistics: every item sold over a date range with quantity, amount,
// discount, net amount and average selling price, filtered by department type, menu type and a
// band of the average price, sorted on any column.
class frmDepartQueryTable : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmDepartQueryTable(QWidget* parent = nullptr);

protected:
    void formLoad() override;
    Statement planned(int view, const CriteriaValue& criteria, const Statement& statement) override;
};
