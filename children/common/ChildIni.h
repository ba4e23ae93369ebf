#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The INI files shared with the launcher: section and key names match without regard to letter case, a
// write replaces the value in place or appends the key and keeps every other line, lines end with CR LF.
class ChildIni
{
public:
    explicit ChildIni(QString path) : m_path(std::move(path)) {}

    QString read(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    int readInt(const QString& section, const QString& key, int defaultValue) const;
    double readDouble(const QString& section, const QString& key, double defaultValue) const;
    bool write(const QString& section, const QString& key, const QString& value);

private:
    std::optional<QStringList> lines() const; // none while the file is there but cannot be read

    QString m_path;
};
