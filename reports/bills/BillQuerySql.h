#pragma once

#include "db/Statement.h"
#include "query/BranchScope.h"
#include "query/ReportCriteria.h"

#include <QString>

// What the bill query's criteria bar asks for. List choices carry the chosen item's text, or
// an empty text for "(全部)" and for a typed text that matches no item.
struct BillQueryCriteria : ReportCriteria
{
    QString billPeriod;
    bool haveDiscount = false;
    bool notOnlyInCash = false;
    bool checkOutNull = false;    // zero-settled bills only
    bool withMemberCheck = false; // discounted at member price
    bool sumOfInvoice = false;
    bool printCount = false; // settled more than once
    bool sumPaid = false;    // receivable differs from received
    QString memberPriceName = QStringLiteral("会员价");
    QString shiftId; // typed text; blanks around it are ignored
    QString createPerson;
    QString chargePerson;
    QString checkOutPerson;
    QString tableName;
    QString tableAreaName;
    QString discountName;
    int orderBy = 0; // 0..16; anything else sorts nothing
    bool descending = false;
    // The bills opened in one clock hour (0 to 23, of CreateTime): an hour report's row drilled
    // down (no control; empty: any hour).
    QString createHour;
    // The bills the takings reports count, zero-settled ones left out: a drill-down from a
    // figure of such a report sets it (no control).
    bool settledOnly = false;
    // The bills of one table area, and of one table in it, by name: a table report's row
    // drilled down (no control).
    QString tableAreaKey;
    QString tableKey;
    // The meal periods a chart's line counts, one name a line: only bills of those periods
    // (a drill-down key, no control; empty: every period).
    QString billPeriods;
};

// The bills carry their branch's id and name.
inline const BranchColumns BillQueryBranch{QStringLiteral("BranchID"),
                                           QStringLiteral("BranchName")};

// The conditions after the date range, in their fixed order, the branch's among them.
Statement BillQueryWhereTail(const BillQueryCriteria& criteria);
// The sort: " ORDER BY <column> " [" DESC "] [" ,BillID "].
QString BillQueryOrderBy(int orderBy, bool descending);
// The statement of the one view, with the range's dates.
Statement BillQueryStatement(int view, const BillQueryCriteria& criteria);

// The sort choices in order: the field each sorts by and its caption.
struct BillQuerySortChoice
{
    const char* field;
    const char* caption;
};
extern const BillQuerySortChoice BillQuerySortChoices[17];
