#include "X11ShowDesktop.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(c, 0, uint16_t(strlen(name)), name);
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_window_t rootOf(xcb_connection_t* c, int screen)
{
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; it.rem > 0 && i < screen; ++i)
        xcb_screen_next(&it);
    return it.rem > 0 ? it.data->root : xcb_window_t(XCB_NONE);
}

} // namespace

X11ShowDesktop::X11ShowDesktop(xcb_connection_t* connection, int screen) : m_connection(connection), m_screen(screen) {}

bool X11ShowDesktop::supported()
{
    // Asked anew each time: the window manager may have been started or replaced since.
    const xcb_window_t root = rootOf(m_connection, m_screen);
    const xcb_atom_t supportedAtom = atom(m_connection, "_NET_SUPPORTED");
    const xcb_atom_t showing = atom(m_connection, "_NET_SHOWING_DESKTOP");
    if (root == XCB_NONE || supportedAtom == XCB_ATOM_NONE || showing == XCB_ATOM_NONE)
        return false;
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(m_connection, 0, root, supportedAtom, XCB_ATOM_ATOM, 0, 4096);
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(m_connection, cookie, nullptr), &std::free);
    if (!reply || reply->format != 32)
        return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / int(sizeof(xcb_atom_t));
    for (int i = 0; i < count; ++i) {
        if (atoms[i] == showing)
            return true;
    }
    return false;
}

void X11ShowDesktop::setShowingDesktop(bool showing)
{
    if (!m_connection || xcb_connection_has_error(m_connection) || !supported())
        return;
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = rootOf(m_connection, m_screen);
    event.type = atom(m_connection, "_NET_SHOWING_DESKTOP");
    event.data.data32[0] = showing ? 1 : 0;
    // A request to the window manager, which listens on the root window for exactly these masks.
    xcb_send_event(m_connection, 0, event.window,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(m_connection);
}
