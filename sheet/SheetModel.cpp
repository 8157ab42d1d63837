#include "sheet/SheetModel.h"

#include "core/CjkFont.h"
#include "sheet/Sheet.h"

SheetModel::SheetModel(Sheet* sheet, QObject* parent) : QAbstractTableModel(parent), m_sheet(sheet)
{
    if (m_sheet) {
        m_rows = m_sheet->maxRows();
        m_cols = m_sheet->maxCols();
        connect(m_sheet, &Sheet::structureChanged, this, &SheetModel::reset);
        connect(m_sheet, &Sheet::cellsChanged, this, &SheetModel::cellsChanged);
        connect(m_sheet, &Sheet::rowsShown, this, &SheetModel::rowsShown);
        connect(m_sheet, &QObject::destroyed, this, &SheetModel::reset);
    }
}

void SheetModel::reset()
{
    beginResetModel();
    m_rows = m_sheet ? m_sheet->maxRows() : 0;
    m_cols = m_sheet ? m_sheet->maxCols() : 0;
    endResetModel();
}

void SheetModel::rowsShown(int rows)
{
    if (rows < m_rows || (m_sheet && m_sheet->maxCols() != m_cols)) {
        beginResetModel(); // not rows added below those shown
        m_rows = rows;
        m_cols = m_sheet ? m_sheet->maxCols() : 0;
        endResetModel();
        return;
    }
    if (rows == m_rows)
        return;
    beginInsertRows(QModelIndex(), m_rows, rows - 1);
    m_rows = rows;
    endInsertRows();
}

void SheetModel::cellsChanged(const CellBlock& block)
{
    const int r1 = std::max(1, block.row), r2 = std::min(block.row2, m_rows);
    const int c1 = std::max(1, block.col), c2 = std::min(block.col2, m_cols);
    if (r1 <= r2 && c1 <= c2)
        emit dataChanged(index(r1 - 1, c1 - 1), index(r2 - 1, c2 - 1));
}

int SheetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}
int SheetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

QVariant SheetModel::data(const QModelIndex& index, int role) const
{
    QModelRoleData roleData(role);
    multiData(index, roleData);
    return roleData.data();
}

void SheetModel::multiData(const QModelIndex& index, QModelRoleDataSpan roleDataSpan) const
{
    for (QModelRoleData& rd : roleDataSpan)
        rd.clearData();
    if (!m_sheet || !index.isValid())
        return;
    const int row = index.row() + 1, col = index.column() + 1;
    std::optional<CellStyle> style; // computed once, only when a style role is asked for
    auto effective = [&]() -> const CellStyle& {
        if (!style)
            style = m_sheet->effectiveStyle(row, col);
        return *style;
    };
    for (QModelRoleData& rd : roleDataSpan) {
        switch (rd.role()) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            rd.setData(m_sheet->text(row, col));
            break;
        case Qt::TextAlignmentRole:
            rd.setData(QVariant::fromValue(*effective().hAlign | *effective().vAlign));
            break;
        case Qt::ForegroundRole:
            rd.setData(*effective().foreColor);
            break;
        case Qt::BackgroundRole:
            rd.setData(*effective().backColor);
            break;
        case Qt::FontRole:
            rd.setData(CjkFont::resolve(*effective().font));
            break;
        case BorderColorRole:
            if (effective().borderColor)
                rd.setData(*effective().borderColor);
            break;
        default:
            break;
        }
    }
}

QVariant SheetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || !m_sheet)
        return QVariant();
    if (orientation == Qt::Vertical)
        return section + 1;
    // The caption nearest the data: the last header row's text, or the text of the header
    // span that covers the column there.
    const int col = section + 1;
    for (int r = m_sheet->headerRows(); r >= 1; --r) {
        for (const CellBlock& s : m_sheet->headerSpans())
            if (s.contains(r, col))
                return m_sheet->headerText(s.row, s.col);
        const QString t = m_sheet->headerText(r, col);
        if (!t.isEmpty())
            return t;
    }
    return QVariant();
}

Qt::ItemFlags SheetModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (m_sheet && !m_sheet->locked())
        f |= Qt::ItemIsEditable;
    return f;
}

bool SheetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!m_sheet || !index.isValid() || role != Qt::EditRole || m_sheet->locked())
        return false;
    m_sheet->setText(index.row() + 1, index.column() + 1, value.toString());
    return true;
}
