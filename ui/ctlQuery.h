#pragma once

#include "core/IQueryItems.h"
#include "db/Connection.h"
#include "db/Statement.h"
#include "query/QueryColumns.h"
#include "query/QueryGroups.h"
#include "ui/QueryCompare.h"
#include "ui/QueryFill.h"

#include <QVariant>
#include <QWidget>

#include <map>
#include <memory>

class QLabel;
class Recordset;
class RowBatchReader;
class Sheet;
class SheetView;

// The query control placed on report screens as ctlQuery1 ... ctlQuery4: runs a screen's SQL on
// the connection and shows the rows in its grid, filled by QueryFill (one row per record or per
// key, conditional cells, subtotal rows and a totals row; the rules are QueryFill's).
//
// ApplyQuery(true, false) lays out the empty grid from the column definitions and widens the
// columns until their captions fit; ApplyQuery(false, true) runs the SQL and fills the grid,
// with the control's own labels "小计" and "合计"; the columns are then widened until their
// figures fit. While records load, every tenth of a second: RowsRead says how many were read
// (and of how many, when the result says), Progress the true percentage when it is known, the
// rows written so far show in the grid, and pending window events run.
//
// Reading: on an SQLite file or a PostgreSQL server the statement is read on a thread of its own
// (RowBatchReader) while the grid fills here from its batches; Esc in the control's window, or
// closing the window, stops a load: the grid keeps the rows read, ending in a partial totals row
// ("部分合计", italic, not the bold totals of a whole result), and lastError says how many records
// it holds (the screen's status line shows it).
//
// Failures: ApplyQuery returns false (it never throws) when the SQL fails or a field spec,
// condition, key field or group field names a column the result does not have, or reading the
// rows fails; the grid is left empty, the message shows under the grid and lastError() returns
// it.
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
    // The statement's text and parameters at once (SetSQL and SetParameter for each); throws
    // std::logic_error for a statement with a fragment still to be written.
    void SetStatement(const Statement& statement);
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
    // The last run was stopped (Esc, the window closed, stopLoad): the grid holds the rows read
    // until then with their totals; ApplyQuery returned false and lastError() says so.
    bool wasStopped() const { return m_stopped; }
    // How often a load shows its progress and runs pending window events (100 ms); 0 does it
    // at every batch of records read, so that a test sees rows arrive on any machine.
    void setProgressInterval(int ms) { m_progressInterval = ms; }
    // Stops a run in progress at the next record (from an event handled while it loads).
    void stopLoad();

    // The grid (rows, columns, formatting and print settings); leaf columns are numbered 1..n.
    Sheet* Grid() const { return m_sheet; }
    SheetView* View() const { return m_view; }
    // The grid column of each leaf column definition, for screens that address columns by
    // definition (0 when the definition is not a leaf of this control).
    int gridColumnOf(const QueryColumn* column) const;
    // The role the last successful fill gave a grid row (1-based): data, subtotal or totals;
    // Data after a failure or a new layout.
    QueryFill::RowRole rowRole(int row) const;
    // Comparison with another date range (QueryCompare): fillCompared fills `sheet`, laid out
    // as the grid, from `statement` as the grid was filled from its own, and gives its rows'
    // roles (false with lastError() set when it fails); showCompared then writes the grid with
    // the compared columns beside its figures. Row roles are the merged grid's until the next
    // run. Esc stops the compared load as it stops the grid's own: fillCompared then returns
    // false, wasStopped() is true and the grid keeps its own figures without the comparison.
    bool fillCompared(const Statement& statement, Sheet& sheet,
                      std::vector<QueryFill::RowRole>& roles);
    void showCompared(const Sheet& compared, const std::vector<QueryFill::RowRole>& roles,
                      const QueryCompare::Texts& texts);
    // The grid shows compared columns (QueryCompare) beside its figures.
    bool isCompared() const { return m_uncompared != nullptr; }
    // Back to the grid's own columns, as laid out and formatted, without rows, when it showed
    // compared columns; nothing otherwise. A refresh does it first; a screen writing its own
    // cells calls it before it writes them.
    void showOwnColumns();
    // For screens that write the cells of the laid-out grid themselves (no query run): every
    // row they wrote is a data row but `totalRow` (0: none), the totals row; the columns are
    // widened until their figures fit and the grid is redrawn.
    void cellsWritten(int totalRow);
    // The labels and messages of the fill, from the control's language section.
    static QueryFill::Texts fillTexts();

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
    // Raised while records load: current of total, a percentage: 0 when the load starts, the
    // true percentage while records come when the result says how many it holds, 100 when the
    // grid is full.
    void Progress(int current, int total);
    // Records read so far, of `total` (-1 while that is not known: a forward-only result).
    void RowsRead(qint64 records, qint64 total);
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
    std::vector<const QueryColumn*> m_leaves;        // grid column i+1 is m_leaves[i]
    std::unique_ptr<QueryFill> m_fill;               // the last successful fill: its row roles
    int m_ownTotalRow = 0;                           // the totals row of cells a screen wrote
    std::vector<QueryFill::RowRole> m_comparedRoles; // the rows of a compared grid
    std::unique_ptr<Sheet> m_uncompared; // its layout without the compared columns, for a rerun
    bool m_laidOut = false;
    bool m_running = false;
    bool m_stopped = false;
    int m_progressInterval = 100;
    QueryFill* m_loading = nullptr; // the fill in progress

    bool eventFilter(QObject* watched, QEvent* event) override;
    void layOut();
    void fitColumnWidths();
    bool runQuery();
    // Reads the rows of `reader` (or `rs`) into `into` through `fill`, with the progress
    // signals and pending window events; Esc or closing the window stops it. `showRows`: the
    // rows show in the grid as they are written.
    bool load(QueryFill& fill, RowBatchReader* reader, Recordset* rs, Sheet& into, bool showRows);
    bool fail(const QString& message);
};
