#include "MainController.h"

#include "LogViewModel.h"

#include "net/NetworkConfig.h"
#include "platform/DesktopShell.h"
#include "platform/Environment.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/Monitors.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"

#include <QFile>

MainController::MainController(const Platform& platform, Prompter& prompter, QStringList arguments, QObject* parent)
    : QObject(parent), m_session(platform, prompter), m_services(m_session),
      m_status(m_session.settings, m_services.listener(), m_services.remote(), m_services.run(), m_session.loaded()),
      m_seams(&m_services), m_arguments(std::move(arguments))
{
    connect(&m_services.run(), &RunControl::minimizeRequested, this, &MainController::minimizeRequested);
    connect(&m_services.run(), &RunControl::busyChanged, this, &MainController::busyChanged);
    connect(&m_services.exchange(), &PanelExchange::busyChanged, this, &MainController::busyChanged);
    connect(&m_services.sendTo(), &SendToMonitor::busyChanged, this, &MainController::busyChanged);
    connect(&m_services.run(), &RunControl::runningChanged, this, &MainController::updateActions);
    connect(&m_session.loaded(), &LoadedPanel::changed, this, &MainController::updateActions);
    // Not while closing: the program is ending, nobody is left to answer.
    connect(&m_services.run(), &RunControl::runningChanged, this, [this](bool running) {
        if (!running && !m_closed)
            m_services.layout().offerPendingFit();
    });
    connect(&m_services.layout(), &LayoutController::windowsLost, this, [this](int count) {
        m_session.prompter().message(
            MessageKind::Warning,
            QStringLiteral("The monitors changed: %1 window(s) of the running panel lie on no monitor. After Stop, "
                           "Varnolt offers to fit the panel to these monitors.")
                .arg(count));
    });
    updateActions();
    wireLog();
}

void MainController::wireLog()
{
    // Each hook does no more than a line, or a count in a storm: the log never slows the records down.
    connect(&m_services.remote(), &RemoteControl::recordHandled, &m_log,
            [this](const ControlRecord& record) { m_log.record(ControlRecordText(record)); });
    connect(&m_services.remote(), &RemoteControl::recordsPassedOver, &m_log,
            [this](qsizetype count) { m_log.passedOver(count); });
    connect(&m_session.prompter(), &Prompter::errorShown, &m_log,
            [this](const QString& text) { m_log.write(QStringLiteral("Error: ") + text); });
    connect(&m_session.loaded(), &LoadedPanel::changed, &m_log, [this] {
        const QString name = m_session.loaded().name();
        if (name == m_loggedPanel)
            return;
        m_loggedPanel = name;
        m_log.write(name.isEmpty() ? QStringLiteral("No panel loaded") : QStringLiteral("Panel %1 loaded").arg(name));
    });
    // What the status line says of the listener and the panel, whenever it changes: listening or why not,
    // started, stopped, and programs that ended by themselves.
    connect(&m_status, &ProgramStatus::changed, &m_log, [this](const StatusTexts& texts) {
        if (texts.problem != m_loggedStatus.problem && !texts.problem.isEmpty())
            m_log.write(texts.problem);
        // Only we close the listener (at the end, or to open it anew): no news for the log.
        if (texts.listener != m_loggedStatus.listener && m_services.listener().isOpen())
            m_log.write(texts.listenerDetail);
        if (texts.panel != m_loggedStatus.panel && m_session.loaded().isLoaded())
            m_log.write(QStringLiteral("Panel %1: %2").arg(m_session.loaded().name(), texts.panel));
        m_loggedStatus = texts;
    });
}

void MainController::updateActions()
{
    const ActionState actions =
        deriveActions(m_services.run().isRunning(), m_session.loaded().isLoaded(), m_session.MonitorCount);
    if (actions == m_actions)
        return;
    m_actions = actions;
    emit actionsChanged(m_actions);
}

void MainController::startUp()
{
    if (m_started)
        return;
    m_started = true;
    FormCreate();
    FormShow();
}

void MainController::FormCreate()
{
    const Platform& p = m_session.platform();
    m_session.folders = ResolveFolders(*p.env, *p.files);
    const bool logged = m_log.open(nativePath(joinPath(m_session.folders.IniPath, ProgramLog::FileName)));
    m_log.write(QStringLiteral("Varnolt %1 started").arg(versionText()));
    // Said in the status line rather than in a box, so an unattended start still runs its panel. A log that
    // cannot be opened in a folder that is there says the folder cannot be written.
    const QString folder = nativePath(m_session.folders.IniPath);
    if (!p.files->folderExists(m_session.folders.IniPath))
        m_status.setSettingsProblem(
            QStringLiteral("The settings folder \"%1\" cannot be created: settings and panels cannot be saved.")
                .arg(folder));
    else if (!logged)
        m_status.setSettingsProblem(
            QStringLiteral("The settings folder \"%1\" cannot be written: settings and panels cannot be saved.")
                .arg(folder));
    // Captured once: the monitor check compares with what the PC had when the program started.
    m_session.StartupLayout = MonitorLayout::capture(*p.monitors);
    // The add-instrument dialog is made once; its set list is what was installed at start-up.
    m_services.instruments().FormCreate();
}

