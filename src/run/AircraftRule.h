#pragma once

#include <QString>

// What an aircraft record does after it has set the caption, from the loaded panel's name, the running state
// and the two switches. The handler acts on it, and the look-ahead that skips superseded records foretells
// with it, so the two cannot disagree.

// The caption every aircraft record sets first.
inline QString aircraftCaption(const QString& panelName, const QString& aircraft)
{
    return panelName + QStringLiteral(" (") + aircraft + u')';
}

// The caption of a panel switched to for the aircraft: without the blank.
inline QString switchedCaption(const QString& panelName, const QString& aircraft)
{
    return panelName + u'(' + aircraft + u')';
}

// The panel folders are searched for the aircraft when the loaded panel's name does not contain it (letter
// case counts) and switching is on: while a panel runs the aircraft flown has changed; while none runs, a
// panel starts only when asked to start with the simulator.
inline bool searchesForPanel(const QString& panelName, bool running, bool panelSwitching, bool autoStart,
                             const QString& aircraft)
{
    if (aircraft.isEmpty() || panelName.contains(aircraft, Qt::CaseSensitive))
        return false;
    return panelSwitching && (running || autoStart);
}

enum class PanelSwitch
{
    None,           // nothing more happens
    ReloadAndStart, // the loaded panel, idle: its settings are read again and it starts
    SwitchAndStart, // the loaded panel is left (and stopped), the found one loaded and started
};

// What finding the panel `found` for the aircraft leads to.
inline PanelSwitch panelSwitch(const QString& found, const QString& panelName, bool running)
{
    // The bare folder "Panel_" is no panel; the panel for this aircraft may run already and goes on undisturbed.
    if (found.isEmpty() || (running && found == panelName))
        return PanelSwitch::None;
    return found == panelName ? PanelSwitch::ReloadAndStart : PanelSwitch::SwitchAndStart;
}
