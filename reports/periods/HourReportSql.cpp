#include "reports/periods/HourReportSql.h"

#include "core/cStringBuilder.h"
#include "core/modPublic.h"

#include <QDateTime>
#include <QRegularExpression>

namespace {

// The measures and the range, after the first measure.
void appendMeasures(cStringBuilder& sql, const HourReportCriteria& c)
{
    sql.Append(QStringLiteral("        BillCount   = count(BillID),            "));
    sql.Append(QStringLiteral("        PeopleCount = sum(PeopleCount),         "));
    sql.Append(QStringLiteral("        BillConsume = sum(SumOfConsume),        "));
    sql.Append(QStringLiteral("        BillService = sum(SumOfService),        "));
    sql.Append(QStringLiteral("        BillDiscount= sum(SumForDiscount)       "));
    sql.Append(QStringLiteral("   from bi_Bill as BL (nolock)                  "));
    sql.Append(QStringLiteral("  where BillDate>=? and BillDate<?              "));
    sql.Append(HourReportFilter(c));
}

} // namespace

QString HourReportFilter(const HourReportCriteria& c)
{
    QString sql;
    if (!c.useTrueData)
        sql += QStringLiteral(" and IsDeleted=0 ");
    if (c.saving)
        sql += QStringLiteral(" and TableName<>'会员卡充值'");
    return sql +
           BranchChoiceFilter(c.branch, QStringLiteral("BranchID"), QStringLiteral("BranchName"));
}

QString HourTotalsSql(const HourReportCriteria& c)
{
    cStringBuilder sql;
    sql.Append(QStringLiteral(" select BillTotal   = sum(SumPaid),             "));
    appendMeasures(sql, c);
    return sql.toString();
}

QString HourSalesSql(const HourReportCriteria& c)
{
    cStringBuilder sql;
    sql.Append(QStringLiteral(" select BillHour    = datepart(hh,CreateTime),  "));
    sql.Append(QStringLiteral("        BillTotal   = sum(SumPaid),             "));
    appendMeasures(sql, c);
    sql.Append(QStringLiteral("  group by datepart(hh,CreateTime)              "));
    return sql.toString();
}

QString HourStartSql()
{
    return QStringLiteral("select top 1 BeginTime from dd_Period order by PeriodID");
}

int HourOfDayOpening(const QVariant& beginTime)
{
    int hour = 0;
    if (beginTime.metaType().id() == QMetaType::QDateTime) {
        hour = beginTime.toDateTime().time().hour();
    } else if (beginTime.metaType().id() == QMetaType::QTime) {
        hour = beginTime.toTime().hour();
    } else {
        // A date-time as text ("1899-12-30 06:00:00"): the hour after the date; otherwise the
        // number the text starts with ("06:00" is 6).
        static const QRegularExpression dateTime(
            QStringLiteral("^\\s*\\d{4}-\\d{1,2}-\\d{1,2}[ T](\\d{1,2}):"));
        const QString text = beginTime.toString();
        const QRegularExpressionMatch m = dateTime.match(text);
        hour = m.hasMatch() ? m.captured(1).toInt() : RoundHalfEven(LeadingNumber(text));
    }
    return hour >= 0 && hour <= 23 ? hour : 0;
}
