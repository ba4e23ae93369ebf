#include "exchange/PanelExchange.h"
#include "app/Session.h"
#include "exchange/PanelArchive.h"
#include "instruments/InstrumentListStore.h"
#include "panels/PanelOperations.h"
#include "panels/PanelSettings.h"
#include "settings/Folders.h"
#include "support/LoadPanel.h"
#include "support/PanelWorld.h"
#include "support/ScriptedPrompter.h"
#include "support/SystemProbe.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <map>

namespace {

const QByteArray kRow =
    "\"Airspeed\",\"47001\",\"Instruments_Standard\\A@Airspeed.exe\",\"Y\",\"1.2.3.4\",\"45000\",\"1\","
    "\"1\"\r\n";

// Name and content of each file, in a form failures print readably.
using Files = std::map<std::string, std::string>;

QByteArray allBytes()
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes += char(i);
    return bytes;
}

// One PC: its settings folder, session and exchange.
struct Pc : PanelWorld
{
    bool busy = false;

    Pc()
    {
        QObject::connect(&exchange, &PanelExchange::busyChanged, [this](bool b) { busy = b; });
    }

    QString settingsFolder() const { return t.settingsFolder(); }
    QString folder(const QString& name) const { return t.panelFolder(name); }
    QString out(const QString& fileName) const { return t.root() + "/cwd/" + fileName; }

