#pragma once

#include "ShowDesktop.h"

#include <cstdint>
#include <vector>

struct xcb_connection_t;

// The EWMH request _NET_SHOWING_DESKTOP, sent to the root window when the running window manager lists it
// among the hints it supports. The connection stays the caller's; without one nothing happens.
class X11ShowDesktop : public ShowDesktop
{
public:
    // screen: the X screen whose root window receives the request.
    explicit X11ShowDesktop(xcb_connection_t* connection, int screen = 0);

    void setShowingDesktop(bool showing) override;

private:
    using Window = std::uint32_t;

    bool supported();
    std::uint32_t atom(const char* name);
    std::vector<std::uint32_t> property(Window window, const char* name);
    bool hidden(Window window);
    void request(Window window, const char* type, std::vector<std::uint32_t> data);

    xcb_connection_t* m_connection;
    int m_screen;
    Window m_root = 0;
    // The windows in view when the desktop was shown, bottom to top.
    std::vector<Window> m_shownOver;
};
