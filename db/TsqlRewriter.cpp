#include "db/TsqlRewriter.h"

#include "db/SqlError.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSet>
#include <QVector>

namespace {

using Kind = TsqlRewriter::Kind;
using Token = TsqlRewriter::Token;

bool isWordStart(QChar c)
{
    return c.isLetter() || c == u'_' || c == u'@' || c == u'#';
}
bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'@' || c == u'$' || c == u'#';
}

QString dateLiteral(const QString& text, bool* ok)
{
    static const QRegularExpression dateOnly(
        QStringLiteral("^(\\d{4})[-/](\\d{1,2})[-/](\\d{1,2})$"));
    static const QRegularExpression dateTime(QStringLiteral(
        "^(\\d{4})[-/](\\d{1,2})[-/](\\d{1,2})[ T](\\d{1,2}):(\\d{2})(?::(\\d{2}))?(?:\\.\\d+)?$"));
    const QString t = text.trimmed();
    QRegularExpressionMatch m = dateOnly.match(t);
    int h = 0, mi = 0, s = 0;
    if (!m.hasMatch()) {
        m = dateTime.match(t);
        if (!m.hasMatch()) {
            *ok = false;
            return {};
        }
        h = m.captured(4).toInt();
        mi = m.captured(5).toInt();
        s = m.captured(6).toInt();
    }
    const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const QTime tm(h, mi, s);
    *ok = d.isValid() && tm.isValid();
    return QDateTime(d, tm).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QVector<Token> tokenize(const QString& sql)
{
    QVector<Token> tokens;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    auto push = [&](Kind k, qsizetype from, qsizetype to) {
        tokens.push_back(Token{k, sql.mid(from, to - from), {}, {}, {}, false, 0, -1});
    };
    while (i < n) {
        const QChar c = sql.at(i);
        const qsizetype start = i;
        if (c.isSpace()) {
            while (i < n && sql.at(i).isSpace())
                ++i;
            push(Kind::Space, start, i);
        } else if (c == u'-' && i + 1 < n && sql.at(i + 1) == u'-') {
            while (i < n && sql.at(i) != u'\n')
                ++i;
            push(Kind::Comment, start, i);
        } else if (c == u'/' && i + 1 < n && sql.at(i + 1) == u'*') {
            const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
            if (end < 0)
                throw SqlError(QStringLiteral("unterminated comment in: %1").arg(sql));
            i = end + 2;
            push(Kind::Comment, start, i);
        } else if (c == u'\'' ||
                   ((c == u'N' || c == u'n') && i + 1 < n && sql.at(i + 1) == u'\'')) {
            const qsizetype open = c == u'\'' ? i : i + 1;
            i = open + 1;
            for (;;) {
                if (i >= n)
                    throw SqlError(QStringLiteral("unterminated string literal in: %1").arg(sql));
                if (sql.at(i) == u'\'') {
                    if (i + 1 < n && sql.at(i + 1) == u'\'') {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            tokens.push_back(
                Token{Kind::String, sql.mid(open, i - open), {}, {}, {}, false, 0, -1});
        } else if (c == u'[' || c == u'"' || c == u'`') {
            const QChar close = c == u'[' ? QChar(u']') : c;
            const qsizetype end = sql.indexOf(close, i + 1);
            if (end < 0)
                throw SqlError(QStringLiteral("unterminated quoted name in: %1").arg(sql));
            i = end + 1;
            push(Kind::Ident, start, i);
        } else if (c == u'#' && i + 1 < n && sql.at(i + 1).isDigit()) {
            const qsizetype end = sql.indexOf(u'#', i + 1);
            if (end < 0 || end - i > 30)
                throw SqlError(QStringLiteral("unterminated date literal in: %1").arg(sql));
            i = end + 1;
            push(Kind::Date, start, i);
        } else if (isWordStart(c)) {
            while (i < n && isWordChar(sql.at(i)))
                ++i;
            push(Kind::Word, start, i);
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && sql.at(i + 1).isDigit())) {
            while (i < n && (sql.at(i).isDigit() || sql.at(i) == u'.'))
                ++i;
            if (i < n && (sql.at(i) == u'e' || sql.at(i) == u'E') && i + 1 < n &&
                (sql.at(i + 1).isDigit() || sql.at(i + 1) == u'-' || sql.at(i + 1) == u'+')) {
                i += 2;
                while (i < n && sql.at(i).isDigit())
                    ++i;
            }
            push(Kind::Number, start, i);
        } else if (c == u'?') {
            ++i;
            push(Kind::Param, start, i);
        } else {
            static const QStringList twoChar = {QStringLiteral("<>"), QStringLiteral("<="),
                                                QStringLiteral(">="), QStringLiteral("!="),
                                                QStringLiteral("||"), QStringLiteral("!<"),
                                                QStringLiteral("!>")};
            i += (i + 1 < n && twoChar.contains(sql.mid(i, 2))) ? 2 : 1;
            push(Kind::Punct, start, i);
        }
    }
    return tokens;
}

} // namespace

const QSet<QString>& TsqlRewriter::keywords()
{
    static const QSet<QString> set = {
        "select", "from", "where", "and", "or", "not", "in", "exists", "values", "on", "as", "join",
        "when", "then", "else", "case", "is", "like", "by", "having", "union", "all", "any", "some",
        "between", "into", "table", "with", "over", "using", "distinct", "set", "limit", "offset",
        "glob", "escape", "filter", "partition", "except", "intersect", "index", "default", "check",
        "primary", "key", "unique", "references", "foreign", "constraint", "collate", "end",
        "group", "order", "asc", "desc", "null", "top", "percent", "insert", "update", "delete",
        "create", "drop", "alter", "inner", "outer", "left", "right", "full", "cross", "natural",
        "if", "add", "column", "view", "trigger", "cast", "return", "returning",
        // column types in CREATE TABLE
        "varchar", "nvarchar", "char", "nchar", "decimal", "numeric", "int", "integer", "bigint",
        "smallint", "tinyint", "float", "real", "double", "money", "datetime", "text", "bit"};
    return set;
}

TsqlRewriter::TsqlRewriter(const QString& sql) : m_sql(sql), t(tokenize(sql)) {}

QString TsqlRewriter::run()
{
    matchParens();
    checkStatement();
    tableHints();
    functionsAndNames();
    for (int i = 0; i < t.size(); ++i)
        if (isWord(i, "select"))
            selectClause(i);
    operatorsAndLiterals();
    finish();
    QString out;
    out.reserve(m_sql.size() + 32);
    for (const Token& k : t) {
        out += k.pre;
        if (!k.dropped)
            out += k.replaced.isNull() ? k.text : k.replaced;
        out += k.post;
    }
    return out;
}

void TsqlRewriter::fail(const QString& what) const
{
    throw SqlError(QStringLiteral("not translatable to %1: %2 in: %3")
                       .arg(targetName(), what, m_sql.simplified()));
}

bool TsqlRewriter::significant(int i) const
{
    return t[i].kind != Kind::Space && t[i].kind != Kind::Comment && !t[i].dropped;
}

int TsqlRewriter::next(int i) const
{
    for (++i; i < t.size(); ++i)
        if (significant(i))
            return i;
    return -1;
}

int TsqlRewriter::prev(int i) const
{
    for (--i; i >= 0; --i)
        if (significant(i))
            return i;
    return -1;
}

bool TsqlRewriter::isWord(int i, const char* lower) const
{
    return i >= 0 && i < t.size() && t[i].kind == Kind::Word &&
           t[i].text.compare(QLatin1String(lower), Qt::CaseInsensitive) == 0;
}

bool TsqlRewriter::commonCall(int i, const QString& lower, int open)
{
    if (lower == QLatin1String("len")) {
        t[i].replaced = QStringLiteral("length");
    } else if (lower == QLatin1String("substring")) {
        t[i].replaced = QStringLiteral("substr");
    } else if (lower == QLatin1String("datepart") || lower == QLatin1String("datediff") ||
               lower == QLatin1String("dateadd")) {
        const int part = next(open);
        if (part >= 0 && t[part].kind == Kind::Word)
            t[part].replaced = QLatin1Char('\'') + t[part].text + QLatin1Char('\'');
    } else {
        return false;
    }
    return true;
}

bool TsqlRewriter::isPunct(int i, const char* p) const
{
    return i >= 0 && i < t.size() && t[i].kind == Kind::Punct && t[i].text == QLatin1String(p);
}

void TsqlRewriter::matchParens()
{
    QVector<int> open;
    for (int i = 0; i < t.size(); ++i) {
        t[i].depth = int(open.size());
        if (isPunct(i, "(")) {
            open.push_back(i);
        } else if (isPunct(i, ")")) {
            if (open.isEmpty())
                fail(QStringLiteral("unbalanced \")\""));
            const int o = open.takeLast();
            t[o].match = i;
            t[i].match = o;
            t[i].depth = int(open.size());
        }
    }
    if (!open.isEmpty())
        fail(QStringLiteral("unbalanced \"(\""));
}

void TsqlRewriter::checkStatement()
{
    const int first = next(-1);
    if (first < 0)
        return;
    static const QSet<QString> refused = {"exec",  "execute", "declare", "go",
                                          "print", "use",     "merge",   "truncate",
                                          "begin", "commit",  "rollback"};
    if (t[first].kind == Kind::Word && refused.contains(t[first].text.toLower()))
        fail(QStringLiteral("statement \"%1\"").arg(t[first].text));
}

int TsqlRewriter::firstArgumentEnd(int open) const
{
    for (int i = open + 1; i < t[open].match; ++i)
        if (t[i].depth == t[open].depth + 1 && isPunct(i, ","))
            return i;
    return t[open].match;
}

int TsqlRewriter::enclosingOpen(int i) const
{
    for (int j = i - 1; j >= 0; --j)
        if (isPunct(j, "(") && t[j].match > i)
            return j;
    return -1;
}

int TsqlRewriter::operandEnd(int i) const
{
    if (i < 0)
        return -1;
    if (isPunct(i, "("))
        return t[i].match;
    if (t[i].kind == Kind::Number || t[i].kind == Kind::Param || t[i].kind == Kind::String)
        return i;
    if (t[i].kind != Kind::Word && t[i].kind != Kind::Ident)
        return -1;
    int last = i;
    for (;;) {
        const int after = next(last);
        if (isPunct(after, "(") && t[last].kind == Kind::Word)
            return t[after].match;
        if (!isPunct(after, "."))
            return last;
        const int member = next(after);
        if (member < 0 || (t[member].kind != Kind::Word && t[member].kind != Kind::Ident))
            return last;
        last = member;
    }
}

bool TsqlRewriter::tableBeforeColumns(int before) const
{
    return isWord(before, "into") || isWord(before, "table") || isWord(before, "on") ||
           isWord(before, "join") || isWord(before, "from") || isWord(before, "update") ||
           isWord(before, "exists");
}

QString TsqlRewriter::aliasText(int i) const
{
    return t[i].replaced.isNull() ? t[i].text : t[i].replaced;
}

QString TsqlRewriter::tableText(int i) const
{
    return t[i].text;
}

void TsqlRewriter::divide(int i)
{
    t[i].replaced = QStringLiteral("*1.0/");
}

void TsqlRewriter::functionsAndNames()
{
    for (int i = 0; i < t.size(); ++i) {
        Token& k = t[i];
        if (k.kind == Kind::Ident) {
            name(i, k.text.mid(1, k.text.size() - 2).toLower());
            continue;
        }
        if (k.kind != Kind::Word)
            continue;
        if (k.text.startsWith(u'@'))
            fail(QStringLiteral("variable %1").arg(k.text));
        if (k.text.startsWith(u'#'))
            fail(QStringLiteral("temporary table %1").arg(k.text));
        const QString lower = k.text.toLower();
        const int after = next(i);
        if (!isPunct(after, "(")) {
            name(i, lower);
            continue;
        }
        if (isPunct(prev(i), ".")) // a qualified name such as MN.IsNull never calls
            continue;
        call(i, lower, after);
    }
}

void TsqlRewriter::tableHints()
{
    static const QSet<QString> ignored = {"nolock", "readuncommitted"};
    static const QSet<QString> hints = {
        "nolock",   "readuncommitted", "readpast",      "rowlock",        "updlock",
        "holdlock", "tablock",         "tablockx",      "paglock",        "xlock",
        "nowait",   "serializable",    "readcommitted", "repeatableread", "noexpand"};
    for (int i = 0; i < t.size(); ++i) {
        if (!isPunct(i, "("))
            continue;
        const int inner = next(i);
        if (inner < 0 || t[inner].kind != Kind::Word || next(inner) != t[i].match)
            continue;
        const QString word = t[inner].text.toLower();
        if (!hints.contains(word))
            continue;
        if (!ignored.contains(word))
            fail(QStringLiteral("table hint %1").arg(t[inner].text));
        const int before = prev(i);
        if (isWord(before, "with"))
            t[before].dropped = true;
        for (int j = i; j <= t[i].match; ++j)
            t[j].dropped = true;
    }
}

int TsqlRewriter::scopeEnd(int from) const
{
    const int depth = t[from].depth;
    for (int i = from + 1; i < t.size(); ++i) {
        if (t[i].depth < depth) // the parenthesis around the part
            return i;
        if (t[i].depth == depth && isPunct(i, ";"))
            return i;
    }
    return int(t.size());
}

bool TsqlRewriter::endsSelectList(int i) const
{
    static const QSet<QString> ends = {"from",   "into",  "where",  "group",     "order",
                                       "having", "union", "except", "intersect", "limit"};
    return t[i].kind == Kind::Word && ends.contains(t[i].text.toLower());
}

void TsqlRewriter::selectClause(int select)
{
    const int depth = t[select].depth;
    const int end = scopeEnd(select);
    int i = next(select);
    if (i < 0)
        return;
    if (isWord(i, "distinct") || isWord(i, "all"))
        i = next(i);
    if (isWord(i, "top")) {
        const int top = i;
        int number = next(top);
        const bool parenthesised = isPunct(number, "(");
        if (parenthesised)
            number = next(number);
        if (number < 0 || t[number].kind != Kind::Number)
            fail(QStringLiteral("TOP without a number"));
        int last = number;
        if (parenthesised) {
            last = next(number);
            if (!isPunct(last, ")"))
                fail(QStringLiteral("TOP (expression)"));
        }
        const int percent = next(last);
        const bool isPercent = isWord(percent, "percent");
        if (isPercent)
            last = percent;
        if (isWord(next(last), "with"))
            fail(QStringLiteral("TOP ... WITH TIES"));
        for (int j = top; j <= last; ++j)
            t[j].dropped = true;
        if (isPercent) {
            if (t[number].text.toDouble() != 100.0)
                fail(QStringLiteral("TOP %1 PERCENT").arg(t[number].text));
        } else {
            for (int j = top; j < end; ++j)
                if (t[j].depth == depth &&
                    (isWord(j, "union") || isWord(j, "except") || isWord(j, "intersect")))
                    fail(QStringLiteral("TOP n in a compound SELECT"));
            const QString limit = QStringLiteral(" LIMIT ") + t[number].text + QLatin1Char(' ');
            if (end < t.size())
                t[end].pre += limit;
            else
                t.last().post += limit;
        }
        i = next(last);
        if (i < 0)
            return;
    }
    // Select items: "alias = expression" becomes "expression AS alias".
    int itemStart = i;
    int j = i;
    for (; j < end; ++j) {
        if (t[j].depth != depth)
            continue;
        const bool atEnd = endsSelectList(j);
        if (isPunct(j, ",") || atEnd) {
            aliasItem(itemStart, j);
            itemStart = j + 1;
            if (atEnd)
                break;
        }
    }
    if (j >= end)
        aliasItem(itemStart, end);
    else if (isWord(j, "into"))
        selectInto(select, j);
}

void TsqlRewriter::aliasItem(int from, int to)
{
    int first = from;
    while (first < to && !significant(first))
        ++first;
    if (first >= to)
        return;
    const int eq = next(first);
    if (eq < 0 || eq >= to || !isPunct(eq, "="))
        return;
    const bool name =
        (t[first].kind == Kind::Word && !keywords().contains(t[first].text.toLower())) ||
        t[first].kind == Kind::Ident;
    if (!name)
        return;
    int last = to - 1;
    while (last > eq && !significant(last))
        --last;
    if (last <= eq)
        fail(QStringLiteral("select item \"%1 =\" without an expression").arg(t[first].text));
    const QString alias = aliasText(first);
    for (int k = first; k <= eq; ++k)
        t[k].dropped = true;
    t[last].post += QStringLiteral(" AS ") + alias;
}

void TsqlRewriter::selectInto(int select, int into)
{
    if (t[select].depth != 0 || next(-1) != select)
        fail(QStringLiteral("SELECT ... INTO inside another statement"));
    const int table = next(into);
    if (table < 0 || (t[table].kind != Kind::Word && t[table].kind != Kind::Ident))
        fail(QStringLiteral("SELECT ... INTO without a table"));
    t[into].dropped = true;
    t[table].dropped = true;
    t[select].pre += QStringLiteral("CREATE TABLE ") + tableText(table) + QStringLiteral(" AS ");
}

void TsqlRewriter::operatorsAndLiterals()
{
    for (int i = 0; i < t.size(); ++i) {
        Token& k = t[i];
        if (k.dropped)
            continue;
        if (k.kind == Kind::Date) {
            bool ok = false;
            const QString d = dateLiteral(k.text.mid(1, k.text.size() - 2), &ok);
            if (!ok)
                fail(QStringLiteral("date literal %1").arg(k.text));
            k.replaced = QLatin1Char('\'') + d + QLatin1Char('\'');
        } else if (k.kind == Kind::String) {
            const QString body = k.text.mid(1, k.text.size() - 2);
            if (body.size() >= 8 && body.size() <= 26 && body.at(0).isDigit()) {
                bool ok = false;
                const QString d = dateLiteral(body, &ok);
                if (ok)
                    k.replaced = QLatin1Char('\'') + d + QLatin1Char('\'');
            }
        } else if (k.kind == Kind::Punct && k.text == QLatin1String("+")) {
            const int a = prev(i), b = next(i);
            if ((a >= 0 && t[a].kind == Kind::String) || (b >= 0 && t[b].kind == Kind::String))
                k.replaced = QStringLiteral("||");
        } else if (k.kind == Kind::Punct && k.text == QLatin1String("/")) {
            divide(i);
        }
    }
}
