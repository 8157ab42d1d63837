#pragma once

#include <QPointer>
#include <QTableView>

class Sheet;
class SheetModel;
class SheetHeaderView;

// The on-screen grid: a QTableView over a Sheet with its group header, column widths and row
// heights in twips (converted at the widget's logical DPI), the sheet's colours, fonts,
// alignment and spans, grid lines and scroll bars. Read-only while the sheet is locked. The
// selection block and the active cell are kept in the sheet both ways.
class SheetView : public QTableView
{
    Q_OBJECT
public:
    explicit SheetView(QWidget* parent = nullptr);
    explicit SheetView(Sheet* sheet, QWidget* parent = nullptr);

    void setSheet(Sheet* sheet);
    Sheet* sheet() const { return m_sheet; }
    SheetModel* sheetModel() const { return m_model; }
    SheetHeaderView* groupHeader() const { return m_header; }

signals:
    // A cell was double-clicked (1-based); screens open a row's detail on it.
    void cellDoubleClicked(int row, int col);

private:
    QPointer<Sheet> m_sheet;
    SheetModel* m_model = nullptr;
    SheetHeaderView* m_header = nullptr;
    bool m_syncing = false;

    void applyLayout();
    void viewSelectionChanged();
    void sheetSelectionChanged();
};
