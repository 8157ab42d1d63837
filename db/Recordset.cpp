#include "db/Recordset.h"

#include "db/SelectColumnTypes.h"
#include "db/SqlError.h"

#include <QDateTime>
#include <QHash>
#include <QMutex>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>

#include <sqlite3.h>

#include <memory>
#include <optional>
#include <vector>

namespace {

// A driver's value as a cell; a text is kept in `kept`, which the cell's view points into.
SqlCell cellOf(const QVariant& v, QString& kept)
{
    if (v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return {SqlCell::Number, v.toDouble(), {}};
    case QMetaType::QDateTime:
        kept = v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        break;
    case QMetaType::QDate:
        kept = v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
        break;
    default:
        if (isIntegerType(v.metaType()))
            return {SqlCell::Number, v.toDouble(), {}};
        kept = v.toString();
    }
    return {SqlCell::Text, 0, kept};
}

class QuerySource final : public Recordset::Source
{
public:
    QuerySource(QSqlQuery query, bool datesAsText)
        : m_query(std::move(query)), m_datesAsText(datesAsText)
    {
        m_texts.resize(size_t(std::max(0, m_query.record().count())));
    }

    QStringList names() const override
    {
        const QSqlRecord record = m_query.record();
        QStringList names;
        for (int i = 0; i < record.count(); ++i)
            names << record.fieldName(i);
        return names;
    }
    QMetaType fieldType(int index) const override
    {
        const QMetaType type = m_query.record().field(index).metaType();
        if (m_datesAsText && (type.id() == QMetaType::QDateTime || type.id() == QMetaType::QDate))
            return QMetaType::fromType<QString>();
        return type;
    }
    bool next() override
    {
        if (m_query.next())
            return true;
        // A driver that fails while fetching (ODBC) says so only through its last error.
        const QSqlError error = m_query.lastError();
        if (error.type() != QSqlError::NoError)
            throw driverError(error);
        return false;
    }
    qint64 size() const override { return m_query.size(); }
    QVariant value(int index) const override
    {
        const QVariant v = m_query.value(index);
        if (!m_datesAsText || v.isNull())
            return v;
        if (v.typeId() == QMetaType::QDateTime)
            return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (v.typeId() == QMetaType::QDate)
            return v.toDate().toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
        return v;
    }
    bool isNull(int index) const override { return m_query.isNull(index); }

    SqlCell cell(int index) const override
    {
        if (index < 0 || index >= int(m_texts.size()))
            return {};
        return cellOf(m_query.value(index), m_texts[size_t(index)]);
    }

private:
    mutable QSqlQuery m_query;
    bool m_datesAsText;
    mutable std::vector<QString> m_texts; // the texts the current row's cells point into
};

// The declared type of every column name in the database of `statement`, read once per schema
// version: a name declared decimal in any table is decimal, one declared both as text and as a
// number is unknown.
SelectColumnTypes::ColumnType declaredColumnTypes(sqlite3_stmt* statement)
{
    using Types = QHash<QString, QMetaType>;
    static QMutex mutex;
    static QHash<sqlite3*, QPair<int, std::shared_ptr<const Types>>> cache;
    sqlite3* db = sqlite3_db_handle(statement);
    auto scalar = [db](const char* sql) {
        sqlite3_stmt* s = nullptr;
        int value = -1;
        if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) == SQLITE_OK &&
            sqlite3_step(s) == SQLITE_ROW)
            value = sqlite3_column_int(s, 0);
        sqlite3_finalize(s);
        return value;
    };
    const int version = scalar("PRAGMA schema_version");
    QMutexLocker lock(&mutex);
    auto& entry = cache[db];
    if (!entry.second || entry.first != version) {
        auto types = std::make_shared<Types>();
        sqlite3_stmt* s = nullptr;
        const char* sql = "SELECT p.name, p.type FROM sqlite_master AS m, "
                          "pragma_table_info(m.name) AS p WHERE m.type IN ('table','view')";
        if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) == SQLITE_OK) {
            while (sqlite3_step(s) == SQLITE_ROW) {
                const QString name =
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)))
                        .toLower();
                const QMetaType type = SelectColumnTypes::fromDeclared(
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 1))));
                auto it = types->find(name);
                if (it == types->end())
                    types->insert(name, type);
                else if (it->id() != type.id())
                    *it =
                        (it->id() == QMetaType::Double || type.id() == QMetaType::Double) &&
                                (it->id() != QMetaType::QString && type.id() != QMetaType::QString)
                            ? QMetaType(QMetaType::Double)
                            : QMetaType();
            }
        }
        sqlite3_finalize(s);
        entry = {version, types};
    }
    std::shared_ptr<const Types> types = entry.second;
    return [types](const QString& column) { return types->value(column.toLower()); };
}

