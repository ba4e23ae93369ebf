// Panel names that come from outside the panel dialog (a panel's settings file, the folders of the settings
// folder, the command line, the last used panel, an archive, a control record), run against real files: a
// name that breaks the rule reads and writes nothing, nothing outside the settings folder changes, and no
// panel ever writes another's files.
#include "settings/PanelNames.h"
#include "app/MainController.h"
#include "app/Session.h"
#include "exchange/PanelArchive.h"
#include "exchange/PanelExchange.h"
#include "net/ControlListener.h"
#include "panels/PanelChooser.h"
#include "panels/PanelOperations.h"
#include "panels/PanelSetupModel.h"
#include "platform/Errors.h"
#include "run/CommandLines.h"
#include "run/RemoteControl.h"
#include "run/RunControl.h"
#include "settings/Folders.h"
#include "support/FileTree.h"
#include "support/PanelWorld.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>

#include <functional>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const QByteArray kRow =
    "\"Airspeed\",\"47001\",\"Instruments_Standard\\A@Airspeed.exe\",\"Y\",\"1.2.3.4\",\"45000\",\"1\",\"1\"\r\n";
const QByteArray kBaitRow = "\"Bait\",\"App\",\"/nonexistent/bait\",\"Y\",\"\",\"\",\"\",\"\"\r\n";
const QByteArray kUtf8Bom = "\xEF\xBB\xBF";

// Names that break the rule, as bytes: sources that carry text get them decoded as UTF-8, as the program
// decodes its command line and an INI file with a byte order mark.
std::vector<QByteArray> hostileNames(const QString& root)
{
    const QByteArray absolute = QFile::encodeName(root) + "/outside/p/q";
    return {
        "Alpha/../../../../outside/p/q",        // from Panel_Alpha up and out: <root>/outside/p/q
        "Alpha\\..\\..\\..\\..\\outside\\p\\q", // the same; "\" separates the stored paths
        "..",
        ".",
        absolute,
        QByteArray(absolute).replace('/', '\\'),
        "Alpha\x01",
        "Alpha\x7f",
        "Alpha\nBravo",
        "Alpha\xff", // no UTF-8
        QByteArray(100, 'A'),
    };
}

const size_t kHostileCount = hostileNames({}).size();

std::string shown(const QByteArray& name)
{
    return name.toPercentEncoding("/\\.").toStdString();
}

using Tree = std::map<QString, QByteArray>;

// One row of a table: a failed assertion or an exception ends that row alone, so every row is seen.
void runCase(const std::function<void()>& body)
{
    try {
        body();
    } catch (const VarnoltError& e) {
        ADD_FAILURE() << "threw: " << e.message().toStdString();
    } catch (const std::exception& e) {
        ADD_FAILURE() << "threw: " << e.what();
    }
}

// One PC: the panels Alpha (one row) and Bravo (four), and beside the settings folder what a path leading out
// of it would reach: Panel_Alpha/../../../../outside/p/q is <root>/outside/p/q, and the files named after
// such a panel are <root>/outside/p/q.cfg and .ini, holding a row and a monitor no panel has.
struct World : PanelWorld
{
    World()
    {
        TestPlatform::writeBytes(t.root() + "/bin/Instruments_Standard/A@Airspeed.exe", "program");
        writePanel("Alpha", kRow, "Alpha");
        writePanel("Bravo", kRow + kRow + kRow + kRow, "Bravo");
        QDir().mkpath(outside() + "/p/q/Alpha");
        TestPlatform::writeBytes(outside() + "/p/q.cfg", kBaitRow);
        TestPlatform::writeBytes(outside() + "/p/q.ini", "[Config]\r\nPanelMonitor=7\r\n");
    }

