#include "IdentifyMonitors.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

void identifyMonitors(QObject* owner)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (int i = 0; i < screens.size(); ++i) {
        QScreen* screen = screens[i];
        auto* label = new QLabel(QString::number(i + 1));
        label->setObjectName(QStringLiteral("identifyMonitor%1").arg(i + 1));
        label->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                              Qt::WindowDoesNotAcceptFocus);
        label->setAttribute(Qt::WA_DeleteOnClose);
        label->setAttribute(Qt::WA_ShowWithoutActivating);
        label->setAlignment(Qt::AlignCenter);
        label->setStyleSheet(QStringLiteral("background: #202830; color: white; border: 4px solid #4a90d9;"));
        QFont f = label->font();
        f.setBold(true);
        f.setPixelSize(screen->geometry().height() / 4);
        label->setFont(f);
        const QRect g = screen->geometry();
        const QSize size(g.height() / 3, g.height() / 3);
        label->setScreen(screen);
        label->setGeometry(QRect(g.center() - QPoint(size.width() / 2, size.height() / 2), size));
        label->show();
        QTimer::singleShot(IdentifyMilliseconds, label, &QWidget::close);
        // The owner going first takes the labels with it.
        QObject::connect(owner, &QObject::destroyed, label, &QWidget::close);
    }
}
