#include "ui/QueryCompare.h"

#include "db/Money.h"
#include "query/QueryColumn.h"
#include "sheet/Sheet.h"

#include <QHash>

#include <algorithm>
#include <deque>
#include <optional>

namespace {

using RowRole = QueryCompare::RowRole;

RowRole roleOf(const std::vector<RowRole>& roles, int row)
{
    return row >= 1 && row <= int(roles.size()) ? roles[size_t(row - 1)] : RowRole::Data;
}

// What a row is matched on: its role and the texts of its key columns (the totals row: its role).
QString rowKey(const Sheet& sheet, const std::vector<RowRole>& roles, int row,
               const std::vector<int>& keys)
{
    const RowRole role = roleOf(roles, row);
    QString key = QString::number(int(role));
    if (role == RowRole::Total)
        return key;
    for (int col : keys)
        key += QChar(0x1f) + sheet.text(row, col).trimmed();
    return key;
}

std::optional<Money> figure(const Sheet& sheet, int row, int col)
{
    if (row < 1 || !sheet.isNumber(row, col))
        return std::nullopt;
    return Money::fromDouble(sheet.number(row, col));
}

// Copies a cell as it is: its number or text, its own type, style and decimals.
void copyCell(const Sheet& from, int row, int col, Sheet& to, int toRow, int toCol)
{
    if (from.isEmpty(row, col))
        return;
    if (from.isNumber(row, col))
        to.setNumber(toRow, toCol, from.number(row, col));
    else
        to.setTextId(toRow, toCol, to.internText(from.text(row, col)));
    if (from.cellType(row, col) != from.columnType(col))
        to.setCellType(toRow, toCol, from.cellType(row, col));
    const CellStyle style = from.cellStyle(row, col);
    if (style != CellStyle())
        to.setCellStyle(toRow, toCol, style);
    if (from.hasOwnDecimals(row, col))
        to.setCellDecimals(toRow, toCol, from.cellDecimals(row, col));
}

void setFigure(Sheet& sheet, int row, int col, Money value, int decimals)
{
    sheet.setNumber(row, col, value.toDouble());
    if (decimals >= 0)
        sheet.setCellDecimals(row, col, decimals);
}

} // namespace

std::vector<int> QueryCompare::keyColumns(const std::vector<const QueryColumn*>& leaves)
{
    std::vector<int> columns;
    for (size_t i = 0; i < leaves.size(); ++i)
        if (leaves[i]->kind() != 13 && leaves[i]->kind() != 14)
            columns.push_back(int(i) + 1);
    return columns;
}

std::vector<int> QueryCompare::figureColumns(const std::vector<const QueryColumn*>& leaves)
{
    std::vector<int> columns;
    for (size_t i = 0; i < leaves.size(); ++i)
        if (leaves[i]->kind() == 13 && leaves[i]->isSummed())
            columns.push_back(int(i) + 1);
    return columns;
}

int QueryCompare::mergedColumn(int column, const std::vector<int>& figures)
{
    return column + 3 * int(std::count_if(figures.begin(), figures.end(),
                                          [column](int f) { return f < column; }));
}

int QueryCompare::sourceColumn(int merged, const std::vector<int>& figures)
{
    int added = 0;
    for (int f : figures) {
        const int at = f + added; // the figure column in the merged grid
        if (merged <= at)
            break;
        if (merged <= at + 3)
            return 0;
        added += 3;
    }
    return merged - added;
}

std::vector<QueryCompare::RowRole> QueryCompare::rolesOf(const QueryFill& fill, int rows)
{
    std::vector<RowRole> roles;
    roles.reserve(size_t(std::max(rows, 0)));
    for (int row = 1; row <= rows; ++row)
        roles.push_back(fill.rowRole(row));
    return roles;
}

