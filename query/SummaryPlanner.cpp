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
    case SummaryPlanner::Source::Waiters:
        return "sm_WaiterDay";
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

QString SummaryPlanner::countOf(const QString& counts)
{
    return QStringLiteral("COALESCE(CAST(SUM(") + counts + QStringLiteral(") AS int),0)");
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
    // count of lines is the sum of the summary's counts, an integer as a count is (PostgreSQL
    // sums integers as numeric) and 0 over no row.
    static const QRegularExpression lineAlias(QStringLiteral("\\b(BI|BP)\\."));
    sql.replace(lineAlias, QStringLiteral("BL."));
    static const QRegularExpression countAll(QStringLiteral("\\bcount\\(\\*\\)"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QString count = source == Source::Bills      ? QStringLiteral("BL.CountOfBills")
                          : source == Source::Payments ? QStringLiteral("BL.PayCount")
                                                       : QStringLiteral("BL.ItemCount");
    sql.replace(countAll, countOf(count));
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

QString SummaryPlanner::answerJoined(const Connection& connection, bool fits, const QString& raw)
{
    static const QRegularExpression anyBillTable(QStringLiteral("\\bbi_Bill"),
                                                 QRegularExpression::CaseInsensitiveOption);
    if (!raw.contains(anyBillTable))
        return raw;
    struct Form
    {
        Source source;
        QRegularExpression pattern; // group 1: tables after the line table's, kept
    };
    const auto form = [](Source source, const char* pattern) {
        return Form{source, QRegularExpression(QString::fromLatin1(pattern),
                                               QRegularExpression::CaseInsensitiveOption)};
    };
    static const Form forms[] = {
        form(Source::Items, "\\bFROM\\s+bi_Bill\\s+AS\\s+BL\\s*,\\s*bi_BillItem\\s+AS\\s+BI()\\s+"
                            "WHERE\\s+BL\\.BillID\\s*=\\s*BI\\.BillID\\s+AND\\b"),
        form(Source::Items, "\\bFROM\\s+bi_BillItem\\s+AS\\s+BI\\s*,\\s*bi_Bill\\s+AS\\s+BL()\\s+"
                            "WHERE\\s+BI\\.BillID\\s*=\\s*BL\\.BillID\\s+AND\\b"),
        form(Source::Payments, "\\bFROM\\s+bi_Bill\\s+AS\\s+BL\\s*,\\s*bi_BillPayment\\s+AS\\s+BP(("
                               "?:\\s*,\\s*\\w+\\s+AS\\s+"
                               "\\w+)*)\\s+WHERE\\s+BL\\.BillID\\s*=\\s*BP\\.BillID\\s+AND\\b"),
        form(Source::Bills, "\\bFROM\\s+bi_Bill(?:\\s+AS\\s+BL)?()\\s+WHERE\\b"),
    };
    for (const Form& f : forms) {
        const QRegularExpressionMatch m = f.pattern.match(raw);
        if (!m.hasMatch())
            continue;
        // One reading of the bill tables: a statement that reads them again elsewhere (a
        // subquery, a union) is left to the bills.
        if (raw.indexOf(anyBillTable, m.capturedEnd()) >= 0 ||
            raw.lastIndexOf(anyBillTable, m.capturedStart()) >= 0)
            break;
        return answer(connection, fits, f.source, raw,
                      {{m.captured(0), QStringLiteral("FROM {summary} AS BL") + m.captured(1) +
                                           QStringLiteral(" WHERE ")}});
    }
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
