#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <vector>

class QueryColumn;
class QueryColumns;
class QueryGroups;
class Recordset;
class RowBatchReader;
class Sheet;

// Fills a Sheet from a query result by a query control's column definitions, without a widget:
// the query control runs it over its grid, and anything else that needs the same rows (charts,
// exports without a screen) can run it over a sheet of its own.
//
// Columns: the leaf columns (leafColumns) are the grid columns 1..n in definition order; a
// header-only column puts its caption over its sub-columns in a second header row (layOut).
//
// Filling: the field spec before "|" is a field or an expression over the record's fields; the
// condition is a boolean expression over them (QueryExpression). Both are compiled once per run
// against the result's columns. A cell takes a value only from records meeting its column's
// condition; an empty condition admits every record. Kinds: 1 text, 13 number, 14 percent (a
// fraction, shown as its percentage). Number columns show no decimals when their field is an
// integer column and every value is whole, else two decimals. In a column that holds dates
// (QueryColumn::holdsDates) a date-time at midnight shows as its date alone. Totalled columns are
// summed in fixed point (Money); an amount or a sum beyond its range fails the fill, naming the
// column.
//
// Key fields (the records ordered by them): consecutive records with equal keys fold into one
// grid row. Within that row a text column, or a number column whose condition reads only its
// own fields, takes its value from the first record meeting the condition (a bill amount
// repeated on each payment line counts once); a number column with value 6 equal to 1, or whose
// condition reads another field (the pivot "SubjectID='01'"), sums its values over the records
// meeting the condition.
//
// Subtotals: each group field, and each key prefix chosen by the key level (a bit mask over the
// key fields: 1 the first key field, 2 the first two, 4 the first three; a level as long as the
// whole key is ignored), ends its groups of grid rows with a bold subtotal row: column 1 keeps
// the group's text, the label "<group caption><subtotal label>" goes into column 2 when that is
// a text column (else after the text in column 1), and totalled columns show their group sums.
// The last row is always the totals row: the totals label in column 1 and the sum of every
// totalled column. A stopped fill ends in a partial totals row instead: the sums of the rows read
// under the partial label, in italics and dark red rather than bold, so that it cannot pass for
// the totals of the whole result.
//
// Every row written has a role (rowRole): callers tell data, subtotal and totals rows apart by
// it, never by a row's text.
class QueryFill
{
public:
    enum class RowRole : quint8
    {
        Data,
        Subtotal,
        Total
    };

    // The labels of the subtotal and totals rows and the failure messages (templates with %1..).
    struct Texts
    {
        QString subtotal;      // after a group's caption: "小计"
        QString total;         // column 1 of the totals row: "合计"
        QString queryFailed;   // %1 the database's message
        QString badColumn;     // %1 caption, %2 field spec, %3 the reason
        QString badCondition;  // %1 caption, %2 condition, %3 the reason
        QString badKeyField;   // %1 the field
        QString badGroupField; // %1 the field
        QString overflow;      // %1 the caption of a column whose amounts leave Money's range
        QString partialTotal;  // column 1 of the totals row of a stopped fill (else `total`)
    };

    // Called with the records read so far and their total, -1 while it is unknown (a
    // forward-only result that does not count its rows): (0, total) before the first record
    // and, on a reader, again while no batch is ready; every 1024 records; (n, n) when the grid
    // is full. Between calls the grid's first rowsWritten() rows are complete.
    using Progress = std::function<void(qint64 records, qint64 total)>;

    // The grid columns of a definition list: every column that is not header-only, sub-columns
    // in place of their header.
    static std::vector<const QueryColumn*> leafColumns(const QueryColumns& columns);
    // Clears `sheet` and lays out its empty grid from the definitions: header rows and spans,
    // column types, widths in twips (the definition's, or the sheet's default), back colours;
    // the grid is locked. Returns the leaf columns.
    static std::vector<const QueryColumn*> layOut(Sheet& sheet, const QueryColumns& columns);

    // `leaves` are the sheet's grid columns in order (leafColumns); they must outlive the fill.
    QueryFill(std::vector<const QueryColumn*> leaves, const Texts& texts);

    void setKeyFields(const QStringList& fields) { m_keyFields = fields; }
    void setKeyLevel(int level) { m_keyLevel = level; }
    void setGroups(const QueryGroups* groups) { m_groups = groups; }
    void setProgress(Progress progress) { m_progress = std::move(progress); }

    // Reads every remaining record of `rs` into `sheet`'s rows (the sheet laid out for the
    // leaves; its rows are replaced). Returns false, leaving no rows, when a field spec,
    // condition, key field or group field names a column the result does not have, or when
    // reading fails; error() then says why.
    bool fill(Recordset& rs, Sheet& sheet);
    // The same from a reader stepping the statement on a thread of its own: this thread fills
    // the sheet from its batches while it reads the next ones. Progress is also called while
    // no batch is ready (with the last percentage), so the caller can keep its window alive.
    bool fill(RowBatchReader& reader, Sheet& sheet);
    QString error() const { return m_error; }

    // Asks a fill in progress (from its Progress callback) to stop at the next record: the fill
    // then ends as if the result ended there (the rows read, their subtotals and the totals
    // row) and stopped() is true.
    void stop();
    bool stopped() const { return m_stopped; }
    // The records read by the last fill.
    qint64 records() const { return m_records; }
    // The grid rows written so far, each complete (during a fill, from its Progress callback,
    // to show them as they come; after it, every row).
    int rowsWritten() const { return m_rowsWritten; }

    // The role of a grid row (1-based) written by the last fill.
    RowRole rowRole(int row) const;
    // The subtotal rows, ascending, and the totals row (0 before a successful fill).
    const std::vector<int>& subtotalRows() const { return m_subtotalRows; }
    int totalRow() const { return m_totalRow; }

    class Source; // where a fill's records come from

private:
    class Run; // one fill's compiled columns, levels and sums, step by step

    std::vector<const QueryColumn*> m_leaves;
    Texts m_texts;
    QStringList m_keyFields;
    int m_keyLevel = 0;
    const QueryGroups* m_groups = nullptr;
    Progress m_progress;
    QString m_error;
    std::vector<int> m_subtotalRows;
    int m_totalRow = 0;
    std::atomic<bool> m_stop{false};
    bool m_stopped = false;
    qint64 m_records = 0;
    qint64 m_total = -1;           // the records of the result, when it says
    qint64* m_readSoFar = nullptr; // the reader fill's count, reported while waiting
    int m_rowsWritten = 0;

    // A width of -1 with a plain number in the condition slot (a definition some screens make
    // for their first text column, "1100" or "1600"): the number is the column's width in twips
    // and the column has no condition.
    static bool conditionIsWidth(const QueryColumn& column, int* width);
    bool fail(Sheet& sheet, const QString& message);
    bool fill(Source& source, Sheet& sheet);
    void report(qint64 records)
    {
        if (m_progress)
            m_progress(records, m_total);
    }
};
