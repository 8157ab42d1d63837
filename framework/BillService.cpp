#include "framework/BillService.h"

namespace {
BillService* g_instance = nullptr;
}

BillService& BillService::obtain()
{
    if (!g_instance)
        g_instance = new BillService; // lives until the process ends
    return *g_instance;
}

BillService* BillService::existing()
{
    return g_instance;
}
