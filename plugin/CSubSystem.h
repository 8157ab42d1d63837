#pragma once

#include "core/ActionTable.h"
#include "framework/ISubSystem.h"

#include <QObject>

#include <memory>

class VersionInfo;

// The plug-in's entry object: the host binds it once and then opens report screens by action
// name. Loaded by the host through QPluginLoader.
class CSubSystem : public QObject, public ISubSystem, public ISubSystemStatus
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ISubSystem_iid)
    Q_INTERFACES(ISubSystem ISubSystemStatus)
public:
    CSubSystem();
    ~CSubSystem() override;

    void ISubSystem_SetHost(HostObject* host) override;
    void ISubSystem_DoAction(const QString& action) override;
    VersionInfo* ISubSystem_Version() override;
    bool ISubSystem_LastActionMatched() const override { return m_lastActionMatched; }
    QList<SubSystemAction> ISubSystem_Actions() const override { return m_actions.actionGroups(); }

private:
    ActionTable m_actions;
    std::unique_ptr<VersionInfo> m_version;
    bool m_lastActionMatched = false;
};
