#include "net/AdapterChooser.h"
#include "net/LocalAddresses.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include <QHostAddress>

#include <gtest/gtest.h>

// The machine's own list, as each system gives it.
#ifdef Q_OS_WIN
#include "platform/WinsockNetworkAddresses.h"
using SystemAddresses = WinsockNetworkAddresses;
#else
#include "platform/IfaddrsNetworkAddresses.h"
using SystemAddresses = IfaddrsNetworkAddresses;
#endif

TEST(LocalAddresses, AppendsWhatThePlatformListsDuplicatesIncluded)
{
    const QStringList cases[] = {
        {},
        {QStringLiteral("192.168.1.20")},
        {QStringLiteral("192.168.1.20"), QStringLiteral("10.0.0.5")},
        {QStringLiteral("10.0.0.5"), QStringLiteral("10.0.0.5")},
    };
    for (const QStringList& platformList : cases) {
        FakeNetworkAddresses platform;
        platform.addresses = platformList;
        QStringList list{QStringLiteral("kept")};
        ListLocalAddresses(platform, list);
        EXPECT_EQ(list, QStringList{QStringLiteral("kept")} + platformList);
    }
}

TEST(LocalAddresses, TheMachineHasAtLeastItsOwnAddressAndNoLoopbackBesideOthers)
{
    const QStringList addresses = SystemAddresses().localIPv4Addresses();
    ASSERT_FALSE(addresses.isEmpty());
    for (const QString& a : addresses) {
        QHostAddress host;
        EXPECT_TRUE(host.setAddress(a) && host.protocol() == QAbstractSocket::IPv4Protocol) << qPrintable(a);
        EXPECT_EQ(host.toString(), a) << "dotted decimal expected";
        if (host.isLoopback()) {
            EXPECT_EQ(addresses, QStringList{QStringLiteral("127.0.0.1")});
        }
    }
}

TEST(ChooseAdapter, OffersTheListWithTheFirstPreselectedAndReturnsTheSelectionHoweverClosed)
{
    const QStringList addresses{QStringLiteral("10.0.0.5"), QStringLiteral("192.168.1.20"), QStringLiteral("10.0.0.5")};
    for (const bool confirmed : {true, false}) {
        ScriptedPrompter prompter;
        prompter.answerDialog([&](DialogModel& model) {
            auto& chooser = dynamic_cast<AdapterChooserModel&>(model);
            EXPECT_EQ(chooser.entries, addresses);
            EXPECT_EQ(chooser.selected, 0);
            chooser.selected = 1;
            return confirmed;
        });
        EXPECT_EQ(ChooseAdapter(prompter, addresses), QStringLiteral("192.168.1.20"));
    }

    ScriptedPrompter untouched;
    untouched.answerDialog([](DialogModel&) { return false; });
    EXPECT_EQ(ChooseAdapter(untouched, addresses), QStringLiteral("10.0.0.5"));
}
