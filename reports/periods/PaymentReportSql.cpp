#include "reports/periods/PaymentReportSql.h"

Statement PaymentReportStatement(int view, const PaymentReportCriteria& criteria)
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
                          " WHERE ") +
           criteria.range.bound(QStringLiteral("BillDate")) + QStringLiteral(" ") +
           BranchMark(PaymentReportBranch) + QString::fromLatin1(kGroups[view]);
}
