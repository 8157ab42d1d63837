#include "data/demodb/PostgresCopy.h"

#include "db/Connection.h"
#include "db/SqlError.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QStringList>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <memory>
#include <stdexcept>

namespace {

QString quotedName(const char* name)
{
    return QLatin1Char('"') + QString::fromUtf8(name) + QLatin1Char('"');
}

// The rows go to the server in chunks of about this size.
constexpr qsizetype ChunkBytes = 1 << 20;

// One value in COPY's text format: \N for NULL, backslash, tab and line ends escaped.
void appendCopyValue(QByteArray& out, sqlite3_stmt* row, int column)
{
    if (sqlite3_column_type(row, column) == SQLITE_NULL) {
        out += "\\N";
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(row, column));
    const int size = sqlite3_column_bytes(row, column);
    for (int i = 0; i < size; ++i) {
        switch (text[i]) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += text[i];
        }
    }
}

// The libpq connection under QPSQL, for COPY, which the driver does not offer.
PGconn* pgHandle(const QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    // PGconn is libpq's name of struct pg_conn.
    const bool libpq =
        qstrcmp(handle.typeName(), "PGconn*") == 0 || qstrcmp(handle.typeName(), "pg_conn*") == 0;
    return libpq ? *static_cast<PGconn* const*>(handle.data()) : nullptr;
}

std::runtime_error copyError(PGconn* pg, const QString& table)
{
    return std::runtime_error("COPY into " + table.toStdString() + ": " + PQerrorMessage(pg));
}

struct SqliteFile
{
    sqlite3* db = nullptr;
    ~SqliteFile() { sqlite3_close(db); }
};

struct Statement
{
    sqlite3_stmt* s = nullptr;
    ~Statement() { sqlite3_finalize(s); }
};

void prepare(sqlite3* db, const QString& sql, Statement& statement)
{
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement.s, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string(sqlite3_errmsg(db)) + " in: " + sql.toStdString());
}

} // namespace

void copyDemoToPostgres(const QString& sqliteFile, const QString& connection,
                        const std::function<void(double, const QString&)>& progress)
{
    QFile schemaFile(QStringLiteral(":/vtx/schema/postgresql.sql"));
    if (!schemaFile.open(QIODevice::ReadOnly))
        throw std::runtime_error("the PostgreSQL schema is missing from the program");
    const QString schema = QString::fromUtf8(schemaFile.readAll());
    const qsizetype marker = schema.indexOf(QLatin1String("-- @indexes"));
    const QString tables = schema.left(marker);
    const QString indexes = marker < 0 ? QString() : schema.mid(marker);

    SqliteFile source;
    if (sqlite3_open_v2(sqliteFile.toUtf8().constData(), &source.db, SQLITE_OPEN_READONLY,
                        nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot open " + sqliteFile.toStdString());
    try {
        ConnectionPtr pg = Connection::openPostgres(connection);
        // The schema's tables replace any of the same name.
        static const QRegularExpression table(QStringLiteral("^CREATE TABLE (\"\\w+\")"),
                                              QRegularExpression::MultilineOption);
        QStringList drops;
        for (auto it = table.globalMatch(tables); it.hasNext();)
            drops << QStringLiteral("DROP TABLE IF EXISTS %1").arg(it.next().captured(1));
        pg->executeScript(drops.join(QStringLiteral(";\n")));

        PGconn* handle = pgHandle(pg->database());
        if (!handle)
            throw std::runtime_error("no libpq connection under the QPSQL driver");
        pg->beginTransaction();
        pg->executeScript(tables);
        Statement names;
        prepare(source.db,
                // Not the bill summaries: on PostgreSQL the administrator installs them.
                QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name NOT "
                               "LIKE 'sqlite%' AND name NOT LIKE 'sm\\_%' ESCAPE '\\' ORDER BY "
                               "name"),
                names);
        QStringList sourceTables;
        while (sqlite3_step(names.s) == SQLITE_ROW)
            sourceTables << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(names.s, 0)));
        for (qsizetype ti = 0; ti < sourceTables.size(); ++ti) {
            const QString& name = sourceTables.at(ti);
            if (progress)
                progress(double(ti) / double(sourceTables.size()), name);
            Statement rows;
            prepare(source.db, QStringLiteral("SELECT * FROM \"%1\"").arg(name), rows);
            const int columns = sqlite3_column_count(rows.s);
            QString copy = QStringLiteral("COPY \"%1\" (").arg(name);
            for (int c = 0; c < columns; ++c)
                copy += (c ? QStringLiteral(", ") : QString()) +
                        quotedName(sqlite3_column_name(rows.s, c));
            copy += QStringLiteral(") FROM STDIN");
            PGresult* started = PQexec(handle, copy.toUtf8().constData());
            const bool copying = PQresultStatus(started) == PGRES_COPY_IN;
            PQclear(started);
            if (!copying)
                throw copyError(handle, name);
            QByteArray chunk;
            chunk.reserve(ChunkBytes + 4096);
            int rc;
            while ((rc = sqlite3_step(rows.s)) == SQLITE_ROW) {
                for (int c = 0; c < columns; ++c) {
                    if (c)
                        chunk += '\t';
                    appendCopyValue(chunk, rows.s, c);
                }
                chunk += '\n';
                if (chunk.size() >= ChunkBytes) {
                    if (PQputCopyData(handle, chunk.constData(), int(chunk.size())) != 1)
                        throw copyError(handle, name);
                    chunk.clear();
                }
            }
            if (rc != SQLITE_DONE)
                throw std::runtime_error(std::string(sqlite3_errmsg(source.db)));
            if ((!chunk.isEmpty() &&
                 PQputCopyData(handle, chunk.constData(), int(chunk.size())) != 1) ||
                PQputCopyEnd(handle, nullptr) != 1)
                throw copyError(handle, name);
            bool ok = true;
            while (PGresult* done = PQgetResult(handle)) {
                ok = ok && PQresultStatus(done) == PGRES_COMMAND_OK;
                PQclear(done);
            }
            if (!ok)
                throw copyError(handle, name);
        }
        pg->commit();
        if (progress)
            progress(1.0, QStringLiteral("indexes"));
        pg->executeScript(indexes + QStringLiteral(";\nANALYZE"));
    } catch (const SqlError& e) {
        throw std::runtime_error(e.message().toStdString());
    }
}