    QString outside() const { return t.root() + "/outside"; }
    void writePanel(const QString& name, const QByteArray& cfg, const QByteArray& panelNameKey)
    {
        TestPlatform::writeBytes(t.panelFolder(name) + "/" + name + ".ini",
                                 kUtf8Bom + "[Config]\r\nPanelName=" + panelNameKey + "\r\nPanelMonitor=0\r\n");
        TestPlatform::writeBytes(t.panelFolder(name) + "/" + name + ".cfg", cfg);
        TestPlatform::writeBytes(t.panelFolder(name) + "/PanelBackGround.ini", "[Settings]\r\nType=0\r\n");
    }
    QStringList rowNames() const
    {
        QStringList names;
        for (const InstrumentRow& row : s.loaded().instruments().rows())
            names << row.Name;
        return names;
    }
    // What changed below the test's root since `before`, leaving out the entries under `mayChange`.
    QStringList changedSince(const Tree& before, const QStringList& mayChange = {}) const
    {
        const Tree after = snapshotTree(t.root());
        QStringList paths;
        for (const auto& [path, bytes] : before)
            if (!after.count(path) || after.at(path) != bytes)
                paths << path;
        for (const auto& [path, bytes] : after)
            if (!before.count(path))
                paths << path;
        paths.removeIf([&](const QString& path) {
            return std::any_of(mayChange.begin(), mayChange.end(),
                               [&](const QString& m) { return path.startsWith(QDir::fromNativeSeparators(m)); });
        });
        return paths;
    }
};

} // namespace

// The folder is the panel's identity for every path, for the children's command lines and for the last used
// panel. A "PanelName" that is the same name in other letter case is shown as it is (files from Windows,
// whose names ignore case); one naming another panel, no panel or a path is not the panel's name at all.
TEST(PanelNames, APanelsSettingsFileNeverSendsItsFilesElsewhere)
{
    struct Case
    {
        QByteArray stored; // empty: the hostile name of that index
        QString shown;     // in the setup dialog, and stored back by its OK
        size_t hostile = 0;
    };
    std::vector<Case> cases = {
        {"Alpha", "Alpha"},   // as written by the program
        {"ALPHA", "ALPHA"},   // differing in letter case
        {"Bravo", "Alpha"},   // naming another panel
        {"Charlie", "Alpha"}, // naming no panel
    };
    for (size_t i = 0; i < kHostileCount; ++i)
        cases.push_back({{}, "Alpha", i});
    for (const Case& c : cases)
        runCase([&] {
            World w;
            const QByteArray stored = c.stored.isEmpty() ? hostileNames(w.t.root())[c.hostile] : c.stored;
            SCOPED_TRACE(shown(stored));
            if (stored.contains('\n'))
                return; // a line of its own in the file
            w.writePanel("Alpha", kRow, stored);
            const Tree before = snapshotTree(w.t.root());

            w.prompter.answerDialog([](DialogModel& m) {
                auto& chooser = dynamic_cast<PanelChooserModel&>(m);
                chooser.selected = int(chooser.panels.indexOf("Alpha"));
                return true;
            });
            w.ops.aLoadPanelExecute();
            const PanelRecord& record = w.s.loaded().record();
            EXPECT_EQ(record.Name, "Alpha");
            EXPECT_EQ(record.Monitor, "0");
            EXPECT_EQ(w.rowNames(), QStringList({"Airspeed"}));
            EXPECT_EQ(w.s.loaded().documentName(), "Alpha");
            EXPECT_EQ(LaunchValues::from(record, w.s.settings, "Auto", w.s.folders.AppPath, u'.').panelName, "Alpha");

            QString inDialog;
            w.prompter.answerDialog([&](DialogModel& m) {
                auto& dialog = dynamic_cast<PanelSetupModel&>(m);
                dialog.FormShow();
                inDialog = dialog.panelName;
                return dialog.bbOKClick();
            });
            w.ops.aEditSettingsExecute(1);
            EXPECT_EQ(inDialog, c.shown);
            w.s.loaded().leave(); // the save point of Load, New and close
            EXPECT_EQ(w.s.loaded().lastUsedName(), "Alpha");

            EXPECT_TRUE(w.prompter.messages.empty()) << w.prompter.messageTexts().join('|').toStdString();
            EXPECT_EQ(w.changedSince(before, {w.t.panelFolder("Alpha") + "/"}), QStringList());
            EXPECT_EQ(w.t.ini.readString(w.s.folders.IniPath + "\\Panel_Alpha\\Alpha.ini", "Config", "PanelName", {}),
                      c.shown);
        });
}

