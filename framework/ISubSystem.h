#pragma once

#include <QList>
#include <QString>
#include <QtPlugin>

class HostObject;
class VersionInfo;

// The interface a host module implements. The host obtains the module's entry object through
// QPluginLoader, binds it once with ISubSystem_SetHost and then asks it for actions by name.
class ISubSystem
{
public:
    virtual ~ISubSystem() = default;

    // Binds the module to the host's connection and signed-in user. Never fails.
    virtual void ISubSystem_SetHost(HostObject* host) = 0;
    // Opens the screen that `action` names; an unknown name shows the not-supported message.
    virtual void ISubSystem_DoAction(const QString& action) = 0;
    // The module's version; the same object on every call, owned by the module.
    virtual VersionInfo* ISubSystem_Version() = 0;
};

// One action a module offers and the group of the host's menu it belongs in
// ("Group_Bills", "Group_Periods", "Group_Members", "Group_Charts").
struct SubSystemAction
{
    QString name;
    QString group;
};

// What a host may ask a module besides ISubSystem: whether the most recent
// ISubSystem_DoAction named an action the module has (false before the first call), and the
// actions it has, in its own order (the host's menu lists them).
class ISubSystemStatus
{
public:
    virtual ~ISubSystemStatus() = default;
    virtual bool ISubSystem_LastActionMatched() const = 0;
    virtual QList<SubSystemAction> ISubSystem_Actions() const = 0;
};

#define ISubSystem_iid "com.valtrix.vtxFramework.ISubSystem/1.0"
#define ISubSystemStatus_iid "com.valtrix.vtxFramework.ISubSystemStatus/1.2"
Q_DECLARE_INTERFACE(ISubSystem, ISubSystem_iid)
Q_DECLARE_INTERFACE(ISubSystemStatus, ISubSystemStatus_iid)
