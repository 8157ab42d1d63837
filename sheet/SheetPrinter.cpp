#include "sheet/SheetPrinter.h"

#include "core/CjkFont.h"
#include "sheet/ExportFile.h"
#include "sheet/GlyphText.h"
#include "sheet/PdfTextLayer.h"
#include "sheet/SheetCells.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPrinter>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <optional>
#include <vector>

namespace {

constexpr double Padding = 45;      // twips between a cell's edge and its text
constexpr double LineWidth = 10;    // grid lines, twips
constexpr double BorderWidth = 25;  // outline of the printed grid
constexpr double ShadowOffset = 70; // shadow under the grid
constexpr double RowHeaderWidth = 600;
constexpr double HeaderGap = 120; // between the page header/footer and the grid

Qt::Alignment sectionAlignment(int section)
{
    return section == PrintLine::Left     ? Qt::AlignLeft
           : section == PrintLine::Center ? Qt::AlignHCenter
                                          : Qt::AlignRight;
}

QString runText(const PrintRun& run, int page, int count)
{
    switch (run.field) {
    case PrintRun::Field::Page:
        return QString::number(page);
    case PrintRun::Field::PageCount:
        return QString::number(count);
    default:
        return run.text;
    }
}

} // namespace

QFont SheetPrinter::twipFont(const QFont& font)
{
    // Resolved once per font and language: painting asks for the font of every cell.
    thread_local QHash<QFont, QFont> resolved;
    thread_local int language = -1;
    if (language != CjkFont::languageCode()) {
        resolved.clear();
        language = CjkFont::languageCode();
    }
    auto it = resolved.constFind(font);
    if (it != resolved.constEnd())
        return *it;
    if (resolved.size() > 256)
        resolved.clear();
    QFont f = CjkFont::resolve(font);
    const double points = font.pointSizeF() > 0  ? font.pointSizeF()
                          : font.pixelSize() > 0 ? font.pixelSize() * 0.75
                                                 : 9.0;
    f.setPixelSize(std::max(1, int(std::lround(points * 20))));
    // Each character drawn with the glyph its font maps it to: the forms that shaping puts in
    // some contexts (the Noto CJK fonts' digits after a letter, ligatures) map back to no
    // character, so a PDF's text layer would lose them. Latin and Chinese need no shaping.
    f.setStyleStrategy(QFont::StyleStrategy(f.styleStrategy() | QFont::PreferNoShaping));
    resolved.insert(font, f);
    return f;
}

SheetPrinter::SheetPrinter(const Sheet& sheet, const QPageSize& pageSize)
    : m_sheet(sheet), m_pageSize(pageSize)
{
    layout();
}

void SheetPrinter::setCurrentPage(int page)
{
    m_currentPage = std::max(1, page);
}

double SheetPrinter::lineHeight(const PrintLine& line) const
{
    double h = QFontMetricsF(twipFont(line.font)).height();
    for (const QList<PrintRun>& runs : line.sections)
        for (const PrintRun& run : runs)
            h = std::max(h, QFontMetricsF(twipFont(run.font)).height());
    return h;
}

