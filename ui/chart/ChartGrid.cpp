#include "ui/chart/ChartGrid.h"

void ChartGrid::setColumnCount(int count)
{
    m_columnLabels.resize(std::max(0, count));
    for (QStringList& row : m_cells)
        row.resize(m_columnLabels.size());
}

void ChartGrid::setRowCount(int count)
{
    m_rowLabels.resize(std::max(0, count));
    m_cells.resize(m_rowLabels.size());
    for (QStringList& row : m_cells)
        row.resize(m_columnLabels.size());
}

void ChartGrid::setColumnLabel(int column, const QString& label)
{
    if (column >= 1 && column <= ColumnCount())
        m_columnLabels[column - 1] = label;
}

void ChartGrid::setRowLabel(int row, const QString& label)
{
    if (row >= 1 && row <= RowCount())
        m_rowLabels[row - 1] = label;
}

QString ChartGrid::Data(int row, int column) const
{
    return m_cells.value(row - 1).value(column - 1);
}

void ChartGrid::setData(int row, int column, const QString& data)
{
    if (row >= 1 && row <= RowCount() && column >= 1 && column <= ColumnCount())
        m_cells[row - 1][column - 1] = data;
}

Chart2DData ChartGrid::toChart2DData() const
{
    Chart2DData d;
    d.type = ChartType::isKnown(m_type) ? m_type : ChartType::Bar;
    d.legendVisible = m_showLegend;
    d.resize(ColumnCount(), RowCount());
    d.seriesLabels = m_columnLabels;
    d.pointLabels = m_rowLabels;
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < ColumnCount(); ++c)
            d.values[c][r] = m_cells[r][c].toDouble();
    return d;
}
