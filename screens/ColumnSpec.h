#pragma once

#include <vector>

class QueryColumns;

// Column kinds and back colours of a query control's columns (values 8 and 10 of Columns.Add).
namespace ColumnKind {
constexpr int Text = 1, Number = 13, Percent = 14;
}
namespace BackColour {
constexpr int None = -1, Grey = 0xE0E0E0, Yellow = 0xC0FFFF; // as BGR numbers (&HE0E0E0)
}

// One column of a query control, by name; maps onto the eleven values of Columns.Add
// (QueryColumns): field 1, caption 2, condition 3, value5 5, value6 6, sum 7, kind 8, width 9,
// back 10 (values 4 and 11 are always "" and true). A column with `sub` columns and a field of
// "|Name" is a caption over them.
struct ColumnSpec
{
    const char* field;
    const char* caption;
    const char* condition = "";
    bool sum = false;
    int kind = ColumnKind::Text;
    int width = -1;
    int back = BackColour::None;
    int value6 = 0; // 1: a number column sums over the records folded into one row
    bool value5 = false;
    std::vector<ColumnSpec> sub = {};
};

// A text column.
inline ColumnSpec TextColumn(const char* field, const char* caption, int width)
{
    return {.field = field, .caption = caption, .width = width};
}
// A number column summed in the totals row; a cell takes its value (and its share of the
// total) only from the rows meeting `condition`.
inline ColumnSpec SumColumn(const char* field, const char* caption, int width,
                            const char* condition = "", int back = BackColour::None)
{
    return {.field = field,
            .caption = caption,
            .condition = condition,
            .sum = true,
            .kind = ColumnKind::Number,
            .width = width,
            .back = back};
}

// Appends the columns (and the sub-columns under each header-only column) in order.
void AddColumns(QueryColumns& columns, const std::vector<ColumnSpec>& specs);
