#pragma once

#include "db/Connection.h"

// Common part of the framework's four shared services. Each service exists once per process
// (obtain() creates it on first use) and is initialised at binding with the host's connection
// and true-data flag; the framework objects that belong to a service run their SQL on that
// connection unless they are given one of their own.
class FrameworkService
{
public:
    virtual ~FrameworkService() = default;

    // The one initialisation call: takes the connection and flag (by reference, as the host
    // holds them). A second call rebinds.
    void Initialize(ConnectionPtr& connection, bool& trueDataAllowed);

    // The bound connection, or a new unopened one before binding (statements then fail).
    ConnectionPtr connection() const;
    bool trueDataAllowed() const { return m_trueDataAllowed; }
    int initializeCount() const { return m_initializeCount; }

    // The connection of `service`, or an unopened one when the service does not exist yet.
    static ConnectionPtr connectionOf(const FrameworkService* service);

protected:
    FrameworkService() = default;

private:
    ConnectionPtr m_connection;
    bool m_trueDataAllowed = false;
    int m_initializeCount = 0;
};
