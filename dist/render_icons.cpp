// Build step: writes the installed icons from the program's own emblem, so they never drift from the window
// icon. Arguments: the SVG file and the 256 pixel PNG file to write.
#include "app/Artwork.h"

#include <QFile>
#include <QImage>
#include <QPainter>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <icon.svg> <icon.png>\n", argv[0]);
        return 2;
    }
    QFile svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.open(QIODevice::WriteOnly) || svg.write(emblemSvg()) < 0 || !svg.flush()) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    constexpr int size = 256;
    QImage png(size, size, QImage::Format_ARGB32_Premultiplied);
    png.fill(Qt::transparent);
    QPainter p(&png);
    paintEmblem(p, size);
    p.end();
    if (!png.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
