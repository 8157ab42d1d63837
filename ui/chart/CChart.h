#pragma once

#include "ui/chart/CChartItem.h"

#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

class Chart2D;
class ChartGrid;

// A chart model: a title and a list of data points (CChartItem) in the order they were added,
// turned into a chart control. A point's group names its series and its item its category, so
// the distinct groups (in order of first appearance) are the series and the distinct items the
// points; a screen that adds one point per department with an empty item gets one pie with a
// slice per department.
class CChart
{
public:
    CChart();
    ~CChart();

    QString Title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }

    // Appends a point; the returned item stays valid until it is removed or the model dies.
    CChartItem* add(const QString& group, const QString& item, const QVariant& data,
                    const QString& label);
    // The point at a position counted from 1; std::out_of_range outside 1..Count().
    CChartItem& Item(int index) const;
    int Count() const { return int(m_items.size()); }
    void Remove(int index);

    // For-each over the points in order.
    class const_iterator
    {
    public:
        explicit const_iterator(std::vector<std::unique_ptr<CChartItem>>::const_iterator it)
            : m_it(it)
        {
        }
        CChartItem& operator*() const { return **m_it; }
        const_iterator& operator++()
        {
            ++m_it;
            return *this;
        }
        bool operator!=(const const_iterator& o) const { return m_it != o.m_it; }

    private:
        std::vector<std::unique_ptr<CChartItem>>::const_iterator m_it;
    };
    const_iterator begin() const { return const_iterator(m_items.begin()); }
    const_iterator end() const { return const_iterator(m_items.end()); }

    // Fills a two-dimensional chart in one redraw: legend and header (the title) shown, the
    // type set when chartType > 0, one series per group and one point per item labelled with
    // their texts, each point's value (a later point of the same group and item overwrites an
    // earlier one) and a label attached to each point with its ChartLabel text.
    void toChart2D(Chart2D& chart, int chartType) const;
    // Fills a row-and-column chart: one column per group, one row per item, labelled, each
    // point's value as text in its cell, the legend shown.
    void toMsChart(ChartGrid& grid, int chartType) const;

    // The distinct groups and items in order of first appearance.
    QStringList groups() const;
    QStringList items() const;

private:
    QString m_title;
    std::vector<std::unique_ptr<CChartItem>> m_items;
};
