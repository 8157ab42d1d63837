#pragma once

#include <QString>

#include <functional>

// Writes a demo database built as an SQLite file into a PostgreSQL database: the schema of
// data/schema/postgresql.sql (its tables replaced when they exist), then every row of every table
// in one transaction through COPY (about a megabyte a round trip), then the indexes. The rows are the same rows, so
// the reports over both databases are the same. Throws std::runtime_error.
void copyDemoToPostgres(const QString& sqliteFile, const QString& connection,
                        const std::function<void(double, const QString&)>& progress = {});
