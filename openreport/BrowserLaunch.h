#pragma once

#include "platform/Platform.h"

#include <QString>
#include <QStringList>

using Platform::FileUrlStyle;

// What the browser is asked to open: the viewer's page of one version with the report's data
// file in its dataPath parameter. Only the folder settings are percent-encoded, as UTF-8; the
// version folder name and "index.html" are appended as they are.
QString viewerUrl(const QString &pathToViewers, const QString &viewerFolderName,
                  const QString &pathToReports, const QString &reportDataPath, bool firefox,
                  FileUrlStyle style);

// The browser's argument list: the argument line split at spaces, with every argument that is
// exactly "%1" (with its double quotes) replaced by the URL.
QStringList browserArgumentList(const QString &browserArguments, const QString &url);

// The report folder's name, taken from the data file's path; empty for a path of fewer than two
// parts.
QString reportNameOfDataPath(const QString &reportDataPath);

// Whether the browser path names a Firefox executable: "firefox" anywhere in the path, in lower
// case, or in any case on Windows.
bool isFirefoxPath(const QString &pathToBrowser);
