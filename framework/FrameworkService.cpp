#include "framework/FrameworkService.h"

void FrameworkService::Initialize(ConnectionPtr& connection, bool& trueDataAllowed)
{
    m_connection = connection;
    m_trueDataAllowed = trueDataAllowed;
    ++m_initializeCount;
}

ConnectionPtr FrameworkService::connection() const
{
    return m_connection ? m_connection : std::make_shared<Connection>();
}

ConnectionPtr FrameworkService::connectionOf(const FrameworkService* service)
{
    return service ? service->connection() : std::make_shared<Connection>();
}
