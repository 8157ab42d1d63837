#pragma once

#include "sheet/PrintCodeParser.h"
#include "sheet/Sheet.h"

#include <QList>
#include <QPageSize>
#include <QRectF>

#include <memory>

class PdfTextLayer;
class QPainter;
class QPagedPaintDevice;
class QPrinter;

// Lays a sheet out on pages with its print settings and paints them: one paint path for the
// printer, PDF files and the preview. Pages break by rows and by columns (pages run down, then
// across); the column header rows repeat on every page; the header and footer (print code
// language, see PrintCodeParser) stand inside the top and bottom margins' inner edge.
//
// Everything is measured in twips with the origin at the paper's top-left corner; the grid is
// drawn at the print scale, the header and footer at their own size.
class SheetPrinter
{
public:
    // A piece of header or footer text placed on the page.
    struct PlacedRun
    {
        QRectF rect; // twips on the paper
        QFont font;  // as given by the codes (family before substitution)
        QString text;
    };

    explicit SheetPrinter(const Sheet& sheet, const QPageSize& pageSize = QPageSize(QPageSize::A4));

    // The page that PrintType::CurrentPage prints (1-based).
    void setCurrentPage(int page);
    int currentPage() const { return m_currentPage; }

    QSizeF paperSize() const { return m_paper; } // twips, in the print orientation
    int pageCount() const;                       // pages of the whole print
    QList<int> pagesToPrint() const;             // by the print type
    double scale() const { return m_scale; }
    int pagesWide() const { return int(m_colBands.size()); }
    int pagesTall() const { return int(m_rowBands.size()); }
    // The data rows and the columns a page shows.
    QPair<int, int> pageRows(int page) const;
    QList<int> pageColumns(int page) const;

    // Paints page `page` (1-based); the painter's units are twips, origin at the paper corner.
    void paintPage(QPainter* painter, int page) const;
    // Paints the page scaled into `target` (device units), keeping the paper's proportions.
    void renderPage(QPainter* painter, int page, const QRectF& target) const;

    // How the data cells are painted. Cell by cell (the default): background, lines, text.
    // Batched (what print() uses): the backgrounds, then the grid lines joined into one path,
    // then the texts set from glyphs shaped once per distinct text, one glyph run per font and
    // colour. The geometry is the same; only aliased raster painting may round a line's edge to
    // another pixel. A page with bordered cells is always painted cell by cell, as the borders'
    // overlap with their neighbours' lines depends on that order.
    void setBatchedPainting(bool on) { m_batched = on; }
    bool batchedPainting() const { return m_batched; }

    QList<PlacedRun> headerRuns(int page) const;
    QList<PlacedRun> footerRuns(int page) const;

    // Prints the pages to print on `printer` (its paper size; orientation from the settings).
    bool print(QPrinter* printer) const;
    // Prints to a PDF file whose text layer gives back the texts drawn (PdfTextLayer).
    bool printToPdf(const QString& path, QString* error = nullptr) const;

    // `font` at the same point size for painting in twips, its Chinese characters in the Noto
    // CJK family of the language (CjkFont), not shaped where the script does not need it.
    static QFont twipFont(const QFont& font);

private:
    const Sheet& m_sheet;
    QPageSize m_pageSize;
    QSizeF m_paper;
    int m_currentPage = 1;
    QList<PrintLine> m_header, m_footer;
    double m_headerHeight = 0, m_footerHeight = 0;
    QRectF m_area; // where the grid may stand, twips on the paper
    QList<int> m_columns;
    int m_firstRow = 1, m_lastRow = 0;
    int m_headerRows = 0;
    double m_rowHeaderWidth = 0;
    double m_scale = 1;
    QList<QList<int>> m_colBands;
    QList<QPair<int, int>> m_rowBands;
    bool m_batched = false;
    // Texts shaped so far, kept from page to page (painting is const).
    struct TextCache;
    mutable std::shared_ptr<TextCache> m_textCache;
    PdfTextLayer* m_textLayer = nullptr; // told every text painted, while printing to PDF

    void layout();
    int paginate(double scale);
    double lineHeight(const PrintLine& line) const;
    QList<PlacedRun> place(const QList<PrintLine>& lines, double top, int page) const;
    void paintGrid(QPainter* painter, int page) const;
    bool print(QPrinter* printer, PdfTextLayer* textLayer) const;
    // The pages to print on a printer or PDF writer of `resolution` dots an inch.
    bool paintOn(QPagedPaintDevice* device, int resolution, PdfTextLayer* textLayer) const;
};
