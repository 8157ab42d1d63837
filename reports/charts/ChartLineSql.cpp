#include "reports/charts/ChartLineSql.h"

#include "db/SqlText.h"
#include "query/StatementFragments.h"


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

Statement MenuLineStatement(int, const MenuLineCriteria& c)
{
    Statement where = billFilter(c);
    if (c.gifts == MenuLineCriteria::WithoutGifts)
        where += QStringLiteral(" AND BI.IsSentMenu=0  ");
    else if (c.gifts == MenuLineCriteria::GiftsOnly)
        where += QStringLiteral(" AND BI.IsSentMenu<>0 ");
    where += QStringLiteral(" AND BL.CheckOutNull=0 ");
    where += BranchMark(MenuLineBranch);

    static const char* const Columns[] = {" AND DepartTypeName ='", " AND MenuTypeName ='",
                                          " AND MenuName ='"};
    const int kind = c.subject < MenuLineCriteria::DepartType || c.subject > MenuLineCriteria::Menu
                         ? int(MenuLineCriteria::DepartType)
                         : c.subject;
    const QString subject =
        QString::fromLatin1(Columns[kind]) + sqlQuote(c.subjectName) + QLatin1Char('\'');
    const QString measure = c.quantity ? QStringLiteral(" SUM(BI.AmountOrder-BI.AmountCancel) ")
                                       : QStringLiteral(" SUM(BI.SumOfConsume) ");
    return QStringLiteral(" SELECT BillDate, ") + measure + QStringLiteral(" AS TotalSum ") +
           QStringLiteral(" FROM bi_Bill AS BL,bi_BillItem AS BI ") +
           QStringLiteral(" WHERE BL.BillID=BI.BillID AND ") +
           c.range.bound(QStringLiteral("BillDate")) + QStringLiteral(" ") + where + subject +
           QStringLiteral(" GROUP BY BillDate ") + QStringLiteral(" ORDER BY BillDate ");
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

Statement TrendLineStatement(int, const TrendLineCriteria& c)
{
    return QStringLiteral(" SELECT BillDate, ") + TrendLineMeasure(c.kind) +
           QStringLiteral(" AS TotalSum ") + QStringLiteral(" FROM bi_Bill AS BL ") +
           QStringLiteral(" WHERE 1=1 AND ") + c.range.bound(QStringLiteral("BillDate")) +
           QStringLiteral(" AND CheckOutNull=0 ") + billFilter(c) + BranchMark(TrendLineBranch) +
           QStringLiteral(" GROUP BY BillDate ") + QStringLiteral(" ORDER BY BillDate ");
}
