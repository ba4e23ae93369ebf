#include "FileSystem.h"

#include "LocalFileSystem.h"
#include "Paths.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

// The parts of the file system that are the same on every system, or that Qt does the same way on each.

namespace {

bool matchFrom(const QString& name, qsizetype n, const QString& pattern, qsizetype p)
{
    while (p < pattern.size()) {
        const QChar pc = pattern.at(p);
        if (pc == u'*') {
            // "*.*" at the end stands for any name, with or without a dot.
            if (pattern.mid(p) == QLatin1String("*.*"))
                return true;
            for (qsizetype k = n; k <= name.size(); ++k) {
                if (matchFrom(name, k, pattern, p + 1))
                    return true;
            }
            return false;
        }
        if (n >= name.size())
            return false;
        if (pc != u'?' && pc.toCaseFolded() != name.at(n).toCaseFolded())
            return false;
        ++n;
        ++p;
    }
    return n == name.size();
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

std::optional<DirEntry> FileSystem::entry(const QString& path) const
{
    const QString name = path.mid(path.lastIndexOf(u'\\') + 1);
    // The name taken as a pattern may match others too ("?" and "*" are allowed in Linux names).
    for (DirEntry& e : list(path)) {
        if (e.name == name)
            return std::move(e);
    }
    return std::nullopt;
}

bool matchesWildcard(const QString& name, const QString& pattern)
{
    return matchFrom(name, 0, pattern, 0);
}

bool LocalFileSystem::removeFolderTree(const QString& path)
{
    // Qt removes links as entries and never follows them out of the folder.
    return QDir(nativePath(path)).removeRecursively();
}

bool LocalFileSystem::readFile(const QString& path, QByteArray& data, QString* error) const
{
    QFile f(nativePath(path));
    if (!f.open(QIODevice::ReadOnly)) {
        setError(error, f.errorString());
        return false;
    }
    data = f.readAll();
    if (f.error() != QFile::NoError) {
        setError(error, f.errorString());
        return false;
    }
    return true;
}

std::unique_ptr<QIODevice> LocalFileSystem::openFile(const QString& path, QString* error) const
{
    auto f = std::make_unique<QFile>(nativePath(path));
    if (!f->open(QIODevice::ReadOnly)) {
        setError(error, f->errorString());
        return nullptr;
    }
    return f;
}

bool LocalFileSystem::writeFile(const QString& path, const QByteArray& data, QString* error)
{
    QSaveFile f(nativePath(path));
    if (!f.open(QIODevice::WriteOnly)) {
        setError(error, f.errorString());
        return false;
    }
    if (f.write(data) != data.size() || !f.commit()) {
        setError(error, f.errorString());
        f.cancelWriting();
        return false;
    }
    return true;
}
