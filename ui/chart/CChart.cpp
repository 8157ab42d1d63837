#include "ui/chart/CChart.h"

#include "ui/chart/Chart2D.h"
#include "ui/chart/ChartGrid.h"

#include <stdexcept>

CChart::CChart() = default;
CChart::~CChart() = default;

CChartItem* CChart::add(const QString& group, const QString& item, const QVariant& data,
                        const QString& label)
{
    auto point = std::make_unique<CChartItem>();
    point->setGroup(group);
    point->setChartItem(item);
    point->setChartData(data);
    point->setChartLabel(label);
    m_items.push_back(std::move(point));
    return m_items.back().get();
}

CChartItem& CChart::Item(int index) const
{
    if (index < 1 || index > Count())
        throw std::out_of_range("chart item index out of range");
    return *m_items[size_t(index - 1)];
}

void CChart::Remove(int index)
{
    if (index < 1 || index > Count())
        throw std::out_of_range("chart item index out of range");
    m_items.erase(m_items.begin() + (index - 1));
}

QStringList CChart::groups() const
{
    QStringList list;
    for (const auto& p : m_items)
        if (!list.contains(p->Group()))
            list << p->Group();
    return list;
}

QStringList CChart::items() const
{
    QStringList list;
    for (const auto& p : m_items)
        if (!list.contains(p->ChartItem()))
            list << p->ChartItem();
    return list;
}

void CChart::toChart2D(Chart2D& chart, int chartType) const
{
    chart.setIsBatched(true);
    const QStringList groupList = groups();
    const QStringList itemList = items();
    chart.change([&](Chart2DData& d) {
        d.legendVisible = true;
        d.header = m_title;
        d.headerVisible = true;
        if (chartType > 0)
            d.type = chartType;
        d.values.clear();
        d.labels.clear();
        d.resize(int(groupList.size()), int(itemList.size()));
        d.seriesLabels = groupList;
        d.pointLabels = itemList;
        for (const auto& p : m_items) {
            const int series = int(groupList.indexOf(p->Group())) + 1;
            const int point = int(itemList.indexOf(p->ChartItem())) + 1;
            d.values[series - 1][point - 1] = p->ChartData().toDouble();
            d.labels << ChartPointLabel{series, point, p->ChartLabel()};
        }
    });
    chart.setIsBatched(false);
}

void CChart::toMsChart(ChartGrid& grid, int chartType) const
{
    grid.setChartType(chartType);
    const QStringList groupList = groups();
    const QStringList itemList = items();
    grid.setColumnCount(int(groupList.size()));
    grid.setRowCount(int(itemList.size()));
    for (const auto& p : m_items) {
        const int column = int(groupList.indexOf(p->Group())) + 1;
        const int row = int(itemList.indexOf(p->ChartItem())) + 1;
        grid.setColumnLabel(column, p->Group());
        grid.setRowLabel(row, p->ChartItem());
        grid.setData(row, column, p->ChartData().toString());
    }
    grid.setShowLegend(true);
}
