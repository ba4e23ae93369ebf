#include "net/NetworkConfig.h"
#include "net/NetworkConfigModel.h"
#include "platform/Errors.h"
#include "settings/AppSettings.h"
#include "settings/Folders.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include <gtest/gtest.h>

namespace {

class NetworkConfigTest : public ::testing::Test
{
protected:
    NetworkConfigTest() : folders(ResolveFolders(tp.env, tp.files)) {}

    AppSettingsFile file() { return AppSettingsFile(tp.ini, folders.SettingsFileName()); }
    void run()
    {
        AppSettingsFile settingsFile = file();
        runNetworkConfig(prompter, settings, settingsFile);
    }

    // Answers the dialog by running edit on its state; confirmed or not as given.
    void answer(std::function<void(NetworkConfigModel&)> edit, bool confirmed)
    {
        prompter.answerDialog([edit, confirmed](DialogModel& model) {
            auto* dialog = dynamic_cast<NetworkConfigModel*>(&model);
            EXPECT_NE(dialog, nullptr);
            if (dialog)
                edit(*dialog);
            return confirmed;
        });
    }

    QByteArray fileBytes() const { return TestPlatform::readBytes(tp.settingsFile()); }

    TestPlatform tp;
    ScriptedPrompter prompter;
    Folders folders;
    AppSettings settings;
    QString adapter;
};

bool sameSettings(const AppSettings& a, const AppSettings& b)
{
    return a.MulticastGroup == b.MulticastGroup && a.FlightSimIPAddress == b.FlightSimIPAddress &&
           a.FlightSimPort == b.FlightSimPort && a.ListenPort == b.ListenPort && a.PanelSwitching == b.PanelSwitching &&
           a.AutoStart == b.AutoStart && a.MonitorChecking == b.MonitorChecking &&
           a.DeclutterDesktop == b.DeclutterDesktop;
}

} // namespace

TEST(NetworkConfigModel, AutostartBoxIsUsableExactlyWhilePanelSwitchingIsOn)
{
    const struct
    {
        bool switching, autoStart;
    } cases[] = {{false, false}, {false, true}, {true, false}, {true, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "switching " << c.switching << ", autostart " << c.autoStart);
        AppSettings settings;
        settings.PanelSwitching = c.switching;
        settings.AutoStart = c.autoStart;
        NetworkConfigModel dialog;
        dialog.fill(settings);
        EXPECT_EQ(dialog.autoStartEnabled(), c.switching);
        EXPECT_EQ(dialog.autoStart, c.autoStart);

        // A change made by the program counts as much as a click; the autostart check is never touched.
        dialog.setPanelSwitching(!c.switching);
        EXPECT_EQ(dialog.autoStartEnabled(), !c.switching);
        EXPECT_EQ(dialog.autoStart, c.autoStart);
    }
}

TEST_F(NetworkConfigTest, SwitchingOffKeepsTheDisabledAutostartCheckAndStoresIt)
{
    TestPlatform::writeBytes(tp.settingsFile(), "[Config]\r\nPanelSwitching=yes\r\nAutoStart=yes\r\n");
    file().LoadAppSettings(settings, adapter);

    answer([](NetworkConfigModel& d) { d.setPanelSwitching(false); }, true);
    run();

    EXPECT_FALSE(settings.PanelSwitching);
    EXPECT_TRUE(settings.AutoStart);
    const QByteArray file = fileBytes();
    EXPECT_TRUE(file.contains("PanelSwitching=no\r\n")) << file.constData();
    EXPECT_TRUE(file.contains("AutoStart=yes\r\n")) << file.constData();
}

TEST_F(NetworkConfigTest, CancelAfterEditingEverythingChangesNothing)
{
    const QByteArray original = "[Config]\r\nListenPort=48000\r\nMonitorChecking=yes\r\nLastPanelUsed=A10\r\n";
    TestPlatform::writeBytes(tp.settingsFile(), original);
    file().LoadAppSettings(settings, adapter);
    const AppSettings before = settings;

    answer(
        [](NetworkConfigModel& d) {
            d.multicastGroup = QStringLiteral("239.1.1.1");
            d.flightSimIPAddress = QStringLiteral("10.0.0.9");
            d.listenPort = QStringLiteral("1");
            d.flightSimPort = QStringLiteral("2");
            d.setPanelSwitching(true);
            d.autoStart = d.declutterDesktop = true;
            d.monitorChecking = false;
        },
        false);
    run();

    EXPECT_TRUE(sameSettings(settings, before));
    EXPECT_EQ(fileBytes(), original);
}

TEST_F(NetworkConfigTest, OkWritesAllEightKeysAndTheTextsAsTyped)
{
    settings.MonitorChecking = true;
    answer([](NetworkConfigModel& d) { d.listenPort = QStringLiteral(" 48x01 "); }, true);
    run();

    EXPECT_EQ(settings.ListenPort, QStringLiteral(" 48x01 "));
    EXPECT_EQ(fileBytes(), QByteArray("[Config]\r\n"
                                      "ListenPort= 48x01 \r\n"
                                      "MulticastGroup=224.11.5.62\r\n"
                                      "FlightSimPort=45000\r\n"
                                      "FlightSimIPAddress=255.255.255.255\r\n"
                                      "PanelSwitching=no\r\n"
                                      "AutoStart=no\r\n"
                                      "MonitorChecking=yes\r\n"
                                      "DeclutterDesktop=no\r\n"));
}

TEST_F(NetworkConfigTest, RefusedWriteIsRaisedAfterTheValuesTookEffect)
{
    folders.IniPath = tp.iniPath() + QStringLiteral("\\missing");
    answer([](NetworkConfigModel& d) { d.flightSimPort = QStringLiteral("45001"); }, true);

    EXPECT_THROW(run(), VarnoltError);
    EXPECT_EQ(settings.FlightSimPort, QStringLiteral("45001"));
}
