#pragma once

#include "ui/chart/Chart2DData.h"

#include <QString>

// The chart file (".cht", also the viewer's copy "temp.Chart2D"): a versioned binary file that
// keeps everything a chart shows, so that opening it draws the same chart: type, header,
// footer, legend, series with their labels and values, point labels, the labels attached to
// points, the fixed top of the y axis and the view.
//
// Layout (QDataStream, Qt 6.4 encoding, big-endian): the 6 bytes "VTXCHT", quint32 version,
// then the type, header and footer (text, shown), legend shown, series labels, point labels,
// the values series by series, the point labels (series, point, text), the y axis top
// (present, value) and the view (present, x and y ranges, rotation, scale, offsets).
class ChartFile
{
public:
    static constexpr quint32 Version = 1;
    // A larger file is refused unread; so is one holding more than ChartLimits allow.
    static constexpr qint64 MostBytes = 64LL << 20;

    static bool save(const Chart2DData& chart, const QString& path, QString* error = nullptr);
    // The file's chart; false, with `chart` unchanged and the reason in `error`, when the file
    // cannot be read, is no chart file, is of a later version or is damaged: counts, lengths
    // and values beyond ChartLimits, values that are not finite, bytes missing or left over.
    // Reading takes time and memory in proportion to the file's size, whatever it holds.
    static bool load(Chart2DData* chart, const QString& path, QString* error = nullptr);
};
