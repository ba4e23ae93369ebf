#pragma once

#include "ArchiveCodec.h"

#include <QByteArray>
#include <QString>

#include <vector>

class FileSystem;
class QIODevice;

struct ArchiveOptions
{
    bool recursive = false;    // also store the files of sub-folders
    bool storeFolders = true;  // write each file's relative folder; off: every folder field is empty
    int level = -1;            // zlib level, -1 for zlib's default
    bool createFolders = true; // create missing folders while extracting
    bool overwrite = true;     // replace files that already exist in the target
    bool useStoredFolders = true;
    int threads = 0; // compression threads; 0 for one per core
};

// Packs the files of a folder into one panel archive and unpacks such an archive into a folder.
// Both run to completion on the calling thread and raise VarnoltError on failure.
class PanelArchive
{
public:
    explicit PanelArchive(FileSystem& files, ArchiveOptions options = {});

    ArchiveOptions& options() { return m_options; }

    // Writes the archive through a temporary file, so a failure leaves any earlier archive untouched.
    // Entries are written as they are compressed; a large file is compressed in pieces on every thread.
    void CompressDirectory(const QString& folder, bool recursive, const QString& archive);

    // All or nothing: an archive that would write outside the target, is damaged, or needs more room than the
    // disk has leaves the target as it was. The archive is read in pieces and each entry inflated once, straight
    // to disk.
    void DecompressFile(const QString& archive, const QString& target, bool overwrite, bool useStoredFolders);

    // The archive bytes of a folder, with the current options, handed to `out` in order; empty files,
    // unreadable files and the file leaveOut are not stored.
    void pack(const QString& folder, const QString& leaveOut, const archive::Sink& out) const;
    QByteArray pack(const QString& folder, const QString& leaveOut = {}) const;
    // Reads the archive from a random-access device in pieces; it is never held whole.
    void unpack(QIODevice& archive, const QString& target) const;
    void unpack(const QByteArray& archive, const QString& target) const;

private:
    // Creates each missing level of the path and notes it in `made`.
    void createFolders(const QString& path, std::vector<QString>& made) const;

    FileSystem& m_files;
    ArchiveOptions m_options;
};
