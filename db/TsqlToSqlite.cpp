#include "db/TsqlToSqlite.h"

#include "db/TsqlRewriter.h"

namespace {

const QSet<QString>& knownFunctions()
{
    static const QSet<QString> set = {
        // SQLite's own
        "abs", "char", "coalesce", "glob", "hex", "ifnull", "iif", "instr", "length", "like",
        "lower", "ltrim", "max", "min", "nullif", "printf", "format", "quote", "random", "replace",
        "round", "rtrim", "sign", "substr", "trim", "typeof", "unicode", "upper", "avg", "count",
        "group_concat", "sum", "total", "date", "time", "datetime", "julianday", "strftime",
        "row_number", "rank", "dense_rank", "ntile", "lag", "lead", "first_value", "last_value",
        "cast", "upper", "lower",
        // registered on the connection (SqliteFunctions.h)
        "getdate", "datepart", "datediff", "dateadd", "vtx_convert", "left", "right", "year",
        "month", "day"};
    return set;
}

class SqliteRewriter final : public TsqlRewriter
{
public:
    using TsqlRewriter::TsqlRewriter;

protected:
    QString targetName() const override { return QStringLiteral("SQLite"); }

    void name(int i, const QString& lower) override
    {
        if (t[i].kind == Kind::Word && lower == QLatin1String("isnull"))
            t[i].replaced = QLatin1Char('[') + t[i].text + QLatin1Char(']');
    }

    void call(int i, const QString& lower, int after) override
    {
        Token& k = t[i];
        if (commonCall(i, lower, after))
            return;
        if (lower == QLatin1String("isnull")) {
            k.replaced = QStringLiteral("ifnull");
        } else if (lower == QLatin1String("left") || lower == QLatin1String("right")) {
            k.replaced = QLatin1Char('"') + lower + QLatin1Char('"'); // keywords in SQLite
        } else if (lower == QLatin1String("convert")) {
            const int end = firstArgumentEnd(after);
            if (end >= t[after].match)
                fail(QStringLiteral("convert() without a value"));
            QString type;
            for (int j = after + 1; j < end; ++j) {
                type += t[j].text;
                t[j].dropped = true;
            }
            t[after + 1].dropped = false;
            t[after + 1].replaced = QLatin1Char('\'') + type.trimmed() + QLatin1Char('\'');
            for (int j = after + 2; j < end; ++j)
                t[j].dropped = true;
            if (after + 1 == end)
                fail(QStringLiteral("convert() without a type"));
            k.replaced = QStringLiteral("vtx_convert");
        } else if (lower == QLatin1String("cast")) {
            for (int j = after + 1; j < t[after].match; ++j)
                if (t[j].depth == t[after].depth + 1 && isWord(j, "as")) {
                    const int type = next(j);
                    const QString tn = type >= 0 ? t[type].text.toLower() : QString();
                    if (tn == QLatin1String("datetime") || tn == QLatin1String("date") ||
                        tn == QLatin1String("smalldatetime"))
                        fail(QStringLiteral("CAST(... AS %1)").arg(t[type].text));
                }
        } else if (knownFunctions().contains(lower) || keywords().contains(lower)) {
            // SQLite's own or registered on the connection
        } else if (tableBeforeColumns(prev(i))) {
            // a table name followed by its column list
        } else {
            fail(QStringLiteral("function %1()").arg(k.text));
        }
    }
};

} // namespace

QString TsqlToSqlite::translate(const QString& tsql)
{
    return SqliteRewriter(tsql).run();
}
