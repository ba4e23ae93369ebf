#include "ShellServices.h"

#include "Prompter.h"
#include "Session.h"
#include "instruments/InstrumentListOps.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

QString ShellServices::FindPanel(const QString& name, bool /*containsSearch*/, bool reportMissing)
{
    const Platform& p = m_session.platform();
    if (!name.isEmpty() && p.files->folderExists(joinPath(m_session.folders.IniPath, QStringLiteral("Panel_") + name)))
        return name;
    if (reportMissing)
        m_session.prompter().message(MessageKind::Error,
                                     QStringLiteral("Panel %1 configuration is missing! - Create Panel again").arg(name));
    return {};
}

void ShellServices::LoadPanelSettings(const QString&) {}

void ShellServices::RepairInstrumentList()
{
    ::RepairInstrumentList(m_session);
}

void ShellServices::SaveInstrumentList(const QString& name)
{
    ::SaveInstrumentList(m_session, name);
}

void ShellServices::CreateProcessList() {}

void ShellServices::DestroyProcessList() {}

void ShellServices::StartControlListener() {}

void ShellServices::StopControlListener() {}

void ShellServices::StartPanel() {}

void ShellServices::StopPanel() {}
