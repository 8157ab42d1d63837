#pragma once

#include "db/Statement.h"
#include "query/BranchScope.h"
#include "query/ReportCriteria.h"
#include "query/SummaryPlanner.h"

#include <QString>

// What the payment query's criteria bar asks for. List choices carry the chosen item's text, or
// an empty text for "(全部)".
struct PaymentQueryCriteria : ReportCriteria
{
    QString shiftId; // typed; blanks around it are ignored
    QString tableAreaName;
    QString billPeriod;
    QString subjectName; // keeps only the payment lines of that subject
    QString checkOutPerson;
    QString createPerson;
    // One subject and one cashier exactly, by name: the keys of a row summed by subject (and
    // cashier) when a drill-down opens its payment lines (no control).
    QString subjectKey;
    QString cashierKey;
    // Set by a drill-down (no control): the payment lines of one subject by its id, or of the
    // visible subjects of a balance type ("0" income, "1" expense).
    QString subjectId;
    QString balanceType;
};

// The bills carry their branch's id and name.
inline const BranchColumns PaymentQueryBranch{QStringLiteral("BL.BranchID"),
                                              QStringLiteral("BL.BranchName")};

// The views: every payment line, the lines summed per subject, per subject and cashier.
enum class PaymentView
{
    Detail,
    BySubject,
    BySubjectAndCashier
};

// The conditions after the date range, in their fixed order, the branch's among them.
Statement PaymentQueryCondition(const PaymentQueryCriteria& c);
// The statement of a view (PaymentView).
Statement PaymentQueryStatement(int view, const PaymentQueryCriteria& c);
// Whether the payment summaries answer a view: the summed views, unless a shift, a table area or
// the one who opened the bill is chosen (kept on the bills alone).
bool PaymentQueryFitsSummaries(int view, const PaymentQueryCriteria& c);
// Where the statement's bill tables and their join stand, for the payment summaries.
SummaryPlanner::Replacements PaymentQuerySummaryText();
