#pragma once

#include <QString>

class IniService;

// The network settings and behaviour switches of the application settings file, as read or entered.
struct AppSettings
{
    QString MulticastGroup = QStringLiteral("224.11.5.62");
    QString FlightSimIPAddress = QStringLiteral("255.255.255.255");
    QString FlightSimPort = QStringLiteral("45000");
    QString ListenPort = QStringLiteral("48000");
    // Where flight data sent to this PC by unicast arrives, to be handed to every gauge; "0" for none.
    // Kept in the file only: no dialog edits it.
    QString RelayPort = QStringLiteral("45001");
    bool PanelSwitching = false;
    bool AutoStart = false;
    bool MonitorChecking = false;
    bool DeclutterDesktop = false;
};

// The application settings file, section [Config]. Every call opens the file anew.
class AppSettingsFile
{
public:
    AppSettingsFile(IniService& ini, QString fileName) : m_ini(ini), m_fileName(std::move(fileName)) {}

    const QString& fileName() const { return m_fileName; }

    void LoadAppSettings(AppSettings& settings, QString& localIPAddressToUse) const;
    QString ReadLastPanelUsed() const;
    void SaveLastPanelUsed(const QString& name);
    void SaveAdapterAddress(const QString& value);
    void SaveNetworkSettings(const AppSettings& settings);

private:
    QString read(const char* key, const QString& defaultValue) const;
    bool readSwitch(const char* key) const;
    void write(const char* key, const QString& value);
    void writeSwitch(const char* key, bool on);

    IniService& m_ini;
    QString m_fileName;
};
