#pragma once

#include "sheet/Sheet.h"

#include <QString>

// The grid's own report file (".rpt", also "temp.Spread"): a versioned binary file that keeps
// everything a sheet holds, so that loading gives back the identical sheet.
//
// Layout (QDataStream, Qt 6.4 encoding, big-endian): the 6 bytes "VTXRPT", quint32 version,
// then the sheet settings, the columns (type, decimals, width, hidden, style, number format),
// the sized rows, header rows, header texts and header spans, data spans, the style table, the
// cells column by column (one flag byte per cell: number, text, own type and decimals, own
// style; followed by what the flags announce) and the print settings.
class SheetFile
{
public:
    // 2: cell styles carry a border colour; 3: columns their number format, cells their decimals
    static constexpr quint32 Version = 3;

    static bool save(const Sheet& sheet, const QString& path, QString* error = nullptr);
    // Replaces the sheet's content and settings with the file's; on failure the sheet is left
    // empty and `error` says why. A damaged or hostile file is refused, in time and memory in
    // proportion to its size: counts beyond the bytes that follow or the limits (100,000
    // columns, 10,000 spans, 1,024 cell styles, 16 M characters a cell), numbers that are not
    // finite, unknown types, flags or alignments, fonts over 400 points, bytes missing or left
    // over. Where the user was (selection, active cell, frozen rows) is kept within the sheet
    // and print settings within what a printer can follow.
    static bool load(Sheet& sheet, const QString& path, QString* error = nullptr);

    // Copies everything `from` holds into `to`, as a save and load would.
    static void copy(const Sheet& from, Sheet& to);
};
