#pragma once

#include "ui/QueryReportScreen.h"

class Money;

// The table report: business per dining table grouped by area, or per area, over a date
// range: bills (table openings), guests, consumption, service, discount and money received,
// with the money received per bill and per guest. Every table of the floor plan is listed, those
// without business too unless "only with business" is ticked.
class frmTableReport : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmTableReport(QWidget* parent = nullptr);

    // `amount` / `count` rounded half away from zero to the cent; `count` not zero.
    static Money average(const Money& amount, double count);

protected:
    Statement planned(int view, const CriteriaValue& criteria, const Statement& statement) override;
    void formatGrid(int view, Sheet* grid) override;
    // The averages of every row, subtotal and total rows included, from the row's own sums.
    void afterQuery(int view, Sheet* grid) override;
};
