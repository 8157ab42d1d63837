#include "query/SummaryPlanner.h"

#include "db/Connection.h"
#include "db/Summaries.h"

#include <QRegularExpression>

#include <atomic>

namespace {

std::atomic<int> g_enabled{-1}; // -1: not yet read from the environment
std::atomic<int> g_fromSummaries{0};
std::atomic<int> g_raw{0};

const char* tableOf(SummaryPlanner::Source source)
{
    switch (source) {
    case SummaryPlanner::Source::Bills:
        return "sm_BillDay";
    case SummaryPlanner::Source::Items:
        return "sm_ItemDay";
    case SummaryPlanner::Source::Payments:
        return "sm_PayDay";
    }
    return "";
}

} // namespace

bool SummaryPlanner::enabled()
{
    int on = g_enabled.load();
    if (on < 0) {
        const QString env = qEnvironmentVariable("VTX_SUMMARIES").trimmed().toLower();
        on = env == QLatin1String("off") || env == QLatin1String("0") ? 0 : 1;
        g_enabled.store(on);
    }
    return on != 0;
}

void SummaryPlanner::setEnabled(bool on)
{
    g_enabled.store(on ? 1 : 0);
}

SummaryPlanner::Answers SummaryPlanner::answered()
{
    return {g_fromSummaries.load(), g_raw.load()};
}

void SummaryPlanner::resetAnswered()
{
    g_fromSummaries.store(0);
    g_raw.store(0);
}

QString SummaryPlanner::rewrite(Source source, const QString& raw, const Replacements& replacements)
{
    QString sql = raw;
    for (const auto& [from, to] : replacements) {
        if (!sql.contains(from))
            return {};
        sql.replace(
            from, QString(to).replace(QLatin1String("{summary}"), QLatin1String(tableOf(source))));
    }
    // Every column of the line tables is a column of the summary under the bill's alias; a
    // count of lines is the sum of the summary's counts.
    static const QRegularExpression lineAlias(QStringLiteral("\\b(BI|BP)\\."));
    sql.replace(lineAlias, QStringLiteral("BL."));
    static const QRegularExpression countAll(QStringLiteral("\\bcount\\(\\*\\)"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QString count = source == Source::Bills   ? QStringLiteral("SUM(BL.BillCount)")
                          : source == Source::Items ? QStringLiteral("SUM(BL.ItemCount)")
                                                    : QStringLiteral("SUM(BL.PayCount)");
    sql.replace(countAll, count);
    // A column the summary does not keep (a statement changed since its replacements were
    // written): the bills answer it.
    const QStringList columns = Summaries::columns(QLatin1String(tableOf(source)));
    static const QRegularExpression billColumn(QStringLiteral("\\bBL\\.(\\w+)"));
    for (auto it = billColumn.globalMatch(sql); it.hasNext();)
        if (!columns.contains(it.next().captured(1), Qt::CaseInsensitive))
            return {};
    return sql;
}

QString SummaryPlanner::answerItems(const Connection& connection, bool fits, const QString& raw)
{
    static const Replacements joins[] = {
        {{QStringLiteral(" FROM bi_Bill AS BL,bi_BillItem AS BI "),
          QStringLiteral(" FROM {summary} AS BL ")},
         {QStringLiteral(" WHERE BL.BillID=BI.BillID AND "), QStringLiteral(" WHERE ")}},
        {{QStringLiteral(" FROM bi_BillItem AS BI,bi_Bill AS BL "),
          QStringLiteral(" FROM {summary} AS BL ")},
         {QStringLiteral(" WHERE  BI.BillID=BL.BillID AND "), QStringLiteral(" WHERE ")}},
    };
    for (const Replacements& join : joins)
        if (raw.contains(join.front().first))
            return answer(connection, fits, Source::Items, raw, join);
    return answer(connection, false, Source::Items, raw, {});
}

QString SummaryPlanner::answer(const Connection& connection, bool fits, Source source,
                               const QString& raw, const Replacements& replacements)
{
    if (fits && enabled() && Summaries::installed(connection)) {
        const QString fast = rewrite(source, raw, replacements);
        if (!fast.isEmpty() && Summaries::refresh(connection)) {
            ++g_fromSummaries;
            return fast;
        }
    }
    ++g_raw;
    return raw;
}
