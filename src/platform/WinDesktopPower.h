#pragma once

#include "DesktopPower.h"

#include <QObject>

// The screensaver switch of the user's session (SystemParametersInfoW, never written to the profile nor
// announced), the thread execution state against sleep, the desktop's icon view under the "Progman" window,
// and the shell's "Minimize all windows".
class WinDesktopPower : public DesktopPower
{
public:
    bool screenSaverActive() override;
    void setScreenSaverActive(bool active) override;
    // The system ties the request to the thread that makes it: every change is made on the thread this object
    // was made on (the user-interface thread), also when asked from another.
    void setSleepInhibited(bool inhibited) override;
    void hideDesktopIcons() override;
    void showDesktopIcons() override;
    void minimizeAllWindows() override;

private:
    QObject m_requestThread; // lives on the thread whose execution state is changed
};
