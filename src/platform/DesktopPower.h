#pragma once

// What a running panel asks of the desktop and the power management: no screensaver, no sleep and, on
// request, a decluttered desktop. Every call must fail quietly where the desktop has no such facility.
class DesktopPower
{
public:
    virtual ~DesktopPower() = default;

    // Whether a screensaver would start now; false when the desktop cannot tell.
    virtual bool screenSaverActive() = 0;
    // Neither stored in the user's profile nor announced: it lasts for this program run at most.
    virtual void setScreenSaverActive(bool active) = 0;
    // The system must not sleep while inhibited; the display may still switch itself off. Any thread may
    // lift a request made on another.
    virtual void setSleepInhibited(bool inhibited) = 0;

    virtual void hideDesktopIcons() = 0;
    virtual void showDesktopIcons() = 0;
    virtual void minimizeAllWindows() = 0;
};
