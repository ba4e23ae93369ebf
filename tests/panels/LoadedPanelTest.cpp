#include "panels/LoadedPanel.h"
#include "app/MainController.h"
#include "app/Session.h"
#include "exchange/PanelArchive.h"
#include "exchange/PanelExchange.h"
#include "net/ControlListener.h"
#include "panels/PanelChooser.h"
#include "panels/PanelOperations.h"
#include "run/RemoteControl.h"
#include "run/RunControl.h"
#include "settings/Folders.h"
#include "settings/PanelFolder.h"
#include "support/LoadPanel.h"
#include "support/PanelWorld.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

const QByteArray kRow =
    "\"Airspeed\",\"47001\",\"Instruments_Standard\\A@Airspeed.exe\",\"Y\",\"1.2.3.4\",\"45000\",\"1\",\"1\"\r\n";
const QByteArray kSettings = "[Config]\r\nPanelMonitor=2\r\nNo_of_Screens=1\r\nShowBezels=0\r\n";

enum class Failure
{
    FolderMissing,
    ListUnreadable,     // a good row, then a line too short: the list was half read when it failed
    SettingsUnreadable, // the screen count is no number
};

enum class Caller
{
    Load,
    Copy,
    Import,
    Startup,
    AircraftSwitch, // idle, starting with the simulator
};

struct Machine : PanelWorld
{
    Machine() { TestPlatform::writeBytes(t.root() + "/bin/Instruments_Standard/A@Airspeed.exe", "program"); }

    // The panel's files on disk, good or failing as asked.
    void writePanel(const QString& name, std::optional<Failure> failure = std::nullopt)
    {
        QDir(t.panelFolder(name)).removeRecursively();
        if (failure == Failure::FolderMissing)
            return;
        const QString base = t.panelFolder(name) + "/" + name;
        TestPlatform::writeBytes(base + ".cfg",
                                 failure == Failure::ListUnreadable ? kRow + "\"Short\",\"1\"\r\n" : kRow);
        TestPlatform::writeBytes(base + ".ini", failure == Failure::SettingsUnreadable
                                                    ? QByteArray("[Config]\r\nNo_of_Screens=two\r\n")
                                                    : kSettings);
    }

    // "Old" loaded, with a row added since the last save.
    void loadOld()
    {
        writePanel("Old");
        loadPanel(s.loaded(), "Old");
        InstrumentRow row;
        row.Name = "Unsaved";
        s.loaded().instruments().append(row);
    }
};

QStringList rowNames(const Session& s)
{
    QStringList names;
    for (const InstrumentRow& row : s.loaded().instruments().rows())
        names << row.Name;
    return names;
}

} // namespace

