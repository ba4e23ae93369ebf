#pragma once

#include <QByteArray>
#include <QString>

class FileSystem;

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
    void CompressDirectory(const QString& folder, bool recursive, const QString& archive);

    // Every entry header and data stream is checked before the first file is written: an archive that
    // would write outside the target, or is damaged, leaves the target as it was.
    void DecompressFile(const QString& archive, const QString& target, bool overwrite, bool useStoredFolders);

    // The archive bytes of a folder, with the current options; empty files, unreadable files and the file
    // leaveOut are not stored.
    QByteArray pack(const QString& folder, const QString& leaveOut = {}) const;
    void unpack(const QByteArray& archive, const QString& target) const;

private:
    void createFolders(const QString& path) const;

    FileSystem& m_files;
    ArchiveOptions m_options;
};
