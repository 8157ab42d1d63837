#pragma once

// "SQLite alone": a statement prepared, bound and stepped through with SQLite's own API on the
// connection's handle, every column of every row read as SQLite holds it (texts as their stored
// UTF-8, no QVariant, no conversion). The yardstick the screens' end-to-end times are held to.
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QString>
#include <QVariantList>

#include <sqlite3.h>

inline sqlite3* sqliteHandleOf(const QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    return qstrcmp(handle.typeName(), "sqlite3*") == 0
               ? *static_cast<sqlite3* const*>(handle.data())
               : nullptr;
}

// Returns the rows read, or -1 when the statement fails.
inline qint64 runSqliteAlone(sqlite3* db, const QString& sql, const QVariantList& bound = {})
{
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK)
        return -1;
    for (int i = 0; i < bound.size(); ++i) {
        const QVariant& v = bound.at(i);
        if (v.isNull())
            sqlite3_bind_null(st, i + 1);
        else if (v.typeId() == QMetaType::Double)
            sqlite3_bind_double(st, i + 1, v.toDouble());
        else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong)
            sqlite3_bind_int64(st, i + 1, v.toLongLong());
        else
            sqlite3_bind_text(st, i + 1, v.toString().toUtf8().constData(), -1, SQLITE_TRANSIENT);
    }
    qint64 rows = 0, sink = 0;
    const int n = sqlite3_column_count(st);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        ++rows;
        for (int i = 0; i < n; ++i)
            switch (sqlite3_column_type(st, i)) {
            case SQLITE_INTEGER:
                sink += sqlite3_column_int64(st, i);
                break;
            case SQLITE_FLOAT:
                sink += qint64(sqlite3_column_double(st, i));
                break;
            case SQLITE_NULL:
                break;
            default:
                sink += sqlite3_column_bytes(st, i) + (sqlite3_column_text(st, i) != nullptr);
            }
    }
    sqlite3_finalize(st);
    if (sink == 42)
        std::printf(" ");
    return rc == SQLITE_DONE ? rows : -1;
}
