#include "panels/TfrmPanel.h"

#include "app/ProgramViews.h"
#include "app/QtPrompter.h"
#include "panels/PanelSettings.h"
#include "panels/PanelSetupModel.h"
#include "platform/Paths.h"
#include "settings/PanelFolder.h"

#include "support/GuiScript.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"
#include "support/Wait.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using M = PanelSetupModel;

class TfrmPanelTest : public ::testing::Test
{
protected:
    TfrmPanelTest() { tp.monitors.screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)}; }
    TestPlatform tp;
};

TEST_F(TfrmPanelTest, ModeChangeAndOkThroughTheRealWindow)
{
    QtPrompter prompter{programViews()};
    M model(tp.monitors, prompter);
    model.setMonitorCount(2);
    model.presetNewPanel(tp.iniPath());

    whenOpen<TfrmPanel>([](TfrmPanel* d) {
        auto* name = child<QLineEdit>(d, "edPanelName");
        auto* width = child<QLineEdit>(d, "edWidth");
        auto* top = child<QLineEdit>(d, "edTop");
        auto* monitor = child<QComboBox>(d, "cbMonitor");
        EXPECT_EQ(name->text(), QLatin1String("[New Panel]"));
        EXPECT_TRUE(name->isEnabled());
        EXPECT_FALSE(width->isVisibleTo(d));
        EXPECT_FALSE(monitor->isVisibleTo(d));
        EXPECT_EQ(width->text(), QLatin1String("3200"));

        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("Hornet"));
        child<QRadioButton>(d, "rgSizeType_1")->click();
        EXPECT_TRUE(monitor->isVisibleTo(d));
        EXPECT_EQ(width->text(), QLatin1String("1920"));

        // The second monitor picked from the open list.
        monitor->showPopup();
        monitor->setCurrentIndex(1);
        monitor->hidePopup();
        EXPECT_TRUE(waitFor([&] { return width->text() == QLatin1String("1280"); })) << qPrintable(width->text());

        child<QRadioButton>(d, "rgSizeType_2")->click();
        EXPECT_FALSE(monitor->isVisibleTo(d));
        EXPECT_TRUE(top->isVisibleTo(d));
        EXPECT_TRUE(width->isVisibleTo(d));
        EXPECT_EQ(child<QLineEdit>(d, "edLeft")->text(), QLatin1String("1920"));
        top->selectAll();
        QTest::keyClicks(top, QStringLiteral("50"));
        child<QAbstractButton>(d, "bbOK")->click();
    });
    ASSERT_TRUE(prompter.execDialog(model));

    QDir().mkpath(nativePath(PanelFolder(tp.iniPath(), model.panelName).path()));
    SavePanelSetup(tp.platform(), tp.iniPath(), model.panelName, model);
    const QByteArray panel = TestPlatform::readBytes(nativePath(PanelFolder(tp.iniPath(), "Hornet").settingsFile()));
    const QByteArray background =
        TestPlatform::readBytes(nativePath(PanelFolder(tp.iniPath(), "Hornet").backgroundSettingsFile()));
    EXPECT_TRUE(panel.contains("PanelName=Hornet\r\n"));
    EXPECT_TRUE(panel.contains("PanelMonitor=0\r\n"));
    EXPECT_TRUE(panel.contains("No_of_Screens=2\r\n"));
    EXPECT_TRUE(background.contains("Width=1280\r\nHeight=1024\r\n"));
    EXPECT_TRUE(background.contains("SizeType=2\r\nMonitor=1\r\n"));
    EXPECT_TRUE(background.contains("[Position]\r\nTop=50\r\nLeft=1920\r\n"));
}

// Every shown caption and field gets the room it asks for, in the states the dialog can take.
TEST_F(TfrmPanelTest, NothingClippedInAnyState)
{
    const struct
    {
        const char* name;
        int type;
        bool imageSize;
        int mode;
    } states[] = {
        {"new-color-desktop", M::TypeColor, false, M::FullDesktop},
        {"image-custom", M::TypeImage, false, M::CustomSize},
        {"color-monitor", M::TypeColor, false, M::OneMonitor},
        {"image-own-size", M::TypeImage, true, M::NoBackground},
    };
    ScriptedPrompter prompter;
    for (const auto& s : states) {
        SCOPED_TRACE(s.name);
        M model(tp.monitors, prompter);
        model.setMonitorCount(2);
        model.presetNewPanel(tp.iniPath());
        model.setType(s.type);
        model.setImageSize(s.imageSize);
        model.setSizeType(s.mode);
        model.imageFile = QStringLiteral("C:\\Users\\pilot\\Pictures\\Cockpit backgrounds\\night.png");
        TfrmPanel dialog(model);
        dialog.show();
        QApplication::processEvents();
        EXPECT_GE(dialog.width(), 450);
        EXPECT_GE(dialog.height(), 424);
        for (QWidget* w : dialog.findChildren<QWidget*>()) {
            if (!w->isVisibleTo(&dialog) || !qobject_cast<QWidget*>(w->parent()))
                continue;
            const QRect inDialog(w->mapTo(&dialog, QPoint(0, 0)), w->size());
            EXPECT_TRUE(dialog.rect().contains(inDialog)) << qPrintable(w->objectName());
            if (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)) {
                EXPECT_GE(w->width(), w->minimumSizeHint().width()) << qPrintable(w->objectName());
                EXPECT_GE(w->height(), w->minimumSizeHint().height()) << qPrintable(w->objectName());
            }
        }
        if (const QString shots = qEnvironmentVariable("VARNOLT_SCREENSHOTS"); !shots.isEmpty())
            dialog.grab().save(shots + QStringLiteral("/panel-setup-%1.png").arg(QLatin1String(s.name)));
    }
}

} // namespace

TEST_F(TfrmPanelTest, SpinFieldsTakeATypedValueToTheNearerLimit)
{
    const struct
    {
        const char* typed;
        int value;
    } cases[] = {{"99", 50}, {"0", 1}, {"-5", 1}, {"12", 12}, {"99999999999999", 50}};
    QtPrompter prompter{programViews()};
    M model(tp.monitors, prompter);
    TfrmPanel dialog(model);
    dialog.show();
    QApplication::setActiveWindow(&dialog); // so that the focus, and editing, can end
    for (const char* field : {"edPixels", "edGrid"}) {
        auto* spin = child<QSpinBox>(&dialog, field);
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << field << " typed " << c.typed);
            spin->setFocus();
            spin->selectAll();
            QTest::keyClicks(spin, QString::fromLatin1(c.typed));
            QTest::keyClick(spin, Qt::Key_Tab); // editing ends as the focus moves on
            EXPECT_EQ(spin->value(), c.value);
            EXPECT_EQ(QLatin1String(field) == "edPixels" ? model.frameWidth() : model.gridSpacing(), c.value);
        }
    }
}
