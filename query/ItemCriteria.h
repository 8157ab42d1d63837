#pragma once

#include "query/ItemLineCriteria.h"
#include "query/ScreenSpec.h"
#include "query/StatementFragments.h"

// The criteria the item reports share, in their usual form. Department types come from the
// department-type list; menu types and preparing departments follow the department type chosen
// (only its own entries, refilled when it changes). Each reads into the member `into` names.
//
//   .rows = {{DepartTypesSpec(Into(&ItemLineCriteria::departType)), ...}, ...}

// A list of the host framework's data list `list`; with an `owner`, only the entries of the
// entry chosen there.
inline CriterionSpec ItemListSpec(const char* name, const char* label, DataList::Kind list,
                                  const char* owner, int width, int labelWidth = 900,
                                  CriterionBinding into = {})
{
    return {.name = name,
            .kind = CriterionKind::List,
            .label = label,
            .labelWidth = labelWidth,
            .width = width,
            .source = {.kind = ListSource::DataList, .list = list, .owner = owner},
            .into = into};
}
inline CriterionSpec DepartTypesSpec(CriterionBinding into, const char* name = "cboDepartTypes",
                                     int width = 1300)
{
    return ItemListSpec(name, "部门类别:", DataList::DepartTypes, nullptr, width, 900, into);
}
inline CriterionSpec DepartTypesSpec(const char* name = "cboDepartTypes", int width = 1300)
{
    return DepartTypesSpec({}, name, width);
}
// Menu types of the department type chosen in `owner`.
inline CriterionSpec MenuTypesSpec(CriterionBinding into, const char* name = "cboMenuTypes",
                                   const char* owner = "cboDepartTypes", int width = 1300)
{
    return ItemListSpec(name, "菜品类别:", DataList::MenuTypes, owner, width, 900, into);
}
inline CriterionSpec MenuTypesSpec(const char* name = "cboMenuTypes",
                                   const char* owner = "cboDepartTypes", int width = 1300)
{
    return MenuTypesSpec({}, name, owner, width);
}
// Preparing departments of the department type chosen in `owner`.
inline CriterionSpec DepartsSpec(CriterionBinding into, const char* name = "cboDeparts",
                                 const char* owner = "cboDepartTypes", int width = 1300)
{
    return ItemListSpec(name, "出品部门:", DataList::Departs, owner, width, 900, into);
}
// The typed item: the leading part of an item code, or any part of a name.
inline CriterionSpec MenuTextSpec(CriterionBinding into, int width = 1800)
{
    return {.name = "cboMenuID",
            .kind = CriterionKind::Text,
            .label = "菜品:",
            .labelWidth = 600,
            .width = width,
            .text = "输入菜品的编码（前面部分）或者名称（任何部分）",
            .into = into};
}
inline CriterionSpec MenuTextSpec(int width = 1800)
{
    return MenuTextSpec({}, width);
}
// Who ordered the line ("服务员"), from the item lines.
inline CriterionSpec ItemWaiterSpec(CriterionBinding into, int width = 1100)
{
    return {.name = "cboCreatePerson",
            .kind = CriterionKind::List,
            .label = "服务员:",
            .labelWidth = 700,
            .width = width,
            .source = {.kind = ListSource::Query,
                       .sql = "SELECT DISTINCT CreatePersonID,CreatePerson FROM bi_BillItem "
                              "ORDER BY CreatePersonID",
                       .field = "CreatePerson"},
            .into = into};
}
