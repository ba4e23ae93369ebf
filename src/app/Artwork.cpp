#include "Artwork.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

namespace {

class StandardIconEngine : public QIconEngine
{
public:
    explicit StandardIconEngine(QStyle::StandardPixmap which) : m_which(which) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    // Every standard icon the ribbon uses has pictures; saying so needs none of them read.
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("StandardIconEngine"); }
    QIconEngine* clone() const override { return new StandardIconEngine(m_which); }

private:
    const QIcon& icon()
    {
        if (m_icon.isNull())
            m_icon = QApplication::style()->standardIcon(m_which);
        return m_icon;
    }

    QStyle::StandardPixmap m_which;
    QIcon m_icon;
};

} // namespace

QIcon standardIconWhenShown(QStyle::StandardPixmap icon)
{
    return QIcon(new StandardIconEngine(icon));
}

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
