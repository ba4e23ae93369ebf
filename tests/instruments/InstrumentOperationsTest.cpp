#include "instruments/InstrumentOperations.h"
#include "instruments/Add3rdPartyModel.h"
#include "instruments/AddInstrumentModel.h"

#include "app/Session.h"
#include "platform/Paths.h"
#include "settings/Folders.h"
#include "settings/PanelFolder.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QByteArray descriptor(const char* shortName, const char* port, const char* image = "")
{
    return QByteArray("[Info]\r\nShortName=") + shortName + "\r\nLongName=Long " + shortName +
           "\r\nDescription=About " + shortName + "\r\nImageFile=" + image + "\r\n[Network]\r\nDefaultPort=" + port +
           "\r\n";
}

// A catalogue beside the program and a loaded panel "Hornet" whose folder exists.
class InstrumentOps : public ::testing::Test
{
protected:
    InstrumentOps()
    {
        s.folders = ResolveFolders(t.env, t.files);
        s.settings.FlightSimIPAddress = QStringLiteral("10.0.0.5");
        s.settings.FlightSimPort = QStringLiteral("5010");
        s.loaded().record().Name = QStringLiteral("Hornet");
        QDir().mkpath(panelFolder());
        const QString set = nativePath(s.folders.AppPath) + "Instruments_Standard/";
        put(set + "P@Airspeed.exe");
        put(set + "P@Airspeed.ini", descriptor("ASI", "47010", "asi.png"));
        put(set + "asi.png", "png");
        put(set + "P@Altimeter.exe");
        put(set + "P@Altimeter.ini", descriptor("ALT", "47011"));
        put(set + "E@RPM.exe");
        put(set + "E@RPM.ini", descriptor("ASI", "47012")); // same short name as the airspeed indicator
        put(nativePath(s.folders.AppPath) + "Instruments_Empty/readme.txt");
        ops.FormCreate();
    }

    static void put(const QString& path, const QByteArray& bytes = "MZ") { TestPlatform::writeBytes(path, bytes); }
    QString panelFolder() const { return nativePath(t.iniPath()) + "/Panel_Hornet"; }
    AddInstrumentModel& dialog() { return ops.addInstrumentDialog(); }

    // Adds the named catalogue programs of set Standard, type All, through the dialog.
    void addChecked(const QStringList& fileNames, const QString& typedPort = {})
    {
        prompter.answerDialog([fileNames, typedPort](DialogModel& m) {
            auto& d = dynamic_cast<AddInstrumentModel&>(m);
            for (int i = 0; i < int(d.items().size()); ++i)
                d.setChecked(i, fileNames.contains(d.items()[i].fileName));
            if (!typedPort.isEmpty())
                d.edPort = typedPort;
            return true;
        });
        ops.aAddInstrumentExecute();
    }
    void selectNamed(const QString& name, const QString& instNo = {})
    {
        for (int i = 0; i < s.loaded().instruments().count(); ++i) {
            const InstrumentRow& r = s.loaded().instruments().at(i);
            if (r.Name == name && (instNo.isEmpty() || r.field(InstrumentRow::InstNo) == instNo))
                return s.loaded().instruments().select(i);
        }
        FAIL() << "no row " << name.toStdString();
    }
    QStringList column(int field) const
    {
        QStringList values;
        for (const InstrumentRow& r : s.loaded().instruments().rows())
            values << (field < 0 ? r.Name : r.field(field));
        return values;
    }

    TestPlatform t;
    ScriptedPrompter prompter;
    Session s{t.platform(), prompter};
    InstrumentOperations ops = InstrumentOperations(s.platform(), s.prompter(), s.folders, s.settings,
                                                    s.loaded().instruments(), [this] { return s.loaded().name(); });
};

} // namespace

