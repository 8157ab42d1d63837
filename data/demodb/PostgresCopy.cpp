#include "data/demodb/PostgresCopy.h"

#include "db/Connection.h"
#include "db/SqlError.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <sqlite3.h>

#include <memory>
#include <stdexcept>

namespace {

// A statement of one round trip: some thousand rows, or a few megabytes of text.
constexpr int RowsPerStatement = 2000;
constexpr qsizetype TextPerStatement = 4 << 20;

QString quotedName(const char* name)
{
    return QLatin1Char('"') + QString::fromUtf8(name) + QLatin1Char('"');
}

// Every value goes as a quoted literal: the server reads it as the type of its column.
void appendLiteral(QString& sql, sqlite3_stmt* row, int column)
{
    if (sqlite3_column_type(row, column) == SQLITE_NULL) {
        sql += QLatin1String("NULL");
        return;
    }
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(row, column)),
                          sqlite3_column_bytes(row, column));
    sql += QLatin1Char('\'');
    sql += QString(text).replace(QLatin1Char('\''), QLatin1String("''"));
    sql += QLatin1Char('\'');
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

        pg->beginTransaction();
        pg->executeScript(tables);
        Statement names;
        prepare(source.db,
                QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name NOT "
                               "LIKE 'sqlite%' ORDER BY name"),
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
            QString head = QStringLiteral("INSERT INTO \"%1\" (").arg(name);
            for (int c = 0; c < columns; ++c)
                head += (c ? QStringLiteral(", ") : QString()) +
                        quotedName(sqlite3_column_name(rows.s, c));
            head += QStringLiteral(") VALUES ");
            QString sql;
            int inStatement = 0;
            auto flush = [&] {
                if (inStatement > 0)
                    pg->executeScript(sql);
                sql.clear();
                inStatement = 0;
            };
            int rc;
            while ((rc = sqlite3_step(rows.s)) == SQLITE_ROW) {
                sql += inStatement ? QStringLiteral(",\n(") : head + QLatin1Char('(');
                for (int c = 0; c < columns; ++c) {
                    if (c)
                        sql += QLatin1Char(',');
                    appendLiteral(sql, rows.s, c);
                }
                sql += QLatin1Char(')');
                if (++inStatement >= RowsPerStatement || sql.size() >= TextPerStatement)
                    flush();
            }
            if (rc != SQLITE_DONE)
                throw std::runtime_error(std::string(sqlite3_errmsg(source.db)));
            flush();
        }
        pg->commit();
        if (progress)
            progress(1.0, QStringLiteral("indexes"));
        pg->executeScript(indexes + QStringLiteral(";\nANALYZE"));
    } catch (const SqlError& e) {
        throw std::runtime_error(e.message().toStdString());
    }
}