class SqliteSource final : public Recordset::Source
{
public:
    SqliteSource(sqlite3_stmt* statement, const QString& sql)
        : m_statement(statement), m_sql(sql), m_columns(sqlite3_column_count(statement))
    {
    }
    ~SqliteSource() override { sqlite3_finalize(m_statement); }

    QStringList names() const override
    {
        // Named as Qt's SQLite driver names them: quotes dropped, a "table." prefix cut.
        QStringList names;
        for (int i = 0; i < m_columns; ++i) {
            QString name = QString::fromUtf8(sqlite3_column_name(m_statement, i));
            name.remove(QLatin1Char('"'));
            names << name.mid(name.lastIndexOf(QLatin1Char('.')) + 1);
        }
        return names;
    }

    QMetaType fieldType(int index) const override
    {
        const QString declared =
            QString::fromUtf8(sqlite3_column_decltype(m_statement, index)).toLower();
        if (declared == QLatin1String("integer") || declared == QLatin1String("int"))
            return QMetaType(QMetaType::Int);
        if (declared == QLatin1String("double") || declared == QLatin1String("float") ||
            declared == QLatin1String("real") || declared.startsWith(QLatin1String("numeric")))
            return QMetaType(QMetaType::Double);
        if (declared == QLatin1String("blob"))
            return QMetaType(QMetaType::QByteArray);
        if (declared == QLatin1String("boolean") || declared == QLatin1String("bool"))
            return QMetaType(QMetaType::Bool);
        if (!declared.isEmpty())
            return QMetaType(QMetaType::QString);
        // A computed column: the type SQL Server would give it, else that of its first value.
        if (!m_inferred) {
            m_inferred = SelectColumnTypes::infer(m_sql, declaredColumnTypes(m_statement));
            m_inferred->resize(size_t(m_columns));
        }
        if (const QMetaType inferred = m_inferred->at(size_t(index)); inferred.isValid())
            return inferred;
        if (!m_onRow)
            return {};
        switch (sqlite3_column_type(m_statement, index)) {
        case SQLITE_INTEGER:
            return QMetaType(QMetaType::Int);
        case SQLITE_FLOAT:
            return QMetaType(QMetaType::Double);
        case SQLITE_BLOB:
            return QMetaType(QMetaType::QByteArray);
        case SQLITE_TEXT:
            return QMetaType(QMetaType::QString);
        default:
            return {};
        }
    }

    bool next() override
    {
        m_onRow = false;
        const int rc = sqlite3_step(m_statement);
        if (rc == SQLITE_ROW)
            return m_onRow = true;
        if (rc == SQLITE_DONE)
            return false;
        throw sqliteError(sqlite3_db_handle(m_statement));
    }

    QVariant value(int index) const override
    {
        if (index < 0 || index >= m_columns)
            return {};
        switch (sqlite3_column_type(m_statement, index)) {
        case SQLITE_INTEGER:
            return qlonglong(sqlite3_column_int64(m_statement, index));
        case SQLITE_FLOAT:
            return sqlite3_column_double(m_statement, index);
        case SQLITE_BLOB:
            return QByteArray(static_cast<const char*>(sqlite3_column_blob(m_statement, index)),
                              sqlite3_column_bytes(m_statement, index));
        case SQLITE_TEXT:
            return textOf(index).toString();
        default:
            return {};
        }
    }

