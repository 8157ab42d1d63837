#include "sheet/SheetCompare.h"

namespace {

QString blockText(const CellBlock& b)
{
    return QStringLiteral("(%1,%2)-(%3,%4)").arg(b.row).arg(b.col).arg(b.row2).arg(b.col2);
}

} // namespace

QString SheetCompare::firstDifference(const Sheet& a, const Sheet& b)
{
    if (a.maxRows() != b.maxRows() || a.maxCols() != b.maxCols())
        return QStringLiteral("size %1x%2 vs %3x%4")
            .arg(a.maxRows())
            .arg(a.maxCols())
            .arg(b.maxRows())
            .arg(b.maxCols());
    if (a.thousandsSeparator() != b.thousandsSeparator() || a.defaultFont() != b.defaultFont() ||
        a.rowHeadersVisible() != b.rowHeadersVisible() || a.gridLines() != b.gridLines() ||
        a.locked() != b.locked() || a.horizontalScrollBar() != b.horizontalScrollBar() ||
        a.verticalScrollBar() != b.verticalScrollBar() || a.selection() != b.selection() ||
        a.frozenRows() != b.frozenRows() || a.activeRow() != b.activeRow() ||
        a.activeCol() != b.activeCol())
        return QStringLiteral("grid settings");
    if (!(a.printSettings() == b.printSettings()))
        return QStringLiteral("print settings");
    for (int c = 1; c <= a.maxCols(); ++c) {
        if (a.columnType(c) != b.columnType(c) || a.columnDecimals(c) != b.columnDecimals(c) ||
            !(a.columnNumberFormat(c) == b.columnNumberFormat(c)) ||
            a.columnWidth(c) != b.columnWidth(c) || a.isColumnHidden(c) != b.isColumnHidden(c) ||
            !(a.columnStyle(c) == b.columnStyle(c)))
            return QStringLiteral("column %1").arg(c);
    }
    if (a.headerRows() != b.headerRows())
        return QStringLiteral("header rows");
    for (int r = 1; r <= 8; ++r)
        for (int c = 1; c <= a.maxCols(); ++c)
            if (a.headerText(r, c) != b.headerText(r, c))
                return QStringLiteral("header text (%1,%2)").arg(r).arg(c);
    if (a.headerSpans() != b.headerSpans())
        return QStringLiteral("header spans");
    if (a.spans() != b.spans()) {
        for (const CellBlock& s : a.spans())
            if (!b.spans().contains(s))
                return QStringLiteral("span %1").arg(blockText(s));
        return QStringLiteral("spans");
    }
    for (int r = 1; r <= a.maxRows(); ++r) {
        if (a.rowHeight(r) != b.rowHeight(r))
            return QStringLiteral("row height %1").arg(r);
        if (!(a.rowStyle(r) == b.rowStyle(r)))
            return QStringLiteral("row style %1").arg(r);
        for (int c = 1; c <= a.maxCols(); ++c) {
            if (a.text(r, c) != b.text(r, c) || a.value(r, c) != b.value(r, c))
                return QStringLiteral("cell (%1,%2): \"%3\" vs \"%4\"")
                    .arg(r)
                    .arg(c)
                    .arg(a.text(r, c), b.text(r, c));
            if (a.cellType(r, c) != b.cellType(r, c) ||
                a.cellDecimals(r, c) != b.cellDecimals(r, c))
                return QStringLiteral("cell type (%1,%2)").arg(r).arg(c);
            if (!(a.cellStyle(r, c) == b.cellStyle(r, c)))
                return QStringLiteral("cell style (%1,%2)").arg(r).arg(c);
        }
    }
    return QString();
}
