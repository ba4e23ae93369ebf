#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QString>

#include <map>

// Every file (with its bytes) and folder (as "<folder>") below `root`, hidden ones included, by native path:
// two snapshots compare equal exactly when nothing below was added, removed or changed.
inline std::map<QString, QByteArray> snapshotTree(const QString& root)
{
    std::map<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileInfo().isDir()) {
            entries[path] = "<folder>";
            continue;
        }
        QFile f(path);
        entries[path] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    return entries;
}
