#pragma once

#include "screens/sheet/Sheet.h"

#include <QString>

// The grid's own report file (".rpt", also "temp.Spread"): a versioned binary file that keeps
// everything a sheet holds, so that loading gives back the identical sheet.
//
// Layout (QDataStream, Qt 6.4 encoding, big-endian): the 6 bytes "VTXRPT", quint32 version,
// then the sheet settings, the columns (type, decimals, width, hidden, style), the sized rows,
// header rows, header texts and header spans, data spans, the style table, the cells column
// by column (one flag byte per cell: number, text, own type, own style; followed by what the
// flags announce) and the print settings.
class SheetFile
{
public:
    static constexpr quint32 Version = 2; // 2: cell styles carry a border colour

    static bool save(const Sheet& sheet, const QString& path, QString* error = nullptr);
    // Replaces the sheet's content and settings with the file's; on failure the sheet is left
    // empty and `error` says why.
    static bool load(Sheet& sheet, const QString& path, QString* error = nullptr);

    // Copies everything `from` holds into `to`, as a save and load would.
    static void copy(const Sheet& from, Sheet& to);
};
