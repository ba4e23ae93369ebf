#include "ArchiveCodec.h"

#include "platform/Codepage.h"
#include <QIODevice>
#include <QScopeGuard>
#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <array>

namespace archive {

namespace {

constexpr int kWindowBits = 15;
constexpr int kMemLevel = 8;
constexpr qint64 kInflateChunk = 256 * 1024;
// Packed bytes are read in pieces this large into one reused buffer: the archive is never held whole, and
// the buffer stays in the cache instead of the pages of a fresh one being faulted in for every entry.
constexpr qint64 kReadChunk = 256 * 1024;

void appendInt32(QByteArray& out, qint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

VarnoltError cutShort()
{
    return VarnoltError(QStringLiteral("Stream read error"));
}

void readExactly(QIODevice& in, char* data, qint64 count)
{
    while (count > 0) {
        const qint64 n = in.read(data, count);
        if (n < 0)
            throw ReadError(in.errorString());
        if (n == 0)
            throw cutShort();
        data += n;
        count -= n;
    }
}

quint8 readByte(QIODevice& in)
{
    char c = 0;
    readExactly(in, &c, 1);
    return quint8(c);
}

qint32 readInt32(QIODevice& in)
{
    char bytes[4];
    readExactly(in, bytes, 4);
    return qFromLittleEndian<qint32>(bytes);
}

QByteArray readText(QIODevice& in)
{
    QByteArray text(readByte(in), Qt::Uninitialized);
    readExactly(in, text.data(), text.size());
    return text;
}

void seekTo(QIODevice& in, qint64 pos)
{
    if (!in.seek(pos))
        throw ReadError(in.errorString());
}

} // namespace

void appendEntry(QByteArray& archive, QByteArray folder, QByteArray name, qint32 size, const QByteArray& packed)
{
    folder.truncate(kMaxTextLength);
    name.truncate(kMaxTextLength);
    archive.append(char(folder.size()));
    archive.append(folder);
    archive.append(char(name.size()));
    archive.append(name);
    appendInt32(archive, size);
    appendInt32(archive, qint32(packed.size()));
    archive.append(packed);
}

std::vector<EntryHeader> readHeaders(QIODevice& archive)
{
    std::vector<EntryHeader> headers;
    const qint64 end = archive.size();
    seekTo(archive, 0);
    while (archive.pos() < end) {
        EntryHeader h;
        h.folder = readText(archive);
        h.name = readText(archive);
        h.size = readInt32(archive);
        h.packedSize = readInt32(archive);
        if (h.size < 0 || h.packedSize < 0) {
            throw VarnoltError(QStringLiteral("Archive entry \"%1\" is damaged").arg(fromAnsi(h.folder + h.name)));
        }
        h.dataOffset = archive.pos();
        if (h.packedSize > end - h.dataOffset)
            throw cutShort();
        seekTo(archive, h.dataOffset + h.packedSize);
        headers.push_back(std::move(h));
    }
    return headers;
}

QByteArray deflateData(QByteArrayView data, int level)
{
    z_stream z{};
    int rc = deflateInit2(&z, level, Z_DEFLATED, kWindowBits, kMemLevel, Z_DEFAULT_STRATEGY);
    if (rc != Z_OK)
        throw VarnoltError(zlibMessage(rc));
    QByteArray out(qsizetype(deflateBound(&z, uLong(data.size()))), Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    // The buffer holds deflateBound bytes, so one call finishes the stream.
    rc = deflate(&z, Z_FINISH);
    const qsizetype produced = qsizetype(z.total_out);
    deflateEnd(&z);
    if (rc != Z_STREAM_END)
        throw VarnoltError(zlibMessage(rc == Z_OK ? Z_BUF_ERROR : rc));
    out.truncate(produced);
    return out;
}

Inflater::Inflater(QIODevice& archive)
    : m_archive(archive), m_packed(std::make_unique_for_overwrite<char[]>(kReadChunk)),
      m_output(std::make_unique_for_overwrite<char[]>(kInflateChunk))
{}

bool Inflater::inflateTo(const EntryHeader& entry, qint64 maxSize, const Sink& sink)
{
    z_stream z{};
    int rc = inflateInit2(&z, kWindowBits);
    if (rc != Z_OK)
        throw VarnoltError(zlibMessage(rc));
    const auto end = qScopeGuard([&] { inflateEnd(&z); });
    seekTo(m_archive, entry.dataOffset);
    qint64 unread = entry.packedSize;
    const auto feed = [&] {
        const qint64 slice = std::min(unread, kReadChunk);
        readExactly(m_archive, m_packed.get(), slice);
        z.next_in = reinterpret_cast<Bytef*>(m_packed.get());
        z.avail_in = uInt(slice);
        unread -= slice;
    };
    feed();

    qint64 total = 0;
    do {
        if (z.avail_in == 0 && unread > 0)
            feed();
        z.next_out = reinterpret_cast<Bytef*>(m_output.get());
        z.avail_out = uInt(kInflateChunk);
        rc = inflate(&z, Z_NO_FLUSH);
        if (rc == Z_BUF_ERROR && z.avail_in == 0 && unread > 0)
            continue;
        if (rc != Z_OK && rc != Z_STREAM_END) {
            // Input used up before the end marker shows as a buffer error: the stream is cut short.
            throw VarnoltError(zlibMessage(rc == Z_NEED_DICT ? Z_DATA_ERROR : rc));
        }
        const qsizetype produced = qsizetype(kInflateChunk - z.avail_out);
        total += produced;
        if (total > maxSize)
            return false;
        if (produced > 0)
            sink(m_output.get(), produced);
    } while (rc != Z_STREAM_END);
    return true;
}

Piece deflatePiece(QByteArrayView data, qsizetype from, qsizetype to, int level)
{
    z_stream z{};
    int rc = deflateInit2(&z, level, Z_DEFLATED, -kWindowBits, kMemLevel, Z_DEFAULT_STRATEGY);
    if (rc != Z_OK)
        throw VarnoltError(zlibMessage(rc));
    const auto end = qScopeGuard([&] { deflateEnd(&z); });
    if (from > 0) {
        // The window the piece would have seen in one stream keeps the ratio close to single-threaded.
        const qsizetype dict = std::min<qsizetype>(from, qsizetype(1) << kWindowBits);
        deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(data.data() + from - dict), uInt(dict));
    }
    const qsizetype length = to - from;
    Piece piece;
    piece.packed.resize(qsizetype(deflateBound(&z, uLong(length))) + 64);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + from));
    z.avail_in = uInt(length);
    z.next_out = reinterpret_cast<Bytef*>(piece.packed.data());
    z.avail_out = uInt(piece.packed.size());
    const bool last = to == data.size();
    // A sync flush ends the piece on a byte boundary without ending the stream, so the next piece follows on.
    rc = deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
    if (rc != (last ? Z_STREAM_END : Z_OK) || z.avail_in != 0)
        throw VarnoltError(zlibMessage(rc == Z_OK || rc == Z_STREAM_END ? Z_BUF_ERROR : rc));
    piece.packed.truncate(qsizetype(z.total_out));
    piece.adler = quint32(adler32(1, reinterpret_cast<const Bytef*>(data.data() + from), uInt(length)));
    return piece;
}

