#include "reports/bookings/BookReportSql.h"

#include "core/modBranch.h"
#include "db/SqlText.h"

QString BookReportSql(const BookReportCriteria& c)
{
    QString filter;
    if (!c.bookPerson.isEmpty())
        filter += QStringLiteral("   and BO.BookPerson   = '") + sqlQuote(c.bookPerson) +
                  QLatin1Char('\'');
    if (!c.createPerson.isEmpty())
        filter += QStringLiteral(" and BO.CreatePerson = '") + sqlQuote(c.createPerson) +
                  QLatin1Char('\'');
    filter += BranchIdFilter(c.branches, QStringLiteral("BL.BranchID"));
    return QStringLiteral(" select BL.BillID, BL.BillDate, BL.BillPeriod, BL.TableName,  ") +
           QStringLiteral("        BO.BookID, BO.BookPerson, BO.CreatePerson,            ") +
           QStringLiteral("        BL.DiscountName, BL.DiscountRate, BL.SumForDiscount,  ") +
           QStringLiteral("        BL.SumOfInvoice, BL.SumPaid,                          ") +
           QStringLiteral("        BP.SubjectID, BP.SubjectName, BP.PaySum               ") +
           QStringLiteral("   from bi_Bill as BL, tb_Book as BO, bi_BillPayment as BP    ") +
           QStringLiteral("  where BL.OriginalID=BO.BookID and BL.BillID=BP.BillID       ") +
           QStringLiteral("    and BL.BillDate>=? and BL.BillDate<?           ") + filter +
           QStringLiteral("  order by BL.BillID, BP.SubjectID                            ");
}
