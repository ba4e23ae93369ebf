#pragma once

#include <QObject>

class QMenu;
class QSystemTrayIcon;
class TfrmMain;

// The icon in the desktop's tray, where it has one: a way back to a window that Start minimised, also under a
// window manager without a taskbar. Its menu: Show (as restoring the window: a running panel stops), Start and
// Stop (the ribbon's own actions, so they are enabled alike), and Exit, which always closes the program.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    explicit TrayIcon(TfrmMain& window, QObject* parent = nullptr);
    ~TrayIcon() override;

    // Made whether or not the desktop has a tray.
    QMenu* menu() const { return m_menu; }
    // Shown when the desktop has a tray; false otherwise (the menu is still there for tests).
    bool shown() const;

private:
    TfrmMain& m_window;
    QMenu* m_menu;
    QSystemTrayIcon* m_icon = nullptr;
};
