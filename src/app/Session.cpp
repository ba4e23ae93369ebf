#include "Session.h"

Session::Session(const Platform& platform, Prompter& prompter, QObject* parent)
    : QObject(parent), m_platform(platform), m_prompter(prompter), m_instruments(*platform.locale)
{
}

AppSettingsFile Session::settingsFile() const
{
    return AppSettingsFile(*m_platform.ini, folders.SettingsFileName());
}

void Session::setDocumentName(const QString& name)
{
    if (name == m_documentName)
        return;
    m_documentName = name;
    emit documentNameChanged(name);
}

QString Session::ribbonTitle() const
{
    return m_documentName.isEmpty() ? RibbonCaption : m_documentName + QStringLiteral(" - ") + RibbonCaption;
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
