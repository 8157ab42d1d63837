#pragma once

#include "reports/bookings/BookReportSql.h"
#include "ui/QueryReportScreen.h"

// The booking report: the settled bills of a date range that came from a booking, one row per
// bill, with the guest who booked, the salesperson, the bill's discount and invoice, and its
// payment split into one column per payment method beside the amount received.
class frmBookReport : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmBookReport(QWidget* parent = nullptr);

protected:
    void addColumns(int view, QueryColumns& columns) override;
    void afterQuery(int view, Sheet* grid) override;
    QString printHeader() const override;
};
