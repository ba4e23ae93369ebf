#include "X11ShowDesktop.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

constexpr std::uint32_t kIconicState = 3; // WM_STATE
constexpr std::uint32_t kFromPager = 2;   // _NET_ACTIVE_WINDOW: asked for by the user's own tool, not an app

xcb_window_t rootOf(xcb_connection_t* c, int screen)
{
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; it.rem > 0 && i < screen; ++i)
        xcb_screen_next(&it);
    return it.rem > 0 ? it.data->root : xcb_window_t(XCB_NONE);
}

} // namespace

X11ShowDesktop::X11ShowDesktop(xcb_connection_t* connection, int screen) : m_connection(connection), m_screen(screen) {}

std::uint32_t X11ShowDesktop::atom(const char* name)
{
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(m_connection, 0, uint16_t(strlen(name)), name);
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(m_connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

std::vector<std::uint32_t> X11ShowDesktop::property(Window window, const char* name)
{
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(m_connection, 0, window, atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 4096);
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(m_connection, cookie, nullptr), &std::free);
    if (!reply || reply->format != 32)
        return {};
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

bool X11ShowDesktop::hidden(Window window)
{
    const std::vector<std::uint32_t> state = property(window, "WM_STATE");
    return !state.empty() && state.front() == kIconicState;
}

bool X11ShowDesktop::supported()
{
    // Asked anew each time: the window manager may have been started or replaced since.
    m_root = rootOf(m_connection, m_screen);
    if (m_root == XCB_NONE)
        return false;
    const std::vector<std::uint32_t> atoms = property(m_root, "_NET_SUPPORTED");
    return std::find(atoms.begin(), atoms.end(), atom("_NET_SHOWING_DESKTOP")) != atoms.end();
}

void X11ShowDesktop::request(Window window, const char* type, std::vector<std::uint32_t> data)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atom(type);
    std::copy_n(data.begin(), std::min<size_t>(data.size(), 5), event.data.data32);
    // A request to the window manager, which listens on the root window for exactly these masks.
    xcb_send_event(m_connection, 0, m_root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

void X11ShowDesktop::setShowingDesktop(bool showing)
{
    if (!m_connection || xcb_connection_has_error(m_connection) || !supported())
        return;
    if (showing) {
        m_shownOver.clear();
        for (Window w : property(m_root, "_NET_CLIENT_LIST_STACKING")) {
            if (!hidden(w))
                m_shownOver.push_back(w);
        }
        request(m_root, "_NET_SHOWING_DESKTOP", {1});
    } else if (property(m_root, "_NET_SHOWING_DESKTOP") == std::vector<std::uint32_t>{1}) {
        request(m_root, "_NET_SHOWING_DESKTOP", {0});
    } else {
        // The window manager left the mode on its own when the first gauge appeared, and brings back only
        // what is activated: the windows shown over, in their old order, then the one active now on top.
        const std::vector<std::uint32_t> active = property(m_root, "_NET_ACTIVE_WINDOW");
        for (Window w : m_shownOver) {
            if (hidden(w))
                request(w, "_NET_ACTIVE_WINDOW", {kFromPager, XCB_CURRENT_TIME, 0});
        }
        if (!active.empty() && active.front() != XCB_NONE)
            request(active.front(), "_NET_ACTIVE_WINDOW", {kFromPager, XCB_CURRENT_TIME, 0});
    }
    if (!showing)
        m_shownOver.clear();
    xcb_flush(m_connection);
}
