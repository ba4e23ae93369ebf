#pragma once

#include <QString>

// Stored and shown paths use "\" as the separator, exactly as on the PCs the files are shared with.
// Only the file-system layer turns them into the native form.
QString nativePath(const QString& storedPath);

// a + "\" + b
QString joinPath(const QString& folder, const QString& name);
