#include "core/HostContext.h"

HostContext& hostContext()
{
    static HostContext context;
    return context;
}

ConnectionPtr HostContext::connection() const
{
    return Connection ? Connection : std::make_shared<::Connection>();
}
