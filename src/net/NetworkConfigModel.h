#pragma once

#include "platform/Prompter.h"
#include "settings/AppSettings.h"

// The network configuration dialog's state: four texts taken as typed (nothing is validated) and four
// switches. The autostart box is usable only while panel switching is on, but keeps its check either way.
class NetworkConfigModel : public DialogModel
{
public:
    QString multicastGroup;     // edMulti
    QString flightSimIPAddress; // edIPAddress
    QString listenPort;         // edPort
    QString flightSimPort;      // edDCSPort
    bool autoStart = false;
    bool monitorChecking = false;
    bool declutterDesktop = false;

    bool panelSwitching() const { return m_panelSwitching; }
    // Every change of the panel switching box, the user's or the program's, runs cbPanelSwitchingClick.
    void setPanelSwitching(bool on);
    bool autoStartEnabled() const { return m_autoStartEnabled; }

    void fill(const AppSettings& settings);
    // Copies every control back exactly as left, the autostart check also while its box is disabled.
    void copyTo(AppSettings& settings) const;

private:
    void cbPanelSwitchingClick();

    bool m_panelSwitching = false;
    bool m_autoStartEnabled = false; // disabled when the dialog is created
};
