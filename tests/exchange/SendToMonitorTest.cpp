#include "exchange/SendToMonitor.h"
#include "app/Session.h"
#include "settings/Folders.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include <QDir>

#include <gtest/gtest.h>

#include <map>
#include <optional>

namespace {

const QByteArray kSettings = "[Config]\r\nPanelName=Cockpit\r\nPanelMonitor=1\r\nNo_of_Screens=3\r\n";
const QByteArray kBackground = "[Settings]\r\nType=1\r\nMonitor=1\r\nHeight=500\r\nWidth=600\r\nColour=255\r\n"
                               "[Position]\r\nTop=10\r\nLeft=20\r\n";

QByteArray position(const char* monitor, int x)
{
    QByteArray text = "[Position]\r\n";
    if (monitor)
        text += "Monitor=" + QByteArray(monitor) + "\r\n";
    return text + "X=" + QByteArray::number(x) + "\r\nY=50\r\nIsLocked=False\r\n[Size]\r\nScaleSize=1\r\n";
}

// The loaded panel Cockpit with its settings, list and background files, on a PC of three monitors.
struct PanelOnDisk
{
    TestPlatform t;
    ScriptedPrompter prompter;
    Session s{t.platform(), prompter};
    SendToMonitor sendTo{s.platform(), s.prompter(), s.folders, s.loaded()};

    PanelOnDisk()
    {
        s.folders = ResolveFolders(t.env, t.files);
        t.monitors.screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024), QRect(-1280, -200, 1280, 1024)};
        s.loaded().record().Name = QStringLiteral("Cockpit");
        // The background's name in another letter case is still the background's.
        write("Cockpit.ini", kSettings);
        write("Cockpit.cfg", "\"Airspeed\",\"47001\"\r\n");
        write("panelbackground.ini", kBackground);
    }

    QString folder() const { return t.panelFolder("Cockpit"); }
    void write(const QString& name, const QByteArray& bytes) const
    {
        TestPlatform::writeBytes(folder() + '/' + name, bytes);
    }
    std::map<QString, QByteArray> files() const
    {
        std::map<QString, QByteArray> all;
        for (const QString& name : QDir(folder()).entryList(QDir::Files))
            all[name] = TestPlatform::readBytes(folder() + '/' + name);
        return all;
    }
    void choose(int entry, bool ok = true)
    {
        prompter.answerDialog([entry, ok](DialogModel& m) {
            auto& chooser = dynamic_cast<MonitorChooserModel&>(m);
            EXPECT_EQ(chooser.monitors, QStringList({"1", "2", "3"}));
            EXPECT_EQ(chooser.selected, 0);
            chooser.selected = entry;
            return ok;
        });
    }
};

} // namespace

TEST(SendTo, RewritesExactlyTheMonitorKeysOfEveryFile)
{
    PanelOnDisk f;
    f.write("A@Airspeed1.ini", position("1", 100));
    f.write("B@Altimeter1.ini", position("1", 300));
    f.choose(2);

    f.sendTo.aSendToMonitorExecute(3);

    EXPECT_TRUE(f.prompter.messages.empty());
    EXPECT_EQ(f.files().at("Cockpit.ini"), QByteArray(kSettings).replace("PanelMonitor=1", "PanelMonitor=2"));
    EXPECT_EQ(f.files().at("panelbackground.ini"),
              "[Settings]\r\nType=1\r\nMonitor=2\r\nHeight=1024\r\nWidth=1280\r\nColour=255\r\n"
              "[Position]\r\nTop=-200\r\nLeft=-1280\r\n");
    EXPECT_EQ(f.files().at("A@Airspeed1.ini"), position("2", 100));
    EXPECT_EQ(f.files().at("B@Altimeter1.ini"), position("2", 300));
    EXPECT_EQ(f.files().at("Cockpit.cfg"), "\"Airspeed\",\"47001\"\r\n");
}

TEST(SendTo, MovesOnlyPanelsThatSitOnOneMonitor)
{
    struct Case
    {
        const char* what;
        std::vector<std::optional<const char*>> monitors; // one instrument position file each; nullopt: no key
        bool passes;
    };
    const Case cases[] = {
        {"all on one monitor", {"1", "1", "1"}, true},
        {"two monitors", {"0", "1"}, false},
        {"a key missing among zeros", {"0", std::nullopt}, false},
        {"only a background", {}, true},
        {"one file by hand, no key", {std::nullopt}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PanelOnDisk f;
        for (size_t i = 0; i < c.monitors.size(); ++i)
            f.write(QStringLiteral("I@Inst%1.ini").arg(i), position(c.monitors[i].value_or(nullptr), 10));
        const auto before = f.files();
        if (c.passes)
            f.choose(1);

        f.sendTo.aSendToMonitorExecute(3);

        EXPECT_TRUE(f.prompter.scriptUsedUp());
        if (c.passes) {
            EXPECT_TRUE(f.prompter.messages.empty());
            for (const auto& [name, bytes] : f.files()) {
                if (name.startsWith("I@")) {
                    EXPECT_EQ(f.t.ini.readString(f.folder() + '/' + name, "Position", "Monitor", {}), "1")
                        << name.toStdString();
                }
            }
            EXPECT_EQ(f.t.ini.readString(f.folder() + "/Cockpit.ini", "Config", "PanelMonitor", {}), "1");
            EXPECT_EQ(f.t.ini.readString(f.folder() + "/panelbackground.ini", "Position", "Left", {}), "1920");
        } else {
            EXPECT_EQ(f.prompter.messageTexts(), QStringList{SpreadOverMonitorsMessage});
            EXPECT_EQ(f.files(), before);
        }
    }
}

TEST(SendTo, WritesNothingWhenCancelledOrTheMonitorIsGone)
{
    PanelOnDisk f;
    f.write("A@Airspeed1.ini", position("0", 100));
    const auto before = f.files();

    f.choose(1, false);
    f.sendTo.aSendToMonitorExecute(3);
    EXPECT_EQ(f.files(), before);

    // Unplugged since the main window was shown: the chooser still offers it.
    f.t.monitors.screens.pop_back();
    f.choose(2);
    EXPECT_FALSE(runGuarded(f.prompter, [&] { f.sendTo.aSendToMonitorExecute(3); }));
    EXPECT_EQ(f.prompter.messageTexts(), QStringList{"Monitor 3 is not connected!"});
    EXPECT_EQ(f.files(), before);
}
