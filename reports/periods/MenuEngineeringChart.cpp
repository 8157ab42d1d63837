#include "reports/periods/MenuEngineeringChart.h"

#include "core/CjkFont.h"

#include <QApplication>
#include <QChart>
#include <QCoreApplication>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPrinter>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

QFont chartFont(double pointSize, bool bold = false)
{
    QFont font = QApplication::font();
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return CjkFont::resolve(font);
}

const char* const TextRole = "menuChartText"; // which text an item is: "quadrant0".."3", "name"

// An axis from below the smallest to above the largest value, with round ends.
void setRange(QValueAxis* axis, double low, double high)
{
    if (!(high > low)) {
        low -= 1;
        high += 1;
    }
    const double pad = (high - low) * 0.08;
    axis->setRange(low - pad, high + pad);
    axis->applyNiceNumbers();
}

QLineSeries* line(QChart* chart, QPointF from, QPointF to, QValueAxis* x, QValueAxis* y)
{
    auto* s = new QLineSeries(chart);
    s->append(from);
    s->append(to);
    QPen pen(QColor(0x60, 0x60, 0x60));
    pen.setStyle(Qt::DashLine);
    pen.setWidthF(1.2);
    s->setPen(pen);
    chart->addSeries(s);
    s->attachAxis(x);
    s->attachAxis(y);
    for (QLegendMarker* m : chart->legend()->markers(s))
        m->setVisible(false);
    return s;
}

} // namespace

MenuChartData MenuChartData::from(const MenuEngineeringFigures& f)
{
    MenuChartData d;
    d.popularity = f.popularityPercent;
    d.margin = f.averageMargin.toDouble();
    for (const MenuDish& dish : f.dishes) {
        if (dish.menuClass == MenuClass::NoCost)
            continue;
        QString name = dish.menuName;
        if (!dish.unitName.isEmpty())
            name += QStringLiteral("(") + dish.unitName + QStringLiteral(")");
        d.points.append({QPointF(dish.sharePercent, dish.unitMargin.toDouble()), name,
                         int(dish.menuClass), dish.totalMargin});
    }
    return d;
}

