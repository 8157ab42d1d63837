#include "ui/chart/ChartPicture.h"

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
#include <QFontMetricsF>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QLocale>
#include <QPainter>
#include <QPen>
#include <QPieSeries>
#include <QPieSlice>
#include <QPolarChart>
#include <QScatterSeries>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

constexpr int MostRadarLabels = 16;    // spokes named at once on a radar; more are thinned out
constexpr double BarGroupWidth = 0.6;  // of a point's width
constexpr double MinSliceShare = 0.04; // a slice narrower than this carries no share
constexpr int MostPies = 100;          // pies drawn (a chart of more points draws the first)
constexpr int MostSlices = 1000;       // slices of a pie; the others make one grey slice
constexpr int MostLabelItems = 5000;   // attached labels drawn (more could not be read anyway)
// Candles stand on a hidden time axis (Qt's candles need one), a point a day apart.
constexpr double CandleSpacing = 86400000.0;
// Legend: square, gap to the name, space between names, rows below the plot at most.
constexpr double LegendMark = 10, LegendGap = 5, LegendSpacing = 16;
constexpr int MostLegendRowsBelow = 3;
constexpr double LegendShareRight = 0.4; // of the chart's width, at most
constexpr double MostZoomOut = 4;        // times the whole chart

QFont chartFont(double pointSize, bool bold = false)
{
    QFont font = QApplication::font();
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return CjkFont::resolve(font);
}

QFont legendFont()
{
    return chartFont(9);
}

// A step of 1, 2, 2.5 or 5 times a power of ten giving about five intervals over `range`.
double niceStep(double range)
{
    if (!(range > 0) || !std::isfinite(range))
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

QString clipped(const QString& text)
{
    return text.size() > ChartLimits::MostTextLength ? text.left(ChartLimits::MostTextLength)
                                                     : text;
}

// The chart as it can be drawn: within ChartLimits, every value finite.
Chart2DData drawable(const Chart2DData& given)
{
    using namespace ChartLimits;
    if (given.problem().isEmpty())
        return given;
    Chart2DData d = given;
    if (!ChartType::isKnown(d.type))
        d.type = ChartType::Plot;
    d.header = clipped(d.header);
    d.footer = clipped(d.footer);
    if (d.values.size() > MostSeries)
        d.values.resize(MostSeries);
    if (d.seriesLabels.size() > MostSeries)
        d.seriesLabels.resize(MostSeries);
    if (d.pointLabels.size() > MostPoints)
        d.pointLabels.resize(MostPoints);
    qint64 room = MostValues;
    for (QList<double>& series : d.values) {
        if (series.size() > std::min<qint64>(MostPoints, room))
            series.resize(qsizetype(std::min<qint64>(MostPoints, room)));
        room -= series.size();
        for (double& v : series)
            v = std::isfinite(v) ? std::clamp(v, -MostValue, MostValue) : 0;
    }
    for (QString& t : d.seriesLabels)
        t = clipped(t);
    for (QString& t : d.pointLabels)
        t = clipped(t);
    if (d.labels.size() > MostLabels)
        d.labels.resize(MostLabels);
    for (ChartPointLabel& l : d.labels)
        l.text = clipped(l.text);
    if (d.yAxisMax && !(std::isfinite(*d.yAxisMax) && std::abs(*d.yAxisMax) <= MostValue))
        d.yAxisMax.reset();
    if (d.view) {
        Chart2DData viewAlone;
        viewAlone.view = d.view;
        if (!viewAlone.problem().isEmpty())
            d.view.reset();
    }
    return d;
}

QString shareText(double share)
{
    return QString::number(share * 100, 'f', 1) + QLatin1Char('%');
}

} // namespace

ChartPicture::ChartPicture(QChart* chart, const Chart2DData& data)
    : QObject(chart), m_chart(chart), m_data(data)
{
}

ChartPicture* ChartPicture::create(const Chart2DData& given)
{
    const Chart2DData data = drawable(given);
    QChart* chart = data.type == ChartType::FilledRadar ? new QPolarChart : new QChart;
    auto* picture = new ChartPicture(chart, data);
    picture->build();
    return picture;
}

