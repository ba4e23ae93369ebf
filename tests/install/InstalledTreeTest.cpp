// The tree `cmake --install` stages, as a package would ship it, and the installed program run from it.
#include "support/Wait.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <csignal>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString Root = QStringLiteral(INSTALLED_ROOT);
const QString ProgramDir = QStringLiteral(PROGRAM_DIR);
const QString AppId = QStringLiteral(APP_ID);

QString installed(const QString& relative)
{
    return Root + u'/' + relative;
}

// Live processes whose executable is `program`, found by the link the kernel keeps for each one.
QList<qint64> processesOf(const QString& program)
{
    const QString wanted = QFileInfo(program).canonicalFilePath();
    QList<qint64> pids;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (isPid && QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget() == wanted)
            pids << pid;
    }
    return pids;
}

QStringList commandLineOf(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList arguments = QString::fromLocal8Bit(file.readAll()).split(QChar(0));
    if (!arguments.isEmpty() && arguments.last().isEmpty())
        arguments.removeLast();
    return arguments;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

// Ends, by process id, what a failed run of the staged tree left behind, so no gauge outlives its test.
struct Reaper
{
    QStringList programs;
    void reap() const
    {
        for (const QString& program : programs)
            for (qint64 pid : processesOf(program))
                ::kill(static_cast<pid_t>(pid), SIGKILL);
    }
    ~Reaper() { reap(); }
};

} // namespace

TEST(InstalledTree, BinLinksIntoTheProgramFolderWithItsCatalogue)
{
    const QFileInfo link(installed(QStringLiteral("bin/varnolt")));
    ASSERT_TRUE(link.isSymLink());
    // Relative, so the tree works under any prefix and inside a staging folder.
    const std::filesystem::path target = std::filesystem::read_symlink(link.filePath().toStdString());
    EXPECT_TRUE(target.is_relative()) << target;
    EXPECT_EQ(link.canonicalFilePath(),
              QFileInfo(installed(ProgramDir + QStringLiteral("/varnolt"))).canonicalFilePath());

    for (const QString& program : {QStringLiteral("varnolt"), QStringLiteral("PanelBackGround.exe"),
                                   QStringLiteral("Instruments_Standard/P@Airspeed.exe")}) {
        const QFileInfo file(installed(ProgramDir + u'/' + program));
        EXPECT_TRUE(file.isFile() && file.isExecutable()) << program.toStdString();
    }
    // Every gauge of the catalogue comes with its descriptor and picture.
    const QDir set(installed(ProgramDir + QStringLiteral("/Instruments_Standard")));
    const QStringList gauges = set.entryList({QStringLiteral("?@*.exe")}, QDir::Files);
    EXPECT_FALSE(gauges.isEmpty());
    for (QString gauge : gauges) {
        gauge.chop(4);
        EXPECT_TRUE(set.exists(gauge + QStringLiteral(".ini"))) << gauge.toStdString();
        EXPECT_TRUE(set.exists(gauge + QStringLiteral(".png"))) << gauge.toStdString();
    }
}

TEST(InstalledTree, HoldsTheSenderAndSimulatorFilesWhenTheSourceHasThem)
{
    if (!HAS_SENDER && !HAS_SIMULATOR_FILES)
        GTEST_SKIP() << "this source has neither";
    if (HAS_SENDER) {
        const QFileInfo link(installed(QStringLiteral("bin/varnolt-send")));
        EXPECT_TRUE(link.isSymLink());
        EXPECT_EQ(link.canonicalFilePath(),
                  QFileInfo(installed(ProgramDir + QStringLiteral("/varnolt-send"))).canonicalFilePath());
        EXPECT_TRUE(link.isExecutable());
        EXPECT_TRUE(QFileInfo(installed(QStringLiteral("share/man/man1/varnolt-send.1.gz"))).isFile());
    }
    if (HAS_SIMULATOR_FILES) {
        EXPECT_TRUE(QFileInfo(installed(QStringLiteral("share/varnolt/Scripts/VarnoltExport.lua"))).isFile());
    }
}

