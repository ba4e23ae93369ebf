#pragma once

#include <QString>

class IniService;

// The background program's settings file "PanelBackGround.ini", sections [Settings] and [Position]. The
// picture and the panel colour are written for the background program and never read back.
struct BackgroundFile
{
    int type = 0; // 0 colour, 1 picture
    QString imageFileName;
    int color = 0;
    int frameColor = 0; // clBlack
    QString width = QStringLiteral("800");
    QString height = QStringLiteral("600");
    bool useImageSize = true;
    bool showFrame = true;
    int frameWidth = 1;
    bool showGrid = false;
    int gridSpacing = 40;
    int sizeType = 0;
    int monitor = 0;
    int top = 0;
    int left = 0;

    bool operator==(const BackgroundFile&) const = default;
};

// Colours of the background settings file: a colour name where the value has one, else "$" and eight
// upper-case hex digits. Values are 0x00BBGGRR; a top byte of FF marks a system colour.
QString colorToText(int color);
// Names in any letter case; any other text must be an integer ("'%s' is not a valid integer value").
int textToColor(const QString& text);

// Missing keys and values that are no number read as the defaults above.
BackgroundFile ReadBackgroundFile(const IniService& ini, const QString& file);
void WriteBackgroundFile(IniService& ini, const QString& file, const BackgroundFile& background);
