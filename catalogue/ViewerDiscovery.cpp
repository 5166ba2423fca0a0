#include "openreport/CConsole.h"
#include "openreport/COpenReportWidget.h"

#include <QDir>
#include <QRegExp>

bool COpenReportWidget::discoverViewers()
{
    viewers.clear();
    if (pathToViewers.isEmpty()) {
        reportConfigurationError(tr("Report Viewers folder not configured"));
        return false;
    }
    const QDir viewersFolder(pathToViewers);
    if (!viewersFolder.isReadable()) {
        reportConfigurationError(tr("Report Viewers folder doesn't exist"));
        return false;
    }
    const QStringList subfolders =
        viewersFolder.entryList(QStringList{QStringLiteral("*")},
                                QDir::Dirs | QDir::NoSymLinks | QDir::NoDotAndDotDot, QDir::NoSort);
    if (subfolders.isEmpty()) {
        reportConfigurationError(tr("Subfolders with Report Viewer versions not found"));
        return false;
    }

    const QRegExp twoNumbers(QStringLiteral("^\\d+\\.\\d+$"), Qt::CaseSensitive, QRegExp::RegExp);
    const QRegExp threeNumbers(QStringLiteral("^\\d+\\.\\d+\\.\\d+$"), Qt::CaseSensitive,
                               QRegExp::RegExp);
    const QString viewerPage = QStringLiteral("index.html");
    bool missing = false;
    for (const QString &name : subfolders) {
        if (!twoNumbers.exactMatch(name) && !threeNumbers.exactMatch(name))
            continue;
        const QDir viewerFolder(pathToViewers + QLatin1Char('/') + name);
        const QStringList pages = viewerFolder.entryList(
            QStringList{viewerPage}, QDir::Files | QDir::NoSymLinks, QDir::NoSort);
        if (pages.isEmpty()) {
            missing = true;
            continue;
        }
        ViewerVersion version;
        parseViewerVersion(name, version);
        viewers.insert(version, name);
    }

    if (viewers.isEmpty()) {
        reportConfigurationError(tr("Report Viewers not found in the specified folder"));
        return false;
    }
    if (missing)
        console->printWarning(tr("Some Report Viewer subfolders don't contain the ") + viewerPage +
                              tr(" file"));
    viewerFolderName = viewers.last();
    return true;
}

void COpenReportWidget::chooseViewer(ViewerVersion &required)
{
    const ViewerVersion latest = viewers.lastKey();
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
        required = best;
    else
        required = latest;
}