    bool isNull(int index) const override
    {
        return index < 0 || index >= m_columns ||
               sqlite3_column_type(m_statement, index) == SQLITE_NULL;
    }

    SqlCell cell(int index) const override
    {
        if (index < 0 || index >= m_columns)
            return {};
        switch (sqlite3_column_type(m_statement, index)) {
        case SQLITE_INTEGER:
            return {SqlCell::Number, double(sqlite3_column_int64(m_statement, index)), {}};
        case SQLITE_FLOAT:
            return {SqlCell::Number, sqlite3_column_double(m_statement, index), {}};
        case SQLITE_NULL:
            return {};
        default:
            return {SqlCell::Text, 0, textOf(index)};
        }
    }

    sqlite3_stmt* statement() const override { return m_statement; }

private:
    // SQLite converts the stored UTF-8 to UTF-16 once and keeps it with the row.
    QStringView textOf(int index) const
    {
        const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(m_statement, index));
        const int bytes = sqlite3_column_bytes16(m_statement, index);
        return text ? QStringView(text, bytes / 2) : QStringView(u"", 0);
    }

    sqlite3_stmt* m_statement;
    QString m_sql;
    int m_columns;
    bool m_onRow = false;
    mutable std::optional<std::vector<QMetaType>> m_inferred;
};

class RowsSource final : public Recordset::Source
{
public:
    RowsSource(const QStringList& names, const QList<QVariantList>& rows)
        : m_names(names), m_rows(rows)
    {
    }
    QStringList names() const override { return m_names; }
    QMetaType fieldType(int index) const override
    {
        return m_rows.isEmpty() ? QMetaType() : m_rows.first().value(index).metaType();
    }
    bool next() override { return ++m_at < m_rows.size(); }
    qint64 size() const override { return m_rows.size(); }
    QVariant value(int index) const override { return m_rows.at(m_at).value(index); }
    SqlCell cell(int index) const override
    {
        if (index < 0 || index >= m_names.size())
            return {};
        return cellOf(value(index), m_texts[size_t(index)]);
    }

private:
    QStringList m_names;
    QList<QVariantList> m_rows;
    qsizetype m_at = -1;
    mutable std::vector<QString> m_texts = std::vector<QString>(size_t(m_names.size()));
};

} // namespace

// The reason SQLite gives for the last failure on `handle`, as the user is told it, and its kind.
SqlError sqliteError(sqlite3* handle)
{
    const QString message = QString::fromUtf8(sqlite3_errmsg(handle));
    switch (sqlite3_errcode(handle)) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return SqlError(SqlError::busyMessage(), SqlError::Kind::Busy);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return SqlError(QStringLiteral("the database file is damaged (%1)").arg(message),
                        SqlError::Kind::Damaged);
    case SQLITE_IOERR:
        return SqlError(QStringLiteral("the database file cannot be read (%1)").arg(message));
    case SQLITE_INTERRUPT:
        return SqlError(message);
    default:
        if (message.startsWith(QLatin1String("no such table")))
            return SqlError(message, SqlError::Kind::MissingTable);
        if (message.startsWith(QLatin1String("no such column")))
            return SqlError(message, SqlError::Kind::MissingColumn);
        return SqlError(message);
    }
}

