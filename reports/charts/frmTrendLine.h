#pragma once

#include "reports/charts/DailyLineScreen.h"

// The business trend lines: one of three daily lines over a date range, the amount received
// (kind 0), the guests (kind 1) or the table turnover, settled bills divided by the number of
// tables (kind 2). Each kind is its own instance (one per action), opened with its line drawn.
// Compared with the previous period or the year before, the compared line is drawn too.
class frmTrendLine : public DailyLineScreen
{
    Q_OBJECT
public:
    explicit frmTrendLine(QWidget* parent = nullptr);
    ~frmTrendLine() override;

    // Shows the line of `kind` (0, 1 or 2; any other value shows nothing). The first time, the
    // screen takes the kind's title and draws the current month's line before it appears.
    void ShowMe(int kind);
    int kind() const { return m_kind; }

    // The title of a kind, from the language file.
    QString kindTitle(int kind) const;

protected:
    void cmdQuery1() override;
    void completeCriteria(CriteriaValue& criteria) override; // the kind shown
    // Point ROW (from 1, the day begin + ROW - 1) of the line (COLUMN 1, or 0) opens the bill
    // query on that business day with the line's meal periods: the settled bills whose
    // takings, guests or count the point shows (the table turnover's bills before they are
    // divided by the tables). Point ROW of the compared line (COLUMN 2) opens the compared
    // range's day ROW the same way.
    bool drillTo(int row, int column) override;

private:
    int m_kind = 0;
    QStringList m_periods; // the meal periods of the line drawn
};
