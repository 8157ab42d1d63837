#pragma once

#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVariant>

#include "db/SqlError.h"

#include <functional>
#include <memory>

class QSqlError;
struct sqlite3;
struct sqlite3_stmt;

// One field of the current row without a QVariant in between: numbers as doubles, everything
// else as text. The text view stays valid until the reader moves on.
struct SqlCell
{
    enum Kind : quint8
    {
        Null,
        Number,
        Text
    };
    Kind kind = Null;
    double number = 0;
    QStringView text;
    // Texts read through a RowBatchReader from a column that repeats its values: the distinct
    // text's id (from 1), the same for every cell holding that text; 0 otherwise.
    quint32 textId = 0;
    // A text read through a RowBatchReader from a column whose texts hardly repeat (bill
    // numbers): not worth looking up among the texts already kept.
    bool rarelyRepeated = false;
};

// The reason SQLite gives for the last failure on `handle`, as the user is told it, and its kind.
SqlError sqliteError(sqlite3* handle);
// A driver's error (ODBC, PostgreSQL) as the user is told it: the first line of the database's
// own text (PostgreSQL follows it with the statement, which the trace has), and its kind.
SqlError driverError(const QSqlError& error);

// Integer and boolean column types, as drivers report them.
bool isIntegerType(QMetaType type);

// A forward-only, read-only reader over a query's result, positioned on the first row (or at
// its end when there is none). NULL values read as invalid QVariants; callers that need the
// access layer's "NULL reads as empty text" use the row helpers of mod_ADO.
// SQLite files are read straight from the prepared statement (no per-row QVariant list, the
// bulk of a large report's reading time); other drivers through QSqlQuery.
class Recordset
{
public:
    // The driver-specific reader behind a Recordset.
    class Source
    {
    public:
        virtual ~Source() = default;
        virtual QStringList names() const = 0;
        virtual QMetaType fieldType(int index) const = 0; // read on the first row
        virtual bool next() = 0; // false at the end; throws SqlError when reading fails
        virtual QVariant value(int index) const = 0;
        virtual bool isNull(int index) const { return cell(index).kind == SqlCell::Null; }
        virtual SqlCell cell(int index) const = 0;
        virtual sqlite3_stmt* statement() const { return nullptr; }
        // The rows of the whole result when the driver knows them ahead, else -1.
        virtual qint64 size() const { return -1; }
    };

    // Called with the reason before a failure to read a row is thrown (the statement trace).
    using FailureHook = std::function<void(const QString& error)>;

    // `datesAsText`: date and date-time values read as 'YYYY-MM-DD HH:MM:SS' texts.
    explicit Recordset(QSqlQuery query, bool datesAsText = false, FailureHook failed = {});
    // Over rows already read (see BufferedResult).
    Recordset(const QStringList& names, const QList<QVariantList>& rows);
    // Takes a prepared, bound, not yet stepped statement; `sql` is its text (read for the
    // types of computed columns).
    Recordset(sqlite3_stmt* statement, const QString& sql, FailureHook failed = {});
    ~Recordset();

    bool atEnd() const { return m_atEnd; }
    void moveNext(); // throws SqlError when the database fails mid-result
    // The rows of the whole result, -1 when the driver does not say (SQLite, ODBC); PostgreSQL
    // and rows already read know it.
    qint64 size() const { return m_source->size(); }

    int fieldCount() const { return int(m_names.size()); }
    QString fieldName(int index) const { return m_names.value(index); }
    const QStringList& fieldNames() const { return m_names; }
    int fieldIndex(const QString& name) const; // -1 when the result has no such column
    // The column's type as the driver reports it (SQLite: from the declared type, else from the
    // first row's value).
    QMetaType fieldType(int index) const { return m_types.value(index); }
    QVariant value(int index) const;
    QVariant value(const QString& name) const;
    bool isNull(int index) const { return m_atEnd || m_source->isNull(index); }
    SqlCell cell(int index) const;
    // The SQLite statement the rows are read from (its current row is the recordset's), for
    // readers that take the columns straight from it; null for other drivers.
    sqlite3_stmt* sqliteStatement() const { return m_source->statement(); }

private:
    void start();
    bool step(); // the source's next row; a failure reported to the hook, then thrown

    std::unique_ptr<Source> m_source;
    FailureHook m_failed;
    QStringList m_names;
    QList<QMetaType> m_types;
    QHash<QString, int> m_index; // exact names; first column of a name wins
    bool m_atEnd = true;
};

// A statement's result read in full, or the error it failed with: the small results of summary
// statements, fetched ahead (Connection::executeAll) and read later.
struct BufferedResult
{
    QStringList names;
    QList<QVariantList> rows;
    QString error; // set when the statement failed
    SqlError::Kind errorKind = SqlError::Kind::Other;

    // Reads every remaining row of `rs`.
    static BufferedResult readAll(Recordset& rs);
    // A reader over the rows; throws SqlError with the error when the statement failed.
    std::unique_ptr<Recordset> open() const;
};
