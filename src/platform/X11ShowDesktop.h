#pragma once

#include "ShowDesktop.h"

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
    bool supported();

    xcb_connection_t* m_connection;
    int m_screen;
};
