#pragma once

#include "ui/chart/Chart2DData.h"

#include <QImage>
#include <QSize>
#include <QString>

class QPrinter;

// A chart written out by the extension of the file: ".cht" (the chart file, ChartFile; also
// the viewer's copy "temp.Chart2D"), ".png"
// and ".svg" pictures of PictureSize pixels, ".pdf" one landscape A4 page with the picture
// scaled to fit; and printed on one page.
class ChartOutput
{
public:
    static constexpr QSize PictureSize{1100, 700};

    static bool isSupported(const QString& path);
    static bool save(const Chart2DData& chart, const QString& path, QString* error = nullptr);
    // The chart drawn on a white image.
    static QImage image(const Chart2DData& chart, QSize size = PictureSize);
    // The chart on one page of `printer`, as large as the page allows.
    static bool print(const Chart2DData& chart, QPrinter* printer);
};
