// The INI rules on bytes: a written key reads back, and every other key keeps the value it had.
#include "FuzzInput.h"

#include "platform/Codepage.h"
#include "platform/ProfileIni.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

bool hasBlankEdge(const QString& s)
{
    const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    return !s.isEmpty() && (blank(s.front()) || blank(s.back()));
}

bool oneLine(const QString& s)
{
    return !s.contains(u'\r') && !s.contains(u'\n');
}

// Names that may stand in the file: every bracketed text and every text before "=" of a line. Cut to a
// handful, so an input of many lines still runs fast.
void collectNames(const QString& text, QStringList& sections, QStringList& keys)
{
    for (const QString& line : text.split(QRegularExpression(QStringLiteral("[\r\n]")))) {
        const qsizetype open = line.indexOf(u'[');
        if (open >= 0 && sections.size() < 12)
            sections << line.mid(open + 1, line.indexOf(u']', open) - open - 1).trimmed();
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && keys.size() < 24)
            keys << line.left(eq).trimmed();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<QByteArray> parts = fuzzParts(data, size, 4);
    const QByteArray& content = parts[0];
    const QString section = fromAnsi(parts[1]);
    const QString key = fromAnsi(parts[2]);
    const QString value = fromAnsi(parts[3]);

    // Reading any file is safe, whatever is asked.
    ProfileIni::lookUp(content, section, key, QString());

    // Only names and values that a file line can carry back unchanged.
    if (section.trimmed().isEmpty() || section.contains(u']') || !oneLine(section) || hasBlankEdge(section))
        return 0;
    if (key.trimmed().isEmpty() || key.contains(u'=') || key.trimmed().startsWith(u'[') || !oneLine(key) ||
        hasBlankEdge(key))
        return 0;
    if (!oneLine(value) || hasBlankEdge(value) || value.size() > ProfileIni::MaxValueLength ||
        (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front()))
        return 0;

    const QByteArray written = ProfileIni::withValue(content, section, key, value);
    FUZZ_CHECK(ProfileIni::lookUp(written, section, key, QStringLiteral("<missing>")) == value);

    const bool utf8 = content.startsWith("\xEF\xBB\xBF");
    QStringList sections, keys;
    collectNames(utf8 ? QString::fromUtf8(content) : fromAnsi(content), sections, keys);
    const QString missing = QStringLiteral("\x01missing");
    for (const QString& s : sections) {
        for (const QString& k : keys) {
            if (s.compare(section, Qt::CaseInsensitive) == 0 && k.compare(key, Qt::CaseInsensitive) == 0)
                continue;
            FUZZ_CHECK(ProfileIni::lookUp(written, s, k, missing) == ProfileIni::lookUp(content, s, k, missing));
        }
    }
    return 0;
}
