#include "CloseOnSignal.h"

#include "MainController.h"
#include "QtPrompter.h"

#include <QApplication>
#include <QThread>
#include <QTimer>
#include <QWidget>

namespace {
// How often to look again while cancelled dialogs are still unwinding.
constexpr int kRetryMilliseconds = 10;
} // namespace

CloseOnSignal::CloseOnSignal(QtPrompter& prompter, MainController& controller, QWidget& window, QObject* parent)
    : QObject(parent), m_prompter(prompter), m_controller(controller), m_window(window)
{}

void CloseOnSignal::request()
{
    m_requested = true;
    m_controller.closeRequested();
    m_prompter.cancelAll();
    if (!m_scheduled) {
        m_scheduled = true;
        QTimer::singleShot(0, this, &CloseOnSignal::closeWhenIdle);
    }
}

void CloseOnSignal::finishNow()
{
    request();
    // Not shown yet (the splash): nothing was loaded, so there is nothing to save.
    if (m_window.isVisible())
        m_window.close();
}

void CloseOnSignal::closeWhenIdle()
{
    m_scheduled = false;
    if (!m_messageLoop)
        return;
    // The close sequence must not run inside a dialog's loop, under an operation that is still unwinding.
    if (m_prompter.dialogOpen() || QThread::currentThread()->loopLevel() > 1) {
        m_scheduled = true;
        QTimer::singleShot(kRetryMilliseconds, this, &CloseOnSignal::closeWhenIdle);
        return;
    }
    m_window.close();
    // A window still shown would keep the loop going; the program ends all the same.
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible()) {
            QCoreApplication::quit();
            break;
        }
    }
}
