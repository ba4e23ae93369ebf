// Drawing the layout view of a 64-instrument panel on two monitors: time per repaint and per drag step
// (move the mouse, draw again), against a bare QWidget that paints the same 64 labelled rectangles. Prints
// the median of each, and ours over the anchor.
#include "app/Session.h"
#include "layout/LayoutController.h"
#include "layout/LayoutView.h"
#include "platform/Environment.h"
#include "platform/LocalFileSystem.h"
#include "platform/LocaleService.h"
#include "platform/Monitors.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/ProfileIni.h"
#include "platform/Prompter.h"
#include "settings/Folders.h"
#include "settings/PanelFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int Instruments = 64;
constexpr int Samples = 300;

class TwoMonitors : public Monitors
{
public:
    int count() const override { return 2; }
    QRect bounds(int i) const override { return i == 0 ? QRect(0, 0, 1920, 1080) : QRect(1920, 0, 1280, 1024); }
    QSize virtualDesktopSize() const override { return {3200, 1080}; }
};

class NoPrompts : public Prompter
{
public:
    MessageButton message(MessageKind, const QString&, MessageButtons, MessageButton) override
    {
        return MessageButton::Ok;
    }
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override { return {}; }
    std::optional<QString> openFileName(const FileDialogRequest&) override { return {}; }
    std::optional<QString> saveFileName(const FileDialogRequest&) override { return {}; }
    std::optional<int> chooseColor(int) override { return {}; }
    bool execDialog(DialogModel&) override { return false; }
};

class NoEnvironment : public Environment
{
public:
    QString root;
    QString variable(const QString& name) const override { return name == "APPDATA" ? root : QString(); }
    QString executablePath() const override { return root + "/varnolt"; }
    QString currentDirectory() const override { return root; }
};

// The anchor: the same rectangles and labels, painted by hand.
class BareRectangles : public QWidget
{
public:
    std::vector<QRect> rects;
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::darkGray);
        for (int i = 0; i < int(rects.size()); ++i) {
            p.setPen(Qt::black);
            p.setBrush(Qt::blue);
            p.drawRect(rects[i]);
            p.setPen(Qt::white);
            p.drawText(rects[i], Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Gauge %1").arg(i));
        }
    }
};

double medianMicroseconds(const std::function<void()>& step)
{
    std::vector<double> times;
    QElapsedTimer clock;
    for (int i = 0; i < Samples; ++i) {
        clock.start();
        step();
        times.push_back(clock.nsecsElapsed() / 1000.0);
    }
    std::nth_element(times.begin(), times.begin() + Samples / 2, times.end());
    return times[Samples / 2];
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    NoEnvironment env;
    env.root = dir.path();
    LocalFileSystem files;
    ProfileIni ini;
    SystemLocale locale;
    TwoMonitors monitors;
    NoPrompts prompter;
    Platform platform;
    platform.ini = &ini;
    platform.files = &files;
    platform.monitors = &monitors;
    platform.locale = &locale;
    platform.env = &env;
    Session s(platform, prompter);
    s.folders = ResolveFolders(env, files);

    // A panel of 64 gauges, half on each monitor.
    const QString folder = PanelFolder(s.folders.IniPath, QStringLiteral("Bench")).path();
    files.createFolder(folder);
    QByteArray list;
    for (int i = 0; i < Instruments; ++i) {
        list += QStringLiteral("\"Gauge%1\",\"47110\",\"Instruments_Standard\\P@Gauge%1.exe\",\"Y\",\"\",\"45000\","
                               "\"1\",\"1\"\r\n")
                    .arg(i)
                    .toLatin1();
        QFile f(nativePath(joinPath(folder, QStringLiteral("Gauge%1").arg(i) + QStringLiteral("1.ini"))));
        f.open(QIODevice::WriteOnly);
        f.write(QStringLiteral("[Position]\r\nMonitor=%1\r\nX=%2\r\nY=%3\r\n[Size]\r\nWidth=150\r\nHeight=150\r\n")
                    .arg(i % 2)
                    .arg(40 + (i / 2 % 8) * 150)
                    .arg(40 + (i / 16) * 200)
                    .toLatin1());
    }
    QFile cfg(nativePath(joinPath(folder, QStringLiteral("Bench.cfg"))));
    cfg.open(QIODevice::WriteOnly);
    cfg.write(list);
    cfg.close();
    if (!s.loaded().open(QStringLiteral("Bench"), {})) {
        std::fprintf(stderr, "the bench panel did not load\n");
        return 1;
    }
    LayoutController controller(platform, prompter, s.folders, s.loaded(), [] { return false; });
    LayoutView view(controller, s.loaded().instruments());
    view.resize(1000, 400);
    if (controller.layout().windows.size() != Instruments) {
        std::fprintf(stderr, "expected %d windows, found %zu\n", Instruments, controller.layout().windows.size());
        return 1;
    }

    BareRectangles bare;
    bare.resize(view.size());
    for (int i = 0; i < Instruments; ++i)
        bare.rects.push_back(view.windowRect(i).toRect());

    QImage canvas(view.size(), QImage::Format_ARGB32_Premultiplied);
    const auto draw = [&canvas](QWidget& w) { w.render(&canvas); };
    draw(view);
    draw(bare);

    const double repaint = medianMicroseconds([&] { draw(view); });
    const double anchor = medianMicroseconds([&] { draw(bare); });
    // A drag across the view: each step moves the pointer and draws again.
    const QPointF start = view.windowRect(0).center();
    QMouseEvent press(QEvent::MouseButtonPress, start, view.mapToGlobal(start), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&view, &press);
    int step = 0;
    const double drag = medianMicroseconds([&] {
        ++step;
        view.dragTo(start + QPointF(step % 200, step % 50));
        draw(view);
    });

    std::printf("layout view, %d instruments: repaint %.0f us, drag step %.0f us\n", Instruments, repaint, drag);
    std::printf("bare QWidget, %d rectangles: repaint %.0f us\n", Instruments, anchor);
    std::printf("ratio: repaint %.2f, drag step %.2f\n", repaint / anchor, drag / anchor);
    return 0;
}
