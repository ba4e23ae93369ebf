#include "Artwork.h"

#include "BuiltPictures.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStyleOption>

#include <map>
#include <utility>

namespace {

class StandardIconEngine : public QIconEngine
{
public:
    explicit StandardIconEngine(QStyle::StandardPixmap which) : m_which(which) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const QPixmap picture = drawn(rect.size(), painter->device()->devicePixelRatioF(), mode);
        if (picture.isNull()) {
            icon().paint(painter, rect, Qt::AlignCenter, mode, state);
            return;
        }
        QRect target(QPoint(), picture.size());
        target.moveCenter(rect.center());
        painter->drawPixmap(target, picture);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        const QPixmap picture = drawn(size, 1.0, mode);
        return picture.isNull() ? icon().actualSize(size, mode, state) : picture.size();
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        const QPixmap picture = drawn(size, 1.0, mode);
        return picture.isNull() ? icon().pixmap(size, mode, state) : picture;
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        const QPixmap picture = drawn(size, scale, mode);
        return picture.isNull() ? icon().pixmap(size, scale, mode, state) : picture;
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

    // The picture drawn at build time for this size, as the style itself would show it; none where the
    // style, an icon theme or the screen's scale would show another.
    QPixmap drawn(const QSize& size, qreal scale, QIcon::Mode mode)
    {
        if (scale != 1.0 || size.width() != size.height() || !QIcon::themeName().isEmpty() ||
            QApplication::style()->name() != QLatin1String(BuiltPictures::DrawnStyle))
            return {};
        QPixmap& cached = m_drawn[{size.width(), mode}];
        if (cached.isNull()) {
            const QImage image = BuiltPictures::image(m_which, size.width());
            if (image.isNull())
                return {};
            cached = QPixmap::fromImage(image);
            // Other looks are made from the normal one by the style, as for the style's own icons.
            if (mode != QIcon::Normal) {
                QStyleOption option;
                option.palette = QApplication::palette();
                cached = QApplication::style()->generatedIconPixmap(mode, cached, &option);
            }
        }
        return cached;
    }

    QStyle::StandardPixmap m_which;
    QIcon m_icon;
    std::map<std::pair<int, QIcon::Mode>, QPixmap> m_drawn;
};

} // namespace

QIcon standardIconWhenShown(QStyle::StandardPixmap icon)
{
    return QIcon(new StandardIconEngine(icon));
}

namespace {

const QColor emblemFace(24, 32, 48);
const QColor emblemRim(40, 60, 90);
const QColor emblemNeedle(255, 140, 0);

// A dial with a rim and a needle at half past one; the rim stays inside the square at every size.
struct EmblemShape
{
    QPointF centre;
    qreal radius;
    qreal rimWidth;
    qreal needleWidth;
    QPointF needleTip;
};

EmblemShape emblemShape(int size)
{
    EmblemShape s;
    s.rimWidth = qMax(1.0, size / 16.0);
    s.radius = size / 2.0 - qMax(1.0, s.rimWidth / 2);
    s.centre = QPointF(size / 2.0, size / 2.0);
    s.needleWidth = qMax(1.5, size / 10.0);
    s.needleTip = s.centre + QPointF(s.radius * 0.6, -s.radius * 0.6);
    return s;
}

} // namespace

void paintEmblem(QPainter& p, int size)
{
    const EmblemShape s = emblemShape(size);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(emblemRim, s.rimWidth));
    p.setBrush(emblemFace);
    p.drawEllipse(s.centre, s.radius, s.radius);
    p.setPen(QPen(emblemNeedle, s.needleWidth, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(s.centre, s.needleTip);
    p.restore();
}

QByteArray emblemSvg()
{
    constexpr int size = 256;
    const EmblemShape s = emblemShape(size);
    return QStringLiteral(R"(<svg xmlns="http://www.w3.org/2000/svg" width="%1" height="%1" viewBox="0 0 %1 %1">
  <circle cx="%2" cy="%3" r="%4" fill="%5" stroke="%6" stroke-width="%7"/>
  <line x1="%2" y1="%3" x2="%8" y2="%9" stroke="%10" stroke-width="%11" stroke-linecap="round"/>
</svg>
)")
        .arg(size)
        .arg(s.centre.x())
        .arg(s.centre.y())
        .arg(s.radius)
        .arg(emblemFace.name(), emblemRim.name())
        .arg(s.rimWidth)
        .arg(s.needleTip.x())
        .arg(s.needleTip.y())
        .arg(emblemNeedle.name())
        .arg(s.needleWidth)
        .toUtf8();
}

namespace {

// The emblem drawn only at the sizes asked for, each once: the window and the menu button need one or two
// of them, and drawing all four at start-up showed in the time to the first paint.
class EmblemIconEngine : public QIconEngine
{
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const int side = qMin(rect.width(), rect.height());
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QRect target(0, 0, side, side);
        target.moveCenter(rect.center());
        painter->drawPixmap(target, scaledPixmap(target.size(), mode, state, dpr));
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = qMin(size.width(), size.height());
        return QSize(side, side);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override
    {
        const int side = qRound(qMin(size.width(), size.height()) * scale);
        if (side <= 0)
            return {};
        QPixmap& cached = m_cache[{side, mode}];
        if (cached.isNull()) {
            QPixmap drawn(side, side);
            drawn.fill(Qt::transparent);
            QPainter p(&drawn);
            paintEmblem(p, side);
            p.end();
            // Disabled and selected looks come from the style, as for any pixmap icon.
            if (mode != QIcon::Normal && mode != QIcon::Active) {
                QStyleOption option;
                option.palette = QApplication::palette();
                drawn = QApplication::style()->generatedIconPixmap(mode, drawn, &option);
            }
            cached = drawn;
        }
        QPixmap result = cached;
        result.setDevicePixelRatio(scale);
        return result;
    }
    // The sizes a window manager is offered for the window's icon.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48)};
    }
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("EmblemIconEngine"); }
    QIconEngine* clone() const override { return new EmblemIconEngine; }

private:
    std::map<std::pair<int, QIcon::Mode>, QPixmap> m_cache;
};

} // namespace

QIcon applicationIcon()
{
    return QIcon(new EmblemIconEngine);
}
