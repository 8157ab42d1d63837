#include "query/SummaryPlanner.h"

#include "db/Connection.h"
#include "db/Summaries.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QSet>

#include <atomic>

namespace {

std::atomic<int> g_enabled{-1}; // -1: not yet read from the environment
std::atomic<int> g_fromSummaries{0};
std::atomic<int> g_raw{0};
std::atomic<int> g_fromMonths{0};

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
    case SummaryPlanner::Source::Tables:
        return "sm_TableDay";
    case SummaryPlanner::Source::Discounts:
        return "sm_DiscountDay";
    case SummaryPlanner::Source::Departs:
        return "sm_DepartDay";
    case SummaryPlanner::Source::WaiterItems:
        return "sm_WaiterItemDay";
    case SummaryPlanner::Source::MemberItems:
        return "sm_MemberItemDay";
    case SummaryPlanner::Source::MemberBills:
        return "sm_MemberBillDay";
    case SummaryPlanner::Source::MemberPayments:
        return "sm_MemberPayDay";
    case SummaryPlanner::Source::Returns:
        return "sm_ReturnDay";
    }
    return "";
}

// The summaries of the item lines, fewest rows first. The last keeps every column of the others.
constexpr SummaryPlanner::Source kItemSummaries[] = {
    SummaryPlanner::Source::Departs, SummaryPlanner::Source::Waiters, SummaryPlanner::Source::Items,
    SummaryPlanner::Source::WaiterItems};

QSet<QString> lowerColumns(SummaryPlanner::Source source)
{
    QSet<QString> names;
    for (const QString& c : Summaries::columns(QLatin1String(tableOf(source))))
        names.insert(c.toLower());
    return names;
}

// A date as a statement binds it (a date, or a date and time at midnight, or its text).
QDate dateOf(const QVariant& v)
{
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().date();
    return QDate::fromString(v.toString().left(10), Qt::ISODate);
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
    return {g_fromSummaries.load(), g_raw.load(), g_fromMonths.load()};
}

void SummaryPlanner::resetAnswered()
{
    g_fromSummaries.store(0);
    g_raw.store(0);
    g_fromMonths.store(0);
}

SummaryPlanner::Source SummaryPlanner::itemsSummaryFor(const QString& sql)
{
    static const std::vector<QSet<QString>> kept = [] {
        std::vector<QSet<QString>> k;
        for (Source s : kItemSummaries)
            k.push_back(lowerColumns(s));
        return k;
    }();
    QSet<QString> named;
    static const QRegularExpression word(QStringLiteral("\\w+"));
    for (auto it = word.globalMatch(sql); it.hasNext();) {
        const QString w = it.next().captured(0).toLower();
        if (kept.back().contains(w))
            named.insert(w);
    }
    for (size_t i = 0; i < kept.size(); ++i)
        if (kept[i].contains(named))
            return kItemSummaries[i];
    return kItemSummaries[std::size(kItemSummaries) - 1];
}

QString SummaryPlanner::countOf(const QString& counts)
{
    return QStringLiteral("COALESCE(CAST(SUM(") + counts + QStringLiteral(") AS int),0)");
}

