#include "db/SelectColumnTypes.h"

#include <QSet>
#include <QStringList>

namespace {

struct Token
{
    enum Kind
    {
        Word,
        Number,
        String,
        Punct
    } kind;
    QString text;
};

std::vector<Token> tokenize(const QString& sql)
{
    std::vector<Token> tokens;
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = sql.at(i);
        const qsizetype start = i;
        if (c.isSpace()) {
            ++i;
        } else if (c == u'\'') {
            for (++i; i < n; ++i) {
                if (sql.at(i) != u'\'')
                    continue;
                if (i + 1 < n && sql.at(i + 1) == u'\'') {
                    ++i; // a doubled quote stays inside the literal
                    continue;
                }
                break;
            }
            ++i;
            tokens.push_back({Token::String, {}});
        } else if (c == u'[' || c == u'"' || c == u'`') {
            const QChar close = c == u'[' ? QChar(u']') : c;
            qsizetype end = sql.indexOf(close, i + 1);
            if (end < 0)
                end = n;
            tokens.push_back({Token::Word, sql.mid(i + 1, end - i - 1)});
            i = end + 1;
        } else if (c.isDigit() || (c == u'.' && i + 1 < n && sql.at(i + 1).isDigit())) {
            while (i < n && (sql.at(i).isLetterOrNumber() || sql.at(i) == u'.'))
                ++i;
            tokens.push_back({Token::Number, sql.mid(start, i - start)});
        } else if (c.isLetter() || c == u'_' || c == u'@') {
            while (i < n && (sql.at(i).isLetterOrNumber() || sql.at(i) == u'_' ||
                             sql.at(i) == u'@' || sql.at(i) == u'$'))
                ++i;
            tokens.push_back({Token::Word, sql.mid(start, i - start)});
        } else {
            ++i;
            tokens.push_back({Token::Punct, QString(c)});
        }
    }
    return tokens;
}

bool isKeyword(const QString& word)
{
    static const QSet<QString> keywords = {
        QStringLiteral("select"), QStringLiteral("distinct"), QStringLiteral("all"),
        QStringLiteral("as"),     QStringLiteral("case"),     QStringLiteral("when"),
        QStringLiteral("then"),   QStringLiteral("else"),     QStringLiteral("end"),
        QStringLiteral("and"),    QStringLiteral("or"),       QStringLiteral("not"),
        QStringLiteral("is"),     QStringLiteral("null"),     QStringLiteral("in"),
        QStringLiteral("like"),   QStringLiteral("between"),  QStringLiteral("from"),
        QStringLiteral("where"),  QStringLiteral("exists"),   QStringLiteral("escape"),
        QStringLiteral("cast"),   QStringLiteral("collate"),  QStringLiteral("glob"),
    };
    return keywords.contains(word.toLower());
}

// The type of one select item's expression (its alias already cut off).
QMetaType itemType(const std::vector<Token>& t, size_t from, size_t to,
                   const SelectColumnTypes::ColumnType& columnType)
{
    bool anyNumber = false, whole = true;
    for (size_t i = from; i < to; ++i) {
        const Token& k = t[i];
        if (k.kind == Token::String)
            return {}; // text in a number expression: cannot tell
        if (k.kind == Token::Number) {
            anyNumber = true;
            whole = whole && !k.text.contains(u'.') && !k.text.contains(u'e', Qt::CaseInsensitive);
            continue;
        }
        if (k.kind == Token::Punct) {
            if (k.text == u"/")
                whole = false;
            continue;
        }
        const QString word = k.text.toLower();
        const bool call = i + 1 < to && t[i + 1].kind == Token::Punct && t[i + 1].text == u"(";
        if (call) {
            if (word == u"count") {
                anyNumber = true;
            } else if (word == u"avg" || word == u"round" || word == u"total") {
                whole = false;
            }
            continue;
        }
        if (isKeyword(word))
            continue;
        if (i + 1 < to && t[i + 1].kind == Token::Punct && t[i + 1].text == u".")
            continue; // a table alias: the column follows
        const QMetaType type = columnType(k.text);
        if (type.id() == QMetaType::Int)
            anyNumber = true;
        else if (type.id() == QMetaType::Double)
            anyNumber = true, whole = false;
        else
            return {}; // text, or not a column of any table: cannot tell
    }
    if (!anyNumber)
        return {};
    return QMetaType(whole ? QMetaType::Int : QMetaType::Double);
}

bool isWord(const Token& k, const char16_t* word)
{
    return k.kind == Token::Word && k.text.compare(QStringView(word), Qt::CaseInsensitive) == 0;
}

bool isPunct(const Token& k, const char16_t* text)
{
    return k.kind == Token::Punct && k.text == QStringView(text);
}

std::vector<QMetaType> compoundTypes(const std::vector<Token>& t, size_t from, size_t to,
                                     const SelectColumnTypes::ColumnType& columnType);

