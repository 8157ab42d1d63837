#pragma once

#include "core/modBranch.h"
#include "query/BranchScope.h"
#include "screens/ScreenSpec.h"

#include <QString>

class CriteriaBar;

// The criteria the item reports share: the controls in their usual form, and the conditions
// they add to a statement. Department types come from the department-type list; menu types and
// preparing departments follow the department type chosen (only its own entries, refilled when
// it changes).
//
//   .rows = {{DepartTypesSpec(), MenuTypesSpec(), DepartsSpec(), MenuTextSpec()}, ...}
//   sql += MenuTextFilter(criteria.menuText, "BI.MenuID", "BI.MenuName");

// A list of the host framework's data list `list`; with an `owner`, only the entries of the
// entry chosen there.
inline CriterionSpec ItemListSpec(const char* name, const char* label, DataList::Kind list,
                                  const char* owner, int width, int labelWidth = 900)
{
    return {.name = name,
            .kind = CriterionKind::List,
            .label = label,
            .labelWidth = labelWidth,
            .width = width,
            .source = {.kind = ListSource::DataList, .list = list, .owner = owner}};
}
inline CriterionSpec DepartTypesSpec(const char* name = "cboDepartTypes", int width = 1300)
{
    return ItemListSpec(name, "部门类别:", DataList::DepartTypes, nullptr, width);
}
// Menu types of the department type chosen in `owner`.
inline CriterionSpec MenuTypesSpec(const char* name = "cboMenuTypes",
                                   const char* owner = "cboDepartTypes", int width = 1300)
{
    return ItemListSpec(name, "菜品类别:", DataList::MenuTypes, owner, width);
}
// Preparing departments of the department type chosen in `owner`.
inline CriterionSpec DepartsSpec(const char* name = "cboDeparts",
                                 const char* owner = "cboDepartTypes", int width = 1300)
{
    return ItemListSpec(name, "出品部门:", DataList::Departs, owner, width);
}
// The typed item: the leading part of an item code, or any part of a name.
inline CriterionSpec MenuTextSpec(int width = 1800)
{
    return {.name = "cboMenuID",
            .kind = CriterionKind::Text,
            .label = "菜品:",
            .labelWidth = 600,
            .width = width,
            .text = "输入菜品的编码（前面部分）或者名称（任何部分）"};
}
// Who ordered the line ("服务员"), from the item lines.
inline CriterionSpec ItemWaiterSpec(int width = 1100)
{
    return {.name = "cboCreatePerson",
            .kind = CriterionKind::List,
            .label = "服务员:",
            .labelWidth = 700,
            .width = width,
            .source = {.kind = ListSource::Query,
                       .sql = "SELECT DISTINCT CreatePersonID,CreatePerson FROM bi_BillItem "
                              "ORDER BY CreatePersonID",
                       .field = "CreatePerson"}};
}

// True when the whole trimmed text reads as a number ("12", "1.5", "-3"), false for "12a".
bool IsNumericText(const QString& text);
// The typed item: " AND <idColumn> LIKE '<T>%' " when the trimmed text T reads as a number,
// else " AND <nameColumn> LIKE '%<T>%' "; nothing for a blank text. T is quoted.
QString MenuTextFilter(const QString& text, const QString& idColumn, const QString& nameColumn);

// The gift scope of cboIsSentMenu: gifts left out, gifts only, or both.
enum GiftScope
{
    WithoutGifts = 0,
    GiftsOnly = 1,
    WithGifts = 2
};
// " AND BI.IsSentMenu=0  ", " AND BI.IsSentMenu<>0 " or nothing.
QString GiftScopeFilter(int scope);

// What the item reports over bill lines ask for. List choices carry the chosen item's text, or
// an empty text for "(全部)" and for a typed text that matches no item.
struct ItemLineCriteria
{
    BranchChoice branch;
    QString billPeriod;
    QString departType;
    QString menuType;
    QString menuText; // typed: the start of an item code, or any part of a name
    int giftScope = WithoutGifts;
    QString createPerson;     // the waiter
    bool useTrueData = false; // include deleted bills
    bool saving = false;      // leave out member-card top-ups
};
// Reads them by their usual names (cboBranch, cboBillPeriod, cboDepartTypes, cboMenuTypes,
// cboMenuID, cboIsSentMenu where the bar has it, cboCreatePerson, chkUseTrueData, chkSaving);
// throws std::runtime_error, after telling the user why, when the branch choice leaves nothing to
// query.
void ReadItemLineCriteria(const CriteriaBar& bar, ItemLineCriteria* criteria);
// The conditions that begin an item-line statement over settled bills, in this order: settled
// bills only (BL.CheckOutNull=0), the branch (BL.BranchID, BL.BranchName), the meal period
// (BL.BillPeriod), the department type and menu type (<item>.DepartTypeName,
// <item>.MenuTypeName, `item` the alias of the table that names them).
QString ItemLineHead(const ItemLineCriteria& criteria, const QString& item);
// The conditions that end an item-line statement, in this order: the gift scope, the waiter
// (BI.CreatePerson), deleted bills left out, member-card top-ups left out.
QString ItemLineTail(const ItemLineCriteria& criteria);

// " AND <column>='<text>' " with the text quoted.
QString EqualsFilter(const QString& column, const QString& text);
