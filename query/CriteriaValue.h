#pragma once

#include "query/ReportCriteria.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <typeindex>

// A value of a report's criteria type, held whatever that type is: made and filled by the
// criteria bar from the screen's declaration, read by the screen and its statement function as
// their own type.
class CriteriaValue
{
public:
    CriteriaValue() = default;
    template <class C> static CriteriaValue of(C value)
    {
        static_assert(std::is_base_of_v<ReportCriteria, C>,
                      "a report's criteria derive from ReportCriteria");
        CriteriaValue v;
        auto held = std::make_shared<C>(std::move(value));
        v.m_common = held.get(); // the ReportCriteria part of it
        v.m_value = std::move(held);
        v.m_type = typeid(C);
        v.m_copy = [](const void* value) { return of(*static_cast<const C*>(value)); };
        return v;
    }
    // A value of its own with the same criteria (copies of a CriteriaValue share one value).
    CriteriaValue copy() const { return m_value ? m_copy(m_value.get()) : CriteriaValue(); }

    bool isEmpty() const { return !m_value; }
    std::type_index type() const { return m_type; }
    void* data() const { return m_value.get(); }

    // The value as its type; throws std::logic_error for another type.
    template <class C> const C& as() const
    {
        require(typeid(C));
        return *static_cast<const C*>(m_value.get());
    }
    template <class C> C& as()
    {
        require(typeid(C));
        return *static_cast<C*>(m_value.get());
    }
    // The criteria every report shares.
    const ReportCriteria& common() const
    {
        require(m_type);
        return *m_common;
    }
    ReportCriteria& common()
    {
        require(m_type);
        return *m_common;
    }

private:
    void require(std::type_index type) const
    {
        if (!m_value || type != m_type)
            throw std::logic_error(std::string("criteria of ") + m_type.name() + " read as " +
                                   type.name());
    }

    std::shared_ptr<void> m_value;
    ReportCriteria* m_common = nullptr;
    std::type_index m_type = typeid(void);
    CriteriaValue (*m_copy)(const void*) = nullptr;
};
