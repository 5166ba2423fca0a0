#pragma once

#include <QString>

// True when the path names an existing file system object. A path of 260 or more characters
// always gives false.
bool pathExists(const QString &path);

// True when `name` can only name an entry directly inside its parent folder: not empty, not
// "." or "..", and free of path separators and control characters.
bool isPlainFolderName(const QString &name);
