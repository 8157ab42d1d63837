#pragma once

#include "sheet/Sheet.h"

#include <QHash>
#include <QList>

// Read-side helpers shared by the exporters and the printer: which columns show, and where
// spans start and what they cover, looked up in constant time.
class SheetCells
{
public:
    explicit SheetCells(const Sheet& sheet);

    // The columns that are not hidden, in order.
    const QList<int>& visibleColumns() const { return m_columns; }
    // Visible columns in [col, col2].
    int visibleCount(int col, int col2) const;

    // The data span covering the cell, if any (anchor included).
    const CellBlock* spanAt(int row, int col) const;
    // The header span covering header cell (headerRow, col), if any.
    const CellBlock* headerSpanAt(int headerRow, int col) const;
    // The caption a header cell or header span shows: the top-left text, or the first text
    // found inside the span.
    QString headerCaption(int headerRow, int col) const;

    // A column's header captions joined from the top header row down ("Group Sub"), skipping
    // repeats, for formats that need one name per column.
    QString columnCaption(int col, const QString& separator) const;

private:
    const Sheet& m_sheet;
    QList<int> m_columns;
    QHash<quint64, int> m_spans;       // covered cell -> index into sheet.spans()
    QHash<quint64, int> m_headerSpans; // covered header cell -> index into sheet.headerSpans()
    static quint64 key(int row, int col) { return (quint64(quint32(row)) << 32) | quint32(col); }
};
