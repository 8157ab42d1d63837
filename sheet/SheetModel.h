#pragma once

#include <QAbstractTableModel>
#include <QPointer>

class Sheet;
struct CellBlock;

// A Qt table model over a Sheet: grid row r, column c (1-based) is model index (r-1, c-1).
// Display text, alignment, colours and fonts come from the sheet's effective cell style; the
// model resets when the sheet's structure changes and reports changed cells as dataChanged.
class SheetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit SheetModel(Sheet* sheet, QObject* parent = nullptr);

    // The colour of the cell's own border (a QColor), invalid when it has none.
    static constexpr int BorderColorRole = Qt::UserRole + 1;

    Sheet* sheet() const { return m_sheet; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    void multiData(const QModelIndex& index, QModelRoleDataSpan roleDataSpan) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    QPointer<Sheet> m_sheet;
    int m_rows = 0, m_cols = 0; // as of the last reset
    void reset();
    void cellsChanged(const CellBlock& block);
    void rowsShown(int rows);
};
