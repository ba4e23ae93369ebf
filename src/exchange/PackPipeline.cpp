#include "PackPipeline.h"

#include "platform/Errors.h"

#include <algorithm>

PackPipeline::PackPipeline(int level, unsigned workers) : m_level(level)
{
    for (unsigned i = 0; i < workers; ++i)
        m_threads.emplace_back([this] { work(); });
}

PackPipeline::~PackPipeline()
{
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_wake.notify_all();
    for (std::thread& t : m_threads)
        t.join();
}

void PackPipeline::add(const std::shared_ptr<PackJob>& job)
{
    const size_t count = size_t((job->data.size() + kPieceSize - 1) / kPieceSize);
    job->pieces.resize(count);
    {
        std::lock_guard lock(m_mutex);
        for (size_t i = 0; i < count; ++i)
            m_tasks.push_back({job, i});
    }
    m_wake.notify_all();
}

void PackPipeline::finish(PackJob& job)
{
    std::unique_lock lock(m_mutex);
    while (job.piecesDone < job.pieces.size()) {
        if (!m_tasks.empty()) {
            Task task = std::move(m_tasks.front());
            m_tasks.pop_front();
            lock.unlock();
            run(task);
            lock.lock();
            continue;
        }
        m_done.wait(lock);
    }
}

void PackPipeline::work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_closing || !m_tasks.empty(); });
        if (m_closing)
            return;
        Task task = std::move(m_tasks.front());
        m_tasks.pop_front();
        lock.unlock();
        run(task);
        lock.lock();
    }
}

void PackPipeline::run(const Task& task)
{
    // Runs without the lock; every failure is handed back, never thrown across the thread.
    PackJob& job = *task.job;
    archive::Piece piece;
    QString error;
    try {
        const qsizetype from = qsizetype(task.index) * kPieceSize;
        const qsizetype to = std::min(job.data.size(), from + kPieceSize);
        if (job.pieces.size() == 1)
            piece.packed = archive::deflateData(job.data, m_level); // a small file: one plain stream
        else
            piece = archive::deflatePiece(job.data, from, to, m_level);
    } catch (const VarnoltError& e) {
        error = e.message();
    } catch (const std::exception& e) {
        error = QString::fromLocal8Bit(e.what());
    }
    {
        std::lock_guard lock(m_mutex);
        job.pieces[task.index] = std::move(piece);
        if (!error.isEmpty() && job.error.isEmpty())
            job.error = error;
        ++job.piecesDone;
    }
    m_done.notify_all();
}
