#include "InstrumentCatalogue.h"

#include "platform/FileSystem.h"
#include "platform/IniService.h"
#include "platform/LocaleService.h"
#include "platform/Paths.h"

#include <algorithm>

namespace {

constexpr qsizetype kMaxSetNameLength = 128;

qsizetype lastSeparator(const QString& path)
{
    return std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
}

} // namespace

const QString InstrumentCatalogue::DefaultSet = QStringLiteral("Standard");
const QString InstrumentCatalogue::SetPrefix = QStringLiteral("Instruments_");

InstrumentCatalogue::InstrumentCatalogue(const FileSystem& files, const IniService& ini, const LocaleService& locale,
                                         QString appPath)
    : m_files(files), m_ini(ini), m_locale(locale), m_appPath(std::move(appPath))
{}

QStringList InstrumentCatalogue::sets() const
{
    QStringList result{DefaultSet};
    const QString defaultFolder = SetPrefix + DefaultSet;
    // Whatever matches is a set, plain files included; the default set is listed once, but a folder that
    // differs from it only in letter case is a set of its own.
    for (const DirEntry& e : m_files.list(m_appPath + SetPrefix + u'*')) {
        if (e.name == defaultFolder)
            continue;
        result << e.name.mid(SetPrefix.size(), kMaxSetNameLength);
    }
    return result;
}

std::vector<CatalogueProgram> InstrumentCatalogue::programs(const QString& setName, QChar typeLetter) const
{
    const QString pattern = (typeLetter == AllTypes ? QString(u'*') : QString(typeLetter)) + QStringLiteral("@*.exe");
    std::vector<CatalogueProgram> result;
    for (const DirEntry& e : m_files.list(joinPath(m_appPath + SetPrefix + setName, pattern))) {
        if (e.name.isEmpty())
            continue;
        result.push_back({e.name.mid(2, std::max<qsizetype>(0, e.name.size() - 6)), e.name});
    }
    std::stable_sort(result.begin(), result.end(), [this](const CatalogueProgram& a, const CatalogueProgram& b) {
        return m_locale.compare(a.displayName, b.displayName) < 0;
    });
    return result;
}

InstrumentDescriptor InstrumentCatalogue::descriptor(const QString& relativePath) const
{
    const QString file = m_appPath + relativePath;
    const auto read = [&](const char* section, const char* key) {
        return m_ini.readString(file, QString::fromLatin1(section), QString::fromLatin1(key), QString());
    };
    InstrumentDescriptor d;
    d.ShortName = read("Info", "ShortName");
    d.LongName = read("Info", "LongName");
    d.Description = read("Info", "Description");
    d.DefaultPort = read("Network", "DefaultPort");
    const QString imageFile = read("Info", "ImageFile");
    if (!imageFile.isEmpty()) {
        const QString image = file.left(lastSeparator(file) + 1) + imageFile;
        if (m_files.fileExists(image))
            d.imagePath = image;
    }
    return d;
}

std::optional<QString> InstrumentCatalogue::findProgram(const QString& fileName) const
{
    if (fileName.isEmpty())
        return std::nullopt;
    for (const DirEntry& set : m_files.list(m_appPath + SetPrefix + u'*')) {
        // The name is compared, not used as a pattern, so "*" or "?" in it match only themselves.
        for (const DirEntry& e : m_files.list(joinPath(m_appPath + set.name, QStringLiteral("*")))) {
            if (!e.directory && e.name.compare(fileName, Qt::CaseInsensitive) == 0)
                return joinPath(set.name, e.name);
        }
    }
    return std::nullopt;
}

QString InstrumentCatalogue::programPath(const QString& setName, const QString& fileName)
{
    return joinPath(SetPrefix + setName, fileName);
}

QString InstrumentCatalogue::descriptorPath(const QString& programPath)
{
    const qsizetype dot = programPath.lastIndexOf(u'.');
    const QString base = dot > lastSeparator(programPath) ? programPath.left(dot) : programPath;
    return base + QStringLiteral(".ini");
}
