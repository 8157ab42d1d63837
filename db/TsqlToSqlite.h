#pragma once

#include <QString>

// Translates the T-SQL that the screens write into SQLite SQL:
// - "TOP n" becomes "LIMIT n" at the end of its SELECT, "TOP 100 PERCENT" is dropped;
// - "alias = expr" select items become "expr AS alias";
// - "(nolock)" and "WITH (NOLOCK)" table hints are dropped;
// - "SELECT ... INTO t FROM ..." becomes "CREATE TABLE t AS SELECT ... FROM ...";
// - "#2024-05-01#" date literals and date-only string literals become 'YYYY-MM-DD HH:MM:SS';
// - "+" next to a string literal becomes "||" (string concatenation);
// - "/" divides as decimals do ("a/b" becomes "a*1.0/b", so 7/2 gives 3.5 on integer-valued
//   amounts as it does on SQL Server's decimal columns);
// - isnull( -> ifnull(, len( -> length(, substring( -> substr(, convert(type, ...) ->
//   vtx_convert('type', ...), the date-part word of datepart/datediff/dateadd becomes text;
// - the column name IsNull (a keyword in SQLite) is bracketed.
// Functions outside SQLite's own set and those of SqliteFunctions.h, variables (@x) and other
// table hints are refused with an SqlError naming the construct.
class TsqlToSqlite
{
public:
    // Throws SqlError.
    static QString translate(const QString& tsql);
};
