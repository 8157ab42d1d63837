#pragma once

#include "framework/DataList.h"

#include <QList>

#include <functional>
#include <optional>
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
//
// A column with `eachEntryOf` stands for one column per entry of that data list of the host
// framework, in list order, in its place (a group per meal period, a column per department type
// or payment subject): each takes the entry's name as its caption, and "{id}" and "{name}" in
// its condition and in its sub-columns' conditions stand for the entry's identifier and name
// (quotes doubled, for use between quotes). Its field keeps no key after "|" ("|" for a group,
// "theSumOfConsume|" for a column), since its caption is data, not a text of the screen.
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
    std::optional<DataList::Kind> eachEntryOf = std::nullopt;
    bool dates = false; // holds dates: shown without the time of day (QueryColumn::holdsDates)
};

// A text column.
inline ColumnSpec TextColumn(const char* field, const char* caption, int width)
{
    return {.field = field, .caption = caption, .width = width};
}
// A text column of dates (birthdays, business dates): "2026-03-09", not "2026-03-09 00:00:00".
inline ColumnSpec DateColumn(const char* field, const char* caption, int width)
{
    return {.field = field, .caption = caption, .width = width, .dates = true};
}
// A number column summed in the totals row; a cell takes its value (and its share of the
// total) only from the rows meeting `condition`. `value6` 1 sums the records folded into one
// row.
inline ColumnSpec SumColumn(const char* field, const char* caption, int width,
                            const char* condition = "", int back = BackColour::None, int value6 = 0)
{
    return {.field = field,
            .caption = caption,
            .condition = condition,
            .sum = true,
            .kind = ColumnKind::Number,
            .width = width,
            .back = back,
            .value6 = value6};
}

// The entries of a data list, in list order.
using DataListEntries = std::function<QList<DataListItem>(DataList::Kind)>;

// Appends the columns (and the sub-columns under each header-only column) in order, a column
// with `eachEntryOf` once per entry that `entries` gives for its list (none without `entries`).
void AddColumns(QueryColumns& columns, const std::vector<ColumnSpec>& specs,
                const DataListEntries& entries = {});
