#include "SendToMonitor.h"

#include "panels/LoadedPanel.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/IniService.h"
#include "platform/Monitors.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "settings/Folders.h"
#include "settings/PanelFolder.h"

#include <QScopeGuard>

#include <optional>

namespace {

const QString kPosition = QStringLiteral("Position");
const QString kMonitor = QStringLiteral("Monitor");

// The files of the folder in the file system's order, with what each is. A folder that happens to match is no
// file.
std::vector<std::pair<QString, PanelFileKind>> filesOf(const FileSystem& files, const PanelFolder& folder)
{
    std::vector<std::pair<QString, PanelFileKind>> found;
    for (const DirEntry& e : files.list(folder.file(QStringLiteral("*")))) {
        if (!e.directory)
            found.emplace_back(folder.file(e.name), folder.kindOf(e.name));
    }
    return found;
}

} // namespace

bool PanelOnOneMonitor(const FileSystem& files, const IniService& ini, const PanelFolder& folder)
{
    std::optional<QString> reference;
    for (const auto& [file, kind] : filesOf(files, folder)) {
        if (kind != PanelFileKind::InstrumentPosition)
            continue;
        const QString monitor = ini.readString(file, kPosition, kMonitor, QString());
        if (!reference)
            reference = monitor;
        else if (monitor != *reference)
            return false;
    }
    return true;
}

void MovePanelToMonitor(const FileSystem& files, IniService& ini, const PanelFolder& folder, int index,
                        const QRect& bounds)
{
    const QString monitor = QString::number(index);
    for (const auto& [file, kind] : filesOf(files, folder)) {
        switch (kind) {
        case PanelFileKind::PanelSettings:
            ini.writeString(file, QStringLiteral("Config"), QStringLiteral("PanelMonitor"), monitor);
            break;
        case PanelFileKind::BackgroundSettings: {
            const QString settings = QStringLiteral("Settings");
            ini.writeString(file, settings, kMonitor, monitor);
            ini.writeString(file, settings, QStringLiteral("Height"), QString::number(bounds.height()));
            ini.writeString(file, settings, QStringLiteral("Width"), QString::number(bounds.width()));
            ini.writeString(file, kPosition, QStringLiteral("Top"), QString::number(bounds.top()));
            ini.writeString(file, kPosition, QStringLiteral("Left"), QString::number(bounds.left()));
            break;
        }
        case PanelFileKind::InstrumentPosition:
            ini.writeString(file, kPosition, kMonitor, monitor);
            break;
        default:
            break;
        }
    }
}

void SendToMonitor::aSendToMonitorExecute(int monitorCount)
{
    const Platform& p = m_platform;
    const QString& name = m_loaded.name();
    const PanelFolder folder(m_folders.IniPath, name);
    // Without a loaded panel there are no files to move.
    if (name.isEmpty() || !p.files->folderExists(folder.path()))
        return;

    if (!PanelOnOneMonitor(*p.files, *p.ini, folder)) {
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
    MovePanelToMonitor(*p.files, *p.ini, folder, index, bounds);
}
