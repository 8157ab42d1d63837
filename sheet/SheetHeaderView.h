#pragma once

#include <QHeaderView>
#include <QPointer>

class Sheet;

// The column header of a SheetView: Sheet::headerRows() rows of captions; a header span draws
// one caption over several columns (a group over its sub-columns) or over several header rows
// (a plain column beside a group).
class SheetHeaderView : public QHeaderView
{
    Q_OBJECT
public:
    explicit SheetHeaderView(QWidget* parent = nullptr);

    void setSheet(Sheet* sheet);
    // The height of one header row in pixels.
    void setRowHeight(int pixels);
    int rowHeight() const { return m_rowHeight; }

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    QPointer<Sheet> m_sheet;
    int m_rowHeight = 20;
};
