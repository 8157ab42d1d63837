#pragma once

#include "core/modBranch.h"
#include "query/BranchScope.h"

#include <QString>

class CriteriaBar;

// What the member consumption and member-card payment screens ask for: the member bills of a
// date range, by branch, card type, card number and member name.
struct MemberBillCriteria
{
    BranchChoice branch;
    QString memberType;       // a card type name, empty for every type
    QString cardNumber;       // as typed or read from the card; blank for every card
    QString memberName;       // as typed; blank for every member
    bool useTrueData = false; // include deleted bills
    bool saving = false;      // leave out member-card top-ups
};

// Reads them from cboBranch, cboMemberType, cboMemberCardID, cboMemberName, chkUseTrueData and
// chkSaving; throws std::runtime_error, after telling the user why, when the branch choice
// leaves nothing to query.
void ReadMemberBillCriteria(const CriteriaBar& bar, MemberBillCriteria* criteria);

// The conditions after the bill date range (bills BL, members MB), in their fixed order:
// settled bills, the branch, the card type, the trimmed card number and member name, deleted
// bills, member-card top-ups.
QString MemberBillCondition(const MemberBillCriteria& criteria);

// Member consumption: the bills (view 0), the total per card (view 1), the dishes (view 2);
// two parameters, the begin date and the day after the end date.
QString MemberConsumeSql(int view, const MemberBillCriteria& criteria);

// Member-card payments: the payment lines whose subject is `subject` (view 0), their total per
// card (view 1) and per card type (view 2); parameters as above.
QString PaymentMemberSql(int view, const MemberBillCriteria& criteria, const QString& subject);
