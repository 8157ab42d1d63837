#include "screens/chart/ChartPicture.h"

#include "core/CjkFont.h"

#include <QApplication>
#include <QAreaSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QCandlestickSeries>
#include <QCandlestickSet>
#include <QCategoryAxis>
#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>
#include <QPolarChart>
#include <QScatterSeries>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

constexpr int MostPointLabels = 16;   // x axis labels shown at once; more are thinned out
constexpr double BarGroupWidth = 0.6; // of a point's width
constexpr int MostSliceLabels = 24;   // slices of a pie that still get their labels
// Candles stand on a hidden time axis (Qt's candles need one), a point a day apart.
constexpr double CandleSpacing = 86400000.0;

// The colour of series s where a type colours its series itself (bubbles, pie slices).
QColor seriesColour(int s)
{
    static const QColor colours[] = {QColor(0x20, 0x9f, 0xdf), QColor(0x99, 0xca, 0x53),
                                     QColor(0xf6, 0xa6, 0x25), QColor(0x6d, 0x5f, 0xd5),
                                     QColor(0xbf, 0x59, 0x3e), QColor(0x4c, 0xb5, 0xae),
                                     QColor(0xd9, 0x5d, 0x9a), QColor(0x8c, 0x8c, 0x8c)};
    return colours[s % 8];
}

QFont chartFont(double pointSize, bool bold = false)
{
    QFont font = QApplication::font();
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return CjkFont::resolve(font);
}

// A step of 1, 2, 2.5 or 5 times a power of ten giving about five intervals over `range`.
double niceStep(double range)
{
    if (!(range > 0))
        return 1;
    const double raw = range / 5;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / magnitude;
    const double nice = f <= 1 ? 1 : f <= 2 ? 2 : f <= 2.5 ? 2.5 : f <= 5 ? 5 : 10;
    return nice * magnitude;
}

// Category labels must differ from each other: a repeated text gets invisible marks.
QString uniqueLabel(QString text, QStringList* used)
{
    if (text.isEmpty())
        text = QStringLiteral(" ");
    while (used->contains(text))
        text += QChar(0x200B);
    used->append(text);
    return text;
}

} // namespace

ChartPicture::ChartPicture(QChart* chart, const Chart2DData& data)
    : QObject(chart), m_chart(chart), m_data(data)
{
}

ChartPicture* ChartPicture::create(const Chart2DData& data)
{
    QChart* chart = data.type == ChartType::FilledRadar ? new QPolarChart : new QChart;
    auto* picture = new ChartPicture(chart, data);
    picture->build();
    return picture;
}

void ChartPicture::build()
{
    m_chart->setTheme(QChart::ChartThemeLight);
    m_chart->setAnimationOptions(QChart::NoAnimation);
    m_chart->setTitleFont(chartFont(13, true));
    m_chart->setTitle(m_data.headerVisible ? m_data.header : QString());
    m_chart->legend()->setVisible(m_data.legendVisible);
    m_chart->legend()->setFont(chartFont(9));
    m_chart->legend()->setAlignment(Qt::AlignTop);

    if (m_data.type == ChartType::Pie)
        buildPies();
    else if (m_data.type == ChartType::FilledRadar)
        buildRadar();
    else
        buildCartesian();

    if (m_data.footerVisible && !m_data.footer.isEmpty()) {
        m_footer = new QGraphicsSimpleTextItem(m_data.footer, m_chart);
        m_footer->setFont(chartFont(10));
        QMargins margins = m_chart->margins();
        margins.setBottom(margins.bottom() + int(m_footer->boundingRect().height()) + 6);
        m_chart->setMargins(margins);
    }
    addLabelItems();
    connect(m_chart, &QChart::plotAreaChanged, this, [this] { relayout(); });
    setView(m_data.view.value_or(automaticView()));
}

double ChartPicture::stackedTop(int series, int point) const
{
    // The end of bar `series` of a stack: positive values pile up, negative ones down.
    const double v = m_data.value(series, point);
    double top = 0;
    for (int s = 0; s <= series; ++s) {
        const double w = m_data.value(s, point);
        if ((w >= 0) == (v >= 0))
            top += w;
    }
    return top;
}

