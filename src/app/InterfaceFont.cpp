#include "Artwork.h"

#include <QFile>
#include <QFontDatabase>

QFont interfaceFont()
{
    // Debian ships a free Tahoma with its Windows fonts, outside fontconfig's path.
    static const bool loaded = [] {
        for (const char* path : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/fonts/truetype/wine/tahoma.ttf"}) {
            const QString file = QString::fromLatin1(path);
            if (QFile::exists(file) && QFontDatabase::addApplicationFont(file) >= 0)
                return true;
        }
        return false;
    }();
    Q_UNUSED(loaded);
    QFont font(QStringLiteral("Tahoma"), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
