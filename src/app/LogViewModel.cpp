#include "LogViewModel.h"

#include <QFile>

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

LogViewModel::LogViewModel(QString path) : m_path(std::move(path))
{
    reload();
}

void LogViewModel::reload()
{
    // The files are bounded, so reading both whole costs little.
    m_text = QString::fromUtf8(contents(m_path + QStringLiteral(".1")) + contents(m_path));
}
