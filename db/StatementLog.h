#pragma once

#include "db/Connection.h"

#include <QFile>
#include <QJsonObject>
#include <QMutex>
#include <QString>

#include <memory>

// Writes the statements that connections run to a file, one JSON object per line, so that the
// T-SQL the screens send can be checked without a SQL Server (tools/tsqlcheck):
//
//   {"tsql":   the text as the screen wrote it,
//    "server": the text SQL Server receives over ODBC: the driver prepares the statement with
//              its ? markers named @P1, @P2, ... in order (outside quotes, brackets, comments),
//    "markers": how many markers it has,
//    "params": [{"odbc": "SQL_TIMESTAMP", "value": "2026-03-01 00:00:00"}, ...]: the parameters
//              as the SQL Server connection binds them (Qt's ODBC driver: the SQL type it binds
//              and the value),
//    "native": the text this connection's database ran (the SQLite translation, or the same)}
//
// and for each statement that failed, after its record, {"failed": the reason the user was
// given, "tsql": ..., "native": ...}: the statement is there, not in the user's message.
//
// One log may serve several connections, on any thread.
class StatementLog
{
public:
    // Opens FILE emptied. Null, with *error set, when it cannot be written.
    static std::shared_ptr<StatementLog> create(const QString& path, QString* error);
    // From now on every statement `connection` runs is written here (this replaces the
    // connection's statement trace).
    static void attach(const std::shared_ptr<StatementLog>& log, Connection& connection);

    void write(const Connection::TracedStatement& statement);
    void writeFailure(const Connection::TracedStatement& statement, const QString& error);

    // The statement as SQL Server receives it: its ? markers numbered @P1, @P2, ...; markers
    // inside string literals, [names], "names" and comments stay as they are.
    static QString serverText(const QString& tsql, int* markers = nullptr);
    // One parameter as the SQL Server connection binds it: {"odbc": SQL type, "value": value}.
    static QJsonObject serverParameter(const QVariant& value);

private:
    explicit StatementLog(const QString& path) : m_file(path) {}

    QMutex m_mutex;
    QFile m_file;
};
