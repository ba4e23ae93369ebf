#include "ControlDatagram.h"

QStringList SplitFields(const QString& text, QChar delimiter)
{
    QStringList parts;
    if (text.isEmpty())
        return parts;
    const qsizetype n = text.size();
    qsizetype i = 0;
    for (;;) {
        bool plain = true;
        if (i < n && text.at(i) == u'"') {
            QString part;
            for (++i; i < n; ++i) {
                if (text.at(i) != u'"') {
                    part += text.at(i);
                } else if (i + 1 < n && text.at(i + 1) == u'"') {
                    part += u'"';
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
            parts << part;
            // What follows the closing quote up to the delimiter is a part of its own.
            plain = i < n && text.at(i) != delimiter;
        }
        if (plain) {
            qsizetype end = text.indexOf(delimiter, i);
            if (end < 0)
                end = n;
            parts << text.mid(i, end - i);
            i = end;
        }
        if (i >= n)
            break;
        ++i; // the delimiter: a part follows it, if only an empty one
    }
    return parts;
}

QString ControlText(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0)
            break;
        text += byte < 128 ? QChar(byte) : QChar(QChar::ReplacementCharacter);
    }
    return text;
}

namespace {

QString trimmedOfControls(const QString& value)
{
    qsizetype first = 0, last = value.size();
    while (first < last && value.at(first).unicode() <= 32)
        ++first;
    while (last > first && value.at(last - 1).unicode() <= 32)
        --last;
    return value.mid(first, last - first);
}

} // namespace

std::vector<ControlRecord> ParseControlDatagram(const QByteArray& bytes)
{
    std::vector<ControlRecord> records;
    for (const QString& record : SplitFields(ControlText(bytes), u'|')) {
        const QStringList fields = SplitFields(record, u':');
        if (fields.size() < 2 || fields.at(0) != QLatin1String("PNL"))
            continue;
        const QString& value = fields.at(1);
        if (value == QLatin1String("Stop"))
            records.push_back({ControlRecord::Stop, {}});
        else if (value == QLatin1String("Start"))
            records.push_back({ControlRecord::Start, {}});
        else
            records.push_back({ControlRecord::Aircraft, trimmedOfControls(value)});
    }
    return records;
}
