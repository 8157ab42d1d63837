#pragma once

#include <QString>
#include <QVariant>

// One data point of a chart model (CChart): the label drawn at it, its value, its category
// (points of one category share an x position) and its group (points of one group form a
// series). Every property starts empty.
class CChartItem
{
public:
    QString ChartLabel() const { return m_label; }
    void setChartLabel(const QString& label) { m_label = label; }
    QVariant ChartData() const { return m_data; }
    void setChartData(const QVariant& data) { m_data = data; }
    QString ChartItem() const { return m_item; }
    void setChartItem(const QString& item) { m_item = item; }
    QString Group() const { return m_group; }
    void setGroup(const QString& group) { m_group = group; }

private:
    QString m_label;
    QVariant m_data;
    QString m_item;
    QString m_group;
};
