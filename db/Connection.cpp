#include "db/Connection.h"

#include "db/PostgresConnectOptions.h"
#include "db/Recordset.h"
#include "db/SqlText.h"
#include "db/SqliteFunctions.h"
#include "db/TsqlToPostgres.h"
#include "db/TsqlToSqlite.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <optional>
#include <thread>

#include <dlfcn.h>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <sys/statvfs.h>

namespace {

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("vtx-%1").arg(counter.fetchAndAddOrdered(1));
}

// Translations are pure functions of the statement text: one cache per dialect serves every
// connection.
QString translatedSql(const QString& tsql, SqlDialect dialect)
{
    static QMutex mutex;
    static QHash<QString, QString> caches[2];
    QHash<QString, QString>& cache = caches[dialect == SqlDialect::Postgres ? 1 : 0];
    {
        QMutexLocker lock(&mutex);
        const auto it = cache.constFind(tsql);
        if (it != cache.constEnd())
            return it.value();
    }
    const QString native = dialect == SqlDialect::Postgres
                               ? TsqlToPostgres::translate(tsql)
                               : TsqlToSqlite::translate(tsql); // throw SqlError
    QMutexLocker lock(&mutex);
    cache.insert(tsql, native);
    return native;
}

// The QPSQL driver's libpq connection.
PGconn* postgresHandle(const QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    // Named by the typedef or by the struct behind it, as the driver registered it.
    if (qstrcmp(handle.typeName(), "PGconn*") != 0 && qstrcmp(handle.typeName(), "pg_conn*") != 0)
        return nullptr;
    return *static_cast<PGconn* const*>(handle.data());
}

sqlite3* sqliteHandle(const QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.data());
}

// The loadable SQLite extension with the T-SQL functions, beside this library.
QString functionsModulePath()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&functionsModulePath), &info) == 0 || !info.dli_fname)
        return {};
    const QString path = QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath() +
                         QStringLiteral("/libvtxsqlfn.so");
    return QFileInfo::exists(path) ? path : QString();
}

} // namespace

// How long a statement waits for a lock another connection holds before it fails with "the
// database is busy". In WAL mode readers take no such lock: only writers wait (and readers of a
// file that another program holds in exclusive locking mode). Once a wait has run out, the
// connection's next statements do not wait again for QuietMs: a report whose first
// statement found the database busy fails at once instead of waiting once per statement.
struct Connection::BusyWait
{
    static constexpr int WaitMs = 3000;
    static constexpr int StepMs = 20;
    static constexpr qint64 QuietMs = 10000;
    std::atomic<qint64> gaveUpAt{-1}; // QDeadlineTimer's clock, in ms

    static int handler(void* context, int count)
    {
        auto* wait = static_cast<BusyWait*>(context);
        const qint64 now = QDeadlineTimer::current().deadline();
        const qint64 gaveUp = wait->gaveUpAt.load();
        if (count == 0 && gaveUp >= 0 && now - gaveUp < QuietMs)
            return 0;
        if (count * StepMs >= WaitMs) {
            wait->gaveUpAt = now;
            return 0;
        }
        sqlite3_sleep(StepMs);
        return 1;
    }
    void install(sqlite3* handle) { sqlite3_busy_handler(handle, &BusyWait::handler, this); }
};

