#include "reports/charts/ChartLineSql.h"

#include "db/SqlText.h"
#include "screens/MealPeriodBoxes.h"

namespace {

QString billFilter(const ChartLineCriteria& c)
{
    QString sql = MealPeriodCondition(QStringLiteral("BillPeriod"), c.periods, QStringLiteral("'"));
    if (!c.useTrueData)
        sql += QStringLiteral(" AND IsDeleted=0 ");
    if (c.saving)
        sql += QStringLiteral(" AND TableName<>'会员卡充值'");
    return sql;
}

} // namespace

QString MenuLineSql(const MenuLineCriteria& c)
{
    QString where = billFilter(c);
    if (c.gifts == MenuLineCriteria::WithoutGifts)
        where += QStringLiteral(" AND BI.IsSentMenu=0  ");
    else if (c.gifts == MenuLineCriteria::GiftsOnly)
        where += QStringLiteral(" AND BI.IsSentMenu<>0 ");
    where += QStringLiteral(" AND BL.CheckOutNull=0 ");
    where += BranchChoiceFilter(c.branch, QStringLiteral("BL.BranchID"),
                                QStringLiteral("BL.BranchName"));

    static const char* const Columns[] = {" AND DepartTypeName ='", " AND MenuTypeName ='",
                                          " AND MenuName ='"};
    const QString subject =
        QString::fromLatin1(Columns[c.subject]) + sqlQuote(c.subjectName) + QLatin1Char('\'');
    const QString measure = c.quantity ? QStringLiteral(" SUM(BI.AmountOrder-BI.AmountCancel) ")
                                       : QStringLiteral(" SUM(BI.SumOfConsume) ");
    return QStringLiteral(" SELECT BillDate, ") + measure + QStringLiteral(" AS TotalSum ") +
           QStringLiteral(" FROM bi_Bill AS BL,bi_BillItem AS BI ") +
           QStringLiteral(" WHERE BL.BillID=BI.BillID AND BillDate>=? AND BillDate<? ") + where +
           subject + QStringLiteral(" GROUP BY BillDate ") + QStringLiteral(" ORDER BY BillDate ");
}

QString TrendLineMeasure(int kind)
{
    switch (kind) {
    case 1:
        return QStringLiteral("SUM(PeopleCount)");
    case 2:
        return QStringLiteral("COUNT(*)");
    default:
        return QStringLiteral("SUM(SumPaid)");
    }
}

QString TrendLineSql(const TrendLineCriteria& c)
{
    const QString where = billFilter(c) + BranchChoiceFilter(c.branch, QStringLiteral("BranchID"),
                                                             QStringLiteral("BranchName"));
    return QStringLiteral(" SELECT BillDate, ") + TrendLineMeasure(c.kind) +
           QStringLiteral(" AS TotalSum ") + QStringLiteral(" FROM bi_Bill AS BL ") +
           QStringLiteral(" WHERE 1=1 AND BillDate>=? AND BillDate<? AND CheckOutNull=0 ") + where +
           QStringLiteral(" GROUP BY BillDate ") + QStringLiteral(" ORDER BY BillDate ");
}