QString SummaryPlanner::rewrite(Source source, const QString& raw, const Replacements& replacements)
{
    const QString table = QLatin1String(tableOf(source));
    QString sql = raw;
    QSet<QString> written; // the columns the replacements write, read as the summary keeps them
    static const QRegularExpression column(QStringLiteral("\\b(BL|BI|BP|SB)\\.(\\w+)"));
    for (const auto& [from, to] : replacements) {
        if (!sql.contains(from))
            return {};
        for (auto it = column.globalMatch(to); it.hasNext();)
            written.insert(it.next().captured(0));
        sql.replace(from, QString(to).replace(QLatin1String("{summary}"), table));
    }
    // A member's column (a card, a name) is read only where the members are still joined: no
    // summary keeps one.
    static const QRegularExpression memberColumn(QStringLiteral("\\bMB\\."));
    if (sql.contains(memberColumn) && !sql.contains(QLatin1String("mb_MemberInfo AS MB")))
        return {};
    // Each column read from the table the summary read it from: a bill's column of the same
    // name as a line's (the bill's waiter, its sums) is not the summary's.
    for (auto it = column.globalMatch(sql); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (!written.contains(m.captured(0)) &&
            Summaries::origin(table, m.captured(2)) != m.captured(1))
            return {};
    }
    // Every column of the line tables is a column of the summary under the bill's alias; a
    // count of lines is the sum of the summary's counts, an integer as a count is (PostgreSQL
    // sums integers as numeric) and 0 over no row.
    static const QRegularExpression lineAlias(QStringLiteral("\\b(BI|BP|SB)\\."));
    sql.replace(lineAlias, QStringLiteral("BL."));
    static const QRegularExpression countAll(QStringLiteral("\\bcount\\(\\*\\)"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QString count =
        source == Source::Bills || source == Source::Tables || source == Source::MemberBills
            ? QStringLiteral("BL.CountOfBills")
        : source == Source::Payments || source == Source::MemberPayments
            ? QStringLiteral("BL.PayCount")
            : QStringLiteral("BL.ItemCount");
    sql.replace(countAll, countOf(count));
    return sql;
}

Statement SummaryPlanner::byMonths(Source source, const Statement& daily)
{
    const QString& sql = daily.text();
    const QString day = QLatin1String(tableOf(source));
    const QString month = QString(day).replace(QLatin1String("Day"), QLatin1String("Month"));
    if (Summaries::columns(month).isEmpty())
        return daily;
    // The summary read once, in whatever case and spacing the statement writes its FROM clause.
    const QRegularExpression from(QStringLiteral("\\bFROM\\s+") + day +
                                      QStringLiteral("\\s+AS\\s+BL\\b"),
                                  QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch fromMatch = from.match(sql);
    if (!fromMatch.hasMatch() || from.match(sql, fromMatch.capturedEnd()).hasMatch())
        return daily;
    const qsizetype at = fromMatch.capturedStart();
    // The range, its dates bound or written between quotes or "#", and the date read nowhere
    // else (not grouped, shown, or compared otherwise). A range through its end date ("<=")
    // holds that date's bills: business dates carry no time of day.
    static const QRegularExpression range(
        QStringLiteral(
            "(?:\\bBL\\.)?\\bBillDate\\s*>=\\s*(\\?|'\\d{4}-\\d\\d-\\d\\d'|#\\d{4}-\\d\\d-\\d\\d#)"
            "\\s*and\\s+(?:BL\\.)?BillDate\\s*(<=?)\\s*(\\?|'\\d{4}-\\d\\d-\\d\\d'|#\\d{4}-\\d\\d-"
            "\\d\\d#)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression anyDate(QStringLiteral("\\bBillDate\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = range.match(sql);
    int dates = 0;
    for (auto it = anyDate.globalMatch(sql); it.hasNext(); it.next())
        ++dates;
    if (!m.hasMatch() || dates != 2 ||
        (m.captured(1) == QLatin1String("?")) != (m.captured(3) == QLatin1String("?")))
        return daily;
    const auto markersBefore = [&](qsizetype position) {
        return int(QStringView(sql).left(position).count(QLatin1Char('?')));
    };
    const auto dateIn = [&](int group) {
        const QString text = m.captured(group);
        if (text != QLatin1String("?"))
            return QDate::fromString(text.mid(1, 10), Qt::ISODate);
        const int i = markersBefore(m.capturedStart(group));
        return i < daily.parameters().size() ? dateOf(daily.parameters().at(i)) : QDate();
    };
    const bool throughEnd = m.captured(2) == QLatin1String("<=");
    const QDate begin = dateIn(1), end = dateIn(3);
    if (!begin.isValid() || !end.isValid())
        return daily;
    const QDate after = throughEnd ? end.addDays(1) : end;
    const QDate firstWhole =
        begin.day() == 1 ? begin : QDate(begin.year(), begin.month(), 1).addMonths(1);
    const QDate afterWhole(after.year(), after.month(), 1);
    if (!(firstWhole < afterWhole))
        return daily;

    // The columns the statement names (any word of its text that is a column of the summary).
    QSet<QString> words;
    static const QRegularExpression word(QStringLiteral("\\w+"));
    for (auto it = word.globalMatch(sql); it.hasNext();)
        words.insert(it.next().captured(0).toLower());
    QStringList columns{QStringLiteral("BillDate")};
    for (const QString& c : Summaries::columns(day))
        if (c != columns.front() && words.contains(c.toLower()))
            columns << c;
    const QString rest = QStringList(columns.mid(1)).join(QLatin1Char(','));
    const QString tail = rest.isEmpty() ? QString() : QLatin1Char(',') + rest;

    const bool bound = m.captured(1) == QLatin1String("?");
    const QChar quote = bound ? QChar() : m.captured(1).front();
    QVariantList added;
    const auto dateText = [&](const QDate& d) {
        if (bound) {
            added << d;
            return QStringLiteral("?");
        }
        return quote + d.toString(Qt::ISODate) + quote;
    };
    // One after another: each date's marker is written in the order its value is added.
    QString parts = QStringLiteral("SELECT BillMonth AS BillDate") + tail +
                    QStringLiteral(" FROM ") + month + QStringLiteral(" WHERE BillMonth>=");
    parts += dateText(firstWhole);
    parts += QStringLiteral(" AND BillMonth<");
    parts += dateText(afterWhole);
    const auto days = [&](const QDate& first, const QString& before, const QDate& last) {
        parts += QStringLiteral(" UNION ALL SELECT BillDate") + tail + QStringLiteral(" FROM ") +
                 day + QStringLiteral(" WHERE BillDate>=");
        parts += dateText(first);
        parts += QStringLiteral(" AND BillDate") + before;
        parts += dateText(last);
    };
    if (begin < firstWhole)
        days(begin, QStringLiteral("<"), firstWhole);
    if (afterWhole < after)
        days(afterWhole, m.captured(2), end);

    QVariantList parameters = daily.parameters();
    const int insertAt = markersBefore(at);
    for (int i = 0; i < added.size(); ++i)
        parameters.insert(insertAt + i, added.at(i));
    QString text = sql;
    text.replace(at, fromMatch.capturedLength(),
                 QStringLiteral("FROM (") + parts + QStringLiteral(") AS BL"));
    return Statement(text, parameters);
}

Statement SummaryPlanner::answerItems(const Connection& connection, bool fits, const Statement& raw)
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
        if (raw.text().contains(join.front().first))
            return answer(connection, fits, Source::Items, raw, join);
    return answer(connection, false, Source::Items, raw, {});
}

Statement SummaryPlanner::answerJoined(const Connection& connection, bool fits,
                                       const Statement& statement)
{
    static const QRegularExpression anyBillTable(QStringLiteral("\\bbi_Bill"),
                                                 QRegularExpression::CaseInsensitiveOption);
    const QString& raw = statement.text();
    if (!raw.contains(anyBillTable))
        return statement;
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
        return answer(connection, fits, f.source, statement,
                      {{m.captured(0), QStringLiteral("FROM {summary} AS BL") + m.captured(1) +
                                           QStringLiteral(" WHERE ")}});
    }
    return answer(connection, false, Source::Items, statement, {});
}

Statement SummaryPlanner::answerReturns(const Connection& connection, const Statement& raw)
{
    static const QRegularExpression joinAndRange(
        QStringLiteral(
            "\\bFROM\\s+bi_Bill\\s+AS\\s+BL\\s*,\\s*bi_BillItem\\s+AS\\s+BI\\s*,\\s*"
            "bi_SubBill\\s+AS\\s+SB\\s+WHERE\\s+BL\\.BillID\\s*=\\s*BI\\.BillID\\s+AND\\s+"
            "BI\\.BillItemID\\s*=\\s*SB\\.BillItemID\\s+AND\\s+SB\\.SubBillType\\s*=\\s*2\\s+"
            "AND\\s+BL\\.BillDate\\s*>=\\s*\\?\\s*AND\\s+BL\\.BillDate\\s*(<=?)\\s*\\?"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression orderTime(
        QStringLiteral("\\bBI\\.CreateTime\\s+as\\s+OrderTime\\b"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch join = joinAndRange.match(raw.text());
    const QRegularExpressionMatch time = orderTime.match(raw.text());
    if (!join.hasMatch() || !time.hasMatch())
        return answer(connection, false, Source::Returns, raw, {});
    return answer(connection, true, Source::Returns, raw,
                  {{join.captured(0), QStringLiteral("FROM {summary} AS BL WHERE "
                                                     "BL.BillDate>=? AND BL.BillDate") +
                                          join.captured(1) + QLatin1Char('?')},
                   {time.captured(0), QStringLiteral("BL.ItemTime as OrderTime")}});
}

Statement SummaryPlanner::answer(const Connection& connection, bool fits, Source source,
                                 const Statement& raw, const Replacements& replacements)
{
    if (fits && enabled() && Summaries::installed(connection)) {
        if (source == Source::Items)
            source = itemsSummaryFor(raw.text());
        const QString fast = rewrite(source, raw.text(), replacements);
        if (!fast.isEmpty() && Summaries::refresh(connection)) {
            ++g_fromSummaries;
            Statement answered = byMonths(source, Statement(fast, raw.parameters()));
            if (answered.text() != fast)
                ++g_fromMonths;
            return answered;
        }
    }
    ++g_raw;
    return raw;
}