TEST_F(InstrumentOps, AddingNumbersInstancesPerShortNameAndTakesTheDescriptorPort)
{
    addChecked({"P@Airspeed.exe"}, "1234"); // a port typed while browsing is not used
    addChecked({"P@Airspeed.exe"});
    // Two entries with one short name in one step get consecutive numbers.
    addChecked({"P@Airspeed.exe", "E@RPM.exe", "P@Altimeter.exe"});
    EXPECT_TRUE(prompter.scriptUsedUp());

    EXPECT_EQ(column(-1), QStringList({"ALT", "ASI", "ASI", "ASI", "ASI"}));
    EXPECT_EQ(column(InstrumentRow::InstNo), QStringList({"1", "1", "2", "3", "4"}));
    EXPECT_EQ(column(InstrumentRow::PortNo), QStringList({"47011", "47010", "47010", "47010", "47012"}));
    const InstrumentRow& rpm = s.loaded().instruments().at(4);
    EXPECT_EQ(rpm.fields,
              (std::array<QString, 6>{"47012", "Instruments_Standard\\E@RPM.exe", "10.0.0.5", "5010", "1", "4"}));
    EXPECT_TRUE(rpm.On);

    // Cancel adds nothing.
    prompter.answerDialog([](DialogModel& m) {
        dynamic_cast<AddInstrumentModel&>(m).setChecked(0, true);
        return false;
    });
    ops.aAddInstrumentExecute();
    EXPECT_EQ(s.loaded().instruments().count(), 5);
}

TEST_F(InstrumentOps, NextInstanceIsOneAboveTheLargestOfTheSameName)
{
    const struct
    {
        QStringList instNos; // of rows named "ASI"
        int next;
    } cases[] = {
        {{}, 1},       {{"1", "3"}, 4}, {{"1", "2"}, 3}, {{"", "x", "2"}, 3}, // no number counts as none
        {{"0x10"}, 1},
    };
    for (const auto& c : cases) {
        InstrumentListModel list(t.locale);
        list.append(InstrumentRow{"ALT", true, {"1", "", "", "", "1", "7"}});
        for (const QString& n : c.instNos)
            list.append(InstrumentRow{"ASI", true, {"1", "", "", "", "1", n}});
        EXPECT_EQ(nextInstanceNumber(list, "ASI"), c.next) << c.instNos.join(',').toStdString();
    }
}

TEST_F(InstrumentOps, AddInstrumentDialogBrowsesBySetAndType)
{
    AddInstrumentModel& d = dialog();
    EXPECT_EQ(d.sets(), QStringList({"Standard", "Empty"}));
    d.caption = AddInstrumentModel::AddCaption;
    d.FormShow();
    EXPECT_EQ(d.okCaption, "Add checked instruments");
    ASSERT_EQ(d.items().size(), 3u);
    EXPECT_EQ(d.items()[0].displayName, "Airspeed");
    // The first entry is selected and shown.
    EXPECT_EQ(d.selectedItem(), 0);
    EXPECT_EQ(d.lName, "ASI");
    EXPECT_EQ(d.edLong, "Long ASI");
    EXPECT_EQ(d.edPort, "47010");
    EXPECT_EQ(d.edPathName, "Instruments_Standard\\P@Airspeed.exe");
    EXPECT_TRUE(d.picture.endsWith("asi.png"));

    d.lvInstrumentsSelectItem(1);
    EXPECT_EQ(d.lName, "ALT");
    EXPECT_TRUE(d.picture.isEmpty());

    // Another type rebuilds the list and drops the check marks.
    d.setChecked(0, true);
    d.setChecked(1, true);
    d.selectType(3);
    ASSERT_EQ(d.items().size(), 1u);
    EXPECT_EQ(d.items()[0].fileName, "E@RPM.exe");
    EXPECT_FALSE(d.items()[0].checked);

    // A set without programs: empty list, empty details; type back to All.
    d.cbInstrumentSetChange(1);
    EXPECT_EQ(d.typeIndex(), 0);
    EXPECT_TRUE(d.items().empty());
    EXPECT_TRUE(d.edPort.isEmpty() && d.edPathName.isEmpty() && d.edLong.isEmpty());

    // Set and type persist into the next showing.
    prompter.answerDialog([](DialogModel& m) { return dynamic_cast<AddInstrumentModel&>(m).items().empty(); });
    ops.aAddInstrumentExecute();
    EXPECT_EQ(d.currentSet(), "Empty");
    EXPECT_EQ(s.loaded().instruments().count(), 0);
}

