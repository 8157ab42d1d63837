#include "plugin/CSubSystem.h"

#include "core/HostBinding.h"
#include "core/modMessage.h"
#include "framework/VersionInfo.h"
#include "plugin/ActionRows.h"

CSubSystem::CSubSystem()
{
    AddActionRows(m_actions);
}

CSubSystem::~CSubSystem() = default;

void CSubSystem::ISubSystem_SetHost(HostObject* host)
{
    BindHost(host);
}

void CSubSystem::ISubSystem_DoAction(const QString& action)
{
    m_lastActionMatched = false;
    if (m_actions.dispatch(action)) {
        m_lastActionMatched = true;
        return;
    }
    MsgBox(Msg(QStringLiteral("Msg_NotSupport")) + QChar(13) + Msg(QStringLiteral("Msg_ToUpgrade")),
           QMessageBox::Information);
}

VersionInfo* CSubSystem::ISubSystem_Version()
{
    if (!m_version) {
        m_version = std::make_unique<VersionInfo>();
        m_version->CompanyName = QStringLiteral("Valtrix");
        m_version->LegalCopyright = QStringLiteral("Copyright (C) 2016 Valtrix");
        m_version->Major = 16;
        m_version->Minor = 9;
        m_version->Revision = 1;
        m_version->LegalTrademarks = QStringLiteral("Valtrix");
    }
    return m_version.get();
}
