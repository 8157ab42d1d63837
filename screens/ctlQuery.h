#pragma once

#include "core/IQueryItems.h"
#include "db/Connection.h"
#include "screens/QueryColumns.h"
#include "screens/QueryGroups.h"

#include <QVariant>
#include <QWidget>

#include <map>

class QLabel;
class Sheet;
class SheetView;

// The query control placed on report screens as ctlQuery1 ... ctlQuery4: runs a screen's SQL on
// the connection and fills its grid with one row per record (or per key), conditional cells,
// subtotal rows and a totals row.
//
// Column layout (ApplyQuery(true, false)): every column definition that is not a header-only
// column becomes one grid column, numbered from 1 in definition order; a header-only column
// puts its caption over its sub-columns in a second header row.
//
// Filling (ApplyQuery(false, true)): the field spec before "|" is a field or an expression over
// the record's fields; the condition is a boolean expression over them (QueryExpression).
// Both are compiled once per run against the result's columns. A cell takes a value only from
// records meeting its column's condition; an empty condition admits every record. Kinds: 1
// text, 13 number, 14 percent (a fraction, shown as its percentage). Number columns show no
// decimals when their field is an integer column and every value is whole, else two decimals
// with thousands separators. Totalled columns are summed in fixed point (Money).
//
// Key fields (SetKeyFields, the SQL ordered by them): consecutive records with equal keys fold
// into one grid row. Within that row a text column, or a number column whose condition reads
// only its own fields, takes its value from the first record meeting the condition (a bill
// amount repeated on each payment line counts once); a number column with value 6 equal to 1,
// or whose condition reads another field (the pivot "SubjectID='01'"), sums its values over the
// records meeting the condition.
//
// Subtotals: each Groups() field, and each key prefix chosen by KeyLevel (a bit mask over the
// key fields: 1 the first key field, 2 the first two, 4 the first three; a level as long as the
// whole key is ignored), ends its groups of grid rows with a bold subtotal row: column 1 keeps
// the group's text, the label "<caption>小计" goes into column 2 when that is a text column
// (else after the text in column 1), and totalled columns show their group sums. The last row
// is always the totals row: "合计" in column 1 and the sum of every totalled column.
//
// Failures: ApplyQuery returns false (it never throws) when the SQL fails or a field spec,
// condition, key field or group field names a column the result does not have; the grid is
// left empty, the message shows under the grid and lastError() returns it.
class ctlQuery : public QWidget, public IQueryItems
{
    Q_OBJECT
public:
    explicit ctlQuery(QWidget* parent = nullptr);
    ~ctlQuery() override;

    void SetConnection(ConnectionPtr connection);
    void SetSQL(const QString& sql);
    QString SQL() const { return m_sql; }
    // Binds the index-th `?` (from 1).
    void SetParameter(int index, const QVariant& value);
    void ClearParameters() { m_params.clear(); }
    // Comma-separated key fields ("MenuID,MenuUnitID"); an empty text folds nothing.
    void SetKeyFields(const QString& fields);
    QString KeyFields() const { return m_keyFields.join(QLatin1Char(',')); }
    void SetKeyLevel(int level) { m_keyLevel = level; }
    int KeyLevel() const { return m_keyLevel; }

    void ClearColumns();
    QueryColumns& Columns() { return m_columns; }
    QueryGroups& Groups() { return m_groups; }
    void SetTitle(const QString& title) { m_title = title; }
    QString Title() const { return m_title; }

    // (true, false[, false]): lay out the empty grid from the columns. (false, true, false):
    // run the SQL and fill the grid (laying it out first if that was never done). The third
    // flag is accepted for the screens' calls and has no effect. Returns false on failure.
    bool ApplyQuery(bool takeColumns, bool run, bool third = false);
    QString lastError() const { return m_lastError; }

    // The grid (rows, columns, formatting and print settings); leaf columns are numbered 1..n.
    Sheet* Grid() const { return m_sheet; }
    SheetView* View() const { return m_view; }
    // The grid column of each leaf column definition, for screens that address columns by
    // definition (0 when the definition is not a leaf of this control).
    int gridColumnOf(const QueryColumn* column) const;

    // Full-screen view of a copy of the grid; save to a file (an empty name asks for one);
    // print with a header and footer in the print code language.
    void ToggleFullScreen();
    bool SaveGrid(const QString& fileName, int flags = 0);
    void PrintGrid(const QString& header, const QString& footer);

    // -- IQueryItems: what the language file translates ------------------------------------------
    QString title() const override { return m_title; }
    void setTitle(const QString& title) override { m_title = title; }
    int queryItemCount() const override { return m_columns.count(); }
    IQueryItem* queryItem(int index) override;

signals:
    // Raised while records load: current of total (a percentage; ends at 100 of 100).
    void Progress(int current, int total);
    // A grid cell was double-clicked (1-based).
    void GridDblClick(int row, int col);

private:
    ConnectionPtr m_connection;
    QString m_sql;
    std::map<int, QVariant> m_params;
    QStringList m_keyFields;
    int m_keyLevel = 0;
    QueryColumns m_columns;
    QueryGroups m_groups;
    QString m_title;
    QString m_lastError;
    Sheet* m_sheet = nullptr;
    SheetView* m_view = nullptr;
    QLabel* m_status = nullptr;
    std::vector<const QueryColumn*> m_leaves; // grid column i+1 is m_leaves[i]
    bool m_laidOut = false;
    bool m_running = false;

    void layOut();
    void fitColumnWidths();
    bool runQuery();
    bool fail(const QString& message);
};
