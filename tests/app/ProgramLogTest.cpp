#include "app/ProgramLog.h"
#include "app/MainController.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList linesOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

// The program started in a settings folder of its own, listening on a port the system chooses.
struct StartedProgram
{
    TestPlatform t;
    ScriptedPrompter prompter;
    MainController controller{t.platform(), prompter, {}};

    StartedProgram()
    {
        TestPlatform::writeBytes(t.settingsFile(), "[Config]\r\nListenPort=0\r\n");
        controller.startUp();
    }
    QString logPath() const { return t.settingsFolder() + "/varnolt.log"; }
};

} // namespace

TEST(ProgramLog, AStormOfRecordsCostsOneSummaryLine)
{
    StartedProgram program;
    MainController& controller = program.controller;

    // With panel switching off an aircraft record changes only the caption: a storm that costs little to handle.
    std::vector<ControlRecord> storm;
    for (int i = 0; i < 50000; ++i)
        storm.push_back({ControlRecord::Aircraft, QStringLiteral("A-10C_%1").arg(i % 7)});
    // Every record handled, none passed over: the worst case for the log.
    controller.services().remote().setLookahead(1);
    controller.services().remote().handleDatagram(storm);
    controller.log().endPeriod();

    const QString path = program.logPath();
    const QStringList lines = linesOf(path);
    EXPECT_EQ(lines.filter(" Record PNL:A-10C_").size(), ProgramLog::kRecordsPerPeriod);
    const QStringList summary = lines.filter("Many control records: ");
    ASSERT_EQ(summary.size(), 1) << lines.join('\n').toStdString();
    EXPECT_TRUE(summary[0].contains(QStringLiteral(": %1 more handled").arg(50000 - ProgramLog::kRecordsPerPeriod)))
        << summary[0].toStdString();
    EXPECT_LT(QFileInfo(path).size(), 8 * 1024);
    EXPECT_TRUE(lines.first().endsWith(" Varnolt V2.15.1 started")) << lines.first().toStdString();
}

// The listener closed on purpose, at the end or to open it anew, is no problem to report.
TEST(ProgramLog, TheCloseEndsTheLogWithoutAnAlarm)
{
    StartedProgram program;
    ASSERT_TRUE(program.controller.services().listener().isOpen());
    program.controller.FormClose();

    const QStringList lines = linesOf(program.logPath());
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.filter(" Listening for control records ").size(), 1) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.filter("not received").isEmpty()) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.last().endsWith(" Varnolt closed")) << lines.last().toStdString();
}

TEST(ProgramLog, RotatesAtItsLimitAndKeepsOneOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("varnolt.log");
    ProgramLog log;
    ASSERT_TRUE(log.open(path));
    const QString line(100, u'x');
    for (qint64 written = 0; written < 5 * ProgramLog::kFileLimit; written += line.size())
        log.write(line);
    const qint64 lineBytes = 20 + line.size() + 1;
    EXPECT_LE(QFileInfo(path).size(), ProgramLog::kFileLimit + lineBytes);
    EXPECT_LE(QFileInfo(path + ".1").size(), ProgramLog::kFileLimit + lineBytes);
    EXPECT_GE(QFileInfo(path + ".1").size(), ProgramLog::kFileLimit);
    EXPECT_FALSE(QFileInfo::exists(path + ".2"));
}

TEST(ProgramLog, AFolderThatCannotBeWrittenTurnsTheLogOff)
{
    QTemporaryDir dir;
    ProgramLog log;
    EXPECT_FALSE(log.open(dir.filePath("missing/varnolt.log")));
    log.write("nothing");
    log.record("PNL:Start");
    log.endPeriod();
    EXPECT_FALSE(log.isOpen());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing")));
}
