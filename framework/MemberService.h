#pragma once

#include "framework/FrameworkService.h"

// The service behind the member object and the statistic groups: their default connection.
class MemberService : public FrameworkService
{
public:
    // The process's instance, created on the first call.
    static MemberService& obtain();
    // The instance if it exists, else null.
    static MemberService* existing();

private:
    MemberService() = default;
};
