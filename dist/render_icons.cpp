// Build step: writes the installed icons from the program's own emblem, so they never drift from the window
// icon. Arguments: the SVG file and the 256 pixel PNG file to write, and for Windows the icon file of the
// executable and its shortcuts.
#include "app/Artwork.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QtEndian>

#include <cstdio>

namespace {

QImage emblem(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    paintEmblem(p, size);
    return image;
}

// A Windows icon file holding the emblem at the sizes Explorer, the Start menu and the task bar show, each as
// a PNG, which Windows reads in icon files since Vista.
QByteArray iconFile()
{
    const int sizes[] = {16, 24, 32, 48, 64, 256};
    QList<QByteArray> images;
    for (int size : sizes) {
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        emblem(size).save(&png, "PNG");
        images << png.data();
    }
    QByteArray out;
    const auto put = [&out](auto value) {
        const auto little = qToLittleEndian(value);
        out.append(reinterpret_cast<const char*>(&little), sizeof little);
    };
    put(quint16(0)); // reserved
    put(quint16(1)); // an icon, not a cursor
    put(quint16(images.size()));
    quint32 offset = 6 + 16 * quint32(images.size());
    for (int i = 0; i < images.size(); ++i) {
        const quint8 side = sizes[i] == 256 ? 0 : quint8(sizes[i]); // 0 stands for 256
        put(side);
        put(side);
        put(quint8(0)); // no palette
        put(quint8(0));
        put(quint16(1));  // colour planes
        put(quint16(32)); // bits per pixel
        put(quint32(images[i].size()));
        put(offset);
        offset += quint32(images[i].size());
    }
    for (const QByteArray& image : images)
        out += image;
    return out;
}

bool writeFile(const char* path, const QByteArray& bytes)
{
    QFile f(QString::fromLocal8Bit(path));
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s <icon.svg> <icon.png> [<icon.ico>]\n", argv[0]);
        return 2;
    }
    QFile svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.open(QIODevice::WriteOnly) || svg.write(emblemSvg()) < 0 || !svg.flush()) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    if (!emblem(256).save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    if (argc == 4 && !writeFile(argv[3], iconFile())) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
