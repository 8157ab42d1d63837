#pragma once

#include "sheet/SheetExporter.h"

// The grid's own report file (see SheetFile).
class ReportFileExporter : public SheetExporter
{
public:
    bool write(const Sheet& sheet, const QString& path, const SheetExportOptions& options,
               QString* error) const override;
};
