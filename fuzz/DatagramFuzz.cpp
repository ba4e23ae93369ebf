// The control datagram parser against the record rules.
#include "FuzzInput.h"

#include "net/ControlDatagram.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = ControlText(bytes);
    FUZZ_CHECK(text.size() == qsizetype(qstrnlen(bytes.constData(), uint(bytes.size()))));
    for (const QChar c : text)
        FUZZ_CHECK(c.unicode() < 128 || c == QChar::ReplacementCharacter);

    const std::vector<ControlRecord> records = ParseControlDatagram(bytes);
    // One record at most from each part between "|", and one more from the text after a closing quote: a
    // quoted part takes two quotes at least, so there are no more of those than pairs of quotes.
    FUZZ_CHECK(qsizetype(records.size()) <= text.count(u'|') + 1 + text.count(u'"') / 2);
    for (const ControlRecord& r : records) {
        if (r.kind != ControlRecord::Aircraft) {
            FUZZ_CHECK(r.aircraft.isEmpty());
            continue;
        }
        if (!r.aircraft.isEmpty()) {
            FUZZ_CHECK(r.aircraft.front().unicode() > 32 && r.aircraft.back().unicode() > 32);
        }
    }

    // Without quotes only the delimiters split, so plain splitting gives the records to expect.
    if (!text.contains(u'"')) {
        std::vector<ControlRecord> expected;
        for (const QString& record : text.isEmpty() ? QStringList() : text.split(u'|')) {
            const QStringList fields = record.split(u':');
            if (fields.size() < 2 || fields[0] != QLatin1String("PNL"))
                continue;
            if (fields[1] == QLatin1String("Stop"))
                expected.push_back({ControlRecord::Stop, {}});
            else if (fields[1] == QLatin1String("Start"))
                expected.push_back({ControlRecord::Start, {}});
            else {
                QString name = fields[1];
                while (!name.isEmpty() && name.front().unicode() <= 32)
                    name.remove(0, 1);
                while (!name.isEmpty() && name.back().unicode() <= 32)
                    name.chop(1);
                expected.push_back({ControlRecord::Aircraft, name});
            }
        }
        FUZZ_CHECK(records == expected);
    }
    return 0;
}
