#include "openreport/BrowserLaunch.h"

#include "openreport/CConsole.h"
#include "openreport/CExLineEdit.h"
#include "openreport/COpenReportWidget.h"
#include "platform/Platform.h"
#include "reportlist/CReportsDataTableView.h"
#include "settings/SettingsStore.h"

#include <QFile>
#include <QProcess>
#include <QRegExp>
#include <QTimer>
#include <QUrl>

namespace {

QString percentEncoded(const QString &path)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(path, QByteArrayLiteral("/\\:")));
}

// File names are matched as the file system compares them: on Windows "BROWSER.EXE" is a program
// and "FIREFOX.EXE" is Firefox.
bool matchesWildcard(const QString &pattern, const QString &text)
{
    return QRegExp(pattern, Platform::fileNameCaseSensitivity(), QRegExp::Wildcard)
        .exactMatch(text);
}

// The scheme and slashes put before an encoded path, decided on the folder setting it lies in.
QString fileUrlPrefix(const QString &folderSetting, bool firefox, bool dataPart, FileUrlStyle style)
{
    const bool onShare = QRegExp(QStringLiteral("^(//).*$")).indexIn(folderSetting) >= 0;
    // A local absolute path elsewhere than on Windows brings its own leading slash.
    if (style == FileUrlStyle::Unix && !onShare && folderSetting.startsWith(QLatin1Char('/')))
        return QStringLiteral("file://");
    if (firefox)
        return QStringLiteral("file:///");
    if (onShare)
        return QStringLiteral("file:");
    return dataPart ? QStringLiteral("file://") : QStringLiteral("file:///");
}

} // namespace

QString viewerUrl(const QString &pathToViewers, const QString &viewerFolderName,
                  const QString &pathToReports, const QString &reportDataPath, bool firefox,
                  FileUrlStyle style)
{
    const QString viewerPage = percentEncoded(pathToViewers) + QLatin1Char('/') + viewerFolderName +
                               QStringLiteral("/index.html");
    const QString dataFile = percentEncoded(reportDataPath);
    return fileUrlPrefix(pathToViewers, firefox, false, style) + viewerPage +
           QStringLiteral("?dataPath=") + fileUrlPrefix(pathToReports, firefox, true, style) +
           dataFile;
}

QStringList browserArgumentList(const QString &browserArguments, const QString &url)
{
    QStringList arguments =
        browserArguments.split(QLatin1Char(' '), Qt::SkipEmptyParts, Qt::CaseSensitive);
    for (QString &argument : arguments) {
        if (argument == BrowserUrlToken)
            argument = url;
    }
    return arguments;
}

QString reportNameOfDataPath(const QString &reportDataPath)
{
    const QStringList parts = reportDataPath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    return parts.size() >= 2 ? parts.at(parts.size() - 2) : QString();
}

bool isFirefoxPath(const QString &pathToBrowser)
{
    return matchesWildcard(QStringLiteral("*firefox*"), pathToBrowser);
}

bool COpenReportWidget::checkBrowserExecutable()
{
    if (QFile(pathToBrowser).exists() && (matchesWildcard(QStringLiteral("*.exe"), pathToBrowser) ||
                                          Platform::isExecutableProgram(pathToBrowser)))
        return true;
    reportConfigurationError(tr("Specified browser executable not found"));
    return false;
}

void COpenReportWidget::openReport()
{
    stoneIDEdit->startThrobber();
    if (viewersReady && reportsFound && browserReady) {
        if (autoFindTimer->isActive())
            autoFindTimer->stop();
        updateConsole();

        const QString url =
            viewerUrl(pathToViewers, viewerFolderName, pathToReports, reportDataPath,
                      isFirefoxPath(pathToBrowser), Platform::fileUrlStyle());
        const QStringList arguments = browserArgumentList(browserArguments, url);
        const QString name = reportNameOfDataPath(reportDataPath);

        if (!QProcess::startDetached(pathToBrowser, arguments))
            console->printError(tr("Failed to open a report in browser"));
        else if (name.isEmpty())
            console->printInfo(tr("The report was successfully opened in browser"));
        else
            console->printInfo(tr("The ") + name +
                               tr(" report was successfully opened in browser"));
        tableView->setFocus(Qt::OtherFocusReason);
    }
    stoneIDEdit->stopThrobber();
}
