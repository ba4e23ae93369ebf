#pragma once

#include <functional>
#include <optional>

#include "BackgroundSettings.h"
#include "PanelSettings.h"
#include "platform/Prompter.h"

#include <QString>
#include <QStringList>

class IniService;
class Monitors;
struct Platform;

// The state of the "Panel Setup" dialog: every control's value, visibility and enabled state, and the
// reactions that keep the shown fields and the size and position values in step with the chosen Mode.
// The window only binds to it; it fills from and produces the records of the two panel files.
class PanelSetupModel : public DialogModel
{
public:
    enum BackgroundType
    {
        TypeNone = -1,
        TypeColor = 0,
        TypeImage = 1
    };
    enum SizeMode
    {
        ModeNone = -1,
        FullDesktop = 0,
        OneMonitor = 1,
        CustomSize = 2,
        NoBackground = 3
    };
    static constexpr int TypeCount = 2;
    static constexpr int ModeCount = 4;
    static constexpr int MinSpin = 1;
    static constexpr int MaxSpin = 50;
    static constexpr int White = 0x00FFFFFF;

    static const QString NewPanelName; // "[New Panel]"
    static const QString PictureTitle;
    static const QString PictureFilter;

    // monitors: the PC's monitors now, for the geometry the Mode and monitor reactions fill in.
    PanelSetupModel(const Monitors& monitors, Prompter& prompter);

    // The callers' presets.
    // Replaces the monitor box's entries by "1" .. count and selects the first.
    void setMonitorCount(int count);
    // New Panel: name "[New Panel]", no picture, black swatch and colour dialog, pictures looked for in
    // the settings folder.
    void presetNewPanel(const QString& settingsFolder);

    // Sets the controls from a panel's two files, each setter in the order the reactions expect. Call it
    // after the monitor box was filled and before the dialog is shown.
    void fill(const PanelSettingsFile& panel, const BackgroundFile& background);
    // What OK stores; `image` is the picture as the panel keeps it. Throws for Top and Left that are not
    // whole numbers.
    PanelSettingsFile panelSettingsFile(const QString& image) const;
    BackgroundFile backgroundFile(const QString& image) const;

    // Reactions, named after the controls they belong to.
    void FormShow();
    void rgTypeClick();
    void rgSizeTypeClick();
    void cbImageSizeClick();
    void cbMonitorCloseUp();
    void btnColorClick();
    void pColorFrameClick();
    void btnImageClick();
    void ToggleSize(bool isVisible);
    // OK pressed: true when the dialog may close. Top and Left, and Width and Height where the user types
    // them, must be whole numbers; otherwise the user is told and the dialog stays open.
    bool bbOKClick();

    // Controls without a reaction of their own.
    QString panelName;
    // Asked on OK while the name can be edited: why the typed name cannot be used, or nothing.
    std::function<std::optional<QString>(const QString&)> nameCheck;
    bool bezels = true;
    bool lighting = false;
    int backgroundColor = White; // sBGColor, 0x00BBGGRR
    int frameColor = 0;          // pColorFrame
    bool showFrame = false;
    bool showGrid = false;
    QString imageFile; // edBGImage
    QString width = QStringLiteral("800");
    QString height = QStringLiteral("600");
    QString top = QStringLiteral("0");
    QString left = QStringLiteral("0");
    int colorDialogColor = White; // the one colour dialog opens with the colour last chosen in it
    QString pictureFolder;        // stored path, may be empty

    // Setting type, Mode or the image-size box runs its reaction when, and only when, the value changes.
    int type() const { return m_type; }
    void setType(int type);
    int sizeType() const { return m_sizeType; }
    void setSizeType(int mode);
    bool imageSize() const { return m_imageSize; }
    void setImageSize(bool on);
    bool imageSizeEnabled() const { return m_imageSizeEnabled; }
    void setImageSizeEnabled(bool on) { m_imageSizeEnabled = on; }

    const QStringList& monitorEntries() const { return m_monitorEntries; }
    int monitorIndex() const { return m_monitorIndex; }
    // Selecting without the drop-down list (keyboard, or from the files): the geometry is not refilled.
    // The box is pick-only; an index outside its entries selects the first monitor.
    void setMonitorIndex(int index);

    int frameWidth() const { return m_frameWidth; }
    void setFrameWidth(int pixels) { m_frameWidth = clampSpin(pixels); }
    int gridSpacing() const { return m_gridSpacing; }
    void setGridSpacing(int pixels) { m_gridSpacing = clampSpin(pixels); }

    bool panelNameEnabled() const { return m_panelNameEnabled; }
    bool panelNameFocused() const { return m_panelNameFocused; }
    bool colorGroupVisible() const { return m_colorGroupVisible; }
    bool imageGroupVisible() const { return m_imageGroupVisible; }
    bool monitorVisible() const { return m_monitorVisible; }
    bool topLeftVisible() const { return m_topLeftVisible; }
    bool sizeVisible() const { return m_sizeVisible; }

    // The index written as "PanelMonitor": the chosen monitor in Mode "One Monitor only", else 0.
    int panelMonitor() const { return m_sizeType == OneMonitor ? m_monitorIndex : 0; }

private:
    static int clampSpin(int v) { return qBound(MinSpin, v, MaxSpin); }
    void fillFromDesktop();
    void fillFromMonitor();

    const Monitors& m_monitors;
    Prompter& m_prompter;

    int m_type = TypeColor;
    int m_sizeType = FullDesktop;
    bool m_imageSize = false;
    bool m_imageSizeEnabled = true;
    QStringList m_monitorEntries{QStringLiteral("1")};
    int m_monitorIndex = 0;
    int m_frameWidth = 1;
    int m_gridSpacing = 40;

    bool m_panelNameEnabled = true;
    bool m_panelNameFocused = false;
    bool m_colorGroupVisible = true;
    bool m_imageGroupVisible = false;
    bool m_monitorVisible = false;
    bool m_topLeftVisible = false;
    bool m_sizeVisible = false;
};

// Writes the confirmed dialog to the panel settings file, then to the background settings file, and keeps
// the panel's copy of its background picture. The panel folder must exist ("Unable to write to %s").
// Top and Left that are not whole numbers are refused before anything is written or copied.
void SavePanelSetup(const Platform& platform, const QString& iniPath, const QString& name,
                    const PanelSetupModel& dialog);

// Sets the dialog's controls from the panel settings file, then the background settings file.
void FillPanelSetup(const IniService& ini, const QString& iniPath, const QString& name, PanelSetupModel& dialog);
