#include "Environment.h"

#include <QCoreApplication>
#include <QDir>

QString ProcessEnvironment::variable(const QString& name) const
{
    return qEnvironmentVariable(name.toLocal8Bit().constData());
}

QString ProcessEnvironment::executablePath() const
{
    return QCoreApplication::applicationFilePath();
}

QString ProcessEnvironment::currentDirectory() const
{
    return QDir::currentPath();
}
