#pragma once

#include "reports/members/MemberQuerySql.h"
#include "ui/QueryReportScreen.h"

// The member query: member cards with their holder, contact data and running totals, by issue
// date, birthday (a month and a range of its days), card type and state (lost, new, expired),
// sorted by a chosen column, at most a chosen number of rows.
class frmMemberQuery : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmMemberQuery(QWidget* parent = nullptr);

protected:
    void completeCriteria(CriteriaValue& criteria) override;
    QString printHeader() const override;
    void formLoad() override;

private:
    void chooseBirthday(int option);
};
