#include "db/RowBatchReader.h"

#include "db/SqlError.h"

#include <QDateTime>
#include <QHash>
#include <QSqlError>
#include <QThread>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>

namespace {

// The distinct texts of the repeating columns, by their UTF-8 bytes: an open-addressing table
// of ids over one byte arena. Lives on the reading thread only.
class TextIds
{
public:
    // The text's id, or 0 with `*added` when it is new (then give it the next id with add()).
    quint32 find(const char* bytes, int size, size_t hash, size_t* slot) const
    {
        if (m_table.empty())
            return *slot = 0, 0;
        const size_t mask = m_table.size() - 1;
        size_t i = hash & mask;
        while (const quint32 id = m_table[i]) {
            const Entry& e = m_entries[id - 1];
            if (e.hash == hash && e.size == quint32(size) &&
                std::memcmp(m_bytes.data() + e.offset, bytes, size_t(size)) == 0)
                return id;
            i = (i + 1) & mask;
        }
        *slot = i;
        return 0;
    }
    quint32 add(const char* bytes, int size, size_t hash)
    {
        if ((m_entries.size() + 1) * 2 > m_table.size())
            grow();
        m_entries.push_back({hash, quint32(m_bytes.size()), quint32(size)});
        m_bytes.insert(m_bytes.end(), bytes, bytes + size);
        const quint32 id = quint32(m_entries.size());
        const size_t mask = m_table.size() - 1;
        size_t i = hash & mask;
        while (m_table[i])
            i = (i + 1) & mask;
        m_table[i] = id;
        return id;
    }
    // Whether text `id` is these bytes (a column's text compared with the one above it).
    bool holds(quint32 id, const char* bytes, int size) const
    {
        const Entry& e = m_entries[id - 1];
        return e.size == quint32(size) &&
               std::memcmp(m_bytes.data() + e.offset, bytes, size_t(size)) == 0;
    }
    size_t count() const { return m_entries.size(); }

private:
    struct Entry
    {
        size_t hash;
        quint32 offset, size;
    };
    std::vector<Entry> m_entries;
    std::vector<char> m_bytes;
    std::vector<quint32> m_table;

    void grow()
    {
        std::vector<quint32> bigger(std::max<size_t>(256, m_table.size() * 2), 0);
        const size_t mask = bigger.size() - 1;
        for (quint32 id = 1; id <= m_entries.size(); ++id) {
            size_t i = m_entries[id - 1].hash & mask;
            while (bigger[i])
                i = (i + 1) & mask;
            bigger[i] = id;
        }
        m_table.swap(bigger);
    }
};

// Whether a column's texts are kept by id: yes until, past the first thousands, more than a
// quarter of its texts are new ones.
struct ColumnTexts
{
    bool keep = true;
    qint64 texts = 0, distinct = 0;
    // The id of the column's last kept text: a result ordered by a bill repeats its bill's
    // texts (number, table, time) on the rows that follow, found again without a lookup.
    quint32 last = 0;
    void count(bool isNew)
    {
        ++texts;
        distinct += isNew;
        if ((texts & 4095) == 0 && distinct * 4 > texts)
            keep = false;
    }
};

constexpr size_t MaxKeptTexts = 1 << 20;

// Appends UTF-8 text as UTF-16; ASCII (bill numbers, codes) without a string in between.
void appendUtf16(std::vector<char16_t>& out, const char* bytes, int size)
{
    const auto* u = reinterpret_cast<const unsigned char*>(bytes);
    if (std::all_of(u, u + size, [](unsigned char c) { return c < 0x80; })) {
        out.insert(out.end(), u, u + size);
        return;
    }
    const QString text = QString::fromUtf8(bytes, size);
    out.insert(out.end(), text.utf16(), text.utf16() + text.size());
}

} // namespace

std::unique_ptr<RowBatchReader> RowBatchReader::start(const ConnectionPtr& connection,
                                                      const QString& tsql,
                                                      const QVariantList& params)
{
    auto read = Connection::prepareDetached(connection, tsql, params);
    if (!read)
        return nullptr;
    std::unique_ptr<RowBatchReader> reader(new RowBatchReader(std::move(read)));
    reader->m_thread = QThread::create([r = reader.get()] { r->run(); });
    reader->m_thread->setObjectName(QStringLiteral("RowBatchReader"));
    reader->m_thread->start();
    return reader;
}

