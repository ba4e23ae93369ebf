#pragma once

#include <QSize>

class QWidget;

// The room a window has on its screen (or, before it has one, on its parent's or the primary screen): the
// screen's free area less a title bar. At a large scale factor a 1080-line screen is only 540 pixels high.
QSize roomOnScreen(const QWidget& window);

// Keeps a window inside that room: a size or minimum larger than the room shrinks to it, and the window moves
// so that its title bar and its buttons can be reached.
void fitOnScreen(QWidget& window);
