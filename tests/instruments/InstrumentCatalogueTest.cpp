#include "instruments/InstrumentCatalogue.h"
#include "instruments/InstrumentListStore.h"

#include "instruments/InstrumentListModel.h"
#include "platform/Paths.h"
#include "settings/Folders.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

// A program folder with a catalogue laid out as it is installed: sets, programs, descriptors, a picture.
class Catalogue : public ::testing::Test
{
protected:
    Catalogue() : appPath(ResolveFolders(tp.env, tp.files).AppPath)
    {
        const QString bin = nativePath(appPath);
        put(bin + "Instruments_Standard/P@Airspeed.exe");
        put(bin + "Instruments_Standard/P@Airspeed.ini", "[info]\r\nShortName=ASI\r\nLongName=Air speed indicator\r\n"
                                                         "Description=Knots\r\nImageFile=asi.png\r\n"
                                                         "[Network]\r\nDefaultPort=47010\r\n");
        put(bin + "Instruments_Standard/asi.png", "\x89PNG");
        put(bin + "Instruments_Standard/P@Zeta.exe");
        put(bin + "Instruments_Standard/P@Zeta.ini", "[Info]\r\nShortName=Z\r\nImageFile=gone.png\r\n");
        put(bin + "Instruments_Standard/P@alpha.exe");
        put(bin + "Instruments_Standard/N@Compass.exe");
        put(bin + "Instruments_Standard/XY@Odd.exe");
        put(bin + "Instruments_Standard/readme.txt");
        put(bin + "Instruments_Spitfire/E@Boost.exe");
        QDir().mkpath(bin + "Instruments_standard");
        put(bin + "Instruments_Plain"); // a plain file is listed like a set
        put(bin + "Instruments_" + QString(130, u'L') + "/M@Clock.exe");
        put(bin + "Other/P@Elsewhere.exe");
    }

    static void put(const QString& path, const QByteArray& bytes = "MZ") { TestPlatform::writeBytes(path, bytes); }

    InstrumentCatalogue catalogue() const { return InstrumentCatalogue(tp.files, tp.ini, tp.locale, appPath); }

    static QStringList displayNames(const std::vector<CatalogueProgram>& programs)
    {
        QStringList names;
        for (const auto& p : programs)
            names << p.displayName;
        return names;
    }

    TestPlatform tp;
    ScriptedPrompter prompter;
    QString appPath;
};

TEST_F(Catalogue, ListsStandardFirstThenEveryOtherEntryOnce)
{
    QStringList sets = catalogue().sets();
    ASSERT_FALSE(sets.isEmpty());
    EXPECT_EQ(sets.takeFirst(), "Standard");
    sets.sort();
    QStringList others{QString(128, u'L'), "Plain", "Spitfire"};
    // Where letter case tells names apart (not on Windows), a set differing from the standard one only in case
    // is a set of its own.
    if (QDir(nativePath(appPath)).entryList({"Instruments_*"}).contains("Instruments_standard"))
        others << "standard";
    EXPECT_EQ(sets, others);

    TestPlatform bare;
    EXPECT_EQ(InstrumentCatalogue(bare.files, bare.ini, bare.locale, nativePath(bare.root()) + "/none\\").sets(),
              QStringList{"Standard"});
}

TEST_F(Catalogue, ListsProgramsByTypeLetterSortedByDisplayName)
{
    const InstrumentCatalogue c = catalogue();
    // The user's collation, not code points: small and capital letters interleave.
    EXPECT_EQ(displayNames(c.programs("Standard", u'P')), (QStringList{"Airspeed", "alpha", "Zeta"}));
    const auto all = c.programs("Standard", u'X');
    EXPECT_EQ(all.size(), 5u);
    EXPECT_TRUE(displayNames(all).contains("@Odd")); // a two-letter prefix shows only under "All"
    EXPECT_TRUE(displayNames(all).contains("Compass"));
    EXPECT_EQ(displayNames(c.programs("Standard", u'N')), QStringList{"Compass"});
    EXPECT_TRUE(c.programs("Standard", u'A').empty());
    EXPECT_TRUE(c.programs("Missing", u'X').empty());
    EXPECT_EQ(c.programs("Spitfire", u'E').at(0).fileName, "E@Boost.exe");
}