int ChartPicture::candleSeriesCount(const Chart2DData& data)
{
    const int group = data.type == ChartType::HiLo ? 2 : 4;
    const int n = data.seriesCount();
    return n >= group ? n / group : n;
}

ChartPicture::Candle ChartPicture::candle(const Chart2DData& data, int c, int p)
{
    const int group = data.type == ChartType::HiLo ? 2 : 4;
    if (data.seriesCount() >= group) {
        const int s = c * group;
        const double high = data.value(s, p), low = data.value(s + 1, p);
        if (group == 2)
            return {high, low, high, low};
        return {high, low, data.value(s + 2, p), data.value(s + 3, p)};
    }
    const double close = data.value(c, p);
    const double open = p > 0 ? data.value(c, p - 1) : close;
    return {std::max(open, close), std::min(open, close), open, close};
}

void ChartPicture::makeAxes()
{
    m_axisX = new QCategoryAxis;
    m_axisX->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_axisX->setLabelsFont(chartFont(8));
    m_axisY = new QValueAxis;
    m_axisY->setLabelsFont(chartFont(8));
    m_axisY->setTickType(QValueAxis::TicksDynamic);
    m_axisY->setTickAnchor(0);
}

void ChartPicture::buildCartesian()
{
    const int type = m_data.type;
    const int points = m_data.pointCount();
    const int seriesCount = m_data.seriesCount();

    makeAxes();
    m_chart->addAxis(m_axisX, Qt::AlignBottom);
    m_chart->addAxis(m_axisY, Qt::AlignLeft);

    auto attach = [&](QAbstractSeries* series) {
        m_chart->addSeries(series);
        series->attachAxis(m_axisX);
        series->attachAxis(m_axisY);
        if (!m_firstSeries)
            m_firstSeries = series;
    };
    auto line = [&](int s) {
        auto* l = new QLineSeries;
        for (int p = 0; p < points; ++p)
            l->append(p, m_data.value(s, p));
        return l;
    };

    switch (type) {
    case ChartType::Bar:
    case ChartType::StackingBar: {
        QAbstractBarSeries* bars = type == ChartType::Bar
                                       ? static_cast<QAbstractBarSeries*>(new QBarSeries)
                                       : static_cast<QAbstractBarSeries*>(new QStackedBarSeries);
        bars->setBarWidth(BarGroupWidth);
        for (int s = 0; s < seriesCount; ++s) {
            auto* set = new QBarSet(m_data.seriesLabels.value(s));
            for (int p = 0; p < points; ++p)
                set->append(m_data.value(s, p));
            bars->append(set);
        }
        attach(bars);
        break;
    }
    case ChartType::HiLo:
    case ChartType::HiLoOpenClose:
    case ChartType::Candle: {
        const double body = type == ChartType::Candle ? 0.6 : type == ChartType::HiLo ? 0.08 : 0.3;
        const int group = type == ChartType::HiLo ? 2 : 4;
        m_timeAxis = new QDateTimeAxis;
        m_timeAxis->setVisible(false);
        m_chart->addAxis(m_timeAxis, Qt::AlignBottom);
        for (int c = 0; c < candleSeriesCount(m_data); ++c) {
            auto* candles = new QCandlestickSeries;
            candles->setName(m_data.seriesLabels.value(seriesCount >= group ? c * group : c));
            candles->setBodyWidth(body);
            candles->setCapsVisible(type != ChartType::Candle);
            candles->setCapsWidth(0.4);
            if (type == ChartType::HiLo) {
                candles->setIncreasingColor(QColor(0x20, 0x5f, 0xa8));
                candles->setDecreasingColor(QColor(0x20, 0x5f, 0xa8));
            }
            for (int p = 0; p < points; ++p) {
                const Candle k = candle(m_data, c, p);
                candles->append(
                    new QCandlestickSet(k.open, k.high, k.low, k.close, p * CandleSpacing));
            }
            m_chart->addSeries(candles);
            candles->attachAxis(m_timeAxis);
            candles->attachAxis(m_axisY);
            if (!m_firstSeries)
                m_firstSeries = candles;
        }
        break;
    }
    case ChartType::Area:
        for (int s = 0; s < seriesCount; ++s) {
            auto* area = new QAreaSeries(line(s));
            area->setName(m_data.seriesLabels.value(s));
            area->setOpacity(0.6);
            attach(area);
        }
        break;
    case ChartType::Bubble: {
        double largest = 0;
        for (int s = 0; s < seriesCount; ++s)
            for (int p = 0; p < points; ++p)
                largest = std::max(largest, std::abs(m_data.value(s, p)));
        // A circle per point, each its own scatter series (its own size), coloured and named
        // after its series, which the legend names once.
        for (int s = 0; s < seriesCount; ++s) {
            for (int p = 0; p < points; ++p) {
                const double v = m_data.value(s, p);
                auto* bubble = new QScatterSeries;
                bubble->setName(m_data.seriesLabels.value(s));
                bubble->setMarkerShape(QScatterSeries::MarkerShapeCircle);
                bubble->setMarkerSize(largest > 0 ? 6 + 44 * std::abs(v) / largest : 6);
                bubble->setOpacity(0.7);
                bubble->append(p, v);
                attach(bubble);
                bubble->setColor(seriesColour(s));
                bubble->setBorderColor(seriesColour(s));
                if (p > 0)
                    for (QLegendMarker* marker : m_chart->legend()->markers(bubble))
                        marker->setVisible(false);
            }
        }
        break;
    }
    default: // Plot
        for (int s = 0; s < seriesCount; ++s) {
            QLineSeries* l = line(s);
            l->setName(m_data.seriesLabels.value(s));
            l->setPointsVisible(true);
            attach(l);
        }
        break;
    }
}

