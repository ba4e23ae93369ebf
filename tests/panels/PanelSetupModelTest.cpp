#include "panels/PanelSetupModel.h"

#include "platform/Paths.h"
#include "support/ScriptedPrompter.h"
#include "support/TestPlatform.h"

#include <gtest/gtest.h>

namespace {

using M = PanelSetupModel;

// The rules the dialog keeps after showing and after every reaction.
void expectVisibilityRules(const M& m)
{
    SCOPED_TRACE(QStringLiteral("type %1, mode %2, image size %3")
                     .arg(m.type())
                     .arg(m.sizeType())
                     .arg(m.imageSize())
                     .toStdString());
    EXPECT_EQ(m.colorGroupVisible(), m.type() == M::TypeColor);
    EXPECT_EQ(m.imageGroupVisible(), m.type() == M::TypeImage);
    EXPECT_EQ(m.monitorVisible(), m.sizeType() == M::OneMonitor);
    EXPECT_EQ(m.topLeftVisible(), m.sizeType() == M::CustomSize);
    if (m.type() == M::TypeImage) {
        EXPECT_EQ(m.sizeVisible(), !m.imageSize());
    } else {
        EXPECT_EQ(m.sizeVisible(), m.sizeType() == M::CustomSize);
    }
}

class PanelSetupModelTest : public ::testing::Test
{
protected:
    PanelSetupModelTest()
    {
        monitors.screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
        model.setMonitorCount(2);
    }

    void expectGeometry(const char* w, const char* h, const char* top, const char* left)
    {
        EXPECT_EQ(model.width, QLatin1String(w));
        EXPECT_EQ(model.height, QLatin1String(h));
        EXPECT_EQ(model.top, QLatin1String(top));
        EXPECT_EQ(model.left, QLatin1String(left));
    }

