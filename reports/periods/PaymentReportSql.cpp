#include "reports/periods/PaymentReportSql.h"

QString PaymentReportSql(int view, const BranchChoice& branch)
{
    static const char* const kColumns[] = {
        "     SubjectID,SubjectName, ",
        "     BranchID,BranchName, ",
        "     BranchID,BranchName,      SubjectID,SubjectName, ",
    };
    static const char* const kGroups[] = {
        " GROUP BY SubjectID,SubjectName  ORDER BY SubjectID ",
        " GROUP BY BranchID,BranchName  ORDER BY BranchID ",
        " GROUP BY BranchID,BranchName,SubjectID,SubjectName  ORDER BY BranchID,SubjectID ",
    };
    return QStringLiteral(" SELECT ") + QLatin1String(kColumns[view]) +
           QStringLiteral("     COUNT(*) AS theCount1,      SUM(thePaySum) AS thePaySum1, "
                          "     SUM(theSumPaid) AS theSumPaid1  FROM rp_BillPayment_Upload "
                          " WHERE BillDate>=? AND BillDate<? ") +
           BranchChoiceFilter(branch, QStringLiteral("BranchID"), QStringLiteral("BranchName")) +
           QLatin1String(kGroups[view]);
}
