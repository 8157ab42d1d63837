#include "sheet/SheetHeaderView.h"

#include "sheet/Sheet.h"

#include <QPainter>

SheetHeaderView::SheetHeaderView(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(false);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignCenter);
}

void SheetHeaderView::setSheet(Sheet* sheet)
{
    m_sheet = sheet;
    updateGeometry();
    viewport()->update();
}

void SheetHeaderView::setRowHeight(int pixels)
{
    m_rowHeight = std::max(8, pixels);
    updateGeometry();
}

QSize SheetHeaderView::sizeHint() const
{
    QSize s = QHeaderView::sizeHint();
    const int rows = m_sheet ? m_sheet->headerRows() : 1;
    s.setHeight(std::max(1, rows) * m_rowHeight);
    return s;
}

void SheetHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!m_sheet || !rect.isValid())
        return;
    const int col = logicalIndex + 1;
    const int rows = std::max(1, m_sheet->headerRows());
    painter->save();
    painter->setClipRect(rect);
    const QColor line(0x9A, 0x9A, 0x9A);
    for (int r = 1; r <= rows; ++r) {
        CellBlock cell{r, col, r, col};
        for (const CellBlock& s : m_sheet->headerSpans())
            if (s.contains(r, col)) {
                cell = s;
                break;
            }
        if (cell.row != r)
            continue; // drawn with the span's first row
        const int first = cell.col - 1, last = std::min(cell.col2, count()) - 1;
        const int left = sectionViewportPosition(first);
        const int right = sectionViewportPosition(last) + sectionSize(last);
        const QRect box(left, (cell.row - 1) * m_rowHeight, right - left,
                        (std::min(cell.row2, rows) - cell.row + 1) * m_rowHeight);
        const bool group = cell.colCount() > 1;
        painter->fillRect(box, group ? QColor(0xD9, 0xD9, 0xD9) : QColor(0xEC, 0xEC, 0xEC));
        painter->setPen(line);
        painter->drawLine(box.topRight() - QPoint(0, 0), box.bottomRight());
        painter->drawLine(box.bottomLeft(), box.bottomRight());
        painter->setPen(palette().color(QPalette::WindowText));
        painter->drawText(box.adjusted(2, 1, -2, -1), Qt::AlignCenter | Qt::TextWordWrap,
                          m_sheet->headerText(cell.row, cell.col));
    }
    painter->restore();
}
