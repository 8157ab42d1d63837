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

// The chart's picture scaled into the target, centred.
ChartOutput::Picture pictureOf(const Chart2DData& chart)
{
    ChartOutput::Picture picture;
    picture.title = chart.header;
    picture.render = [&chart](QPainter* painter, const QRectF& page) {
        const QSizeF size = ChartOutput::PictureSize;
        const QSizeF fit = size.scaled(page.size(), Qt::KeepAspectRatio);
        const QRectF target(page.left() + (page.width() - fit.width()) / 2,
                            page.top() + (page.height() - fit.height()) / 2, fit.width(),
                            fit.height());
        ChartPicture::render(chart, painter, target, size);
    };
    picture.fonts = ChartPicture::fonts();
    picture.texts =
        QStringList{chart.header, chart.footer} + chart.seriesLabels + chart.pointLabels;
    for (const ChartPointLabel& label : chart.labels)
        picture.texts << label.text;
    return picture;
}

} // namespace

bool ChartOutput::isSupported(const QString& path)
{
    const QString ext = suffix(path);
    return ext == QLatin1String("cht") || ext == QLatin1String("png") ||
           ext == QLatin1String("svg") || ext == QLatin1String("pdf");
}

bool ChartOutput::isPicture(const QString& path)
{
    const QString ext = suffix(path);
    return ext == QLatin1String("png") || ext == QLatin1String("svg") ||
           ext == QLatin1String("pdf");
}

QImage ChartOutput::image(const Chart2DData& chart, QSize size)
{
    // Drawn to the size asked for, which need not keep the picture's proportions.
    Picture picture = pictureOf(chart);
    picture.render = [&chart, size](QPainter* painter, const QRectF& target) {
        ChartPicture::render(chart, painter, target, size);
    };
    return image(picture, size);
}

QImage ChartOutput::image(const Picture& picture, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    picture.render(&painter, QRectF(QPointF(0, 0), size));
    return image;
}

bool ChartOutput::print(const Chart2DData& chart, QPrinter* printer)
{
    return print(pictureOf(chart), printer);
}

bool ChartOutput::print(const Picture& picture, QPrinter* printer)
{
    printer->setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(printer))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    // The painter starts at the printable area's corner.
    picture.render(
        &painter,
        QRectF(QPointF(0, 0), printer->pageLayout().paintRectPixels(printer->resolution()).size()));
    return painter.end();
}

bool ChartOutput::save(const Chart2DData& chart, const QString& path, QString* error)
{
    const QString ext = suffix(path);
    if (ext == QLatin1String("cht") || ext == QLatin1String("chart2d"))
        return ChartFile::save(chart, path, error);
    if (!isPicture(path)) {
        setError(error, QStringLiteral("a chart is saved as .cht, .png, .svg or .pdf"));
        return false;
    }
    return save(pictureOf(chart), path, error);
}

bool ChartOutput::save(const Picture& picture, const QString& path, QString* error)
{
    const QString ext = suffix(path);
    if (!isPicture(path)) {
        setError(error, QStringLiteral("a chart is saved as .png, .svg or .pdf"));
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
        if (!image(picture).save(&file, "PNG") && !file.failed())
            file.fail(QStringLiteral("the picture cannot be encoded"));
        return file.commit() || failed();
    }
    if (ext == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(PictureSize);
        svg.setViewBox(QRect(QPoint(0, 0), PictureSize));
        svg.setTitle(picture.title);
        {
            QPainter painter(&svg);
            painter.fillRect(QRect(QPoint(0, 0), PictureSize), Qt::white);
            picture.render(&painter, QRectF(QPointF(0, 0), PictureSize));
        }
        return file.commit() || failed();
    }
    {
        QPdfWriter pdf(&file);
        pdf.setTitle(picture.title);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&pdf)) {
            setError(error, QStringLiteral("cannot write the PDF file"));
            return false;
        }
        picture.render(&painter, QRectF(QPointF(0, 0),
                                        pdf.pageLayout().paintRectPixels(pdf.resolution()).size()));
        painter.end();
    }
    if (!file.flushBuffer())
        return failed();
    // The text layer gives back the ideographs drawn, not radicals that share their glyphs.
    PdfTextLayer textLayer;
    for (const QFont& font : picture.fonts)
        textLayer.addFont(font);
    for (const QString& text : picture.texts)
        textLayer.addText(text);
    QString why;
    if (!textLayer.repair(file.temporaryPath(), &why))
        file.fail(why);
    return file.commit() || failed();
}