QColor ChartPicture::seriesColour(int i)
{
    static const QColor colours[] = {QColor(0x20, 0x9f, 0xdf), QColor(0x99, 0xca, 0x53),
                                     QColor(0xf6, 0xa6, 0x25), QColor(0x6d, 0x5f, 0xd5),
                                     QColor(0xbf, 0x59, 0x3e), QColor(0x4c, 0xb5, 0xae),
                                     QColor(0xd9, 0x5d, 0x9a), QColor(0x8c, 0x8c, 0x8c)};
    if (i >= 0 && i < 8)
        return colours[i];
    // Further hues a golden angle apart, in three shades, so neighbours differ.
    const int n = std::max(0, i - 8);
    const double hue = std::fmod(0.13 + n * 0.381966, 1.0);
    const double value = 0.9 - 0.18 * (n % 3);
    return QColor::fromHsvF(float(hue), 0.62f, float(value));
}

void ChartPicture::build()
{
    m_chart->setTheme(QChart::ChartThemeLight);
    m_chart->setAnimationOptions(QChart::NoAnimation);
    if (m_data.headerVisible && !m_data.header.isEmpty()) {
        // Drawn by the picture, so that it spans the whole width whatever the legend takes.
        m_header = new QGraphicsSimpleTextItem(m_data.header, m_chart);
        m_header->setFont(chartFont(13, true));
    }
    m_chart->legend()->setVisible(false); // drawn by the picture itself (layoutLegend)
    // Axis values with thousands separators, as the grids show figures.
    QLocale numbers(QLocale::English, QLocale::UnitedStates);
    numbers.setNumberOptions(QLocale::DefaultNumberOptions);
    m_chart->setLocale(numbers);
    m_chart->setLocalizeNumbers(true);
    m_baseMargins = m_chart->margins();

    if (m_data.type == ChartType::Pie)
        buildPies();
    else if (m_data.type == ChartType::FilledRadar)
        buildRadar();
    else
        buildCartesian();

    if (m_data.footerVisible && !m_data.footer.isEmpty()) {
        m_footer = new QGraphicsSimpleTextItem(m_data.footer, m_chart);
        m_footer->setFont(chartFont(10));
    }
    addLabelItems();
    connect(m_chart, &QChart::plotAreaChanged, this, [this] { relayout(); });
    connect(m_chart, &QGraphicsWidget::geometryChanged, this, [this] { layoutLegend(); });
    layoutLegend();
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
    // A line (or area) ends with its series: a series shorter than the others is not drawn on
    // to 0 over the points it does not reach.
    auto line = [&](int s) {
        auto* l = new QLineSeries;
        for (int p = 0; p < std::min(points, int(m_data.values.value(s).size())); ++p)
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
            set->setColor(seriesColour(s));
            set->setBorderColor(seriesColour(s).darker(115));
            bars->append(set);
            m_legend << LegendEntry{seriesColour(s), m_data.seriesLabels.value(s)};
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
            const QString name = m_data.seriesLabels.value(seriesCount >= group ? c * group : c);
            candles->setName(name);
            candles->setBodyWidth(body);
            candles->setCapsVisible(type != ChartType::Candle);
            candles->setCapsWidth(0.4);
            candles->setIncreasingColor(seriesColour(c));
            candles->setDecreasingColor(type == ChartType::HiLo ? seriesColour(c)
                                                                : seriesColour(c).darker(150));
            m_legend << LegendEntry{seriesColour(c), name};
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
            area->setColor(seriesColour(s));
            area->setBorderColor(seriesColour(s).darker(115));
            m_legend << LegendEntry{seriesColour(s), m_data.seriesLabels.value(s)};
        }
        break;
    case ChartType::Bubble: {
        double largest = 0;
        for (int s = 0; s < seriesCount; ++s)
            for (int p = 0; p < points; ++p)
                largest = std::max(largest, std::abs(m_data.value(s, p)));
        // Circles sized by their values in twelve steps: a scatter series for each series and
        // size, coloured and named after its series, which the legend names once.
        constexpr int Sizes = 12;
        for (int s = 0; s < seriesCount; ++s) {
            QScatterSeries* bySize[Sizes] = {};
            for (int p = 0; p < points; ++p) {
                const double v = m_data.value(s, p);
                const int size =
                    largest > 0 ? int(std::lround(std::abs(v) / largest * (Sizes - 1))) : 0;
                QScatterSeries*& bubbles = bySize[size];
                if (!bubbles) {
                    bubbles = new QScatterSeries;
                    bubbles->setName(m_data.seriesLabels.value(s));
                    bubbles->setMarkerShape(QScatterSeries::MarkerShapeCircle);
                    bubbles->setMarkerSize(6 + 44.0 * size / (Sizes - 1));
                    bubbles->setOpacity(0.7);
                    attach(bubbles);
                    bubbles->setColor(seriesColour(s));
                    bubbles->setBorderColor(seriesColour(s));
                }
                bubbles->append(p, v);
            }
            m_legend << LegendEntry{seriesColour(s), m_data.seriesLabels.value(s)};
        }
        break;
    }
    default: // Plot
        for (int s = 0; s < seriesCount; ++s) {
            QLineSeries* l = line(s);
            l->setName(m_data.seriesLabels.value(s));
            l->setPointsVisible(points <= 400);
            attach(l);
            l->setColor(seriesColour(s));
            m_legend << LegendEntry{seriesColour(s), m_data.seriesLabels.value(s)};
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
    const int pies = std::min(ofPoints ? 1 : points, MostPies);
    const int slices = ofPoints ? points : seriesCount;
    const int drawn = std::min(slices, MostSlices);
    QHash<QPair<int, int>, QString> attached; // the last label at each point wins
    for (const ChartPointLabel& l : m_data.labels)
        attached.insert({l.series - 1, l.point - 1}, l.text);
    auto name = [&](int s, int p) {
        const QString own = ofPoints ? m_data.pointLabels.value(p) : m_data.seriesLabels.value(s);
        return attached.value({s, p}, own);
    };
    for (int k = 0; k < drawn; ++k)
        m_legend << LegendEntry{seriesColour(k),
                                ofPoints ? name(0, k) : m_data.seriesLabels.value(k)};
    if (drawn < slices)
        m_legend << LegendEntry{QColor(0xc8, 0xc8, 0xc8),
                                QStringLiteral("+%1").arg(slices - drawn)};

    for (int pie = 0; pie < pies; ++pie) {
        auto* series = new QPieSeries;
        series->setName(ofPoints ? m_data.seriesLabels.value(0) : m_data.pointLabels.value(pie));
        double total = 0, rest = 0;
        for (int k = 0; k < slices; ++k) {
            const double v = std::max(0.0, m_data.value(ofPoints ? 0 : k, ofPoints ? k : pie));
            total += v;
            if (k >= drawn)
                rest += v;
        }
        for (int k = 0; k < drawn; ++k) {
            const int s = ofPoints ? 0 : k, p = ofPoints ? k : pie;
            const double value = std::max(0.0, m_data.value(s, p));
            QPieSlice* slice = series->append(name(s, p), value);
            slice->setColor(seriesColour(k));
            slice->setBorderColor(Qt::white);
            // Its share inside it, where there is room for the text.
            const double share = total > 0 ? value / total : 0;
            if (pies <= 4 && share >= MinSliceShare) {
                slice->setLabel(shareText(share));
                slice->setLabelPosition(QPieSlice::LabelInsideHorizontal);
                slice->setLabelFont(chartFont(8, true));
                slice->setLabelBrush(Qt::white);
                slice->setLabelVisible(true);
            }
        }
        if (rest > 0) {
            QPieSlice* others = series->append(QStringLiteral("+%1").arg(slices - drawn), rest);
            others->setColor(QColor(0xc8, 0xc8, 0xc8));
            others->setBorderColor(Qt::white);
        }
        m_chart->addSeries(series);
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

namespace {

// A pie's centre and radius in chart coordinates, as relayout() places it.
std::pair<QPointF, double> pieCircle(const QPieSeries* pie, const QRectF& plot)
{
    return {QPointF(plot.left() + pie->horizontalPosition() * plot.width(),
                    plot.top() + pie->verticalPosition() * plot.height()),
            pie->pieSize() * std::min(plot.width(), plot.height()) / 2};
}

} // namespace

std::optional<std::pair<int, int>> ChartPicture::sliceAt(const QPointF& at) const
{
    const bool ofPoints = m_data.seriesCount() == 1;
    const QRectF plot = m_chart->plotArea();
    for (int p = 0; p < m_pies.size(); ++p) {
        const auto [centre, radius] = pieCircle(m_pies[p], plot);
        const QPointF d = at - centre;
        if (radius <= 0 || std::hypot(d.x(), d.y()) > radius)
            continue;
        // Degrees clockwise from twelve o'clock, as Qt Charts measures a slice's angles.
        const double angle = std::atan2(d.x(), -d.y()) * 180 / M_PI;
        const QList<QPieSlice*> slices = m_pies[p]->slices();
        const int drawn = std::min(int(slices.size()), MostSlices);
        for (int k = 0; k < drawn; ++k) {
            const double from = std::fmod(angle - slices[k]->startAngle() + 720.0, 360.0);
            if (from < slices[k]->angleSpan())
                return ofPoints ? std::pair(1, k + 1) : std::pair(k + 1, p + 1);
        }
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<QPointF> ChartPicture::slicePosition(int series, int point) const
{
    const bool ofPoints = m_data.seriesCount() == 1;
    const int p = ofPoints ? 0 : point - 1, k = ofPoints ? point - 1 : series - 1;
    if ((ofPoints && series != 1) || p < 0 || p >= m_pies.size() || k < 0 ||
        k >= std::min(int(m_pies[p]->slices().size()), MostSlices))
        return std::nullopt;
    const QPieSlice* slice = m_pies[p]->slices().at(k);
    const auto [centre, radius] = pieCircle(m_pies[p], m_chart->plotArea());
    const double middle = (slice->startAngle() + slice->angleSpan() / 2) * M_PI / 180;
    return centre + QPointF(std::sin(middle), -std::cos(middle)) * radius / 2;
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
        area->setColor(seriesColour(s));
        area->setBorderColor(seriesColour(s).darker(115));
        m_legend << LegendEntry{seriesColour(s), m_data.seriesLabels.value(s)};
        area->attachAxis(m_axisX);
        area->attachAxis(m_axisY);
        if (!m_firstSeries)
            m_firstSeries = area;
    }
}

void ChartPicture::addLabelItems()
{
    if (m_data.type == ChartType::Pie)
        return; // a pie's labels name its slices in the legend
    const QFont font = chartFont(8);
    for (const ChartPointLabel& label : m_data.labels.mid(0, MostLabelItems)) {
        auto* item = new QGraphicsSimpleTextItem(label.text, m_chart);
        item->setFont(font);
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
    for (int p = 0; p < points; ++p) {
        double up = 0, down = 0; // a stack's ends
        for (int s = 0; s < m_data.seriesCount(); ++s) {
            const double value = m_data.value(s, p);
            if (m_data.type == ChartType::StackingBar) {
                (value >= 0 ? up : down) += value;
                low = std::min(low, down);
                high = std::max(high, up);
            } else {
                low = std::min(low, value);
                high = std::max(high, value);
            }
        }
    }
    if (m_data.yAxisMax && *m_data.yAxisMax > low) {
        high = *m_data.yAxisMax;
    } else {
        const double step = niceStep(high - low);
        high = std::ceil(high / step) * step;
        low = std::floor(low / step) * step;
    }
    if (!(high > low))
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

ChartViewState ChartPicture::bounded(const ChartViewState& view) const
{
    const ChartViewState whole = automaticView();
    ChartViewState v = view;
    const bool finite = std::isfinite(v.xMin) && std::isfinite(v.xMax) && std::isfinite(v.yMin) &&
                        std::isfinite(v.yMax) && std::isfinite(v.rotation) &&
                        std::isfinite(v.scale) && std::isfinite(v.dx) && std::isfinite(v.dy);
    if (!finite)
        return whole;
    v.rotation = std::fmod(v.rotation, 360.0);
    v.scale = std::clamp(v.scale, 0.1, 10.0);
    v.dx = std::clamp(v.dx, -1.0, 1.0);
    v.dy = std::clamp(v.dy, -1.0, 1.0);
    if (m_data.type == ChartType::Pie)
        return v;
    // A range of [low, high] within the whole [wholeLow, wholeHigh]: at least `least` and at
    // most `most` times the whole wide, its middle within the whole.
    auto keep = [](double* low, double* high, double wholeLow, double wholeHigh, double least,
                   double most) {
        const double whole = wholeHigh - wholeLow;
        const double width = std::clamp(std::abs(*high - *low), least, whole * most);
        // Its middle within the whole; a range wider than the whole shows all of it.
        const double middle = width < whole ? std::clamp((*low + *high) / 2, wholeLow, wholeHigh)
                                            : std::clamp((*low + *high) / 2, wholeHigh - width / 2,
                                                         wholeLow + width / 2);
        *low = middle - width / 2;
        *high = middle + width / 2;
    };
    const double height = whole.yMax - whole.yMin;
    const double leastHeight =
        std::max(height * 1e-6, std::max(std::abs(whole.yMin), std::abs(whole.yMax)) * 1e-9);
    if (m_data.type == ChartType::FilledRadar) {
        v.xMin = whole.xMin;
        v.xMax = whole.xMax;
        v.yMin = whole.yMin;
        v.yMax = std::clamp(v.yMax, whole.yMin + leastHeight, whole.yMin + height * MostZoomOut);
        return v;
    }
    const bool onBase = view.yMin >= whole.yMin;
    keep(&v.xMin, &v.xMax, whole.xMin, whole.xMax, std::min(1.0, whole.xMax - whole.xMin), 1);
    keep(&v.yMin, &v.yMax, whole.yMin, whole.yMax, leastHeight, MostZoomOut);
    if (onBase && v.yMin < whole.yMin) { // a view that stood on the base line keeps to it
        v.yMax += whole.yMin - v.yMin;
        v.yMin = whole.yMin;
    }
    return v;
}

void ChartPicture::setView(const ChartViewState& wanted)
{
    const ChartViewState view = bounded(wanted);
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
        const double turn = view.rotation / 360.0 * (view.xMax - view.xMin);
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
    const bool radar = m_data.type == ChartType::FilledRadar;
    const double low = m_axisX->min(), high = m_axisX->max();
    int first = 0, last = points - 1, step = 1;
    double plotWidth = 0;
    if (radar) {
        step = std::max(1, int(std::ceil(double(points) / MostRadarLabels)));
    } else {
        // The points shown, and every step-th of them named so that names never touch.
        first = std::clamp(int(std::ceil(low)), 0, std::max(0, points - 1));
        last = std::clamp(int(std::floor(high)), -1, points - 1);
        plotWidth = m_chart->plotArea().width();
        if (plotWidth <= 0)
            plotWidth = std::max(100.0, m_chart->size().width() - 120);
        const QFontMetricsF metrics(m_axisX->labelsFont());
        double widest = 0;
        const int shown = std::max(0, last - first + 1);
        const int sampleStep = std::max(1, shown / 200);
        for (int p = first; p <= last; p += sampleStep)
            widest = std::max(widest, metrics.horizontalAdvance(m_data.pointLabels.value(p)));
        // The axis gives each name its width divided among the names (and one more), less
        // padding on both sides.
        const double names = std::max(1.0, std::floor(plotWidth / (widest + 16)) - 1);
        step = int(std::clamp(std::ceil((high - low) / names), 1.0, double(std::max(1, points))));
    }
    if (step == m_labelStep && first == m_labelFirst && last == m_labelLast &&
        plotWidth == m_labelPlotWidth)
        return;
    m_labelStep = step;
    m_labelFirst = first;
    m_labelLast = last;
    m_labelPlotWidth = plotWidth;
    for (const QString& label : m_axisX->categoriesLabels())
        m_axisX->remove(label);
    // Names on multiples of the step, so they stay put while the chart moves.
    const int start = (first + step - 1) / step * step;
    m_axisX->setStartValue(radar ? -1 : start - step);
    QStringList used;
    for (int p = start; p <= last; p += step)
        m_axisX->append(uniqueLabel(m_data.pointLabels.value(p), &used), p);
    m_axisX->setLabelsAngle(0);
    m_axisX->setRange(low, high); // categories stretch the axis to themselves
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
    if (m_axisX && m_data.type != ChartType::FilledRadar)
        relabelPoints(); // the plot's width decides how many points are named
    const QSizeF size = m_chart->size();
    if (m_header) {
        const QFontMetricsF metrics(m_header->font());
        m_header->setText(
            metrics.elidedText(m_data.header, Qt::ElideRight, std::max(0.0, size.width() - 16)));
        const QRectF box = m_header->boundingRect();
        m_header->setPos((size.width() - box.width()) / 2, m_baseMargins.top() / 2 + 2);
    }
    if (m_footer) {
        // Shortened to the chart's width rather than cut at its edges.
        const QFontMetricsF metrics(m_footer->font());
        m_footer->setText(
            metrics.elidedText(m_data.footer, Qt::ElideRight, std::max(0.0, size.width() - 16)));
        const QRectF box = m_footer->boundingRect();
        m_footer->setPos((size.width() - box.width()) / 2, size.height() - box.height() - 8);
    }
    const QRectF plot = m_chart->plotArea();
    for (QPieSeries* pie : std::as_const(m_pies)) {
        // A slice shows its share where the text fits across it, halfway out.
        const double radius = pie->pieSize() * std::min(plot.width(), plot.height()) / 2;
        for (QPieSlice* slice : pie->slices()) {
            if (slice->labelPosition() != QPieSlice::LabelInsideHorizontal)
                continue;
            const QFontMetricsF metrics(slice->labelFont());
            const double span = slice->angleSpan() * M_PI / 180;
            const double across = span >= M_PI ? radius : radius * std::sin(span / 2);
            slice->setLabelVisible(across >= metrics.horizontalAdvance(slice->label()) + 6 &&
                                   radius / 2 >= metrics.height());
        }
    }
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
    // Labels in their order; one that would cover a label already shown is left out.
    QList<QRectF> shown;
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
        const QRectF place(at.x() - box.width() / 2, at.y() - box.height() - 4, box.width(),
                           box.height());
        const bool free = plot.contains(at) &&
                          std::none_of(shown.cbegin(), shown.cend(), [&](const QRectF& other) {
                              return other.intersects(place);
                          });
        item->setPos(place.topLeft());
        item->setVisible(free);
        if (free)
            shown << place;
    }
}

void ChartPicture::clearLegendItems()
{
    qDeleteAll(m_legendItems);
    m_legendItems.clear();
}

void ChartPicture::layoutLegend()
{
    const QSizeF size = m_chart->size();
    if (size == m_legendSize && !m_legendItems.isEmpty())
        return;
    m_legendSize = size;
    clearLegendItems();
    m_legendPlace = LegendPlace::None;
    QMarginsF margins = m_baseMargins;
    const double titleHeight = m_header ? m_header->boundingRect().height() + 8 : 0;
    margins.setTop(margins.top() + titleHeight);
    double footerHeight = 0;
    if (m_footer) {
        footerHeight = m_footer->boundingRect().height() + 6;
        margins.setBottom(margins.bottom() + footerHeight);
    }
    const int count = int(m_legend.size());
    if (!m_data.legendVisible || count == 0 || size.width() < 60 || size.height() < 60) {
        m_chart->setMargins(margins.toMargins());
        return;
    }
    const QFont font = legendFont();
    const QFontMetricsF metrics(font);
    const double rowHeight = std::ceil(metrics.height()) + 3;
    const double innerWidth = size.width() - m_baseMargins.left() - m_baseMargins.right();
    const double leastText = metrics.height() * 5.5; // about five ideographs
    // Only as many names as could ever be listed are measured.
    const int measured = std::min(count, int(size.height() / rowHeight + 1) * 8);
    QList<double> widths;
    for (int i = 0; i < measured; ++i)
        widths << metrics.horizontalAdvance(m_legend[i].text);

    // Below the plot: rows of names, each at most half the width.
    const double mostBelow = innerWidth * 0.45;
    QList<QList<int>> rows{{}};
    double x = 0;
    for (int i = 0; i < count && rows.size() <= MostLegendRowsBelow; ++i) {
        const double w = LegendMark + LegendGap + std::min(widths.value(i, mostBelow), mostBelow);
        if (!rows.last().isEmpty() && x + w > innerWidth) {
            rows.append(QList<int>());
            x = 0;
        }
        rows.last() << i;
        x += w + LegendSpacing;
    }
    struct Place
    {
        QPointF at;
        int entry; // -1: the count of names not listed
        double textWidth;
    };
    QList<Place> places;
    QString moreText;
    if (rows.size() <= MostLegendRowsBelow &&
        rows.size() * rowHeight <= std::max(rowHeight, size.height() * 0.25)) {
        m_legendPlace = LegendPlace::Below;
        const double height = rows.size() * rowHeight;
        double y = size.height() - m_baseMargins.bottom() - footerHeight - height;
        for (const QList<int>& row : rows) {
            double rowWidth = 0;
            for (int i : row)
                rowWidth +=
                    LegendMark + LegendGap + std::min(widths.value(i), mostBelow) + LegendSpacing;
            rowWidth -= LegendSpacing;
            double left = m_baseMargins.left() + std::max(0.0, (innerWidth - rowWidth) / 2);
            for (int i : row) {
                const double w = std::min(widths.value(i), mostBelow);
                places << Place{QPointF(left, y), i, w};
                left += LegendMark + LegendGap + w + LegendSpacing;
            }
            y += rowHeight;
        }
        margins.setBottom(margins.bottom() + height + 6);
    } else {
        // To the right: columns of names, as many as a share of the width takes.
        m_legendPlace = LegendPlace::Right;
        const double top = m_baseMargins.top() + titleHeight;
        const double available = size.height() - top - m_baseMargins.bottom() - footerHeight;
        const int perColumn = std::max(1, int(available / rowHeight));
        double widest = 0;
        for (double w : widths)
            widest = std::max(widest, w);
        const double mostRight = size.width() * LegendShareRight;
        double textWidth =
            std::max(std::min(widest, size.width() * 0.22), std::min(widest, leastText));
        const int wanted = (count + perColumn - 1) / perColumn;
        auto columnWidth = [&] { return LegendMark + LegendGap + textWidth + LegendSpacing; };
        int columns = std::max(1, std::min(wanted, int(mostRight / columnWidth())));
        if (columns < wanted) { // narrower names (not too narrow to read), then fewer of them
            const double fitting = mostRight / wanted - LegendMark - LegendGap - LegendSpacing;
            textWidth = std::min(textWidth, std::max(fitting, std::min(widest, leastText)));
            columns = std::max(1, std::min(wanted, int(mostRight / columnWidth())));
        }
        int listed = std::min(count, columns * perColumn);
        if (listed < count) {
            listed = std::max(0, listed - 1);
            moreText = QStringLiteral("+%1").arg(count - listed);
        }
        const int filled = listed + (moreText.isEmpty() ? 0 : 1);
        const int usedRows = std::min(perColumn, filled);
        const double y0 = top + std::max(0.0, (available - usedRows * rowHeight) / 2);
        const double x0 =
            size.width() - m_baseMargins.right() - columns * columnWidth() + LegendSpacing;
        for (int k = 0; k < filled; ++k)
            places << Place{
                QPointF(x0 + (k / perColumn) * columnWidth(), y0 + (k % perColumn) * rowHeight),
                k < listed ? k : -1, textWidth};
        margins.setRight(margins.right() + columns * columnWidth());
    }
    for (const Place& place : places) {
        const double markTop = place.at.y() + (rowHeight - LegendMark) / 2 - 1;
        if (place.entry >= 0) {
            auto* mark =
                new QGraphicsRectItem(place.at.x(), markTop, LegendMark, LegendMark, m_chart);
            mark->setBrush(m_legend[place.entry].colour);
            mark->setPen(QPen(m_legend[place.entry].colour.darker(120), 0.5));
            m_legendItems << mark;
        }
        const QString text = place.entry >= 0 ? m_legend[place.entry].text : moreText;
        auto* name = new QGraphicsSimpleTextItem(
            metrics.elidedText(text, Qt::ElideRight, place.textWidth + 0.5), m_chart);
        name->setFont(font);
        name->setPos(place.entry >= 0 ? place.at.x() + LegendMark + LegendGap : place.at.x(),
                     place.at.y());
        m_legendItems << name;
    }
    m_chart->setMargins(margins.toMargins());
}

QStringList ChartPicture::legendTexts() const
{
    QStringList texts;
    for (QGraphicsItem* item : m_legendItems)
        if (auto* text = dynamic_cast<QGraphicsSimpleTextItem*>(item))
            texts << text->text();
    return texts;
}

QStringList ChartPicture::pointNames() const
{
    QStringList names;
    if (m_axisX)
        for (const QString& label : m_axisX->categoriesLabels())
            names << QString(label).remove(QChar(0x200B)).trimmed();
    return names;
}

int ChartPicture::visibleLabelCount() const
{
    return int(
        std::count_if(m_labelItems.cbegin(), m_labelItems.cend(),
                      [](const QGraphicsSimpleTextItem* item) { return item->isVisible(); }));
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
    QCoreApplication::sendPostedEvents(); // the axis names chosen for the plot's width
    scene.render(painter, target, QRectF(QPointF(0, 0), size), Qt::KeepAspectRatio);
}