QByteArray zlibHeader(int level)
{
    // As deflateInit2 writes it for window bits 15 and the default strategy.
    const int flags = level == Z_DEFAULT_COMPRESSION ? 2 : level < 2 ? 0 : level < 6 ? 1 : level == 6 ? 2 : 3;
    int header = (Z_DEFLATED + ((kWindowBits - 8) << 4)) << 8 | flags << 6;
    header += 31 - header % 31;
    const char bytes[2] = {char(header >> 8), char(header & 0xFF)};
    return QByteArray(bytes, 2);
}

QByteArray zlibTrailer(quint32 adler)
{
    char bytes[4];
    qToBigEndian(adler, bytes);
    return QByteArray(bytes, 4);
}

quint32 combineAdler(quint32 first, quint32 second, qint64 secondLength)
{
    return quint32(adler32_combine(first, second, z_off_t(secondLength)));
}

QString zlibMessage(int code)
{
    switch (code) {
    case Z_STREAM_ERROR:
        return QStringLiteral("zlib returned: Stream error");
    case Z_DATA_ERROR:
        return QStringLiteral("zlib returned: data error");
    case Z_MEM_ERROR:
        return QStringLiteral("zlib returned: memory error");
    case Z_BUF_ERROR:
        return QStringLiteral("zlib returned: buffer error");
    case Z_VERSION_ERROR:
        return QStringLiteral("zlib returned: version error");
    case Z_ERRNO:
        return QStringLiteral("zlib returned: ERRNO");
    default:
        return QStringLiteral("zLib returned: unknown error (%1)").arg(code);
    }
}

bool startsLikeArchive(QByteArrayView data)
{
    if (data.isEmpty())
        return true;
    const auto printable = [](QByteArrayView text) {
        return std::all_of(text.begin(), text.end(), [](char c) { return quint8(c) >= 0x20 && c != 0x7F; });
    };
    qsizetype pos = 0;
    const auto text = [&](QByteArrayView& out) {
        if (pos >= data.size() || quint8(data[pos]) > data.size() - pos - 1)
            return false;
        out = data.sliced(pos + 1, quint8(data[pos]));
        pos += 1 + out.size();
        return printable(out);
    };
    QByteArrayView folder, name;
    if (!text(folder) || !text(name) || name.isEmpty() || data.size() - pos < 8 + 2)
        return false;
    const qint32 size = qFromLittleEndian<qint32>(data.data() + pos);
    const qint32 packedSize = qFromLittleEndian<qint32>(data.data() + pos + 4);
    const quint8 cmf = quint8(data[pos + 8]);
    const quint8 flg = quint8(data[pos + 9]);
    // A zlib header: deflate with at most a 32 KiB window, and a check value making it a multiple of 31.
    const bool zlibHeader = (cmf & 0x0F) == 8 && (cmf >> 4) <= 7 && (cmf * 256 + flg) % 31 == 0;
    return size >= 0 && packedSize >= 2 && zlibHeader;
}

} // namespace archive
