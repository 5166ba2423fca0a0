#pragma once

#include <QString>

// Deletes a folder with everything in it, but never what a link inside it points to: a symbolic
// link, a junction or a shortcut is removed as a link, and so is the folder itself when it is
// one. Returns false when anything could not be removed; what could be removed is gone.
bool removeFolderTree(const QString &path);
