#pragma once

#include "ui/QueryReportScreen.h"

// The cashier daily report: the payment totals the branches uploaded for each day, summed over
// a date range by tender, by branch, or by branch and tender, with the number of uploaded rows.
class frmPaymentReport : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmPaymentReport(QWidget* parent = nullptr);
};
