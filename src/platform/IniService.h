#pragma once

#include <QString>

#include <vector>

struct IniEntry
{
    QString section;
    QString key;
    QString value;
};

// Private-profile INI files, key by key, with the rules the stored files were written under on Windows:
// names match without regard to case, blanks around names and values are trimmed, one pair of enclosing
// quotes is stripped, the first of duplicate sections or keys wins, and every operation opens the file anew.
// Paths are stored paths ("\" separators).
class IniService
{
public:
    virtual ~IniService() = default;

    // A missing file, section or key gives the default and never creates the file.
    virtual QString readString(const QString& file, const QString& section, const QString& key,
                               const QString& defaultValue) const = 0;

    // Replaces the value in place or adds the key (and section, and file) as needed.
    // Throws "Unable to write to <path>" when the folder is missing or the file cannot be written.
    virtual void writeString(const QString& file, const QString& section, const QString& key, const QString& value) = 0;

    // Several keys of one file, each by the rules of writeString. Where the service can, the file is replaced
    // once with all of them, so a reader never sees some keys new and some old.
    virtual void writeStrings(const QString& file, const std::vector<IniEntry>& entries)
    {
        for (const IniEntry& e : entries)
            writeString(file, e.section, e.key, e.value);
    }
};
