#include "ProfileIni.h"

#include "Codepage.h"
#include "Errors.h"
#include "Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <vector>

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

// A file keeps the encoding it has: UTF-8 when it starts with a byte-order mark, code page 1252 otherwise.
struct Codec
{
    bool utf8 = false;
    QString decode(const QByteArray& b) const { return utf8 ? QString::fromUtf8(b) : fromAnsi(b); }
    QByteArray encode(const QString& s) const { return utf8 ? s.toUtf8() : toAnsi(s); }
};

struct Line
{
    qsizetype begin = 0; // first byte of the line
    qsizetype end = 0;   // one past the last byte before the terminator
    qsizetype next = 0;  // first byte after the terminator
};

std::vector<Line> splitLines(const QByteArray& content)
{
    std::vector<Line> lines;
    qsizetype pos = content.startsWith(kUtf8Bom) ? kUtf8Bom.size() : 0;
    const qsizetype size = content.size();
    while (pos < size) {
        // CR LF, LF and a lone CR (old Mac-style editors) each end a line, as Windows reads them.
        qsizetype end = pos;
        while (end < size && content.at(end) != '\n' && content.at(end) != '\r')
            ++end;
        Line line;
        line.begin = pos;
        line.end = end;
        line.next = end;
        if (end < size)
            line.next = content.at(end) == '\r' && end + 1 < size && content.at(end + 1) == '\n' ? end + 2 : end + 1;
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
}

QString trimmed(const QString& s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && (s.at(b) == u' ' || s.at(b) == u'\t'))
        ++b;
    while (e > b && (s.at(e - 1) == u' ' || s.at(e - 1) == u'\t'))
        --e;
    return s.mid(b, e - b);
}

QString unquoted(const QString& s)
{
    if (s.size() >= 2 && (s.front() == u'"' || s.front() == u'\'') && s.back() == s.front())
        return s.mid(1, s.size() - 2);
    return s;
}

// The section name of a header line, or a null string for any other line.
QString sectionName(const QString& text)
{
    const QString t = trimmed(text);
    if (!t.startsWith(u'['))
        return {};
    const qsizetype close = t.indexOf(u']');
    return trimmed(close < 0 ? t.mid(1) : t.mid(1, close - 1));
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

struct Found
{
    int section = -1;    // index of the header line
    int sectionEnd = -1; // index of the first line after the section
    int key = -1;
    QString value;
};

// The key name as the line spells it, blanks around it dropped; a replaced value keeps that spelling.
QByteArray storedKeyName(const QByteArray& content, const Line& line)
{
    qsizetype b = line.begin;
    qsizetype e = content.indexOf('=', b);
    while (b < e && (content.at(b) == ' ' || content.at(b) == '\t'))
        ++b;
    while (e > b && (content.at(e - 1) == ' ' || content.at(e - 1) == '\t'))
        --e;
    return content.mid(b, e - b);
}

Found find(const QByteArray& content, const std::vector<Line>& lines, const Codec& codec, const QString& section,
           const QString& key)
{
    Found f;
    for (int i = 0; i < int(lines.size()); ++i) {
        const QString text = codec.decode(content.mid(lines[i].begin, lines[i].end - lines[i].begin));
        const QString name = sectionName(text);
        if (!name.isNull()) {
            if (f.section >= 0) {
                f.sectionEnd = i;
                return f;
            }
            if (sameName(name, trimmed(section)))
                f.section = i;
            continue;
        }
        if (f.section < 0 || f.key >= 0)
            continue;
        const qsizetype eq = text.indexOf(u'=');
        if (eq < 0)
            continue;
        if (sameName(trimmed(text.left(eq)), trimmed(key))) {
            f.key = i;
            f.value = unquoted(trimmed(text.mid(eq + 1)));
        }
    }
    if (f.section >= 0)
        f.sectionEnd = int(lines.size());
    return f;
}

bool isBlank(const QByteArray& content, const Line& line)
{
    for (qsizetype i = line.begin; i < line.end; ++i) {
        const char c = content.at(i);
        if (c != ' ' && c != '\t')
            return false;
    }
    return true;
}

} // namespace

QString ProfileIni::lookUp(const QByteArray& content, const QString& section, const QString& key,
                           const QString& defaultValue)
{
    const Codec codec{content.startsWith(kUtf8Bom)};
    const auto lines = splitLines(content);
    const Found f = find(content, lines, codec, section, key);
    if (f.key < 0)
        return defaultValue;
    return f.value.left(MaxValueLength);
}

QByteArray ProfileIni::withValue(const QByteArray& content, const QString& section, const QString& key,
                                 const QString& value)
{
    const Codec codec{content.startsWith(kUtf8Bom)};
    const auto lines = splitLines(content);
    const Found f = find(content, lines, codec, section, key);
    const QByteArray entry = codec.encode(trimmed(key) + u'=' + value);
    const QByteArray crlf("\r\n");

    QByteArray out = content;
    if (f.key >= 0) {
        const Line& line = lines[f.key];
        QByteArray replaced = storedKeyName(content, line) + '=' + codec.encode(value);
        if (line.next == line.end) // the last line of the file gets its terminator
            replaced += crlf;
        out.replace(line.begin, line.end - line.begin, replaced);
        return out;
    }
    if (f.section >= 0) {
        int last = f.section;
        for (int i = f.section + 1; i < f.sectionEnd; ++i) {
            if (!isBlank(content, lines[i]))
                last = i;
        }
        const Line& after = lines[last];
        if (after.next == after.end) // the last line of the file has no terminator yet
            return out.insert(after.end, crlf + entry + crlf);
        return out.insert(after.next, entry + crlf);
    }
    if (!out.isEmpty() && !out.endsWith('\n'))
        out.append(crlf);
    out.append(codec.encode(u'[' + trimmed(section) + u']') + crlf + entry + crlf);
    return out;
}

QString ProfileIni::readString(const QString& file, const QString& section, const QString& key,
                               const QString& defaultValue) const
{
    QFile f(nativePath(file));
    if (!f.open(QIODevice::ReadOnly))
        return defaultValue;
    return lookUp(f.readAll(), section, key, defaultValue);
}

void ProfileIni::writeString(const QString& file, const QString& section, const QString& key, const QString& value)
{
    writeStrings(file, {{section, key, value}});
}

void ProfileIni::writeStrings(const QString& file, const std::vector<IniEntry>& entries)
{
    const QString path = nativePath(file);
    const QFileInfo info(path);
    if (!info.dir().exists())
        throw unableToWrite(path);

    QByteArray content;
    const QFileInfo existing(path);
    const bool exists = existing.exists();
    if (exists) {
        if (existing.isDir())
            throw unableToWrite(path);
        QFile in(path);
        if (!in.open(QIODevice::ReadOnly))
            throw unableToWrite(path);
        content = in.readAll();
    }
    QByteArray updated = content;
    for (const IniEntry& e : entries)
        updated = withValue(updated, e.section, e.key, e.value);
    // Values already stored are not written again: a read-only file with the right value is no failure,
    // and an unchanged file keeps its time stamp.
    if (exists && updated == content)
        return;
    // The owner's write bit decides, as the read-only attribute does on Windows (which is what Qt reports there),
    // also for root.
    if (exists && !existing.permission(QFileDevice::WriteOwner))
        throw unableToWrite(path);

    // Through a temporary file and a rename, so a crash never leaves a torn settings file.
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        throw unableToWrite(path);
    out.write(updated);
    if (!out.commit())
        throw unableToWrite(path);
}
