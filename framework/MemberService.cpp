#include "framework/MemberService.h"

namespace {
MemberService* g_instance = nullptr;
}

MemberService& MemberService::obtain()
{
    if (!g_instance)
        g_instance = new MemberService; // lives until the process ends
    return *g_instance;
}

MemberService* MemberService::existing()
{
    return g_instance;
}
