#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

struct DirEntry
{
    QString name;
    bool directory = false;
    bool hidden = false;          // on Linux: the name starts with "."
    bool readOnly = false;        // on Linux: no write bit for the owner
    bool otherAttributes = false; // Windows only: archive, system or any other attribute beside these

    // What a Windows listing reports as attributes that are exactly "directory".
    bool isPlainDirectory() const { return directory && !hidden && !readOnly && !otherAttributes; }
};

// What a look at a folder finds that changes whenever an entry is added to it, removed from it or renamed in
// it, and when the folder itself is replaced.
struct FolderStamp
{
    unsigned long long device = 0, inode = 0;
    long long modifiedNs = 0, changedNs = 0;
    // The last change lay far enough back that a change made after this look cannot carry the same times,
    // whatever the file system's timestamp granularity.
    bool settled = false;

    bool sameFolderState(const FolderStamp& o) const
    {
        return device == o.device && inode == o.inode && modifiedNs == o.modifiedNs && changedNs == o.changedNs;
    }
};

// A file written piece by piece under a temporary name in its own folder. It takes its real name only at
// commit(), replacing any file there in one step; dropped before that, it leaves nothing behind.
class StagedFile
{
public:
    virtual ~StagedFile() = default;
    virtual bool write(const char* data, qint64 size) = 0;
    // Writes what is buffered and closes the temporary file; durable also waits until it is on the disk.
    virtual bool finish(bool durable) = 0;
    virtual bool commit() = 0;
    virtual QString errorString() const = 0;
};

// Folders and files by stored path ("\" separators); only implementations turn them into native paths.
// Every call is one operation; nothing is cached.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    virtual bool folderExists(const QString& path) const = 0;
    virtual bool fileExists(const QString& path) const = 0; // false for folders
    virtual bool createFolder(const QString& path) = 0;     // one level; false when it fails or exists
    virtual bool removeFolder(const QString& path) = 0;     // empty folders only
    // The folder and all below it; links are removed as entries, never followed out of the folder.
    virtual bool removeFolderTree(const QString& path) = 0;
    virtual bool copyFile(const QString& from, const QString& to, bool failIfExists) = 0;
    virtual bool renameFile(const QString& from, const QString& to) = 0; // fails when the target exists
    virtual bool deleteFile(const QString& path) = 0;
    // Whether an entry of this name is short enough to be made in the folder: its length in bytes on disk,
    // with room for the temporary name a whole-file write uses beside it, against the file system's limit.
    virtual bool nameFits(const QString& folder, const QString& name) const = 0;
    // The path against the working folder, with "." and ".." resolved: two spellings of one place compare
    // equal. The entry need not exist, and links are not followed.
    virtual QString absolutePath(const QString& path) const = 0;

    // The entries of a folder matching a wildcard pattern ("*", "?", letter case ignored), e.g.
    // "<folder>\Panel_*", in the file system's own order; "." and ".." are never listed.
    virtual std::vector<DirEntry> list(const QString& folderAndPattern) const = 0;
    // The one entry at this path, described as list() would; nothing when there is none.
    virtual std::optional<DirEntry> entry(const QString& path) const;
    // Nothing when the folder cannot be examined or the file system cannot tell.
    virtual std::optional<FolderStamp> folderStamp(const QString&) const { return std::nullopt; }

    // Whole-file helpers. A write goes through a temporary file and a rename: on failure the old file
    // stays as it was and the error text says why.
    virtual bool readFile(const QString& path, QByteArray& data, QString* error = nullptr) const = 0;
    virtual bool writeFile(const QString& path, const QByteArray& data, QString* error = nullptr) = 0;
    // The file opened for reading, to be read in pieces and seeked; null with the reason when it cannot be opened.
    virtual std::unique_ptr<QIODevice> openFile(const QString& path, QString* error = nullptr) const = 0;

    // A new file for the path, written under a temporary name; null with the reason when it cannot be made.
    virtual std::unique_ptr<StagedFile> stageFile(const QString& path, QString* error = nullptr) = 0;
    // Bytes that may still be written on the file system holding the path (or its nearest existing
    // folder); -1 when unknown.
    virtual qint64 freeSpace(const QString& path) const = 0;
};

// Windows wildcard matching: "*" any run, "?" one character, letter case ignored; "*.*" matches every name.
bool matchesWildcard(const QString& name, const QString& pattern);