void SheetPrinter::layout()
{
    const PrintSettings& ps = m_sheet.printSettings();
    const QSizeF mm = m_pageSize.size(QPageSize::Millimeter);
    m_paper = QSizeF(mm.width() / 25.4 * 1440, mm.height() / 25.4 * 1440);
    if (ps.orientation == PrintSettings::Orientation::Landscape)
        m_paper.transpose();

    const QFont base = m_sheet.defaultFont();
    m_header = PrintCodeParser::parse(ps.header, base);
    m_footer = PrintCodeParser::parse(ps.footer, base);
    m_headerHeight = m_footerHeight = 0;
    for (const PrintLine& l : m_header)
        m_headerHeight += lineHeight(l);
    for (const PrintLine& l : m_footer)
        m_footerHeight += lineHeight(l);

    double top = ps.marginTop + m_headerHeight + (m_header.isEmpty() ? 0 : HeaderGap);
    double bottom =
        m_paper.height() - ps.marginBottom - m_footerHeight - (m_footer.isEmpty() ? 0 : HeaderGap);
    if (bottom - top < 1440) // margins and header leave under an inch: keep an inch for the grid
        bottom = top + 1440;
    m_area =
        QRectF(ps.marginLeft, top,
               std::max(1440.0, m_paper.width() - ps.marginLeft - ps.marginRight), bottom - top);

    // What prints: the whole used area or the chosen block.
    const SheetCells cells(m_sheet);
    int firstCol = 1, lastCol = m_sheet.maxCols();
    m_firstRow = 1;
    m_lastRow = m_sheet.maxRows();
    if (ps.printType == PrintSettings::PrintType::CellRange && ps.blockRow >= 1 &&
        ps.blockCol >= 1) {
        m_firstRow = ps.blockRow;
        m_lastRow = std::min(ps.blockRow2, m_lastRow);
        firstCol = ps.blockCol;
        lastCol = std::min(ps.blockCol2, lastCol);
    } else if (ps.dataCellsOnly) {
        auto rowEmpty = [&](int r) {
            for (int c : cells.visibleColumns())
                if (!m_sheet.isEmpty(r, c))
                    return false;
            return true;
        };
        while (m_lastRow > 0 && rowEmpty(m_lastRow))
            --m_lastRow;
    }
    m_columns.clear();
    for (int c : cells.visibleColumns())
        if (c >= firstCol && c <= lastCol)
            m_columns.append(c);
    m_headerRows = ps.columnHeaders ? m_sheet.headerRows() : 0;
    m_rowHeaderWidth = ps.rowHeaders ? RowHeaderWidth : 0;

    // Scale.
    double totalWidth = m_rowHeaderWidth, totalHeight = m_headerRows * Sheet::DefaultRowHeight;
    for (int c : m_columns)
        totalWidth += m_sheet.columnWidth(c);
    for (int r = m_firstRow; r <= m_lastRow; ++r)
        totalHeight += m_sheet.rowHeight(r);
    switch (ps.scaling) {
    case PrintSettings::Scaling::None:
        m_scale = 1;
        break;
    case PrintSettings::Scaling::Zoom:
        m_scale = std::clamp(ps.zoomFactor, 0.1, 4.0);
        break;
    case PrintSettings::Scaling::SmartPrint: {
        // Fit the width when that saves pages.
        m_scale = 1;
        const int pages = paginate(1);
        if (totalWidth > m_area.width()) {
            const double fit = m_area.width() / totalWidth;
            if (paginate(fit) < pages)
                m_scale = fit;
        }
        break;
    }
    case PrintSettings::Scaling::BestFit: {
        const int wide = std::max(1, ps.bestFitPagesWide), tall = std::max(1, ps.bestFitPagesTall);
        m_scale = std::min({1.0, wide * m_area.width() / std::max(1.0, totalWidth),
                            tall * m_area.height() / std::max(1.0, totalHeight)});
        while (m_scale > 0.05) {
            paginate(m_scale);
            if (m_colBands.size() <= wide && m_rowBands.size() <= tall)
                break;
            m_scale *= 0.96;
        }
        break;
    }
    }
    paginate(m_scale);
}

int SheetPrinter::paginate(double scale)
{
    const double width = m_area.width() / scale - m_rowHeaderWidth;
    const double height = m_area.height() / scale - m_headerRows * Sheet::DefaultRowHeight;
    m_colBands.clear();
    double used = 0;
    for (int c : m_columns) {
        const double w = m_sheet.columnWidth(c);
        if (m_colBands.isEmpty() || (used + w > width + 0.5 && !m_colBands.last().isEmpty())) {
            m_colBands.append(QList<int>());
            used = 0;
        }
        m_colBands.last().append(c);
        used += w;
    }
    if (m_colBands.isEmpty())
        m_colBands.append(QList<int>());
    m_rowBands.clear();
    used = 0;
    for (int r = m_firstRow; r <= m_lastRow; ++r) {
        const double h = m_sheet.rowHeight(r);
        if (m_rowBands.isEmpty() || used + h > height + 0.5) {
            if (!m_rowBands.isEmpty() && m_rowBands.last().second < m_rowBands.last().first)
                m_rowBands.last().second = r; // a row taller than the page gets a page of its own
            else
                m_rowBands.append({r, r - 1});
            used = 0;
        }
        m_rowBands.last().second = r;
        used += h;
    }
    if (m_rowBands.isEmpty())
        m_rowBands.append({m_firstRow, m_firstRow - 1});
    return int(m_colBands.size() * m_rowBands.size());
}

int SheetPrinter::pageCount() const
{
    return int(m_colBands.size() * m_rowBands.size());
}

