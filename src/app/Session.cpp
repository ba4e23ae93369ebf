#include "Session.h"

Session::Session(const Platform& platform, Prompter& prompter)
    : m_platform(platform), m_prompter(prompter), m_panels(*m_platform.files, folders),
      m_loaded(m_platform, folders, m_panels, settings, prompter)
{}

AppSettingsFile Session::settingsFile() const
{
    return AppSettingsFile(*m_platform.ini, folders.SettingsFileName());
}

QString Session::ribbonTitle() const
{
    const QString& name = m_loaded.documentName();
    return name.isEmpty() ? RibbonCaption : name + QStringLiteral(" - ") + RibbonCaption;
}
