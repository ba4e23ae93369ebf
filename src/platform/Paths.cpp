#include "Paths.h"

#include <QDir>

#include <algorithm>

QString nativePath(const QString& storedPath)
{
    QString p = storedPath;
    p.replace(u'\\', u'/');
    // Windows' own separator is the stored one again.
    return QDir::toNativeSeparators(p);
}

QString joinPath(const QString& folder, const QString& name)
{
    return folder + u'\\' + name;
}

QString storedFileName(const QString& path)
{
    return path.mid(std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/')) + 1);
}

QString storedFolder(const QString& path)
{
    const qsizetype separator = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    return path.left(separator == 0 ? 1 : std::max<qsizetype>(separator, 0));
}

QString withoutExtension(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot < 0 ? fileName : fileName.left(dot);
}

QString extensionOf(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot < 0 ? QString() : fileName.mid(dot);
}
