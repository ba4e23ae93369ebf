#pragma once

#include <QFont>
#include <QIcon>
#include <QStyle>

// The program's emblem, a small dial, drawn rather than shipped as a file.
QIcon applicationIcon();

// Tahoma 8, the font every window is laid out for.
QFont interfaceFont();

// A standard icon of the application's style that is read and drawn only when, and at the size, it is first
// shown: the style's icons carry several sizes each, and most ribbon buttons sit on tabs not shown at first.
QIcon standardIconWhenShown(QStyle::StandardPixmap icon);
