#pragma once

#include "ui/chart/Chart2DData.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QMarginsF>
#include <QObject>
#include <QPointer>
#include <QSizeF>

#include <optional>
#include <utility>

class QAbstractAxis;
class QAbstractSeries;
class QCategoryAxis;
class QChart;
class QDateTimeAxis;
class QGraphicsItem;
class QGraphicsSimpleTextItem;
class QPainter;
class QPieSeries;
class QRectF;
class QValueAxis;

// A chart description drawn with Qt Charts: a QChart with the header as its title, the legend,
// the series of the chart's type, the axes, the footer below the plot and the labels attached to
// data points, showing one part of the chart (its view). The picture lives inside the QChart
// (a child object), so whoever owns the chart (a chart view, a graphics scene) owns both.
//
// How each type is drawn (series s, point p, value v):
//   Plot           a line per series through marked points (p, v), ending with its series
//   Bar            grouped bars, one bar set per series
//   StackingBar    the same bars stacked
//   Area           a translucent area per series from 0 to its line
//   HiLo           a thin bar from low to high per point
//   HiLoOpenClose  a narrow candle (open to close) on its low-to-high line
//   Candle         a candle per point
//   FilledRadar    a filled polygon per series on a radar, one spoke per point
//   Bubble         a circle per point at (p, v), its size by |v| (in twelve steps)
//   Pie            one pie per point, one slice per series; a chart of one series gives one
//                  pie with a slice per point
// The high, low, open and close of the price types come from the series in fours (high, low,
// open, close; HiLo in twos: high, low) when there are that many; otherwise each series gives
// its own: open the previous point's value (the first point its own), close the point's value,
// high and low the larger and smaller of the two.
//
// The picture reads at any size: the legend (a coloured square and the name of each series, or
// of each slice of a pie of one series) runs in rows under the plot while it takes at most three
// rows, otherwise in columns to its right, names shortened with "…" to fit and, when even
// that is not enough, the last place saying how many are not listed ("+37"). The x axis names
// every n-th point of those shown, n chosen so the names never overlap; labels attached to points
// that would cover one another are left out; slices of a pie carry their share when they are
// wide enough for it. A chart beyond ChartLimits is drawn within them (values that are not
// finite count as 0), and every view is kept within reach of the data.
class ChartPicture : public QObject
{
    Q_OBJECT
public:
    // Draws `data` on a new chart (a QPolarChart for a radar); the picture is the chart's child.
    static ChartPicture* create(const Chart2DData& data);

    QChart* chart() const { return m_chart; }
    const Chart2DData& data() const { return m_data; }

    // The view of the whole chart, worked out from the data.
    ChartViewState automaticView() const;
    // The view shown now.
    ChartViewState view() const { return m_view; }
    // Shows `view` as far as it is within reach (bounded()).
    void setView(const ChartViewState& view);
    // `view` kept within reach of the data: a view that is not finite gives the whole chart; the
    // ranges shown are at least a point wide and a millionth of the values' range high, at
    // most all points wide and four times the values' range high, centred within the whole
    // chart (or showing all of it when wider); a view standing on the base line (no lower than the
    // whole chart) keeps to it. Pies are drawn between a tenth and ten times their size and moved
    // by at most a plot's size.
    ChartViewState bounded(const ChartViewState& view) const;

    // The plot's data coordinates at a point of the chart, and back (cartesian types).
    QPointF toValue(const QPointF& chartPosition) const;
    QPointF toPosition(const QPointF& value) const;

    // The slice of a pie under a point of the chart, as the data holds it: its series and point
    // (from 1); none off every pie, on another type's chart and on the grey slice of the slices
    // not drawn. Where slice (series, point) is drawn: its middle, halfway out (none if it is not).
    std::optional<std::pair<int, int>> sliceAt(const QPointF& chartPosition) const;
    std::optional<QPointF> slicePosition(int series, int point) const;

    // Renders the chart at `size` (pixels) into `target` of `painter` (a picture file, a page).
    static void render(const Chart2DData& data, QPainter* painter, const QRectF& target,
                       const QSizeF& size);
    // The fonts the chart's texts are drawn in (titles bold, the rest regular).
    static QList<QFont> fonts();
    // The colour of series (or slice) i: eight distinct colours, then further hues.
    static QColor seriesColour(int i);

    // Where the legend went at the chart's present size, how many names it lists (the others
    // counted in its last place) and the names as shown; for tests and pictures.
    enum class LegendPlace
    {
        None,
        Below,
        Right
    };
    LegendPlace legendPlace() const { return m_legendPlace; }
    QStringList legendTexts() const;
    // The x axis names shown now and the attached labels left visible.
    QStringList pointNames() const;
    int visibleLabelCount() const;

    // High, low, open and close of point p of candle series c, by the rule above; and the
    // number of candle series.
    struct Candle
    {
        double high, low, open, close;
    };
    static int candleSeriesCount(const Chart2DData& data);
    static Candle candle(const Chart2DData& data, int c, int p);

private:
    struct LegendEntry
    {
        QColor colour;
        QString text;
    };

    ChartPicture(QChart* chart, const Chart2DData& data);
    void build();
    void layoutLegend();
    void clearLegendItems();
    // The point axis (labels on the points) and the value axis, in the chart's fonts.
    void makeAxes();
    void buildCartesian();
    void buildPies();
    void buildRadar();
    void addLabelItems();
    void relabelPoints();
    void relayout();
    QPointF labelPosition(const ChartPointLabel& label) const;
    double stackedTop(int series, int point) const;

    QChart* m_chart;
    Chart2DData m_data;
    ChartViewState m_view;
    QCategoryAxis* m_axisX = nullptr;    // points (the angular axis of a radar)
    QValueAxis* m_axisY = nullptr;       // values (the radial axis of a radar)
    QDateTimeAxis* m_timeAxis = nullptr; // under candles
    QAbstractSeries* m_firstSeries = nullptr;
    QList<QPieSeries*> m_pies;
    QList<QGraphicsSimpleTextItem*> m_pieTitles; // the point of each pie
    QGraphicsSimpleTextItem* m_header = nullptr;
    QGraphicsSimpleTextItem* m_footer = nullptr;
    QList<QGraphicsSimpleTextItem*> m_labelItems;
    int m_labelStep = 0, m_labelFirst = -1, m_labelLast = -1;
    double m_labelPlotWidth = -1;
    QList<LegendEntry> m_legend;
    QList<QGraphicsItem*> m_legendItems;
    LegendPlace m_legendPlace = LegendPlace::None;
    QSizeF m_legendSize; // the chart size the legend was laid out for
    QMarginsF m_baseMargins;
};
