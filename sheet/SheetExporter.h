#pragma once

#include "sheet/Sheet.h"

#include <QString>

#include <memory>

// What an export needs besides the sheet.
struct SheetExportOptions
{
    QString caption;     // the workbook's sheet name, the page title
    bool append = false; // HTML: add the table to an existing page
    QString xmlRoot;     // XML: root and row element names (defaults when empty)
    QString xmlCollection;
};

// Writes a sheet to a file in one format. One implementation per format; `forFile` picks one
// by the file name's extension.
class SheetExporter
{
public:
    virtual ~SheetExporter() = default;
    virtual bool write(const Sheet& sheet, const QString& path, const SheetExportOptions& options,
                       QString* error) const = 0;

    // The exporter for ".xlsx"/".xls", ".htm"/".html", ".txt", ".xml", ".rpt"/".spread";
    // null for any other extension.
    static std::unique_ptr<SheetExporter> forFile(const QString& path);
};
