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
    size_t i = 0;
    while (i < t.size() && !(t[i].kind == Token::Word && t[i].text.toLower() == u"select"))
        ++i;
    ++i;
    if (i < t.size() && t[i].kind == Token::Word &&
        (t[i].text.toLower() == u"distinct" || t[i].text.toLower() == u"all"))
        ++i;
    std::vector<QMetaType> types;
    int depth = 0;
    size_t itemStart = i;
    bool star = false;
    auto endItem = [&](size_t end) {
        // Cut off "AS alias" or a bare trailing alias.
        size_t exprEnd = end;
        if (exprEnd >= itemStart + 2 && t[exprEnd - 1].kind == Token::Word) {
            if (t[exprEnd - 2].kind == Token::Word && t[exprEnd - 2].text.toLower() == u"as")
                exprEnd -= 2;
            else if (t[exprEnd - 2].kind != Token::Punct || t[exprEnd - 2].text == u")")
                exprEnd -= 1;
        }
        types.push_back(itemType(t, itemStart, exprEnd, columnType));
    };
    for (; i < t.size(); ++i) {
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
    if (star)
        return std::vector<QMetaType>(types.size());
    return types;
}

} // namespace SelectColumnTypes
