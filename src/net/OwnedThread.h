#pragma once

#include <QThread>

#include <memory>

// A thread whose owner ends it: quit its event loop and wait for it before it is deleted.
struct QuitAndWait
{
    void operator()(QThread* thread) const
    {
        thread->quit();
        thread->wait();
        delete thread;
    }
};
using OwnedThread = std::unique_ptr<QThread, QuitAndWait>;
