#pragma once

#include "query/ItemLineCriteria.h"

#include <QString>

// What the returned-items query's criteria bar asks for: the item-line criteria (without a gift
// scope; `createPerson` is who returned the item) and a reason.
struct SubBillQueryCriteria : ItemLineCriteria
{
    QString reason; // matches every return whose remark contains it
};

// The conditions after the bill date range, in their fixed order.
Statement SubBillQueryWhereTail(const SubBillQueryCriteria& criteria);
// The returns (bi_SubBill rows of type 2) of the settled bills of the range with their item
// lines; the statement of the one view.
Statement SubBillQueryStatement(int view, const SubBillQueryCriteria& criteria);
