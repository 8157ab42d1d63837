#include "sheet/SheetView.h"

#include "core/CjkFont.h"
#include "sheet/Sheet.h"
#include "sheet/SheetHeaderView.h"
#include "sheet/SheetModel.h"
#include "sheet/Twips.h"

#include <QHeaderView>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>

namespace {

// Draws the cells' own borders: right and bottom edges always, left and top edges only where
// the neighbour has no border of its own, so that ruled blocks show single lines.
class BorderDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        const QVariant color = index.data(SheetModel::BorderColorRole);
        if (!color.isValid())
            return;
        const QRect r = option.rect;
        auto hasBorder = [&](int row, int col) {
            const QModelIndex n = index.model()->index(row, col);
            return n.isValid() && n.data(SheetModel::BorderColorRole).isValid();
        };
        painter->save();
        painter->setPen(QPen(color.value<QColor>(), 0));
        painter->drawLine(r.topRight(), r.bottomRight());
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        if (!hasBorder(index.row(), index.column() - 1))
            painter->drawLine(r.topLeft(), r.bottomLeft());
        if (!hasBorder(index.row() - 1, index.column()))
            painter->drawLine(r.topLeft(), r.topRight());
        painter->restore();
    }
};

} // namespace

SheetView::SheetView(QWidget* parent) : QTableView(parent)
{
    m_header = new SheetHeaderView(this);
    setHorizontalHeader(m_header);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(8);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    setVerticalScrollMode(ScrollPerPixel);
    setHorizontalScrollMode(ScrollPerPixel);
    setSelectionMode(ContiguousSelection);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setItemDelegate(new BorderDelegate(this));
    setStyleSheet(QStringLiteral("QTableView { gridline-color: #C8C8C8; }"));
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& i) {
        // The detail opened on a double click reads the active row: make it the row clicked,
        // whichever cell of it was hit.
        if (m_sheet)
            m_sheet->setActiveCell(i.row() + 1, i.column() + 1);
        emit cellDoubleClicked(i.row() + 1, i.column() + 1);
    });
}

SheetView::SheetView(Sheet* sheet, QWidget* parent) : SheetView(parent)
{
    setSheet(sheet);
}

void SheetView::setSheet(Sheet* sheet)
{
    if (m_sheet)
        disconnect(m_sheet, nullptr, this, nullptr);
    QAbstractItemModel* old = model();
    m_sheet = sheet;
    m_model = new SheetModel(sheet, this); // connected to the sheet before the view is
    setModel(m_model);
    if (old && old->parent() == this)
        old->deleteLater();
    m_header->setSheet(sheet);
    if (sheet) {
        connect(sheet, &Sheet::structureChanged, this, &SheetView::applyLayout);
        connect(sheet, &Sheet::selectionChanged, this, &SheetView::sheetSelectionChanged);
        connect(sheet, &Sheet::activeCellChanged, this, &SheetView::sheetSelectionChanged);
    }
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &SheetView::viewSelectionChanged);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            &SheetView::viewSelectionChanged);
    applyLayout();
}

void SheetView::applyLayout()
{
    if (!m_sheet)
        return;
    const int fontPx = QFontMetrics(m_sheet->defaultFont()).height() + 4;
    const int rowPx = std::max(fontPx, twipsToPixelsY(Sheet::DefaultRowHeight, this));
    verticalHeader()->setDefaultSectionSize(rowPx);
    for (int row : m_sheet->rowsWithOwnHeight())
        verticalHeader()->resizeSection(row - 1, twipsToPixelsY(m_sheet->rowHeight(row), this));
    verticalHeader()->setVisible(m_sheet->rowHeadersVisible());

    m_header->setRowHeight(std::max(rowPx, QFontMetrics(font()).height() + 6));
    m_header->setVisible(m_sheet->headerRows() > 0);
    m_header->updateGeometry();
    for (int col = 1; col <= m_sheet->maxCols(); ++col) {
        setColumnWidth(col - 1, twipsToPixelsX(m_sheet->columnWidth(col), this));
        setColumnHidden(col - 1, m_sheet->isColumnHidden(col));
    }
    clearSpans();
    for (const CellBlock& s : m_sheet->spans())
        setSpan(s.row - 1, s.col - 1, s.rowCount(), s.colCount());
    setShowGrid(m_sheet->gridLines());
    setHorizontalScrollBarPolicy(m_sheet->horizontalScrollBar());
    setVerticalScrollBarPolicy(m_sheet->verticalScrollBar());
    setEditTriggers(m_sheet->locked() ? NoEditTriggers : (DoubleClicked | EditKeyPressed));
    setFont(CjkFont::resolve(m_sheet->defaultFont()));
    sheetSelectionChanged();
}

void SheetView::viewSelectionChanged()
{
    if (!m_sheet || m_syncing)
        return;
    QScopedValueRollback guard(m_syncing, true);
    CellBlock block{0, 0, 0, 0};
    const QItemSelection sel = selectionModel()->selection();
    for (const QItemSelectionRange& r : sel) {
        const CellBlock b{r.top() + 1, r.left() + 1, r.bottom() + 1, r.right() + 1};
        if (block.row == 0)
            block = b;
        else
            block = {std::min(block.row, b.row), std::min(block.col, b.col),
                     std::max(block.row2, b.row2), std::max(block.col2, b.col2)};
    }
    m_sheet->setSelection(block);
    const QModelIndex cur = currentIndex();
    m_sheet->setActiveCell(cur.isValid() ? cur.row() + 1 : 0, cur.isValid() ? cur.column() + 1 : 0);
}

void SheetView::sheetSelectionChanged()
{
    if (!m_sheet || m_syncing || !m_model)
        return;
    QScopedValueRollback guard(m_syncing, true);
    const CellBlock b = m_sheet->selection();
    const int rows = m_model->rowCount(), cols = m_model->columnCount();
    const QModelIndex cur = m_model->index(m_sheet->activeRow() - 1, m_sheet->activeCol() - 1);
    if (cur.isValid())
        selectionModel()->setCurrentIndex(cur, QItemSelectionModel::NoUpdate);
    if (b.row >= 1 && b.col >= 1 && b.row <= rows && b.col <= cols) {
        const QItemSelection sel(
            m_model->index(b.row - 1, b.col - 1),
            m_model->index(std::min(b.row2, rows) - 1, std::min(b.col2, cols) - 1));
        selectionModel()->select(sel, QItemSelectionModel::ClearAndSelect);
    } else {
        selectionModel()->clearSelection();
    }
}
