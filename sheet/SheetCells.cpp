#include "sheet/SheetCells.h"

SheetCells::SheetCells(const Sheet& sheet) : m_sheet(sheet)
{
    for (int c = 1; c <= sheet.maxCols(); ++c)
        if (!sheet.isColumnHidden(c))
            m_columns.append(c);
    const QList<CellBlock>& spans = sheet.spans();
    for (int i = 0; i < spans.size(); ++i)
        for (int r = spans[i].row; r <= spans[i].row2; ++r)
            for (int c = spans[i].col; c <= spans[i].col2; ++c)
                m_spans.insert(key(r, c), i);
    const QList<CellBlock>& headers = sheet.headerSpans();
    for (int i = 0; i < headers.size(); ++i)
        for (int r = headers[i].row; r <= headers[i].row2; ++r)
            for (int c = headers[i].col; c <= headers[i].col2; ++c)
                m_headerSpans.insert(key(r, c), i);
}

int SheetCells::visibleCount(int col, int col2) const
{
    int n = 0;
    for (int c = col; c <= col2; ++c)
        if (c >= 1 && c <= m_sheet.maxCols() && !m_sheet.isColumnHidden(c))
            ++n;
    return n;
}

const CellBlock* SheetCells::spanAt(int row, int col) const
{
    if (m_spans.isEmpty())
        return nullptr;
    auto it = m_spans.constFind(key(row, col));
    return it == m_spans.constEnd() ? nullptr : &m_sheet.spans().at(*it);
}

const CellBlock* SheetCells::headerSpanAt(int headerRow, int col) const
{
    auto it = m_headerSpans.constFind(key(headerRow, col));
    return it == m_headerSpans.constEnd() ? nullptr : &m_sheet.headerSpans().at(*it);
}

QString SheetCells::headerCaption(int headerRow, int col) const
{
    const CellBlock* span = headerSpanAt(headerRow, col);
    if (!span)
        return m_sheet.headerText(headerRow, col);
    for (int r = span->row; r <= span->row2; ++r)
        for (int c = span->col; c <= span->col2; ++c) {
            const QString t = m_sheet.headerText(r, c);
            if (!t.isEmpty())
                return t;
        }
    return QString();
}

QString SheetCells::columnCaption(int col, const QString& separator) const
{
    QStringList parts;
    for (int r = 1; r <= m_sheet.headerRows(); ++r) {
        const QString t = headerCaption(r, col);
        if (!t.isEmpty() && (parts.isEmpty() || parts.last() != t))
            parts.append(t);
    }
    return parts.join(separator);
}
