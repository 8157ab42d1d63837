#include "ui/chart/Chart2D.h"

#include "ui/chart/ChartFile.h"
#include "ui/chart/ChartOutput.h"
#include "ui/chart/ChartPicture.h"

#include <QChart>
#include <QChartView>
#include <QMouseEvent>
#include <QRubberBand>
#include <QVBoxLayout>

#include <cmath>

namespace {

// The chart's view widget: mouse events become window messages for the control's mappings.
class ChartCanvas : public QChartView
{
public:
    ChartCanvas(Chart2D* owner) : QChartView(owner), m_owner(owner)
    {
        setObjectName(QStringLiteral("ChartView"));
        setRenderHint(QPainter::Antialiasing);
        setRubberBand(QChartView::NoRubberBand);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override
    {
        if (!(e->button() == Qt::LeftButton && send(ChartMessage::LeftButtonDown, 0, e)))
            QChartView::mousePressEvent(e);
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        const int modifier = e->buttons() & Qt::LeftButton ? 1 : 0;
        if (!send(ChartMessage::MouseMove, modifier, e))
            QChartView::mouseMoveEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (!(e->button() == Qt::LeftButton && send(ChartMessage::LeftButtonUp, 0, e)))
            QChartView::mouseReleaseEvent(e);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        const auto point =
            e->button() == Qt::LeftButton
                ? m_owner->pointAt(viewport()->mapTo(m_owner, e->position().toPoint()))
                : std::nullopt;
        if (point)
            emit m_owner->pointDoubleClicked(point->first, point->second);
        else
            QChartView::mouseDoubleClickEvent(e);
    }

private:
    bool send(int message, int modifier, QMouseEvent* e)
    {
        const int action = m_owner->actionFor(message, modifier);
        if (!action)
            return false;
        m_owner->callAction(action, mapTo(m_owner, e->position().toPoint()));
        return true;
    }
    Chart2D* m_owner;
};

} // namespace

Chart2D::Chart2D(QWidget* parent) : QWidget(parent), m_canvas(new ChartCanvas(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_canvas);
    redraw();
    m_redraws = 0;
}

Chart2D::~Chart2D() = default;

QChart* Chart2D::chart() const
{
    return m_canvas->chart();
}

QChartView* Chart2D::chartView() const
{
    return m_canvas;
}

Chart2DData Chart2D::snapshot() const
{
    Chart2DData d = m_data;
    d.view = view();
    return d;
}

void Chart2D::setData(const Chart2DData& data)
{
    m_data = data;
    m_shownView.reset();
    changed();
}

void Chart2D::change(const std::function<void(Chart2DData&)>& edit)
{
    m_data.view.reset();
    m_shownView.reset();
    edit(m_data);
    changed();
}

void Chart2D::setChartType(int code)
{
    if (!ChartType::isKnown(code))
        return;
    change([code](Chart2DData& d) { d.type = code; });
}

void Chart2D::setIsBatched(bool batched)
{
    m_batched = batched;
    if (!batched && m_dirty)
        redraw();
}

void Chart2D::changed()
{
    m_dirty = true;
    if (!m_batched)
        redraw();
}

void Chart2D::redraw()
{
    ChartPicture* picture = ChartPicture::create(m_data);
    QChart* old = m_canvas->chart();
    m_canvas->setChart(picture->chart()); // the view owns the new chart and lets the old go
    delete old;
    m_picture = picture;
    m_dirty = false;
    ++m_redraws;
}

ChartViewState Chart2D::view() const
{
    return m_picture->view();
}

void Chart2D::setView(const ChartViewState& view)
{
    m_picture->setView(view);
    m_data.view = m_picture->view(); // as far as it is within reach
    emit viewChanged();
}

void Chart2D::markShownView()
{
    m_shownView = view();
}

void Chart2D::setActionMaps(const QList<ChartActionMap>& maps)
{
    m_maps = maps;
}

int Chart2D::actionFor(int message, int modifier) const
{
    for (const ChartActionMap& m : m_maps)
        if (m.message == message && m.modifier == modifier)
            return m.action;
    return 0;
}

std::optional<std::pair<int, int>> Chart2D::pointAt(const QPoint& position, double reach) const
{
    const int type = m_data.type;
    if (!m_picture || type == ChartType::FilledRadar)
        return std::nullopt;
    if (type == ChartType::Pie)
        return m_picture->sliceAt(chart()->mapFromScene(
            m_canvas->mapToScene(m_canvas->viewport()->mapFrom(this, position))));
    std::optional<std::pair<int, int>> nearest;
    double best = reach * reach;
    for (int s = 1; s <= m_data.seriesCount(); ++s) {
        for (int p = 1; p <= m_data.pointCount(); ++p) {
            const QPointF d = QPointF(positionOf(s, p) - position);
            const double distance = d.x() * d.x() + d.y() * d.y();
            if (distance <= best) {
                best = distance;
                nearest = std::pair(s, p);
            }
        }
    }
    return nearest;
}

QPoint Chart2D::positionOf(int series, int point) const
{
    if (!m_picture)
        return {};
    const QPointF at =
        m_data.type == ChartType::Pie
            ? m_picture->slicePosition(series, point).value_or(QPointF())
            : m_picture->toPosition(QPointF(point - 1, m_data.value(series - 1, point - 1)));
    return m_canvas->viewport()->mapTo(this, m_canvas->mapFromScene(chart()->mapToScene(at)));
}

void Chart2D::callAction(int action, const QPoint& position)
{
    const QPointF at =
        chart()->mapFromScene(m_canvas->mapToScene(m_canvas->mapFrom(this, position)));
    const QPointF start =
        chart()->mapFromScene(m_canvas->mapToScene(m_canvas->mapFrom(this, m_dragStart)));
    const QRectF plot = chart()->plotArea();
    const double dx = at.x() - start.x(), dy = at.y() - start.y();
    const int type = m_data.type;
    ChartViewState v = m_dragView;
    switch (action) {
    case ChartAction::StartModify:
        m_dragStart = position;
        m_dragView = view();
        m_dragAnchor = m_picture->toValue(at);
        return;
    case ChartAction::EndModify:
        return;
    case ChartAction::Translate:
        if (plot.width() <= 0 || plot.height() <= 0)
            return;
        if (type == ChartType::Pie) {
            v.dx += dx / plot.width();
            v.dy += dy / plot.height();
        } else if (ChartType::isCartesian(type)) {
            const double sx = dx / plot.width() * (v.xMax - v.xMin);
            const double sy = dy / plot.height() * (v.yMax - v.yMin);
            v.xMin -= sx;
            v.xMax -= sx;
            v.yMin += sy;
            v.yMax += sy;
        } else {
            return; // a radar stays in the middle
        }
        break;
    case ChartAction::Scale: {
        // Dragging up by half the plot's height shows the chart twice as large, down half as
        // large; the point where the drag began stays put, and a chart that stood on its base
        // line keeps standing on it.
        const double f = std::pow(2.0, -dy / std::max(40.0, plot.height() / 2));
        if (type == ChartType::Pie) {
            v.scale *= f;
        } else if (type == ChartType::FilledRadar) {
            v.yMax = v.yMin + (v.yMax - v.yMin) / f;
        } else {
            const QPointF anchor = m_dragAnchor;
            v.xMin = anchor.x() - (anchor.x() - v.xMin) / f;
            v.xMax = anchor.x() + (v.xMax - anchor.x()) / f;
            v.yMin = anchor.y() - (anchor.y() - v.yMin) / f;
            v.yMax = anchor.y() + (v.yMax - anchor.y()) / f;
            const double base = m_picture->automaticView().yMin;
            if (m_dragView.yMin >= base && v.yMin < base) {
                v.yMax += base - v.yMin;
                v.yMin = base;
            }
        }
        break;
    }
    case ChartAction::Rotate:
        if (!ChartType::rotates(type))
            return;
        v.rotation += dx / 2;
        break;
    case ChartAction::StartZoom:
        m_dragStart = position;
        m_dragView = view();
        if (!m_band)
            m_band = new QRubberBand(QRubberBand::Rectangle, this);
        m_band->setGeometry(QRect(position, QSize()));
        m_band->show();
        return;
    case ChartAction::UpdateZoom:
        if (m_band)
            m_band->setGeometry(QRect(m_dragStart, position).normalized());
        return;
    case ChartAction::EndZoom: {
        if (m_band)
            m_band->hide();
        const QRectF box = QRectF(start, at).normalized();
        if (!ChartType::isCartesian(type) || box.width() < 4 || box.height() < 4)
            return;
        const QPointF topLeft = m_picture->toValue(box.topLeft());
        const QPointF bottomRight = m_picture->toValue(box.bottomRight());
        v.xMin = topLeft.x();
        v.xMax = bottomRight.x();
        v.yMin = bottomRight.y();
        v.yMax = topLeft.y();
        break;
    }
    case ChartAction::Reset:
        v = m_shownView.value_or(m_picture->automaticView());
        break;
    default:
        return;
    }
    setView(v);
}

bool Chart2D::save(const QString& path, QString* error) const
{
    return ChartOutput::save(snapshot(), path, error);
}

bool Chart2D::load(const QString& path, QString* error)
{
    Chart2DData d;
    if (!ChartFile::load(&d, path, error))
        return false;
    setData(d);
    m_shownView = d.view; // Reset returns to the view the file was saved with
    return true;
}

bool Chart2D::print(QPrinter* printer) const
{
    return ChartOutput::print(snapshot(), printer);
}
