#pragma once

#include "db/Statement.h"
#include "query/CriteriaValue.h"

#include <functional>
#include <typeindex>
#include <vector>

// A report's criteria type, named once in the screen's declaration, with the statement function
// of its views:
//
//   .criteria = CriteriaOf<BillQueryCriteria>(BillQueryStatement),
//
// where Statement BillQueryStatement(int view, const BillQueryCriteria&) is pure: the view's
// whole statement, text and parameters, with a branch mark where the branch condition stands.
// Screens whose figures come from several statements name a function that gives them all
// instead (std::vector<Statement> HourReportStatements(int view, const HourReportCriteria&)),
// so that each is checked for its branch mark when the screen is made. Criteria controls may
// be bound to members of the type, of ReportCriteria, and of the further bases named with it
// (CriteriaOf<BillItemQueryCriteria, ItemLineCriteria>).
struct CriteriaType
{
    std::type_index type = typeid(void);
    std::function<CriteriaValue()> make;
    // The part of `value` of type `part` (the value itself, ReportCriteria or a named base); null
    // when it has none.
    std::function<void*(const CriteriaValue& value, std::type_index part)> part;
    std::function<Statement(int view, const CriteriaValue&)> statement;
    // The statements a view's figures come from, for a screen that runs several.
    std::function<std::vector<Statement>(int view, const CriteriaValue&)> statements;

    bool isDeclared() const { return bool(make); }
};

template <class C, class... Bases> CriteriaType CriteriaTypeOf()
{
    static_assert((std::is_base_of_v<Bases, C> && ...), "bases of the criteria type");
    CriteriaType t;
    t.type = typeid(C);
    t.make = [] { return CriteriaValue::of(C()); };
    t.part = [](const CriteriaValue& value, std::type_index part) -> void* {
        C* c = static_cast<C*>(value.data());
        if (part == typeid(C))
            return c;
        if (part == typeid(ReportCriteria))
            return static_cast<ReportCriteria*>(c);
        void* found = nullptr;
        (void)((part == typeid(Bases) ? (found = static_cast<Bases*>(c), true) : false) || ...);
        return found;
    };
    return t;
}

template <class C, class... Bases>
CriteriaType CriteriaOf(Statement (*statement)(int view, const C&) = nullptr)
{
    CriteriaType t = CriteriaTypeOf<C, Bases...>();
    if (statement)
        t.statement = [statement](int view, const CriteriaValue& value) {
            return statement(view, value.as<C>());
        };
    return t;
}

template <class C, class... Bases>
CriteriaType CriteriaOf(std::vector<Statement> (*statements)(int view, const C&))
{
    CriteriaType t = CriteriaTypeOf<C, Bases...>();
    t.statements = [statements](int view, const CriteriaValue& value) {
        return statements(view, value.as<C>());
    };
    return t;
}
