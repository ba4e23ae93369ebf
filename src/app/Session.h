#pragma once

#include "AppSettings.h"
#include "Folders.h"
#include "panels/LoadedPanel.h"
#include "platform/Platform.h"

#include <QObject>
#include <QStringList>

class Prompter;

// Which ribbon controls are usable. Only these change at run time; every other control stays enabled.
struct ActionState
{
    bool startEnabled = false;
    bool stopEnabled = false;  // true exactly while a panel runs
    bool groupsEnabled = true; // every group but "Control"
    bool sendToEnabled = false;

    bool operator==(const ActionState&) const = default;
};

// The program-wide state the main window owns: folders, settings, the loaded panel, the monitors seen at
// start-up and the ribbon's enabling. Every subsystem works on it.
class Session : public QObject
{
    Q_OBJECT

public:
    Session(const Platform& platform, Prompter& prompter, QObject* parent = nullptr);

    const Platform& platform() const { return m_platform; }
    Prompter& prompter() const { return m_prompter; }
    LoadedPanel& loaded() { return m_loaded; }
    const LoadedPanel& loaded() const { return m_loaded; }
    InstrumentListModel& instruments() { return m_loaded.instruments(); }
    const InstrumentListModel& instruments() const { return m_loaded.instruments(); }

    AppSettingsFile settingsFile() const;

    Folders folders;
    AppSettings settings;
    QString LocalIPAddressToUse = QStringLiteral("Auto");
    MonitorLayout StartupLayout;
    int MonitorCount = 0;

    const QString& documentName() const { return m_loaded.documentName(); }
    void setDocumentName(const QString& name) { m_loaded.setDocumentName(name); }
    // The caption area of the ribbon: the document name followed by the ribbon's caption.
    QString ribbonTitle() const;

    const ActionState& actions() const { return m_actions; }
    bool isRunning() const { return m_actions.stopEnabled; }
    // Start is enabled exactly when a panel is loaded.
    void UpdateStartEnabled(const QString& panelName);
    // The one switch between the running and the editing state.
    void setRunningState(bool running);
    void setSendToEnabled(bool enabled);

signals:
    void documentNameChanged(const QString& name);
    void actionsChanged(const ActionState& actions);

private:
    void setActions(const ActionState& actions);

    const Platform m_platform;
    Prompter& m_prompter;
    LoadedPanel m_loaded;
    ActionState m_actions;

public:
    // The loaded panel's record, held by m_loaded.
    PanelRecord& CurrentPanel;
};

inline const QString RibbonCaption = QStringLiteral("Varnolt Professional");
