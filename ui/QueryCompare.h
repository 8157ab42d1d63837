#pragma once

#include "ui/QueryFill.h"

#include <QString>

#include <vector>

class QueryColumn;
class Sheet;

// Sets a report's figures beside the same figures of another date range (the previous period,
// the same dates a year earlier), without a widget: both grids are filled by QueryFill from the
// same statement over their own ranges, and merge() writes one grid of the two.
//
// Rows are matched on the view's key columns (its text columns) and their role: a data row with
// the data row of the same texts, a subtotal row with the subtotal of the same group, the totals
// row with the totals row. A row of only one of the two still shows, with 0 on the other side;
// a row only in the compared grid is placed where it stood among the rows both grids have.
//
// Beside each figure column (a totalled number column) three columns follow: the compared
// figure, the change (figure − compared figure) and the change in percent of the compared
// figure, blank when the compared figure is 0. Where neither grid has a figure in a cell, the
// three stay blank too. Changes are worked out in fixed point (Money). The new columns take
// their figure column's width, colour and decimals (the percent one decimal), and stand under
// the same group header; their captions are the figure column's caption through the templates.
class QueryCompare
{
public:
    using RowRole = QueryFill::RowRole;

    // Caption templates, %1 the figure column's caption: "上期%1", "%1增减", "%1增减%".
    struct Texts
    {
        QString compared;
        QString change;
        QString percent;
    };

    // The grid columns (1-based) rows are matched on: the text columns.
    static std::vector<int> keyColumns(const std::vector<const QueryColumn*>& leaves);
    // The grid columns compared: the totalled number columns.
    static std::vector<int> figureColumns(const std::vector<const QueryColumn*>& leaves);
    // Where a column of the grid before the merge stands in the merged grid, and the other way
    // round: the column of the grid before the merge that a merged column shows, 0 for the
    // compared, change and percent columns.
    static int mergedColumn(int column, const std::vector<int>& figures);
    static int sourceColumn(int mergedColumn, const std::vector<int>& figures);
    // The roles of a filled grid's rows.
    static std::vector<RowRole> rolesOf(const QueryFill& fill, int rows);

    // Writes into `out` (any sheet, `current` itself excepted) the grid of `current` with the
    // compared columns, and the role of each of its rows into `outRoles`. The sheet's headers,
    // widths, styles and print settings are `current`'s.
    static void merge(const Sheet& current, const std::vector<RowRole>& currentRoles,
                      const Sheet& compared, const std::vector<RowRole>& comparedRoles,
                      const std::vector<int>& keys, const std::vector<int>& figures,
                      const Texts& texts, Sheet& out, std::vector<RowRole>& outRoles);
};
