#pragma once

#include "ui/chart/Chart2D.h"

#include <QMainWindow>

class QActionGroup;
class QPrinter;
class QToolBar;

// The chart viewer: a copy of a screen's chart (made through "temp.Chart2D" in the user's
// temporary folder) in its own chart control `Chart2D1`, with the toolbar keys "Refresh" (back
// to the view it was shown with), the mouse modes "Move", "Scale", "Zoom" (a rubber band) and
// "Rotate" (pies and radars), "Open" and "Save" (chart files; pictures by extension), "Print"
// (one page), "Exit", and the chart type menu.
class frmViewChart : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmViewChart(QWidget* parent = nullptr);
    ~frmViewChart() override;

    void ShowChart2D(Chart2D* chart, const QString& caption);

    // A toolbar key or a chart type menu key, as a click on it does (dialogs aside).
    void tlbMain_ButtonClick(const QString& key);
    // The mouse action mappings of a mode ("Move", "Scale", "Rotate", "Zoom"); none for another.
    static QList<ChartActionMap> mouseMappings(const QString& mode);
    QString mouseMode() const { return m_mode; }

    // "Open" and "Save" without their dialogs; false with the chart unchanged or nothing
    // written.
    bool openFile(const QString& path, QString* error = nullptr);
    bool saveFile(const QString& path, QString* error = nullptr) const;
    bool printTo(QPrinter* printer) const;
    // The print dialog for a chart, then the chart on one landscape page (nothing headless).
    static void printWithDialog(const Chart2D* chart, QWidget* parent);
    // The save dialog for a chart: a chart file or a picture, and with `withData` also the
    // points as a workbook or text; the chosen file with its extension, empty when cancelled.
    static QString chooseSavePath(QWidget* parent, const QString& caption, bool withData);

    Chart2D* chart() const { return Chart2D1; }
    QToolBar* toolbar() const { return tlbMain; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setMouseMode(const QString& mode);
    void updateRotateKey();
    void open();
    void save();
    void print();

    QToolBar* tlbMain;
    Chart2D* Chart2D1;
    QActionGroup* m_modes;
    QString m_mode;
    QString m_caption;
};
