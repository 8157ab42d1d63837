#include "sheet/HtmlExporter.h"

#include "sheet/ExportFile.h"
#include "sheet/SheetCells.h"
#include "sheet/XmlText.h"

#include <QFile>

namespace {

QString css(const QColor& c)
{
    return c.name(QColor::HexRgb);
}

QString attrs(int rowSpan, int colSpan)
{
    QString s;
    if (rowSpan > 1)
        s += QStringLiteral(" rowspan=\"%1\"").arg(rowSpan);
    if (colSpan > 1)
        s += QStringLiteral(" colspan=\"%1\"").arg(colSpan);
    return s;
}

// The cell's look as inline CSS, leaving out what the page's defaults already give.
QString cellCss(const CellStyle& style, bool ownFont, bool gridLines)
{
    QStringList parts;
    if (style.borderColor)
        parts << QStringLiteral("border:1px solid %1").arg(css(*style.borderColor));
    else if (!gridLines)
        parts << QStringLiteral("border:none");
    if (*style.foreColor != QColor(Qt::black))
        parts << QStringLiteral("color:%1").arg(css(*style.foreColor));
    if (*style.backColor != QColor(Qt::white))
        parts << QStringLiteral("background:%1").arg(css(*style.backColor));
    const QFont& f = *style.font;
    if (f.bold())
        parts << QStringLiteral("font-weight:bold");
    if (ownFont) {
        if (f.italic())
            parts << QStringLiteral("font-style:italic");
        if (f.underline() || f.strikeOut())
            parts << QStringLiteral("text-decoration:%1")
                         .arg(f.underline() ? QStringLiteral("underline")
                                            : QStringLiteral("line-through"));
        if (f.pointSizeF() > 0)
            parts << QStringLiteral("font-size:%1pt").arg(f.pointSizeF());
        if (!f.family().isEmpty())
            parts << QStringLiteral("font-family:'%1'").arg(f.family().toHtmlEscaped());
    }
    const Qt::Alignment h = *style.hAlign;
    if (h & Qt::AlignHCenter)
        parts << QStringLiteral("text-align:center");
    else if (h & Qt::AlignRight)
        parts << QStringLiteral("text-align:right");
    const Qt::Alignment v = *style.vAlign;
    if (v & Qt::AlignTop)
        parts << QStringLiteral("vertical-align:top");
    else if (v & Qt::AlignBottom)
        parts << QStringLiteral("vertical-align:bottom");
    return parts.isEmpty() ? QString()
                           : QStringLiteral(" style=\"%1\"").arg(parts.join(QLatin1Char(';')));
}

// The table, written out as it is made, a row at a time: a month of bill lines is as long a
// page as a text file, not a copy of it in memory.
void writeTable(const Sheet& sheet, QIODevice* file)
{
    auto flush = [file](QString& out) {
        const bool written = file->write(out.toUtf8()) >= 0;
        out.clear();
        return written; // the rest is not made once a write has failed
    };
    const SheetCells cells(sheet);
    const QList<int>& columns = cells.visibleColumns();
    QString out;
    out += QStringLiteral("<table>\n<colgroup>");
    for (int c : columns)
        out +=
            QStringLiteral("<col style=\"width:%1px\">").arg(qRound(sheet.columnWidth(c) / 15.0));
    out += QStringLiteral("</colgroup>\n");

    const int headerRows = sheet.headerRows();
    if (headerRows > 0) {
        out += QStringLiteral("<thead>\n");
        for (int hr = 1; hr <= headerRows; ++hr) {
            out += QStringLiteral("<tr>");
            for (int c : columns) {
                const CellBlock* span = cells.headerSpanAt(hr, c);
                if (span) {
                    int first = span->col;
                    while (first <= span->col2 && sheet.isColumnHidden(first))
                        ++first;
                    if (hr != span->row || c != first)
                        continue;
                }
                const int rows = span ? std::min(span->row2, headerRows) - span->row + 1 : 1;
                const int cols = span ? cells.visibleCount(span->col, span->col2) : 1;
                out += QStringLiteral("<th%1>%2</th>")
                           .arg(attrs(rows, cols),
                                XmlText::clean(cells.headerCaption(hr, c)).toHtmlEscaped());
            }
            out += QStringLiteral("</tr>\n");
        }
        out += QStringLiteral("</thead>\n");
    }

    out += QStringLiteral("<tbody>\n");
    if (!flush(out))
        return;
    for (int r = 1; r <= sheet.maxRows(); ++r) {
        out += QStringLiteral("<tr>");
        for (int c : columns) {
            const CellBlock* span = cells.spanAt(r, c);
            if (span) {
                int first = span->col;
                while (first <= span->col2 && sheet.isColumnHidden(first))
                    ++first;
                if (r != span->row || c != first)
                    continue;
            }
            const int ar = span ? span->row : r, ac = span ? span->col : c;
            const bool ownFont = sheet.cellStyle(ar, ac).font || sheet.rowStyle(ar).font ||
                                 sheet.columnStyle(ac).font;
            const int rows = span ? span->rowCount() : 1;
            const int cols = span ? cells.visibleCount(span->col, span->col2) : 1;
            out += QStringLiteral("<td%1%2>%3</td>")
                       .arg(attrs(rows, cols),
                            cellCss(sheet.effectiveStyle(ar, ac), ownFont, sheet.gridLines()),
                            XmlText::clean(sheet.text(ar, ac)).toHtmlEscaped());
        }
        out += QStringLiteral("</tr>\n");
        if (out.size() >= 16384 && !flush(out))
            return;
    }
    out += QStringLiteral("</tbody>\n</table>\n");
    flush(out);
}

} // namespace

bool HtmlExporter::write(const Sheet& sheet, const QString& path, const SheetExportOptions& options,
                         QString* error) const
{
    // Appended: the page as it is up to its </body>, the table, and the rest of it.
    QString before, after;
    if (options.append) {
        QFile existing(path);
        if (existing.open(QIODevice::ReadOnly)) {
            const QString page = QString::fromUtf8(existing.readAll());
            const qsizetype body =
                page.lastIndexOf(QLatin1String("</body>"), -1, Qt::CaseInsensitive);
            if (body >= 0) {
                before = page.left(body);
                after = page.mid(body);
            }
        }
    }
    if (before.isEmpty() && after.isEmpty()) {
        before = QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
                                "<title>%1</title>\n<style>\n"
                                "table{border-collapse:collapse;font-family:sans-serif;"
                                "font-size:10pt;margin-bottom:1em}\n"
                                "th,td{border:1px solid #a0a0a0;padding:2px 4px;"
                                "vertical-align:middle}\n"
                                "th{background:#e0e0e0;text-align:center}\n"
                                "</style>\n</head>\n<body>\n")
                     .arg(XmlText::clean(options.caption).toHtmlEscaped());
        after = QStringLiteral("</body>\n</html>\n");
    }
    ExportFile file(path);
    if (!file.begin()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    file.write(before.toUtf8());
    writeTable(sheet, &file);
    file.write(after.toUtf8());
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
