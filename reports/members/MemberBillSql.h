#pragma once

#include "db/Statement.h"
#include "query/BranchScope.h"
#include "query/ReportCriteria.h"
#include "query/SummaryPlanner.h"

#include <QString>

// What the member consumption and member-card payment screens ask for: the member bills of a
// date range, by branch, card type, card number and member name.
struct MemberBillCriteria : ReportCriteria
{
    QString memberType; // a card type name, empty for every type
    QString cardNumber; // as typed or read from the card; blank for every card
    QString memberName; // as typed; blank for every member
    // The payment subject of member cards as the language in use writes it (the screen's own
    // text "Msg_MemberCard").
    QString subject = QStringLiteral("会员卡");
};

// The member bills carry their branch's id and name.
inline const BranchColumns MemberBillBranch{QStringLiteral("BL.BranchID"),
                                            QStringLiteral("BL.BranchName")};

// The bill date range (bills BL, members MB) and the conditions after it, in their fixed order:
// settled bills, the branch, the card type, the trimmed card number and member name, deleted
// bills, member-card top-ups.
Statement MemberBillCondition(const MemberBillCriteria& criteria);

// Member consumption: the bills (view 0), the total per card (view 1), the dishes (view 2).
Statement MemberConsumeStatement(int view, const MemberBillCriteria& criteria);
constexpr int MemberTotals = 1;
constexpr int MemberDishes = 2;

// Whether the member summary (SummaryPlanner::MemberItems) answers the dishes: for every
// member on file (it keeps no member, so no card, card type or member name chosen).
bool MemberDishesFitSummaries(const MemberBillCriteria& criteria);
// The dishes' statement's lines read from that summary.
SummaryPlanner::Replacements MemberDishesSummaryText();
// The total per card's lines read from the member bills' summary (SummaryPlanner::MemberBills),
// whatever the criteria.
SummaryPlanner::Replacements MemberTotalsSummaryText();

// Member-card payments: the payment lines whose subject is `criteria.subject` (view 0), their
// total per card (view 1) and per card type (view 2).
Statement PaymentMemberStatement(int view, const MemberBillCriteria& criteria);
constexpr int PaymentLines = 0;
// The totals' lines read from the member payments' summary (SummaryPlanner::MemberPayments),
// whatever the criteria.
SummaryPlanner::Replacements MemberPaymentsSummaryText();
