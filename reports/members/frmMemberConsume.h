#pragma once

#include "reports/members/MemberBillSql.h"
#include "ui/QueryReportScreen.h"

// Member consumption: what member-card holders consumed in a date range, as the list of their
// bills, the total per card, or the dishes they ordered. The card number can be typed or
// swiped on a card reader.
class frmMemberConsume : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmMemberConsume(QWidget* parent = nullptr);

protected:
    Statement planned(int view, const CriteriaValue& criteria, const Statement& statement) override;
};
