// The panel name rule alone; tests/panels/PanelNamesTest.cpp runs it against every source of names.
#include "settings/PanelNames.h"

#include <gtest/gtest.h>

TEST(PanelNameRule, WhichNamesAPanelMayHave)
{
    const QString longest(MaxPanelNameLength, u'A');
    const struct
    {
        QString name;
        bool panel;    // a panel on disk may have it
        bool newPanel; // the user may give it to a new panel
    } cases[] = {
        {"Hornet", true, true},
        {"F-16 Left (2)", true, true},
        {"Müller's Panel", true, true},
        {longest, true, true},
        {longest + u'A', false, false},
        {"", false, false},
        {".", false, false},
        {"..", false, false},
        {"...", true, true},
        {"a/b", false, false},
        {"a\\b", false, false},
        {"a:b", false, false},
        {"a*b", false, false},
        {"a?b", false, false},
        {"a\"b", false, false},
        {"a<b", false, false},
        {"a>b", false, false},
        {"a|b", false, false},
        {"a\nb", false, false},
        {"a\x7f"
         "b",
         false, false},
        {QStringLiteral("a") + QChar::ReplacementCharacter, false, false},
        // Loaded as they are; a new panel would travel badly.
        {" Hornet", true, false},
        {"Hornet ", true, false},
        {QString::fromUtf8("Σκάφος"), true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(!panelNameProblem(c.name), c.panel) << c.name.toStdString();
        EXPECT_EQ(!newPanelNameProblem(c.name), c.newPanel) << c.name.toStdString();
    }
}

TEST(PanelNameRule, OnlyEntriesCarryingAPanelNameArePanels)
{
    const struct
    {
        QString entry;
        std::optional<QString> name;
    } cases[] = {
        {"Panel_Hornet", QStringLiteral("Hornet")},
        {"Panel_Panel_X", QStringLiteral("Panel_X")},
        {"Panel_", std::nullopt},
        {"panel_Hornet", std::nullopt},
        {"Hornet", std::nullopt},
        {"Panel_..", std::nullopt},
        {"Panel_" + QString(MaxPanelNameLength + 1, u'A'), std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(panelNameOfEntry(c.entry), c.name) << c.entry.toStdString();
}

TEST(PanelNameRule, TheStoredNameShowsOnlyInOtherLetterCase)
{
    EXPECT_EQ(shownPanelName("Hornet", "HORNET"), "HORNET");
    EXPECT_EQ(shownPanelName("Hornet", "Viper"), "Hornet");
    EXPECT_EQ(shownPanelName("Hornet", ""), "Hornet");
    EXPECT_EQ(shownPanelName("Hornet", "../Hornet"), "Hornet");
}

TEST(PanelNameRule, AMessageShowsAHostileNameHarmlessAndShort)
{
    EXPECT_EQ(printablePanelName("a\nb"), QStringLiteral("a") + QChar::ReplacementCharacter + u'b');
    const QString shown = printablePanelName(QString(200, u'A'));
    EXPECT_EQ(shown.size(), MaxPanelNameLength + 1);
    EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
}
