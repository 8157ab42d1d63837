#include "reports/periods/HourReportSql.h"

#include "core/modPublic.h"

#include <QDateTime>
#include <QRegularExpression>

namespace {

// The measures and the range, after the first measure.
Statement measures(const HourReportCriteria& c)
{
    return QStringLiteral("        BillCount   = count(BillID),            ") +
           QStringLiteral("        PeopleCount = sum(PeopleCount),         ") +
           QStringLiteral("        BillConsume = sum(SumOfConsume),        ") +
           QStringLiteral("        BillService = sum(SumOfService),        ") +
           QStringLiteral("        BillDiscount= sum(SumForDiscount)       ") +
           QStringLiteral("   from bi_Bill as BL (nolock)                  ") +
           QStringLiteral("  where ") +
           c.range.bound(QStringLiteral("BillDate"), DateRange::Lower) +
           QStringLiteral("              ") + HourReportFilter(c);
}

} // namespace

Statement HourReportFilter(const HourReportCriteria& c)
{
    Statement sql;
    if (!c.useTrueData)
        sql += QStringLiteral(" and IsDeleted=0 ");
    if (c.saving)
        sql += QStringLiteral(" and TableName<>'会员卡充值'");
    return sql + BranchMark(HourReportBranch);
}

Statement HourTotalsStatement(const HourReportCriteria& c)
{
    return QStringLiteral(" select BillTotal   = sum(SumPaid),             ") + measures(c);
}

Statement HourSalesStatement(const HourReportCriteria& c)
{
    return QStringLiteral(" select BillHour    = datepart(hh,CreateTime),  ") +
           QStringLiteral("        BillTotal   = sum(SumPaid),             ") + measures(c) +
           QStringLiteral("  group by datepart(hh,CreateTime)              ");
}

std::vector<Statement> HourReportStatements(int, const HourReportCriteria& c)
{
    return {HourTotalsStatement(c), HourSalesStatement(c)};
}

SummaryPlanner::Replacements HourTotalsSummaryText()
{
    return {{QStringLiteral("from bi_Bill as BL (nolock)"), QStringLiteral("from {summary} as BL")},
            {QStringLiteral("count(BillID)"),
             SummaryPlanner::countOf(QStringLiteral("BL.CountOfBills"))}};
}

SummaryPlanner::Replacements HourSalesSummaryText()
{
    SummaryPlanner::Replacements text = HourTotalsSummaryText();
    text.push_back({QStringLiteral("datepart(hh,CreateTime)"), QStringLiteral("BL.OpenHour")});
    return text;
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
