#pragma once

#include "framework/FrameworkService.h"

// The service behind the bill object and the bill collection: their default connection.
class BillService : public FrameworkService
{
public:
    // The process's instance, created on the first call.
    static BillService& obtain();
    // The instance if it exists, else null.
    static BillService* existing();

private:
    BillService() = default;
};