void MainController::FormShow()
{
    Session& s = m_session;
    const Platform& p = s.platform();
    // An error in any step ends start-up there; the window stays usable.
    runGuarded(s.prompter(), [&] {
        s.settingsFile().LoadAppSettings(s.settings, s.LocalIPAddressToUse);

        const QString banner = nativePath(joinPath(p.env->currentDirectory(), QStringLiteral("BannerImage.jpg")));
        m_bannerImagePath = p.files->fileExists(banner) ? banner : QString();
        emit bannerChanged(m_bannerImagePath);

        m_seams->CreateProcessList();
        s.MonitorCount = p.monitors->count();
        updateActions();

        const bool namedOnCommandLine = hasOneArgument() && m_arguments.first() != QLatin1String("start");
        const QString name = namedOnCommandLine ? m_arguments.first() : s.settingsFile().ReadLastPanelUsed();
        // A panel missing or unreadable leaves none loaded, and start-up goes on: the listener opens whatever
        // became of the panel. One that is there but could not be read stays the last used panel.
        if (!name.isEmpty() && !runGuarded(s.prompter(), [&] { m_seams->OpenPanel(s.loaded(), name); }))
            s.loaded().keepUnreadStartupPanel(name);
        m_seams->StartControlListener();

        if (hasOneArgument() && s.loaded().isLoaded()) {
            emit minimizeRequested();
            m_seams->StartPanel();
        }
    });
}

void MainController::closeRequested()
{
    if (m_closeRequested)
        return;
    m_closeRequested = true;
    m_seams->EndControlDelivery();
}

void MainController::FormClose()
{
    if (m_closed)
        return;
    m_closed = true;
    closeRequested();
    Session& s = m_session;
    // A save that fails never keeps the program open: its message is shown once and the close goes on.
    // The files hold what they held before, since a failed write replaces nothing.
    QStringList errors;
    const auto save = [&errors](const std::function<void()>& step) {
        try {
            step();
        } catch (const VarnoltError& e) {
            errors << e.message();
        } catch (const std::exception& e) {
            errors << QString::fromLocal8Bit(e.what());
        }
    };
    save([&] { m_seams->SaveLoadedPanel(s.loaded()); });
    save([&] { s.settingsFile().SaveLastPanelUsed(s.loaded().lastUsedName()); });
    errors.removeDuplicates();
    if (!errors.isEmpty())
        s.prompter().showError(errors.join(u'\n'));

    if (m_seams->isRunning()) {
        // The program is ending: a process that will not stop must not keep it open.
        try {
            m_seams->StopPanel();
        } catch (...) {
        }
    }
    m_seams->DestroyProcessList();
    m_seams->StopControlListener();
    m_log.write(QStringLiteral("Varnolt closed"));
}

void MainController::OnRestore()
{
    if (m_seams->isRunning())
        runGuarded(m_session.prompter(), [&] { m_seams->StopPanel(); });
}

void MainController::startedAgain(const QStringList& arguments)
{
    if (m_closeRequested)
        return;
    m_log.write(QStringLiteral("Started again (%1): handed to this copy")
                    .arg(arguments.isEmpty() ? QStringLiteral("no argument") : arguments.join(u' ')));
    Session& s = m_session;
    // Under a dialog the panel is not changed behind the user's back: the window is only brought forward.
    if (arguments.size() != 1 || s.prompter().modalOpen()) {
        emit showRequested();
        return;
    }
    runGuarded(s.prompter(), [&] {
        const QString& argument = arguments.first();
        const QString name = argument == QLatin1String("start") ? s.settingsFile().ReadLastPanelUsed() : argument;
        if (name.isEmpty() || (m_seams->isRunning() && name == s.loaded().name()))
            return;
        if (m_seams->isRunning())
            m_seams->StopPanel();
        if (name != s.loaded().name()) {
            // Leaving a panel keeps its rows, as Load does.
            s.loaded().leave();
            if (!m_seams->OpenPanel(s.loaded(), name))
                return;
        }
        if (s.loaded().isLoaded()) {
            emit minimizeRequested();
            m_seams->StartPanel();
        }
    });
}

void MainController::aUserManualExecute()
{
    const Platform& p = m_session.platform();
    const QString fileName = QStringLiteral("Varnolt Manual.pdf");
    // The current directory first; then beside the program, where an installed copy keeps it: a program
    // started from the desktop's menu runs in the home folder, which has none.
    const QString here = nativePath(joinPath(p.env->currentDirectory(), fileName));
    const QString programFolder = nativePath(m_session.folders.AppPath);
    const QString beside = programFolder + fileName;
    const QString manual = p.files->fileExists(here) ? here : beside;
    Prompter& prompter = m_session.prompter();
    if (!p.files->fileExists(manual)) {
        prompter.showError(QStringLiteral("The user manual \"%1\" was found neither in %2 nor in %3.")
                               .arg(fileName, nativePath(p.env->currentDirectory()), programFolder.chopped(1)));
        return;
    }
    p.shell->openDocument(manual, [&prompter, manual] {
        prompter.showError(
            QStringLiteral("\"%1\" cannot be opened: no program to show PDF files was found.").arg(manual));
    });
}

void MainController::aShowLogExecute()
{
    if (m_log.path().isEmpty())
        return;
    if (!m_log.isOpen() && !QFile::exists(m_log.path())) {
        m_session.prompter().showError(QStringLiteral("No log is kept: \"%1\" cannot be written.").arg(m_log.path()));
        return;
    }
    LogViewModel model(m_log.path());
    m_session.prompter().execDialog(model);
}

void MainController::aWebSiteExecute()
{
    Prompter& prompter = m_session.prompter();
    m_session.platform().shell->openAddress(WebSiteAddress, [&prompter] {
        prompter.showError(QStringLiteral("%1 cannot be opened: no web browser was found.").arg(WebSiteAddress));
    });
}

void MainController::aPortNumberExecute()
{
    AppSettingsFile file = m_session.settingsFile();
    runNetworkConfig(m_session.prompter(), m_session.settings, file);
}
