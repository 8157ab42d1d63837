#pragma once

#include "query/BranchChoice.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>
#include <type_traits>
#include <typeindex>

// Where the value of one criteria control goes: a member of a report's criteria type, named by
// a member pointer in the screen's declaration and set through a type-erased setter.
//
//   {.name = "cboShiftID", .kind = CriterionKind::Text, ..., .into =
//   Into(&BillQueryCriteria::shiftId)} BeginDate: .into = Into(&ReportCriteria::range,
//   &DateRange::begin)
//
// The member's type says what is read: a text (QString: a list's chosen item, a typed text), an
// index (int: a list's choice, the chosen view, the number of the option chosen in a group of
// options <group>_<n> when bound on one of them), a flag (bool), a date (QDate), the branch
// choice (BranchChoice), the ticked names (QStringList: the meal periods) or a list's text unless
// it stands on "(全部)" (std::optional<QString>: none on "(全部)", else the item chosen or the
// text typed, an empty text included). The criteria bar
// refuses, when the screen is declared, a binding whose value its control does not give.
struct CriterionBinding
{
    enum Value
    {
        None,
        Text,
        Index,
        Flag,
        Date,
        Branch,
        Names,
        ShownText,
    };
    Value value = None;
    std::type_index owner = typeid(void); // the type whose member it sets
    QByteArray member;                    // which member: MemberKey
    std::function<void(void* owner, const QVariant& value)> set;

    bool isBound() const { return value != None; }
};

// A member pointer as bytes, to find the criterion read into a member.
template <class... P> QByteArray MemberKey(P... members)
{
    QByteArray key;
    ((key += QByteArray(reinterpret_cast<const char*>(&members), sizeof(members))), ...);
    return key;
}

template <class T> constexpr CriterionBinding::Value CriterionValueOf()
{
    if constexpr (std::is_same_v<T, QString>)
        return CriterionBinding::Text;
    else if constexpr (std::is_same_v<T, int>)
        return CriterionBinding::Index;
    else if constexpr (std::is_same_v<T, bool>)
        return CriterionBinding::Flag;
    else if constexpr (std::is_same_v<T, QDate>)
        return CriterionBinding::Date;
    else if constexpr (std::is_same_v<T, BranchChoice>)
        return CriterionBinding::Branch;
    else if constexpr (std::is_same_v<T, QStringList>)
        return CriterionBinding::Names;
    else if constexpr (std::is_same_v<T, std::optional<QString>>)
        return CriterionBinding::ShownText;
    else
        static_assert(sizeof(T) == 0, "a criterion is read as QString, int, bool, QDate, "
                                      "BranchChoice, QStringList or std::optional<QString>");
}

// The value read as the member's type (an invalid value: no text).
template <class T> T CriterionValueAs(const QVariant& value)
{
    if constexpr (std::is_same_v<T, std::optional<QString>>)
        return value.isValid() ? std::optional<QString>(value.toString()) : std::nullopt;
    else
        return value.value<T>();
}

template <class C, class M> CriterionBinding Into(M C::*member)
{
    return {CriterionValueOf<M>(), typeid(C), MemberKey(member),
            [member](void* owner, const QVariant& value) {
                static_cast<C*>(owner)->*member = CriterionValueAs<M>(value);
            }};
}

// A member of a member (a range's begin date).
template <class C, class M, class N> CriterionBinding Into(M C::*member, N M::*part)
{
    return {CriterionValueOf<N>(), typeid(C), MemberKey(member, part),
            [member, part](void* owner, const QVariant& value) {
                (static_cast<C*>(owner)->*member).*part = CriterionValueAs<N>(value);
            }};
}
