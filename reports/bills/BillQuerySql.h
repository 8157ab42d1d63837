#pragma once

#include "core/modBranch.h"

#include <QString>

// What the bill query's criteria bar asks for. List choices carry the chosen item's text, or
// an empty text for "(全部)" and for a typed text that matches no item.
struct BillQueryCriteria
{
    QString billPeriod;
    bool useTrueData = false; // include deleted bills
    bool saving = false;      // leave out member-card top-ups
    bool haveDiscount = false;
    bool notOnlyInCash = false;
    bool checkOutNull = false;    // zero-settled bills only
    bool withMemberCheck = false; // discounted at member price
    bool sumOfInvoice = false;
    bool printCount = false; // settled more than once
    bool sumPaid = false;    // receivable differs from received
    QString memberPriceName = QStringLiteral("会员价");
    BranchChoice branch;
    QString shiftId; // typed text; blanks around it are ignored
    QString createPerson;
    QString chargePerson;
    QString checkOutPerson;
    QString tableName;
    QString tableAreaName;
    QString discountName;
    int orderBy = 0; // 0..16; anything else sorts nothing
    bool descending = false;
};

// The conditions appended after "BillDate>=? AND BillDate<?", in their fixed order.
QString BillQueryWhereTail(const BillQueryCriteria& criteria);
// The sort: " ORDER BY <column> " [" DESC "] [" ,BillID "].
QString BillQueryOrderBy(int orderBy, bool descending);
// The whole statement; its two parameters are the begin date and the day after the end date.
QString BillQuerySql(const BillQueryCriteria& criteria);

// The sort choices in order: the field each sorts by and its caption.
struct BillQuerySortChoice
{
    const char* field;
    const char* caption;
};
extern const BillQuerySortChoice BillQuerySortChoices[17];