void ChartPicture::buildPies()
{
    const int seriesCount = m_data.seriesCount();
    const int points = m_data.pointCount();
    // One pie per point with a slice per series; a single series gives one pie of its points.
    const bool ofPoints = seriesCount == 1;
    const int pies = ofPoints ? 1 : points;
    const int slices = ofPoints ? points : seriesCount;
    for (int pie = 0; pie < pies; ++pie) {
        auto* series = new QPieSeries;
        series->setName(ofPoints ? m_data.seriesLabels.value(0) : m_data.pointLabels.value(pie));
        for (int k = 0; k < slices; ++k) {
            const int s = ofPoints ? 0 : k;
            const int p = ofPoints ? k : pie;
            QString text = ofPoints ? m_data.pointLabels.value(p) : m_data.seriesLabels.value(s);
            for (const ChartPointLabel& l : m_data.labels)
                if (l.series == s + 1 && l.point == p + 1)
                    text = l.text;
            const double value = std::max(0.0, m_data.value(s, p));
            QPieSlice* slice = series->append(text, value);
            slice->setLabelFont(chartFont(8));
            slice->setLabelVisible(slices <= MostSliceLabels && value > 0);
        }
        m_chart->addSeries(series);
        // A series has the same colour in every pie; the legend names it once.
        for (int k = 0; k < slices; ++k)
            series->slices().at(k)->setColor(seriesColour(k));
        if (pie > 0)
            for (QLegendMarker* marker : m_chart->legend()->markers(series))
                marker->setVisible(false);
        if (!ofPoints) {
            auto* title = new QGraphicsSimpleTextItem(m_data.pointLabels.value(pie), m_chart);
            title->setFont(chartFont(9, true));
            m_pieTitles << title;
        }
        m_pies << series;
        if (!m_firstSeries)
            m_firstSeries = series;
    }
}

void ChartPicture::buildRadar()
{
    auto* polar = static_cast<QPolarChart*>(m_chart);
    const int points = m_data.pointCount();
    makeAxes();
    polar->addAxis(m_axisX, QPolarChart::PolarOrientationAngular);
    polar->addAxis(m_axisY, QPolarChart::PolarOrientationRadial);
    for (int s = 0; s < m_data.seriesCount(); ++s) {
        auto* outline = new QLineSeries;
        for (int p = 0; p < points; ++p)
            outline->append(p, m_data.value(s, p));
        if (points > 0)
            outline->append(points, m_data.value(s, 0)); // back to the first spoke
        auto* area = new QAreaSeries(outline);
        area->setName(m_data.seriesLabels.value(s));
        area->setOpacity(0.55);
        polar->addSeries(area);
        area->attachAxis(m_axisX);
        area->attachAxis(m_axisY);
        if (!m_firstSeries)
            m_firstSeries = area;
    }
}

