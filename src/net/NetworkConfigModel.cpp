#include "NetworkConfigModel.h"

void NetworkConfigModel::setPanelSwitching(bool on)
{
    m_panelSwitching = on;
    cbPanelSwitchingClick();
}

void NetworkConfigModel::cbPanelSwitchingClick()
{
    m_autoStartEnabled = m_panelSwitching;
}

void NetworkConfigModel::fill(const AppSettings& s)
{
    listenPort = s.ListenPort;
    flightSimPort = s.FlightSimPort;
    multicastGroup = s.MulticastGroup;
    flightSimIPAddress = s.FlightSimIPAddress;
    setPanelSwitching(s.PanelSwitching);
    monitorChecking = s.MonitorChecking;
    declutterDesktop = s.DeclutterDesktop;
    autoStart = s.AutoStart;
}

void NetworkConfigModel::copyTo(AppSettings& s) const
{
    s.ListenPort = listenPort;
    s.MulticastGroup = multicastGroup;
    s.FlightSimPort = flightSimPort;
    s.FlightSimIPAddress = flightSimIPAddress;
    s.PanelSwitching = m_panelSwitching;
    s.MonitorChecking = monitorChecking;
    s.DeclutterDesktop = declutterDesktop;
    s.AutoStart = autoStart;
}
