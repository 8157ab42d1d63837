#pragma once

#include "reports/periods/MenuEngineeringFigures.h"
#include "ui/chart/ChartOutput.h"

#include <QChartView>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QSize>
#include <QString>
#include <QStringList>

class QChart;
class QPrinter;

// What the menu engineering chart shows: each dish with a cost as a point at (its share of all
// dishes sold, its unit margin), one series per class, the popularity line and the margin line
// that part the plot into the four quadrants, each quadrant named in its corner. Dishes are
// named beside their points where the names do not cover one another, the largest total
// margins first.
struct MenuChartData
{
    struct Point
    {
        QPointF at; // share in per cent, unit margin
        QString name;
        int menuClass = 0; // MenuClass, Star to Dog
        Money totalMargin;
    };
    QString title;
    QString xAxis, yAxis;
    QStringList classNames;             // Star, Plowhorse, Puzzle, Dog
    QString popularityLine, marginLine; // captions of the two lines, their values after them
    double popularity = 0, margin = 0;
    QList<Point> points;

    static MenuChartData from(const MenuEngineeringFigures& figures);
};

// The chart drawn on a Qt Charts view; written out as ".png" and ".svg" pictures of PictureSize
// pixels or a ".pdf" page, and printed on one page.
class MenuEngineeringChart : public QChartView
{
    Q_OBJECT
public:
    static constexpr QSize PictureSize = ChartOutput::PictureSize;

    explicit MenuEngineeringChart(QWidget* parent = nullptr);

    const MenuChartData& data() const { return m_data; }
    void setData(const MenuChartData& data);
    // The dish names shown at the present size.
    QStringList shownNames() const;

    static bool isPicture(const QString& path); // .png, .svg, .pdf
    bool save(const QString& path, QString* error = nullptr) const;
    QImage image(QSize size = PictureSize) const;
    ChartOutput::Picture picture() const;
    bool print(QPrinter* printer) const;

    // Draws `data` on a new chart (its text items its children) and lays it out at `size`.
    static QChart* build(const MenuChartData& data);
    static void layoutTexts(QChart* chart);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void render(QPainter* painter, const QRectF& target) const;
    MenuChartData m_data;
};