// A driver's error (ODBC, PostgreSQL) as the user is told it: the first line of the database's
// own text (PostgreSQL follows it with the statement, which the trace has), and its kind.
SqlError driverError(const QSqlError& error)
{
    QString reason = error.databaseText().trimmed().section(QLatin1Char('\n'), 0, 0).trimmed();
    for (const char* prefix : {"ERROR:", "FATAL:"})
        if (reason.startsWith(QLatin1String(prefix)))
            reason = reason.mid(int(qstrlen(prefix))).trimmed();
    if (reason.isEmpty())
        reason = error.driverText().trimmed();
    if (reason.isEmpty())
        reason = QStringLiteral("the database reported an error without a reason");
    const QString code = error.nativeErrorCode();
    // PostgreSQL's SQLSTATE codes; SQL Server's error numbers.
    if (code == QLatin1String("42P01") || code == QLatin1String("208"))
        return SqlError(reason, SqlError::Kind::MissingTable);
    if (code == QLatin1String("42703") || code == QLatin1String("207"))
        return SqlError(reason, SqlError::Kind::MissingColumn);
    if (code == QLatin1String("55P03") || code == QLatin1String("1222"))
        return SqlError(SqlError::busyMessage(), SqlError::Kind::Busy);
    if (code == QLatin1String("XX001") || code == QLatin1String("XX002"))
        return SqlError(QStringLiteral("the database is damaged (%1)").arg(reason),
                        SqlError::Kind::Damaged);
    if (code.startsWith(QLatin1String("08")) || code == QLatin1String("57P01") ||
        reason.contains(QLatin1String("server closed the connection")) ||
        reason.contains(QLatin1String("no connection to the server")))
        return SqlError(
            QStringLiteral("the connection to the database server was lost (%1)").arg(reason));
    return SqlError(reason);
}

bool isIntegerType(QMetaType type)
{
    switch (type.id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

Recordset::Recordset(const QStringList& names, const QList<QVariantList>& rows)
    : m_source(std::make_unique<RowsSource>(names, rows))
{
    start();
}

Recordset::Recordset(QSqlQuery query, bool datesAsText, FailureHook failed)
    : m_source(std::make_unique<QuerySource>(std::move(query), datesAsText)),
      m_failed(std::move(failed))
{
    start();
}

Recordset::Recordset(sqlite3_stmt* statement, const QString& sql, FailureHook failed)
    : m_source(std::make_unique<SqliteSource>(statement, sql)), m_failed(std::move(failed))
{
    start();
}

bool Recordset::step()
{
    try {
        return m_source->next();
    } catch (const SqlError& e) {
        if (m_failed)
            m_failed(e.message());
        throw;
    }
}

Recordset::~Recordset() = default;

void Recordset::start()
{
    m_names = m_source->names();
    for (int i = int(m_names.size()) - 1; i >= 0; --i)
        m_index.insert(m_names.at(i), i);
    m_atEnd = !step();
    for (int i = 0; i < m_names.size(); ++i)
        m_types << m_source->fieldType(i);
}

void Recordset::moveNext()
{
    if (!m_atEnd)
        m_atEnd = !step();
}

int Recordset::fieldIndex(const QString& name) const
{
    const auto it = m_index.constFind(name);
    if (it != m_index.constEnd())
        return it.value();
    // Column names are case-insensitive in SQL.
    for (int i = 0; i < m_names.size(); ++i)
        if (m_names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant Recordset::value(int index) const
{
    return m_atEnd ? QVariant() : m_source->value(index);
}

QVariant Recordset::value(const QString& name) const
{
    const int i = fieldIndex(name);
    return i < 0 ? QVariant() : value(i);
}

SqlCell Recordset::cell(int index) const
{
    return m_atEnd ? SqlCell() : m_source->cell(index);
}

BufferedResult BufferedResult::readAll(Recordset& rs)
{
    BufferedResult r;
    r.names = rs.fieldNames();
    for (; !rs.atEnd(); rs.moveNext()) {
        QVariantList row;
        row.reserve(rs.fieldCount());
        for (int i = 0; i < rs.fieldCount(); ++i)
            row << rs.value(i);
        r.rows << row;
    }
    return r;
}

std::unique_ptr<Recordset> BufferedResult::open() const
{
    if (!error.isEmpty())
        throw SqlError(error, errorKind);
    return std::make_unique<Recordset>(names, rows);
}
