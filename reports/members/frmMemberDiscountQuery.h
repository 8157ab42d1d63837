#pragma once

#include "reports/members/MemberDiscountSql.h"
#include "ui/QueryReportScreen.h"

// The member discount query: per dish and price pair, the lines sold at a price other than the
// list price (the member price), with the quantity, the discount and the discount rate.
class frmMemberDiscountQuery : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmMemberDiscountQuery(QWidget* parent = nullptr);

protected:
    Statement planned(int view, const CriteriaValue& criteria, const Statement& statement) override;
};
