#pragma once

#include <QHash>
#include <QString>

// Translates the T-SQL that the screens write into PostgreSQL SQL: the structure as TsqlRewriter
// rewrites it, and for PostgreSQL:
// - the tables and columns of data/schema/postgresql.sql, created quoted in their mixed case, are
//   quoted in that case however the statement writes them ([BillDate], billdate); aliases
//   ("AS SumToPay", "SumToPay = ...") are quoted as written, and so is every later use of them in
//   the statement, so that result columns keep the names the screens look up;
// - isnull( -> coalesce(, len( -> length(, substring( -> substr(, convert(type, value[, style])
//   -> vtx_convert_text(value, length, style) / CAST(... AS timestamp) / vtx_convert_int(value) /
//   CAST(... AS numeric); CAST(... AS datetime) casts to timestamp; getdate, datepart, datediff,
//   dateadd, year, month, day and left/right of a date are functions of the schema script;
// - NULL sorts first in ascending order and last in descending order (" NULLS FIRST" / " NULLS
//   LAST" on every ORDER BY item), as on SQL Server and SQLite;
// - a division by zero gives NULL, as on SQLite ("a/b" -> "a*1.0/NULLIF(b,0)");
// - rows that tie on every ORDER BY item, and the groups of a grouped SELECT without one, come
//   in the order SQLite hands them over;
// - each SUM and AVG of amounts is an exact decimal sum handed over as the nearest double
//   ("SUM(CAST((x) AS numeric))::float8"), as SQLite sums on our connections: every figure is
//   SQLite's to the last bit in whatever order the server reads the rows.
// Functions that neither PostgreSQL nor the schema has are refused with an SqlError.
class TsqlToPostgres
{
public:
    // Throws SqlError.
    static QString translate(const QString& tsql);
    // The schema's names by their lower-case form, as data/schema/postgresql.sql writes them.
    static const QHash<QString, QString>& schemaNames();
};
