#pragma once

#include <QString>

// Stored paths use "\" as the separator, exactly as on the PCs the files are shared with. Only the
// file-system layer turns them into the native form, and so does every message that shows a path: the
// user must be able to find, and paste, what the message names.
QString nativePath(const QString& storedPath);

// a + "\" + b
QString joinPath(const QString& folder, const QString& name);
