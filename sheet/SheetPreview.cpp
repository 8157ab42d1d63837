#include "sheet/SheetPreview.h"

#include "sheet/Sheet.h"

#include <QPainter>
#include <QScrollBar>

namespace {

constexpr int Gap = 12; // pixels around and between pages

class PreviewCanvas : public QWidget
{
public:
    explicit PreviewCanvas(SheetPreview* preview) : QWidget(preview), m_preview(preview) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        m_preview->paintCanvas(&p);
    }

private:
    SheetPreview* m_preview;
};

} // namespace

SheetPreview::SheetPreview(QWidget* parent) : QScrollArea(parent), m_canvas(new PreviewCanvas(this))
{
    setWidget(m_canvas);
    setWidgetResizable(false);
    setAlignment(Qt::AlignCenter);
    setBackgroundRole(QPalette::Dark);
}

SheetPreview::~SheetPreview() = default;

void SheetPreview::setSheet(const Sheet* sheet)
{
    m_sheet = sheet;
    m_current = 1;
    refresh();
}

void SheetPreview::refresh()
{
    m_printer.reset(m_sheet ? new SheetPrinter(*m_sheet) : nullptr);
    if (m_printer)
        m_printer->setCurrentPage(m_current);
    m_current = std::clamp(m_current, 1, std::max(1, pageCount()));
    updateCanvas();
}

int SheetPreview::pageCount() const
{
    return m_printer ? m_printer->pageCount() : 0;
}

void SheetPreview::setCurrentPage(int page)
{
    m_current = std::clamp(page, 1, std::max(1, pageCount()));
    if (m_printer)
        m_printer->setCurrentPage(m_current);
    updateCanvas();
}

void SheetPreview::setView(ViewType type, int percent, int across, int down)
{
    m_view = type;
    m_percent = std::max(1, percent);
    m_across = std::max(1, across);
    m_down = std::max(1, down);
    m_zoomedIn = false;
    updateCanvas();
}

void SheetPreview::setZoomedIn(bool zoomedIn)
{
    m_zoomedIn = zoomedIn;
    updateCanvas();
}

bool SheetPreview::multiPage() const
{
    return !m_zoomedIn && m_view == ViewType::MultiplePages && m_across * m_down > 1;
}

QPair<int, int> SheetPreview::pageGroup(int current, int pagesPerView)
{
    const int n = std::max(1, pagesPerView);
    const int first = (std::max(1, current) - 1) / n * n + 1;
    return {first, first + n - 1};
}

int SheetPreview::firstPage() const
{
    return multiPage() ? pageGroup(m_current, m_across * m_down).first : m_current;
}

int SheetPreview::lastPage() const
{
    return multiPage() ? pageGroup(m_current, m_across * m_down).second : m_current;
}

QSizeF SheetPreview::pagePixels() const
{
    if (!m_printer)
        return QSizeF();
    const QSizeF paper = m_printer->paperSize();
    const QSizeF atFull(paper.width() * logicalDpiX() / 1440.0,
                        paper.height() * logicalDpiY() / 1440.0);
    const QSizeF room(std::max(50, viewport()->width() - 2 * Gap),
                      std::max(50, viewport()->height() - 2 * Gap));
    double s = 1;
    if (m_zoomedIn)
        s = 1;
    else if (m_view == ViewType::Percentage)
        s = m_percent / 100.0;
    else if (m_view == ViewType::PageWidth)
        s = room.width() / atFull.width();
    else if (m_view == ViewType::PageHeight)
        s = room.height() / atFull.height();
    else if (m_view == ViewType::WholePage || !multiPage())
        s = std::min(room.width() / atFull.width(), room.height() / atFull.height());
    else
        s = std::min((room.width() - (m_across - 1) * Gap) / (m_across * atFull.width()),
                     (room.height() - (m_down - 1) * Gap) / (m_down * atFull.height()));
    return atFull * s;
}

void SheetPreview::updateCanvas()
{
    const QSizeF page = pagePixels();
    const int across = multiPage() ? m_across : 1, down = multiPage() ? m_down : 1;
    m_canvas->resize(std::max(1, int(across * page.width() + (across + 1) * Gap)),
                     std::max(1, int(down * page.height() + (down + 1) * Gap)));
    m_canvas->update();
    emit viewChanged();
}

void SheetPreview::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    updateCanvas();
}

void SheetPreview::paintCanvas(QPainter* painter)
{
    painter->fillRect(m_canvas->rect(), palette().dark());
    if (!m_printer)
        return;
    const QSizeF page = pagePixels();
    const int across = multiPage() ? m_across : 1;
    const int last = std::min(lastPage(), pageCount());
    for (int p = firstPage(), i = 0; p <= last; ++p, ++i) {
        const QRectF target(Gap + (i % across) * (page.width() + Gap),
                            Gap + (i / across) * (page.height() + Gap), page.width(),
                            page.height());
        painter->fillRect(target.translated(3, 3), Qt::black);
        m_printer->renderPage(painter, p, target);
    }
}
