#pragma once

#include "reports/members/MemberBillSql.h"
#include "ui/QueryReportScreen.h"

// Member-card payments: the payment lines settled with a member card (the payment subject
// named by the screen's Msg_MemberCard), listed, summed per card and per card type. The other
// tenders of a bill do not count.
class frmPaymentMember : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmPaymentMember(QWidget* parent = nullptr);

protected:
    void completeCriteria(CriteriaValue& criteria) override;
    Statement planned(int view, const CriteriaValue& criteria, const Statement& statement) override;
};
