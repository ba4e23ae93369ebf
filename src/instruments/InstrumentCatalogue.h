#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class FileSystem;
class IniService;
class LocaleService;

// One program of a set as the add-instrument dialog lists it.
struct CatalogueProgram
{
    QString displayName; // file name without the type letter, the "@" and ".exe"
    QString fileName;
};

// What a program's descriptor says about it; everything is empty when the descriptor is missing.
struct InstrumentDescriptor
{
    QString ShortName;
    QString LongName;
    QString Description;
    QString DefaultPort;
    QString imagePath; // stored path of the picture, empty unless the named file exists
};

// The gauge programs installed beside the program: "Instruments_<set>" folders holding
// "<type letter>@<name>.exe" programs, each with a "<same base name>.ini" descriptor. Read only.
// The catalogue is shared with the Windows program, so programs keep their ".exe" names here too.
class InstrumentCatalogue
{
public:
    // appPath: the program folder, with its trailing separator.
    InstrumentCatalogue(const FileSystem& files, const IniService& ini, const LocaleService& locale, QString appPath);

    static const QString DefaultSet; // "Standard"
    static const QString SetPrefix;  // "Instruments_"
    // The letter of the "All" type: it lists every program, whatever its own letter.
    static constexpr QChar AllTypes = u'X';

    // "Standard" first, then every other "Instruments_" entry in the file system's order.
    QStringList sets() const;
    // The programs of a set for a type letter, sorted by display name.
    std::vector<CatalogueProgram> programs(const QString& setName, QChar typeLetter) const;
    // relativePath: the descriptor's path relative to the program folder.
    InstrumentDescriptor descriptor(const QString& relativePath) const;
    // The first set, in the file system's order, holding a file of this name (letter case ignored);
    // returns its relative program path "Instruments_<set>\<name as on disk>".
    std::optional<QString> findProgram(const QString& fileName) const;

    // "Instruments_<set>\<file>"
    static QString programPath(const QString& setName, const QString& fileName);
    // The program path with ".ini" in place of its extension.
    static QString descriptorPath(const QString& programPath);

private:
    const FileSystem& m_files;
    const IniService& m_ini;
    const LocaleService& m_locale;
    QString m_appPath;
};
