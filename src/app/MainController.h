#pragma once

#include "ActionState.h"
#include "ProgramLog.h"
#include "ProgramStatus.h"
#include "Session.h"
#include "Subsystems.h"

#include <QObject>
#include <QStringList>

class Prompter;

inline const QString WebSiteAddress = QStringLiteral("https://www.example.com");

// The main window's life cycle and its reactions, without the window: start-up, close, restore and the
// ribbon actions. The window binds to it and to its Session.
class MainController : public QObject
{
    Q_OBJECT

public:
    // arguments: the command line without the program name.
    MainController(const Platform& platform, Prompter& prompter, QStringList arguments, QObject* parent = nullptr);

    Session& session() { return m_session; }
    const Session& session() const { return m_session; }
    Subsystems& services() { return m_services; }
    // What runs and what is heard, for the status line.
    ProgramStatus& status() { return m_status; }
    // The log file of the settings folder; off when that cannot be written.
    ProgramLog& log() { return m_log; }

    // Tests put a recording stand-in in place of the real subsystems.
    void setSeams(SubsystemSeams& seams) { m_seams = &seams; }

    // Start-up, run once by the program entry when the window is shown: the folders and the log, the
    // settings, the panel the command line names (or the last one used), the listener, and a start asked for.
    // Its message boxes show over the window; an error ends it there and leaves the window usable.
    void startUp();
    // A close was asked for (Exit, the window's close button, a termination signal, the end of the session):
    // from now on no control record is handled, so the close never waits behind a storm of them. Runs once.
    void closeRequested();
    // Saves, stops and closes the listener; runs once, whatever fails on the way.
    void FormClose();
    bool closed() const { return m_closed; }
    void OnRestore();
    // A later start of the program handed over its command line. One argument loads and starts a panel as at
    // start-up (the window stays minimised); anything else asks for the window, as restoring it would.
    void startedAgain(const QStringList& arguments);

    // The ribbon's enabling, derived from the running state, the loaded panel and the monitors.
    const ActionState& actions() const { return m_actions; }

    QString versionText() const { return QStringLiteral("V") + VersionNo; }
    // "BannerImage.jpg" in the current directory, or empty when the banner strip is hidden.
    const QString& bannerImagePath() const { return m_bannerImagePath; }

    void aNewPanelExecute() { m_services.panels().aNewPanelExecute(m_session.MonitorCount); }
    void aEditSettingsExecute() { m_services.panels().aEditSettingsExecute(m_session.MonitorCount); }
    void aCopyPanelExecute() { m_services.panels().aCopyPanelExecute(); }
    void aDeletePanelExecute() { m_services.panels().aDeletePanelExecute(); }
    void aLoadPanelExecute() { m_services.panels().aLoadPanelExecute(); }
    void aUserManualExecute();
    void aWebSiteExecute();
    void aPortNumberExecute();
    // Shows the log file.
    void aShowLogExecute();
    void aStartPanelExecute() { m_seams->StartPanel(); }
    void aStopPanelExecute() { m_seams->StopPanel(); }
    void aAddInstrumentExecute() { m_services.instruments().aAddInstrumentExecute(); }
    void a3rdPartyExecute() { m_services.instruments().a3rdPartyExecute(); }
    void aEditInstrumentExecute() { m_services.instruments().aEditInstrumentExecute(); }
    void aDeleteInstrumentExecute() { m_services.instruments().aDeleteInstrumentExecute(); }
    void aResetPosExecute() { m_services.instruments().aResetPosExecute(); }
    // A double-click on the instrument list edits the row, also while a panel runs.
    void lvInstrumentsDblClick() { aEditInstrumentExecute(); }
    void aSendToMonitorExecute() { m_services.sendTo().aSendToMonitorExecute(m_session.MonitorCount); }
    void aExportExecute() { m_services.exchange().aExportExecute(); }
    LayoutController& layout() { return m_services.layout(); }
    void aImportExecute() { m_services.exchange().aImportExecute(); }

signals:
    void bannerChanged(const QString& imagePath);
    void minimizeRequested();
    // The user wants the window back: shown, raised and restored (which stops a running panel).
    void showRequested();
    void busyChanged(bool busy);
    void actionsChanged(const ActionState& actions);

private:
    // The two halves of start-up: what needs no settings file, then what reads it.
    void FormCreate();
    void FormShow();
    bool hasOneArgument() const { return m_arguments.size() == 1; }
    void updateActions();
    void wireLog();

    Session m_session;
    Subsystems m_services;
    ProgramStatus m_status;
    StatusTexts m_loggedStatus;
    QString m_loggedPanel;
    // After everything its hooks read: it goes first, and its hooks with it.
    ProgramLog m_log;
    SubsystemSeams* m_seams;
    QStringList m_arguments;
    QString m_bannerImagePath;
    ActionState m_actions;
    bool m_started = false;
    bool m_closeRequested = false;
    bool m_closed = false;
};