// However a panel fails to load, the loaded panel's record, rows and caption stay together: all of the previous
// panel (nothing, at start-up), never a mix.
TEST(LoadedPanel, AFailedOpenLeavesThePreviousPanelWhole)
{
    // A copy or an import makes its folder itself, so only Load, start-up and the switch can miss theirs.
    const struct
    {
        Caller caller;
        Failure failure;
    } cases[] = {
        // clang-format off
        {Caller::Load,    Failure::FolderMissing},
        {Caller::Load,    Failure::ListUnreadable},
        {Caller::Load,    Failure::SettingsUnreadable},
        {Caller::Copy,    Failure::ListUnreadable},
        {Caller::Copy,    Failure::SettingsUnreadable},
        {Caller::Import,  Failure::ListUnreadable},
        {Caller::Import,  Failure::SettingsUnreadable},
        {Caller::Startup, Failure::FolderMissing},
        {Caller::Startup, Failure::ListUnreadable},
        {Caller::Startup, Failure::SettingsUnreadable},
        {Caller::AircraftSwitch, Failure::FolderMissing},
        {Caller::AircraftSwitch, Failure::ListUnreadable},
        {Caller::AircraftSwitch, Failure::SettingsUnreadable},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "caller " << int(c.caller) << ", failure " << int(c.failure));
        Machine m;
        Session& s = m.s;
        if (c.caller == Caller::Startup) {
            m.writePanel("Bad", c.failure);
            TestPlatform::writeBytes(m.t.settingsFile(), "[Config]\r\nLastPanelUsed=Bad\r\nListenPort=0\r\n");
            MainController controller(m.t.platform(), m.prompter, {});
            controller.startUp();
            const Session& started = controller.session();
            ASSERT_EQ(m.prompter.messages.size(), 1u);
            EXPECT_EQ(started.loaded().record().Name, "");
            EXPECT_EQ(started.loaded().instruments().count(), 0);
            EXPECT_EQ(started.loaded().documentName(), "");
            EXPECT_FALSE(controller.actions().startEnabled);
            continue;
        }

        m.loadOld();
        const QStringList rowsBefore = rowNames(s);
        bool completed = false;
        switch (c.caller) {
        case Caller::Load:
            m.writePanel("Bad", c.failure);
            m.prompter.answerDialog([](DialogModel& model) {
                auto& chooser = dynamic_cast<PanelChooserModel&>(model);
                chooser.panels = {"Bad"};
                chooser.selected = 0;
                return true;
            });
            completed = runGuarded(m.prompter, [&] { m.ops.aLoadPanelExecute(); });
            break;
        case Caller::Copy:
            m.writePanel("Old", c.failure); // the copy takes the files as they are on disk
            m.prompter.answerInput(QStringLiteral("Bad"));
            completed = runGuarded(m.prompter, [&] { m.ops.aCopyPanelExecute(); });
            break;
        case Caller::Import: {
            m.writePanel("Bad", c.failure);
            const QString archive = m.t.root() + "/Bad" + ExportExtension;
            PanelArchive(m.t.files).CompressDirectory(PanelFolder(s.folders.IniPath, "Bad").path(), false, archive);
            QDir(m.t.panelFolder("Bad")).removeRecursively();
            m.prompter.answerFile(archive);
            completed = runGuarded(m.prompter, [&] { m.exchange.aImportExecute(); });
            EXPECT_FALSE(QDir(m.t.panelFolder("Bad")).exists()) << "an import that fails leaves no panel";
            break;
        }
        case Caller::AircraftSwitch: {
            m.writePanel("Bad", c.failure);
            s.settings.PanelSwitching = true;
            s.settings.AutoStart = true;
            s.settings.ListenPort = "0";
            RunControl run(s.platform(), s.prompter(), s.folders, s.settings, s.LocalIPAddressToUse, s.StartupLayout,
                           s.loaded());
            ControlListener listener(s.settings);
            RemoteControl remote(s.prompter(), s.settings, s.loaded(), run, listener);
            listener.StartControlListener();
            remote.handleDatagram({ControlRecord{ControlRecord::Aircraft, "Bad"}});
            // Control records never show a message; the caption names the aircraft, nothing else changes.
            EXPECT_TRUE(m.prompter.messages.empty());
            EXPECT_FALSE(run.isRunning());
            EXPECT_EQ(s.loaded().record().Name, "Old");
            EXPECT_EQ(s.loaded().record().Monitor, "2");
            EXPECT_EQ(s.loaded().documentName(), "Old (Bad)");
            EXPECT_EQ(rowNames(s), rowsBefore);
            continue;
        }
        case Caller::Startup:
            break;
        }
        ASSERT_EQ(m.prompter.messages.size(), 1u);
        if (c.failure == Failure::FolderMissing) {
            // Chosen but gone: no panel is loaded, and the list keeps what the user saw.
            EXPECT_TRUE(completed);
            EXPECT_EQ(s.loaded().record().Name, "");
            EXPECT_EQ(s.loaded().documentName(), "");
        } else {
            EXPECT_FALSE(completed);
            EXPECT_EQ(s.loaded().record().Name, "Old");
            EXPECT_EQ(s.loaded().record().Monitor, "2");
            EXPECT_FALSE(s.loaded().record().ShowBezels);
            EXPECT_EQ(s.loaded().documentName(), "Old");
        }
        EXPECT_EQ(rowNames(s), rowsBefore);
    }
}
