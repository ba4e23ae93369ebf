#include "InstrumentListFile.h"

#include "platform/Codepage.h"

namespace {

constexpr int kFieldsPerLine = 8;

bool isBlank(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 32;
}

void appendQuoted(QByteArray& out, const QString& value)
{
    QByteArray bytes = toAnsi(value);
    // Doubled, so the reader gives back the one quote.
    if (bytes.contains('"'))
        bytes.replace('"', "\"\"");
    out += '"';
    out += bytes;
    out += '"';
}

} // namespace

QStringList splitInstrumentLine(const QString& line)
{
    // A NUL ends the text of a line for the reader the files were always read with.
    qsizetype end = line.indexOf(QChar(0));
    if (end < 0)
        end = line.size();
    const auto at = [&](qsizetype i) { return i < end ? line.at(i) : QChar(0); };

    QStringList fields;
    qsizetype i = 0;
    while (i < end && isBlank(at(i)))
        ++i;
    while (i < end) {
        QString field;
        if (at(i) == u'"') {
            ++i;
            while (i < end) {
                qsizetype quote = line.indexOf(u'"', i);
                if (quote < 0 || quote >= end)
                    quote = end; // no closing quote: the field runs to the end of the line
                field += QStringView(line).mid(i, quote - i);
                i = quote + 1;
                if (quote == end || at(i) != u'"')
                    break;
                field += u'"'; // a doubled quote stands for one
                ++i;
            }
        } else {
            const qsizetype start = i;
            while (i < end && at(i) != u',' && !isBlank(at(i)))
                ++i;
            field = line.mid(start, i - start);
        }
        fields << field;

        while (i < end && isBlank(at(i)))
            ++i;
        if (at(i) == u',') {
            if (i + 1 == end)
                fields << QString();
            ++i;
            while (i < end && isBlank(at(i)))
                ++i;
        }
    }
    return fields;
}

QByteArray formatInstrumentList(const std::vector<InstrumentRow>& rows, const InstrumentLineSettings& settings)
{
    QByteArray out;
    out.reserve(qsizetype(rows.size()) * 96);
    for (const InstrumentRow& r : rows) {
        const bool app = r.isApplication();
        const QString* values[kFieldsPerLine] = {
            &r.Name,
            &r.fields[InstrumentRow::PortNo],
            &r.fields[InstrumentRow::PathName],
            nullptr,
            app ? &r.fields[InstrumentRow::IPAddress] : &settings.FlightSimIPAddress,
            app ? nullptr : &settings.FlightSimPort,
            app ? nullptr : &r.fields[InstrumentRow::Size],
            app ? nullptr : &r.fields[InstrumentRow::InstNo],
        };
        for (int f = 0; f < kFieldsPerLine; ++f) {
            if (f > 0)
                out += ',';
            if (f == 3)
                out += r.On ? "\"Y\"" : "\"N\"";
            else
                appendQuoted(out, values[f] ? *values[f] : QString());
        }
        out += "\r\n";
    }
    return out;
}

ParsedInstrumentList parseInstrumentList(const QByteArray& bytes)
{
    ParsedInstrumentList result;
    int lineNo = 0;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        ++lineNo;
        // A line ends at the first CR or LF; the next one starts after the following LF.
        qsizetype stop = pos;
        while (stop < bytes.size() && bytes.at(stop) != '\r' && bytes.at(stop) != '\n')
            ++stop;
        const qsizetype lf = bytes.indexOf('\n', stop);
        const QStringList fields = splitInstrumentLine(fromAnsi(bytes.mid(pos, stop - pos)));
        pos = lf < 0 ? bytes.size() : lf + 1;

        if (fields.size() < kFieldsPerLine) {
            result.badLine = lineNo;
            break;
        }
        InstrumentRow row;
        row.Name = fields[0];
        row.On = fields[3] == QLatin1String("Y");
        row.fields[InstrumentRow::PortNo] = fields[1];
        row.fields[InstrumentRow::PathName] = fields[2];
        row.fields[InstrumentRow::IPAddress] = fields[4];
        row.fields[InstrumentRow::SimPortNo] = fields[5];
        row.fields[InstrumentRow::Size] = fields[6];
        row.fields[InstrumentRow::InstNo] = fields[7];
        result.rows.push_back(std::move(row));
    }
    return result;
}