QChart* MenuEngineeringChart::build(const MenuChartData& data)
{
    auto* chart = new QChart;
    chart->setTitle(data.title);
    chart->setTitleFont(chartFont(12, true));
    chart->legend()->setFont(chartFont(9));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setBackgroundRoundness(0);

    auto* x = new QValueAxis(chart);
    auto* y = new QValueAxis(chart);
    x->setTitleText(data.xAxis);
    y->setTitleText(data.yAxis);
    for (QValueAxis* a : {x, y}) {
        a->setTitleFont(chartFont(9, true));
        a->setLabelsFont(chartFont(8));
    }
    x->setLabelFormat(QStringLiteral("%.1f%"));
    y->setLabelFormat(QStringLiteral("%.2f"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);

    double xHigh = data.popularity, yLow = std::min(0.0, data.margin), yHigh = data.margin;
    for (const MenuChartData::Point& p : data.points) {
        xHigh = std::max(xHigh, p.at.x());
        yLow = std::min(yLow, p.at.y());
        yHigh = std::max(yHigh, p.at.y());
    }
    setRange(x, 0, xHigh);
    if (x->min() < 0)
        x->setMin(0);
    setRange(y, yLow, yHigh);
    if (yLow >= 0 && y->min() < 0) // margins all at or above zero: the plot stands on zero
        y->setMin(0);

    static const QColor colours[] = {QColor(0xE0, 0x9A, 0x00), QColor(0x2E, 0x7D, 0x32),
                                     QColor(0x15, 0x65, 0xC0), QColor(0x8E, 0x8E, 0x8E)};
    for (int c = 0; c < 4; ++c) {
        auto* s = new QScatterSeries(chart);
        s->setName(data.classNames.value(c));
        s->setColor(colours[c]);
        s->setBorderColor(colours[c].darker(130));
        s->setMarkerSize(9);
        for (const MenuChartData::Point& p : data.points)
            if (p.menuClass == c)
                s->append(p.at);
        chart->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(y);
    }
    chart->legend()->setVisible(!data.points.isEmpty());
    if (data.points.isEmpty()) // nothing read yet, or nothing sold: no lines to draw or name
        return chart;
    line(chart, {data.popularity, y->min()}, {data.popularity, y->max()}, x, y)
        ->setName(data.popularityLine);
    line(chart, {x->min(), data.margin}, {x->max(), data.margin}, x, y)->setName(data.marginLine);

    // Texts laid out by layoutTexts: the quadrants' names, the lines' values, the dishes' names.
    auto text = [chart](const QString& t, const QFont& font, const QString& role,
                        const QColor& colour = Qt::black, qreal z = 10) {
        auto* item = new QGraphicsSimpleTextItem(t, chart);
        item->setFont(font);
        item->setBrush(colour);
        item->setData(0, role);
        item->setZValue(z);
        return item;
    };
    // The quadrants' names lie under the points and pale, so a point in a corner stays visible.
    for (int c = 0; c < 4; ++c) {
        QColor pale = colours[c].darker(115);
        pale.setAlpha(110);
        text(data.classNames.value(c), chartFont(11, true), QStringLiteral("quadrant%1").arg(c),
             pale, -1);
    }
    text(
        QStringLiteral("%1 %2%").arg(data.popularityLine, QString::number(data.popularity, 'f', 2)),
        chartFont(8), QStringLiteral("popularity"), QColor(0x40, 0x40, 0x40));
    text(QStringLiteral("%1 %2").arg(data.marginLine, QString::number(data.margin, 'f', 2)),
         chartFont(8), QStringLiteral("margin"), QColor(0x40, 0x40, 0x40));
    // Names in order of total margin, largest first: the dishes that matter most keep theirs.
    QList<MenuChartData::Point> named = data.points;
    std::stable_sort(named.begin(), named.end(),
                     [](const MenuChartData::Point& a, const MenuChartData::Point& b) {
                         return a.totalMargin > b.totalMargin;
                     });
    for (const MenuChartData::Point& p : named) {
        QGraphicsSimpleTextItem* item = text(p.name, chartFont(8), QStringLiteral("name"));
        item->setData(1, p.at);
    }
    chart->setProperty("popularity", data.popularity);
    chart->setProperty("margin", data.margin);
    QObject::connect(chart, &QChart::plotAreaChanged, chart, [chart] { layoutTexts(chart); });
    return chart;
}

void MenuEngineeringChart::layoutTexts(QChart* chart)
{
    const QRectF plot = chart->plotArea();
    if (plot.isEmpty() || chart->series().isEmpty())
        return;
    QAbstractSeries* series = chart->series().first();
    const QPointF cross = chart->mapToPosition(
        QPointF(chart->property("popularity").toDouble(), chart->property("margin").toDouble()),
        series);
    QList<QRectF> taken;
    const qreal gap = 4;
    for (QGraphicsItem* child : chart->childItems()) {
        auto* item = dynamic_cast<QGraphicsSimpleTextItem*>(child);
        if (!item)
            continue;
        const QString role = item->data(0).toString();
        const QSizeF size = item->boundingRect().size();
        QPointF at;
        if (role.startsWith(QLatin1String("quadrant"))) {
            // Star top right, plowhorse bottom right, puzzle top left, dog bottom left.
            const int c = role.right(1).toInt();
            const bool right = c < 2, top = c == 0 || c == 2;
            at = QPointF(right ? plot.right() - size.width() - gap : plot.left() + gap,
                         top ? plot.top() + gap : plot.bottom() - size.height() - gap);
        } else if (role == QLatin1String("popularity")) {
            at = QPointF(cross.x() + gap, plot.top() + gap + size.height() * 1.6);
        } else if (role == QLatin1String("margin")) {
            at = QPointF(plot.left() + gap, cross.y() - size.height() - 1);
        } else {
            const QPointF p = chart->mapToPosition(item->data(1).toPointF(), series);
            at = QPointF(p.x() + 6, p.y() - size.height() / 2);
        }
        QRectF r(at, size);
        const bool fits =
            plot.contains(r) && std::none_of(taken.cbegin(), taken.cend(),
                                             [&](const QRectF& t) { return t.intersects(r); });
        item->setPos(at);
        item->setVisible(role != QLatin1String("name") || fits);
        if (item->isVisible())
            taken << r.adjusted(-1, -1, 1, 1);
    }
}

MenuEngineeringChart::MenuEngineeringChart(QWidget* parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
    setData({});
}

void MenuEngineeringChart::setData(const MenuChartData& data)
{
    m_data = data;
    QChart* old = chart();
    setChart(build(data));
    delete old;
    layoutTexts(chart());
}

void MenuEngineeringChart::resizeEvent(QResizeEvent* event)
{
    QChartView::resizeEvent(event);
    layoutTexts(chart());
}

QStringList MenuEngineeringChart::shownNames() const
{
    QStringList names;
    for (QGraphicsItem* child : chart()->childItems())
        if (auto* item = dynamic_cast<QGraphicsSimpleTextItem*>(child))
            if (item->data(0).toString() == QLatin1String("name") && item->isVisible())
                names << item->text();
    return names;
}

void MenuEngineeringChart::render(QPainter* painter, const QRectF& target) const
{
    QGraphicsScene scene;
    QChart* chart = build(m_data);
    scene.addItem(chart); // the scene owns the chart from here
    chart->setGeometry(QRectF(QPointF(0, 0), QSizeF(PictureSize)));
    QCoreApplication::sendPostedEvents();
    layoutTexts(chart);
    scene.render(painter, target, QRectF(QPointF(0, 0), QSizeF(PictureSize)), Qt::KeepAspectRatio);
}

ChartOutput::Picture MenuEngineeringChart::picture() const
{
    ChartOutput::Picture picture;
    picture.title = m_data.title;
    picture.render = [this](QPainter* painter, const QRectF& target) { render(painter, target); };
    picture.fonts = {chartFont(8), chartFont(9), chartFont(9, true), chartFont(11, true),
                     chartFont(12, true)};
    picture.texts = QStringList{m_data.title, m_data.xAxis, m_data.yAxis, m_data.popularityLine,
                                m_data.marginLine} +
                    m_data.classNames;
    for (const MenuChartData::Point& p : m_data.points)
        picture.texts << p.name;
    return picture;
}

QImage MenuEngineeringChart::image(QSize size) const
{
    return ChartOutput::image(picture(), size);
}

bool MenuEngineeringChart::isPicture(const QString& path)
{
    return ChartOutput::isPicture(path);
}

bool MenuEngineeringChart::print(QPrinter* printer) const
{
    return ChartOutput::print(picture(), printer);
}

bool MenuEngineeringChart::save(const QString& path, QString* error) const
{
    return ChartOutput::save(picture(), path, error);
}
