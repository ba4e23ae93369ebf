// The panel instrument list file: any bytes parse, and any row reads back as it was written.
#include "FuzzInput.h"

#include "instruments/InstrumentListFile.h"
#include "platform/Codepage.h"

namespace {

// What the file gives back for a row: application rows carry no port, size or instance number.
InstrumentRow asStored(InstrumentRow row, const InstrumentLineSettings& settings)
{
    if (row.isApplication()) {
        row.fields[InstrumentRow::SimPortNo].clear();
        row.fields[InstrumentRow::Size].clear();
        row.fields[InstrumentRow::InstNo].clear();
    } else {
        row.fields[InstrumentRow::IPAddress] = settings.FlightSimIPAddress;
        row.fields[InstrumentRow::SimPortNo] = settings.FlightSimPort;
    }
    return row;
}

void checkRoundTrip(const InstrumentRow& row)
{
    const InstrumentLineSettings settings{row.fields[InstrumentRow::IPAddress], row.fields[InstrumentRow::SimPortNo]};
    const QByteArray file = formatInstrumentList({row, row}, settings);
    FUZZ_CHECK(file.endsWith("\r\n"));
    const ParsedInstrumentList back = parseInstrumentList(file);
    FUZZ_CHECK(!back.badLine);
    FUZZ_CHECK(back.rows.size() == 2);
    FUZZ_CHECK(back.rows[0] == asStored(row, settings));
    FUZZ_CHECK(back.rows[1] == back.rows[0]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Any file: the rows it gives read back the same once written.
    const ParsedInstrumentList parsed =
        parseInstrumentList(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    for (const InstrumentRow& row : parsed.rows)
        checkRoundTrip(row);

    // Any row whose values fit on one line (a NUL ends a line's text): the input's parts are its fields.
    const std::vector<QByteArray> parts = fuzzParts(data, size, 8);
    InstrumentRow row;
    row.Name = fromAnsi(parts[0]);
    row.On = !parts[1].isEmpty() && parts[1].front() == 'Y';
    for (int f = 0; f < InstrumentRow::FieldCount; ++f)
        row.fields[size_t(f)] = fromAnsi(parts[size_t(f) + 2]);
    for (const QByteArray& p : parts) {
        if (p.contains('\r') || p.contains('\n') || p.contains('\0'))
            return 0;
    }
    checkRoundTrip(row);
    return 0;
}
