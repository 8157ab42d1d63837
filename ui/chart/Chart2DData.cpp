#include "ui/chart/Chart2DData.h"

#include <algorithm>
#include <cmath>

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

namespace {

bool withinValue(double v)
{
    return std::isfinite(v) && std::abs(v) <= ChartLimits::MostValue;
}

QString tooLong(const QString& what, const QString& text)
{
    return text.size() > ChartLimits::MostTextLength
               ? QStringLiteral("%1 has %2 characters (at most %3)")
                     .arg(what)
                     .arg(text.size())
                     .arg(ChartLimits::MostTextLength)
               : QString();
}

} // namespace

QString Chart2DData::problem() const
{
    using namespace ChartLimits;
    if (!ChartType::isKnown(type))
        return QStringLiteral("chart type %1 is unknown").arg(type);
    if (values.size() > MostSeries || seriesLabels.size() > MostSeries)
        return QStringLiteral("more than %1 series").arg(MostSeries);
    if (pointLabels.size() > MostPoints)
        return QStringLiteral("more than %1 points").arg(MostPoints);
    qint64 count = 0;
    for (const QList<double>& series : values) {
        if (series.size() > MostPoints)
            return QStringLiteral("more than %1 points").arg(MostPoints);
        count += series.size();
        for (double v : series)
            if (!withinValue(v))
                return QStringLiteral("a value is %1 (not a finite number within ±1e15)").arg(v);
    }
    if (count > MostValues)
        return QStringLiteral("more than %1 values").arg(MostValues);
    if (labels.size() > MostLabels)
        return QStringLiteral("more than %1 labels").arg(MostLabels);
    if (const QString why = tooLong(QStringLiteral("the header"), header); !why.isEmpty())
        return why;
    if (const QString why = tooLong(QStringLiteral("the footer"), footer); !why.isEmpty())
        return why;
    for (const QString& text : seriesLabels + pointLabels)
        if (const QString why = tooLong(QStringLiteral("a series or point name"), text);
            !why.isEmpty())
            return why;
    for (const ChartPointLabel& l : labels) {
        if (l.series < 1 || l.series > MostSeries || l.point < 1 || l.point > MostPoints)
            return QStringLiteral("a label is attached to series %1, point %2")
                .arg(l.series)
                .arg(l.point);
        if (const QString why = tooLong(QStringLiteral("a label"), l.text); !why.isEmpty())
            return why;
    }
    if (yAxisMax && !withinValue(*yAxisMax))
        return QStringLiteral("the top of the y axis is %1").arg(*yAxisMax);
    if (view) {
        const ChartViewState& v = *view;
        for (double bound : {v.xMin, v.xMax, v.yMin, v.yMax, v.rotation})
            if (!withinValue(bound))
                return QStringLiteral("the view reaches %1").arg(bound);
        if (!(v.scale > 0 && v.scale <= MostViewScale) || !(std::abs(v.dx) <= MostViewOffset) ||
            !(std::abs(v.dy) <= MostViewOffset))
            return QStringLiteral("the pie's view is out of bounds");
    }
    return QString();
}
