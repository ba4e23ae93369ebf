// A sample gauge: a round dial that shows its value from the flight data on the panel's multicast group or
// from the launcher's relay, or a plain-text number received on its own UDP port.
// The program's kind is fixed at build time; its file name (type letter, "@", name, ".exe") and instance
// number name its position file.
#include "GaugeWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

namespace {

DialStyle builtStyle()
{
    DialStyle s;
    s.title = QStringLiteral(GAUGE_TITLE);
    s.unit = QStringLiteral(GAUGE_UNIT);
    s.min = GAUGE_MIN;
    s.max = GAUGE_MAX;
    s.majorStep = GAUGE_MAJOR;
    s.minorPerMajor = GAUGE_MINOR;
    s.sweepDegrees = GAUGE_SWEEP;
    s.labelDivisor = GAUGE_LABEL_DIVISOR;
    s.wrap = GAUGE_WRAP;
    return s;
}

// File name without the type letter and "@" and without ".exe".
QString baseName(const QString& program)
{
    QString name = QFileInfo(program).fileName();
    if (name.size() > 2 && name[1] == u'@')
        name = name.mid(2);
    if (name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        name.chop(4);
    return name;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();

    // Build step: the catalogue's picture of this gauge.
    if (arguments.size() == 3 && arguments[1] == QLatin1String("--picture")) {
        QImage image(GaugeWindow::baseSize, GaugeWindow::baseSize, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        paintDial(p, image.rect(), builtStyle(), DialState{GAUGE_MIN + (GAUGE_MAX - GAUGE_MIN) / 3});
        p.end();
        return image.save(arguments[2]) ? 0 : 1;
    }

    const ChildArgs args = ChildArgs::parse(arguments);
    const QString instance = arguments.size() > 9 ? arguments[9] : QStringLiteral("1");
    const QString positionFile =
        panelFolder(args.panelName) + u'/' + baseName(arguments[0]) + instance + QStringLiteral(".ini");
    GaugeWindow window(builtStyle(), QStringLiteral(GAUGE_KEY), args, positionFile);
    window.show();
    return app.exec();
}
