#pragma once

#include "platform/Prompter.h"

#include <QObject>
#include <QRect>
#include <QStringList>

class FileSystem;
class IniService;
class LoadedPanel;
class PanelFolder;
struct Folders;
struct Platform;

inline const QString SpreadOverMonitorsMessage =
    QStringLiteral("The panel spreads accross multiple monitors. Cannot use this function!");

// The state of the chooser "Select Monitor": the monitors offered as "1", "2", ... and the chosen entry.
class MonitorChooserModel : public DialogModel
{
public:
    QStringList monitors;
    int selected = 0;

    bool hasSelection() const { return selected >= 0 && selected < monitors.size(); }
};

// True when every instrument position file of the folder names the same monitor, compared as text; a folder
// with fewer than two of them passes.
bool PanelOnOneMonitor(const FileSystem& files, const IniService& ini, const PanelFolder& folder);

// Points every settings file of the folder at monitor `index`: the panel's "PanelMonitor", the instruments'
// "Monitor", and the background's monitor and rectangle, which become the monitor's full bounds.
// Nothing else in the files changes.
void MovePanelToMonitor(const FileSystem& files, IniService& ini, const PanelFolder& folder, int index,
                        const QRect& bounds);

// The ribbon's Send To: moves the loaded panel, if it sits on one monitor, to the monitor the user picks.
class SendToMonitor : public QObject
{
    Q_OBJECT

public:
    SendToMonitor(const Platform& platform, Prompter& prompter, const Folders& folders, const LoadedPanel& loaded,
                  QObject* parent = nullptr)
        : QObject(parent), m_platform(platform), m_prompter(prompter), m_folders(folders), m_loaded(loaded)
    {}

    // monitorCount: the monitors the chooser offers, as counted when the main window was shown.
    void aSendToMonitorExecute(int monitorCount);

signals:
    void busyChanged(bool busy);

private:
    const Platform& m_platform;
    Prompter& m_prompter;
    const Folders& m_folders;
    const LoadedPanel& m_loaded;
};
