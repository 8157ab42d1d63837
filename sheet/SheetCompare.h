#pragma once

#include "sheet/Sheet.h"

#include <QString>

// Compares two sheets in everything they hold (content, types, styles, sizes, spans, headers,
// grid state, print settings).
class SheetCompare
{
public:
    // The first difference found, as a short description; empty when the sheets are equal.
    static QString firstDifference(const Sheet& a, const Sheet& b);
    static bool equal(const Sheet& a, const Sheet& b) { return firstDifference(a, b).isEmpty(); }
};
