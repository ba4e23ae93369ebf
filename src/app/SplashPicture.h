#pragma once

#include <QRect>
#include <QSize>

class QPainter;

// The splash window's picture: a night sky with a dial, and the program's name.
constexpr QSize SplashPictureSize(384, 257);

// The sky and the dial over the whole of `size`.
void paintSplashSky(QPainter& p, const QSize& size);

// Where the name stands on a picture of `size`.
QRect splashTitleArea(const QSize& size);

// The name, centred in `area`. The build draws it once this way, on a clear layer, for the program to show:
// the title's large font was the dearest thing to draw at start-up.
void paintSplashTitle(QPainter& p, const QRect& area);
