#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// One "PNL" control record of a datagram from the simulator side.
struct ControlRecord
{
    enum Kind
    {
        Stop,
        Start,
        Aircraft, // the aircraft now flown; `aircraft` holds its name, trimmed
    };

    Kind kind;
    QString aircraft;

    bool operator==(const ControlRecord&) const = default;
};

// The record as it is written on the wire, e.g. "PNL:Start", "PNL:FA-18C_hornet".
QString ControlRecordText(const ControlRecord& record);

// Bytes 0..127 as ASCII, 128..255 as U+FFFD; a zero byte ends the text.
QString ControlText(const QByteArray& bytes);

// The "PNL" records of a datagram, in order: records are separated by "|", fields by ":"; the first field is
// the kind, the second the value. Records of any other kind, and records without a value, are skipped.
std::vector<ControlRecord> ParseControlDatagram(const QByteArray& bytes);
