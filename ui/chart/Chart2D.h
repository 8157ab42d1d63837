#pragma once

#include "ui/chart/Chart2DData.h"

#include <QList>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

class ChartPicture;
class QChart;
class QChartView;
class QPrinter;
class QRubberBand;

// The codes a chart control's mouse action mappings carry.
namespace ChartAction {
constexpr int StartModify = 1; // remember where a drag starts
constexpr int EndModify = 2;
constexpr int Rotate = 3;     // pies and radars turn with the drag
constexpr int Scale = 4;      // the chart grows (drag up) or shrinks (drag down)
constexpr int Translate = 5;  // the chart follows the drag
constexpr int StartZoom = 6;  // a rubber band opens ...
constexpr int UpdateZoom = 7; // ... follows the mouse ...
constexpr int EndZoom = 8;    // ... and the part inside it fills the plot
constexpr int Reset = 10;     // back to the view the chart was shown with
} // namespace ChartAction

// Window messages of the mappings: left button down, mouse move, left button up; a move's
// modifier is 1 while the left button is held.
namespace ChartMessage {
constexpr int MouseMove = 512;
constexpr int LeftButtonDown = 513;
constexpr int LeftButtonUp = 514;
} // namespace ChartMessage

// One mouse action mapping: a window message with its modifier and key, and the action it
// performs.
struct ChartActionMap
{
    int message;
    int modifier;
    int key;
    int action;
    bool operator==(const ChartActionMap&) const = default;
};

// The two-dimensional chart control (`Chart2D1` of a chart screen and of the chart viewer): it
// shows a chart description (Chart2DData) drawn with Qt Charts (ChartPicture).
//
// Every change redraws the chart, except in batch mode: between setIsBatched(true) and
// setIsBatched(false) changes only collect, and leaving batch mode redraws once. A change of
// the data shows the whole chart again (the automatic view) unless it sets a view.
//
// The mouse does what the action mappings say (none by default): moving, scaling, zooming with
// a rubber band, or turning pies and radars. The chart files and pictures of ChartOutput, and
// "temp.Chart2D", are written from and read into the control.
class Chart2D : public QWidget
{
    Q_OBJECT
public:
    explicit Chart2D(QWidget* parent = nullptr);
    ~Chart2D() override;

    // The chart's description; its view is empty while the chart shows the automatic view.
    const Chart2DData& data() const { return m_data; }
    // The description with the view shown now: what a chart file keeps.
    Chart2DData snapshot() const;
    void setData(const Chart2DData& data);
    // Changes the description in place (after clearing its view).
    void change(const std::function<void(Chart2DData&)>& edit);

    int chartType() const { return m_data.type; }
    // Sets the first chart group's type; an unknown code changes nothing.
    void setChartType(int code);

    bool isBatched() const { return m_batched; }
    void setIsBatched(bool batched);
    // How often the chart was drawn (batch mode draws once).
    int redrawCount() const { return m_redraws; }

    ChartViewState view() const;
    void setView(const ChartViewState& view);
    // The view the chart is shown with now becomes the one Reset returns to.
    void markShownView();

    QList<ChartActionMap> actionMaps() const { return m_maps; }
    void setActionMaps(const QList<ChartActionMap>& maps);
    // Performs one action at a position of the control, as a mapped mouse event does.
    void callAction(int action, const QPoint& position);
    // The action a window message with its modifier is mapped to; 0 for none.
    int actionFor(int message, int modifier) const;

    // The point drawn nearest to `position` (of the control) within `reach` pixels: its series
    // and point, from 1 (cartesian charts; none on a radar). On a pie, the slice under
    // `position`, by the series and point it stands for.
    std::optional<std::pair<int, int>> pointAt(const QPoint& position, double reach = 24) const;
    // Where point `point` of series `series` (from 1) is drawn, in the control's coordinates (a
    // pie's slice: its middle, halfway out).
    QPoint positionOf(int series, int point) const;

    // Chart files and pictures by extension (ChartOutput); load replaces the whole chart.
    bool save(const QString& path, QString* error = nullptr) const;
    bool load(const QString& path, QString* error = nullptr);
    bool print(QPrinter* printer) const;

    QChart* chart() const;
    QChartView* chartView() const;
    // What is drawn now: the legend's and the axis's names as shown (see ChartPicture).
    const ChartPicture* picture() const { return m_picture; }

signals:
    void viewChanged();
    // A point was double-clicked (pointAt): its series and point, from 1.
    void pointDoubleClicked(int series, int point);

private:
    void changed();
    void redraw();

    Chart2DData m_data;
    QChartView* m_canvas;
    ChartPicture* m_picture = nullptr;
    bool m_batched = false;
    bool m_dirty = false;
    int m_redraws = 0;
    std::optional<ChartViewState> m_shownView;
    QList<ChartActionMap> m_maps;
    QPoint m_dragStart;
    ChartViewState m_dragView;
    QPointF m_dragAnchor; // the values under the point where a drag began
    QRubberBand* m_band = nullptr;
};