// The types of the select list of the SELECT at or after t[from]; `*end` receives where the list
// ends (FROM, UNION, ... at its own depth). A list that is "*" alone over one derived table
// takes that table's types; any other list with "*" is left unknown.
std::vector<QMetaType> selectTypes(const std::vector<Token>& t, size_t from, size_t to,
                                   const SelectColumnTypes::ColumnType& columnType, size_t* end)
{
    size_t i = from;
    while (i < to && !isWord(t[i], u"select"))
        ++i;
    ++i;
    if (i < to && (isWord(t[i], u"distinct") || isWord(t[i], u"all")))
        ++i;
    std::vector<QMetaType> types;
    int depth = 0;
    size_t itemStart = i;
    bool star = false;
    auto endItem = [&](size_t end) {
        // Cut off "AS alias" or a bare trailing alias.
        size_t exprEnd = end;
        if (exprEnd >= itemStart + 2 && t[exprEnd - 1].kind == Token::Word) {
            if (isWord(t[exprEnd - 2], u"as"))
                exprEnd -= 2;
            else if (t[exprEnd - 2].kind != Token::Punct || t[exprEnd - 2].text == u")")
                exprEnd -= 1;
        }
        types.push_back(itemType(t, itemStart, exprEnd, columnType));
    };
    for (; i < to; ++i) {
        const Token& k = t[i];
        if (k.kind == Token::Punct) {
            if (k.text == u"(")
                ++depth;
            else if (k.text == u")")
                --depth;
            else if (depth == 0 && k.text == u"*" &&
                     (i == itemStart || (i >= 1 && t[i - 1].text == u".")))
                star = true;
            else if (depth == 0 && k.text == u",") {
                endItem(i);
                itemStart = i + 1;
            }
            if (depth < 0)
                break; // the end of the derived table this select is in
            continue;
        }
        if (depth == 0 && k.kind == Token::Word) {
            const QString w = k.text.toLower();
            if (w == u"from" || w == u"union" || w == u"order" || w == u"limit" || w == u"where" ||
                w == u"group")
                break;
        }
    }
    endItem(i);
    *end = i;
    if (!star)
        return types;
    // SELECT * FROM ( ... ) [AS] alias, and nothing joined to it: the derived table's types.
    if (types.size() == 1 && i + 1 < to && isWord(t[i], u"from") && isPunct(t[i + 1], u"(")) {
        size_t close = i + 2;
        for (int d = 1; close < to; ++close) {
            d += isPunct(t[close], u"(") ? 1 : isPunct(t[close], u")") ? -1 : 0;
            if (d == 0)
                break;
        }
        size_t after = close + 1;
        if (after < to && isWord(t[after], u"as"))
            ++after;
        if (after < to && t[after].kind == Token::Word)
            ++after;
        if (close < to && (after == to || !isPunct(t[after], u",")))
            return compoundTypes(t, i + 2, close, columnType);
    }
    return std::vector<QMetaType>(types.size());
}

// The types of a SELECT or of SELECTs joined by UNION [ALL] within t[from, to): a column is
// decimal when any part's is, an integer when every part's is, unknown otherwise.
std::vector<QMetaType> compoundTypes(const std::vector<Token>& t, size_t from, size_t to,
                                     const SelectColumnTypes::ColumnType& columnType)
{
    size_t end = from;
    std::vector<QMetaType> types = selectTypes(t, from, to, columnType, &end);
    for (;;) {
        // The next UNION at this depth, past the clauses of the part just read.
        int depth = 0;
        while (end < to && !(depth == 0 && isWord(t[end], u"union"))) {
            depth += isPunct(t[end], u"(") ? 1 : isPunct(t[end], u")") ? -1 : 0;
            if (depth < 0)
                return types;
            ++end;
        }
        if (end >= to)
            return types;
        const std::vector<QMetaType> part = selectTypes(t, end + 1, to, columnType, &end);
        if (part.size() != types.size())
            return std::vector<QMetaType>(types.size());
        for (size_t c = 0; c < types.size(); ++c) {
            const int a = types[c].id(), b = part[c].id();
            if (!types[c].isValid() || !part[c].isValid())
                types[c] = QMetaType();
            else if (a == QMetaType::Double || b == QMetaType::Double)
                types[c] = QMetaType(QMetaType::Double);
        }
    }
}
} // namespace

namespace SelectColumnTypes {

QMetaType fromDeclared(const QString& declared)
{
    const QString d = declared.trimmed().toLower();
    if (d.isEmpty())
        return {};
    if (d.contains(u"int") || d == u"bit" || d == u"bool" || d == u"boolean")
        return QMetaType(QMetaType::Int);
    if (d.startsWith(u"numeric") || d.startsWith(u"decimal") || d.contains(u"real") ||
        d.contains(u"floa") || d.contains(u"doub") || d.contains(u"money"))
        return QMetaType(QMetaType::Double);
    if (d.contains(u"char") || d.contains(u"clob") || d.contains(u"text"))
        return QMetaType(QMetaType::QString);
    return {};
}

std::vector<QMetaType> infer(const QString& sql, const ColumnType& columnType)
{
    const std::vector<Token> t = tokenize(sql);
    return compoundTypes(t, 0, t.size(), columnType);
}

} // namespace SelectColumnTypes
