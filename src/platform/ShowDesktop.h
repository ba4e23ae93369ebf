#pragma once

// The window manager's "show desktop": every window is moved out of the way, and later brought back. Where
// the desktop has no such request (no window manager, Wayland, a headless platform) both do nothing.
class ShowDesktop
{
public:
    virtual ~ShowDesktop() = default;
    virtual void setShowingDesktop(bool showing) = 0;
};
