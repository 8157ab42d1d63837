#pragma once

#include "reports/members/MemberSummarySql.h"
#include "ui/QueryReportScreen.h"

// The member operation log: card issues, losses, unblocking, renewals, card changes, top-ups,
// consumption, member-card settlements, gifts for points and upgrades, with who did it, where
// and when, and the money and points involved. One view per operation type (the first lists
// them all), each with the columns of its type and its own last result while the user switches
// between types.
class frmMemberSummary : public QueryReportScreen
{
    Q_OBJECT
public:
    explicit frmMemberSummary(QWidget* parent = nullptr);

protected:
    void completeCriteria(CriteriaValue& criteria) override;
    void formLoad() override;
    void fillList(const QString& name, QComboBox* combo) override; // cboCreatePlace
};