    FakeMonitors monitors;
    ScriptedPrompter prompter;
    PanelSetupModel model{monitors, prompter};
};

TEST_F(PanelSetupModelTest, NewPanelOpensWithPresetsAndDesktopSize)
{
    model.presetNewPanel(QStringLiteral("C:\\Settings"));
    model.FormShow();

    EXPECT_EQ(model.panelName, QLatin1String("[New Panel]"));
    EXPECT_TRUE(model.panelNameEnabled());
    EXPECT_TRUE(model.panelNameFocused());
    EXPECT_EQ(model.type(), M::TypeColor);
    EXPECT_EQ(model.sizeType(), M::FullDesktop);
    EXPECT_FALSE(model.sizeVisible());
    expectGeometry("3200", "1080", "0", "0");
    EXPECT_TRUE(model.bezels);
    EXPECT_FALSE(model.lighting);
    EXPECT_EQ(model.frameWidth(), 1);
    EXPECT_EQ(model.gridSpacing(), 40);
    EXPECT_EQ(model.frameColor, 0);
    EXPECT_EQ(model.backgroundColor, 0);
    EXPECT_EQ(model.colorDialogColor, 0);
    EXPECT_EQ(model.monitorEntries(), QStringList({"1", "2"}));
    EXPECT_EQ(model.monitorIndex(), 0);
    expectVisibilityRules(model);
}

TEST_F(PanelSetupModelTest, ExistingPanelNameCannotBeEdited)
{
    model.panelName = QStringLiteral("A10C");
    model.FormShow();
    EXPECT_FALSE(model.panelNameEnabled());
    EXPECT_FALSE(model.panelNameFocused());
}

TEST_F(PanelSetupModelTest, VisibilityRulesHoldAfterShowAndEveryReaction)
{
    for (int type : {0, 1}) {
        for (bool imageSize : {false, true}) {
            for (int mode = 0; mode < M::ModeCount; ++mode) {
                PanelSetupModel m(monitors, prompter);
                m.setMonitorCount(2);
                // The order the files fill it in, then the dialog is shown.
                m.setType(type);
                m.setImageSize(imageSize);
                m.setSizeType(mode);
                m.FormShow();
                expectVisibilityRules(m);

                // Then the user clicks around.
                for (int next = 0; next < M::ModeCount; ++next) {
                    m.setSizeType(next);
                    expectVisibilityRules(m);
                    m.setType(1 - m.type());
                    expectVisibilityRules(m);
                    if (m.type() == M::TypeImage) {
                        m.setImageSize(!m.imageSize());
                        expectVisibilityRules(m);
                    }
                    m.cbMonitorCloseUp();
                    expectVisibilityRules(m);
                }
            }
        }
    }
}

TEST_F(PanelSetupModelTest, ModeFillsSizeAndPosition)
{
    model.setMonitorIndex(1);
    model.width = QStringLiteral("1");
    model.setSizeType(M::CustomSize);
    expectGeometry("1", "600", "0", "0"); // nothing refilled

    model.setSizeType(M::OneMonitor);
    expectGeometry("1280", "1024", "0", "1920");
    model.setSizeType(M::CustomSize);
    expectGeometry("1280", "1024", "0", "1920"); // the last values shown stay
    model.setSizeType(M::NoBackground);
    expectGeometry("3200", "1080", "0", "0");
    model.setSizeType(M::FullDesktop);
    expectGeometry("3200", "1080", "0", "0");

    // A monitor left of the main one: the desktop starts at a negative coordinate, Left stays 0.
    monitors.screens = {QRect(0, 0, 1920, 1080), QRect(-1280, 0, 1280, 1024)};
    model.setSizeType(M::OneMonitor);
    expectGeometry("1280", "1024", "0", "-1280");
    model.setSizeType(M::FullDesktop);
    expectGeometry("3200", "1080", "0", "0");
}

TEST_F(PanelSetupModelTest, MonitorChosenFromTheListRefillsButKeyboardChangeDoesNot)
{
    model.setSizeType(M::OneMonitor);
    expectGeometry("1920", "1080", "0", "0");

    model.setMonitorIndex(1); // keyboard: the list never opened
    expectGeometry("1920", "1080", "0", "0");
    EXPECT_EQ(model.panelMonitor(), 1);

    model.cbMonitorCloseUp();
    expectGeometry("1280", "1024", "0", "1920");

    // The reaction runs in any Mode.
    model.setSizeType(M::CustomSize);
    model.setMonitorIndex(0);
    model.cbMonitorCloseUp();
    expectGeometry("1920", "1080", "0", "0");
    EXPECT_EQ(model.panelMonitor(), 0); // only Mode "One Monitor only" names a monitor
}

TEST_F(PanelSetupModelTest, TypeSwitch)
{
    model.imageFile = QStringLiteral("C:\\Pics\\sky.png");
    model.setType(M::TypeColor); // no change, no reaction
    EXPECT_EQ(model.imageFile, QLatin1String("C:\\Pics\\sky.png"));

    model.setImageSizeEnabled(false);
    model.setType(M::TypeImage);
    EXPECT_TRUE(model.imageSize());
    EXPECT_FALSE(model.imageSizeEnabled()); // stays as the files left it
    EXPECT_FALSE(model.sizeVisible());
    EXPECT_EQ(model.imageFile, QLatin1String("C:\\Pics\\sky.png"));

    model.setType(M::TypeColor);
    EXPECT_TRUE(model.imageFile.isEmpty());
}

TEST_F(PanelSetupModelTest, StoredIndexesOutsideTheItems)
{
    model.setType(7);
    EXPECT_EQ(model.type(), M::TypeImage);
    model.setType(-3);
    EXPECT_EQ(model.type(), M::TypeNone);
    model.setSizeType(9);
    EXPECT_EQ(model.sizeType(), M::NoBackground);
    model.setSizeType(-1);
    EXPECT_EQ(model.sizeType(), M::ModeNone);

    // Pick-only monitor box: a monitor no longer attached falls back to the first.
    model.setMonitorIndex(5);
    EXPECT_EQ(model.monitorIndex(), 0);
    model.setMonitorIndex(-1);
    EXPECT_EQ(model.monitorIndex(), 0);
    model.setFrameWidth(99);
    model.setGridSpacing(0);
    EXPECT_EQ(model.frameWidth(), 50);
    EXPECT_EQ(model.gridSpacing(), 1);
}

TEST_F(PanelSetupModelTest, MonitorGoneSinceStartUpReadsTheMainMonitor)
{
    monitors.screens = {QRect(0, 0, 1600, 900)};
    model.setMonitorIndex(1);
    model.setSizeType(M::OneMonitor);
    expectGeometry("1600", "900", "0", "0");
}

TEST_F(PanelSetupModelTest, ColourDialogs)
{
    prompter.answerColor(0x0000FF00);
    model.btnColorClick();
    EXPECT_EQ(model.backgroundColor, 0x0000FF00);
    EXPECT_EQ(model.colorDialogColor, 0x0000FF00);

    prompter.answerColor(std::nullopt);
    model.btnColorClick();
    EXPECT_EQ(model.backgroundColor, 0x0000FF00);

    prompter.answerColor(0x00123456);
    model.pColorFrameClick();
    EXPECT_EQ(model.frameColor, 0x00123456);
    prompter.answerColor(std::nullopt);
    model.pColorFrameClick();
    EXPECT_EQ(model.frameColor, 0); // cancelling turns the frame black
    EXPECT_TRUE(prompter.scriptUsedUp());
}

TEST_F(PanelSetupModelTest, PictureDialog)
{
    model.pictureFolder = QStringLiteral("/home/u/appdata\\Brondix\\HarvolmPRO");
    prompter.answerFile(QStringLiteral("/home/u/pics/sky.png"));
    model.btnImageClick();
    ASSERT_EQ(prompter.fileRequests.size(), 1u);
    const FileDialogRequest& r = prompter.fileRequests[0];
    EXPECT_EQ(r.title, QLatin1String("Select Background Image"));
    EXPECT_EQ(r.filter, QLatin1String("Bitmap Image File (*.bmp)|*.bmp|JPEG Image File (*.jpg)|*.jpg|GIF Image File "
                                      "(*.gif)|*.gif|PNG Image File (*.png)|*.png|TIFF Image File (*.tif)|*.tif"));
    EXPECT_EQ(r.initialFolder, nativePath("/home/u/appdata/Brondix/HarvolmPRO"));
    EXPECT_EQ(model.imageFile, QLatin1String("\\home\\u\\pics\\sky.png"));

    prompter.answerFile(std::nullopt);
    model.btnImageClick();
    EXPECT_EQ(model.imageFile, QLatin1String("\\home\\u\\pics\\sky.png"));
}

TEST_F(PanelSetupModelTest, OkRefusesValuesThatCannotBeSaved)
{
    struct Case
    {
        int type;
        int mode;
        const char* width;
        const char* top;
        const char* left;
        const char* refusal; // nullptr: accepted
    };
    const Case cases[] = {
        {M::TypeColor, M::CustomSize, "1024", "100", "-20", nullptr},
        {M::TypeColor, M::CustomSize, "1", "-2147483648", "2147483647", nullptr},
        {M::TypeColor, M::CustomSize, "1024", "1O0", "0", "Top must be a whole number; '1O0' is not."},
        {M::TypeColor, M::CustomSize, "1024", "0", "", "Left must be a whole number; '' is not."},
        {M::TypeColor, M::CustomSize, "wide", "0", "0", "Width must be a whole number; 'wide' is not."},
        {M::TypeColor, M::CustomSize, "0", "0", "0", "Width must be a whole number from 1 to 2147483647; '0' is not."},
        {M::TypeColor, M::CustomSize, "-5", "0", "0",
         "Width must be a whole number from 1 to 2147483647; '-5' is not."},
        {M::TypeColor, M::CustomSize, "800", "99999999999", "0",
         "Top must be a whole number from -2147483648 to 2147483647; '99999999999' is not."},
        {M::TypeColor, M::CustomSize, "800", "0", "-2147483649",
         "Left must be a whole number from -2147483648 to 2147483647; '-2147483649' is not."},
        {M::TypeColor, M::FullDesktop, "wide", "0", "0", nullptr}, // hidden, filled by the dialog
        {M::TypeImage, M::FullDesktop, "0", "0", "0",              // image size cleared: typed by the user
         "Width must be a whole number from 1 to 2147483647; '0' is not."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " " << c.top << " " << c.left);
        PanelSetupModel m(monitors, prompter);
        m.setType(c.type);
        m.setImageSize(false);
        m.setSizeType(c.mode);
        m.width = QString::fromLatin1(c.width);
        m.top = QString::fromLatin1(c.top);
        m.left = QString::fromLatin1(c.left);
        const size_t shown = prompter.messages.size();
        EXPECT_EQ(m.bbOKClick(), !c.refusal);
        ASSERT_EQ(prompter.messages.size(), shown + (c.refusal ? 1 : 0));
        if (c.refusal) {
            EXPECT_EQ(prompter.messages.back().text, QString::fromLatin1(c.refusal));
        }
    }
}

} // namespace
