#include "framework/DataListService.h"

namespace {
DataListService* g_instance = nullptr;
}

DataListService& DataListService::obtain()
{
    if (!g_instance)
        g_instance = new DataListService; // lives until the process ends
    return *g_instance;
}

DataListService* DataListService::existing()
{
    return g_instance;
}
