#include "Artwork.h"

#include <QFile>
#include <QFontDatabase>
#include <QPainter>
#include <QPixmap>

QIcon applicationIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal r = size / 2.0 - 1;
        const QPointF c(size / 2.0, size / 2.0);
        p.setPen(QPen(QColor(40, 60, 90), qMax(1.0, size / 16.0)));
        p.setBrush(QColor(24, 32, 48));
        p.drawEllipse(c, r, r);
        p.setPen(QPen(QColor(255, 140, 0), qMax(1.5, size / 10.0), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c, c + QPointF(r * 0.6, -r * 0.6));
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

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
