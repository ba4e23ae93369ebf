#pragma once

#include "app/Session.h"
#include "layout/LayoutController.h"
#include "settings/Folders.h"
#include "support/LoadPanel.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include <QDir>

#include <map>

// A gauge's position file as our sample gauges write it.
inline QByteArray gaugeFile(int monitor, int x, int y)
{
    return QStringLiteral("[Position]\r\nMonitor=%1\r\nX=%2\r\nY=%3\r\nIsLocked=False\r\n"
                          "[Size]\r\nScaleSize=1\r\nWidth=200\r\nHeight=200\r\n")
        .arg(monitor)
        .arg(x)
        .arg(y)
        .toLatin1();
}

// The panel settings file with the monitors it was saved on (count and size keys, in the order given).
inline QByteArray settingsFile(int count, const std::vector<QSize>& sizes)
{
    QByteArray text = "[Config]\r\nPanelName=Cockpit\r\nShowBackground=1\r\nPanelMonitor=0\r\nNo_of_Screens=" +
                      QByteArray::number(count) + "\r\n";
    for (int i = 0; i < int(sizes.size()); ++i)
        text += QStringLiteral("Screen_%1_Height=%2\r\nScreen_%1_Width=%3\r\n")
                    .arg(i)
                    .arg(sizes[i].height())
                    .arg(sizes[i].width())
                    .toLatin1();
    return text;
}

// A background covering the whole desktop.
inline QByteArray backgroundFile(QSize desktop)
{
    return QStringLiteral("[Settings]\r\nType=0\r\nWidth=%1\r\nHeight=%2\r\nSizeType=0\r\nMonitor=0\r\n"
                          "[Position]\r\nTop=0\r\nLeft=0\r\n")
        .arg(desktop.width())
        .arg(desktop.height())
        .toLatin1();
}

// The panel Cockpit with the gauges Airspeed 1, Altimeter 1 and RPM 1, loaded, with its layout controller.
struct LayoutFixture
{
    TestPlatform t;
    ScriptedPrompter prompter;
    Session s;
    bool running = false;
    std::unique_ptr<LayoutController> layout;

    // monitors: the PC's; none for the test's own FakeMonitors (t.monitors).
    explicit LayoutFixture(Monitors* monitors = nullptr) : s(platformWith(monitors), prompter)
    {
        s.folders = ResolveFolders(t.env, t.files);
        write("Cockpit.cfg",
              "\"Airspeed\",\"47110\",\"Instruments_Standard\\P@Airspeed.exe\",\"Y\",\"\",\"45000\","
              "\"1\",\"1\"\r\n"
              "\"Altimeter\",\"47111\",\"Instruments_Standard\\P@Altimeter.exe\",\"Y\",\"\",\"45000\","
              "\"1\",\"1\"\r\n"
              "\"RPM\",\"47112\",\"Instruments_Standard\\E@RPM.exe\",\"N\",\"\",\"45000\",\"1\",\"1\"\r\n");
    }

    Platform platformWith(Monitors* monitors)
    {
        Platform p = t.platform();
        if (monitors)
            p.monitors = monitors;
        return p;
    }

    // Loads the panel as it now lies on disk.
    void open()
    {
        loadPanel(s.loaded(), QStringLiteral("Cockpit"));
        layout = std::make_unique<LayoutController>(s.platform(), prompter, s.folders, s.loaded(),
                                                    [this] { return running; });
    }

    QString folder() const { return t.panelFolder("Cockpit"); }
    void write(const QString& name, const QByteArray& bytes) const
    {
        TestPlatform::writeBytes(folder() + '/' + name, bytes);
    }
    QByteArray read(const QString& name) const { return TestPlatform::readBytes(folder() + '/' + name); }
    std::map<QString, QByteArray> files() const
    {
        std::map<QString, QByteArray> all;
        for (const QString& name : QDir(folder()).entryList(QDir::Files))
            all[name] = read(name);
        return all;
    }
};
