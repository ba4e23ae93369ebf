#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class FileSystem;

// Undo and Redo for changes to a panel's files, kept as the files' whole contents before and after each step,
// so undoing gives every file back byte for byte (a file that did not exist is removed again).
class LayoutHistory
{
public:
    explicit LayoutHistory(FileSystem& files) : m_files(files) {}

    // Runs `change`, which writes some of `paths`, and keeps it as one step. A change that fails puts back
    // what it had written and passes the error on: no step is half done.
    void record(const QString& what, const QStringList& paths, const std::function<void()>& change);

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < int(m_steps.size()); }
    QString undoText() const { return canUndo() ? m_steps[m_done - 1].what : QString(); }
    QString redoText() const { return canRedo() ? m_steps[m_done].what : QString(); }
    // Both throw "Unable to write to ..." when a file cannot be put back; the step stays where it was.
    void undo();
    void redo();
    void clear();

private:
    struct FileState
    {
        QString path;
        std::optional<QByteArray> bytes; // none: no such file
    };
    struct Step
    {
        QString what;
        std::vector<FileState> before, after;
    };

    std::vector<FileState> capture(const QStringList& paths) const;
    void restore(const std::vector<FileState>& states);

    FileSystem& m_files;
    std::vector<Step> m_steps;
    int m_done = 0; // steps in effect; those after it can be redone
};
