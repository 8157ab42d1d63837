#pragma once

#include <QString>

// Translates the T-SQL that the screens write into SQLite SQL: the structure as TsqlRewriter
// rewrites it, and for SQLite:
// - isnull( -> ifnull(, len( -> length(, substring( -> substr(, convert(type, ...) ->
//   vtx_convert('type', ...); left( and right( are quoted (keywords in SQLite);
// - the column name IsNull (a keyword in SQLite) is bracketed.
// Functions outside SQLite's own set and those of SqliteFunctions.h are refused with an SqlError
// naming the construct.
class TsqlToSqlite
{
public:
    // Throws SqlError.
    static QString translate(const QString& tsql);
};
