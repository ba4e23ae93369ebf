#pragma once

#include <QByteArray>
#include <QString>

// Single-byte text in the ANSI code page: on Windows the system's own, elsewhere code page 1252, the ANSI code
// page of the PCs the stored files travel to. Characters the code page cannot hold become "?".
QByteArray toAnsi(const QString& text);
QString fromAnsi(const QByteArray& bytes);
bool isAnsiRepresentable(const QString& text);
