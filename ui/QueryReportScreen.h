#pragma once

#include "ui/ReportScreen.h"

#include <QHash>
#include <QVariantList>

class QStackedWidget;
class QueryColumns;
class ctlQuery;
struct ViewSpec;

// A report screen whose body is one query control per view of its description (`ctlQuery1` ..
// `ctlQueryN`; option buttons optQuery1..N choose the one shown). The toolbar's print, full
// screen and save act on the chosen view's control, its progress drives the progress bar,
// "Print" is enabled once the chosen grid holds at least one row besides its totals row, and a
// double click on a view with a bill column opens that row's bill.
//
// Column setup is derived from each view's columns (titles and captions through the language
// file, key fields, the empty grid's rows and centred columns; columns repeated per data-list
// entry from the host framework's lists, read once per setup). A refresh runs the chosen view's
// statement: the declaration's statement function of the criteria read from the bar, with the
// branch scope written in and planned (planned). A view with `ownCells` is written by the screen
// instead (writeCells): its grid keeps the layout, the print, full-screen and save keys and the
// row roles of any other view.
class QueryReportScreen : public ReportScreen
{
    Q_OBJECT
public:
    explicit QueryReportScreen(const ScreenSpec& spec, QWidget* parent = nullptr);

    // The chosen view's query control.
    ctlQuery* queryControl() const;
    ctlQuery* queryControl(int view) const;
    int viewCount() const;
    int currentView() const;
    Sheet* grid() const override;
    QString gridCaption() const override;
    QString gridTitle() const override;

protected:
    // Writes the cells of a view with `ownCells` into its laid-out grid (figures worked out
    // first, then rendered) and returns its totals row (0: none). Refusals throw
    // std::runtime_error before anything is written; a part that could not be read leaves its
    // cells empty and is named in `failure`, which the refresh then reports.
    virtual int writeCells(int view, Sheet* grid, QString* failure);
    // For a view with `ownCells` compared with another range ("对比:"): writes into `sheet`, a
    // copy of the grid writeCells wrote for `criteria`, the figures of `compared` (the same
    // criteria over the compared range) in the same rows, a row's key texts kept, and returns
    // its totals row (0: none); QueryCompare then sets them beside the grid's figures. -1 (the
    // default): the view shows no comparison.
    virtual int writeComparedCells(int view, Sheet* sheet, const CriteriaValue& criteria,
                                   const CriteriaValue& compared, QString* failure);
    // The statement a view runs, given its statement with the branch scope written in: that
    // statement, or the same figures read another way (from the bill summaries).
    virtual Statement planned(int view, const CriteriaValue& criteria, const Statement& statement);
    // Columns a view adds besides those of its description (one per meal period, say). A list
    // the columns come from that cannot be read throws SqlError: the columns are laid out again
    // before the next refresh, which fails with that reason if they still cannot be.
    virtual void addColumns(int view, QueryColumns& columns);
    // Formatting of a view's grid after its columns are laid out, and after each refresh.
    virtual void formatGrid(int view, Sheet* grid);
    virtual void afterQuery(int view, Sheet* grid);

    void cmdQuery1() override;
    void cmdSetColumn1() override;
    void cmdOpen() override;
    // The view's DrillSpec: the bills or item lines behind a data row (its keys), a subtotal
    // row (the keys it shows) or the totals row (no key).
    bool drillTo(int row, int column) override;
    void stopLoad() override;
    QString printHeader() const override;

    const ViewSpec& viewSpec(int view) const;
    // The column of the grid's own layout shown at `column` (from 1) of the current view's grid:
    // the column itself unless the grid shows compared columns; 0 for a compared, change or
    // percent column, which leads to no lines of this range (the reason is then the last error).
    // A `column` below 1 (none clicked) is given back as it is.
    int ownColumn(int column);
    // Shows `body` (a chart, say) in place of view `view`'s query control, which stays behind it
    // with the view's grid: the figures the body shows, for the grid's exports and tests.
    void setViewBody(int view, QWidget* body);

    ctlQuery* ctlQuery1 = nullptr; // the first view's control
    Sheet* mSpread1 = nullptr;     // its grid

private:
    void showView(int view);
    void updatePrintKey();

    QStackedWidget* m_views = nullptr;
    QList<ctlQuery*> m_controls;
    QList<bool> m_refreshed; // per view: its grid holds a result
    QList<bool> m_stopped;   // per view: its load was stopped (a partial result)
    QString m_columnsError;  // why the columns could not all be laid out (a list not read)
};
