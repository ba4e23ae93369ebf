#include "BackgroundSettings.h"

#include "PanelFiles.h"
#include "platform/Convert.h"
#include "platform/IniService.h"

namespace {

struct NamedColor
{
    const char* name;
    int value;
};

constexpr int rgb(int r, int g, int b)
{
    return r | (g << 8) | (b << 16);
}

constexpr int system(int index)
{
    return int(0xFF000000u | unsigned(index));
}

const NamedColor kColors[] = {
    {"clBlack", rgb(0, 0, 0)},
    {"clMaroon", rgb(128, 0, 0)},
    {"clGreen", rgb(0, 128, 0)},
    {"clOlive", rgb(128, 128, 0)},
    {"clNavy", rgb(0, 0, 128)},
    {"clPurple", rgb(128, 0, 128)},
    {"clTeal", rgb(0, 128, 128)},
    {"clGray", rgb(128, 128, 128)},
    {"clSilver", rgb(192, 192, 192)},
    {"clRed", rgb(255, 0, 0)},
    {"clLime", rgb(0, 255, 0)},
    {"clYellow", rgb(255, 255, 0)},
    {"clBlue", rgb(0, 0, 255)},
    {"clFuchsia", rgb(255, 0, 255)},
    {"clAqua", rgb(0, 255, 255)},
    {"clWhite", rgb(255, 255, 255)},
    {"clMoneyGreen", rgb(192, 220, 192)},
    {"clSkyBlue", rgb(166, 202, 240)},
    {"clCream", rgb(255, 251, 240)},
    {"clMedGray", rgb(160, 160, 164)},
    {"clScrollBar", system(0)},
    {"clBackground", system(1)},
    {"clActiveCaption", system(2)},
    {"clInactiveCaption", system(3)},
    {"clMenu", system(4)},
    {"clWindow", system(5)},
    {"clWindowFrame", system(6)},
    {"clMenuText", system(7)},
    {"clWindowText", system(8)},
    {"clCaptionText", system(9)},
    {"clActiveBorder", system(10)},
    {"clInactiveBorder", system(11)},
    {"clAppWorkSpace", system(12)},
    {"clHighlight", system(13)},
    {"clHighlightText", system(14)},
    {"clBtnFace", system(15)},
    {"clBtnShadow", system(16)},
    {"clGrayText", system(17)},
    {"clBtnText", system(18)},
    {"clInactiveCaptionText", system(19)},
    {"clBtnHighlight", system(20)},
    {"cl3DDkShadow", system(21)},
    {"cl3DLight", system(22)},
    {"clInfoText", system(23)},
    {"clInfoBk", system(24)},
    {"clHotLight", system(26)},
    {"clGradientActiveCaption", system(27)},
    {"clGradientInactiveCaption", system(28)},
    {"clMenuHighlight", system(29)},
    {"clMenuBar", system(30)},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
};

const QString Settings = QStringLiteral("Settings");
const QString Position = QStringLiteral("Position");

} // namespace

QString colorToText(int color)
{
    for (const NamedColor& c : kColors) {
        if (c.value == color)
            return QString::fromLatin1(c.name);
    }
    return QStringLiteral("$%1").arg(quint32(color), 8, 16, QLatin1Char('0')).toUpper();
}

int textToColor(const QString& text)
{
    for (const NamedColor& c : kColors) {
        if (text.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
            return c.value;
    }
    return strToInt(text);
}

BackgroundFile ReadBackgroundFile(const IniService& ini, const QString& file)
{
    const BackgroundFile d;
    BackgroundFile b;
    b.type = readIniInt(ini, file, Settings, QStringLiteral("Type"), d.type);
    b.frameColor = textToColor(ini.readString(file, Settings, QStringLiteral("FrameColor"), QStringLiteral("clBlack")));
    b.width = ini.readString(file, Settings, QStringLiteral("Width"), d.width);
    b.height = ini.readString(file, Settings, QStringLiteral("Height"), d.height);
    b.useImageSize = readIniBool(ini, file, Settings, QStringLiteral("UseImageSize"), d.useImageSize);
    b.showFrame = readIniBool(ini, file, Settings, QStringLiteral("ShowFrame"), d.showFrame);
    b.showGrid = readIniBool(ini, file, Settings, QStringLiteral("ShowGrid"), d.showGrid);
    b.frameWidth = readIniInt(ini, file, Settings, QStringLiteral("FrameWidth"), d.frameWidth);
    b.gridSpacing = readIniInt(ini, file, Settings, QStringLiteral("GridSpacing"), d.gridSpacing);
    b.sizeType = readIniInt(ini, file, Settings, QStringLiteral("SizeType"), d.sizeType);
    b.monitor = readIniInt(ini, file, Settings, QStringLiteral("Monitor"), d.monitor);
    b.top = readIniInt(ini, file, Position, QStringLiteral("Top"), d.top);
    b.left = readIniInt(ini, file, Position, QStringLiteral("Left"), d.left);
    return b;
}

void WriteBackgroundFile(IniService& ini, const QString& file, const BackgroundFile& b)
{
    writeIniInt(ini, file, Settings, QStringLiteral("Type"), b.type);
    ini.writeString(file, Settings, QStringLiteral("ImageFileName"), b.imageFileName);
    ini.writeString(file, Settings, QStringLiteral("Color"), colorToText(b.color));
    ini.writeString(file, Settings, QStringLiteral("FrameColor"), colorToText(b.frameColor));
    ini.writeString(file, Settings, QStringLiteral("Width"), b.width);
    ini.writeString(file, Settings, QStringLiteral("Height"), b.height);
    writeIniBool(ini, file, Settings, QStringLiteral("UseImageSize"), b.useImageSize);
    writeIniBool(ini, file, Settings, QStringLiteral("ShowFrame"), b.showFrame);
    writeIniInt(ini, file, Settings, QStringLiteral("FrameWidth"), b.frameWidth);
    writeIniBool(ini, file, Settings, QStringLiteral("ShowGrid"), b.showGrid);
    writeIniInt(ini, file, Settings, QStringLiteral("GridSpacing"), b.gridSpacing);
    writeIniInt(ini, file, Settings, QStringLiteral("SizeType"), b.sizeType);
    writeIniInt(ini, file, Settings, QStringLiteral("Monitor"), b.monitor);
    writeIniInt(ini, file, Position, QStringLiteral("Top"), b.top);
    writeIniInt(ini, file, Position, QStringLiteral("Left"), b.left);
}
