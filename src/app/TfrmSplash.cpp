#include "TfrmSplash.h"

#include "Artwork.h"
#include "BuiltPictures.h"
#include "SplashPicture.h"
#include "settings/Folders.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>

TfrmSplash::TfrmSplash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(SplashPictureSize);
    // The picture covers every pixel, so the window's own background is never drawn under it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    // The label is fixed text, not the program's version field.
    auto* version = new QLabel(QStringLiteral("Version ") + VersionNo, this);
    version->setObjectName(QStringLiteral("lblVersion"));
    QFont font = interfaceFont();
    font.setBold(true);
    version->setFont(font);
    // A palette, not a style sheet: one style sheet brings in Qt's whole style sheet machinery at start-up.
    QPalette white = version->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    version->setPalette(white);
    version->move(16, 8);
}

void TfrmSplash::showPainted()
{
    show();
    if (!m_painted)
        repaint();
}

void TfrmSplash::paintEvent(QPaintEvent*)
{
    m_painted = true;
    QPainter p(this);
    paintSplashSky(p, size());
    // The title the build drew, where it fits the screen's scale; drawn here only where it does not.
    const QRect area = splashTitleArea(size());
    const QImage title =
        devicePixelRatioF() == 1.0 && size() == SplashPictureSize ? BuiltPictures::splashTitle() : QImage();
    if (title.isNull())
        paintSplashTitle(p, area);
    else
        p.drawImage(area.topLeft(), title);
}
