#pragma once

#include <QString>

// Stored paths use "\" as the separator, exactly as on the PCs the files are shared with. Only the
// file-system layer turns them into the native form, and so does every message that shows a path: the
// user must be able to find, and paste, what the message names.
QString nativePath(const QString& storedPath);

// a + "\" + b
QString joinPath(const QString& folder, const QString& name);

// The part after the last "\" or "/" of a stored path.
QString storedFileName(const QString& path);
// The part before it: the folder the path names its entry in ("/" for an entry in the root, empty for a
// bare name).
QString storedFolder(const QString& path);
// A file name without its last extension, and that extension with its dot (empty when there is none).
QString withoutExtension(const QString& fileName);
QString extensionOf(const QString& fileName);