RowBatchReader::RowBatchReader(std::unique_ptr<Connection::DetachedRead> read)
    : m_read(std::move(read))
{
}

RowBatchReader::~RowBatchReader()
{
    stop();
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

bool RowBatchReader::waitForHeader(int ms)
{
    QMutexLocker lock(&m_mutex);
    if (!m_headerReady)
        m_changed.wait(&m_mutex, QDeadlineTimer(ms));
    return m_headerReady;
}

void RowBatchReader::begin(std::vector<int> fields)
{
    QMutexLocker lock(&m_mutex);
    m_fields = std::move(fields);
    m_begun = true;
    m_changed.wakeAll();
}

std::unique_ptr<RowBatchReader::Batch> RowBatchReader::next(int ms)
{
    QMutexLocker lock(&m_mutex);
    if (m_queue.empty() && !m_finished)
        m_changed.wait(&m_mutex, QDeadlineTimer(ms));
    if (m_queue.empty())
        return nullptr;
    std::unique_ptr<Batch> batch = std::move(m_queue.front());
    m_queue.pop_front();
    m_changed.wakeAll();
    return batch;
}

void RowBatchReader::recycle(std::unique_ptr<Batch> batch)
{
    QMutexLocker lock(&m_mutex);
    if (batch && m_spare.size() < size_t(QueueBatches))
        m_spare.push_back(std::move(batch));
}

bool RowBatchReader::atEnd() const
{
    QMutexLocker lock(&m_mutex);
    return m_finished && m_queue.empty();
}

QString RowBatchReader::error() const
{
    QMutexLocker lock(&m_mutex);
    return m_error;
}

void RowBatchReader::stop()
{
    QMutexLocker lock(&m_mutex);
    m_stop = true;
    if (m_reading)
        m_read->interrupt();
    m_changed.wakeAll();
}

bool RowBatchReader::push(std::unique_ptr<Batch> batch)
{
    QMutexLocker lock(&m_mutex);
    while (m_queue.size() >= size_t(QueueBatches) && !m_stop)
        m_changed.wait(&m_mutex);
    if (m_stop)
        return false;
    m_queue.push_back(std::move(batch));
    m_changed.wakeAll();
    return true;
}

// Fills batches with the cells of the fields asked for, row by row, and queues them. Lives on the
// reading thread.
class RowBatchReader::Writer
{
public:
    Writer(RowBatchReader& reader, int fields)
        : m_reader(reader), m_count(fields), m_columns(size_t(fields))
    {
        fresh();
    }
    void null() { add(Null, 0); }
    void number(double n) { add(Number, n); }
    // A text in UTF-8, field k of the row.
    void text(int k, const char* bytes, int size)
    {
        Cell cell;
        ColumnTexts& column = m_columns[size_t(k)];
        if (column.keep && m_ids.count() < MaxKeptTexts) {
            quint32 id = column.last;
            if (id != 0 && m_ids.holds(id, bytes, size)) {
                column.count(false);
            } else {
                const size_t hash = qHash(QByteArrayView(bytes, size));
                size_t slot = 0;
                id = m_ids.find(bytes, size, hash, &slot);
                column.count(id == 0);
                if (id == 0) {
                    id = m_ids.add(bytes, size, hash);
                    m_batch->texts.push_back(QString::fromUtf8(bytes, size));
                }
                column.last = id;
            }
            cell.text = {id, 0};
            m_batch->cells.push_back(cell);
            m_batch->kinds.push_back(KeptText);
            return;
        }
        cell.text = {quint32(m_batch->chars.size()), 0};
        appendUtf16(m_batch->chars, bytes, size);
        cell.text.length = quint32(m_batch->chars.size()) - cell.text.id_or_offset;
        m_batch->cells.push_back(cell);
        m_batch->kinds.push_back(BatchText);
    }
    // Ends a row; false when the reader was stopped while its full batch waited to be queued.
    bool endRow()
    {
        if (++m_batch->rows < BatchRows)
            return true;
        if (!m_reader.push(std::move(m_batch)))
            return false;
        fresh();
        return true;
    }
    // Queues the last rows.
    void finish()
    {
        if (m_batch && m_batch->rows > 0 && !m_reader.m_stop)
            m_reader.push(std::move(m_batch));
    }

private:
    RowBatchReader& m_reader;
    const int m_count;
    TextIds m_ids;
    std::vector<ColumnTexts> m_columns;
    std::unique_ptr<Batch> m_batch;

    void add(CellKind kind, double n)
    {
        Cell cell;
        cell.number = n;
        m_batch->cells.push_back(cell);
        m_batch->kinds.push_back(kind);
    }
    void fresh()
    {
        {
            QMutexLocker lock(&m_reader.m_mutex);
            if (!m_reader.m_spare.empty()) {
                m_batch = std::move(m_reader.m_spare.back());
                m_reader.m_spare.pop_back();
            }
        }
        if (m_batch) {
            m_batch->rows = 0;
            m_batch->cells.clear();
            m_batch->kinds.clear();
            m_batch->texts.clear();
            m_batch->chars.clear();
        } else {
            m_batch = std::make_unique<Batch>();
        }
        m_batch->fields = m_count;
        m_batch->firstTextId = quint32(m_ids.count() + 1);
        m_batch->cells.reserve(size_t(BatchRows) * size_t(m_count));
        m_batch->kinds.reserve(size_t(BatchRows) * size_t(m_count));
    }
};

bool RowBatchReader::publishHeader(const QStringList& names, const QList<QMetaType>& types)
{
    QMutexLocker lock(&m_mutex);
    m_names = names;
    m_types = types;
    m_headerReady = true;
    m_changed.wakeAll();
    while (!m_begun && !m_stop)
        m_changed.wait(&m_mutex);
    return !m_stop;
}

void RowBatchReader::run()
{
    {
        QMutexLocker lock(&m_mutex);
        m_reading = !m_stop;
        if (!m_reading) {
            m_headerReady = m_finished = true;
            m_changed.wakeAll();
            return;
        }
    }
    QString error;
    try {
        if (m_read->postgres())
            readPostgres();
        else
            readSqlite();
    } catch (const SqlError& e) {
        if (!m_stop)
            error = e.message();
    }
    QMutexLocker lock(&m_mutex);
    m_reading = false; // the statement is finalized: its handle may serve another statement
    m_error = error;
    m_headerReady = m_finished = true;
    m_changed.wakeAll();
}

void RowBatchReader::readSqlite()
{
    // The first step runs here: an ordered statement may sort its whole result first.
    Recordset rs(m_read->takeStatement(), m_read->sql(), m_read->failureHook());
    sqlite3_stmt* st = rs.sqliteStatement();
    QList<QMetaType> types;
    for (int i = 0; i < rs.fieldCount(); ++i)
        types << rs.fieldType(i);
    if (!publishHeader(rs.fieldNames(), types))
        return;
    const std::vector<int> fields = m_fields;
    const int count = int(fields.size());
    Writer writer(*this, count);
    for (; !rs.atEnd() && !m_stop; rs.moveNext()) {
        for (int k = 0; k < count; ++k) {
            const int f = fields[size_t(k)];
            switch (sqlite3_column_type(st, f)) {
            case SQLITE_INTEGER:
                writer.number(double(sqlite3_column_int64(st, f)));
                break;
            case SQLITE_FLOAT:
                writer.number(sqlite3_column_double(st, f));
                break;
            case SQLITE_NULL:
                writer.null();
                break;
            default:
                writer.text(k, reinterpret_cast<const char*>(sqlite3_column_text(st, f)),
                            sqlite3_column_bytes(st, f));
            }
        }
        if (!writer.endRow())
            return;
    }
    writer.finish();
}

namespace {

// PostgreSQL's types (pg_type's oids) as QPSQL reads them.
enum PostgresType : Oid
{
    BoolOid = 16,
    ByteaOid = 17,
    Int8Oid = 20,
    Int2Oid = 21,
    Int4Oid = 23,
    RegprocOid = 24,
    XidOid = 28,
    CidOid = 29,
    Float4Oid = 700,
    Float8Oid = 701,
    AbstimeOid = 702,
    ReltimeOid = 703,
    DateOid = 1082,
    TimeOid = 1083,
    TimestampOid = 1114,
    TimestampTzOid = 1184,
    TimeTzOid = 1266,
    NumericOid = 1700,
    VoidOid = 2278, // read as an integer by QPSQL
};

// How the cells of a column are made from the server's texts, as the rows of execute() give them
// (Recordset over QPSQL, dates as text).
enum class PostgresCell : quint8
{
    Bool,     // 1 or 0
    Int,      // a 32-bit integer
    LongLong, // a 64-bit integer
    Double,   // floating point and numeric (QPSQL's low precision double)
    Date,     // 'yyyy-MM-dd'
    DateTime, // 'yyyy-MM-dd HH:mm:ss'
    Time,     // as a QTime converts to text
    Bytes,    // bytea, its bytes as UTF-8
    Text,
};

PostgresCell postgresCell(Oid type)
{
    switch (type) {
    case BoolOid:
        return PostgresCell::Bool;
    case Int8Oid:
        return PostgresCell::LongLong;
    case Int2Oid:
    case Int4Oid:
    case RegprocOid:
    case XidOid:
    case CidOid:
    case VoidOid:
        return PostgresCell::Int;
    case Float4Oid:
    case Float8Oid:
    case NumericOid:
        return PostgresCell::Double;
    case AbstimeOid:
    case ReltimeOid:
    case DateOid:
        return PostgresCell::Date;
    case TimeOid:
    case TimeTzOid:
        return PostgresCell::Time;
    case TimestampOid:
    case TimestampTzOid:
        return PostgresCell::DateTime;
    case ByteaOid:
        return PostgresCell::Bytes;
    default:
        return PostgresCell::Text;
    }
}

// The column's type as execute() reports it (dates as texts).
QMetaType postgresFieldType(PostgresCell cell)
{
    switch (cell) {
    case PostgresCell::Bool:
        return QMetaType(QMetaType::Bool);
    case PostgresCell::Int:
        return QMetaType(QMetaType::Int);
    case PostgresCell::LongLong:
        return QMetaType(QMetaType::LongLong);
    case PostgresCell::Double:
        return QMetaType(QMetaType::Double);
    case PostgresCell::Time:
        return QMetaType(QMetaType::QTime);
    case PostgresCell::Bytes:
        return QMetaType(QMetaType::QByteArray);
    default:
        return QMetaType(QMetaType::QString);
    }
}

bool isDigits(const char* s, std::initializer_list<int> at)
{
    return std::all_of(at.begin(), at.end(), [s](int i) { return s[i] >= '0' && s[i] <= '9'; });
}

// Whether `s` starts with 'yyyy-MM-dd' (and ' HH:mm:ss' when `time`), as ISO dates print.
bool isIsoDate(const char* s, int size, bool time)
{
    if (size < (time ? 19 : 10) || s[4] != '-' || s[7] != '-' ||
        !isDigits(s, {0, 1, 2, 3, 5, 6, 8, 9}))
        return false;
    return !time ||
           (s[10] == ' ' && s[13] == ':' && s[16] == ':' && isDigits(s, {11, 12, 14, 15, 17, 18}));
}

// The server's error as the rows of execute() would report it (QPSQL's error: libpq's message
// followed by the SQLSTATE code).
SqlError postgresError(const PGresult* result, const PGconn* connection)
{
    QString message = QString::fromUtf8(result ? PQresultErrorMessage(result) : "");
    if (message.isEmpty())
        message = QString::fromUtf8(PQerrorMessage(connection));
    const QString code =
        QString::fromLatin1(result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr);
    if (result)
        message += QStringLiteral("(%1)").arg(code);
    return driverError(QSqlError(QStringLiteral("QPSQL: Unable to get result"), message,
                                 QSqlError::StatementError, code));
}

} // namespace

void RowBatchReader::readPostgres()
{
    PGconn* connection = m_read->postgres();
    struct Result
    {
        PGresult* r = nullptr;
        ~Result() { PQclear(r); }
        void next(PGconn* c)
        {
            PQclear(r);
            r = PQgetResult(c);
        }
    } result;
    // Whatever remains of the result is read before the connection serves another statement.
    struct Drain
    {
        PGconn* c;
        bool interrupted;
        ~Drain()
        {
            if (!interrupted)
                while (PGresult* r = PQgetResult(c))
                    PQclear(r);
        }
    } drain{connection, false};
    auto fail = [&]() -> SqlError {
        const SqlError e = postgresError(result.r, connection);
        drain.interrupted = m_stop;
        if (!m_stop && m_read->failureHook())
            m_read->failureHook()(e.message());
        return e;
    };
    // The first row, or the end of an empty result: an ordered statement may sort first.
    result.next(connection);
    ExecStatusType status = PQresultStatus(result.r);
    if (status != PGRES_SINGLE_TUPLE && status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
        throw fail();
    const int columns = PQnfields(result.r);
    QStringList names;
    QList<QMetaType> types;
    std::vector<PostgresCell> cells;
    for (int i = 0; i < columns; ++i) {
        names << QString::fromUtf8(PQfname(result.r, i));
        cells.push_back(postgresCell(PQftype(result.r, i)));
        types << postgresFieldType(cells.back());
    }
    if (!publishHeader(names, types)) {
        drain.interrupted = true;
        return;
    }
    const std::vector<int> fields = m_fields;
    const int count = int(fields.size());
    Writer writer(*this, count);
    for (; status == PGRES_SINGLE_TUPLE; status = PQresultStatus(result.r)) {
        if (m_stop) {
            drain.interrupted = true;
            return;
        }
        for (int k = 0; k < count; ++k) {
            const int f = fields[size_t(k)];
            if (PQgetisnull(result.r, 0, f)) {
                writer.null();
                continue;
            }
            const char* text = PQgetvalue(result.r, 0, f);
            const int size = PQgetlength(result.r, 0, f);
            switch (cells[size_t(f)]) {
            case PostgresCell::Bool:
                writer.number(text[0] == 't' ? 1 : 0);
                break;
            case PostgresCell::Int:
                writer.number(std::atoi(text));
                break;
            case PostgresCell::LongLong:
                writer.number(text[0] == '-' ? double(std::strtoll(text, nullptr, 10))
                                             : double(std::strtoull(text, nullptr, 10)));
                break;
            case PostgresCell::Double: {
                double n = 0;
                const auto [end, ec] = std::from_chars(text, text + size, n);
                if (ec == std::errc() && end == text + size)
                    writer.number(n);
                else if (qstricmp(text, "NaN") == 0)
                    writer.number(qQNaN());
                else if (qstricmp(text, "Infinity") == 0)
                    writer.number(qInf());
                else if (qstricmp(text, "-Infinity") == 0)
                    writer.number(-qInf());
                else
                    writer.null();
                break;
            }
            case PostgresCell::Date:
            case PostgresCell::DateTime: {
                const bool time = cells[size_t(f)] == PostgresCell::DateTime;
                if (isIsoDate(text, size, time)) {
                    writer.text(k, text, time ? 19 : 10);
                    break;
                }
                // BC, beyond the year 9999, infinity: as Qt reads and prints it.
                const QString iso = QString::fromLatin1(text, size);
                const QByteArray shown = time ? QDateTime::fromString(iso, Qt::ISODate)
                                                    .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                                    .toUtf8()
                                              : QDate::fromString(iso, Qt::ISODate)
                                                    .toString(QStringLiteral("yyyy-MM-dd"))
                                                    .toUtf8();
                writer.text(k, shown.constData(), int(shown.size()));
                break;
            }
            case PostgresCell::Time: {
                const QByteArray shown =
                    QVariant(QTime::fromString(QString::fromLatin1(text, size), Qt::ISODate))
                        .toString()
                        .toUtf8();
                writer.text(k, shown.constData(), int(shown.size()));
                break;
            }
            case PostgresCell::Bytes: {
                size_t length = 0;
                unsigned char* bytes =
                    PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &length);
                const QByteArray shown =
                    QString::fromUtf8(reinterpret_cast<const char*>(bytes), qsizetype(length))
                        .toUtf8();
                PQfreemem(bytes);
                writer.text(k, shown.constData(), int(shown.size()));
                break;
            }
            case PostgresCell::Text:
                writer.text(k, text, size);
            }
        }
        if (!writer.endRow()) {
            drain.interrupted = true;
            return;
        }
        result.next(connection);
    }
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK)
        throw fail();
    writer.finish();
}