QList<int> SheetPrinter::pagesToPrint() const
{
    const PrintSettings& ps = m_sheet.printSettings();
    QList<int> pages;
    const int count = pageCount();
    switch (ps.printType) {
    case PrintSettings::PrintType::CurrentPage:
        pages.append(std::clamp(m_currentPage, 1, count));
        break;
    case PrintSettings::PrintType::PageRange:
        for (int p = std::max(1, ps.pageStart); p <= std::min(ps.pageEnd, count); ++p)
            pages.append(p);
        break;
    default:
        for (int p = 1; p <= count; ++p)
            pages.append(p);
    }
    return pages;
}

QPair<int, int> SheetPrinter::pageRows(int page) const
{
    const int i = (page - 1) % int(m_rowBands.size());
    return m_rowBands.value(i, {1, 0});
}

QList<int> SheetPrinter::pageColumns(int page) const
{
    return m_colBands.value((page - 1) / int(m_rowBands.size()));
}

QList<SheetPrinter::PlacedRun> SheetPrinter::place(const QList<PrintLine>& lines, double top,
                                                   int page) const
{
    QList<PlacedRun> placed;
    const double left = m_sheet.printSettings().marginLeft;
    const double width =
        m_paper.width() - m_sheet.printSettings().marginLeft - m_sheet.printSettings().marginRight;
    const int count = pageCount();
    double y = top;
    for (const PrintLine& line : lines) {
        const double h = lineHeight(line);
        for (int s = 0; s < 3; ++s) {
            QList<PlacedRun> runs;
            double total = 0;
            for (const PrintRun& run : line.sections[s]) {
                const QString text = runText(run, page, count);
                const double w = QFontMetricsF(twipFont(run.font)).horizontalAdvance(text);
                runs.append({QRectF(0, y, w, h), run.font, text});
                total += w;
            }
            const Qt::Alignment a = sectionAlignment(s);
            double x = a == Qt::AlignLeft      ? left
                       : a == Qt::AlignHCenter ? left + (width - total) / 2
                                               : left + width - total;
            for (PlacedRun& r : runs) {
                r.rect.moveLeft(x);
                x += r.rect.width();
                placed.append(r);
            }
        }
        y += h;
    }
    return placed;
}

QList<SheetPrinter::PlacedRun> SheetPrinter::headerRuns(int page) const
{
    return place(m_header, m_sheet.printSettings().marginTop, page);
}

QList<SheetPrinter::PlacedRun> SheetPrinter::footerRuns(int page) const
{
    return place(m_footer, m_paper.height() - m_sheet.printSettings().marginBottom - m_footerHeight,
                 page);
}

void SheetPrinter::paintPage(QPainter* painter, int page) const
{
    painter->save();
    painter->setRenderHint(QPainter::TextAntialiasing);
    painter->fillRect(QRectF(QPointF(0, 0), m_paper), Qt::white);
    painter->setPen(Qt::black);
    for (const QList<PlacedRun>& runs : {headerRuns(page), footerRuns(page)}) {
        for (const PlacedRun& run : runs) {
            const QFont f = twipFont(run.font);
            painter->setFont(f);
            if (m_textLayer) {
                m_textLayer->addText(run.text);
                m_textLayer->addFont(f);
            }
            const QFontMetricsF fm(f);
            // Runs of one line share the line's baseline.
            painter->drawText(QPointF(run.rect.left(), run.rect.bottom() - fm.descent()), run.text);
        }
    }
    paintGrid(painter, page);
    painter->restore();
}

struct SheetPrinter::TextCache
{
    QPaintDevice* device = nullptr;
    PdfTextLayer* textLayer = nullptr;
    QList<QPair<QFont, std::shared_ptr<FontShaper>>> shapers;

    FontShaper& shaper(QPainter* painter, const QFont& font)
    {
        if (painter->device() != device) {
            shapers.clear();
            device = painter->device();
        }
        for (auto& [f, s] : shapers)
            if (f == font)
                return *s;
        painter->setFont(SheetPrinter::twipFont(font));
        shapers.append({font, std::make_shared<FontShaper>(painter->font(), device, textLayer)});
        return *shapers.last().second;
    }
};

