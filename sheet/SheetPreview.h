#pragma once

#include "sheet/SheetPrinter.h"

#include <QPointer>
#include <QScrollArea>

#include <memory>

class Sheet;

// The print preview control: shows a sheet's printed pages, one page at a percentage or fitted
// to the width, height or whole window, or several pages at once (pages across × down). In a
// multi-page view that is zoomed out, the pages shown are the group of the current page:
// first = ⌊(current − 1) ÷ n⌋ × n + 1 to first + n − 1, n = across × down. Zoomed in, the
// current page shows at 100 %.
class SheetPreview : public QScrollArea
{
    Q_OBJECT
public:
    enum class ViewType
    {
        Percentage,
        PageWidth,
        PageHeight,
        WholePage,
        MultiplePages
    };

    explicit SheetPreview(QWidget* parent = nullptr);
    ~SheetPreview() override;

    void setSheet(const Sheet* sheet);
    const Sheet* sheet() const { return m_sheet; }
    // Lays the pages out again (after the print settings changed).
    void refresh();

    int pageCount() const;
    int currentPage() const { return m_current; }
    void setCurrentPage(int page);

    void setView(ViewType type, int percent = 100, int across = 1, int down = 1);
    ViewType viewType() const { return m_view; }
    int percent() const { return m_percent; }
    int pagesAcross() const { return m_across; }
    int pagesDown() const { return m_down; }
    bool isZoomedIn() const { return m_zoomedIn; }
    void setZoomedIn(bool zoomedIn);

    // The pages of the group shown (last may pass the page count).
    int firstPage() const;
    int lastPage() const;
    static QPair<int, int> pageGroup(int current, int pagesPerView);

    const SheetPrinter* printer() const { return m_printer.get(); }
    void paintCanvas(QPainter* painter);

signals:
    void viewChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QPointer<const Sheet> m_sheet;
    std::unique_ptr<SheetPrinter> m_printer;
    QWidget* m_canvas;
    ViewType m_view = ViewType::WholePage;
    int m_percent = 100;
    int m_across = 1, m_down = 1;
    bool m_zoomedIn = false;
    int m_current = 1;

    bool multiPage() const;
    QSizeF pagePixels() const; // size of one page on screen
    void updateCanvas();
};
