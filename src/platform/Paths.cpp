#include "Paths.h"

QString nativePath(const QString& storedPath)
{
    QString p = storedPath;
    p.replace(u'\\', u'/');
    return p;
}

QString joinPath(const QString& folder, const QString& name)
{
    return folder + u'\\' + name;
}
