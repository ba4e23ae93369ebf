// Build step: draws the style's standard pictures the ribbon shows at the sizes it shows them, and writes them
// as a C++ source of PNG bytes for the program. Argument: the source file to write.
#include "RibbonPictures.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QIcon>
#include <QImage>
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
    QApplication::setStyle(QString::fromLatin1(RibbonPictures::DrawnStyle));
    QIcon::setThemeName(QString());

    QByteArray out = "// Written by render_ribbon_pictures at build time: do not edit.\n"
                     "#include \"app/RibbonPictures.h\"\n\nnamespace {\n\n";
    QByteArray lookup;
    for (QStyle::StandardPixmap picture : RibbonPictures::Drawn) {
        const QIcon icon = QApplication::style()->standardIcon(picture);
        for (int size : RibbonPictures::Sizes) {
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            if (!icon.pixmap(QSize(size, size), 1.0).toImage().save(&buffer, "PNG")) {
                std::fprintf(stderr, "cannot draw picture %d at %d pixels\n", int(picture), size);
                return 1;
            }
            const QByteArray name = "p" + QByteArray::number(int(picture)) + "_" + QByteArray::number(size);
            out += "const unsigned char " + name + "[] = {";
            for (int i = 0; i < png.size(); ++i)
                out += (i % 24 ? "" : "\n    ") + QByteArray::number(uchar(png[i])) + ",";
            out += "\n};\n";
            lookup += "    if (picture == " + QByteArray::number(int(picture)) +
                      " && size == " + QByteArray::number(size) +
                      ")\n        return QByteArray::fromRawData(reinterpret_cast<const char*>(" + name + "), sizeof " +
                      name + ");\n";
        }
    }
    out += "\n} // namespace\n\nQByteArray RibbonPictures::png(QStyle::StandardPixmap picture, int size)\n{\n" +
           lookup + "    return {};\n}\n";

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
