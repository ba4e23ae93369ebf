#include "instruments/InstrumentListFile.h"
#include "instruments/InstrumentListStore.h"

#include "instruments/InstrumentListModel.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "settings/AppSettings.h"
#include "settings/Folders.h"
#include "settings/PanelFolder.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace std::literals;

namespace {

InstrumentRow makeRow(const QString& name, bool on, std::array<QString, InstrumentRow::FieldCount> fields)
{
    InstrumentRow r;
    r.Name = name;
    r.On = on;
    r.fields = std::move(fields);
    return r;
}

TEST(InstrumentLineTokenizer, SplitsLinesByTheReadingRules)
{
    struct Case
    {
        std::string_view line;
        QStringList fields;
    };
    const Case cases[] = {
        {R"("a","b c","")", {"a", "b c", ""}},
        {R"(a,b c)", {"a", "b", "c"}},               // an unquoted value ends at a blank
        {" \t\"a\" ,\t b , c\x01", {"a", "b", "c"}}, // blanks and controls around fields
        {R"("say ""hi""",x)", {"say \"hi\"", "x"}},  // doubled quotes stand for one
        {R"("open, field)", {"open, field"}},        // no closing quote: runs to the end
        {R"("ab"cd,e)", {"ab", "cd", "e"}},          // text after a closing quote starts a field
        {R"(a,)", {"a", ""}},                        // a trailing comma adds an empty field
        {"a, ", {"a"}},                              // ... but not when blanks follow it
        {R"(,,)", {"", "", ""}},
        {"", {}},
        {"   ", {}},
        {"a\0b,c"sv, {"a"}}, // a NUL ends the line's text
    };
    for (const Case& c : cases) {
        EXPECT_EQ(splitInstrumentLine(QString::fromLatin1(c.line.data(), c.line.size())), c.fields) << c.line;
    }
}

TEST(InstrumentListBytes, ReadsRowsLineByLine)
{
    // CR alone, LF alone and CR LF all end a line; fields after the eighth are ignored; "Y" is exact.
    const QByteArray bytes = "\"B\",\"47001\",\"p\\B.exe\",\"y\",\"1.2.3.4\",\"45000\",\"1\",\"2\",\"extra\"\r\n"
                             "A,App,/usr/bin/x,Y,\"-a -b\",,,\n"
                             "\"C\xe9\",\"1\",\"p\",\"Yes\",\"\",\"\",\"\",\"\"\r"
                             "skipped after CR up to LF\n"
                             "\"D\",\"2\",\"q\",\"Y\",\"\",\"\",\"\",\"\"";
    const ParsedInstrumentList parsed = parseInstrumentList(bytes);
    EXPECT_FALSE(parsed.badLine);
    ASSERT_EQ(parsed.rows.size(), 4u);
    EXPECT_EQ(parsed.rows[0].Name, "B");
    EXPECT_FALSE(parsed.rows[0].On);
    EXPECT_EQ(parsed.rows[0].fields, (std::array<QString, 6>{"47001", "p\\B.exe", "1.2.3.4", "45000", "1", "2"}));
    EXPECT_TRUE(parsed.rows[1].isApplication());
    EXPECT_TRUE(parsed.rows[1].On);
    EXPECT_EQ(parsed.rows[1].field(InstrumentRow::IPAddress), "-a -b");
    EXPECT_EQ(parsed.rows[2].Name, QString::fromUtf8("C\u00e9")); // code page 1252
    EXPECT_FALSE(parsed.rows[2].On);
    EXPECT_EQ(parsed.rows[3].Name, "D");
}

TEST(InstrumentListBytes, StopsAtTheFirstLineWithFewerThanEightFields)
{
    const QByteArray good = "\"A\",\"1\",\"p\",\"Y\",\"\",\"\",\"\",\"\"\r\n";
    const struct
    {
        QByteArray bytes;
        int badLine;
        size_t rowsBefore;
    } cases[] = {
        {good + "\"B\",\"1\",\"p\",\"Y\",\"\",\"\",\"\"\r\n" + good, 2, 1}, // seven fields
        {good + "\r\n", 2, 1},                                              // a blank line at the end
        {"\"A\",\"1\",\"p\",\"Y\",\"\",\"\",\"\",\r\n", 0, 1},              // trailing comma makes the eighth
        {"", 0, 0},
    };
    for (const auto& c : cases) {
        const ParsedInstrumentList parsed = parseInstrumentList(c.bytes);
        EXPECT_EQ(parsed.badLine.value_or(0), c.badLine) << c.bytes.constData();
        EXPECT_EQ(parsed.rows.size(), c.rowsBefore) << c.bytes.constData();
    }
}

TEST(InstrumentListBytes, WritesEightQuotedFieldsWithCrLf)
{
    const std::vector<InstrumentRow> rows = {
        makeRow("Airspeed", true, {"47001", "Instruments_Standard\\P@Airspeed.exe", "old", "old", "1", "2"}),
        makeRow("tool", false, {"App", "/opt/tool", "-x \"q\"", "stray", "stray", "stray"}),
    };
    EXPECT_EQ(formatInstrumentList(rows, {"10.0.0.7", "45001"}),
              QByteArray("\"Airspeed\",\"47001\",\"Instruments_Standard\\P@Airspeed.exe\",\"Y\",\"10.0.0.7\","
                         "\"45001\",\"1\",\"2\"\r\n"
                         "\"tool\",\"App\",\"/opt/tool\",\"N\",\"-x \"\"q\"\"\",\"\",\"\",\"\"\r\n"));
    EXPECT_TRUE(formatInstrumentList({}, {}).isEmpty());
}

// The save points and the load on real files.
class InstrumentListFileOnDisk : public ::testing::Test
{
protected:
    InstrumentListFileOnDisk() : folders(ResolveFolders(tp.env, tp.files)) {}

    void save(const QString& panel)
    {
        SaveInstrumentList(tp.files, folders.IniPath, panel, list,
                           {settings.FlightSimIPAddress, settings.FlightSimPort});
    }
    void read(const QString& panel) { ReadInstrumentList(tp.files, folders.IniPath, panel, list); }

    QString cfgPath(const QString& panel) const { return nativePath(PanelFolder(folders.IniPath, panel).listFile()); }

    TestPlatform tp;
    ScriptedPrompter prompter;
    Folders folders;
    AppSettings settings;
    InstrumentListModel list{tp.locale};
};

TEST_F(InstrumentListFileOnDisk, RoundTripKeepsAwkwardValuesAndRewritesSettingsFields)
{
    list.append(
        makeRow("Alt, \"baro\" x", false, {"47000", "Instruments_My Set\\P@Alt.exe", "9.9.9.9", "1", "1.5", "3"}));
    list.append(makeRow("Launcher", true, {"App", "/opt/my tools/run,now", "--a=\"b c\",d", "", "", ""}));
    settings.FlightSimIPAddress = "192.168.1.20";
    settings.FlightSimPort = "45123";

    save("Jet 1");
    ASSERT_TRUE(QFile::exists(cfgPath("Jet 1")));
    read("Jet 1");

    ASSERT_EQ(list.count(), 2);
    const InstrumentRow& inst = list.at(0);
    EXPECT_EQ(inst.Name, "Alt, \"baro\" x");
    EXPECT_FALSE(inst.On);
    EXPECT_EQ(inst.fields,
              (std::array<QString, 6>{"47000", "Instruments_My Set\\P@Alt.exe", "192.168.1.20", "45123", "1.5", "3"}));
    const InstrumentRow& app = list.at(1);
    EXPECT_TRUE(app.On);
    EXPECT_EQ(app.fields, (std::array<QString, 6>{"App", "/opt/my tools/run,now", "--a=\"b c\",d", "", "", ""}));
}

TEST_F(InstrumentListFileOnDisk, EmptyListAndEmptyNameAndHandEditedFlag)
{
    save("Empty");
    EXPECT_EQ(TestPlatform::readBytes(cfgPath("Empty")), QByteArray());
    list.append(makeRow("x", true, {}));
    read("Empty");
    EXPECT_EQ(list.count(), 0);

    save("");
    EXPECT_TRUE(QDir(nativePath(folders.IniPath)).entryList(QDir::Dirs | QDir::NoDotAndDotDot).contains("Panel_Empty"));
    EXPECT_EQ(QDir(nativePath(folders.IniPath)).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);

    TestPlatform::writeBytes(cfgPath("Hand"), "\"G\",\"1\",\"p\",\"y\",\"\",\"\",\"\",\"\"\r\n");
    read("Hand");
    ASSERT_EQ(list.count(), 1);
    EXPECT_FALSE(list.at(0).On);
}

TEST_F(InstrumentListFileOnDisk, ReadErrorsNameTheFileAndKeepEarlierRows)
{
    TestPlatform::writeBytes(cfgPath("Bad"), "\"Z\",\"1\",\"p\",\"Y\",\"\",\"\",\"\",\"\"\r\n"
                                             "\"A\",\"1\",\"p\",\"Y\",\"\",\"\",\"\",\"\"\r\n"
                                             "\"broken\",\"1\"\r\n"
                                             "\"B\",\"1\",\"p\",\"Y\",\"\",\"\",\"\",\"\"\r\n");
    try {
        read("Bad");
        FAIL() << "no error";
    } catch (const VarnoltError& e) {
        EXPECT_TRUE(e.message().contains("Line 3")) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains("Bad.cfg")) << e.message().toStdString();
    }
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.at(0).Name, "A"); // placed by the sort order, not file order

    EXPECT_THROW(read("Nowhere"), VarnoltError);
    EXPECT_EQ(list.count(), 0);
}

// A disk that refuses every whole-file write, as a full one does.
class FullDisk : public LocalFileSystem
{
public:
    bool writeFile(const QString&, const QByteArray&, QString* error) override
    {
        *error = QStringLiteral("No space left on device");
        return false;
    }
};

TEST_F(InstrumentListFileOnDisk, FailedSaveLeavesTheOldFileAndShowsTheError)
{
    list.append(makeRow("Old", true, {"1", "p", "", "", "1", "1"}));
    save("Keep");
    const QByteArray before = TestPlatform::readBytes(cfgPath("Keep"));

    FullDisk full;
    list.append(makeRow("New", true, {"1", "p", "", "", "1", "1"}));
    EXPECT_FALSE(runGuarded(prompter, [&] { SaveInstrumentList(full, folders.IniPath, "Keep", list, {}); }));
    // A panel folder that cannot be made (a file stands in its place) fails the same way.
    TestPlatform::writeBytes(nativePath(folders.IniPath) + "/Panel_Blocked", "x");
    EXPECT_FALSE(runGuarded(prompter, [&] { save("Blocked"); }));

    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_TRUE(prompter.messages[0].text.contains("Keep.cfg") && prompter.messages[0].text.contains("No space"))
        << prompter.messages[0].text.toStdString();
    EXPECT_TRUE(prompter.messages[1].text.contains("Blocked.cfg"));
    // The paths shown are the ones the user can find: native, not the stored "\\" form mixed in.
    EXPECT_TRUE(prompter.messages[0].text.contains(nativePath(folders.IniPath + "/Panel_Keep/Keep.cfg")));
    const QChar foreignSeparator = QDir::separator() == u'/' ? u'\\' : u'/';
    for (const auto& m : prompter.messages)
        EXPECT_FALSE(m.text.contains(foreignSeparator)) << m.text.toStdString();
    EXPECT_EQ(TestPlatform::readBytes(cfgPath("Keep")), before);
    EXPECT_EQ(list.count(), 2);
}

} // namespace
