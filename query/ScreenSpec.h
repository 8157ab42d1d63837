#pragma once

#include "framework/DataList.h"
#include "query/BranchScope.h"
#include "query/ColumnSpec.h"
#include "query/CriteriaType.h"
#include "query/CriterionBinding.h"

#include <QSize>
#include <QString>

class Sheet;

#include <vector>

// A report screen described once. From this description the report screen base builds the
// criteria bar (placement in twips, the English re-flow), the query controls of its views with
// their columns, the screen's section of the language file, and reading and setting every
// criterion by name (scripts and headless runs), and reading all of them into the report's typed
// criteria. A screen adds only what is its own: the statement function of its views and the
// rules the description cannot say.
//
//   const ScreenSpec kSpec{
//       .name = "frmBillQuery",
//       .title = "历史账单查询",
//       .size = {11070, 7980},
//       .criteria = CriteriaOf<BillQueryCriteria>(BillQueryStatement),
//       .branch = {BillBranch},
//       .rows = {{BeginDate, EndDate, BranchCriterionSpec(), ...},
//                {{.name = "cboShiftID", .kind = CriterionKind::Text, ...,
//                  .into = Into(&BillQueryCriteria::shiftId)}}},
//       .views = {{.title = "历史账单查询", .columns = {...}}},
//   };

// A text of the screen's own (attribute `property`, "Default" when none), or, with no default,
// a key of the message table.
struct TextSpec
{
    const char* key;
    const char* defaultText = nullptr;
    const char* property = nullptr;
};

enum class CriterionKind
{
    Label,         // a label alone, named `name`, captioned `label`
    Date,          // date picker
    Check,         // check box with its own caption (`text`)
    LabelledCheck, // check box followed by a label that toggles it ("chkSaving" + "lblSaving")
    Option,        // option button with its own caption (`text`)
    List,          // combo box: "(全部)" then items from `source` (a name can be typed when they
                   // come from the database); a choice after "(全部)" counts
    Text,          // editable combo box for free text
    CardNumber,    // free text typed or swiped on a magnetic card reader: the track's start
                   // sentinel ";" empties the box, its end sentinel "?" selects the number read,
                   // so that the next swipe replaces it (neither is kept in the text)
    TextBox,       // line edit
    Branch,        // the branch combo: "(全部)", "(部分)" and the user's branches
    Button,        // push button with its own caption (`text`)
    Views,         // option buttons choosing among the screen's views (optQuery1..n, optQuery_0..)
    MealPeriods,   // master box chkPeriod_0 and one ticked box per meal period
};

// Where the items of a List criterion come from.
struct ListSource
{
    enum Kind
    {
        None,     // the screen fills it itself (no "(全部)"): read as the text shown, the chosen
                  // item's whichever item it is, or what is typed into a list the screen made
                  // editable
        Query,    // `sql`'s column `field`, on the first drop-down
        DataList, // the names of a data list of the host framework, on the first drop-down
        Items,    // the fixed `items`, without "(全部)"
        Screen,   // the screen's fillList(name, combo), on the first drop-down
        Columns,  // the first view's columns as the language file names them, after the item
                  // `items` holds when it holds one (meaning no sort): a sort criterion, read
                  // as the chosen column's field (empty for none)
    };
    Kind kind = None;
    const char* sql = nullptr;
    const char* field = nullptr;
    DataList::Kind list = DataList::MealPeriods;
    std::vector<TextSpec> items = {};
    // The criterion this list follows: whenever its choice changes, the list is emptied back
    // to "(全部)" and fills again on its next drop-down. A data list is then restricted to the
    // entries owned (field 3) by the entry chosen there, looked up by name in that criterion's
    // own data list, and sorted by identifier (menu types and departments of a department
    // type). Other sources read the owner's choice themselves.
    const char* owner = nullptr;
};

// One control of the criteria bar, with the label before it when `label` is given. The label's
// name is "lbl" followed by the control's name without its three-letter prefix (cboBranch:
// lblBranch). Widths are in twips; 0 takes the kind's usual width.
struct CriterionSpec
{
    const char* name;
    CriterionKind kind;
    const char* label = nullptr;
    int labelWidth = 0;
    int width = 0;
    const char* text = nullptr; // caption of a check box, option or button; a label's tool tip
    ListSource source = {};
    const char* fallbackTable = "bi_Bill"; // Branch: the table that lists branches at worst
    int left = -1; // twips from the bar's left edge; -1: after the previous control
    // Views: the views form control arrays, their option buttons and query controls named by
    // index from 0 (optQuery_7, ctlQuery_7 for the eighth view); otherwise they are separate
    // controls numbered from 1 (optQuery1..n, ctlQuery1..n).
    bool indexed = false;
    // Views: options per line; the rest continue on the lines below, under the first option
    // (0: all on one line).
    int perLine = 0;
    // The member of the report's criteria that the control's value is read into. Every control
    // that holds a value is bound, but for the view options (the view is the statement
    // function's own argument) and options whose group has a bound option.
    CriterionBinding into = {};
};

