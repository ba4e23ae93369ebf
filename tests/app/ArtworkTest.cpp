#include "app/Artwork.h"
#include "app/BuiltPictures.h"
#include "app/SplashPicture.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

// Compared as seen: a fully transparent pixel is one, whatever colour bits it carries.
QImage imageOf(const QPixmap& pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

// The ribbon shows the pictures drawn at build time instead of the style's: they must be the same pixels,
// in every look a button takes, or the program would look different from one start to the next build.
TEST(BuiltPictures, SameAsTheStyleShows)
{
    if (QApplication::style()->name() != QLatin1String(BuiltPictures::DrawnStyle) || !QIcon::themeName().isEmpty())
        GTEST_SKIP() << "the pictures are only used with the style they were drawn with";
    for (QStyle::StandardPixmap picture : BuiltPictures::Drawn) {
        const QIcon ours = standardIconWhenShown(picture);
        const QIcon style = QApplication::style()->standardIcon(picture);
        for (int size : BuiltPictures::Sizes) {
            SCOPED_TRACE(testing::Message() << "picture " << int(picture) << " at " << size);
            // Drawn, so the style's files are not what is shown.
            EXPECT_FALSE(BuiltPictures::image(picture, size).isNull());
            EXPECT_EQ(ours.actualSize(QSize(size, size)), style.actualSize(QSize(size, size)));
            for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected})
                EXPECT_EQ(imageOf(ours.pixmap(QSize(size, size), 1.0, mode)),
                          imageOf(style.pixmap(QSize(size, size), 1.0, mode)))
                    << "mode " << int(mode);
        }
    }
    // A size the ribbon never shows still comes from the style.
    EXPECT_EQ(imageOf(standardIconWhenShown(QStyle::SP_MediaPlay).pixmap(QSize(24, 24))),
              imageOf(QApplication::style()->standardIcon(QStyle::SP_MediaPlay).pixmap(QSize(24, 24))));
}

// The emblem is drawn at the size asked for, and a window manager is offered the usual icon sizes.
TEST(ApplicationIcon, DrawnAtEachSizeAsked)
{
    const QIcon icon = applicationIcon();
    EXPECT_EQ(icon.availableSizes(), QList<QSize>({{16, 16}, {24, 24}, {32, 32}, {48, 48}}));
    for (int size : {16, 20, 48, 64}) {
        QImage expected(size, size, QImage::Format_ARGB32_Premultiplied);
        expected.fill(Qt::transparent);
        QPainter p(&expected);
        paintEmblem(p, size);
        p.end();
        EXPECT_EQ(imageOf(icon.pixmap(QSize(size, size), 1.0)), expected.convertToFormat(QImage::Format_ARGB32))
            << size;
    }
    EXPECT_NE(imageOf(icon.pixmap(QSize(32, 32), 1.0, QIcon::Disabled)), imageOf(icon.pixmap(QSize(32, 32), 1.0)));
}

// The splash shows the title the build drew: it must be the one the drawing makes here, in the same font.
TEST(SplashPicture, TitleBuiltAsDrawn)
{
    QApplication::setFont(interfaceFont());
    QImage drawn(splashTitleArea(SplashPictureSize).size(), QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    QPainter p(&drawn);
    paintSplashTitle(p, drawn.rect());
    p.end();
    EXPECT_EQ(BuiltPictures::splashTitle(), drawn);
}