TEST_F(InstrumentOps, EditRecreatesTheRowKeepingItsInstance)
{
    s.loaded().instruments().append(
        InstrumentRow{"Old name", false, {"47099", "Instruments_Standard\\P@Airspeed.exe", "", "", "2.5", "7"}});
    selectNamed("Old name");
    prompter.answerDialog([](DialogModel& m) {
        auto& d = dynamic_cast<AddInstrumentModel&>(m);
        EXPECT_EQ(d.caption, "Edit Instrument");
        EXPECT_EQ(d.formWidth, 405);
        EXPECT_EQ(d.okCaption, "Save changes");
        EXPECT_EQ(d.edPort, "47099"); // the row's port, not the descriptor's
        EXPECT_EQ(d.lName, "ASI");    // the name from the descriptor
        d.edPort = "47123";
        return true;
    });
    ops.aEditInstrumentExecute();
    ASSERT_EQ(s.loaded().instruments().count(), 1);
    const InstrumentRow& r = s.loaded().instruments().at(0);
    EXPECT_EQ(r, (InstrumentRow{
                     "ASI", true, {"47123", "Instruments_Standard\\P@Airspeed.exe", "10.0.0.5", "5010", "1", "7"}}));

    // Cancel leaves it; without a selection nothing opens.
    selectNamed("ASI");
    prompter.answerDialog([](DialogModel&) { return false; });
    ops.aEditInstrumentExecute();
    EXPECT_EQ(s.loaded().instruments().at(0), r);
    s.loaded().instruments().select(-1);
    ops.aEditInstrumentExecute();
    EXPECT_TRUE(prompter.scriptUsedUp());
}

TEST_F(InstrumentOps, TheEditedRowStaysSelectedWhereverItsNameSortsIt)
{
    InstrumentListModel& list = s.loaded().instruments();
    list.append(InstrumentRow{"Bravo", true, {"1", "Instruments_Standard\\P@Altimeter.exe", "", "", "1", "1"}});
    list.append(InstrumentRow{"Old name", true, {"2", "Instruments_Standard\\P@Airspeed.exe", "", "", "1", "2"}});
    list.append(InstrumentRow{"Zed", true, {"App", "C:\\Zed.exe", "", "", "", ""}});

    selectNamed("Old name");
    prompter.answerDialog([](DialogModel&) { return true; }); // the descriptor names it ASI
    ops.aEditInstrumentExecute();
    ASSERT_NE(list.selected(), nullptr);
    EXPECT_EQ(list.selected()->Name, "ASI");

    selectNamed("Zed");
    prompter.answerDialog([](DialogModel& m) {
        dynamic_cast<Add3rdPartyModel&>(m).edAppName = "C:\\Alpha.exe";
        return true;
    });
    ops.aEditInstrumentExecute();
    ASSERT_NE(list.selected(), nullptr);
    EXPECT_EQ(list.selected()->Name, "Alpha");
    EXPECT_EQ(column(-1), QStringList({"Alpha", "ASI", "Bravo"}));
}

TEST_F(InstrumentOps, EditDropsTheChangeWhenTheListWasReplacedMeanwhile)
{
    s.loaded().instruments().append(
        InstrumentRow{"ALT", true, {"1", "Instruments_Standard\\P@Altimeter.exe", "", "", "1", "1"}});
    selectNamed("ALT");
    prompter.answerDialog([this](DialogModel&) {
        s.loaded().instruments().setRows({InstrumentRow{"Other", true, {"2", "x\\P@Other.exe", "", "", "1", "1"}}});
        return true;
    });
    ops.aEditInstrumentExecute();
    EXPECT_EQ(column(-1), QStringList({"Other"}));
}

