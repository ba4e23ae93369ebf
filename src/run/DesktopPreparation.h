#pragma once

class DesktopPower;
class ShowDesktop;
class TSystemCritical;

// Switches the screensaver off, keeps the system awake and optionally declutters the desktop while a panel
// runs, and undoes what it recorded afterwards. The screensaver state seen by the last preparation is kept
// until the next one.
class DesktopPreparation
{
public:
    // showDesktop: the window manager's "show desktop", used by De-clutter where there is one.
    DesktopPreparation(DesktopPower& power, TSystemCritical& systemCritical, ShowDesktop* showDesktop = nullptr)
        : m_power(power), m_systemCritical(systemCritical), m_showDesktop(showDesktop)
    {}

    // If decluttering fails, everything done so far is undone before the error goes on: no half-prepared
    // desktop is left behind without a running panel to restore it.
    void PrepareDesktop(bool declutterDesktop);
    void RestoreDesktop(bool declutterDesktop);

    bool screenSaverWasActive() const { return m_screenSaverWasActive; }

private:
    DesktopPower& m_power;
    TSystemCritical& m_systemCritical;
    ShowDesktop* m_showDesktop;
    bool m_screenSaverWasActive = false;
};
