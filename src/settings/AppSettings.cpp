#include "AppSettings.h"

#include "platform/IniService.h"

namespace {
const QString kSection = QStringLiteral("Config");
const QString kYes = QStringLiteral("yes");
const QString kNo = QStringLiteral("no");
} // namespace

QString AppSettingsFile::read(const char* key, const QString& defaultValue) const
{
    return m_ini.readString(m_fileName, kSection, QLatin1String(key), defaultValue);
}

// Only "yes" exactly turns a switch on; "Yes", "1" or "true" leave it off.
bool AppSettingsFile::readSwitch(const char* key) const
{
    return read(key, kNo) == kYes;
}

void AppSettingsFile::write(const char* key, const QString& value)
{
    m_ini.writeString(m_fileName, kSection, QLatin1String(key), value);
}

void AppSettingsFile::writeSwitch(const char* key, bool on)
{
    write(key, on ? kYes : kNo);
}

void AppSettingsFile::LoadAppSettings(AppSettings& s, QString& localIPAddressToUse) const
{
    const AppSettings defaults;
    s.MulticastGroup = read("MulticastGroup", defaults.MulticastGroup);
    s.FlightSimIPAddress = read("FlightSimIPAddress", defaults.FlightSimIPAddress);
    s.FlightSimPort = read("FlightSimPort", defaults.FlightSimPort);
    s.ListenPort = read("ListenPort", defaults.ListenPort);
    s.RelayPort = read("RelayPort", defaults.RelayPort);
    localIPAddressToUse = read("AdapterIPAddress", QStringLiteral("Auto"));
    s.PanelSwitching = readSwitch("PanelSwitching");
    s.AutoStart = readSwitch("AutoStart");
    s.MonitorChecking = readSwitch("MonitorChecking");
    s.DeclutterDesktop = readSwitch("DeclutterDesktop");
}

QString AppSettingsFile::ReadLastPanelUsed() const
{
    return read("LastPanelUsed", QString());
}

void AppSettingsFile::SaveLastPanelUsed(const QString& name)
{
    write("LastPanelUsed", name);
}

void AppSettingsFile::SaveAdapterAddress(const QString& value)
{
    write("AdapterIPAddress", value);
}

void AppSettingsFile::SaveNetworkSettings(const AppSettings& s)
{
    write("ListenPort", s.ListenPort);
    write("MulticastGroup", s.MulticastGroup);
    write("FlightSimPort", s.FlightSimPort);
    write("FlightSimIPAddress", s.FlightSimIPAddress);
    writeSwitch("PanelSwitching", s.PanelSwitching);
    writeSwitch("AutoStart", s.AutoStart);
    writeSwitch("MonitorChecking", s.MonitorChecking);
    writeSwitch("DeclutterDesktop", s.DeclutterDesktop);
}
