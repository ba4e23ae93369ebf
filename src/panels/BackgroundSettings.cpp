#include "BackgroundSettings.h"

#include "PanelFiles.h"
#include "PanelSetupModel.h"
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

void SaveBackgroundSettings(IniService& ini, const QString& file, const QString& imageValue,
                            const PanelSetupModel& dialog)
{
    // Converted before the first write, so that a refused value leaves the file as it was.
    const int top = strToInt(dialog.top);
    const int left = strToInt(dialog.left);

    writeIniInt(ini, file, Settings, QStringLiteral("Type"), dialog.type());
    ini.writeString(file, Settings, QStringLiteral("ImageFileName"), imageValue);
    ini.writeString(file, Settings, QStringLiteral("Color"), colorToText(dialog.backgroundColor));
    ini.writeString(file, Settings, QStringLiteral("FrameColor"), colorToText(dialog.frameColor));
    ini.writeString(file, Settings, QStringLiteral("Width"), dialog.width);
    ini.writeString(file, Settings, QStringLiteral("Height"), dialog.height);
    writeIniBool(ini, file, Settings, QStringLiteral("UseImageSize"), dialog.imageSize());
    writeIniBool(ini, file, Settings, QStringLiteral("ShowFrame"), dialog.showFrame);
    writeIniInt(ini, file, Settings, QStringLiteral("FrameWidth"), dialog.frameWidth());
    writeIniBool(ini, file, Settings, QStringLiteral("ShowGrid"), dialog.showGrid);
    writeIniInt(ini, file, Settings, QStringLiteral("GridSpacing"), dialog.gridSpacing());
    writeIniInt(ini, file, Settings, QStringLiteral("SizeType"), dialog.sizeType());
    writeIniInt(ini, file, Settings, QStringLiteral("Monitor"), dialog.monitorIndex());
    writeIniInt(ini, file, Position, QStringLiteral("Top"), top);
    writeIniInt(ini, file, Position, QStringLiteral("Left"), left);
}

void FillBackgroundSettings(const IniService& ini, const QString& file, PanelSetupModel& dialog)
{
    dialog.setType(readIniInt(ini, file, Settings, QStringLiteral("Type"), 0));
    dialog.frameColor =
        textToColor(ini.readString(file, Settings, QStringLiteral("FrameColor"), QStringLiteral("clBlack")));
    dialog.width = ini.readString(file, Settings, QStringLiteral("Width"), QStringLiteral("800"));
    dialog.height = ini.readString(file, Settings, QStringLiteral("Height"), QStringLiteral("600"));
    dialog.setImageSize(readIniBool(ini, file, Settings, QStringLiteral("UseImageSize"), true));
    dialog.showFrame = readIniBool(ini, file, Settings, QStringLiteral("ShowFrame"), true);
    dialog.showGrid = readIniBool(ini, file, Settings, QStringLiteral("ShowGrid"), false);
    dialog.setFrameWidth(readIniInt(ini, file, Settings, QStringLiteral("FrameWidth"), 1));
    dialog.setGridSpacing(readIniInt(ini, file, Settings, QStringLiteral("GridSpacing"), 40));
    dialog.setSizeType(readIniInt(ini, file, Settings, QStringLiteral("SizeType"), 0));
    dialog.setMonitorIndex(readIniInt(ini, file, Settings, QStringLiteral("Monitor"), 0));
    // Only a panel stored with a picture lets the user drop the picture's own size.
    dialog.setImageSizeEnabled(readIniInt(ini, file, Settings, QStringLiteral("Type"), 0) == 1);
    dialog.top = QString::number(readIniInt(ini, file, Position, QStringLiteral("Top"), 0));
    dialog.left = QString::number(readIniInt(ini, file, Position, QStringLiteral("Left"), 0));
}
