#pragma once

#include "catalogue/ViewerVersion.h"

#include <QMap>
#include <QString>

// The report viewers installed in a Report Viewers folder: one subfolder per version, named by
// its version ("1.2" or "1.2.3"), holding an "index.html" page.
struct ViewerFolders
{
    enum Problem
    {
        None,
        NotConfigured, // no folder given
        Missing,       // the folder does not exist or cannot be read
        NoSubfolders,  // the folder holds no folder at all
        NoViewers      // no version-named subfolder holds the page
    } problem = None;
    QMap<ViewerVersion, QString> viewers; // version → folder name as found on disk
    bool pageMissing = false; // some version-named subfolders lack the page (with None only)
};
ViewerFolders findViewerFolders(const QString &pathToViewers);

// The version of the installed viewer that shows a report needing `required`: the newest one of
// the same major version when it is at least the required minor and patch (each on its own),
// otherwise the newest of all. `viewers` must not be empty.
ViewerVersion chooseViewerVersion(const QMap<ViewerVersion, QString> &viewers,
                                  const ViewerVersion &required);
