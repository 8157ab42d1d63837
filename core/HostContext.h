#pragma once

#include "db/Connection.h"

#include <QString>

class cLanguage;

// The process-wide record that host binding fills: every screen reads it.
struct HostContext
{
    ConnectionPtr Connection; // owned by the host; never opened or closed here
    bool TrueDataAllowed = false;
    QString UserID;
    QString UserGroupID;
    int LanguageCode = 0;          // EnumLanguage value read from the settings store
    cLanguage* Language = nullptr; // the shared language file object

    // The connection to run statements on: the host's, or a new unopened one before binding, so
    // that statements fail in the ordinary way instead of crashing.
    ConnectionPtr connection() const;
};

HostContext& hostContext();
