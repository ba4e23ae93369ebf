#pragma once

#include <QString>

#include <memory>

// What the tests ask the system directly, one file per system (PosixSystemProbe.cpp, WinSystemProbe.cpp).

// Whether a process with this id still runs; a zombie on Linux counts as gone.
bool processRunning(qint64 pid);
// Waits until the process is gone; false when it still runs after ms milliseconds.
bool processGoneWithin(qint64 pid, int ms);
// Ends a process at once, as the task manager would.
void endProcess(qint64 pid);
// A UDP port is bound on this machine (in this network namespace).
bool udpPortBound(quint16 port);
// This process's resident memory (its working set on Windows), in KiB; 0 when the system does not tell.
long residentKiB();

// A file's identity on its volume and its modification time: equal stamps mean the same file, not replaced and
// not written since.
struct FileStamp
{
    quint64 volume = 0, id = 0;
    qint64 modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp fileStamp(const QString& nativePath);
// Sets a file's or folder's modification time, as a file restored from a backup would have it.
void setModifiedNs(const QString& nativePath, qint64 modifiedNs);
// The longest name an entry of the folder can have, and what a name counts against it: bytes on Linux,
// UTF-16 units on Windows.
long nameLimit(const QString& nativeFolder);
int nameLength(const QString& name);
// The owner's write permission of a file, the read-only attribute on Windows.
void setWritable(const QString& nativePath, bool writable);
// Puts an entry at the path that a listing shows but that cannot be opened, for as long as the holder lives: a
// dangling link on Linux, a file held open without sharing on Windows.
std::shared_ptr<void> unreadableFile(const QString& nativePath);
// Holds an existing file open without sharing it, as a program writing it does on Windows, for as long as the
// holder lives; on Linux nothing keeps others out, so the holder holds nothing.
std::shared_ptr<void> holdWithoutSharing(const QString& nativePath);
// Makes a folder one that a Windows listing reports with more than the directory attribute, or plain again:
// read-only (no write permission on Linux), and on Windows hidden as well, since Wine keeps no read-only
// attribute on folders.
void setPlainFolder(const QString& nativePath, bool plain);