void QueryCompare::merge(const Sheet& current, const std::vector<RowRole>& currentRoles,
                         const Sheet& compared, const std::vector<RowRole>& comparedRoles,
                         const std::vector<int>& keys, const std::vector<int>& figures,
                         const Texts& texts, Sheet& out, std::vector<RowRole>& outRoles)
{
    const int cols = current.maxCols();
    const int rows = current.maxRows();
    const int comparedRows = compared.maxRows();

    // Rows: each compared row matched with the first unmatched current row of its key, in order.
    QHash<QString, std::deque<int>> currentByKey;
    for (int row = 1; row <= rows; ++row)
        currentByKey[rowKey(current, currentRoles, row, keys)].push_back(row);
    std::vector<int> matchOf(size_t(rows) + 1, 0); // current row -> compared row
    // Compared rows of their own, placed before the current row that follows them.
    std::vector<std::vector<int>> before(size_t(rows) + 2);
    std::vector<int> pending;
    int totalRow = 0;
    for (int row = rows; row >= 1 && !totalRow; --row)
        if (roleOf(currentRoles, row) == RowRole::Total)
            totalRow = row;
    for (int row = 1; row <= comparedRows; ++row) {
        auto it = currentByKey.find(rowKey(compared, comparedRoles, row, keys));
        if (it == currentByKey.end() || it->empty()) {
            pending.push_back(row);
            continue;
        }
        const int match = it->front();
        it->pop_front();
        matchOf[size_t(match)] = row;
        auto& slot = before[size_t(match)];
        slot.insert(slot.end(), pending.begin(), pending.end());
        pending.clear();
    }
    auto& rest = before[size_t(totalRow ? totalRow : rows + 1)];
    rest.insert(rest.end(), pending.begin(), pending.end());

    // Columns: each figure column followed by its three.
    std::vector<bool> isFigure(size_t(cols) + 1, false);
    for (int col : figures)
        if (col >= 1 && col <= cols)
            isFigure[size_t(col)] = true;
    std::vector<int> newCol(size_t(cols) + 2, 0);
    for (int col = 1; col <= cols; ++col)
        newCol[size_t(col)] = mergedColumn(col, figures);
    auto lastOf = [&](int col) { return newCol[size_t(col)] + (isFigure[size_t(col)] ? 3 : 0); };
    const int outCols = cols > 0 ? lastOf(cols) : 0;

    // The sheet's own settings stay; rows, columns, headers and styles are written anew.
    out.assign(current);
    out.setReDraw(false);
    const bool grid = current.gridLines(), locked = current.locked(),
               thousands = current.thousandsSeparator(), rowHeaders = current.rowHeadersVisible();
    const int frozen = current.frozenRows();
    const Qt::ScrollBarPolicy hBar = current.horizontalScrollBar(),
                              vBar = current.verticalScrollBar();
    out.clear();
    out.setReDraw(false);
    out.setGridLines(grid);
    out.setThousandsSeparator(thousands);
    out.setRowHeadersVisible(rowHeaders);
    out.setFrozenRows(frozen);
    out.setScrollBars(hBar, vBar);
    out.setMaxCols(outCols);

    const int headerRows = current.headerRows();
    out.setHeaderRows(headerRows);
    for (int col = 1; col <= cols; ++col) {
        const int to = newCol[size_t(col)];
        for (int h = 1; h <= headerRows; ++h)
            out.setHeaderText(h, to, current.headerText(h, col));
        const int added = isFigure[size_t(col)] ? 3 : 0;
        for (int k = 0; k <= added; ++k) {
            out.setColumnType(to + k, k == 3 ? CellType::Percent : current.columnType(col));
            out.setColumnDecimals(to + k, k == 3 ? 1 : current.columnDecimals(col));
            if (k < 3)
                out.setColumnNumberFormat(to + k, current.columnNumberFormat(col));
            out.setColumnStyle(to + k, current.columnStyle(col));
            out.setColumnWidth(to + k, current.columnWidth(col));
            out.setColumnHidden(to + k, current.isColumnHidden(col));
        }
        if (!added)
            continue;
        // Under the figure's group caption, or a caption of its own over both header rows.
        bool grouped = false;
        for (const CellBlock& span : current.headerSpans())
            grouped |= headerRows == 2 && span.row == 1 && span.row2 == 1 && span.contains(1, col);
        const int captionRow = grouped ? 2 : 1;
        const QString caption = current.headerText(captionRow, col);
        const QString captions[3] = {texts.compared.arg(caption), texts.change.arg(caption),
                                     texts.percent.arg(caption)};
        for (int k = 1; k <= 3; ++k) {
            out.setHeaderText(captionRow, to + k, captions[k - 1]);
            if (headerRows == 2 && !grouped)
                out.addHeaderSpan({1, to + k, 2, to + k});
        }
    }
    // A group's caption spans its compared columns too; a column's own caption over both
    // header rows stays over the column, its compared columns having captions of their own.
    for (const CellBlock& span : current.headerSpans())
        out.addHeaderSpan({span.row, newCol[size_t(span.col)], span.row2,
                           span.colCount() == 1 && span.row != span.row2 ? newCol[size_t(span.col2)]
                                                                         : lastOf(span.col2)});

    // The rows in order, each compared-only row before the row it preceded.
    struct OutRow
    {
        int current;  // 0: a row of the compared grid only
        int compared; // 0: a row of the current grid only
    };
    std::vector<OutRow> order;
    order.reserve(size_t(rows + comparedRows));
    for (int row = 1; row <= rows + 1; ++row) {
        for (int only : before[size_t(row)])
            order.push_back({0, only});
        if (row <= rows)
            order.push_back({row, matchOf[size_t(row)]});
    }
    out.setMaxRows(int(order.size()));
    outRoles.assign(order.size(), RowRole::Data);
    for (size_t i = 0; i < order.size(); ++i) {
        const int row = int(i) + 1;
        const OutRow& o = order[i];
        const Sheet& source = o.current ? current : compared;
        const int sourceRow = o.current ? o.current : o.compared;
        outRoles[i] =
            o.current ? roleOf(currentRoles, o.current) : roleOf(comparedRoles, o.compared);
        const CellStyle rowStyle = source.rowStyle(sourceRow);
        if (rowStyle != CellStyle())
            out.setRowStyle(row, rowStyle);
        if (o.current && current.rowHeight(o.current) > 0)
            out.setRowHeight(row, current.rowHeight(o.current));
        for (int col = 1; col <= cols; ++col) {
            const int to = newCol[size_t(col)];
            if (!isFigure[size_t(col)]) {
                if (o.current || std::find(keys.begin(), keys.end(), col) != keys.end())
                    copyCell(source, sourceRow, col, out, row, to);
                continue;
            }
            const std::optional<Money> now = figure(current, o.current, col);
            const std::optional<Money> then = figure(compared, o.compared, col);
            if (o.current)
                copyCell(current, o.current, col, out, row, to);
            if (!now && !then)
                continue; // nothing in either: blank, as the grid shows a cell without figures
            const int decimals = std::max(o.current ? current.cellDecimals(o.current, col) : 0,
                                          o.compared ? compared.cellDecimals(o.compared, col) : 0);
            if (!o.current)
                setFigure(out, row, to, Money(), -1);
            const Money a = now.value_or(Money()), b = then.value_or(Money());
            setFigure(out, row, to + 1, b,
                      o.compared ? compared.cellDecimals(o.compared, col) : -1);
            setFigure(out, row, to + 2, a - b, decimals);
            if (!b.isZero())
                out.setNumber(row, to + 3, (a - b).toDouble() / b.toDouble() * 100.0);
        }
    }
    out.setLocked(locked);
    out.setReDraw(true);
}
