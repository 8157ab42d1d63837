#pragma once

#include "ui/chart/Chart2DData.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

class QPainter;
class QPrinter;
class QRectF;

// A chart written out by the extension of the file: ".cht" (the chart file, ChartFile; also
// the viewer's copy "temp.Chart2D"), ".png"
// and ".svg" pictures of PictureSize pixels, ".pdf" one landscape A4 page with the picture
// scaled to fit; and printed on one page.
class ChartOutput
{
public:
    static constexpr QSize PictureSize{1100, 700};

    // Any chart as a picture: how it draws itself into a target rectangle (keeping its
    // proportions), and the fonts and texts a PDF's text layer must give back.
    struct Picture
    {
        QString title;
        std::function<void(QPainter*, const QRectF&)> render;
        QList<QFont> fonts;
        QStringList texts;
    };
    static bool isPicture(const QString& path); // .png, .svg, .pdf
    static bool save(const Picture& picture, const QString& path, QString* error = nullptr);
    static QImage image(const Picture& picture, QSize size = PictureSize);
    static bool print(const Picture& picture, QPrinter* printer);

    static bool isSupported(const QString& path);
    static bool save(const Chart2DData& chart, const QString& path, QString* error = nullptr);
    // The chart drawn on a white image.
    static QImage image(const Chart2DData& chart, QSize size = PictureSize);
    // The chart on one page of `printer`, as large as the page allows.
    static bool print(const Chart2DData& chart, QPrinter* printer);
};
