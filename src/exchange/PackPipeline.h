#pragma once

#include "ArchiveCodec.h"

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// A file larger than this is compressed in pieces of this size, on every thread; smaller ones are one piece.
constexpr qsizetype kPieceSize = 1024 * 1024;

// One file on its way into the archive.
struct PackJob
{
    QString path;
    QByteArray data;
    QByteArray header; // the entry's folder and name fields
    std::vector<archive::Piece> pieces;
    size_t piecesDone = 0;
    QString error; // the first failure of any piece
};

// Compresses the pieces of queued files on worker threads; the caller takes whole files back in order.
class PackPipeline
{
public:
    PackPipeline(int level, unsigned workers);
    ~PackPipeline();

    void add(const std::shared_ptr<PackJob>& job);
    // Waits until every piece of the job is compressed, helping with queued pieces meanwhile.
    void finish(PackJob& job);

private:
    struct Task
    {
        std::shared_ptr<PackJob> job;
        size_t index;
    };
    void work();
    void run(const Task& task);

    const int m_level;
    std::mutex m_mutex;
    std::condition_variable m_wake, m_done;
    std::deque<Task> m_tasks;
    bool m_closing = false;
    std::vector<std::thread> m_threads;
};
