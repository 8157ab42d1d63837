#include "core/HostBinding.h"

#include "core/CjkFont.h"
#include "core/HostContext.h"
#include "core/modMessage.h"
#include "core/mod_ADO.h"
#include "core/mod_API_Help.h"
#include "framework/BillService.h"
#include "framework/DataListService.h"
#include "framework/HostObject.h"
#include "framework/MemberService.h"
#include "framework/PrintService.h"

namespace {

// Runs one binding step; whatever it throws is dropped so the next step still runs.
template <class Fn> void step(Fn&& fn)
{
    try {
        fn();
    } catch (...) {
    }
}

} // namespace

void BindHost(HostObject* host)
{
    HostContext& context = hostContext();
    if (host) { // without a host object no property can be read: the fields stay as they are
        step([&] { context.Connection = host->connection(); });
        step([&] { context.TrueDataAllowed = host->trueDataAllowed(); });
        step([&] { LoadUserGroup(host->userId()); });
    }
    step([&] {
        FrameworkService* services[] = {&DataListService::obtain(), &BillService::obtain(),
                                        &MemberService::obtain(), &PrintService::obtain()};
        for (FrameworkService* service : services)
            step([&] { service->Initialize(context.Connection, context.TrueDataAllowed); });
    });
    step([] { LoadMessageTable(); });
    step([] { CjkFont::applyToApplication(); }); // Chinese in the language's variant
    step([] { InitHelpFile(); });
}

void LoadUserGroup(const QString& userId)
{
    HostContext& context = hostContext();
    context.UserID = userId;
    context.UserGroupID.clear();
    const RowDict row =
        ExecuteFirstRow(QStringLiteral("select UserGroupID from pv_User where UserID=?"), {userId});
    context.UserGroupID = row.value(QStringLiteral("UserGroupID")).toString();
}
