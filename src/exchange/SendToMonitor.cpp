#include "SendToMonitor.h"

#include "panels/LoadedPanel.h"
#include "panels/PanelFiles.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/IniService.h"
#include "platform/Monitors.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "settings/Folders.h"

#include <QScopeGuard>

#include <optional>

namespace {

const QString kPosition = QStringLiteral("Position");
const QString kMonitor = QStringLiteral("Monitor");

// The ".ini" files of the folder in the file system's order. A folder that happens to match is no file.
std::vector<QString> iniFiles(const FileSystem& files, const QString& panelFolder)
{
    std::vector<QString> names;
    for (const DirEntry& e : files.list(joinPath(panelFolder, QStringLiteral("*.ini")))) {
        if (!e.directory)
            names.push_back(e.name);
    }
    return names;
}

} // namespace

PanelIniKind panelIniKind(const QString& fileName, const QString& panelName)
{
    if (fileName == panelName + QStringLiteral(".ini"))
        return PanelIniKind::PanelSettings;
    if (fileName.toUpper() == BackgroundSettingsName.toUpper())
        return PanelIniKind::Background;
    return PanelIniKind::InstrumentPosition;
}

bool PanelOnOneMonitor(const FileSystem& files, const IniService& ini, const QString& panelFolder,
                       const QString& panelName)
{
    std::optional<QString> reference;
    for (const QString& name : iniFiles(files, panelFolder)) {
        if (panelIniKind(name, panelName) != PanelIniKind::InstrumentPosition)
            continue;
        const QString monitor = ini.readString(joinPath(panelFolder, name), kPosition, kMonitor, QString());
        if (!reference)
            reference = monitor;
        else if (monitor != *reference)
            return false;
    }
    return true;
}

void MovePanelToMonitor(const FileSystem& files, IniService& ini, const QString& panelFolder, const QString& panelName,
                        int index, const QRect& bounds)
{
    const QString monitor = QString::number(index);
    for (const QString& name : iniFiles(files, panelFolder)) {
        const QString file = joinPath(panelFolder, name);
        switch (panelIniKind(name, panelName)) {
        case PanelIniKind::PanelSettings:
            ini.writeString(file, QStringLiteral("Config"), QStringLiteral("PanelMonitor"), monitor);
            break;
        case PanelIniKind::Background: {
            const QString settings = QStringLiteral("Settings");
            ini.writeString(file, settings, kMonitor, monitor);
            ini.writeString(file, settings, QStringLiteral("Height"), QString::number(bounds.height()));
            ini.writeString(file, settings, QStringLiteral("Width"), QString::number(bounds.width()));
            ini.writeString(file, kPosition, QStringLiteral("Top"), QString::number(bounds.top()));
            ini.writeString(file, kPosition, QStringLiteral("Left"), QString::number(bounds.left()));
            break;
        }
        case PanelIniKind::InstrumentPosition:
            ini.writeString(file, kPosition, kMonitor, monitor);
            break;
        }
    }
}

void SendToMonitor::aSendToMonitorExecute(int monitorCount)
{
    const Platform& p = m_platform;
    const QString& name = m_loaded.name();
    const QString folder = PanelFolder(m_folders.IniPath, name);
    // Without a loaded panel there are no files to move.
    if (name.isEmpty() || !p.files->folderExists(folder))
        return;

    if (!PanelOnOneMonitor(*p.files, *p.ini, folder, name)) {
        m_prompter.showError(SpreadOverMonitorsMessage);
        return;
    }

    MonitorChooserModel chooser;
    for (int i = 1; i <= monitorCount; ++i)
        chooser.monitors << QString::number(i);
    if (!m_prompter.execDialog(chooser) || !chooser.hasSelection())
        return;

    // The chooser offers the monitors seen at start-up; one unplugged since then has no bounds to move to.
    const int index = chooser.selected;
    if (index >= p.monitors->count())
        throw VarnoltError(QStringLiteral("Monitor %1 is not connected!").arg(index + 1));
    const QRect bounds = p.monitors->bounds(index);

    emit busyChanged(true);
    const auto normalCursor = qScopeGuard([this] { emit busyChanged(false); });
    MovePanelToMonitor(*p.files, *p.ini, folder, name, index, bounds);
}