void ChartPicture::addLabelItems()
{
    if (m_data.type == ChartType::Pie)
        return; // pies carry their labels on their slices
    for (const ChartPointLabel& label : m_data.labels) {
        auto* item = new QGraphicsSimpleTextItem(label.text, m_chart);
        item->setFont(chartFont(8));
        item->setZValue(10);
        m_labelItems << item;
    }
}

ChartViewState ChartPicture::automaticView() const
{
    ChartViewState v;
    const int points = m_data.pointCount();
    if (m_data.type == ChartType::Pie)
        return v;
    double low = 0, high = 0;
    for (int s = 0; s < m_data.seriesCount(); ++s)
        for (int p = 0; p < points; ++p) {
            const double value =
                m_data.type == ChartType::StackingBar ? stackedTop(s, p) : m_data.value(s, p);
            low = std::min(low, value);
            high = std::max(high, value);
        }
    if (m_data.yAxisMax && *m_data.yAxisMax > low) {
        high = *m_data.yAxisMax;
    } else {
        const double step = niceStep(high - low);
        high = std::ceil(high / step) * step;
        low = std::floor(low / step) * step;
    }
    if (high <= low)
        high = low + 1;
    v.yMin = low;
    v.yMax = high;
    if (m_data.type == ChartType::FilledRadar) {
        v.xMin = 0;
        v.xMax = std::max(1, points);
    } else {
        v.xMin = -0.5;
        v.xMax = std::max(1, points) - 0.5;
    }
    return v;
}

void ChartPicture::setView(const ChartViewState& view)
{
    m_view = view;
    if (m_data.type == ChartType::Pie) {
        const int pies = int(m_pies.size());
        const int columns = std::max(1, int(std::ceil(std::sqrt(double(pies)))));
        const int rows = std::max(1, (pies + columns - 1) / columns);
        for (int i = 0; i < pies; ++i) {
            QPieSeries* pie = m_pies[i];
            pie->setHorizontalPosition((i % columns + 0.5) / columns + view.dx);
            pie->setVerticalPosition((i / columns + 0.5) / rows + view.dy);
            pie->setPieSize(std::clamp(0.85 / std::max(columns, rows) * view.scale, 0.01, 1.0));
            pie->setPieStartAngle(view.rotation);
            pie->setPieEndAngle(view.rotation + 360);
        }
        relayout();
        return;
    }
    if (!m_axisX || !m_axisY)
        return;
    if (m_data.type == ChartType::FilledRadar) {
        const double turn = std::fmod(view.rotation, 360.0) / 360.0 * (view.xMax - view.xMin);
        m_axisX->setRange(view.xMin - turn, view.xMax - turn);
    } else {
        m_axisX->setRange(view.xMin, view.xMax);
        if (m_timeAxis)
            m_timeAxis->setRange(QDateTime::fromMSecsSinceEpoch(qint64(view.xMin * CandleSpacing)),
                                 QDateTime::fromMSecsSinceEpoch(qint64(view.xMax * CandleSpacing)));
    }
    const double range = view.yMax - view.yMin;
    const double step = niceStep(range);
    const int decimals = step >= 1 ? 0 : std::min(4, int(std::ceil(-std::log10(step))));
    m_axisY->setTickInterval(step);
    m_axisY->setLabelFormat(QStringLiteral("%.%1f").arg(decimals));
    m_axisY->setRange(view.yMin, view.yMax);
    relabelPoints();
    relayout();
}

void ChartPicture::relabelPoints()
{
    const int points = m_data.pointCount();
    const double shown = m_axisX->max() - m_axisX->min();
    const int step = std::max(1, int(std::ceil(shown / MostPointLabels)));
    if (step == m_labelStep)
        return;
    m_labelStep = step;
    for (const QString& label : m_axisX->categoriesLabels())
        m_axisX->remove(label);
    m_axisX->setStartValue(-1);
    QStringList used;
    for (int p = 0; p < points; p += step)
        m_axisX->append(uniqueLabel(m_data.pointLabels.value(p), &used), p);
    const bool radar = m_data.type == ChartType::FilledRadar;
    m_axisX->setLabelsAngle(!radar && (points + step - 1) / step > 8 ? -45 : 0);
}