void SheetPrinter::paintGrid(QPainter* painter, int page) const
{
    const PrintSettings& ps = m_sheet.printSettings();
    const QList<int> cols = pageColumns(page);
    const QPair<int, int> rows = pageRows(page);
    const double headerRowHeight = Sheet::DefaultRowHeight;

    // Column positions on this page.
    QHash<int, QPair<double, double>> colX; // column -> (x, width)
    double gridWidth = m_rowHeaderWidth;
    for (int c : cols) {
        const double w = m_sheet.columnWidth(c);
        colX.insert(c, {gridWidth, w});
        gridWidth += w;
    }
    // Data row -> (y, height), rows.first at index 0.
    std::vector<QPair<double, double>> rowY;
    double gridHeight = m_headerRows * headerRowHeight;
    for (int r = rows.first; r <= rows.second; ++r) {
        const double h = m_sheet.rowHeight(r);
        rowY.push_back({gridHeight, h});
        gridHeight += h;
    }
    if (cols.isEmpty())
        return;

    double x = m_area.left(), y = m_area.top();
    if (ps.centerHorizontal)
        x += std::max(0.0, (m_area.width() - gridWidth * m_scale) / 2);
    if (ps.centerVertical)
        y += std::max(0.0, (m_area.height() - gridHeight * m_scale) / 2);
    painter->save();
    painter->translate(x, y);
    painter->scale(m_scale, m_scale);
    const QRectF grid(0, 0, gridWidth, gridHeight);
    if (ps.shadows)
        painter->fillRect(grid.translated(ShadowOffset, ShadowOffset), QColor(128, 128, 128));
    painter->fillRect(grid, Qt::white);

    const QPen linePen(ps.color ? QColor(160, 160, 160) : QColor(Qt::black), LineWidth);
    const QColor headerBack = ps.color ? QColor(224, 224, 224) : QColor(Qt::white);
    auto drawCell = [&](const QRectF& rect, const QString& text, const QColor& back,
                        const QColor& fore, const QFont& font, Qt::Alignment align, bool wrap) {
        if (back != Qt::white)
            painter->fillRect(rect, back);
        if (ps.gridLines) {
            painter->setPen(linePen);
            painter->drawRect(rect);
        }
        if (text.isEmpty())
            return;
        painter->setPen(fore);
        painter->setFont(twipFont(font));
        if (m_textLayer) {
            m_textLayer->addText(text);
            m_textLayer->addFont(painter->font());
        }
        painter->drawText(rect.adjusted(Padding, 0, -Padding, 0),
                          int(align) | (wrap ? Qt::TextWordWrap : Qt::TextSingleLine), text);
    };
    // The part of a block of columns c1..c2 that this page shows.
    auto spanX = [&](int c1, int c2, double& left, double& right) {
        bool any = false;
        for (int c : cols) {
            if (c < c1 || c > c2)
                continue;
            const auto [cx, cw] = colX.value(c);
            if (!any)
                left = cx;
            right = cx + cw;
            any = true;
        }
        return any;
    };

    const SheetCells cells(m_sheet);
    const QFont headerFont = m_sheet.defaultFont();
    // Column header rows, group headers over their sub-columns.
    for (int hr = 1; hr <= m_headerRows; ++hr) {
        const double hy = (hr - 1) * headerRowHeight;
        if (m_rowHeaderWidth > 0)
            drawCell(QRectF(0, hy, m_rowHeaderWidth, headerRowHeight), QString(), headerBack,
                     Qt::black, headerFont, Qt::AlignCenter, false);
        for (int c : cols) {
            const CellBlock* span = cells.headerSpanAt(hr, c);
            double left = colX.value(c).first, right = left + colX.value(c).second;
            double top = hy, bottom = hy + headerRowHeight;
            if (span) {
                int first = -1;
                for (int pc : cols)
                    if (pc >= span->col && pc <= span->col2) {
                        first = pc;
                        break;
                    }
                if (hr != span->row || c != first)
                    continue;
                spanX(span->col, span->col2, left, right);
                bottom = std::min(span->row2, m_headerRows) * headerRowHeight;
            }
            drawCell(QRectF(left, top, right - left, bottom - top), cells.headerCaption(hr, c),
                     headerBack, Qt::black, headerFont, Qt::AlignCenter, true);
        }
    }

    // Data rows: every cell as it will be drawn (a span once per page, from its first cell on
    // the page), in row order.
    struct Item
    {
        QRectF rect;
        QString text;
        QColor back, fore;
        QFont font;
        Qt::Alignment align;
        std::optional<QColor> border;
    };
    std::vector<Item> items;
    items.reserve(rowY.size() * size_t(cols.size() + 1));
    bool bordered = false;
    const bool spans = !m_sheet.spans().isEmpty();
    for (int r = rows.first; r <= rows.second; ++r) {
        const auto [ry, rh] = rowY[size_t(r - rows.first)];
        if (m_rowHeaderWidth > 0)
            items.push_back({QRectF(0, ry, m_rowHeaderWidth, rh), QString::number(r), headerBack,
                             Qt::black, headerFont, Qt::AlignCenter, std::nullopt});
        for (int c : cols) {
            const CellBlock* span = spans ? cells.spanAt(r, c) : nullptr;
            double left = colX.value(c).first, right = left + colX.value(c).second;
            double top = ry, bottom = ry + rh;
            int ar = r, ac = c;
            if (span) {
                const int firstRow = std::max(span->row, rows.first);
                int firstCol = -1;
                for (int pc : cols)
                    if (pc >= span->col && pc <= span->col2) {
                        firstCol = pc;
                        break;
                    }
                if (r != firstRow || c != firstCol)
                    continue;
                spanX(span->col, span->col2, left, right);
                const auto [ly, lh] = rowY[size_t(std::min(span->row2, rows.second) - rows.first)];
                bottom = ly + lh;
                ar = span->row;
                ac = span->col;
            }
            const CellStyle st = m_sheet.effectiveStyle(ar, ac);
            std::optional<QColor> border;
            if (st.borderColor) {
                border = ps.color ? *st.borderColor : QColor(Qt::black);
                bordered = true;
            }
            items.push_back({QRectF(left, top, right - left, bottom - top), m_sheet.text(ar, ac),
                             ps.color ? *st.backColor : QColor(Qt::white),
                             ps.color ? *st.foreColor : QColor(Qt::black), *st.font,
                             *st.hAlign | *st.vAlign, border});
        }
    }

    if (!m_batched || bordered) {
        for (const Item& it : items) {
            drawCell(it.rect, it.text, it.back, it.fore, it.font, it.align, false);
            if (it.border) {
                painter->setPen(QPen(*it.border, LineWidth));
                painter->setBrush(Qt::NoBrush);
                painter->drawRect(it.rect);
            }
        }
    } else {
        // Backgrounds, one rectangle for a run of cells of one colour down a column.
        struct Fill
        {
            double y1, y2;
            QColor color;
        };
        std::map<std::pair<double, double>, Fill> open; // (x, width) -> run
        auto flush = [&](const std::pair<double, double>& at, const Fill& f) {
            painter->fillRect(QRectF(at.first, f.y1, at.second, f.y2 - f.y1), f.color);
        };
        for (const Item& it : items) {
            if (it.back == Qt::white)
                continue;
            const std::pair<double, double> at{it.rect.left(), it.rect.width()};
            auto o = open.find(at);
            if (o != open.end() && o->second.color == it.back && o->second.y2 == it.rect.top()) {
                o->second.y2 = it.rect.bottom();
                continue;
            }
            if (o != open.end())
                flush(at, o->second);
            open[at] = {it.rect.top(), it.rect.bottom(), it.back};
        }
        for (const auto& [at, f] : open)
            flush(at, f);

        // Grid lines: the cells' edges joined into lines and stroked as one path.
        if (ps.gridLines) {
            using Edges = std::map<double, std::vector<std::pair<double, double>>>;
            Edges across, down;
            for (const Item& it : items) {
                const QRectF& r = it.rect;
                across[r.top()].push_back({r.left(), r.right()});
                across[r.bottom()].push_back({r.left(), r.right()});
                down[r.left()].push_back({r.top(), r.bottom()});
                down[r.right()].push_back({r.top(), r.bottom()});
            }
            QPainterPath path;
            auto join = [&](Edges& edges, bool horizontal) {
                for (auto& [at, spans] : edges) {
                    std::sort(spans.begin(), spans.end());
                    auto line = [&](double a, double b) {
                        path.moveTo(horizontal ? QPointF(a, at) : QPointF(at, a));
                        path.lineTo(horizontal ? QPointF(b, at) : QPointF(at, b));
                    };
                    double a = spans.front().first, b = spans.front().second;
                    for (const auto& [s1, s2] : spans) {
                        if (s1 > b) {
                            line(a, b);
                            a = s1;
                        }
                        b = std::max(b, s2);
                    }
                    line(a, b);
                }
            };
            join(across, true);
            join(down, false);
            painter->strokePath(path, linePen);
        }

        // Texts. Those wider than their cell are clipped to their column's text strip (the
        // cell's text rectangle, extended over the rows: they fit their row's height).
        if (!m_textCache) {
            m_textCache = std::make_shared<TextCache>();
            m_textCache->textLayer = m_textLayer;
        }
        PageText text;
        std::map<std::pair<double, double>, PageText> strips; // (left, right) -> texts
        std::vector<const Item*> unfit;
        const QFont* lastFont = nullptr;
        FontShaper* shaper = nullptr;
        for (const Item& it : items) {
            if (it.text.isEmpty())
                continue;
            if (!lastFont || !(*lastFont == it.font)) {
                shaper = &m_textCache->shaper(painter, it.font);
                lastFont = &it.font;
            }
            const QRectF r = it.rect.adjusted(Padding, 0, -Padding, 0);
            if (!shaper->place(it.text, r, it.align, it.fore, text, strips[{r.left(), r.right()}]))
                unfit.push_back(&it);
        }
        for (const auto& [at, clipped] : strips) {
            if (clipped.isEmpty())
                continue;
            painter->save();
            painter->setClipRect(QRectF(at.first, 0, at.second - at.first, gridHeight),
                                 Qt::IntersectClip);
            clipped.paint(painter);
            painter->restore();
        }
        text.paint(painter);
        for (const Item* it : unfit) {
            painter->setPen(it->fore);
            painter->setFont(twipFont(it->font));
            if (m_textLayer) {
                m_textLayer->addText(it->text);
                m_textLayer->addFont(painter->font());
            }
            painter->drawText(it->rect.adjusted(Padding, 0, -Padding, 0),
                              int(it->align) | Qt::TextSingleLine, it->text);
        }
    }
    if (ps.border) {
        painter->setPen(QPen(Qt::black, BorderWidth));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(grid);
    }
    painter->restore();
}

