#include "sheet/TextExporter.h"

#include "sheet/ExportFile.h"
#include "sheet/SheetCells.h"
#include "sheet/XmlText.h"

namespace {

// A field of a line: without the characters a text file should not hold, its tabs and line
// breaks as blanks.
QString clean(const QString& field)
{
    QString text = XmlText::clean(field);
    for (QChar& ch : text)
        if (ch == QLatin1Char('\t') || ch == QLatin1Char('\n') || ch == QLatin1Char('\r'))
            ch = QLatin1Char(' ');
    return text;
}

} // namespace

bool TextExporter::write(const Sheet& sheet, const QString& path, const SheetExportOptions& options,
                         QString* error) const
{
    Q_UNUSED(options);
    const SheetCells cells(sheet);
    const QList<int>& columns = cells.visibleColumns();
    ExportFile file(path);
    if (!file.begin()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QStringList fields;
    auto writeLine = [&] {
        file.write(fields.join(QLatin1Char('\t')).toUtf8());
        file.write("\n");
        fields.clear();
    };
    for (int hr = 1; hr <= sheet.headerRows(); ++hr) {
        for (int c : columns) {
            const CellBlock* span = cells.headerSpanAt(hr, c);
            const bool anchor = !span || (hr == span->row && cells.visibleCount(span->col, c) == 1);
            fields << (anchor ? clean(cells.headerCaption(hr, c)) : QString());
        }
        writeLine();
    }
    for (int r = 1; r <= sheet.maxRows() && !file.failed(); ++r) {
        for (int c : columns) {
            const CellBlock* span = cells.spanAt(r, c);
            const bool anchor = !span || (r == span->row && cells.visibleCount(span->col, c) == 1);
            fields << (anchor ? clean(sheet.text(span ? span->row : r, span ? span->col : c))
                              : QString());
        }
        writeLine();
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
