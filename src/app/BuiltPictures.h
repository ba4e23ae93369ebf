#pragma once

#include <QImage>
#include <QStyle>

// Pictures drawn once by a build step instead of at every start: the splash picture's title, and the style's standard
// pictures the ribbon shows, at the sizes its buttons show them at. The style keeps every size of a picture in
// its own file and reads them all on first use, so start-up would otherwise decode a dozen pictures, 128 pixel
// ones among them, to show six small ones.
namespace BuiltPictures {

constexpr int SmallSize = 16;
constexpr int LargeSize = 36;
constexpr int Sizes[] = {SmallSize, LargeSize};

constexpr QStyle::StandardPixmap Drawn[] = {
    QStyle::SP_MediaPlay,           QStyle::SP_MediaStop,
    QStyle::SP_DialogOpenButton,    QStyle::SP_FileDialogDetailedView,
    QStyle::SP_ComputerIcon,        QStyle::SP_DialogCloseButton,
    QStyle::SP_FileDialogNewFolder, QStyle::SP_FileLinkIcon,
    QStyle::SP_TrashIcon,           QStyle::SP_FileIcon,
    QStyle::SP_DesktopIcon,         QStyle::SP_FileDialogContentsView,
    QStyle::SP_DialogDiscardButton, QStyle::SP_BrowserReload,
    QStyle::SP_DialogSaveButton,    QStyle::SP_ArrowDown,
    QStyle::SP_DriveNetIcon,        QStyle::SP_DialogHelpButton,
    QStyle::SP_DirHomeIcon,
};

// The style the pictures were drawn with; with any other, or with an icon theme, the style draws its own.
constexpr char DrawnStyle[] = "fusion";

// The picture drawn for `picture` at `size` pixels square, as the style shows it (a smaller one where the
// style has none that large); a null image when that one was not drawn.
QImage image(QStyle::StandardPixmap picture, int size);

// The splash picture's title on a clear layer the size of its area, as paintSplashTitle draws it on the
// picture of its own size; a null image when the build drew none.
QImage splashTitle();

} // namespace BuiltPictures