TEST(InstalledTree, HoldsTheDesktopFilesAndNothingOfTheBuild)
{
    for (const QString& file : {QStringLiteral("share/applications/%1.desktop").arg(AppId),
                                QStringLiteral("share/metainfo/%1.metainfo.xml").arg(AppId),
                                QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(AppId),
                                QStringLiteral("share/icons/hicolor/256x256/apps/%1.png").arg(AppId),
                                QStringLiteral("share/man/man1/varnolt.1.gz")})
        EXPECT_TRUE(QFileInfo(installed(file)).isFile()) << file.toStdString();

    // The PNG header states the size the theme folder promises.
    QFile png(installed(QStringLiteral("share/icons/hicolor/256x256/apps/%1.png").arg(AppId)));
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    const QByteArray header = png.read(24);
    EXPECT_EQ(header.mid(12, 12), QByteArray("IHDR\0\0\1\0\0\0\1\0", 12));

    // Tests, benchmarks, build helpers, libraries and headers stay in the build folder.
    const QRegularExpression allowed(QStringLiteral("^(bin/[^/]+|%1/.+|share/(applications|metainfo|icons/hicolor|man/"
                                                    "man1|varnolt|doc/varnolt)/.+)$")
                                         .arg(QRegularExpression::escape(ProgramDir)));
    const QRegularExpression buildOnly(QStringLiteral("(_tests|_bench|probe_child|render_icons|\\.a|\\.h|\\.cmake)$"));
    QDirIterator it(Root, QDir::Files | QDir::System | QDir::Hidden, QDirIterator::Subdirectories);
    int files = 0;
    while (it.hasNext()) {
        const QString relative = QDir(Root).relativeFilePath(it.next());
        ++files;
        EXPECT_TRUE(allowed.match(relative).hasMatch()) << relative.toStdString();
        EXPECT_FALSE(buildOnly.match(relative).hasMatch()) << relative.toStdString();
        if (relative.startsWith(QLatin1String("bin/"))) {
            EXPECT_TRUE(it.fileInfo().isSymLink()) << relative.toStdString();
        }
    }
    EXPECT_GT(files, 10);
}

TEST(InstalledProgram, StartsAPanelThroughTheBinLinkAndSigtermEndsItAll)
{
    const QString background = installed(ProgramDir + QStringLiteral("/PanelBackGround.exe"));
    const QString gauge = installed(ProgramDir + QStringLiteral("/Instruments_Standard/P@Airspeed.exe"));
    const Reaper reaper{{installed(ProgramDir + QStringLiteral("/varnolt")), background, gauge}};
    reaper.reap();

    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString settings = home.path() + QStringLiteral("/appdata/Brondix/HarvolmPRO");
    // Port 0 keeps the listener clear of a running copy; a fixed adapter address means no chooser opens.
    writeFile(settings + QStringLiteral("/varnolt.ini"),
              "[Config]\r\nListenPort=0\r\nAdapterIPAddress=127.0.0.1\r\nLastPanelUsed=Other\r\n");
    writeFile(settings + QStringLiteral("/Panel_Installed/Installed.ini"),
              "[Config]\r\nPanelName=Installed\r\nShowBackground=1\r\n");
    writeFile(
        settings + QStringLiteral("/Panel_Installed/Installed.cfg"),
        "\"Airspeed\",\"0\",\"Instruments_Standard\\P@Airspeed.exe\",\"Y\",\"127.0.0.1\",\"45000\",\"1\",\"1\"\r\n");

    QProcess varnolt;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("APPDATA"), home.path() + QStringLiteral("/appdata"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    varnolt.setProcessEnvironment(env);
    varnolt.setWorkingDirectory(home.path()); // not the program folder: the link alone must lead there
    varnolt.setProcessChannelMode(QProcess::ForwardedChannels);
    varnolt.start(installed(QStringLiteral("bin/varnolt")), {QStringLiteral("Installed")});
    ASSERT_TRUE(varnolt.waitForStarted(5000));

    // Past the splash, the panel named on the command line starts its background and its gauge. A process
    // shows its new program in /proc a moment before its arguments, so the wait covers both.
    QStringList gaugeArguments;
    ASSERT_TRUE(waitFor(
        [&] {
            const QList<qint64> gauges = processesOf(gauge);
            gaugeArguments = gauges.isEmpty() ? QStringList() : commandLineOf(gauges.first());
            return !processesOf(background).isEmpty() && !gaugeArguments.isEmpty();
        },
        30000))
        << "background " << processesOf(background).size() << ", gauge " << processesOf(gauge).size();
    ASSERT_GE(gaugeArguments.size(), 3);
    EXPECT_EQ(gaugeArguments[2], QStringLiteral("Installed"));

    ::kill(static_cast<pid_t>(varnolt.processId()), SIGTERM);
    ASSERT_TRUE(varnolt.waitForFinished(30000)) << "SIGTERM did not end the program";
    EXPECT_EQ(varnolt.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(varnolt.exitCode(), 0);
    EXPECT_TRUE(waitFor([&] { return processesOf(background).isEmpty() && processesOf(gauge).isEmpty(); }, 10000))
        << "children outlived the program";

    // The settings file is named after the real executable, and the close recorded the panel.
    QFile settingsFile(settings + QStringLiteral("/varnolt.ini"));
    ASSERT_TRUE(settingsFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(settingsFile.readAll().contains("LastPanelUsed=Installed\r\n"));
}
