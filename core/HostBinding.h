#pragma once

#include <QString>

class HostObject;

// Binds the plug-in to the host: fills the host context from the host object (connection,
// true-data flag, user id and the user's group), initialises the framework's four shared
// services on that connection, loads the message table and locates the help file. Every step
// runs even when an earlier one fails; nothing is reported to the host. A second call rebinds.
void BindHost(HostObject* host);

// Sets UserID and UserGroupID (from pv_User; empty when there is no row or the query fails).
void LoadUserGroup(const QString& userId);
