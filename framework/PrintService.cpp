#include "framework/PrintService.h"

namespace {
PrintService* g_instance = nullptr;
}

PrintService& PrintService::obtain()
{
    if (!g_instance)
        g_instance = new PrintService; // lives until the process ends
    return *g_instance;
}

PrintService* PrintService::existing()
{
    return g_instance;
}
