#pragma once

#include <QByteArray>
#include <QFont>
#include <QIcon>
#include <QStyle>

class QPainter;

// The program's emblem, a small dial, drawn rather than shipped as a file.
QIcon applicationIcon();

// The emblem on a transparent square of `size` pixels; the window icon and the installed icons share it.
void paintEmblem(QPainter& p, int size);

// The same drawing as a scalable picture, at the 256 pixel geometry, for the desktop's icon theme.
QByteArray emblemSvg();

// Tahoma 8, the font every window is laid out for.
QFont interfaceFont();

// A standard icon of the application's style that is read and drawn only when, and at the size, it is first
// shown: the style's icons carry several sizes each, and most ribbon buttons sit on tabs not shown at first.
QIcon standardIconWhenShown(QStyle::StandardPixmap icon);
