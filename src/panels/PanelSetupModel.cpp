#include "PanelSetupModel.h"

#include "platform/Convert.h"
#include "platform/Monitors.h"
#include "platform/Paths.h"

#include <QRegularExpression>

#include <limits>

const QString PanelSetupModel::NewPanelName = QStringLiteral("[New Panel]");
const QString PanelSetupModel::PictureTitle = QStringLiteral("Select Background Image");
const QString PanelSetupModel::PictureFilter =
    QStringLiteral("Bitmap Image File (*.bmp)|*.bmp|JPEG Image File (*.jpg)|*.jpg|GIF Image File (*.gif)|*.gif|"
                   "PNG Image File (*.png)|*.png|TIFF Image File (*.tif)|*.tif");

PanelSetupModel::PanelSetupModel(const Monitors& monitors, Prompter& prompter)
    : m_monitors(monitors), m_prompter(prompter)
{}

void PanelSetupModel::setMonitorCount(int count)
{
    m_monitorEntries.clear();
    for (int i = 1; i <= count; ++i)
        m_monitorEntries << QString::number(i);
    m_monitorIndex = m_monitorEntries.isEmpty() ? -1 : 0;
}

void PanelSetupModel::presetNewPanel(const QString& settingsFolder)
{
    panelName = NewPanelName;
    imageFile.clear();
    colorDialogColor = 0;
    backgroundColor = 0;
    pictureFolder = settingsFolder;
}

void PanelSetupModel::fill(const PanelSettingsFile& panel, const BackgroundFile& background)
{
    panelName = panel.panelName;
    imageFile = panel.image;
    backgroundColor = panel.backgroundColor;
    bezels = panel.showBezels;
    lighting = panel.enableLighting;
    setType(panel.colorMode ? TypeColor : TypeImage);

    setType(background.type);
    frameColor = background.frameColor;
    width = background.width;
    height = background.height;
    setImageSize(background.useImageSize);
    showFrame = background.showFrame;
    showGrid = background.showGrid;
    setFrameWidth(background.frameWidth);
    setGridSpacing(background.gridSpacing);
    setSizeType(background.sizeType);
    setMonitorIndex(background.monitor);
    // Only a panel stored with a picture lets the user drop the picture's own size.
    setImageSizeEnabled(background.type == TypeImage);
    top = QString::number(background.top);
    left = QString::number(background.left);
}

PanelSettingsFile PanelSetupModel::panelSettingsFile(const QString& image) const
{
    PanelSettingsFile p;
    p.panelName = panelName;
    p.image = image;
    p.backgroundColor = backgroundColor;
    p.colorMode = m_type != TypeImage;
    p.showBackground = m_sizeType != NoBackground;
    p.panelMonitor = panelMonitor();
    p.showBezels = bezels;
    p.enableLighting = lighting;
    return p;
}

BackgroundFile PanelSetupModel::backgroundFile(const QString& image) const
{
    BackgroundFile b;
    b.type = m_type;
    b.imageFileName = image;
    b.color = backgroundColor;
    b.frameColor = frameColor;
    b.width = width;
    b.height = height;
    b.useImageSize = m_imageSize;
    b.showFrame = showFrame;
    b.frameWidth = m_frameWidth;
    b.showGrid = showGrid;
    b.gridSpacing = m_gridSpacing;
    b.sizeType = m_sizeType;
    b.monitor = m_monitorIndex;
    b.top = strToInt(top);
    b.left = strToInt(left);
    return b;
}

void PanelSetupModel::setType(int type)
{
    type = type >= TypeCount ? TypeCount - 1 : (type < 0 ? TypeNone : type);
    if (type == m_type)
        return;
    m_type = type;
    rgTypeClick();
}

void PanelSetupModel::setSizeType(int mode)
{
    mode = mode >= ModeCount ? ModeCount - 1 : (mode < 0 ? ModeNone : mode);
    if (mode == m_sizeType)
        return;
    m_sizeType = mode;
    rgSizeTypeClick();
}

void PanelSetupModel::setImageSize(bool on)
{
    if (on == m_imageSize)
        return;
    m_imageSize = on;
    cbImageSizeClick();
}

void PanelSetupModel::setMonitorIndex(int index)
{
    // A stored index may name a monitor that is no longer attached; the main monitor stands in for it.
    if (index < 0 || index >= m_monitorEntries.size())
        index = m_monitorEntries.isEmpty() ? -1 : 0;
    m_monitorIndex = index;
}

void PanelSetupModel::FormShow()
{
    m_panelNameEnabled = panelName == NewPanelName;
    m_panelNameFocused = m_panelNameEnabled;
    rgSizeTypeClick();
    if (m_type == TypeImage)
        cbImageSizeClick();
}

void PanelSetupModel::fillFromDesktop()
{
    const QSize desktop = m_monitors.virtualDesktopSize();
    width = QString::number(desktop.width());
    height = QString::number(desktop.height());
    top = QStringLiteral("0");
    left = QStringLiteral("0");
}

