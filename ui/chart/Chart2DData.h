#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The chart types of the chart viewer's menu, by their codes (the first chart group's type).
namespace ChartType {
constexpr int Plot = 1;          // 点线图: lines through marked points
constexpr int Bar = 2;           // 条形图: grouped bars
constexpr int Pie = 3;           // 饼图: one pie per point, one slice per series
constexpr int StackingBar = 4;   // 堆叠条形图
constexpr int Area = 5;          // 面积图
constexpr int HiLo = 6;          // 高低图
constexpr int HiLoOpenClose = 7; // 高低开合图
constexpr int Candle = 8;        // 烛台图
constexpr int FilledRadar = 11;  // 雷达图
constexpr int Bubble = 12;       // 泡沫图

// One entry of the chart type menu: its key, the message of its caption, the built-in caption
// and the code.
struct Entry
{
    const char* key;
    const char* message;
    const char* caption;
    int code;
};
extern const Entry Entries[10];

// The entry of a menu key (compared without regard to letter case); null for another key.
const Entry* byKey(const QString& key);
bool isKnown(int code);
// Pies and radars turn with the mouse; the other types do not.
bool rotates(int code);
// Types drawn over an x axis of points and a y axis of values.
bool isCartesian(int code);
} // namespace ChartType

// What a chart may hold: a chart file beyond these is refused as damaged, and a chart is drawn
// within them whatever it holds. Amounts of money stay far below MostValue (9.2e14 is the
// largest amount the fixed point holds).
namespace ChartLimits {
constexpr int MostSeries = 1000;
constexpr int MostPoints = 100000;    // a day a point: over 270 years
constexpr int MostValues = 1000000;   // series x points
constexpr int MostLabels = 100000;    // texts attached to points
constexpr int MostTextLength = 1000;  // characters of a header, footer or label
constexpr double MostValue = 1e15;    // the largest magnitude of a value or an axis bound
constexpr double MostViewScale = 100; // how much larger a pie may be drawn
constexpr double MostViewOffset = 10; // how far a pie may be moved, in plot sizes
} // namespace ChartLimits

// A text drawn at one data point (series and point count from 1).
struct ChartPointLabel
{
    int series = 1;
    int point = 1;
    QString text;
    bool operator==(const ChartPointLabel&) const = default;
};

// What part of the chart is shown. Cartesian types show the x range (point positions, the first
// point at 0) by the y range; a radar shows the y range on its radius and turns by `rotation`
// degrees; pies turn by `rotation`, grow by `scale` and move by (dx, dy), fractions of the plot.
struct ChartViewState
{
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    double rotation = 0;
    double scale = 1;
    double dx = 0, dy = 0;
    bool operator==(const ChartViewState&) const = default;
};

// Everything a two-dimensional chart shows: the plain description a chart control draws, a
// chart file keeps and the viewer gets a copy of. Values are [series][point]; a point a series
// does not reach counts as 0.
struct Chart2DData
{
    int type = ChartType::Plot;
    QString header;
    bool headerVisible = true;
    QString footer;
    bool footerVisible = true;
    bool legendVisible = true;
    QStringList seriesLabels; // one per series
    QStringList pointLabels;  // one per point (the x axis)
    QList<QList<double>> values;
    QList<ChartPointLabel> labels;
    std::optional<double> yAxisMax;     // a fixed top of the y axis; none: from the data
    std::optional<ChartViewState> view; // none: the whole chart (the automatic view)

    int seriesCount() const;
    int pointCount() const;
    double value(int series, int point) const; // 0-based; 0 outside the data
    // Sizes the data to `series` x `points` (new values 0, labels blank).
    void resize(int series, int points);
    // Why the chart is beyond the limits above (a count, a text's length, a value that is not
    // finite or too large, a view out of bounds); empty when it is within them.
    QString problem() const;
    bool operator==(const Chart2DData&) const = default;
};
