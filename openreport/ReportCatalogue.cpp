// The open-report page's catalogue operations: each asks the catalogue and tells the operator in
// the console what it found and what went wrong.
#include "catalogue/ReportMetadata.h"
#include "catalogue/ReportSearch.h"
#include "catalogue/ViewerDiscovery.h"
#include "openreport/CConsole.h"
#include "openreport/COpenReportWidget.h"

bool COpenReportWidget::discoverViewers()
{
    const ViewerFolders found = findViewerFolders(pathToViewers);
    viewers = found.viewers;
    switch (found.problem) {
    case ViewerFolders::NotConfigured:
        reportConfigurationError(tr("Report Viewers folder not configured"));
        return false;
    case ViewerFolders::Missing:
        reportConfigurationError(tr("Report Viewers folder doesn't exist"));
        return false;
    case ViewerFolders::NoSubfolders:
        reportConfigurationError(tr("Subfolders with Report Viewer versions not found"));
        return false;
    case ViewerFolders::NoViewers:
        reportConfigurationError(tr("Report Viewers not found in the specified folder"));
        return false;
    case ViewerFolders::None:
        break;
    }
    if (found.pageMissing)
        console->printWarning(tr("Some Report Viewer subfolders don't contain the ") +
                              QStringLiteral("index.html") + tr(" file"));
    viewerFolderName = viewers.last();
    return true;
}

void COpenReportWidget::chooseViewer(ViewerVersion &required)
{
    required = chooseViewerVersion(viewers, required);
}

QString COpenReportWidget::metadataFilePath(const QString &folderName) const
{
    return pathToReports + QLatin1Char('/') + stoneID + QLatin1Char('/') + folderName +
           QLatin1Char('/') + QStringLiteral("metadata.xml");
}

bool COpenReportWidget::readReportMetadata(const QString &folderName, const QString &dataFileName)
{
    ReportReading reading = readReportInfo(metadataFilePath(folderName), reportTypeNames);
    if (!reportFolderPrefix(folderName, reading.info.prefix)) {
        console->printError(tr("Report's prefix in ") + folderName + tr(" has wrong format"));
        return false;
    }
    reading.info.dataFileName = dataFileName;
    reports.insert(folderName, reading.info);
    return reading.valid;
}

bool COpenReportWidget::hasCommentElement(const QString &folderName)
{
    const CommentCheck check = checkCommentElement(metadataFilePath(folderName));
    switch (check.outcome) {
    case CommentCheck::CannotOpen:
        console->printError(tr("Cannot open metadata file for ") + folderName + tr(" report: ") +
                            check.error);
        return false;
    case CommentCheck::CannotParse:
        console->printError(tr("Failed to parse metadata file for ") + folderName +
                            tr(" report: ") + check.error);
        return false;
    case CommentCheck::Checked:
        break;
    }
    if (!check.error.isEmpty())
        console->printError(tr("Cannot read metadata file for ") + folderName + tr(" report: ") +
                            check.error);
    return check.hasComment;
}

bool COpenReportWidget::saveReportComment(const QString &folderName, const QString &comment)
{
    const CommentWrite write = writeComment(metadataFilePath(folderName), comment);
    const QString cannotWrite =
        tr("Cannot write metadata file for ") + folderName + tr(" report: ");
    switch (write.outcome) {
    case CommentWrite::Written:
        return true;
    case CommentWrite::CannotOpen:
        console->printError(tr("Cannot open metadata file for ") + folderName + tr(" report: ") +
                            write.error);
        break;
    case CommentWrite::CannotRead:
        console->printError(tr("Cannot read metadata file for ") + folderName + tr(" report"));
        break;
    case CommentWrite::TooLong:
        console->printError(cannotWrite + tr("the comment is too long"));
        break;
    case CommentWrite::NotReadBack:
        console->printError(cannotWrite + tr("the new content would not read back as written"));
        break;
    case CommentWrite::CannotWrite:
        console->printError(cannotWrite + write.error);
        break;
    case CommentWrite::NotReadBackFromFile:
        console->printError(cannotWrite + tr("the file does not read back as written"));
        break;
    }
    return false;
}

bool COpenReportWidget::searchReports()
{
    reports.clear();
    const StoneFolders found = findStoneFolders(pathToReports, stoneID);
    switch (found.problem) {
    case StoneFolders::NotConfigured:
        reportConfigurationError(tr("Reports Data folder not configured"));
        return false;
    case StoneFolders::Missing:
        reportConfigurationError(tr("Reports Data folder doesn't exist"));
        return false;
    case StoneFolders::NoStoneID:
        return false;
    case StoneFolders::NoStoneFolder:
        console->printError(
            tr("Root folder for stone reports with the specified ID doesn't exist"));
        return false;
    case StoneFolders::NoReports:
    case StoneFolders::None:
        break;
    }

    bool valid = true;
    for (const ReportFolder &folder : found.folders)
        valid = readReportMetadata(folder.name, folder.dataFileName) && valid;
    if (reports.isEmpty()) {
        console->printError(tr("Reports for a stone with the specified ID not found"));
        return false;
    }
    if (!valid)
        console->printWarning(tr("Some metadata files aren't valid"));
    if (reports.size() == 1) {
        console->printInfo(tr("Found 1 report for a stone with the specified ID"));
    } else {
        console->printInfo(tr("Found ") + QString::number(reports.size()) +
                           tr(" reports for a stone with the specified ID"));
    }

    const auto latest = std::prev(reports.cend());
    reportDataPath = found.stoneRoot + QLatin1Char('/') + latest.key() + QLatin1Char('/') +
                     latest.value().dataFileName;
    return true;
}
