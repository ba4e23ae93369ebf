#pragma once

#include "InstrumentRow.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The panel instrument list file "<panel>.cfg": one line of eight quoted, comma-separated fields per row,
// CR LF after every line, code page 1252. The Windows program reads and writes the same bytes.

// The current settings that every instrument line carries in fields 5 and 6.
struct InstrumentLineSettings
{
    QString FlightSimIPAddress;
    QString FlightSimPort;
};

// Splits one line into fields. The rules accept more than the writer produces (blanks around fields,
// unquoted fields, doubled quotes inside quoted ones), as files edited by hand need.
QStringList splitInstrumentLine(const QString& line);

// The whole file for these rows, in their order. A quote inside a value is doubled, which the reader
// turns back into one.
QByteArray formatInstrumentList(const std::vector<InstrumentRow>& rows, const InstrumentLineSettings& settings);

struct ParsedInstrumentList
{
    std::vector<InstrumentRow> rows; // in file order
    std::optional<int> badLine;      // 1-based number of the first line with fewer than eight fields
};

// Reads rows until the end or up to the first line with fewer than eight fields.
ParsedInstrumentList parseInstrumentList(const QByteArray& bytes);
