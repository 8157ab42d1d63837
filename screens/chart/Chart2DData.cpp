#include "screens/chart/Chart2DData.h"

#include <algorithm>

namespace ChartType {

const Entry Entries[10] = {
    {"oc2dTypePlot", "Msg_Chart_Plot", "点线图", Plot},
    {"oc2dTypeBar", "Msg_Chart_Bar", "条形图", Bar},
    {"oc2dTypePie", "Msg_Chart_Pie", "饼图", Pie},
    {"oc2dTypeStackingBar", "Msg_Chart_StackingBar", "堆叠条形图", StackingBar},
    {"oc2dTypeArea", "Msg_Chart_Area", "面积图", Area},
    {"oc2dTypeHiLo", "Msg_Chart_HiLo", "高低图", HiLo},
    {"oc2dTypeHiLoOpenClose", "Msg_Chart_HiLoOpenClose", "高低开合图", HiLoOpenClose},
    {"oc2dTypeCandle", "Msg_Chart_Candle", "烛台图", Candle},
    {"oc2dTypeFilledRadar", "Msg_Chart_FilledRadar", "雷达图", FilledRadar},
    {"oc2dTypeBubble", "Msg_Chart_Bubble", "泡沫图", Bubble},
};

const Entry* byKey(const QString& key)
{
    for (const Entry& e : Entries)
        if (key.trimmed().compare(QLatin1String(e.key), Qt::CaseInsensitive) == 0)
            return &e;
    return nullptr;
}

bool isKnown(int code)
{
    return std::any_of(std::begin(Entries), std::end(Entries),
                       [code](const Entry& e) { return e.code == code; });
}

bool rotates(int code)
{
    return code == Pie || code == FilledRadar;
}

bool isCartesian(int code)
{
    return code != Pie && code != FilledRadar;
}

} // namespace ChartType

int Chart2DData::seriesCount() const
{
    return int(values.size());
}

int Chart2DData::pointCount() const
{
    int n = int(pointLabels.size());
    for (const QList<double>& s : values)
        n = std::max(n, int(s.size()));
    return n;
}

double Chart2DData::value(int series, int point) const
{
    if (series < 0 || series >= values.size() || point < 0 || point >= values[series].size())
        return 0;
    return values[series][point];
}

void Chart2DData::resize(int series, int points)
{
    values.resize(series);
    for (QList<double>& s : values)
        s.resize(points, 0.0);
    seriesLabels.resize(series);
    pointLabels.resize(points);
}
