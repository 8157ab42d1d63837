#include "framework/HostObject.h"

HostObject::HostObject(ConnectionPtr connection, bool trueDataAllowed, const QString& userId)
    : m_connection(std::move(connection)), m_trueDataAllowed(trueDataAllowed), m_userId(userId)
{
}
