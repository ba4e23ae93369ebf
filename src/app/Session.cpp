#include "Session.h"

Session::Session(const Platform& platform, Prompter& prompter, QObject* parent)
    : QObject(parent), m_platform(platform), m_prompter(prompter), m_loaded(m_platform, folders, settings, prompter),
      CurrentPanel(m_loaded.record())
{
    connect(&m_loaded, &LoadedPanel::documentNameChanged, this, &Session::documentNameChanged);
}

AppSettingsFile Session::settingsFile() const
{
    return AppSettingsFile(*m_platform.ini, folders.SettingsFileName());
}

QString Session::ribbonTitle() const
{
    return documentName().isEmpty() ? RibbonCaption : documentName() + QStringLiteral(" - ") + RibbonCaption;
}

void Session::setActions(const ActionState& actions)
{
    if (actions == m_actions)
        return;
    m_actions = actions;
    emit actionsChanged(m_actions);
}

void Session::UpdateStartEnabled(const QString& panelName)
{
    ActionState a = m_actions;
    a.startEnabled = !panelName.isEmpty();
    setActions(a);
}

void Session::setRunningState(bool running)
{
    ActionState a = m_actions;
    a.startEnabled = !running;
    a.stopEnabled = running;
    a.groupsEnabled = !running;
    setActions(a);
}

void Session::setSendToEnabled(bool enabled)
{
    ActionState a = m_actions;
    a.sendToEnabled = enabled;
    setActions(a);
}
