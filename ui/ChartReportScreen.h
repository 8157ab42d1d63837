#pragma once

#include "ui/ReportScreen.h"

#include <memory>

class Chart2D;

// A report screen whose body is a chart control `Chart2D1` instead of a query control. A
// refresh works out the screen's points as numbers first and draws them second; the points are
// also kept as a grid (points()), so that the screen offers its data like every other screen.
//
// Toolbar: "Charting" opens the chart viewer on a copy of the chart and its drop-down menu sets
// the chart type; "FullScreen" opens the viewer too, "Print" prints the chart on one page,
// "Open" opens a chart file into the chart, "Save" writes a chart file, a picture or the points.
// A double click on a point (or a pie's slice) drills down to the bills behind it (drillTo with
// the point's number as the row and its series as the column, see drillToPoint), where the
// screen leads to any.
// Exports go by extension: ".cht", ".png", ".svg" and ".pdf" from the chart, every other format
// of the grid (".txt", ".xlsx", ...) from the points.
class ChartReportScreen : public ReportScreen
{
    Q_OBJECT
public:
    explicit ChartReportScreen(const ScreenSpec& spec, QWidget* parent = nullptr);
    ~ChartReportScreen() override;

    Chart2D* chart() const { return Chart2D1; }
    // The points of the last refresh as a grid (empty before the first).
    Sheet* grid() const override { return m_points.get(); }
    Sheet* points() const { return m_points.get(); }

public slots:
    bool exportGrid(const QString& path) override;

protected:
    void cmdPrint1() override;
    void toggleFullScreen() override;
    void saveGrid() override;
    void cmdOpen() override;
    void toolbarAction(const QString& key) override; // "Charting"
    // The points grid carries its own title lines: exported as it is.
    void preparePrint(Sheet*) const override {}
    // A double-clicked point (or slice) of `series` (from 1) drills down: drillTo(point, series)
    // unless the screen numbers its figures otherwise.
    virtual bool drillToPoint(int series, int point) { return drillTo(point, series); }

    Chart2D* Chart2D1;

private:
    std::unique_ptr<Sheet> m_points;
};
