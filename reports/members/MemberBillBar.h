#pragma once

#include "query/ScreenSpec.h"

#include <vector>

// The criteria bar of the member bill screens (member consumption, member-card payments): the
// bill date range and branch; the card type, the card number (typed or swiped) and the member
// name; deleted bills, top-ups and the view options.
std::vector<std::vector<CriterionSpec>> MemberBillRows();

// The columns of a member bill view: the bill number and date when `bills`, then the card, its
// type and holder, then `amount`.
std::vector<ColumnSpec> MemberBillColumns(bool bills, const ColumnSpec& amount);
