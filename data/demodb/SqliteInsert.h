#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <stdexcept>
#include <string>

// One prepared INSERT, bound column by column and run with done(). Binding goes straight to
// SQLite (no Qt in the loop): the demo database of a chain-year holds tens of millions of rows.
class SqliteInsert
{
public:
    SqliteInsert(sqlite3* db, const std::string& sql) : m_db(db)
    {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &m_stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string(sqlite3_errmsg(db)) + " in: " + sql);
    }
    ~SqliteInsert() { sqlite3_finalize(m_stmt); }
    SqliteInsert(const SqliteInsert&) = delete;
    SqliteInsert& operator=(const SqliteInsert&) = delete;

    SqliteInsert& text(const std::string& v)
    {
        sqlite3_bind_text(m_stmt, ++m_index, v.c_str(), int(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    SqliteInsert& text(const char* v)
    {
        if (!v)
            return null();
        sqlite3_bind_text(m_stmt, ++m_index, v, -1, SQLITE_TRANSIENT);
        return *this;
    }
    SqliteInsert& integer(std::int64_t v)
    {
        sqlite3_bind_int64(m_stmt, ++m_index, v);
        return *this;
    }
    // An amount in cents, stored exactly as SQLite's NUMERIC keeps it.
    SqliteInsert& cents(std::int64_t v)
    {
        if (v % 100 == 0)
            sqlite3_bind_int64(m_stmt, ++m_index, v / 100);
        else
            sqlite3_bind_double(m_stmt, ++m_index, double(v) / 100.0);
        return *this;
    }
    SqliteInsert& real(double v)
    {
        sqlite3_bind_double(m_stmt, ++m_index, v);
        return *this;
    }
    SqliteInsert& null()
    {
        sqlite3_bind_null(m_stmt, ++m_index);
        return *this;
    }
    void done()
    {
        if (sqlite3_step(m_stmt) != SQLITE_DONE)
            throw std::runtime_error(std::string("insert failed: ") + sqlite3_errmsg(m_db));
        sqlite3_reset(m_stmt);
        m_index = 0;
        ++m_rows;
    }
    std::int64_t rows() const { return m_rows; }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
    int m_index = 0;
    std::int64_t m_rows = 0;
};
