#include "db/RowBatchReader.h"

#include "db/SqlError.h"

#include <QHash>
#include <QThread>

#include <sqlite3.h>

#include <algorithm>
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
        // The first step runs here: an ordered statement may sort its whole result first.
        Recordset rs(m_read->takeStatement(), m_read->sql(), m_read->failureHook());
        sqlite3_stmt* st = rs.sqliteStatement();
        {
            QMutexLocker lock(&m_mutex);
            m_names = rs.fieldNames();
            for (int i = 0; i < rs.fieldCount(); ++i)
                m_types << rs.fieldType(i);
            m_headerReady = true;
            m_changed.wakeAll();
            while (!m_begun && !m_stop)
                m_changed.wait(&m_mutex);
        }
        const std::vector<int> fields = m_fields;
        const int count = int(fields.size());
        TextIds ids;
        std::vector<ColumnTexts> columns(fields.size());
        std::unique_ptr<Batch> batch;
        auto fresh = [&] {
            {
                QMutexLocker lock(&m_mutex);
                if (!m_spare.empty()) {
                    batch = std::move(m_spare.back());
                    m_spare.pop_back();
                }
            }
            if (batch) {
                batch->rows = 0;
                batch->cells.clear();
                batch->kinds.clear();
                batch->texts.clear();
                batch->chars.clear();
            } else {
                batch = std::make_unique<Batch>();
            }
            batch->fields = count;
            batch->firstTextId = quint32(ids.count() + 1);
            batch->cells.reserve(size_t(BatchRows) * size_t(count));
            batch->kinds.reserve(size_t(BatchRows) * size_t(count));
        };
        fresh();
        for (; !rs.atEnd() && !m_stop; rs.moveNext()) {
            for (int k = 0; k < count; ++k) {
                const int f = fields[size_t(k)];
                Cell cell;
                cell.number = 0;
                CellKind kind = Null;
                switch (sqlite3_column_type(st, f)) {
                case SQLITE_INTEGER:
                    kind = Number;
                    cell.number = double(sqlite3_column_int64(st, f));
                    break;
                case SQLITE_FLOAT:
                    kind = Number;
                    cell.number = sqlite3_column_double(st, f);
                    break;
                case SQLITE_NULL:
                    break;
                default: {
                    const char* bytes = reinterpret_cast<const char*>(sqlite3_column_text(st, f));
                    const int size = sqlite3_column_bytes(st, f);
                    ColumnTexts& column = columns[size_t(k)];
                    if (column.keep && ids.count() < MaxKeptTexts) {
                        quint32 id = column.last;
                        if (id != 0 && ids.holds(id, bytes, size)) {
                            column.count(false);
                        } else {
                            const size_t hash = qHash(QByteArrayView(bytes, size));
                            size_t slot = 0;
                            id = ids.find(bytes, size, hash, &slot);
                            column.count(id == 0);
                            if (id == 0) {
                                id = ids.add(bytes, size, hash);
                                batch->texts.push_back(QString::fromUtf8(bytes, size));
                            }
                            column.last = id;
                        }
                        kind = KeptText;
                        cell.text = {id, 0};
                        break;
                    }
                    kind = BatchText;
                    cell.text = {quint32(batch->chars.size()), 0};
                    appendUtf16(batch->chars, bytes, size);
                    cell.text.length = quint32(batch->chars.size()) - cell.text.id_or_offset;
                }
                }
                batch->cells.push_back(cell);
                batch->kinds.push_back(kind);
            }
            if (++batch->rows == BatchRows) {
                if (!push(std::move(batch)))
                    break;
                fresh();
            }
        }
        if (batch && batch->rows > 0 && !m_stop)
            push(std::move(batch));
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
