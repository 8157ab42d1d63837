#pragma once

#include "core/modBranch.h"
#include "query/BranchScope.h"

class CriteriaBar;

// Which bills a period report counts: the branches of the branch choice, deleted bills or not,
// member-card top-ups or not. Screens whose criteria say more extend it.
struct BillCriteria
{
    BranchChoice branch;
    bool useTrueData = false; // include deleted bills
    bool saving = false;      // leave out member-card top-ups
};

// Reads cboBranch, chkUseTrueData and chkSaving; throws std::runtime_error, after telling the
// user why, when the branch choice leaves nothing to query.
BillCriteria ReadBillCriteria(const CriteriaBar& bar);
