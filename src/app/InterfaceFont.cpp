#include "Artwork.h"

#include <QFile>
#include <QFontDatabase>

QFont interfaceFont()
{
    static const QString family = [] {
        // Debian ships a free Tahoma with its Windows fonts, outside fontconfig's path.
        for (const char* path : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/fonts/truetype/wine/tahoma.ttf"}) {
            const QString file = QString::fromLatin1(path);
            if (QFile::exists(file) && QFontDatabase::addApplicationFont(file) >= 0)
                break;
        }
        // Without a Tahoma (Wine with only the host's fonts, say) Qt would stand in the first face it finds,
        // a serif one there, and the ribbon's captions would no longer fit: a sans-serif face that is there
        // comes closer.
        for (const char* name : {"Tahoma", "Segoe UI", "DejaVu Sans", "Liberation Sans", "Nimbus Sans", "Arial"}) {
            if (QFontDatabase::hasFamily(QString::fromLatin1(name)))
                return QString::fromLatin1(name);
        }
        return QStringLiteral("Tahoma");
    }();
    QFont font(family, 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
