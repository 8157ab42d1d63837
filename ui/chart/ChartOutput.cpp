#include "ui/chart/ChartOutput.h"

#include "sheet/ExportFile.h"
#include "sheet/PdfTextLayer.h"
#include "ui/chart/ChartFile.h"
#include "ui/chart/ChartPicture.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgGenerator>

namespace {

QString suffix(const QString& path)
{
    return QFileInfo(path).suffix().toLower();
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// The picture scaled into the page's printable area, centred.
void paintPage(const Chart2DData& chart, QPainter* painter, const QRect& page)
{
    const QSizeF size = ChartOutput::PictureSize;
    QSizeF fit = size.scaled(page.size(), Qt::KeepAspectRatio);
    const QRectF target(page.left() + (page.width() - fit.width()) / 2,
                        page.top() + (page.height() - fit.height()) / 2, fit.width(), fit.height());
    ChartPicture::render(chart, painter, target, size);
}

} // namespace

bool ChartOutput::isSupported(const QString& path)
{
    const QString ext = suffix(path);
    return ext == QLatin1String("cht") || ext == QLatin1String("png") ||
           ext == QLatin1String("svg") || ext == QLatin1String("pdf");
}

QImage ChartOutput::image(const Chart2DData& chart, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    ChartPicture::render(chart, &painter, QRectF(QPointF(0, 0), size), size);
    return image;
}

bool ChartOutput::print(const Chart2DData& chart, QPrinter* printer)
{
    printer->setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(printer))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    // The painter starts at the printable area's corner.
    paintPage(
        chart, &painter,
        QRect(QPoint(0, 0), printer->pageLayout().paintRectPixels(printer->resolution()).size()));
    return painter.end();
}

bool ChartOutput::save(const Chart2DData& chart, const QString& path, QString* error)
{
    const QString ext = suffix(path);
    if (ext == QLatin1String("cht") || ext == QLatin1String("chart2d"))
        return ChartFile::save(chart, path, error);
    if (ext != QLatin1String("png") && ext != QLatin1String("svg") && ext != QLatin1String("pdf")) {
        setError(error, QStringLiteral("a chart is saved as .cht, .png, .svg or .pdf"));
        return false;
    }
    // Written beside the target and put in its place once complete (ExportFile).
    ExportFile file(path);
    auto failed = [&] {
        setError(error, file.errorString());
        return false;
    };
    if (!file.begin())
        return failed();
    if (ext == QLatin1String("png")) {
        if (!image(chart).save(&file, "PNG") && !file.failed())
            file.fail(QStringLiteral("the picture cannot be encoded"));
        return file.commit() || failed();
    }
    if (ext == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(PictureSize);
        svg.setViewBox(QRect(QPoint(0, 0), PictureSize));
        svg.setTitle(chart.header);
        {
            QPainter painter(&svg);
            painter.fillRect(QRect(QPoint(0, 0), PictureSize), Qt::white);
            ChartPicture::render(chart, &painter, QRectF(QPointF(0, 0), PictureSize), PictureSize);
        }
        return file.commit() || failed();
    }
    {
        QPdfWriter pdf(&file);
        pdf.setTitle(chart.header);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&pdf)) {
            setError(error, QStringLiteral("cannot write the PDF file"));
            return false;
        }
        paintPage(chart, &painter,
                  QRect(QPoint(0, 0), pdf.pageLayout().paintRectPixels(pdf.resolution()).size()));
        painter.end();
    }
    if (!file.flushBuffer())
        return failed();
    // The text layer gives back the ideographs drawn, not radicals that share their glyphs.
    PdfTextLayer textLayer;
    for (const QFont& font : ChartPicture::fonts())
        textLayer.addFont(font);
    for (const QString& text :
         QStringList{chart.header, chart.footer} + chart.seriesLabels + chart.pointLabels)
        textLayer.addText(text);
    for (const ChartPointLabel& label : chart.labels)
        textLayer.addText(label.text);
    QString why;
    if (!textLayer.repair(file.temporaryPath(), &why))
        file.fail(why);
    return file.commit() || failed();
}
