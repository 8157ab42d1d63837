#pragma once

#include <QPaintDevice>
#include <QtMath>

// Sizes are given in twips: 1440 to the inch, converted at the device's logical DPI.
constexpr int TwipsPerInch = 1440;

inline int twipsToPixels(int twips, double dpi)
{
    return qRound(twips * dpi / TwipsPerInch);
}
inline int pixelsToTwips(int pixels, double dpi)
{
    return qRound(pixels * TwipsPerInch / dpi);
}
inline int twipsToPixelsX(int twips, const QPaintDevice* d)
{
    return twipsToPixels(twips, d->logicalDpiX());
}
inline int twipsToPixelsY(int twips, const QPaintDevice* d)
{
    return twipsToPixels(twips, d->logicalDpiY());
}
