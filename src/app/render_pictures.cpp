// Build step: draws the splash picture's title, and the style's standard pictures the ribbon shows at the
// sizes it shows them, and writes them as a C++ source for the program: plain pixels, so showing one needs
// neither an image reader nor a decoder (some 180 KiB of the program). Argument: the source file to write.
#include "Artwork.h"
#include "BuiltPictures.h"
#include "SplashPicture.h"

#include <QApplication>
#include <QColorSpace>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output.cpp>\n", argv[0]);
        return 2;
    }
    // A build has no screen, and the pictures must be the plain style's, not a desktop theme's.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QString::fromLatin1(BuiltPictures::DrawnStyle));
    // The font the program adds at start-up, which the splash's title is in.
    QApplication::setFont(interfaceFont());
    QIcon::setThemeName(QString());

    QByteArray out =
        "// Written by render_pictures at build time: do not edit.\n"
        "#include \"app/BuiltPictures.h\"\n\n#include <QColorSpace>\n\n"
        "namespace {\n\n"
        "QImage unpack(int width, int height, const quint32* pixels, const char* icc = nullptr, int iccLength = 0)\n"
        "{\n"
        "    // Read in place: the pixmap made from it is a copy.\n"
        "    QImage image(reinterpret_cast<const uchar*>(pixels), width, height, width * 4,\n"
        "                 QImage::Format_ARGB32_Premultiplied);\n"
        "    if (icc)\n"
        "        image.setColorSpace(QColorSpace::fromIccProfile(QByteArray::fromRawData(icc, iccLength)));\n"
        "    return image;\n}\n\n";
    QByteArray lookup;
    for (QStyle::StandardPixmap picture : BuiltPictures::Drawn) {
        const QIcon icon = QApplication::style()->standardIcon(picture);
        for (int size : BuiltPictures::Sizes) {
            const QImage image =
                icon.pixmap(QSize(size, size), 1.0).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
            if (image.isNull() || image.bytesPerLine() != image.width() * 4) {
                std::fprintf(stderr, "cannot draw picture %d at %d pixels\n", int(picture), size);
                return 1;
            }
            // The colour space a picture file named goes with it, as its profile.
            const QByteArray icc = image.colorSpace().isValid() ? image.colorSpace().iccProfile() : QByteArray();
            if (image.colorSpace().isValid() && QColorSpace::fromIccProfile(icc) != image.colorSpace())
                continue; // not one a profile carries: the program takes this one from the style
            const QByteArray name = "p" + QByteArray::number(int(picture)) + "_" + QByteArray::number(size);
            out += "const quint32 " + name + "[] = {";
            const auto* pixels = reinterpret_cast<const quint32*>(image.constBits());
            for (qsizetype i = 0; i < qsizetype(image.width()) * image.height(); ++i)
                out += (i % 8 ? " " : "\n    ") + QByteArray("0x") + QByteArray::number(pixels[i], 16) + ",";
            out += "\n};\n";
            if (!icc.isEmpty()) {
                out += "const char " + name + "_icc[] = {";
                for (int i = 0; i < icc.size(); ++i)
                    out += (i % 24 ? "" : "\n    ") + QByteArray::number(int(icc[i])) + ",";
                out += "\n};\n";
            }
            lookup += "    if (picture == " + QByteArray::number(int(picture)) +
                      " && size == " + QByteArray::number(size) + ")\n        return unpack(" +
                      QByteArray::number(image.width()) + ", " + QByteArray::number(image.height()) + ", " + name +
                      (icc.isEmpty() ? QByteArray() : ", " + name + "_icc, sizeof " + name + "_icc") + ");\n";
        }
    }
    out += "\n} // namespace\n\nQImage BuiltPictures::image(QStyle::StandardPixmap picture, int size)\n{\n" + lookup +
           "    return {};\n}\n";

    const QRect titleArea = splashTitleArea(SplashPictureSize);
    QImage title(titleArea.size(), QImage::Format_ARGB32_Premultiplied);
    title.fill(Qt::transparent);
    QPainter painter(&title);
    paintSplashTitle(painter, title.rect());
    painter.end();
    out += "\nnamespace {\n\nconst quint32 splashTitlePixels[] = {";
    const auto* titlePixels = reinterpret_cast<const quint32*>(title.constBits());
    for (qsizetype i = 0; i < qsizetype(title.width()) * title.height(); ++i)
        out += (i % 8 ? " " : "\n    ") + QByteArray("0x") + QByteArray::number(titlePixels[i], 16) + ",";
    out += "\n};\n\n} // namespace\n\nQImage BuiltPictures::splashTitle()\n{\n"
           "    return unpack(" +
           QByteArray::number(title.width()) + ", " + QByteArray::number(title.height()) + ", splashTitlePixels);\n}\n";

    // Rewritten only when the pictures changed, so a rebuild does not recompile what depends on it.
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (file.open(QIODevice::ReadOnly) && file.readAll() == out)
        return 0;
    file.close();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(out) != out.size() || !file.flush()) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