// A folder whose name breaks the rule is no panel: the chooser does not list it, and no aircraft finds it,
// whatever it holds and wherever its name would lead.
TEST(PanelNames, FoldersWhoseNamesBreakTheRuleAreNoPanels)
{
    World w;
    std::vector<QByteArray> folders = {""}; // "Panel_" alone
    for (const QByteArray& name : hostileNames(w.t.root())) {
        if (!name.contains('/')) // "/" cannot be part of a folder name here
            folders.push_back(name);
    }
#ifdef _WIN32
    // Names are UTF-16 there: the byte that is no UTF-8 is the letter "ÿ" of the ANSI code page, a fair name.
    std::erase(folders, QByteArray("Alpha\xff"));
#endif
    const QByteArray settings = QFile::encodeName(w.t.settingsFolder());
    for (const QByteArray& name : folders) {
        // As the program would have made it, but for the name.
        const QByteArray folder = settings + "/Panel_" + name;
#ifdef _WIN32
        // Windows refuses most of these names (control characters, a trailing dot, bytes of no code page): a
        // folder it cannot hold is no case there.
        if (!QDir().mkdir(QFile::decodeName(folder)))
            continue;
#else
        ASSERT_EQ(::mkdir(folder.constData(), 0777), 0) << shown(name);
#endif
        QFile cfg(QFile::decodeName(folder + "/" + name + ".cfg"));
        if (cfg.open(QIODevice::WriteOnly))
            cfg.write(kBaitRow);
    }
    const Tree before = snapshotTree(w.t.root());

    QStringList listed = w.s.loaded().panels().names();
    listed.sort();
    EXPECT_EQ(listed, QStringList({"Alpha", "Bravo"}));

    Session& s = w.s;
    s.settings.PanelSwitching = true;
    s.settings.AutoStart = true;
    s.settings.ListenPort = "0";
    RunControl run(s.platform(), s.prompter(), s.folders, s.settings, s.LocalIPAddressToUse, s.StartupLayout,
                   s.loaded());
    run.CreateProcessList();
    ControlListener listener(s.settings);
    RemoteControl remote(s.prompter(), s.settings, s.loaded(), run, listener);
    listener.StartControlListener();
    // Each aircraft name is found in one of those folders alone; bytes of a datagram beyond ASCII arrive
    // as U+FFFD, as the folder name that is no UTF-8 lists.
    for (const char* aircraft : {"outside", "..", "\x01", "\x7f", "Alpha\nBravo", "\xEF\xBF\xBD", "AAAAAAAAAA"})
        runCase([&] {
            SCOPED_TRACE(shown(aircraft));
            EXPECT_FALSE(w.s.loaded().panels().findContaining(QString::fromUtf8(aircraft)));
            remote.handleDatagram({ControlRecord{ControlRecord::Aircraft, QString::fromUtf8(aircraft)}});
            EXPECT_FALSE(s.loaded().isLoaded());
            EXPECT_FALSE(run.isRunning());
        });
    listener.StopControlListener();
    run.DestroyProcessList();

    EXPECT_TRUE(w.prompter.messages.empty());
    EXPECT_EQ(w.changedSince(before), QStringList());
}

