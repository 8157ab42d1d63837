#pragma once

#include "framework/FrameworkService.h"

// The service behind the data lists (meal periods, subjects, department types, ...): the
// connection a DataList created without one loads from.
class DataListService : public FrameworkService
{
public:
    // The process's instance, created on the first call.
    static DataListService& obtain();
    // The instance if it exists, else null.
    static DataListService* existing();

private:
    DataListService() = default;
};
