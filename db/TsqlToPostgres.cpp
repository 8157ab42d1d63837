#include "db/TsqlToPostgres.h"

#include "db/TsqlRewriter.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>

namespace {

struct SchemaNames
{
    QHash<QString, QString> names;              // lower case -> as created
    QSet<QString> decimals;                     // lower case names of numeric columns
    QHash<QString, QSet<QString>> columns;      // table -> its columns (lower case)
    QHash<QString, QList<QStringList>> indexes; // table -> each index's columns (as created)
};

const SchemaNames& schema()
{
    static const SchemaNames names = [] {
        SchemaNames n;
        QFile file(QStringLiteral(":/vtx/schema/postgresql.sql"));
        if (!file.open(QIODevice::ReadOnly))
            return n;
        const QString text = QString::fromUtf8(file.readAll());
        static const QRegularExpression line(
            QStringLiteral("^(?:CREATE TABLE \"(\\w+)\"|\\s+\"(\\w+)\"\\s+(\\w+))"),
            QRegularExpression::MultilineOption);
        QString table;
        for (auto it = line.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            if (!m.captured(1).isEmpty()) {
                table = m.captured(1).toLower();
                n.names.insert(table, m.captured(1));
                continue;
            }
            const QString column = m.captured(2);
            n.names.insert(column.toLower(), column);
            n.columns[table].insert(column.toLower());
            if (m.captured(3) == QLatin1String("numeric"))
                n.decimals.insert(column.toLower());
        }
        // An index's key columns and then its included ones: SQLite's index of the same name
        // has them all as keys, in that order.
        static const QRegularExpression index(
            QStringLiteral(
                "^CREATE INDEX \\w+ ON \"(\\w+)\" \\(([^)]*)\\)(?: INCLUDE \\(([^)]*)\\))?"),
            QRegularExpression::MultilineOption);
        for (auto it = index.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            QStringList columns;
            for (const QString& c :
                 (m.captured(2) + QLatin1Char(',') + m.captured(3)).split(QLatin1Char(',')))
                if (!c.trimmed().isEmpty())
                    columns << c.trimmed().remove(QLatin1Char('"'));
            n.indexes[m.captured(1).toLower()].append(columns);
        }
        return n;
    }();
    return names;
}

const QSet<QString>& knownFunctions()
{
    static const QSet<QString> set = {
        // PostgreSQL's own, under the names T-SQL uses too
        "abs", "coalesce", "nullif", "lower", "upper", "ltrim", "rtrim", "replace", "round",
        "floor", "ceiling", "sign", "max", "min", "sum", "count", "avg", "row_number", "rank",
        "dense_rank", "ntile", "lag", "lead", "first_value", "last_value", "left", "right",
        "length", "substr", "reverse",
        // made by the schema script
        "getdate", "datepart", "datediff", "dateadd", "year", "month", "day"};
    return set;
}

QString quoted(const QString& name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

class PostgresRewriter final : public TsqlRewriter
{
public:
    explicit PostgresRewriter(const QString& sql) : TsqlRewriter(sql) {}

protected:
    QString targetName() const override { return QStringLiteral("PostgreSQL"); }

    // The statement's aliases (a word after AS, or before "=" at the start of a select item),
    // by their lower-case form, as first written.
    void collectAliases()
    {
        for (int i = 0; i < t.size(); ++i) {
            if (t[i].kind != Kind::Word && t[i].kind != Kind::Ident)
                continue;
            const int before = prev(i);
            bool alias = false;
            if (isWord(before, "as")) {
                const int open = enclosingOpen(before);
                alias = !(open >= 0 && isWord(prev(open), "cast"));
            } else if (isPunct(next(i), "=") && t[i].kind == Kind::Word) {
                alias =
                    isWord(before, "select") || isPunct(before, ",") ||
                    isWord(before, "distinct") || isWord(before, "percent") ||
                    (before >= 0 && t[before].kind == Kind::Number && isWord(prev(before), "top"));
            }
            if (!alias)
                continue;
            const QString text =
                t[i].kind == Kind::Ident ? t[i].text.mid(1, t[i].text.size() - 2) : t[i].text;
            if (!keywords().contains(text.toLower()))
                m_aliases.insert(text.toLower(), text);
        }
    }

    void name(int i, const QString& lower) override
    {
        if (!m_aliasesRead) {
            collectAliases();
            m_aliasesRead = true;
        }
        Token& k = t[i];
        if (k.kind == Kind::Word && keywords().contains(lower))
            return;
        const auto schema = TsqlToPostgres::schemaNames().constFind(lower);
        if (schema != TsqlToPostgres::schemaNames().constEnd()) {
            k.replaced = quoted(schema.value());
            return;
        }
        const auto alias = m_aliases.constFind(lower);
        if (alias != m_aliases.constEnd()) {
            k.replaced = quoted(alias.value());
            return;
        }
        if (k.kind == Kind::Ident)
            k.replaced = quoted(k.text.mid(1, k.text.size() - 2));
    }

    QString aliasText(int i) const override
    {
        return t[i].replaced.isNull() ? quoted(t[i].text) : t[i].replaced;
    }

    QString tableText(int i) const override
    {
        if (!t[i].replaced.isNull())
            return t[i].replaced;
        return quoted(t[i].kind == Kind::Ident ? t[i].text.mid(1, t[i].text.size() - 2)
                                               : t[i].text);
    }

    void call(int i, const QString& lower, int after) override
    {
        Token& k = t[i];
        if (commonCall(i, lower, after))
            return;
        if (lower == QLatin1String("isnull")) {
            k.replaced = QStringLiteral("coalesce");
        } else if (lower == QLatin1String("ceiling")) {
            k.replaced = QStringLiteral("ceil");
        } else if (lower == QLatin1String("convert")) {
            convert(i, after);
        } else if (lower == QLatin1String("cast")) {
            for (int j = after + 1; j < t[after].match; ++j)
                if (t[j].depth == t[after].depth + 1 && isWord(j, "as")) {
                    const int type = next(j);
                    const QString tn = type >= 0 ? t[type].text.toLower() : QString();
                    if (tn == QLatin1String("datetime") || tn == QLatin1String("smalldatetime"))
                        t[type].replaced = QStringLiteral("timestamp(0)");
                    else if (tn == QLatin1String("nvarchar") || tn == QLatin1String("nchar"))
                        t[type].replaced = tn.mid(1);
                    else if (tn == QLatin1String("money"))
                        t[type].replaced = QStringLiteral("numeric(18,4)");
                    else if (tn == QLatin1String("bit") || tn == QLatin1String("tinyint"))
                        t[type].replaced = QStringLiteral("smallint");
                }
        } else if (lower == QLatin1String("sum") || lower == QLatin1String("avg")) {
            floatingSum(after);
        } else if (knownFunctions().contains(lower) || keywords().contains(lower)) {
            // PostgreSQL's own or made by the schema script
        } else if (tableBeforeColumns(prev(i))) {
            name(i, lower); // a table name followed by its column list
        } else {
            fail(QStringLiteral("function %1()").arg(k.text));
        }
    }

    // SUM and AVG of amounts are made in exact decimals and handed over as the double nearest
    // them, as SQLite's sum does on our connections (db/SqliteFunctions.h): the same figure to
    // the last bit whatever the order the rows are read in, a half cent kept a half cent. A
    // double (a summary's sum) is read back as the decimal it stands for (fifteen digits).
    // Wrapped in finish(), once every name is translated.
    void floatingSum(int open)
    {
        const int first = next(open);
        if (first < 0 || first >= t[open].match || isWord(first, "distinct"))
            return;
        bool decimal = false;
        for (int j = first; j < t[open].match && !decimal; ++j)
            if ((t[j].kind == Kind::Word || t[j].kind == Kind::Ident) && !isPunct(next(j), "(")) {
                QString n = t[j].text.toLower();
                if (t[j].kind == Kind::Ident)
                    n = n.mid(1, n.size() - 2);
                decimal = schema().decimals.contains(n);
            }
        if (decimal)
            m_sums << open;
    }

    // convert(type, value[, style]): the type picks the function; the type's tokens go.
    void convert(int i, int open)
    {
        const int end = firstArgumentEnd(open);
        if (end >= t[open].match)
            fail(QStringLiteral("convert() without a value"));
        QString type;
        for (int j = open + 1; j < end; ++j) {
            type += t[j].text;
            t[j].dropped = true;
        }
        t[end].dropped = true; // the "," after the type
        type = type.simplified().remove(QLatin1Char(' ')).toLower();
        if (type.isEmpty())
            fail(QStringLiteral("convert() without a type"));
        static const QRegularExpression typeWithLength(QStringLiteral("^(\\w+)(?:\\((\\d+)\\))?"));
        const QRegularExpressionMatch m = typeWithLength.match(type);
        const QString base = m.captured(1);
        const QString length = m.captured(2).isEmpty() ? QStringLiteral("-1") : m.captured(2);
        int valueEnd = end + 1; // the "," before the style, or the ")"
        while (valueEnd < t[open].match &&
               !(t[valueEnd].depth == t[open].depth + 1 && isPunct(valueEnd, ",")))
            ++valueEnd;
        const bool hasStyle = valueEnd < t[open].match;
        static const QSet<QString> texts = {"varchar", "nvarchar", "char",
                                            "nchar",   "text",     "ntext"};
        static const QSet<QString> dates = {"datetime", "smalldatetime", "date"};
        static const QSet<QString> ints = {"int", "bigint", "smallint", "tinyint", "bit"};
        static const QSet<QString> numbers = {"decimal", "numeric", "money", "float", "real"};
        if (texts.contains(base)) {
            k(i) = QStringLiteral("vtx_convert_text");
            t[valueEnd].pre += QStringLiteral(", ") + length;
            if (!hasStyle)
                t[valueEnd].pre += QStringLiteral(", 0");
        } else if (hasStyle) {
            fail(QStringLiteral("convert(%1, ..., style)").arg(type));
        } else if (dates.contains(base)) {
            k(i) = QStringLiteral("CAST");
            t[valueEnd].pre += base == QLatin1String("date") ? QStringLiteral(" AS date")
                                                             : QStringLiteral(" AS timestamp(0)");
        } else if (ints.contains(base)) {
            k(i) = QStringLiteral("vtx_convert_int");
        } else if (numbers.contains(base)) {
            k(i) = QStringLiteral("CAST");
            t[valueEnd].pre += QStringLiteral(" AS numeric");
        } else {
            fail(QStringLiteral("convert(%1, ...)").arg(type));
        }
    }
    QString& k(int i) { return t[i].replaced; }

    void divide(int i) override
    {
        TsqlRewriter::divide(i);
        const int first = next(i);
        const int last = operandEnd(first);
        if (last < 0)
            return;
        t[first].pre += QStringLiteral("NULLIF(");
        t[last].post += QStringLiteral(",0)");
    }

    // NULL first in ascending order, last in descending order, on every ORDER BY item; rows
    // that tie on every item in the order the tables hold them (see tieBreak).
    void finish() override
    {
        wrapSums();
        orderGroups();
        for (int i = 0; i < t.size(); ++i) {
            if (!isWord(i, "order") || !isWord(next(i), "by"))
                continue;
            const int by = next(i);
            const int depth = t[by].depth;
            const int end = scopeEnd(by);
            const QString ties = tieBreak(i);
            int last = -1;
            auto close = [&](int item, bool lastItem) {
                if (item < 0)
                    return;
                // before a LIMIT that TOP put after the statement's last token
                t[item].post.prepend((isWord(item, "desc") ? QStringLiteral(" NULLS LAST")
                                                           : QStringLiteral(" NULLS FIRST")) +
                                     (lastItem ? ties : QString()));
            };
            int j = by + 1;
            for (; j < end; ++j) {
                if (!significant(j))
                    continue;
                if (t[j].depth == depth && isPunct(j, ",")) {
                    close(last, false);
                    last = -1;
                    continue;
                }
                if (t[j].depth == depth &&
                    (isWord(j, "limit") || isWord(j, "offset") || isWord(j, "for")))
                    break;
                last = j;
            }
            close(last, true);
        }
    }

    // The text of tokens [from, to) as it will be written.
    QString textOf(int from, int to) const
    {
        QString text;
        for (int j = from; j < to; ++j) {
            text += t[j].pre;
            if (!t[j].dropped)
                text += t[j].replaced.isNull() ? t[j].text : t[j].replaced;
            text += t[j].post;
        }
        return text;
    }

    // The GROUP BY expressions of the "group" at `group`, up to HAVING, ORDER BY or `end`.
    QStringList groupKeys(int group, int end) const
    {
        const int depth = t[group].depth;
        QStringList keys;
        int start = next(group) + 1;
        int j = start;
        for (; j < end; ++j) {
            if (t[j].depth != depth)
                continue;
            if (isWord(j, "having") || isWord(j, "order") || isPunct(j, ";"))
                break;
            if (isPunct(j, ",")) {
                keys << textOf(start, j).trimmed();
                start = j + 1;
            }
        }
        keys << textOf(start, j).trimmed();
        return keys;
    }

    // A grouped SELECT without ORDER BY: SQLite hands its groups over in the order of their keys
    // (it groups by sorting), and so the groups come here too.
    void orderGroups()
    {
        for (int group = 0; group < t.size(); ++group) {
            if (!isWord(group, "group") || !isWord(next(group), "by"))
                continue;
            const int depth = t[group].depth;
            int select = group;
            while (select >= 0 && !(t[select].depth == depth && isWord(select, "select")))
                --select;
            if (select < 0)
                continue;
            const int end = scopeEnd(select);
            bool ordered = false;
            for (int j = select; j < end && !ordered; ++j)
                ordered = t[j].depth == depth && (isWord(j, "order") || isWord(j, "union") ||
                                                  isWord(j, "except") || isWord(j, "intersect"));
            if (ordered)
                continue;
            int last = end - 1;
            while (last > group && !significant(last))
                --last;
            t[last].post.prepend(QStringLiteral(" ORDER BY ") +
                                 groupKeys(group, end).join(QStringLiteral(" NULLS FIRST, ")) +
                                 QStringLiteral(" NULLS FIRST"));
        }
    }

    // The SELECT a token at i belongs to: the nearest SELECT before it at its depth or above
    // whose part reaches past it.
    int selectOf(int i) const
    {
        for (int j = i - 1; j >= 0; --j)
            if (isWord(j, "select") && t[j].depth <= t[i].depth && scopeEnd(j) > i)
                return j;
        return -1;
    }

    struct FromTable
    {
        QString table;     // lower case
        QString qualifier; // as written out: the alias, or the table's name
        QString alias;     // lower case, as the statement writes it (or the table's name)
    };

    // The tables of the FROM clause of the SELECT at `select`, in order; *derived counts the
    // derived tables among them.
    QList<FromTable> fromTables(int select, int* derived) const
    {
        *derived = 0;
        const int depth = t[select].depth;
        const int end = scopeEnd(select);
        int from = -1;
        for (int j = select + 1; j < end && from < 0; ++j)
            if (t[j].depth == depth && isWord(j, "from"))
                from = j;
        QList<FromTable> tables;
        if (from < 0)
            return tables;
        static const QSet<QString> ends = {"where", "group",  "order",    "having",
                                           "union", "except", "intersect"};
        static const QSet<QString> joins = {"inner", "left",  "right", "full",
                                            "outer", "cross", "join",  "on"};
        bool expectTable = true;
        for (int j = next(from); j >= 0 && j < end; j = next(j)) {
            if (t[j].depth != depth)
                continue;
            const QString lower = t[j].kind == Kind::Word ? t[j].text.toLower() : QString();
            if (ends.contains(lower))
                break;
            if (isPunct(j, ",") || lower == QLatin1String("join")) {
                expectTable = true;
                continue;
            }
            if (!expectTable || joins.contains(lower))
                continue;
            expectTable = false;
            if (isPunct(j, "(")) {
                ++*derived;
                j = t[j].match;
                continue;
            }
            if (t[j].kind != Kind::Word && t[j].kind != Kind::Ident)
                continue;
            FromTable ft;
            ft.table =
                t[j].kind == Kind::Ident ? t[j].text.mid(1, t[j].text.size() - 2).toLower() : lower;
            int name = j;
            int alias = next(j);
            if (isWord(alias, "as"))
                alias = next(alias);
            const QString aliasLower =
                alias >= 0 && t[alias].kind == Kind::Word ? t[alias].text.toLower() : QString();
            if (alias >= 0 && alias < end &&
                ((t[alias].kind == Kind::Word && !keywords().contains(aliasLower) &&
                  !joins.contains(aliasLower)) ||
                 t[alias].kind == Kind::Ident))
                name = alias;
            ft.qualifier = t[name].replaced.isNull() ? t[name].text : t[name].replaced;
            ft.alias = name == j ? ft.table : t[name].text.toLower();
            tables << ft;
        }
        return tables;
    }

    // The order in which SQLite reads the rows of the SELECT at `select` (the order it adds them
    // up in, and hands over rows that tie on every ORDER BY item), as its planner reads tables
    // of the few shapes the reports join: first the table whose index serves the most conditions
    // on values (a column equal to a value or IN a list, then one range), then the others in the
    // order the FROM clause names them, each found through the index that serves the most of its
    // conditions, those on columns of tables read before it included; among indexes serving as
    // many, one that holds every column the statement reads of the table, else the narrowest.
    // Each table in the order of its index's columns and then of the rows' writing (ctid: a bulk
    // load writes them in SQLite's rowid order); a table no index serves, in the order of writing.
    // A derived table alone yields its rows in its own order: row_number() over (). Empty where it
    // cannot be told.
    QString readOrder(int select) const
    {
        int derived = 0;
        const QList<FromTable> tables = fromTables(select, &derived);
        if (tables.isEmpty())
            return derived == 1 ? QStringLiteral("row_number() over ()") : QString();
        const int depth = t[select].depth;
        const int end = scopeEnd(select);
        // The table a column reference at j (its last token) belongs to: -1 when none.
        auto tableOf = [&](int j, QString* column) {
            *column = t[j].kind == Kind::Ident ? t[j].text.mid(1, t[j].text.size() - 2).toLower()
                                               : t[j].text.toLower();
            const int dot = prev(j);
            if (isPunct(dot, ".")) {
                const int q = prev(dot);
                const QString qualifier = q >= 0 ? t[q].text.toLower() : QString();
                for (int k = 0; k < tables.size(); ++k)
                    if (tables[k].alias == qualifier)
                        return k;
                return -1;
            }
            for (int k = 0; k < tables.size(); ++k)
                if (schema().columns.value(tables[k].table).contains(*column))
                    return k;
            return -1;
        };
        auto isColumn = [&](int j) {
            return j >= 0 && (t[j].kind == Kind::Word || t[j].kind == Kind::Ident) &&
                   !isPunct(next(j), "(") && !isPunct(next(j), ".") &&
                   !(t[j].kind == Kind::Word && keywords().contains(t[j].text.toLower()));
        };
        // Every column the statement reads of each table; "*" reads them all.
        QList<QSet<QString>> used(tables.size());
        for (int j = select + 1; j < end; ++j) {
            QString column;
            if (isColumn(j)) {
                const int k = tableOf(j, &column);
                if (k >= 0)
                    used[k].insert(column);
            } else if (isPunct(j, "*") && t[j].depth == depth) {
                const int dot = prev(j);
                const QString q = isPunct(dot, ".") ? t[prev(dot)].text.toLower() : QString();
                for (int k = 0; k < tables.size(); ++k)
                    if (q.isEmpty() || tables[k].alias == q)
                        used[k].insert(QStringLiteral("*"));
            }
        }
        // The conditions: per table, the columns equal to a value, those in a range, and those
        // equal to a column of another table.
        struct Join
        {
            int other;
            QString column;
        };
        QList<QSet<QString>> equal(tables.size()), range(tables.size());
        QList<QList<Join>> joins(tables.size());
        int where = -1;
        for (int j = select + 1; j < end && where < 0; ++j)
            if (t[j].depth == depth && isWord(j, "where"))
                where = j;
        for (int j = where < 0 ? end : where + 1; j < end; ++j) {
            if (t[j].depth == depth &&
                (isWord(j, "group") || isWord(j, "order") || isWord(j, "having")))
                break;
            if (!isColumn(j))
                continue;
            QString column;
            const int k = tableOf(j, &column);
            if (k < 0)
                continue;
            const int op = next(j);
            if (isPunct(op, "=")) {
                int last = next(op);
                while (last >= 0 && isPunct(next(last), "."))
                    last = next(next(last));
                QString otherColumn;
                const int ko = isColumn(last) ? tableOf(last, &otherColumn) : -1;
                if (ko >= 0 && ko != k) {
                    joins[k].append({ko, column});
                    joins[ko].append({k, otherColumn});
                } else if (ko < 0) {
                    equal[k].insert(column);
                }
            } else if (isWord(op, "in")) {
                equal[k].insert(column);
            } else if (isPunct(op, ">=") || isPunct(op, ">") || isPunct(op, "<") ||
                       isPunct(op, "<=") || isWord(op, "between")) {
                range[k].insert(column);
            }
        }
        // The index of table k serving the most of the conditions, given the tables read before.
        auto bestIndex = [&](int k, const QSet<QString>& equalNow, int* served) {
            QStringList best;
            *served = 0;
            bool bestCovers = false;
            for (const QStringList& index : schema().indexes.value(tables[k].table)) {
                int n = 0;
                while (n < index.size() && equalNow.contains(index[n].toLower()))
                    ++n;
                if (n < index.size() && range[k].contains(index[n].toLower()))
                    ++n;
                if (n == 0)
                    continue;
                bool covers = !used[k].contains(QStringLiteral("*"));
                for (const QString& c : used[k])
                    covers = covers && index.contains(schema().names.value(c), Qt::CaseInsensitive);
                const bool better =
                    n > *served ||
                    (n == *served && ((covers && !bestCovers) ||
                                      (covers == bestCovers && index.size() < best.size())));
                if (better) {
                    best = index;
                    *served = n;
                    bestCovers = covers;
                }
            }
            return best;
        };
        QList<int> readFirst;
        int outer = 0, outerServed = -1;
        for (int k = 0; k < tables.size(); ++k) {
            int served = 0;
            bestIndex(k, equal[k], &served);
            if (served > outerServed) {
                outer = k;
                outerServed = served;
            }
        }
        readFirst << outer;
        for (int k = 0; k < tables.size(); ++k)
            if (k != outer)
                readFirst << k;
        QStringList order;
        QSet<int> read;
        for (int k : readFirst) {
            QSet<QString> equalNow = equal[k];
            for (const Join& join : joins[k])
                if (read.contains(join.other))
                    equalNow.insert(join.column);
            int served = 0;
            const QStringList index = bestIndex(k, equalNow, &served);
            const QString& q = tables[k].qualifier;
            for (const QString& c : index)
                order << q + QLatin1Char('.') + quoted(c) + QStringLiteral(" NULLS FIRST");
            order << q + QStringLiteral(".ctid");
            read.insert(k);
        }
        return order.join(QStringLiteral(", "));
    }

    // Rows that tie on every ORDER BY item come in the order SQLite hands them over: a grouped
    // result in the order of its GROUP BY keys, other rows in the order it read them
    // (readOrder). Not for DISTINCT, compound or aggregated selects, where those cannot stand.
    // Empty when it does not apply.
    QString tieBreak(int order) const
    {
        const int depth = t[order].depth;
        int select = -1, group = -1;
        for (int j = order - 1; j >= 0; --j) {
            if (t[j].depth < depth)
                break;
            if (t[j].depth != depth || !significant(j))
                continue;
            if (isWord(j, "union") || isWord(j, "except") || isWord(j, "intersect"))
                return {};
            if (isWord(j, "group") && isWord(next(j), "by"))
                group = j;
            if (isWord(j, "select")) {
                select = j;
                break;
            }
        }
        if (select < 0 || isWord(next(select), "distinct"))
            return {};
        if (group >= 0)
            return QStringLiteral(", ") + groupKeys(group, order).join(QStringLiteral(", "));
        static const QSet<QString> aggregates = {"count", "sum", "min", "max", "avg"};
        for (int j = select + 1; j < order; ++j) {
            if (t[j].depth == depth && isWord(j, "from"))
                break;
            if (t[j].depth == depth && t[j].kind == Kind::Word &&
                aggregates.contains(t[j].text.toLower()) && isPunct(next(j), "("))
                return {};
        }
        const QString read = readOrder(select);
        return read.isEmpty() ? QString() : QStringLiteral(", ") + read;
    }

    void wrapSums()
    {
        for (int open : m_sums) {
            t[next(open)].pre += QStringLiteral("CAST((");
            t[t[open].match].pre += QStringLiteral(") AS numeric)");
            const int close = t[open].match;
            const bool joined = close + 1 < t.size() && t[close + 1].kind != Kind::Space &&
                                t[close + 1].kind != Kind::Punct;
            t[close].post.prepend(joined ? QStringLiteral("::float8 ")
                                         : QStringLiteral("::float8"));
        }
    }

private:
    QList<int> m_sums; // the "(" of each SUM or AVG of amounts
    QHash<QString, QString> m_aliases;
    bool m_aliasesRead = false;
};

} // namespace

const QHash<QString, QString>& TsqlToPostgres::schemaNames()
{
    return schema().names;
}

QString TsqlToPostgres::translate(const QString& tsql)
{
    return PostgresRewriter(tsql).run();
}
