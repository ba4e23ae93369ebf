#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <functional>

// Runs the event loop until done() holds; false when it still does not after ms milliseconds. Every wait in
// a test has an end, so a fault fails the test instead of holding it until the runner's time-out.
inline bool waitFor(const std::function<bool()>& done, int ms = 5000)
{
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}
