#include "reports/periods/BillCriteria.h"

#include "screens/CriteriaBar.h"

BillCriteria ReadBillCriteria(const CriteriaBar& bar)
{
    BillCriteria s;
    s.useTrueData = bar.checked("chkUseTrueData");
    s.saving = bar.checked("chkSaving");
    s.branch = bar.requireBranch();
    return s;
}
