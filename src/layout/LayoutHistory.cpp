#include "LayoutHistory.h"

#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

std::vector<LayoutHistory::FileState> LayoutHistory::capture(const QStringList& paths) const
{
    std::vector<FileState> states;
    for (const QString& path : paths) {
        FileState s{path, std::nullopt};
        QByteArray bytes;
        if (m_files.fileExists(path)) {
            if (!m_files.readFile(path, bytes))
                throw VarnoltError(QStringLiteral("Unable to read %1").arg(nativePath(path)));
            s.bytes = bytes;
        }
        states.push_back(std::move(s));
    }
    return states;
}

void LayoutHistory::restore(const std::vector<FileState>& states)
{
    for (const FileState& s : states) {
        if (s.bytes) {
            if (!m_files.writeFile(s.path, *s.bytes))
                throw unableToWrite(nativePath(s.path));
        } else if (m_files.fileExists(s.path) && !m_files.deleteFile(s.path)) {
            throw unableToWrite(nativePath(s.path));
        }
    }
}

void LayoutHistory::record(const QString& what, const QStringList& paths, const std::function<void()>& change)
{
    Step step{what, capture(paths), {}};
    try {
        change();
    } catch (...) {
        try {
            restore(step.before);
        } catch (...) {
            // The first error says what went wrong; this one would only repeat it.
        }
        throw;
    }
    step.after = capture(paths);
    m_steps.resize(m_done);
    m_steps.push_back(std::move(step));
    m_done = int(m_steps.size());
}

void LayoutHistory::undo()
{
    if (!canUndo())
        return;
    restore(m_steps[m_done - 1].before);
    --m_done;
}

void LayoutHistory::redo()
{
    if (!canRedo())
        return;
    restore(m_steps[m_done].after);
    ++m_done;
}

void LayoutHistory::clear()
{
    m_steps.clear();
    m_done = 0;
}
