#pragma once

#include "platform/Errors.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QIODevice;

// The byte layout of a panel archive: entries one after another up to the end of the file, no header.
// Each entry: folder length (1 byte), folder, name length (1 byte), name, uncompressed size and compressed
// size (signed 32-bit little-endian), then that many bytes holding one zlib stream.

namespace archive {

constexpr int kMaxTextLength = 255;
// Enough of a file for startsLikeArchive(): the longest entry header and a zlib stream header.
constexpr int kLongestStart = 2 * (1 + kMaxTextLength) + 8 + 2;

struct EntryHeader
{
    QByteArray folder; // code page 1252, "\" separated, may be empty
    QByteArray name;   // code page 1252
    qint32 size = 0;   // uncompressed, as stored
    qint32 packedSize = 0;
    qsizetype dataOffset = 0; // where the zlib stream starts inside the archive
};

// Appends one entry; folder and name are cut to 255 bytes.
void appendEntry(QByteArray& archive, QByteArray folder, QByteArray name, qint32 size, const QByteArray& packed);

// Every entry header of an archive on a random-access device, read from its start; the entries' data is
// skipped, not read. A header or data field that runs past the end throws "Stream read error"; a negative size
// throws as a damaged entry; a device that fails throws ReadError.
std::vector<EntryHeader> readHeaders(QIODevice& archive);

// The device failed while reading; the message is the device's own.
class ReadError : public VarnoltError
{
public:
    using VarnoltError::VarnoltError;
};

// One complete zlib stream (window 2^15, memory level 8, default strategy) at the given level.
QByteArray deflateData(QByteArrayView data, int level);

// A large file's stream may be made of pieces compressed on separate threads: each piece is raw deflate of
// data[from, to) primed with the 32 KiB before it, ended on a byte boundary (the last one finishes the
// stream). zlibHeader() + the pieces in order + zlibTrailer(Adler-32 of all data) is one valid zlib stream.
struct Piece
{
    QByteArray packed;
    quint32 adler = 1; // Adler-32 of the piece's own data
};
Piece deflatePiece(QByteArrayView data, qsizetype from, qsizetype to, int level);
QByteArray zlibHeader(int level);
QByteArray zlibTrailer(quint32 adler);
quint32 combineAdler(quint32 first, quint32 second, qint64 secondLength);

// Inflates the zlib streams of an archive's entries, reading the packed bytes from the device in pieces and
// handing the output to `sink` in pieces of at most 256 KiB. Its two buffers serve every entry in turn.
using Sink = std::function<void(const char* data, qsizetype size)>;
class Inflater
{
public:
    explicit Inflater(QIODevice& archive);

    // Returns false as soon as the entry would yield more than maxSize bytes; throws the zlib message when the
    // stream is damaged or ends before its end marker, and as readHeaders() when its bytes cannot be read.
    bool inflateTo(const EntryHeader& entry, qint64 maxSize, const Sink& sink);

private:
    QIODevice& m_archive;
    std::unique_ptr<char[]> m_packed, m_output;
};

// Whether the bytes begin like a panel archive: a first entry whose folder and name are printable text and
// whose data starts with a zlib stream header; it looks at no more than kLongestStart bytes. An empty file passes: it
// is an archive without entries. Anything else was never an archive, rather than a damaged one.
bool startsLikeArchive(QByteArrayView data);

// "zlib returned: ..." for a zlib result code.
QString zlibMessage(int code);

} // namespace archive
