#include "MainController.h"

#include "net/NetworkConfig.h"
#include "platform/DesktopShell.h"
#include "platform/Environment.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/Monitors.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"

MainController::MainController(const Platform& platform, Prompter& prompter, QStringList arguments, QObject* parent)
    : QObject(parent), m_session(platform, prompter), m_services(m_session), m_seams(&m_services),
      m_arguments(std::move(arguments))
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

void MainController::FormCreate()
{
    const Platform& p = m_session.platform();
    m_session.folders = ResolveFolders(*p.env, *p.files);
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
    save([&] { m_seams->SaveInstrumentList(s.loaded().name()); });
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
}

void MainController::OnRestore()
{
    if (m_seams->isRunning())
        runGuarded(m_session.prompter(), [&] { m_seams->StopPanel(); });
}

void MainController::aUserManualExecute()
{
    const Platform& p = m_session.platform();
    const QString manual = nativePath(joinPath(p.env->currentDirectory(), QStringLiteral("Varnolt Manual.pdf")));
    if (!p.files->fileExists(manual))
        return;
    Prompter& prompter = m_session.prompter();
    p.shell->openDocument(manual, [&prompter, manual] {
        prompter.showError(
            QStringLiteral("\"%1\" cannot be opened: no program to show PDF files was found.").arg(manual));
    });
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
