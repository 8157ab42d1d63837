#include "screens/sheet/SheetExporter.h"

#include "screens/sheet/HtmlExporter.h"
#include "screens/sheet/ReportFileExporter.h"
#include "screens/sheet/TextExporter.h"
#include "screens/sheet/XlsxExporter.h"
#include "screens/sheet/XmlExporter.h"

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
