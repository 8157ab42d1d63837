#pragma once

#include "db/Recordset.h"
#include "db/SqlError.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class Connection;
struct BufferedResult;
struct pg_cancel;
struct pg_conn;
struct sqlite3;
struct sqlite3_stmt;
using ConnectionPtr = std::shared_ptr<Connection>;

// The database dialect a connection speaks. Screens always write T-SQL (SQL Server's
// dialect); on SQLite and PostgreSQL each statement is translated once, by text, before it runs.
enum class SqlDialect
{
    MsSql,
    Sqlite,
    Postgres
};

// One open database connection, owned by the host and shared by everything that queries.
// A default-constructed Connection is unopened: every statement on it fails with SqlError.
class Connection
{
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens an SQLite file (the embedded default) and switches it to WAL mode when it can
    // (see Connection.cpp). Throws SqlError when it cannot be opened or is not a database.
    static std::shared_ptr<Connection> openSqlite(const QString& path);
    // Opens an ODBC data source; dialect Sqlite for the SQLite ODBC driver (tests), MsSql for
    // SQL Server. Throws SqlError when it cannot be opened.
    static std::shared_ptr<Connection> openOdbc(const QString& connectionString,
                                                SqlDialect dialect = SqlDialect::MsSql);

    // Opens a PostgreSQL database through QPSQL; `connection` is libpq's "host=... dbname=..."
    // text or a postgresql:// URL (PostgresConnectOptions). Results are read in full when a
    // statement runs, so that any number of them can be open on the connection at once; amounts
    // read as doubles and dates as 'YYYY-MM-DD HH:MM:SS' texts, as on SQLite. Throws SqlError.
    static std::shared_ptr<Connection> openPostgres(const QString& connection);

    bool isOpen() const;
    SqlDialect dialect() const { return m_dialect; }
    QSqlDatabase database() const;

    // The statement as it runs on this connection (T-SQL translated for SQLite or PostgreSQL,
    // cached by text).
    // Throws SqlError naming a construct the translator does not know.
    QString nativeSql(const QString& tsql) const;

    // Runs a statement with positional `?` parameters; QDate/QDateTime values bind as dates.
    // The result is a forward-only reader. Throws SqlError.
    std::unique_ptr<Recordset> execute(const QString& tsql, const QVariantList& params = {}) const;
    // Runs read-only statements with small results, each read in full, results in the order of
    // the statements. On an SQLite file they run side by side on extra read-only connections,
    // one per processor core (the report waits for the slowest instead of the sum), and on a
    // WAL file all of them read the same state of it, whatever is committed meanwhile; on other
    // databases, in memory or inside a transaction, one after another here. Never throws: a
    // statement that fails carries its error.
    struct Statement
    {
        QString tsql;
        QVariantList params;
    };
    std::vector<BufferedResult> executeAll(const QList<Statement>& statements) const;

    // A read-only statement prepared and bound for stepping on another thread: on an SQLite file
    // outside a transaction, on one of the connection's read-only handles (SQLite handles are
    // used by one thread at a time); on PostgreSQL outside a transaction, sent on a connection of
    // its own with this one's options (kept for the next such read), its rows to be read one by
    // one as the server sends them. Null where that cannot be done (ODBC, a database in memory,
    // an open transaction whose writes another connection would not see, a statement the other
    // connection cannot prepare, such as one over this connection's temporary tables, or a
    // server that takes no further connection): the caller then runs it with execute().
    // Reported to the statement trace like execute().
    class DetachedRead;
    static std::unique_ptr<DetachedRead> prepareDetached(const ConnectionPtr& connection,
                                                         const QString& tsql,
                                                         const QVariantList& params = {});

    // Runs a statement that returns no rows; returns the number of rows affected. Throws SqlError.
    int executeNonQuery(const QString& tsql, const QVariantList& params = {}) const;

    // Runs a script of statements separated by ";" (no parameters, no results), as native SQL of
    // the connection: schema files and test fixtures. Throws SqlError naming the failing statement.
    void executeScript(const QString& script) const;

    // Transactions for the few writes the module makes. Throw SqlError on failure.
    void beginTransaction() const;
    void commit() const;
    void rollback() const;

    // The parameters as a connection of `dialect` binds them: on SQL Server a QDate becomes a
    // QDateTime at midnight (which ODBC binds as a timestamp); on SQLite dates become the text
    // "yyyy-MM-dd HH:mm:ss" that the files store. Other values bind as they are.
    static QVariantList boundParameters(const QVariantList& params, SqlDialect dialect);