TEST_F(InstrumentOps, ApplicationRowsAreAddedAndEditedAsTyped)
{
    prompter.answerDialog([](DialogModel& m) {
        auto& d = dynamic_cast<Add3rdPartyModel&>(m);
        EXPECT_EQ(d.caption, "Add 3rd Party Application");
        EXPECT_TRUE(d.edAppName.isEmpty());
        d.edAppName = "C:\\Tools\\Track IR.v5.exe";
        d.edParameters = "a,b c";
        return true;
    });
    ops.a3rdPartyExecute();
    ASSERT_EQ(s.loaded().instruments().count(), 1);
    const InstrumentRow added{"Track IR.v5", true, {"App", "C:\\Tools\\Track IR.v5.exe", "a,b c", "", "", ""}};
    EXPECT_EQ(s.loaded().instruments().at(0), added);

    // Editing and OK without changes gives the same row, checked.
    s.loaded().instruments().setOn(0, false);
    selectNamed("Track IR.v5");
    prompter.answerDialog([](DialogModel& m) {
        auto& d = dynamic_cast<Add3rdPartyModel&>(m);
        EXPECT_EQ(d.caption, "Add 3rd Party Application");
        EXPECT_EQ(d.edParameters, "a,b c");
        return true;
    });
    ops.aEditInstrumentExecute();
    EXPECT_EQ(s.loaded().instruments().rows(), std::vector<InstrumentRow>{added});

    // An empty path is accepted.
    prompter.answerDialog([](DialogModel&) { return true; });
    ops.a3rdPartyExecute();
    EXPECT_EQ(s.loaded().instruments().at(0), (InstrumentRow{"", true, {"App", "", "", "", "", ""}}));
}

TEST_F(InstrumentOps, BrowsingForAnApplicationReplacesOnlyThePath)
{
    Add3rdPartyModel d(prompter);
    d.edAppName = "typed";
    d.edParameters = "p";
    prompter.answerFile(std::nullopt);
    d.btnImageClick();
    EXPECT_EQ(d.edAppName, "typed");
    prompter.answerFile(QStringLiteral("/opt/tool/run.cmd"));
    d.btnImageClick();
    EXPECT_EQ(d.edAppName, "/opt/tool/run.cmd");
    EXPECT_EQ(d.edParameters, "p");
    ASSERT_EQ(prompter.fileRequests.size(), 2u);
    EXPECT_EQ(prompter.fileRequests[0].title, "Select Application");
    EXPECT_EQ(prompter.fileRequests[0].filter, "Executable Files (*.exe)|*.exe|Command Files (*.cmd)|*.cmd");
    EXPECT_EQ(prompter.fileRequests[0].defaultExtension, "exe");
}

