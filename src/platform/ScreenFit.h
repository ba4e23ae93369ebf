#pragma once

#include <QSize>

class QWidget;

// The room a window has on its screen (or, before it has one, on its parent's or the primary screen): the
// screen's free area less a title bar. At a large scale factor a 1080-line screen is only 540 pixels high.
QSize roomOnScreen(const QWidget& window);

// Keeps a window inside that room: a size or minimum larger than the room shrinks to it, and the window moves
// so that its title bar and its buttons can be reached.
void fitOnScreen(QWidget& window);

// Widens a window that is about to open so the window manager has room for its whole title beside the
// title bar's icon and buttons; it would cut the middle out of it otherwise.
void makeRoomForTitle(QWidget& window);

// Places a window that is about to open over the middle of its parent window (the screen's, without a visible
// parent), then keeps it inside the room. Without a window manager nothing else would place it, and it would
// open at the screen's corner.
void centreOverParent(QWidget& window);
