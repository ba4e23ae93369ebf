#include "platform/X11ShowDesktop.h"
#include "support/Wait.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

// A private X server (and, on request, openbox on it) for the length of one test.
class X11Desktop : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty())
            GTEST_SKIP() << "Xvfb is not installed: the window manager request is not tried";
        // A display number no other server of this machine holds.
        for (int n = 70 + int(QCoreApplication::applicationPid() % 50); n < 200; ++n) {
            if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) &&
                !QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n))) {
                m_display = QStringLiteral(":%1").arg(n);
                break;
            }
        }
        m_server.start(xvfb, {m_display, QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-screen"),
                              QStringLiteral("0"), QStringLiteral("640x480x24")});
        ASSERT_TRUE(m_server.waitForStarted());
        ASSERT_TRUE(waitFor([this] {
            xcb_connection_t* c = xcb_connect(m_display.toLocal8Bit().constData(), nullptr);
            if (xcb_connection_has_error(c)) {
                xcb_disconnect(c);
                return false;
            }
            m_c = c;
            return true;
        })) << "Xvfb did not come up on "
            << m_display.toStdString();
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root;
    }

    void TearDown() override
    {
        if (m_c)
            xcb_disconnect(m_c);
        for (QProcess* p : {&m_windowManager, &m_server}) {
            if (p->state() != QProcess::NotRunning) {
                p->terminate();
                if (!p->waitForFinished(3000))
                    p->kill();
                p->waitForFinished(3000);
            }
        }
    }

    void startOpenbox()
    {
        const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
        if (openbox.isEmpty())
            GTEST_SKIP() << "openbox is not installed: the window manager request is not tried";
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), m_display);
        env.insert(QStringLiteral("HOME"), m_home.path()); // no user configuration of this machine
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.path());
        m_windowManager.setProcessEnvironment(env);
        m_windowManager.setStandardOutputFile(QProcess::nullDevice());
        m_windowManager.setStandardErrorFile(QProcess::nullDevice()); // it misses a menu file it does not need
        m_windowManager.start(openbox, {QStringLiteral("--sm-disable")});
        ASSERT_TRUE(m_windowManager.waitForStarted());
        ASSERT_TRUE(waitFor([this] { return supportsShowingDesktop(); })) << "openbox did not come up";
    }

    xcb_atom_t atom(const char* name)
    {
        Reply<xcb_intern_atom_reply_t> r(
            xcb_intern_atom_reply(m_c, xcb_intern_atom(m_c, 0, uint16_t(strlen(name)), name), nullptr), &std::free);
        return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    // The 32-bit values of a window property; empty when it is not set.
    std::vector<uint32_t> property(xcb_window_t window, const char* name)
    {
        Reply<xcb_get_property_reply_t> r(
            xcb_get_property_reply(
                m_c, xcb_get_property(m_c, 0, window, atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 4096), nullptr),
            &std::free);
        if (!r || r->format != 32)
            return {};
        const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(r.get()));
        return {values, values + xcb_get_property_value_length(r.get()) / 4};
    }

    bool supportsShowingDesktop()
    {
        const auto atoms = property(m_root, "_NET_SUPPORTED");
        return std::find(atoms.begin(), atoms.end(), atom("_NET_SHOWING_DESKTOP")) != atoms.end();
    }

    xcb_window_t openWindow()
    {
        const xcb_window_t w = xcb_generate_id(m_c);
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data;
        xcb_create_window(m_c, XCB_COPY_FROM_PARENT, w, m_root, 10, 10, 200, 100, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          screen->root_visual, 0, nullptr);
        xcb_map_window(m_c, w);
        xcb_flush(m_c);
        return w;
    }

    bool viewable(xcb_window_t w)
    {
        Reply<xcb_get_window_attributes_reply_t> r(
            xcb_get_window_attributes_reply(m_c, xcb_get_window_attributes(m_c, w), nullptr), &std::free);
        return r && r->map_state == XCB_MAP_STATE_VIEWABLE;
    }

    QString m_display;
    QProcess m_server;
    QProcess m_windowManager;
    QTemporaryDir m_home;
    xcb_connection_t* m_c = nullptr;
    xcb_window_t m_root = XCB_NONE;
};

TEST_F(X11Desktop, OpenboxShowsTheDesktopAndBringsTheWindowsBack)
{
    // Open before the window manager starts, which then takes over every window already shown.
    const xcb_window_t window = openWindow();
    startOpenbox();
    const auto managed = [&](xcb_window_t w) { return viewable(w) && !property(w, "WM_STATE").empty(); };
    ASSERT_TRUE(waitFor([&] { return managed(window); })) << "openbox did not manage the window";
    const auto showing = [&](uint32_t on) { return property(m_root, "_NET_SHOWING_DESKTOP") == std::vector{on}; };

    for (const bool gaugeOpens : {false, true}) {
        SCOPED_TRACE(gaugeOpens ? "a gauge opens meanwhile" : "nothing opens meanwhile");
        X11ShowDesktop desktop(m_c);
        desktop.setShowingDesktop(true);
        EXPECT_TRUE(waitFor([&] { return showing(1); }));
        EXPECT_TRUE(waitFor([&] { return !viewable(window); })) << "the window stays over the desktop";
        xcb_window_t gauge = XCB_NONE;
        if (gaugeOpens) {
            // Openbox leaves the mode for a new window, showing that one alone.
            gauge = openWindow();
            ASSERT_TRUE(waitFor([&] { return managed(gauge) && showing(0); }));
            ASSERT_FALSE(viewable(window));
        }

        desktop.setShowingDesktop(false);
        EXPECT_TRUE(waitFor([&] { return showing(0); }));
        EXPECT_TRUE(waitFor([&] { return viewable(window); })) << "the window did not come back";
        if (gaugeOpens) {
            EXPECT_TRUE(viewable(gauge));
            xcb_destroy_window(m_c, gauge);
        }
    }
}

TEST_F(X11Desktop, NothingHappensWithoutAWindowManagerOrAConnection)
{
    const xcb_window_t window = openWindow();
    ASSERT_TRUE(waitFor([&] { return viewable(window); }));

    X11ShowDesktop(m_c).setShowingDesktop(true);
    X11ShowDesktop(nullptr).setShowingDesktop(true);
    std::free(xcb_get_input_focus_reply(m_c, xcb_get_input_focus(m_c), nullptr)); // a round trip
    EXPECT_TRUE(property(m_root, "_NET_SHOWING_DESKTOP").empty());
    EXPECT_TRUE(viewable(window));
    EXPECT_FALSE(xcb_connection_has_error(m_c));
}

} // namespace