TEST_F(Catalogue, ReadsDescriptorsAndFindsTheirPicture)
{
    const InstrumentCatalogue c = catalogue();
    const QString program = InstrumentCatalogue::programPath("Standard", "P@Airspeed.exe");
    EXPECT_EQ(program, "Instruments_Standard\\P@Airspeed.exe");
    EXPECT_EQ(InstrumentCatalogue::descriptorPath(program), "Instruments_Standard\\P@Airspeed.ini");

    const InstrumentDescriptor d = c.descriptor(InstrumentCatalogue::descriptorPath(program));
    EXPECT_EQ(d.ShortName, "ASI");
    EXPECT_EQ(d.LongName, "Air speed indicator");
    EXPECT_EQ(d.Description, "Knots");
    EXPECT_EQ(d.DefaultPort, "47010");
    EXPECT_EQ(d.imagePath, appPath + "Instruments_Standard\\asi.png");

    EXPECT_EQ(c.descriptor("Instruments_Standard\\P@Zeta.ini").imagePath, QString()); // named but absent
    const InstrumentDescriptor none = c.descriptor("Instruments_Standard\\N@Compass.ini");
    EXPECT_TRUE(none.ShortName.isEmpty() && none.DefaultPort.isEmpty() && none.imagePath.isEmpty());
}

InstrumentRow row(const QString& name, const QString& port, const QString& path)
{
    InstrumentRow r;
    r.Name = name;
    r.fields = {port, path, "", "", "1", "1"};
    return r;
}

TEST_F(Catalogue, RepairFindsMovedProgramsReportsMissingOnesAndFoldsPorts)
{
    InstrumentListModel list(tp.locale);
    list.append(row("a moved", "47001", "Instruments_Standard\\e@boost.EXE"));
    list.append(row("b missing", "47099", "Instruments_Standard\\P@Ghost.exe"));
    list.append(row("c low", "47000", "Instruments_Standard\\P@Zeta.exe"));
    list.append(row("d high", "47100", "Instruments_Standard\\P@Zeta.exe"));
    list.append(row("e text", "port", "Instruments_Standard\\P@Zeta.exe"));
    list.append(row("f empty", "", "Instruments_Standard\\P@Zeta.exe"));
    list.append(row("g app", "App", "/nowhere/tool"));
    // Only "Instruments_" entries are searched.
    list.append(row("h outside", "47050", "Instruments_Standard\\P@Elsewhere.exe"));

    RepairInstrumentList(tp.files, catalogue(), appPath, list, prompter);

    const QStringList ports{"47000", "47000", "47000", "47100", "port", "", "App", "47000"};
    for (int i = 0; i < list.count(); ++i)
        EXPECT_EQ(list.at(i).field(InstrumentRow::PortNo), ports[i]) << list.at(i).Name.toStdString();
    EXPECT_EQ(list.at(0).field(InstrumentRow::PathName), "Instruments_Spitfire\\E@Boost.exe");
    EXPECT_EQ(list.at(1).field(InstrumentRow::PathName), "Instruments_Standard\\P@Ghost.exe");
    EXPECT_EQ(list.at(6).field(InstrumentRow::PathName), "/nowhere/tool");
    EXPECT_EQ(prompter.messageTexts().join(u'|').toStdString(),
              "Missing instrument file for b missing\n\rDid you install all instument add-ons?|"
              "Missing instrument file for h outside\n\rDid you install all instument add-ons?");
    EXPECT_EQ(prompter.messages.at(0).kind, MessageKind::Error);
}

} // namespace