// The criteria most reports share.
inline const CriterionSpec BeginDate{.name = "dtpBegin",
                                     .kind = CriterionKind::Date,
                                     .label = "开始日期:",
                                     .labelWidth = 900,
                                     .width = 1800,
                                     .into = Into(&ReportCriteria::range, &DateRange::begin)};
inline const CriterionSpec EndDate{.name = "dtpEnd",
                                   .kind = CriterionKind::Date,
                                   .label = "结束日期:",
                                   .labelWidth = 900,
                                   .width = 1800,
                                   .into = Into(&ReportCriteria::range, &DateRange::end)};
inline const CriterionSpec UseTrueData{.name = "chkUseTrueData",
                                       .kind = CriterionKind::LabelledCheck,
                                       .label = "包含已经删除的数据",
                                       .labelWidth = 2300,
                                       .into = Into(&ReportCriteria::useTrueData)};
inline const CriterionSpec Saving{.name = "chkSaving",
                                  .kind = CriterionKind::LabelledCheck,
                                  .label = "不含会员卡充值的数据",
                                  .labelWidth = 2300,
                                  .into = Into(&ReportCriteria::saving)};
// What the figures are compared with: nothing (the start), the previous period of as many days,
// or the same dates a year earlier (CompareWith). A screen whose views run one statement adds
// it with this one line; each totalled figure column then gets the compared figure, the change
// and the change in percent beside it.
inline const CriterionSpec Compare{
    .name = "cboCompare",
    .kind = CriterionKind::List,
    .label = "对比:",
    .labelWidth = 600,
    .width = 1700,
    .source = {.kind = ListSource::Items,
               .items = {{"Msg_Compare_None"}, {"Msg_Compare_Previous"}, {"Msg_Compare_LastYear"}}},
    .into = Into(&ReportCriteria::compare)};
inline CriterionSpec BranchCriterionSpec(const char* label = "统计分店:", int width = 1500,
                                         const char* fallbackTable = "bi_Bill")
{
    return {.name = "cboBranch",
            .kind = CriterionKind::Branch,
            .label = label,
            .labelWidth = 900,
            .width = width,
            .fallbackTable = fallbackTable,
            .into = Into(&ReportCriteria::branch)};
}
// The meal period of the bill ("餐段:"), from the meal-period list, read as its name.
inline CriterionSpec BillPeriodSpec(CriterionBinding into, int width = 1300)
{
    return {.name = "cboBillPeriod",
            .kind = CriterionKind::List,
            .label = "餐段:",
            .labelWidth = 600,
            .width = width,
            .source = {.kind = ListSource::DataList, .list = DataList::MealPeriods},
            .into = into};
}
inline CriterionSpec BillPeriodSpec(int width = 1300)
{
    return BillPeriodSpec({}, width);
}
// A list criterion: "(全部)", then the column `field` of `sql`'s rows on the first drop-down.
inline CriterionSpec QueryListSpec(const char* name, const char* label, int labelWidth, int width,
                                   const char* sql, const char* field, CriterionBinding into = {})
{
    return {.name = name,
            .kind = CriterionKind::List,
            .label = label,
            .labelWidth = labelWidth,
            .width = width,
            .source = {.kind = ListSource::Query, .sql = sql, .field = field},
            .into = into};
}
// The shift number, typed ("交班号:").
inline CriterionSpec ShiftIdSpec(CriterionBinding into, int width = 1500)
{
    return {.name = "cboShiftID",
            .kind = CriterionKind::Text,
            .label = "交班号:",
            .labelWidth = 780,
            .width = width,
            .into = into};
}
inline CriterionSpec ShiftIdSpec(int width = 1500)
{
    return ShiftIdSpec({}, width);
}
// Names the bills hold, read from the bills themselves: the table area ("台区:"), who opened the
// bill ("开台:"), who settled it ("收银:").
inline CriterionSpec TableAreaSpec(CriterionBinding into, const char* name = "cboTableAreas",
                                   int width = 1300)
{
    return QueryListSpec(
        name, "台区:", 600, width,
        "SELECT DISTINCT TableAreaID,TableAreaName FROM bi_Bill ORDER BY TableAreaID",
        "TableAreaName", into);
}
inline CriterionSpec TableAreaSpec(const char* name = "cboTableAreas", int width = 1300)
{
    return TableAreaSpec({}, name, width);
}
inline CriterionSpec OpenedBySpec(CriterionBinding into = {}, int width = 1100)
{
    return QueryListSpec(
        "cboCreatePerson", "开台:", 600, width,
        "SELECT DISTINCT CreatePersonID,CreatePerson FROM bi_Bill ORDER BY CreatePersonID",
        "CreatePerson", into);
}
inline CriterionSpec CashierSpec(CriterionBinding into = {}, int width = 1100)
{
    return QueryListSpec(
        "cboCheckOutPerson", "收银:", 600, width,
        "SELECT DISTINCT CheckOutPersonID,CheckOutPerson FROM bi_Bill ORDER BY CheckOutPersonID",
        "CheckOutPerson", into);
}
// The gift scope of the item reports: leave gifts out (the start), gifts only, or both; read as
// the item's index (GiftScope).
inline CriterionSpec IsSentMenuSpec(CriterionBinding into,
                                    const char* label = "统计范围:", int width = 1500)
{
    return {.name = "cboIsSentMenu",
            .kind = CriterionKind::List,
            .label = label,
            .labelWidth = 900,
            .width = width,
            .source = {.kind = ListSource::Items,
                       .items = {{"Msg_IsSentMenu_NotInclude"},
                                 {"Msg_IsSentMenu_Only"},
                                 {"Msg_IsSentMenu_All"}}},
            .into = into};
}
inline CriterionSpec IsSentMenuSpec(const char* label = "统计范围:", int width = 1500)
{
    return IsSentMenuSpec({}, label, width);
}

