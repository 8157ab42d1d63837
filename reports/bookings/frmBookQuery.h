#pragma once

#include "reports/bookings/BookQuerySql.h"
#include "ui/QueryReportScreen.h"

// The booking query: table bookings by arrival time and/or booking time (each range used when
// its box is ticked, neither: every date), status, type, person in charge and meal period,
// sorted by a chosen column.
class frmBookQuery : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmBookQuery(QWidget* parent = nullptr);

protected:
    QList<QPair<QDate, QDate>> rangesToCheck() const override;
    QString printHeader() const override;
    void formLoad() override;

private:
    // The date ranges ticked: arrival first, then booking.
    QList<QPair<QDate, QDate>> tickedRanges() const;
};