TEST_F(InstrumentOps, RemoveDeletesThePositionFileOfItsInstanceOnly)
{
    put(panelFolder() + "/Airspeed1.ini", "[Position]\r\nX=5\r\n");
    put(panelFolder() + "/Airspeed2.ini", "[Position]\r\nX=6\r\n");
    put(panelFolder() + "/Tool.ini", "");
    s.loaded().instruments().append(
        InstrumentRow{"ASI", true, {"47010", "Instruments_Standard\\P@Airspeed.exe", "", "", "1", "2"}});
    s.loaded().instruments().append(InstrumentRow{"Tool", true, {"App", "C:\\Tool.exe", "", "", "", ""}});

    selectNamed("ASI");
    ops.aDeleteInstrumentExecute();
    EXPECT_FALSE(QFile::exists(panelFolder() + "/Airspeed2.ini"));
    EXPECT_TRUE(QFile::exists(panelFolder() + "/Airspeed1.ini"));

    selectNamed("Tool");
    ops.aDeleteInstrumentExecute();
    EXPECT_TRUE(QFile::exists(panelFolder() + "/Tool.ini"));
    EXPECT_EQ(s.loaded().instruments().count(), 0);
    ops.aDeleteInstrumentExecute(); // nothing selected: nothing happens
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(InstrumentOps, RemoveNeverDeletesThePanelsOwnSettingsFile)
{
    // Panel "Airspeed1": the first airspeed indicator keeps its place in the panel's own settings file.
    s.loaded().record().Name = QStringLiteral("Airspeed1");
    const QString settings = nativePath(t.iniPath()) + "/Panel_Airspeed1/Airspeed1.ini";
    put(settings, "[Config]\r\nPanelMonitor=1\r\n[Position]\r\nX=5\r\n");
    s.loaded().instruments().append(
        InstrumentRow{"ASI", true, {"47010", "Instruments_Standard\\P@Airspeed.exe", "", "", "1", "1"}});
    selectNamed("ASI");
    ops.aDeleteInstrumentExecute();
    EXPECT_EQ(s.loaded().instruments().count(), 0);
    EXPECT_TRUE(QFile::exists(settings));
}

TEST_F(InstrumentOps, ResetWritesTheFiveKeysInOrderAndKeepsOthers)
{
    s.loaded().instruments().append(
        InstrumentRow{"ASI", true, {"47010", "Instruments_Standard\\P@Airspeed.exe", "", "", "1", "3"}});
    selectNamed("ASI");

    prompter.answerMessage(MessageButton::No);
    ops.aResetPosExecute();
    EXPECT_FALSE(QFile::exists(panelFolder() + "/Airspeed3.ini"));

    prompter.answerMessage(MessageButton::Yes);
    ops.aResetPosExecute();
    EXPECT_EQ(prompter.messages.back().text, "Confirm to reset position of ASI");
    EXPECT_EQ(prompter.messages.back().kind, MessageKind::Confirmation);
    EXPECT_EQ(TestPlatform::readBytes(panelFolder() + "/Airspeed3.ini"),
              "[Position]\r\nMonitor=0\r\nX=0\r\nY=0\r\nIsLocked=False\r\n[Size]\r\nScaleSize=1\r\n");

    put(panelFolder() + "/Airspeed3.ini",
        "[Position]\r\nX=120\r\nWidth=300\r\n[Size]\r\nScaleSize=1.5\r\n[Own]\r\nK=v\r\n");
    prompter.answerMessage(MessageButton::Yes);
    ops.aResetPosExecute();
    EXPECT_EQ(TestPlatform::readBytes(panelFolder() + "/Airspeed3.ini"),
              "[Position]\r\nX=0\r\nWidth=300\r\nMonitor=0\r\nY=0\r\nIsLocked=False\r\n[Size]\r\nScaleSize=1\r\n"
              "[Own]\r\nK=v\r\n");
}

TEST_F(InstrumentOps, ResetRefusesApplicationsAndReportsAnUnwritableFile)
{
    s.loaded().instruments().append(InstrumentRow{"Tool", true, {"App", "C:\\Tool.exe", "", "", "", ""}});
    selectNamed("Tool");
    ops.aResetPosExecute();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(prompter.messages[0].text, "Reset position not available for 3rd party applications");

    s.loaded().record().Name = QStringLiteral("Gone"); // its folder does not exist
    s.loaded().instruments().append(
        InstrumentRow{"ASI", true, {"1", "Instruments_Standard\\P@Airspeed.exe", "", "", "1", "1"}});
    selectNamed("ASI");
    prompter.answerMessage(MessageButton::Yes);
    EXPECT_FALSE(runGuarded(prompter, [&] { ops.aResetPosExecute(); }));
    EXPECT_EQ(prompter.messages.back().text.toStdString(),
              ("Unable to write to " + nativePath(t.iniPath() + "\\Panel_Gone\\Airspeed1.ini")).toStdString());
}

TEST_F(InstrumentOps, LongProgramNamesAreCutOnlyForReset)
{
    const QString base(121, u'L');
    const InstrumentRow row{"Long", true, {"1", "Instruments_Standard\\P@" + base + ".exe", "", "", "1", "1"}};
    const PanelFolder folder("S", "P");
    EXPECT_EQ(InstrumentPositionFileName(folder, row), "S\\Panel_P\\" + base + "1.ini");
    EXPECT_EQ(InstrumentPositionFileName(folder, row, 120), "S\\Panel_P\\" + base.left(120) + "1.ini");
    const InstrumentRow shortRow{"A", true, {"1", "Instruments_X\\P@Alt.v2.exe", "", "", "1", "12"}};
    EXPECT_EQ(InstrumentPositionFileName(folder, shortRow, 120), "S\\Panel_P\\Alt.v212.ini");
}
