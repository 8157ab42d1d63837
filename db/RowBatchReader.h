#pragma once

#include "db/Connection.h"
#include "db/Recordset.h"

#include <QMetaType>
#include <QMutex>
#include <QStringList>
#include <QWaitCondition>

#include <atomic>
#include <deque>
#include <memory>
#include <vector>

class QThread;

// Reads a statement's rows on a thread of its own and hands them over in batches through a
// bounded queue, so that stepping the statement and using its rows overlap (the query control
// fills its grid on the UI thread while the next rows are read). The reading thread has its own
// read-only SQLite handle, or its own PostgreSQL connection whose rows come one by one as the
// server sends them (Connection::prepareDetached), and touches nothing else. Cells are made as
// the rows of execute() give them on that database: on PostgreSQL integers, numerics and floating
// point as numbers, timestamps as 'yyyy-MM-dd HH:mm:ss' texts.
//
// Texts: each distinct text of a column that repeats its values (a table, a period, a person)
// is converted once and sent once, in the batch that first holds it, with an id (from 1) that
// the later cells carry; the consumer keeps the texts by id (keepTexts) and may keep whatever
// it derives from a text by id as well. A column whose texts mostly differ (bill numbers) sends
// each text in its cell's batch.
//
//   auto reader = RowBatchReader::start(connection, sql, params); // null: use execute()
//   reader->waitForHeader(...); names(), types()
//   reader->begin({fields to read});
//   while (auto batch = reader->next(50)) { ... }  // then atEnd() or error()
class RowBatchReader
{
public:
    enum CellKind : quint8
    {
        Null,
        Number,
        KeptText,  // number: unused; id: the distinct text's id
        BatchText, // offset and length into the batch's chars
    };
    struct Cell
    {
        union {
            double number;
            struct
            {
                quint32 id_or_offset;
                quint32 length;
            } text;
        };
    };
    struct Batch
    {
        int rows = 0;
        int fields = 0;              // cells per row (the fields asked for, in that order)
        std::vector<Cell> cells;     // rows x fields
        std::vector<CellKind> kinds; // rows x fields
        std::vector<QString> texts;  // distinct texts first sent in this batch, ids in order
        quint32 firstTextId = 1;     // the id of texts[0]
        std::vector<char16_t> chars; // the batch's own texts

        // Cell (row, k) as the rows of a Recordset give it; `kept` holds the texts by id
        // (index id - 1). Kept texts carry their id in SqlCell::textId.
        SqlCell cell(int row, int k, const std::vector<QString>& kept) const
        {
            const size_t i = size_t(row) * size_t(fields) + size_t(k);
            switch (kinds[i]) {
            case Number:
                return {SqlCell::Number, cells[i].number, {}, 0, false};
            case KeptText: {
                const quint32 id = cells[i].text.id_or_offset;
                return {SqlCell::Text, 0, kept[id - 1], id, false};
            }
            case BatchText:
                return {SqlCell::Text, 0,
                        QStringView(chars.data() + cells[i].text.id_or_offset,
                                    qsizetype(cells[i].text.length)),
                        0, true};
            default:
                return {};
            }
        }
        // Appends the texts this batch sends to those kept by id.
        void keepTexts(std::vector<QString>& kept)
        {
            for (QString& t : texts)
                kept.push_back(std::move(t));
            texts.clear();
        }
    };

    static constexpr int BatchRows = 2048;
    static constexpr int QueueBatches = 8;

    // Prepares the statement on a read-only handle and starts reading it; null when the
    // connection cannot read it detached (see Connection::prepareDetached).
    static std::unique_ptr<RowBatchReader> start(const ConnectionPtr& connection,
                                                 const QString& tsql, const QVariantList& params);
    ~RowBatchReader(); // stops and waits for the reading thread

    // Waits up to `ms` for the first row to be stepped (an ordered statement sorts first);
    // true once the result's names and types are known or the statement failed.
    bool waitForHeader(int ms);
    QStringList names() const { return m_names; }
    QList<QMetaType> types() const { return m_types; }

    // The result columns to read from each row; reading goes on from here.
    void begin(std::vector<int> fields);
    // The next batch, waiting up to `ms`; null when none came in time or at the end.
    std::unique_ptr<Batch> next(int ms);
    // Hands a used batch back, so that its memory holds the next rows read (memory already
    // touched costs no page faults).
    void recycle(std::unique_ptr<Batch> batch);
    bool atEnd() const; // every batch taken, or stopped, or failed
    // Why reading failed; empty when it did not (a stop is not a failure).
    QString error() const;

    // Stops reading at the next row (an ongoing step is interrupted); rows already queued stay
    // available to next(). Any thread.
    void stop();

private:
    class Writer;
    explicit RowBatchReader(std::unique_ptr<Connection::DetachedRead> read);
    void run();
    void readSqlite();
    void readPostgres(); // throws SqlError
    // Makes the result's names and types known and waits for begin(); false when stopped.
    bool publishHeader(const QStringList& names, const QList<QMetaType>& types);
    // Queues the batch, waiting while the queue is full; false when stopped meanwhile.
    bool push(std::unique_ptr<Batch> batch);

    std::unique_ptr<Connection::DetachedRead> m_read;
    QThread* m_thread = nullptr;

    mutable QMutex m_mutex;
    QWaitCondition m_changed; // any change of the state below
    bool m_headerReady = false;
    bool m_begun = false;
    bool m_finished = false; // the reading thread queued its last batch
    bool m_reading = false;  // the statement is being stepped: interrupt() is safe
    std::atomic<bool> m_stop{false};
    QStringList m_names;
    QList<QMetaType> m_types;
    std::vector<int> m_fields;
    std::deque<std::unique_ptr<Batch>> m_queue;
    std::vector<std::unique_ptr<Batch>> m_spare; // recycled, for the reading thread
    QString m_error;
};
