#include "TrayIcon.h"

#include "Artwork.h"
#include "MainController.h"
#include "TfrmMain.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>

TrayIcon::TrayIcon(TfrmMain& window, QObject* parent) : QObject(parent), m_window(window), m_menu(new QMenu)
{
    m_menu->setObjectName(QStringLiteral("trayMenu"));
    QAction* show = m_menu->addAction(QStringLiteral("S&how"));
    show->setObjectName(QStringLiteral("trayShow"));
    connect(show, &QAction::triggered, &window, &TfrmMain::showFromElsewhere);
    m_menu->addAction(window.action(QStringLiteral("aStartPanel")));
    m_menu->addAction(window.action(QStringLiteral("aStopPanel")));
    m_menu->addSeparator();
    // Not the ribbon's Exit, which a running panel disables: like the window's close button, this always
    // closes (and stops what runs).
    QAction* exit = m_menu->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("trayExit"));
    connect(exit, &QAction::triggered, &window, &QWidget::close);

    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_icon = new QSystemTrayIcon(applicationIcon(), this);
    // The window is minimised while a panel runs: the tool tip is where its status line can be read then.
    const auto tip = [this](const StatusTexts& texts) {
        QStringList lines{QStringLiteral("Varnolt"), texts.listener, texts.panel};
        if (!texts.problem.isEmpty())
            lines << texts.problem;
        m_icon->setToolTip(lines.join(u'\n'));
    };
    tip(window.controller().status().texts());
    connect(&window.controller().status(), &ProgramStatus::changed, this, tip);
    m_icon->setContextMenu(m_menu);
    // A plain click opens the same menu: Show stops a running panel, so it is never done by a stray click.
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            m_menu->popup(QCursor::pos());
    });
    m_icon->show();
}

TrayIcon::~TrayIcon()
{
    delete m_icon;
    delete m_menu;
}

bool TrayIcon::shown() const
{
    return m_icon && m_icon->isVisible();
}
