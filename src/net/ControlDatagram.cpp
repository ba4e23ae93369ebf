#include "ControlDatagram.h"

#include "platform/DelimitedText.h"

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

QString ControlRecordText(const ControlRecord& record)
{
    switch (record.kind) {
    case ControlRecord::Stop:
        return QStringLiteral("PNL:Stop");
    case ControlRecord::Start:
        return QStringLiteral("PNL:Start");
    case ControlRecord::Aircraft:
        break;
    }
    return QStringLiteral("PNL:") + record.aircraft;
}