// The command line and the last used panel: a name that breaks the rule is reported as missing, nothing is
// read or written for it, and start-up goes on to open the listener.
TEST(PanelNames, StartUpRefusesNamesThatBreakTheRule)
{
    const QString missing = QStringLiteral(" configuration is missing! - Create Panel again");
    for (const bool onCommandLine : {true, false}) {
        for (size_t i = 0; i < kHostileCount; ++i)
            runCase([&] {
                World w;
                const QByteArray name = hostileNames(w.t.root())[i];
                if (!onCommandLine && name.contains('\n'))
                    return; // a line of its own in the settings file
                SCOPED_TRACE(shown(name) + (onCommandLine ? " on the command line" : " as the last used panel"));
                const QString settings = w.t.settingsFile();
                TestPlatform::writeBytes(settings, kUtf8Bom + "[Config]\r\nListenPort=0\r\nLastPanelUsed=" +
                                                       (onCommandLine ? QByteArray("Bravo") : name) + "\r\n");
                const Tree before = snapshotTree(w.t.root());

                QStringList arguments;
                if (onCommandLine)
                    arguments << QString::fromUtf8(name);
                MainController controller(w.t.platform(), w.prompter, arguments);
                controller.startUp();
                const LoadedPanel& loaded = controller.session().loaded();
                EXPECT_FALSE(loaded.isLoaded());
                EXPECT_EQ(loaded.instruments().count(), 0);
                // Said in one line a box can show: no control character, no endless name.
                ASSERT_EQ(w.prompter.messageTexts().size(), 1u);
                const QString text = w.prompter.messageTexts()[0];
                EXPECT_TRUE(text.startsWith("Panel ") && text.endsWith(missing)) << text.toStdString();
                EXPECT_LE(text.size(), 6 + MaxPanelNameLength + 1 + missing.size());
                EXPECT_FALSE(std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 32; }));

                controller.FormClose();
                EXPECT_TRUE(controller.closed());
                // The log says what happened; nothing else is written.
                EXPECT_EQ(
                    w.changedSince(before, {settings, w.t.settingsFolder() + "/varnolt.log"}).join(" | ").toStdString(),
                    "");
                EXPECT_EQ(w.t.ini.readString(settings, "Config", "LastPanelUsed", "unset"), "");
            });
    }
}

// An archive's own "PanelName", kept when it is imported under its own name, never names the panel; one that
// breaks the rule is replaced, so the panel does not carry it further.
TEST(PanelNames, AnImportedPanelIsNamedAfterItsArchiveAlone)
{
    struct Case
    {
        QByteArray stored; // empty: the hostile name of that index
        QString kept;      // "PanelName" in the imported panel's file
        size_t hostile = 0;
    };
    std::vector<Case> cases = {
        {"COCKPIT", "COCKPIT"}, // differing in letter case
        {"Bravo", "Bravo"},     // naming another panel
        {"Charlie", "Charlie"}, // naming no panel
    };
    for (size_t i = 0; i < kHostileCount; ++i)
        cases.push_back({{}, "Cockpit", i});
    for (const Case& c : cases)
        runCase([&] {
            World w;
            const QByteArray panelName = c.stored.isEmpty() ? hostileNames(w.t.root())[c.hostile] : c.stored;
            SCOPED_TRACE(shown(panelName));
            if (panelName.contains('\n'))
                return; // a line of its own in the file
            const QString made = w.t.root() + "/made/Cockpit";
            TestPlatform::writeBytes(made + "/Cockpit.ini", kUtf8Bom + "[Config]\r\nPanelName=" + panelName + "\r\n");
            TestPlatform::writeBytes(made + "/Cockpit.cfg", kRow);
            const QString archive = w.t.root() + "/cwd/Cockpit.vrx";
            PanelArchive(w.t.files).CompressDirectory(made, false, archive);
            const Tree before = snapshotTree(w.t.root());

            w.prompter.answerFile(archive);
            ASSERT_TRUE(runGuarded(w.prompter, [&] { w.exchange.aImportExecute(); }))
                << w.prompter.messageTexts().join('|').toStdString();
            EXPECT_EQ(w.s.loaded().record().Name, "Cockpit");
            EXPECT_EQ(w.rowNames(), QStringList({"Airspeed"}));
            w.s.loaded().leave();
            EXPECT_EQ(w.s.loaded().lastUsedName(), "Cockpit");
            EXPECT_EQ(w.t.ini.readString(w.t.panelFolder("Cockpit") + "/Cockpit.ini", "Config", "PanelName", {}),
                      c.kept);

            EXPECT_TRUE(w.prompter.messages.empty());
            // The new panel's folder is all that appeared.
            EXPECT_EQ(w.changedSince(before, {w.t.panelFolder("Cockpit")}), QStringList());
        });
}