void PanelSetupModel::fillFromMonitor()
{
    if (m_monitorIndex < 0 || m_monitors.count() <= 0)
        return;
    // The box lists the monitors counted at start-up; one of them may have gone since.
    const int index = m_monitorIndex < m_monitors.count() ? m_monitorIndex : 0;
    const QRect r = m_monitors.bounds(index);
    width = QString::number(r.width());
    height = QString::number(r.height());
    top = QString::number(r.top());
    left = QString::number(r.left());
}

void PanelSetupModel::rgSizeTypeClick()
{
    const bool imageSized = m_type == TypeImage && !m_imageSize;
    switch (m_sizeType) {
    case FullDesktop:
        fillFromDesktop();
        m_monitorVisible = false;
        m_topLeftVisible = false;
        ToggleSize(imageSized);
        break;
    case OneMonitor:
        fillFromMonitor();
        m_monitorVisible = true;
        m_topLeftVisible = false;
        ToggleSize(imageSized);
        break;
    case CustomSize:
        m_monitorVisible = false;
        m_topLeftVisible = true;
        ToggleSize(true);
        break;
    case NoBackground:
        fillFromDesktop();
        m_monitorVisible = false;
        m_topLeftVisible = false;
        ToggleSize(false);
        break;
    default: // no Mode selected: nothing to fill, nothing to type
        m_monitorVisible = false;
        m_topLeftVisible = false;
        ToggleSize(imageSized);
        break;
    }
    if (m_type == TypeImage)
        cbImageSizeClick();
}

void PanelSetupModel::rgTypeClick()
{
    if (m_type == TypeColor) {
        m_colorGroupVisible = true;
        m_imageGroupVisible = false;
        imageFile.clear();
        rgSizeTypeClick();
        ToggleSize(m_sizeType == CustomSize);
    } else if (m_type == TypeImage) {
        m_colorGroupVisible = false;
        m_imageGroupVisible = true;
        setImageSize(true);
        rgSizeTypeClick();
        ToggleSize(m_sizeType == CustomSize && !m_imageSize);
    }
}

void PanelSetupModel::cbImageSizeClick()
{
    ToggleSize(!m_imageSize);
}

void PanelSetupModel::cbMonitorCloseUp()
{
    fillFromMonitor();
}

void PanelSetupModel::ToggleSize(bool isVisible)
{
    m_sizeVisible = isVisible;
}

void PanelSetupModel::btnColorClick()
{
    if (const auto chosen = m_prompter.chooseColor(colorDialogColor)) {
        colorDialogColor = *chosen;
        backgroundColor = *chosen;
    }
}

void PanelSetupModel::pColorFrameClick()
{
    if (const auto chosen = m_prompter.chooseColor(colorDialogColor)) {
        colorDialogColor = *chosen;
        frameColor = *chosen;
    } else {
        frameColor = 0;
    }
}

void PanelSetupModel::btnImageClick()
{
    FileDialogRequest request;
    request.title = PictureTitle;
    request.filter = PictureFilter;
    request.initialFolder = pictureFolder.isEmpty() ? QString() : nativePath(pictureFolder);
    if (const auto chosen = m_prompter.openFileName(request)) {
        // Kept in the stored form, like every other path the panel files hold.
        imageFile = QString(*chosen).replace(u'/', u'\\');
    }
}

bool PanelSetupModel::bbOKClick()
{
    constexpr int Largest = std::numeric_limits<int>::max();
    constexpr int Smallest = std::numeric_limits<int>::min();
    struct Field
    {
        const char* label;
        const QString& text;
        bool typed;
        int lowest;
    };
    // Top and Left are saved as numbers; Width and Height are checked where the user can type them, and a
    // window needs at least one pixel each way.
    const Field fields[] = {{"Width", width, m_sizeVisible, 1},
                            {"Height", height, m_sizeVisible, 1},
                            {"Top", top, true, Smallest},
                            {"Left", left, true, Smallest}};
    if (m_panelNameEnabled && nameCheck && panelName != NewPanelName) {
        if (const auto problem = nameCheck(panelName)) {
            m_prompter.message(MessageKind::Error, *problem);
            return false;
        }
    }
    for (const Field& f : fields) {
        if (!f.typed)
            continue;
        const QString label = QString::fromLatin1(f.label);
        const std::optional<int> value = parseInteger(f.text);
        // Digits that overflow are a number all the same: say what the range is.
        static const QRegularExpression digits(QStringLiteral("^ *[-+]?[0-9]+$"));
        if (!value && !digits.match(f.text).hasMatch()) {
            m_prompter.message(MessageKind::Error,
                               QStringLiteral("%1 must be a whole number; '%2' is not.").arg(label, f.text));
            return false;
        }
        if (!value || *value < f.lowest) {
            m_prompter.message(MessageKind::Error,
                               QStringLiteral("%1 must be a whole number from %2 to %3; '%4' is not.")
                                   .arg(label)
                                   .arg(f.lowest)
                                   .arg(Largest)
                                   .arg(f.text));
            return false;
        }
    }
    return true;
}
