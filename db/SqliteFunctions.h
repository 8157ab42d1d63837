#pragma once

struct sqlite3;

// The T-SQL functions that translated statements call, registered on an SQLite handle:
// getdate(), datepart(part, d), datediff(part, a, b), dateadd(part, n, d),
// vtx_convert(type, value [, style]), left(s, n), right(s, n), year(d), month(d), day(d).
// Dates are read from and written as text 'YYYY-MM-DD HH:MM:SS'. sum(x) is replaced by a sum in
// exact decimal fixed point (amounts to four decimals, other values to eight; the result the
// double nearest the exact sum), so that a sum of sums equals the sum of the values and a half
// cent is a half cent. Returns SQLITE_OK or an error.
//
// The same source is also built as the loadable SQLite extension libvtxsqlfn.so, which the
// SQLite ODBC driver loads through its LoadExt option (the driver offers no other way in).
int registerSqlFunctions(sqlite3* db);
