// Paints the panel's background behind its gauges: a colour or a picture, an optional frame and grid, over
// the rectangle the panel's PanelBackGround.ini gives. Ended by the launcher when the panel stops.
#include "ChildArgs.h"
#include "ChildIni.h"
#include "DevicePixels.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QWidget>

#include <cmath>

namespace {

struct Background
{
    bool picture = false;
    QImage image;
    QColor colour = Qt::black;
    QColor frameColour = Qt::black;
    bool showFrame = true;
    int frameWidth = 1;
    bool showGrid = false;
    int gridSpacing = 40;
    bool night = false;
    QRect area{0, 0, 800, 600};
    bool none = false;

    static Background load(const ChildArgs& args)
    {
        const QString folder = panelFolder(args.panelName);
        const ChildIni ini(folder + QStringLiteral("/PanelBackGround.ini"));
        const QString s = QStringLiteral("Settings");
        Background b;
        b.night = args.night;
        b.none = ini.readInt(s, QStringLiteral("SizeType"), 0) == 3;
        b.colour = colourFromText(ini.read(s, QStringLiteral("Color"), QStringLiteral("clBlack")), Qt::black);
        b.frameColour = colourFromText(ini.read(s, QStringLiteral("FrameColor"), QStringLiteral("clBlack")), Qt::black);
        b.showFrame = ini.readInt(s, QStringLiteral("ShowFrame"), 1) != 0;
        b.frameWidth = std::clamp(ini.readInt(s, QStringLiteral("FrameWidth"), 1), 1, 50);
        b.showGrid = ini.readInt(s, QStringLiteral("ShowGrid"), 0) != 0;
        b.gridSpacing = std::clamp(ini.readInt(s, QStringLiteral("GridSpacing"), 40), 1, 50);
        const int width = ini.readInt(s, QStringLiteral("Width"), 800);
        const int height = ini.readInt(s, QStringLiteral("Height"), 600);
        const int top = ini.readInt(QStringLiteral("Position"), QStringLiteral("Top"), 0);
        const int left = ini.readInt(QStringLiteral("Position"), QStringLiteral("Left"), 0);
        b.area = QRect(left, top, std::max(width, 1), std::max(height, 1));

        if (ini.readInt(s, QStringLiteral("Type"), 0) == 1) {
            QString file = ini.read(s, QStringLiteral("ImageFileName"));
            file.replace(u'\\', u'/');
            if (!file.isEmpty() && b.image.load(folder + u'/' + file)) {
                b.picture = true;
                if (ini.readInt(s, QStringLiteral("UseImageSize"), 1) != 0)
                    b.area.setSize(b.image.size());
            }
        }
        return b;
    }
};

class BackgroundWindow : public QWidget
{
public:
    explicit BackgroundWindow(Background b)
        : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint | Qt::WindowDoesNotAcceptFocus),
          m_b(std::move(b))
    {
        setWindowTitle(QStringLiteral("Panel background"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setGeometry(logicalFromDevice(m_b.area)); // the panel file gives device pixels
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        // Frame and grid are measured in device pixels, like the rectangle.
        const qreal ratio = devicePixelRatioF();
        p.scale(1 / ratio, 1 / ratio);
        const QRect area(0, 0, int(std::lround(width() * ratio)), int(std::lround(height() * ratio)));
        if (m_b.picture)
            p.drawImage(area, m_b.image);
        else
            p.fillRect(area, m_b.colour);
        if (m_b.showGrid) {
            // The spacing is the room between two lines, so even the smallest (1, what the panel dialog makes
            // of 0) leaves the background showing instead of covering it in the frame colour.
            const int pitch = m_b.gridSpacing + 1;
            p.setPen(QPen(m_b.frameColour, 1));
            for (int x = pitch; x < area.width(); x += pitch)
                p.drawLine(x, 0, x, area.height());
            for (int y = pitch; y < area.height(); y += pitch)
                p.drawLine(0, y, area.width(), y);
        }
        if (m_b.showFrame) {
            const int w = m_b.frameWidth;
            p.setPen(Qt::NoPen);
            p.setBrush(m_b.frameColour);
            p.drawRect(0, 0, area.width(), w);
            p.drawRect(0, area.height() - w, area.width(), w);
            p.drawRect(0, 0, w, area.height());
            p.drawRect(area.width() - w, 0, w, area.height());
        }
        if (m_b.night)
            p.fillRect(area, QColor(0, 0, 0, 140)); // dimmed for night flying
    }

private:
    Background m_b;
};

// Test hook, as the gauges have: where the window lies, written to $VARNOLT_GAUGE_STATE_DIR/<pid>.state.
void writeState(const QWidget& window, const QString& panel)
{
    const QString folder = qEnvironmentVariable("VARNOLT_GAUGE_STATE_DIR");
    if (folder.isEmpty())
        return;
    QSaveFile f(QDir(folder).filePath(QString::number(QCoreApplication::applicationPid()) + ".state"));
    if (!f.open(QIODevice::WriteOnly))
        return;
    const QRect g = window.geometry();
    f.write(QStringLiteral("panel=%1\ngauge=background\ngeometry=%2,%3,%4,%5\ndpr=%6\n")
                .arg(panel)
                .arg(g.x())
                .arg(g.y())
                .arg(g.width())
                .arg(g.height())
                .arg(window.devicePixelRatioF())
                .toUtf8());
    f.commit();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const ChildArgs args = ChildArgs::parse(QApplication::arguments());
    Background background = Background::load(args);
    if (background.none)
        return 0;
    BackgroundWindow window(std::move(background));
    window.show();
    // The gauges may have been shown first; without a window manager the hint alone does not put us under them.
    window.lower();
    writeState(window, args.panelName);
    return app.exec();
}
