#pragma once

#include "framework/FrameworkService.h"

// The service behind the report printer: the connection its reports read the bill from.
class PrintService : public FrameworkService
{
public:
    // The process's instance, created on the first call.
    static PrintService& obtain();
    // The instance if it exists, else null.
    static PrintService* existing();

private:
    PrintService() = default;
};