    // One statement as it is run: the T-SQL text and the parameters its caller gave, and what
    // this connection's database receives (the same text on SQL Server; the translation on
    // SQLite), with the parameters as bound.
    struct TracedStatement
    {
        QString tsql;
        QVariantList params;
        QString nativeSql;
        QVariantList bound;
    };
    // Trace hook, off by default: when set, every statement run through execute(),
    // executeNonQuery(), executeAll() and prepareDetached() is reported once, before it runs.
    // Benchmarks replay a screen's statements from it; StatementLog writes them to a file.
    using StatementTrace = std::function<void(const TracedStatement&)>;
    void setStatementTrace(StatementTrace trace);
    // Failure hook, off by default: a statement that fails (to translate, prepare, run or read
    // a row) is reported with the reason its SqlError gives, the statement itself being no part
    // of that reason.
    using FailureTrace = std::function<void(const TracedStatement&, const QString& error)>;
    void setFailureTrace(FailureTrace trace);

    struct BusyWait;

private:
    template <class Run>
    auto traced(const QString& tsql, const QString& sql, const QVariantList& params,
                const QVariantList& bound, Run&& run) const -> decltype(run());
    Recordset::FailureHook failureHook(const QString& tsql, const QString& sql,
                                       const QVariantList& params, const QVariantList& bound) const;
    QString prepareText(const QString& tsql, const QVariantList& params, QVariantList* bound,
                        bool trace = true) const;
    QSqlQuery executedQuery(const QString& sql, const QVariantList& bound) const;
    // Dates read as 'YYYY-MM-DD HH:MM:SS' texts, as SQLite stores them (PostgreSQL).
    bool datesAsText() const { return m_dialect == SqlDialect::Postgres; }
    static QList<QByteArray> postgresSessionSettings();
    // The statement translated (`sql`, with its `bound` values) on a reader connection of its
    // own, in single-row mode.
    static std::unique_ptr<DetachedRead> prepareDetachedPostgres(const ConnectionPtr& connection,
                                                                 const QString& tsql,
                                                                 const QVariantList& params,
                                                                 const QString& sql,
                                                                 const QVariantList& bound);

    struct Private;
    std::unique_ptr<Private> d;
    SqlDialect m_dialect = SqlDialect::Sqlite;
};

// A statement prepared by Connection::prepareDetached, to be read by whoever takes it. SQLite:
// the statement is stepped by its taker (a Recordset finalizes it); the handle goes back to the
// connection's idle read-only handles when this is destroyed, so it must outlive the Recordset.
// PostgreSQL: the statement runs on the connection postgres() in libpq's single-row mode; its
// taker reads the results (PQgetResult) until there are none. That connection goes back to the
// idle ones when this is destroyed after a complete read, and is closed otherwise.
class Connection::DetachedRead
{
public:
    DetachedRead(ConnectionPtr owner, sqlite3* handle, sqlite3_stmt* statement, QString sql,
                 Recordset::FailureHook failed = {});
    DetachedRead(ConnectionPtr owner, pg_conn* postgres, QString sql,
                 Recordset::FailureHook failed = {});
    ~DetachedRead();
    DetachedRead(const DetachedRead&) = delete;
    DetachedRead& operator=(const DetachedRead&) = delete;

    sqlite3_stmt* takeStatement();                   // null on PostgreSQL
    pg_conn* postgres() const { return m_postgres; } // null on SQLite
    const QString& sql() const { return m_sql; }
    // Reports a failure while the statement is stepped to the connection's failure trace.
    const Recordset::FailureHook& failureHook() const { return m_failed; }
    // Makes the statement stop: SQLite at its next step (SQLITE_INTERRUPT); PostgreSQL asks the
    // server to cancel it and shuts the connection's socket, so that a read waiting for the
    // server returns at once (the connection is then closed, not kept). Any thread may call it
    // while the statement is being read.
    void interrupt();

private:
    ConnectionPtr m_owner;
    sqlite3* m_handle = nullptr;
    sqlite3_stmt* m_statement = nullptr;
    pg_conn* m_postgres = nullptr;
    pg_cancel* m_cancel = nullptr; // handed to the request that cancels the statement
    std::atomic<bool> m_interrupted{false};
    QString m_sql;
    Recordset::FailureHook m_failed;
};