QPointF ChartPicture::toValue(const QPointF& position) const
{
    const QRectF plot = m_chart->plotArea();
    if (plot.width() <= 0 || plot.height() <= 0)
        return {};
    const double x =
        m_view.xMin + (position.x() - plot.left()) / plot.width() * (m_view.xMax - m_view.xMin);
    const double y =
        m_view.yMax - (position.y() - plot.top()) / plot.height() * (m_view.yMax - m_view.yMin);
    return {x, y};
}

QPointF ChartPicture::labelPosition(const ChartPointLabel& label) const
{
    const int s = label.series - 1, p = label.point - 1;
    double x = p;
    double y = m_data.value(s, p);
    const int seriesCount = std::max(1, m_data.seriesCount());
    if (m_data.type == ChartType::Bar)
        x = p - BarGroupWidth / 2 + (s + 0.5) * BarGroupWidth / seriesCount;
    else if (m_data.type == ChartType::StackingBar)
        y = stackedTop(s, p);
    else if (m_data.type == ChartType::HiLo || m_data.type == ChartType::HiLoOpenClose ||
             m_data.type == ChartType::Candle)
        y = candle(m_data, std::min(s, candleSeriesCount(m_data) - 1), p).high;
    if (m_data.type == ChartType::FilledRadar)
        return m_chart->mapToPosition(QPointF(x, y), m_firstSeries);
    return toPosition(QPointF(x, y));
}

QPointF ChartPicture::toPosition(const QPointF& value) const
{
    const QRectF plot = m_chart->plotArea();
    const double w = m_view.xMax - m_view.xMin, h = m_view.yMax - m_view.yMin;
    if (w <= 0 || h <= 0)
        return plot.topLeft();
    return {plot.left() + (value.x() - m_view.xMin) / w * plot.width(),
            plot.bottom() - (value.y() - m_view.yMin) / h * plot.height()};
}

void ChartPicture::relayout()
{
    const QSizeF size = m_chart->size();
    if (m_footer) {
        const QRectF box = m_footer->boundingRect();
        m_footer->setPos((size.width() - box.width()) / 2, size.height() - box.height() - 8);
    }
    const QRectF plot = m_chart->plotArea();
    for (int i = 0; i < m_pieTitles.size(); ++i) {
        // Below its pie.
        const QPieSeries* pie = m_pies.at(i);
        const double radius = pie->pieSize() * std::min(plot.width(), plot.height()) / 2;
        const QRectF box = m_pieTitles[i]->boundingRect();
        m_pieTitles[i]->setPos(plot.left() + pie->horizontalPosition() * plot.width() -
                                   box.width() / 2,
                               plot.top() + pie->verticalPosition() * plot.height() + radius + 2);
    }
    if (!m_firstSeries)
        return;
    for (int i = 0; i < m_labelItems.size(); ++i) {
        const ChartPointLabel& label = m_data.labels[i];
        QGraphicsSimpleTextItem* item = m_labelItems[i];
        if (label.series < 1 || label.series > m_data.seriesCount() || label.point < 1 ||
            label.point > m_data.pointCount()) {
            item->hide();
            continue;
        }
        const QPointF at = labelPosition(label);
        const QRectF box = item->boundingRect();
        item->setPos(at.x() - box.width() / 2, at.y() - box.height() - 4);
        item->setVisible(plot.contains(at));
    }
}

QList<QFont> ChartPicture::fonts()
{
    return {chartFont(9), chartFont(9, true)};
}

void ChartPicture::render(const Chart2DData& data, QPainter* painter, const QRectF& target,
                          const QSizeF& size)
{
    QGraphicsScene scene;
    ChartPicture* picture = create(data);
    scene.addItem(picture->chart()); // the scene owns the chart from here
    picture->chart()->setGeometry(QRectF(QPointF(0, 0), size));
    picture->chart()->setBackgroundRoundness(0);
    // Lay the chart out now: the plot area, the axes and the series' items.
    QCoreApplication::sendPostedEvents();
    picture->relayout();
    scene.render(painter, target, QRectF(QPointF(0, 0), size), Qt::KeepAspectRatio);
}
