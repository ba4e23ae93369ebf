#include "net/ControlDatagram.h"
#include "platform/DelimitedText.h"
#include "support/Printers.h"

#include <gtest/gtest.h>

namespace {

// Records as "Stop", "Start" or "Aircraft(name)", joined by ", ".
QString describe(const std::vector<ControlRecord>& records)
{
    QStringList out;
    for (const ControlRecord& r : records) {
        switch (r.kind) {
        case ControlRecord::Stop:
            out << QStringLiteral("Stop");
            break;
        case ControlRecord::Start:
            out << QStringLiteral("Start");
            break;
        case ControlRecord::Aircraft:
            out << QStringLiteral("Aircraft(%1)").arg(r.aircraft);
            break;
        }
    }
    return out.join(QStringLiteral(", "));
}

} // namespace

TEST(SplitFields, DelimitersQuotesAndEmptyParts)
{
    const struct
    {
        QString text;
        QStringList parts;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {" a | b ", {" a ", " b "}},
        {"a|", {"a", ""}},
        {"|", {"", ""}},
        {"a||b", {"a", "", "b"}},
        {"\"a|b\"|c", {"a|b", "c"}},
        {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
        {"\"a\"b|c", {"a", "b", "c"}},
        {"\"a\"|", {"a", ""}},
        {"\"a|b", {"a|b"}},
        {"x\"y\"|z", {"x\"y\"", "z"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitFields(c.text, u'|'), c.parts) << c.text.toStdString();
}

TEST(ParseControlDatagram, OnlyPnlRecordsWithAValueCount)
{
    const struct
    {
        QByteArray bytes;
        QString records;
    } cases[] = {
        {"", ""},
        {"PNL:Stop", "Stop"},
        {"PNL:Start", "Start"},
        {"pnl:Stop", ""},
        {"PNL:start", "Aircraft(start)"},
        {"PNL: Stop", "Aircraft(Stop)"},
        {"PNL:Stop|PNL:Start", "Stop, Start"},
        {"XYZ:Stop|PNL:F-16C:ignored", "Aircraft(F-16C)"},
        {"PNL:\"Stop\"", "Stop"},
        {"PNL:\"A-10C:II\"", "Aircraft(A-10C:II)"},
        {"\"PNL:Stop|x\"", "Aircraft(Stop|x)"},
        {"PNL:\t F-16 \r\n", "Aircraft(F-16)"},
        {"PNL:", "Aircraft()"},
        {"PNL", ""},
        {"|PNL:Stop||", "Stop"},
        {QByteArray("PNL:F-16\0|PNL:Stop", 18), "Aircraft(F-16)"},
        {"PNL:Mi\xE9-8", QStringLiteral("Aircraft(Mi\uFFFD-8)")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(describe(ParseControlDatagram(c.bytes)), c.records) << c.bytes.toStdString();
}
