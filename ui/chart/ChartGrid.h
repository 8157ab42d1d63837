#pragma once

#include "ui/chart/Chart2DData.h"

#include <QList>
#include <QString>
#include <QStringList>

// A row-and-column chart: a grid of data cells (rows are the points, columns the series), with
// a label per row and per column, a chart type and a legend. CChart::toMsChart fills one; it
// draws as a two-dimensional chart through toChart2DData.
class ChartGrid
{
public:
    int chartType() const { return m_type; }
    void setChartType(int type) { m_type = type; }
    int ColumnCount() const { return int(m_columnLabels.size()); }
    void setColumnCount(int count);
    int RowCount() const { return int(m_rowLabels.size()); }
    void setRowCount(int count);
    bool ShowLegend() const { return m_showLegend; }
    void setShowLegend(bool show) { m_showLegend = show; }

    // Rows and columns count from 1; a position outside the grid changes nothing.
    QString ColumnLabel(int column) const { return m_columnLabels.value(column - 1); }
    void setColumnLabel(int column, const QString& label);
    QString RowLabel(int row) const { return m_rowLabels.value(row - 1); }
    void setRowLabel(int row, const QString& label);
    QString Data(int row, int column) const;
    void setData(int row, int column, const QString& data);

    // The grid as a chart: one series per column, one point per row; the type when it is one
    // of the chart types, bars otherwise.
    Chart2DData toChart2DData() const;

private:
    int m_type = 0;
    bool m_showLegend = false;
    QStringList m_columnLabels;
    QStringList m_rowLabels;
    QList<QStringList> m_cells; // [row][column]
};
