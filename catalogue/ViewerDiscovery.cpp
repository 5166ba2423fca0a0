#include "catalogue/ViewerDiscovery.h"

#include <QDir>
#include <QRegExp>

ViewerFolders findViewerFolders(const QString &pathToViewers)
{
    ViewerFolders found;
    if (pathToViewers.isEmpty()) {
        found.problem = ViewerFolders::NotConfigured;
        return found;
    }
    const QDir viewersFolder(pathToViewers);
    if (!viewersFolder.isReadable()) {
        found.problem = ViewerFolders::Missing;
        return found;
    }
    const QStringList subfolders =
        viewersFolder.entryList(QStringList{QStringLiteral("*")},
                                QDir::Dirs | QDir::NoSymLinks | QDir::NoDotAndDotDot, QDir::NoSort);
    if (subfolders.isEmpty()) {
        found.problem = ViewerFolders::NoSubfolders;
        return found;
    }

    const QRegExp twoNumbers(QStringLiteral("^\\d+\\.\\d+$"), Qt::CaseSensitive, QRegExp::RegExp);
    const QRegExp threeNumbers(QStringLiteral("^\\d+\\.\\d+\\.\\d+$"), Qt::CaseSensitive,
                               QRegExp::RegExp);
    for (const QString &name : subfolders) {
        if (!twoNumbers.exactMatch(name) && !threeNumbers.exactMatch(name))
            continue;
        const QDir viewerFolder(pathToViewers + QLatin1Char('/') + name);
        const QStringList pages =
            viewerFolder.entryList(QStringList{QStringLiteral("index.html")},
                                   QDir::Files | QDir::NoSymLinks, QDir::NoSort);
        if (pages.isEmpty()) {
            found.pageMissing = true;
            continue;
        }
        ViewerVersion version;
        parseViewerVersion(name, version);
        found.viewers.insert(version, name);
    }
    if (found.viewers.isEmpty()) {
        found.problem = ViewerFolders::NoViewers;
        found.pageMissing = false;
    }
    return found;
}

ViewerVersion chooseViewerVersion(const QMap<ViewerVersion, QString> &viewers,
                                  const ViewerVersion &required)
{
    // The newest installed viewer of the same major version, if there is one.
    ViewerVersion best;
    bool sameMajorFound = false;
    for (auto it = viewers.cbegin(); it != viewers.cend(); ++it) {
        if (it.key().major == required.major) {
            best = it.key();
            sameMajorFound = true;
        }
    }
    if (sameMajorFound && required.minor <= best.minor && required.patch <= best.patch)
        return best;
    return viewers.lastKey();
}
