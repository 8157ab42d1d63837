#pragma once

#include "sheet/Sheet.h"

#include <QString>

// Writes a sheet to a file in the format its extension names: ".xlsx" (".xls" is written as
// ".xlsx"), ".htm"/".html", ".txt", ".xml", ".rpt", ".pdf" (printed with its print settings).
class SheetOutput
{
public:
    static bool save(const Sheet& sheet, const QString& path, const QString& caption,
                     QString* error = nullptr);
    // The file `save` writes for `path` (".xls" becomes ".xlsx").
    static QString targetPath(const QString& path);
    static bool isSupported(const QString& path);
};
