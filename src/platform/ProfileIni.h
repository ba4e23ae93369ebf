#pragma once

#include "IniService.h"

#include <QByteArray>

class ProfileIni : public IniService
{
public:
    // Windows hands out at most this many characters of a value.
    static constexpr int MaxValueLength = 2047;

    QString readString(const QString& file, const QString& section, const QString& key,
                       const QString& defaultValue) const override;
    void writeString(const QString& file, const QString& section, const QString& key, const QString& value) override;
    void writeStrings(const QString& file, const std::vector<IniEntry>& entries) override;

    // The same rules on bytes in memory, for the file-less parts of the tests and of the writers.
    static QString lookUp(const QByteArray& content, const QString& section, const QString& key,
                          const QString& defaultValue);
    static QByteArray withValue(const QByteArray& content, const QString& section, const QString& key,
                                const QString& value);
};
