#include "panels/BackgroundSettings.h"

#include "platform/Errors.h"

#include <gtest/gtest.h>

namespace {

TEST(ColorText, WrittenAsNameOrEightHexDigits)
{
    const struct
    {
        int color;
        const char* text;
    } cases[] = {
        {0x00000000, "clBlack"},        {0x00FFFFFF, "clWhite"},
        {0x00000080, "clMaroon"},       {0x00F0CAA6, "clSkyBlue"},
        {0x00A4A0A0, "clMedGray"},      {0x000080FF, "$000080FF"}, // red 255, green 128, blue 0
        {0x00AB3412, "$00AB3412"},      {int(0xFF000000), "clScrollBar"},
        {int(0xFF00000F), "clBtnFace"}, {int(0xFF000019), "$FF000019"}, // index 25 has no name
        {int(0xFF00001E), "clMenuBar"}, {0x1FFFFFFF, "clNone"},
        {0x20000000, "clDefault"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(colorToText(c.color), QLatin1String(c.text));
        EXPECT_EQ(textToColor(QString::fromLatin1(c.text)), c.color) << c.text;
    }
}

TEST(ColorText, ReadInAnyCaseOrAsInteger)
{
    EXPECT_EQ(textToColor(QStringLiteral("clwhite")), 0x00FFFFFF);
    EXPECT_EQ(textToColor(QStringLiteral("CLBTNFACE")), int(0xFF00000F));
    EXPECT_EQ(textToColor(QStringLiteral("255")), 255);
    EXPECT_EQ(textToColor(QStringLiteral("$ff")), 255);
    try {
        textToColor(QStringLiteral("clPink"));
        FAIL() << "no error";
    } catch (const VarnoltError& e) {
        EXPECT_EQ(e.message(), QLatin1String("'clPink' is not a valid integer value"));
    }
}

} // namespace
