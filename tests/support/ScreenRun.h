#pragma once

#include "sheet/Sheet.h"
#include "ui/ctlQuery.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// A list screen shown, its criteria set by control name and refreshed: the day 2026-03-10
// first (the fixtures' day), unless `onThe10th` is false ("dtpBegin" and "dtpEnd" name the
// range the date periods set).
//
//   ScreenRun<frmSubBillQuery> run({{"cboReason", "上错菜"}});
//   QCOMPARE(run.column(1), QStringList({"R1"}));
using Criteria = QList<QPair<QString, QString>>;

template <class Screen> struct ScreenRun
{
    Screen screen;
    Sheet* grid = nullptr;
    bool ok = false;
    explicit ScreenRun(const Criteria& criteria = {}, bool onThe10th = true)
    {
        screen.ShowMe();
        if (onThe10th) {
            screen.applyCriterion("dtpBegin", "2026-03-10");
            screen.applyCriterion("dtpEnd", "2026-03-10");
        }
        refresh(criteria);
    }
    // Sets more criteria and refreshes again.
    void refresh(const Criteria& criteria = {})
    {
        for (const auto& [name, value] : criteria)
            screen.applyCriterion(name, value);
        ok = screen.runRefresh();
        grid = screen.queryControl()->Grid();
    }
    // The texts of a column over the data rows (the totals row left out), as listed or sorted
    // (for a statement that sorts nothing).
    QStringList column(int col) const
    {
        QStringList texts;
        for (int row = 1; row <= grid->maxRows(); ++row)
            if (screen.queryControl()->rowRole(row) != QueryFill::RowRole::Total)
                texts << grid->text(row, col);
        return texts;
    }
    QStringList sorted(int col) const
    {
        QStringList texts = column(col);
        texts.sort();
        return texts;
    }
    double value(int row, int col) const { return grid->value(row, col).toDouble(); }
    double total(int col) const { return value(grid->maxRows(), col); }
};
