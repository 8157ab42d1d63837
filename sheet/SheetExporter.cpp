#include "sheet/SheetExporter.h"

#include "sheet/HtmlExporter.h"
#include "sheet/ReportFileExporter.h"
#include "sheet/TextExporter.h"
#include "sheet/XlsxExporter.h"
#include "sheet/XmlExporter.h"

#include <QFileInfo>

std::unique_ptr<SheetExporter> SheetExporter::forFile(const QString& path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("xlsx") || ext == QLatin1String("xls"))
        return std::make_unique<XlsxExporter>();
    if (ext == QLatin1String("htm") || ext == QLatin1String("html"))
        return std::make_unique<HtmlExporter>();
    if (ext == QLatin1String("txt"))
        return std::make_unique<TextExporter>();
    if (ext == QLatin1String("xml"))
        return std::make_unique<XmlExporter>();
    if (ext == QLatin1String("rpt") || ext == QLatin1String("spread"))
        return std::make_unique<ReportFileExporter>();
    return nullptr;
}
