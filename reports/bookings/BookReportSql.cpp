#include "reports/bookings/BookReportSql.h"

#include "db/SqlText.h"

Statement BookReportStatement(int, const BookReportCriteria& c)
{
    Statement filter;
    if (!c.bookPerson.isEmpty())
        filter += QStringLiteral("   and BO.BookPerson   = '") + sqlQuote(c.bookPerson) +
                  QLatin1Char('\'');
    if (!c.createPerson.isEmpty())
        filter += QStringLiteral(" and BO.CreatePerson = '") + sqlQuote(c.createPerson) +
                  QLatin1Char('\'');
    filter += BranchMark(BookReportBranch);
    return QStringLiteral(" select BL.BillID, BL.BillDate, BL.BillPeriod, BL.TableName,  ") +
           QStringLiteral("        BO.BookID, BO.BookPerson, BO.CreatePerson,            ") +
           QStringLiteral("        BL.DiscountName, BL.DiscountRate, BL.SumForDiscount,  ") +
           QStringLiteral("        BL.SumOfInvoice, BL.SumPaid,                          ") +
           QStringLiteral("        BP.SubjectID, BP.SubjectName, BP.PaySum               ") +
           QStringLiteral("   from bi_Bill as BL, tb_Book as BO, bi_BillPayment as BP    ") +
           QStringLiteral("  where BL.OriginalID=BO.BookID and BL.BillID=BP.BillID       ") +
           QStringLiteral("    and ") +
           c.range.bound(QStringLiteral("BL.BillDate"), DateRange::Lower) +
           QStringLiteral("           ") + filter +
           QStringLiteral("  order by BL.BillID, BP.SubjectID                            ");
}
