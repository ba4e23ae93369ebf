#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
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

// Waits until the child has ended, as QProcess learns it through the event loop. Tests that run on Windows
// wait this way, never with QProcess::waitForFinished(): that call removes QProcess's thread-pool wait on the
// process handle when the child ends, and Wine can still run the wait's callback afterwards, which then posts
// to the deleted notifier and crashes the test program.
inline bool waitForExit(QProcess& child, int ms = 5000)
{
    return waitFor([&] { return child.state() == QProcess::NotRunning; }, ms);
}

// Kills the child if it still runs and waits for its end, so that QProcess's destructor has nothing to wait for.
inline bool killAndWait(QProcess& child, int ms = 5000)
{
    if (child.state() == QProcess::NotRunning)
        return true;
    child.kill();
    return waitForExit(child, ms);
}
