#include "sheet/ReportFileExporter.h"

#include "sheet/SheetFile.h"

bool ReportFileExporter::write(const Sheet& sheet, const QString& path,
                               const SheetExportOptions& options, QString* error) const
{
    Q_UNUSED(options);
    return SheetFile::save(sheet, path, error);
}