void SheetPrinter::renderPage(QPainter* painter, int page, const QRectF& target) const
{
    const double s = std::min(target.width() / m_paper.width(), target.height() / m_paper.height());
    painter->save();
    painter->translate(target.left() + (target.width() - m_paper.width() * s) / 2,
                       target.top() + (target.height() - m_paper.height() * s) / 2);
    painter->scale(s, s);
    paintPage(painter, page);
    painter->restore();
}

bool SheetPrinter::print(QPrinter* printer) const
{
    return print(printer, nullptr);
}

bool SheetPrinter::print(QPrinter* printer, PdfTextLayer* textLayer) const
{
    printer->setFullPage(true);
    return paintOn(printer, printer->resolution(), textLayer);
}

bool SheetPrinter::paintOn(QPagedPaintDevice* device, int resolution, PdfTextLayer* textLayer) const
{
    const PrintSettings& ps = m_sheet.printSettings();
    device->setPageOrientation(ps.orientation == PrintSettings::Orientation::Landscape
                                   ? QPageLayout::Landscape
                                   : QPageLayout::Portrait);
    // Laid out again on the device's paper.
    SheetPrinter onPaper(m_sheet, device->pageLayout().pageSize());
    onPaper.setCurrentPage(m_currentPage);
    onPaper.setBatchedPainting(true);
    onPaper.m_textLayer = textLayer;
    QPainter painter;
    if (!painter.begin(device))
        return false;
    const double toDevice = resolution / 1440.0;
    bool first = true;
    for (int page : onPaper.pagesToPrint()) {
        if (!first && !device->newPage())
            return false;
        first = false;
        painter.save();
        painter.scale(toDevice, toDevice);
        onPaper.paintPage(&painter, page);
        painter.restore();
    }
    return painter.end();
}

bool SheetPrinter::printToPdf(const QString& path, QString* error) const
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    // Written beside the target, completed by the text layer's update and only then put in
    // its place: a full disk or a killed run never leaves a broken PDF under the name.
    ExportFile file(path);
    if (!file.begin())
        return fail(file.errorString());
    PdfTextLayer textLayer;
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(1200); // as a high-resolution printer prints
        pdf.setPageSize(m_pageSize);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setCreator(QStringLiteral("vtxQueryApp"));
        if (!paintOn(&pdf, pdf.resolution(), &textLayer) && !file.failed())
            return fail(QStringLiteral("cannot write %1").arg(path));
    } // the file is complete and the writer's memory freed
    if (!file.flushBuffer())
        return fail(file.errorString()); // the system's reason, not a damaged PDF's
    QString why;
    if (!textLayer.repair(file.temporaryPath(), &why))
        file.fail(why);
    if (!file.commit())
        return fail(file.errorString());
    return true;
}
