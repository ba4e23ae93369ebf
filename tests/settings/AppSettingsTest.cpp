#include "settings/AppSettings.h"
#include "platform/Paths.h"
#include "settings/Folders.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

struct SettingsFixture : ::testing::Test
{
    TestPlatform t;
    Folders folders = ResolveFolders(t.env, t.files);
    AppSettingsFile file{t.ini, folders.SettingsFileName()};
};

} // namespace

TEST_F(SettingsFixture, FoldersFollowAppData)
{
    EXPECT_EQ(folders.IniPath, t.iniPath());
    EXPECT_TRUE(QDir(t.settingsFolder()).exists());
    EXPECT_EQ(folders.AppPath, nativePath(t.root() + "/bin") + u'\\');
    EXPECT_EQ(folders.SettingsFileName(), t.iniPath() + QStringLiteral("\\varnolt.ini"));
}

TEST(Folders, TheSettingsFolderIsCreatedWithItsMissingParents)
{
    TestPlatform t;
    // A fresh account: the base folder itself and the one above it do not exist yet.
    t.env.appData = t.root() + QStringLiteral("/home/new user/.config");
    const Folders folders = ResolveFolders(t.env, t.files);
    EXPECT_EQ(folders.IniPath, t.root() + QStringLiteral("/home/new user/.config\\Brondix\\HarvolmPRO"));
    EXPECT_TRUE(QDir(t.root() + QStringLiteral("/home/new user/.config/Brondix/HarvolmPRO")).exists());

    // Already there: nothing changes, nothing fails.
    EXPECT_EQ(ResolveFolders(t.env, t.files).IniPath, folders.IniPath);
}

TEST_F(SettingsFixture, DefaultsWithoutAFileAndNoFileCreated)
{
    AppSettings s;
    s.MulticastGroup = "changed";
    s.AutoStart = true;
    QString adapter;
    file.LoadAppSettings(s, adapter);
    EXPECT_EQ(s.MulticastGroup, "224.11.5.62");
    EXPECT_EQ(s.FlightSimIPAddress, "255.255.255.255");
    EXPECT_EQ(s.FlightSimPort, "45000");
    EXPECT_EQ(s.ListenPort, "48000");
    EXPECT_EQ(s.RelayPort, "45001");
    EXPECT_EQ(adapter, "Auto");
    EXPECT_FALSE(s.PanelSwitching || s.AutoStart || s.MonitorChecking || s.DeclutterDesktop);
    EXPECT_EQ(file.ReadLastPanelUsed(), "");
    EXPECT_FALSE(QFile::exists(t.settingsFile()));
}

TEST_F(SettingsFixture, SwitchesAreOnlyTheExactYes)
{
    TestPlatform::writeBytes(t.settingsFile(), "[Config]\r\n"
                                               "PanelSwitching=Yes\r\n"
                                               "  MonitorChecking  =  yes  \r\n"
                                               "AutoStart=1\r\n"
                                               "DeclutterDesktop=yes\r\n");
    AppSettings s;
    QString adapter;
    file.LoadAppSettings(s, adapter);
    EXPECT_FALSE(s.PanelSwitching);
    EXPECT_TRUE(s.MonitorChecking);
    EXPECT_FALSE(s.AutoStart);
    EXPECT_TRUE(s.DeclutterDesktop);
}

TEST_F(SettingsFixture, WritesKeepForeignKeysAndWriteAllNetworkKeys)
{
    const QByteArray before = "; mine\r\n[Config]\r\nCustom=keep me\r\nListenPort=1\r\n[Extra]\r\nX=y\r\n";
    TestPlatform::writeBytes(t.settingsFile(), before);

    AppSettings s;
    s.ListenPort = "48001";
    s.AutoStart = true;
    file.SaveNetworkSettings(s);
    file.SaveLastPanelUsed(QString());

    EXPECT_EQ(TestPlatform::readBytes(t.settingsFile()),
              QByteArray("; mine\r\n[Config]\r\nCustom=keep me\r\nListenPort=48001\r\n"
                         "MulticastGroup=224.11.5.62\r\nFlightSimPort=45000\r\nFlightSimIPAddress=255.255.255.255\r\n"
                         "PanelSwitching=no\r\nAutoStart=yes\r\nMonitorChecking=no\r\nDeclutterDesktop=no\r\n"
                         "LastPanelUsed=\r\n[Extra]\r\nX=y\r\n"));
}