    // A panel as the program leaves it, with a picture, a position file, an empty file and a sub-folder.
    Files makePanel(const QString& name, const QByteArray& panelNameKey)
    {
        const std::map<QString, QByteArray> files{
            {name + ".ini", "[Config]\r\nPanelName=" + panelNameKey + "\r\nPanelMonitor=0\r\nBackground=1\r\n"},
            {name + ".cfg", kRow},
            {"PanelBackGround.ini", "[Settings]\r\nType=2\r\nImage=PanelBackgroundImage.png\r\n"},
            {"PanelBackgroundImage.png", allBytes()},
            {"A@Airspeed1.ini", "[Position]\r\nMonitor=0\r\nX=100\r\nY=50\r\n"},
        };
        Files written;
        for (const auto& [file, bytes] : files) {
            TestPlatform::writeBytes(folder(name) + '/' + file, bytes);
            written[file.toStdString()] = bytes.toStdString();
        }
        TestPlatform::writeBytes(folder(name) + "/empty.txt", {});
        TestPlatform::writeBytes(folder(name) + "/sub/left.txt", "not exported");
        return written;
    }
    Files filesIn(const QString& name) const
    {
        Files files;
        for (const QString& file : QDir(folder(name)).entryList(QDir::Files | QDir::Hidden))
            files[file.toStdString()] = TestPlatform::readBytes(folder(name) + '/' + file).toStdString();
        return files;
    }
    QStringList rowNames() const
    {
        QStringList names;
        for (const InstrumentRow& row : s.loaded().instruments().rows())
            names << row.Name;
        return names;
    }
    QStringList settingsEntries() const
    {
        return QDir(settingsFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    void exportTo(const QString& path)
    {
        prompter.answerFile(path);
        ASSERT_TRUE(runGuarded(prompter, [&] { exchange.aExportExecute(); }));
    }
    bool importFrom(const QString& path)
    {
        prompter.answerFile(path);
        return runGuarded(prompter, [&] { exchange.aImportExecute(); });
    }
};

} // namespace

TEST(PanelExchange, ExportThenImportUnderTheArchivesNewName)
{
    Pc pc;
    pc.makePanel("Cockpit", "Cockpit");
    loadPanel(pc.s.loaded(), "Cockpit");
    pc.exportTo(pc.out("Cockpit.vrx"));
    Files files = pc.filesIn("Cockpit"); // the list as saved by the export
    files.erase("empty.txt");

    ASSERT_EQ(pc.prompter.fileRequests.size(), 1u);
    const FileDialogRequest& save = pc.prompter.fileRequests[0];
    EXPECT_EQ(save.title, "Select File and Folder for Export");
    EXPECT_EQ(save.filter, "Varnolt Export Files (vrx)|*.vrx");
    EXPECT_EQ(save.fileName, "Cockpit.vrx");
    EXPECT_EQ(save.defaultExtension, ".vrx");
    EXPECT_FALSE(pc.busy);

    // Edited after the export and not yet saved: leaving the panel by import keeps the edit.
    pc.s.loaded().instruments().clear();
    ASSERT_TRUE(QFile::rename(pc.out("Cockpit.vrx"), pc.out("Trainer.vrx")));
    EXPECT_TRUE(pc.importFrom(pc.out("Trainer.vrx")));

    const FileDialogRequest& open = pc.prompter.fileRequests[1];
    EXPECT_EQ(open.title, "Select Varnolt Export File");
    EXPECT_EQ(open.filter, "Varnolt Export Files  (vrx)|*.vrx");
    EXPECT_EQ(open.defaultExtension, ".vrx");
    EXPECT_TRUE(pc.prompter.messages.empty());
    EXPECT_EQ(TestPlatform::readBytes(pc.folder("Cockpit") + "/Cockpit.cfg"), "");

    files["Trainer.cfg"] = files.extract("Cockpit.cfg").mapped();
    files["Trainer.ini"] =
        QByteArray::fromStdString(files.extract("Cockpit.ini").mapped()).replace("=Cockpit", "=Trainer").toStdString();
    EXPECT_EQ(pc.filesIn("Trainer"), files);
    EXPECT_FALSE(QDir(pc.folder("Trainer") + "/sub").exists());
    EXPECT_EQ(pc.settingsEntries(), QStringList({"Panel_Cockpit", "Panel_Trainer"}));

    EXPECT_EQ(pc.s.loaded().record().Name, "Trainer");
    EXPECT_EQ(pc.s.loaded().documentName(), "Trainer");
    EXPECT_EQ(pc.s.loaded().instruments().count(), 1);
    EXPECT_FALSE(pc.busy);
}

TEST(PanelExchange, ImportUnderItsOwnNameOnAnotherPcKeepsEveryByte)
{
    Pc here, there;
    const Files files = here.makePanel("Cockpit", "Stored name");
    PanelArchive(here.t.files).CompressDirectory(here.folder("Cockpit"), false, here.out("Cockpit.vrx"));

    EXPECT_TRUE(there.importFrom(here.out("Cockpit.vrx"))) << there.prompter.messageTexts().join('|').toStdString();

    EXPECT_EQ(there.filesIn("Cockpit"), files);
    EXPECT_EQ(there.s.loaded().documentName(), "Cockpit");
    EXPECT_TRUE(there.s.loaded().isLoaded());
}

TEST(PanelExchange, ExportEndsEarlyWithoutPanelListOrFolder)
{
    Pc pc;
    pc.makePanel("Cockpit", "Cockpit");

    pc.exchange.aExportExecute(); // nothing loaded
    loadPanel(pc.s.loaded(), "Cockpit");
    pc.s.loaded().instruments().clear();
    pc.exchange.aExportExecute(); // no rows
    EXPECT_EQ(pc.prompter.messageTexts(), QStringList(2, "No Panel or Instruments to export!"));

    // Cancelled: the list was saved all the same.
    const QString list = pc.folder("Cockpit") + "/Cockpit.cfg";
    loadPanel(pc.s.loaded(), "Cockpit");
    ASSERT_TRUE(QFile::remove(list));
    pc.prompter.answerFile(std::nullopt);
    pc.exchange.aExportExecute();
    EXPECT_TRUE(TestPlatform::readBytes(list).startsWith("\"Airspeed\""));
    EXPECT_EQ(pc.prompter.fileRequests.size(), 1u);

    // The folder has gone: nothing to ask, nothing to say.
    ASSERT_TRUE(QDir(pc.folder("Cockpit")).removeRecursively());
    pc.exchange.aExportExecute();
    EXPECT_EQ(pc.prompter.fileRequests.size(), 1u);
    EXPECT_EQ(pc.prompter.messages.size(), 2u);
    EXPECT_TRUE(pc.prompter.scriptUsedUp());
}

TEST(PanelExchange, ImportNeverTakesANameInUse)
{
    Pc pc;
    pc.makePanel("Cockpit", "Cockpit");
    loadPanel(pc.s.loaded(), "Cockpit");
    pc.exportTo(pc.out("Cockpit.vrx"));
    TestPlatform::writeBytes(pc.out(".vrx"), TestPlatform::readBytes(pc.out("Cockpit.vrx")));
    const Files before = pc.filesIn("Cockpit");

    EXPECT_TRUE(pc.importFrom(pc.out("Cockpit.vrx")));
    EXPECT_TRUE(pc.importFrom(pc.out(".vrx")));

    EXPECT_EQ(pc.prompter.messageTexts(), QStringList({"Panel Cockpit already exists!",
                                                       "\".vrx\" cannot be imported: Please enter a panel name."}));
    EXPECT_EQ(pc.filesIn("Cockpit"), before);
    EXPECT_EQ(pc.settingsEntries(), QStringList({"Panel_Cockpit"}));
}

TEST(PanelExchange, ImportRefusesNamesTooLongForTheChooserOrTheDisk)
{
    Pc pc;
    pc.makePanel("Cockpit", "Cockpit");
    loadPanel(pc.s.loaded(), "Cockpit");
    pc.exportTo(pc.out("Cockpit.vrx"));
    const QByteArray archive = TestPlatform::readBytes(pc.out("Cockpit.vrx"));
    const Files before = pc.filesIn("Cockpit");

    const long limit = nameLimit(pc.settingsFolder());
    // 79 three-byte signs: the panel folder would fit, the hidden folder the import unpacks into would not. A
    // system that counts them as one (Windows) fits them whole.
    const QString euro = QStringLiteral("\u20ac");
    const QString names[] = {QString(100, u'n'), limit == 255 && nameLength(euro) == 3 ? euro.repeated(79) : QString()};
    const QString problems[] = {
        QStringLiteral("A panel name can have at most 99 characters."),
        QStringLiteral("The panel name is too long for the file system's folder and file names. Please choose a "
                       "shorter name."),
    };
    for (int i = 0; i < 2; ++i) {
        if (names[i].isEmpty())
            continue;
        const QString file = names[i] + ".vrx";
        TestPlatform::writeBytes(pc.out(file), archive);
        pc.prompter.messages.clear();
        EXPECT_TRUE(pc.importFrom(pc.out(file)));
        EXPECT_EQ(pc.prompter.messageTexts(),
                  QStringList(QStringLiteral("\"%1\" cannot be imported: %2").arg(file, problems[i])));
        EXPECT_EQ(pc.settingsEntries(), QStringList({"Panel_Cockpit"}));
        EXPECT_EQ(pc.s.loaded().record().Name, "Cockpit");
        EXPECT_EQ(pc.s.loaded().documentName(), "Cockpit");
        EXPECT_EQ(pc.rowNames(), QStringList({"Airspeed"}));
    }
    EXPECT_EQ(pc.filesIn("Cockpit"), before);
}

// Made on Windows, where "COCKPIT.INI" is the panel's "Cockpit.ini": imported under a new name, the panel keeps
// its settings instead of getting a bare settings file beside them.
TEST(PanelExchange, ImportRenamesOwnFilesWrittenInOtherLetterCase)
{
    Pc pc;
    const QString made = pc.t.root() + "/made";
    TestPlatform::writeBytes(made + "/Cockpit.cfg", kRow);
    TestPlatform::writeBytes(made + "/COCKPIT.INI", "[Config]\r\nPanelName=Cockpit\r\nPanelMonitor=1\r\n");
    PanelArchive(pc.t.files).CompressDirectory(made, false, pc.out("Trainer.vrx"));

    EXPECT_TRUE(pc.importFrom(pc.out("Trainer.vrx"))) << pc.prompter.messageTexts().join('|').toStdString();

    EXPECT_EQ(pc.filesIn("Trainer"), Files({{"Trainer.cfg", kRow.toStdString()},
                                            {"Trainer.ini", "[Config]\r\nPanelName=Trainer\r\nPanelMonitor=1\r\n"}}));
    EXPECT_EQ(pc.s.loaded().record().Monitor, "1");
}

TEST(PanelExchange, FailedImportLeavesNothingBehind)
{
    Pc pc;
    pc.makePanel("Cockpit", "Cockpit");
    loadPanel(pc.s.loaded(), "Cockpit");
    pc.exportTo(pc.out("Good.vrx"));
    const QByteArray good = TestPlatform::readBytes(pc.out("Good.vrx"));

    QByteArray damaged = good;
    damaged[damaged.size() - 3] = char(damaged[damaged.size() - 3] ^ 0x55);
    // Unpacks fine but holds no instrument list.
    QDir().mkpath(pc.t.root() + "/loose");
    TestPlatform::writeBytes(pc.t.root() + "/loose/PanelBackGround.ini", "[Settings]\r\nType=0\r\n");
    PanelArchive(pc.t.files).CompressDirectory(pc.t.root() + "/loose", false, pc.out("NoList.vrx"));
    // Unpacks fine but the list cannot be read.
    TestPlatform::writeBytes(pc.t.root() + "/broken/Broken.cfg", "\"Airspeed\",\"47001\"\r\n");
    PanelArchive(pc.t.files).CompressDirectory(pc.t.root() + "/broken", false, pc.out("Broken.vrx"));

    const struct
    {
        const char* file;
        QByteArray bytes;
    } cases[] = {
        {"Damaged.vrx", damaged}, {"Empty.vrx", {}}, {"NoList.vrx", {}}, {"Broken.vrx", {}}, {"Missing.vrx", {}}};
    const QStringList rows = pc.rowNames();
    const QStringList entries = pc.settingsEntries();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        if (!c.bytes.isEmpty() || QLatin1String(c.file) == QLatin1String("Empty.vrx"))
            TestPlatform::writeBytes(pc.out(c.file), c.bytes);
        pc.prompter.messages.clear();

        EXPECT_FALSE(pc.importFrom(pc.out(c.file)));

        EXPECT_EQ(pc.prompter.messages.size(), 1u);
        EXPECT_EQ(pc.settingsEntries(), entries);
        EXPECT_EQ(pc.s.loaded().record().Name, "Cockpit");
        EXPECT_EQ(pc.s.loaded().documentName(), "Cockpit");
        EXPECT_EQ(pc.rowNames(), rows);
        EXPECT_FALSE(pc.busy);
    }
}
