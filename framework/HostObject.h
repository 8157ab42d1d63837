#pragma once

#include "db/Connection.h"

#include <QString>

// What the host hands a module at binding: its open connection, whether the signed-in user may
// see deleted ("true") data, and the user's id. A module reads the three properties in this
// order and keeps no reference to the object. The getters are virtual so that a host may
// compute them; a getter that throws counts as a property that cannot be read.
class HostObject
{
public:
    HostObject() = default;
    HostObject(ConnectionPtr connection, bool trueDataAllowed, const QString& userId);
    virtual ~HostObject() = default;

    virtual ConnectionPtr connection() const { return m_connection; }
    virtual bool trueDataAllowed() const { return m_trueDataAllowed; }
    virtual QString userId() const { return m_userId; }

    void setConnection(ConnectionPtr connection) { m_connection = std::move(connection); }
    void setTrueDataAllowed(bool allowed) { m_trueDataAllowed = allowed; }
    void setUserId(const QString& userId) { m_userId = userId; }

private:
    ConnectionPtr m_connection;
    bool m_trueDataAllowed = false;
    QString m_userId;
};
