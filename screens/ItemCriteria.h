#pragma once

#include "screens/ScreenSpec.h"

#include <QString>

// The criteria the item reports share: the controls in their usual form, and the conditions
// they add to a statement. Department types come from the department-type list; menu types and
// preparing departments follow the department type chosen (only its own entries, refilled when
// it changes).
//
//   .rows = {{DepartTypesSpec(), MenuTypesSpec(), DepartsSpec(), MenuTextSpec()}, ...}
//   sql += MenuTextFilter(criteria.menuText, "BI.MenuID", "BI.MenuName");

inline CriterionSpec DepartTypesSpec(const char* name = "cboDepartTypes", int width = 1300)
{
    return {.name = name,
            .kind = CriterionKind::List,
            .label = "部门类别:",
            .labelWidth = 900,
            .width = width,
            .source = {.kind = ListSource::DataList, .list = DataList::DepartTypes}};
}
// Menu types of the department type chosen in `owner`.
inline CriterionSpec MenuTypesSpec(const char* name = "cboMenuTypes",
                                   const char* owner = "cboDepartTypes", int width = 1300)
{
    return {.name = name,
            .kind = CriterionKind::List,
            .label = "菜品类别:",
            .labelWidth = 900,
            .width = width,
            .source = {.kind = ListSource::DataList, .list = DataList::MenuTypes, .owner = owner}};
}
// Preparing departments of the department type chosen in `owner`.
inline CriterionSpec DepartsSpec(const char* name = "cboDeparts",
                                 const char* owner = "cboDepartTypes", int width = 1300)
{
    return {.name = name,
            .kind = CriterionKind::List,
            .label = "出品部门:",
            .labelWidth = 900,
            .width = width,
            .source = {.kind = ListSource::DataList, .list = DataList::Departs, .owner = owner}};
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

// " AND <column>='<text>' " with the text quoted.
QString EqualsFilter(const QString& column, const QString& text);