// Where a double click on a row of a summary view leads (drill-down): another report, opened on
// the bills or item lines behind the row's figures. The report opened gets this screen's
// criteria that it shares by name (the date range, the branch choice, the deleted-data and
// top-up options, and any other criterion of the same name), the view `view`, and, unless the
// row is the totals row, the row's keys: the text of grid column `column` set into the
// opened report's criterion `criterion` (a criteria control, or one of its key criteria).
struct DrillKey
{
    int column;
    const char* criterion;
};
// A criterion the opened report gets on every drill-down, the totals row's included: what
// makes its list count the bills this report counts (its settled bills only, say).
struct DrillValue
{
    const char* criterion;
    const char* value;
};
class ReportScreen;
struct DrillSpec
{
    ReportScreen* (*make)() = nullptr; // a new screen of the report opened; null: no drill-down
    int view = 0;
    std::vector<DrillKey> keys = {};
    std::vector<DrillValue> fixed = {};
    // The criterion set to the data-list entry (a meal period, say) whose column group holds the
    // figure clicked, on every row, the totals row's included; a figure outside such a group
    // sets nothing.
    const char* columnEntry = nullptr;
};

// A criterion without a control, set only by a drill-down from another report (a row's exact
// item code, say): the value, a text, read into the member `into`.
struct KeyCriterion
{
    const char* name;
    CriterionBinding into;
};

// One view of a list screen: a query control with its title and columns.
struct ViewSpec
{
    const char* option = nullptr; // caption of its option button when the screen has several
    const char* title = nullptr;
    std::vector<ColumnSpec> columns = {};
    const char* keyFields = "";
    int keyLevel = 0;
    int emptyRows = 30;            // rows the empty grid shows before the first refresh
    std::vector<int> centred = {}; // grid columns centred
    // A double click (or "Open") on a row calls openDetail with the grid and this column
    // (the bill detail on the bill number, say); 0: the view opens nothing.
    int detailColumn = 0;
    void (*openDetail)(Sheet* grid, int column) = nullptr;
    // The screen writes the grid's cells itself (QueryReportScreen::writeCells) on the grid laid
    // out from the columns, instead of running a statement through the query control.
    bool ownCells = false;
    // A double click on a row opens the bills or item lines behind it.
    DrillSpec drill = {};
};

struct ScreenSpec
{
    const char* name;  // class and language section: "frmBillQuery"
    const char* title; // title strip and window caption
    QSize size;        // initial size in twips
    // The report's criteria type and the statement function of its views (CriteriaOf).
    CriteriaType criteria = {};
    // The columns that carry the branch in the report's statements: each statement marks where
    // its branch condition stands (BranchMark) on one of them, and the screen writes the
    // condition from the user's choice and privileges. Required by a branch criterion; without
    // one, the rows are kept to the branches the user may see.
    std::vector<BranchColumns> branch = {};
    std::vector<std::vector<CriterionSpec>> rows = {};
    std::vector<ViewSpec> views = {};    // none: the screen shows a body of its own
    std::vector<KeyCriterion> keys = {}; // criteria a drill-down sets, without a control
    std::vector<TextSpec> texts = {};    // the screen's own messages ("Default" attribute)
    const char* caption = nullptr;       // window caption when it differs from the title
    const char* helpContext = nullptr;   // help topic ("040404_InventoryQuery"), F1 and "Help"
    bool refusedRangeFocusesEnd = false; // a reversed date range gives dtpEnd the focus
};

// Whether the screen's views form control arrays (its Views criterion is `indexed`).
inline bool ViewsIndexed(const ScreenSpec& spec)
{
    for (const std::vector<CriterionSpec>& row : spec.rows)
        for (const CriterionSpec& c : row)
            if (c.kind == CriterionKind::Views)
                return c.indexed;
    return false;
}

// The name of view `view`'s (from 0) control of the given kind ("optQuery", "ctlQuery"):
// "ctlQuery_7" in a control array, "ctlQuery8" otherwise.
inline QString ViewControlName(const char* kind, int view, bool indexed)
{
    return QString::fromLatin1(kind) +
           (indexed ? QStringLiteral("_%1").arg(view) : QString::number(view + 1));
}