namespace {

// SQLite opens a file lazily: reading the schema tells a database from any other file. A file
// another connection holds locked is a database all the same.
void probeDatabase(sqlite3* handle, const QString& path)
{
    sqlite3_stmt* statement = nullptr;
    int rc =
        sqlite3_prepare_v2(handle, "SELECT count(*) FROM sqlite_master", -1, &statement, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(statement);
    const int code = sqlite3_errcode(handle);
    const QString message = QString::fromUtf8(sqlite3_errmsg(handle));
    sqlite3_finalize(statement);
    if (rc == SQLITE_ROW || rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        return;
    if (code == SQLITE_NOTADB)
        throw SqlError(QStringLiteral("%1 is not an SQLite database (%2)").arg(path, message));
    if (code == SQLITE_CORRUPT)
        throw SqlError(QStringLiteral("%1 is damaged (%2)").arg(path, message),
                       SqlError::Kind::Damaged);
    // A file in WAL mode is read through its -shm index beside it, which SQLite must be able to
    // create: on a read-only mount (or in a folder the user may not write) it cannot.
    QFile file(path);
    QByteArray header;
    if (file.open(QIODevice::ReadOnly))
        header = file.read(20);
    const bool wal = header.size() >= 20 && header.at(18) == 2 && header.at(19) == 2;
    const QString folder = QFileInfo(path).absolutePath();
    struct statvfs fs
    {
    };
    const bool readOnlyMount =
        statvfs(QFile::encodeName(folder).constData(), &fs) == 0 && (fs.f_flag & ST_RDONLY);
    if (wal && (readOnlyMount || !QFileInfo(folder).isWritable()) &&
        !QFileInfo::exists(path + QStringLiteral("-shm")))
        throw SqlError(QStringLiteral("cannot read %1: the file is in WAL mode and %2, so its "
                                      "index %1-shm cannot be made (%3)")
                           .arg(path,
                                readOnlyMount ? QStringLiteral("its folder is on a read-only mount")
                                              : QStringLiteral("its folder is not writable"),
                                message));
    throw SqlError(QStringLiteral("cannot read %1 (%2)").arg(path, message));
}

// Write-ahead logging, so that the tills writing to the file never block a report reading it.
// The mode stays with the file; switching needs the file to itself, so it is tried without
// waiting: when another connection is inside a transaction, or the file is read-only, the file
// keeps its mode and is read as it is.
void switchToWal(sqlite3* handle)
{
    sqlite3_exec(handle, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
}

QByteArray journalMode(sqlite3* handle)
{
    sqlite3_stmt* statement = nullptr;
    QByteArray mode;
    if (sqlite3_prepare_v2(handle, "PRAGMA journal_mode", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        mode = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    return mode.toLower();
}

// Changes whenever another connection has committed since this one last asked; inside a
// transaction, the state of the file that the transaction reads.
qint64 dataVersion(sqlite3* handle)
{
    sqlite3_stmt* statement = nullptr;
    qint64 version = -1;
    if (sqlite3_prepare_v2(handle, "PRAGMA data_version", -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        version = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return version;
}

// A read transaction, begun by reading: from here on the handle reads one state of the file.
bool beginRead(sqlite3* handle)
{
    if (sqlite3_exec(handle, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    if (dataVersion(handle) >= 0)
        return true;
    sqlite3_exec(handle, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
}

void endRead(sqlite3* handle)
{
    if (!sqlite3_get_autocommit(handle))
        sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr);
}

// Begins a read transaction on every handle at one state of a WAL file: no commit falls
// between the first begin and the last, which the data version of the first handle, read
// before and inside its transaction, tells. A till committing meanwhile makes it try again.
bool beginReadTogether(const std::vector<sqlite3*>& handles)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        const qint64 before = dataVersion(handles.front());
        bool begun = before >= 0;
        for (size_t i = 1; i < handles.size() && begun; ++i)
            begun = beginRead(handles[i]);
        if (begun && beginRead(handles.front()) && dataVersion(handles.front()) == before)
            return true;
        for (sqlite3* h : handles)
            endRead(h);
    }
    return false;
}

QVariant bindable(const QVariant& v, SqlDialect dialect)
{
    const int type = v.typeId();
    // PostgreSQL reads a date text as a timestamp wherever the statement compares it with one,
    // and as text where it is text, as SQLite does; a Boolean is the 0 or 1 of an integer column.
    if (dialect == SqlDialect::Postgres && type == QMetaType::Bool)
        return int(v.toBool());
    if (dialect == SqlDialect::Sqlite || dialect == SqlDialect::Postgres) {
        if (type == QMetaType::QDate)
            return v.toDate().toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
        if (type == QMetaType::QDateTime)
            return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        return v;
    }
    if (type == QMetaType::QDate)
        return QDateTime(v.toDate(), QTime(0, 0));
    return v;
}

} // namespace

QVariantList Connection::boundParameters(const QVariantList& params, SqlDialect dialect)
{
    QVariantList bound;
    bound.reserve(params.size());
    for (const QVariant& p : params)
        bound << bindable(p, dialect);
    return bound;
}

struct Connection::Private
{
    QString name;
    sqlite3* sqlite = nullptr; // the QSQLITE driver's handle; null on ODBC
    QMutex readersMutex;
    std::vector<sqlite3*> readers; // idle read-only handles of executeAll, opened on demand
    BusyWait busy;                 // shared by the connection's handles

    // PostgreSQL: where the database is, and idle connections of detached reads.
    std::optional<PostgresConnectOptions> postgres;
    std::vector<PGconn*> postgresReaders;

    ~Private()
    {
        for (sqlite3* h : readers)
            sqlite3_close_v2(h);
        for (PGconn* c : postgresReaders)
            PQfinish(c);
    }
    sqlite3* takeReader(const QByteArray& path)
    {
        {
            QMutexLocker lock(&readersMutex);
            if (!readers.empty()) {
                sqlite3* h = readers.back();
                readers.pop_back();
                return h;
            }
        }
        sqlite3* h = nullptr;
        // One thread at a time uses a reader handle: no mutex around each call on it.
        if (sqlite3_open_v2(path.constData(), &h, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                            nullptr) != SQLITE_OK ||
            registerSqlFunctions(h) != SQLITE_OK) {
            sqlite3_close_v2(h);
            return nullptr;
        }
        busy.install(h);
        return h;
    }
    void giveBack(sqlite3* h)
    {
        QMutexLocker lock(&readersMutex);
        readers.push_back(h);
    }
    PGconn* takePostgresReader();
    void giveBack(PGconn* c)
    {
        QMutexLocker lock(&readersMutex);
        postgresReaders.push_back(c);
    }
    Connection::StatementTrace trace;
    Connection::FailureTrace failureTrace;
};

Connection::Connection() : d(std::make_unique<Private>()) {}

Connection::~Connection()
{
    if (!d->name.isEmpty()) {
        QSqlDatabase::database(d->name, false).close();
        QSqlDatabase::removeDatabase(d->name);
    }
}

std::shared_ptr<Connection> Connection::openSqlite(const QString& path)
{
    auto c = std::make_shared<Connection>();
    c->m_dialect = SqlDialect::Sqlite;
    c->d->name = nextConnectionName();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), c->d->name);
    db.setDatabaseName(path);
    if (!db.open())
        throw SqlError(QStringLiteral("cannot open %1: %2").arg(path, db.lastError().text()));
    sqlite3* handle = sqliteHandle(db);
    if (!handle)
        throw SqlError(QStringLiteral("cannot open %1: no SQLite handle").arg(path));
    // Probed and switched without waiting for another connection's lock.
    sqlite3_busy_handler(handle, nullptr, nullptr);
    probeDatabase(handle, path);
    if (registerSqlFunctions(handle) != SQLITE_OK)
        throw SqlError(QStringLiteral("cannot register the SQL functions on %1").arg(path));
    switchToWal(handle);
    c->d->busy.install(handle);
    c->d->sqlite = handle;
    return c;
}

std::shared_ptr<Connection> Connection::openOdbc(const QString& connectionString,
                                                 SqlDialect dialect)
{
    auto c = std::make_shared<Connection>();
    c->m_dialect = dialect;
    c->d->name = nextConnectionName();
    QString options = connectionString;
    if (dialect == SqlDialect::Sqlite &&
        !options.contains(QLatin1String("LoadExt="), Qt::CaseInsensitive)) {
        // The SQLite ODBC driver loads our functions as an extension.
        const QString module = functionsModulePath();
        if (!module.isEmpty()) {
            if (!options.endsWith(QLatin1Char(';')))
                options += QLatin1Char(';');
            options += QStringLiteral("LoadExt=") + module;
        }
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), c->d->name);
    db.setDatabaseName(options);
    if (!db.open())
        throw SqlError(
            QStringLiteral("cannot open ODBC data source: %1").arg(db.lastError().text()));
    return c;
}

std::shared_ptr<Connection> Connection::openPostgres(const QString& connection)
{
    PostgresConnectOptions options;
    QString error;
    if (!PostgresConnectOptions::parse(connection, &options, &error))
        throw SqlError(QStringLiteral("cannot read the PostgreSQL connection: %1").arg(error));
    auto c = std::make_shared<Connection>();
    c->m_dialect = SqlDialect::Postgres;
    c->d->name = nextConnectionName();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), c->d->name);
    if (!db.isValid())
        throw SqlError(QStringLiteral("the QPSQL driver is missing (Debian: libqt6sql6-psql)"));
    options.applyTo(db);
    db.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    if (!db.open())
        throw SqlError(QStringLiteral("cannot open PostgreSQL database %1: %2")
                           .arg(options.describe(), db.lastError().text()));
    for (const QByteArray& setting : postgresSessionSettings())
        QSqlQuery(db).exec(QString::fromUtf8(setting));
    c->d->postgres = options;
    return c;
}

// The settings of every session on a PostgreSQL server, the connection's own and those of its
// detached reads.
QList<QByteArray> Connection::postgresSessionSettings()
{
    return {
        // The server's notices ("table ... does not exist, skipping") are no news to a report.
        "SET client_min_messages TO warning",
        // A lock another session holds is waited on as long as on SQLite, then reported busy.
        "SET lock_timeout = " + QByteArray::number(BusyWait::WaitMs),
    };
}

// A connection of its own for a detached read, opened with the connection's options and
// session as QPSQL opens it (UTF-8, ISO dates, bytea escaped); null when none can be opened.
PGconn* Connection::Private::takePostgresReader()
{
    {
        QMutexLocker lock(&readersMutex);
        while (!postgresReaders.empty()) {
            PGconn* c = postgresReaders.back();
            postgresReaders.pop_back();
            if (PQstatus(c) == CONNECTION_OK && PQtransactionStatus(c) == PQTRANS_IDLE)
                return c;
            PQfinish(c);
        }
    }
    if (!postgres)
        return nullptr;
    std::vector<QByteArray> keys, values;
    auto add = [&](const char* key, const QString& value) {
        if (!value.isEmpty()) {
            keys.emplace_back(key);
            values.push_back(value.toUtf8());
        }
    };
    add("host", postgres->host);
    add("port", postgres->port > 0 ? QString::number(postgres->port) : QString());
    add("dbname", postgres->database);
    add("user", postgres->user);
    add("password", postgres->password);
    for (const QString& other : postgres->others)
        add(other.section(QLatin1Char('='), 0, 0).toUtf8().constData(),
            other.section(QLatin1Char('='), 1));
    std::vector<const char*> k, v;
    for (size_t i = 0; i < keys.size(); ++i) {
        k.push_back(keys[i].constData());
        v.push_back(values[i].constData());
    }
    k.push_back(nullptr);
    v.push_back(nullptr);
    PGconn* c = PQconnectdbParams(k.data(), v.data(), 0);
    if (PQstatus(c) != CONNECTION_OK || PQsetClientEncoding(c, "UTF8") != 0) {
        PQfinish(c);
        return nullptr;
    }
    QList<QByteArray> settings{"SET DATESTYLE TO 'ISO'", "SET bytea_output TO escape"};
    for (const QByteArray& setting : settings + postgresSessionSettings()) {
        PGresult* r = PQexec(c, setting.constData());
        const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
        PQclear(r);
        if (!ok) {
            PQfinish(c);
            return nullptr;
        }
    }
    return c;
}

bool Connection::isOpen() const
{
    return !d->name.isEmpty() && QSqlDatabase::database(d->name, false).isOpen();
}

QSqlDatabase Connection::database() const
{
    return d->name.isEmpty() ? QSqlDatabase() : QSqlDatabase::database(d->name, false);
}

QString Connection::nativeSql(const QString& tsql) const
{
    return m_dialect == SqlDialect::MsSql ? tsql : translatedSql(tsql, m_dialect);
}

void Connection::setStatementTrace(StatementTrace trace)
{
    d->trace = std::move(trace);
}

void Connection::setFailureTrace(FailureTrace trace)
{
    d->failureTrace = std::move(trace);
}

Recordset::FailureHook Connection::failureHook(const QString& tsql, const QString& sql,
                                               const QVariantList& params,
                                               const QVariantList& bound) const
{
    if (!d->failureTrace)
        return {};
    return [trace = d->failureTrace, s = TracedStatement{tsql, params, sql, bound}](
               const QString& error) { trace(s, error); };
}

namespace {

// Qt's drivers bind a null of any type (a null text, an invalid date) as SQL NULL.
bool isNullValue(const QVariant& v)
{
    if (v.isNull())
        return true;
    switch (v.typeId()) {
    case QMetaType::QString:
        return v.toString().isNull();
    case QMetaType::QByteArray:
        return v.toByteArray().isNull();
    default:
        return false;
    }
}

// Prepares and binds a statement on the SQLite handle itself.
sqlite3_stmt* prepareSqlite(sqlite3* handle, const QString& sql, const QVariantList& bound)
{
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(handle, utf8.constData(), int(utf8.size()), &statement, nullptr) !=
        SQLITE_OK)
        throw sqliteError(handle);
    if (!statement)
        throw SqlError(QStringLiteral("the statement is empty"));
    if (sqlite3_bind_parameter_count(statement) != bound.size()) {
        const int markers = sqlite3_bind_parameter_count(statement);
        sqlite3_finalize(statement);
        throw SqlError(QStringLiteral("%1 parameters bound where the statement has %2")
                           .arg(bound.size())
                           .arg(markers));
    }
    int rc = SQLITE_OK;
    for (int i = 0; i < bound.size() && rc == SQLITE_OK; ++i) {
        const QVariant& v = bound.at(i);
        switch (isNullValue(v) ? QMetaType::UnknownType : v.typeId()) {
        case QMetaType::UnknownType:
            rc = sqlite3_bind_null(statement, i + 1);
            break;
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            rc = sqlite3_bind_int64(statement, i + 1, v.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(statement, i + 1, v.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = v.toByteArray();
            rc = sqlite3_bind_blob(statement, i + 1, bytes.constData(), int(bytes.size()),
                                   SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QString text = v.toString();
            rc = sqlite3_bind_text16(statement, i + 1, text.utf16(), int(text.size() * 2),
                                     SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK) {
        const SqlError error = sqliteError(handle);
        sqlite3_finalize(statement);
        throw error;
    }
    return statement;
}

} // namespace

// The statement as it runs, with its parameters as they bind; reported to the trace.
QString Connection::prepareText(const QString& tsql, const QVariantList& params,
                                QVariantList* bound, bool trace) const
{
    if (!isOpen())
        throw SqlError(QStringLiteral("the database connection is not open"));
    QString sql;
    try {
        sql = nativeSql(tsql);
    } catch (const SqlError& e) {
        // The translator names the statement; the trace keeps it, the user gets the reason.
        if (trace && d->failureTrace)
            d->failureTrace({tsql, params, QString(), {}}, e.message());
        throw SqlError(QStringLiteral("the statement cannot be translated: ") +
                       e.message().section(QStringLiteral(" in: "), 0, 0));
    }
    *bound = boundParameters(params, m_dialect);
    if (trace && d->trace)
        d->trace({tsql, params, sql, *bound});
    return sql;
}

// Runs `run`, reporting a failure to the failure trace before passing it on.
template <class Run>
auto Connection::traced(const QString& tsql, const QString& sql, const QVariantList& params,
                        const QVariantList& bound, Run&& run) const -> decltype(run())
{
    try {
        return run();
    } catch (const SqlError& e) {
        if (d->failureTrace)
            d->failureTrace({tsql, params, sql, bound}, e.message());
        throw;
    }
}

QSqlQuery Connection::executedQuery(const QString& sql, const QVariantList& bound) const
{
    QSqlQuery q(database());
    // QPSQL streams a forward-only result row by row, and starting another statement on the
    // connection meanwhile cuts it short: on PostgreSQL every result is read in full at once.
    q.setForwardOnly(m_dialect != SqlDialect::Postgres);
    if (!q.prepare(sql))
        throw driverError(q.lastError());
    for (const QVariant& v : bound)
        q.addBindValue(v);
    if (!q.exec())
        throw driverError(q.lastError());
    return q;
}

std::unique_ptr<Recordset> Connection::execute(const QString& tsql,
                                               const QVariantList& params) const
{
    QVariantList bound;
    const QString sql = prepareText(tsql, params, &bound);
    return traced(tsql, sql, params, bound, [&] {
        if (d->sqlite)
            return std::make_unique<Recordset>(prepareSqlite(d->sqlite, sql, bound), sql,
                                               failureHook(tsql, sql, params, bound));
        return std::make_unique<Recordset>(executedQuery(sql, bound), datesAsText(),
                                           failureHook(tsql, sql, params, bound));
    });
}

std::vector<BufferedResult> Connection::executeAll(const QList<Statement>& statements) const
{
    std::vector<BufferedResult> results(size_t(statements.size()));
    std::vector<QString> sql(results.size());
    std::vector<QVariantList> bound(results.size());
    for (size_t i = 0; i < results.size(); ++i) {
        try {
            sql[i] = prepareText(statements.at(qsizetype(i)).tsql,
                                 statements.at(qsizetype(i)).params, &bound[i]);
        } catch (const SqlError& e) {
            results[i].error = e.message();
            results[i].errorKind = e.kind();
        }
    }
    // Reads statement i on an SQLite handle, or through the driver when there is none (ODBC).
    auto run = [&](sqlite3* handle, size_t i) {
        if (!results[i].error.isEmpty())
            return;
        const Statement& s = statements.at(qsizetype(i));
        try {
            traced(s.tsql, sql[i], s.params, bound[i], [&] {
                const auto rs = handle ? std::make_unique<Recordset>(
                                             prepareSqlite(handle, sql[i], bound[i]), sql[i])
                                       : std::make_unique<Recordset>(
                                             executedQuery(sql[i], bound[i]), datesAsText());
                results[i] = BufferedResult::readAll(*rs);
            });
        } catch (const SqlError& e) {
            results[i].error = e.message();
            results[i].errorKind = e.kind();
        }
    };
    // Other connections would not see this one's uncommitted writes.
    const char* file = d->sqlite ? sqlite3_db_filename(d->sqlite, "main") : nullptr;
    const int workers =
        std::min(int(results.size()), std::clamp(QThread::idealThreadCount(), 1, 4));
    if (!file || !*file || !sqlite3_get_autocommit(d->sqlite)) {
        for (size_t i = 0; i < results.size(); ++i)
            run(d->sqlite, i);
        return results;
    }
    // On a WAL file the statements read one state of the file, whatever the tills commit
    // meanwhile, so that the figures of one report agree with each other. (In rollback mode a
    // read transaction would hold the tills' commits back instead.)
    const bool wal = journalMode(d->sqlite) == "wal";
    // This thread reads on the connection itself, the others on read-only handles of their own.
    const QByteArray path(file);
    std::vector<sqlite3*> handles{d->sqlite};
    for (int w = 1; w < workers; ++w)
        if (sqlite3* reader = d->takeReader(path))
            handles.push_back(reader);
    bool together = wal && beginReadTogether(handles);
    if (wal && !together) {
        // The tills commit faster than the handles can begin together: read here alone.
        for (size_t w = 1; w < handles.size(); ++w)
            d->giveBack(handles[w]);
        handles.resize(1);
        together = beginRead(d->sqlite);
    }
    std::atomic<size_t> next{0};
    auto work = [&](sqlite3* handle) {
        for (size_t i; (i = next++) < results.size();)
            run(handle, i);
    };
    std::vector<std::thread> threads;
    for (size_t w = 1; w < handles.size(); ++w)
        threads.emplace_back(work, handles[w]);
    work(d->sqlite);
    for (std::thread& t : threads)
        t.join();
    for (size_t w = 0; w < handles.size(); ++w) {
        if (together)
            endRead(handles[w]);
        if (w > 0)
            d->giveBack(handles[w]);
    }
    return results;
}

namespace {

// The statement as libpq takes it: each ? outside quotes becomes $1, $2, ... (as QPSQL prepares
// it).
QByteArray postgresPlaceholders(const QString& sql)
{
    QString out;
    out.reserve(sql.size() + 16);
    int n = 0;
    QChar quote;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u'?') {
            out += QLatin1Char('$') + QString::number(++n);
            continue;
        }
        out += c;
    }
    return out.toUtf8();
}

} // namespace

std::unique_ptr<Connection::DetachedRead>
Connection::prepareDetachedPostgres(const ConnectionPtr& connection, const QString& tsql,
                                    const QVariantList& params, const QString& sql,
                                    const QVariantList& bound)
{
    Private& d = *connection->d;
    const PGconn* own = connection->isOpen() ? postgresHandle(connection->database()) : nullptr;
    if (!own || PQtransactionStatus(own) != PQTRANS_IDLE)
        return nullptr;
    PGconn* reader = d.takePostgresReader();
    if (!reader)
        return nullptr;
    // Prepared first, so that a statement the other connection cannot run (over this one's
    // temporary tables) is left to execute(); parameters as text, their types as the statement
    // implies them.
    PGresult* prepared =
        PQprepare(reader, "", postgresPlaceholders(sql).constData(), int(bound.size()), nullptr);
    const bool ok = PQresultStatus(prepared) == PGRES_COMMAND_OK;
    PQclear(prepared);
    if (!ok) {
        d.giveBack(reader);
        return nullptr;
    }
    std::vector<QByteArray> texts;
    std::vector<const char*> values;
    texts.reserve(size_t(bound.size()));
    for (const QVariant& v : bound) {
        texts.push_back(isNullValue(v) ? QByteArray() : v.toString().toUtf8());
        values.push_back(isNullValue(v) ? nullptr : texts.back().constData());
    }
    if (!PQsendQueryPrepared(reader, "", int(values.size()), values.data(), nullptr, nullptr, 0) ||
        !PQsetSingleRowMode(reader)) {
        while (PGresult* r = PQgetResult(reader))
            PQclear(r);
        PQfinish(reader);
        return nullptr;
    }
    if (d.trace)
        d.trace({tsql, params, sql, bound});
    return std::make_unique<DetachedRead>(connection, reader, sql,
                                          connection->failureHook(tsql, sql, params, bound));
}

std::unique_ptr<Connection::DetachedRead>
Connection::prepareDetached(const ConnectionPtr& connection, const QString& tsql,
                            const QVariantList& params)
{
    QVariantList bound;
    QString sql;
    try {
        sql = connection->prepareText(tsql, params, &bound, false);
    } catch (const SqlError&) {
        return nullptr; // execute() reports it
    }
    if (connection->m_dialect == SqlDialect::Postgres)
        return prepareDetachedPostgres(connection, tsql, params, sql, bound);
    Private& d = *connection->d;
    const char* file = d.sqlite ? sqlite3_db_filename(d.sqlite, "main") : nullptr;
    if (!file || !*file || !sqlite3_get_autocommit(d.sqlite))
        return nullptr;
    sqlite3* handle = d.takeReader(QByteArray(file));
    if (!handle)
        return nullptr;
    sqlite3_stmt* statement = nullptr;
    try {
        statement = prepareSqlite(handle, sql, bound);
    } catch (const SqlError&) {
        d.giveBack(handle);
        return nullptr;
    }
    if (d.trace)
        d.trace({tsql, params, sql, bound});
    return std::make_unique<DetachedRead>(connection, handle, statement, sql,
                                          connection->failureHook(tsql, sql, params, bound));
}

Connection::DetachedRead::DetachedRead(ConnectionPtr owner, sqlite3* handle,
                                       sqlite3_stmt* statement, QString sql,
                                       Recordset::FailureHook failed)
    : m_owner(std::move(owner)), m_handle(handle), m_statement(statement), m_sql(std::move(sql)),
      m_failed(std::move(failed))
{
}

Connection::DetachedRead::DetachedRead(ConnectionPtr owner, pg_conn* postgres, QString sql,
                                       Recordset::FailureHook failed)
    : m_owner(std::move(owner)), m_postgres(postgres), m_cancel(PQgetCancel(postgres)),
      m_sql(std::move(sql)), m_failed(std::move(failed))
{
}

Connection::DetachedRead::~DetachedRead()
{
    if (m_postgres) {
        // Kept for the next read only when this one was read to its end.
        if (!m_interrupted && PQstatus(m_postgres) == CONNECTION_OK &&
            PQtransactionStatus(m_postgres) == PQTRANS_IDLE) {
            PQfreeCancel(m_cancel);
            m_owner->d->giveBack(m_postgres);
            return;
        }
        if (!m_interrupted && PQtransactionStatus(m_postgres) == PQTRANS_ACTIVE)
            interrupt(); // never taken: the server stops the statement
        PQfinish(m_postgres);
        if (m_cancel)
            PQfreeCancel(m_cancel);
        return;
    }
    sqlite3_finalize(m_statement);
    m_owner->d->giveBack(m_handle);
}

sqlite3_stmt* Connection::DetachedRead::takeStatement()
{
    return std::exchange(m_statement, nullptr);
}

void Connection::DetachedRead::interrupt()
{
    if (!m_postgres) {
        sqlite3_interrupt(m_handle);
        return;
    }
    if (m_interrupted.exchange(true))
        return;
    // The server is asked on a connection of the request's own, which may take as long as
    // reaching the server does: not on the caller's thread.
    if (PGcancel* cancel = std::exchange(m_cancel, nullptr))
        std::thread([cancel] {
            char error[256];
            PQcancel(cancel, error, sizeof error);
            PQfreeCancel(cancel);
        }).detach();
    // A read waiting for the server's next row returns now, as for a lost connection.
    ::shutdown(PQsocket(m_postgres), SHUT_RDWR);
}

int Connection::executeNonQuery(const QString& tsql, const QVariantList& params) const
{
    QVariantList bound;
    const QString sql = prepareText(tsql, params, &bound);
    return traced(tsql, sql, params, bound, [&] {
        if (!d->sqlite)
            return executedQuery(sql, bound).numRowsAffected();
        sqlite3_stmt* statement = prepareSqlite(d->sqlite, sql, bound);
        const int rc = sqlite3_step(statement);
        std::optional<SqlError> error;
        if (rc != SQLITE_DONE && rc != SQLITE_ROW)
            error = sqliteError(d->sqlite);
        sqlite3_finalize(statement);
        if (error)
            throw *error;
        return sqlite3_changes(d->sqlite);
    });
}

void Connection::executeScript(const QString& script) const
{
    if (!isOpen())
        throw SqlError(QStringLiteral("the database connection is not open"));
    if (sqlite3* handle = sqliteHandle(database())) {
        char* error = nullptr;
        if (sqlite3_exec(handle, script.toUtf8().constData(), nullptr, nullptr, &error) !=
            SQLITE_OK) {
            const QString message = QString::fromUtf8(error ? error : "unknown error");
            sqlite3_free(error);
            throw SqlError(QStringLiteral("script failed: ") + message);
        }
        return;
    }
    for (const QString& statement : splitSqlScript(script)) {
        QSqlQuery q(database());
        if (!q.exec(statement))
            throw SqlError(q.lastError().text() + QStringLiteral(" in: ") + statement.simplified());
    }
}

void Connection::beginTransaction() const
{
    if (!database().transaction())
        throw driverError(database().lastError());
}

void Connection::commit() const
{
    if (!database().commit())
        throw driverError(database().lastError());
}

void Connection::rollback() const
{
    if (!database().rollback())
        throw driverError(database().lastError());
}
