#include "sheet/SheetOutput.h"

#include "sheet/SheetExporter.h"
#include "sheet/SheetPrinter.h"

#include <QFileInfo>

QString SheetOutput::targetPath(const QString& path)
{
    if (QFileInfo(path).suffix().compare(QLatin1String("xls"), Qt::CaseInsensitive) == 0)
        return path + QLatin1Char('x');
    return path;
}

bool SheetOutput::isSupported(const QString& path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0 ||
           SheetExporter::forFile(path) != nullptr;
}

bool SheetOutput::save(const Sheet& sheet, const QString& path, const QString& caption,
                       QString* error)
{
    const QString target = targetPath(path);
    if (QFileInfo(target).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0)
        return SheetPrinter(sheet).printToPdf(target, error);
    const std::unique_ptr<SheetExporter> exporter = SheetExporter::forFile(target);
    if (!exporter) {
        if (error)
            *error = QStringLiteral("unknown file type: %1").arg(QFileInfo(path).suffix());
        return false;
    }
    SheetExportOptions options;
    options.caption = caption;
    return exporter->write(sheet, target, options, error);
}
