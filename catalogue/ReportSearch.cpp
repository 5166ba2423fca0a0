#include "catalogue/ReportSearch.h"

#include "openreport/CConsole.h"
#include "openreport/COpenReportWidget.h"
#include "platform/FileSystemPath.h"

#include <QDir>

#include <filesystem>
#include <regex>
#include <system_error>

bool pathExists(const QString &path)
{
    if (path.size() >= 260)
        return false;
    std::error_code error;
    const std::filesystem::file_status status =
        std::filesystem::status(Platform::toFileSystemPath(path), error);
    return status.type() != std::filesystem::file_type::not_found &&
           status.type() != std::filesystem::file_type::unknown;
}

bool isPlainFolderName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            return false;
    }
#ifdef Q_OS_WIN
    // Windows drops trailing dots and spaces from a path component, so a name made only of
    // them would name the parent folder itself.
    bool onlyDotsAndSpaces = true;
    for (const QChar c : name)
        onlyDotsAndSpaces = onlyDotsAndSpaces && (c == QLatin1Char('.') || c == QLatin1Char(' '));
    if (onlyDotsAndSpaces)
        return false;
#endif
    return true;
}

bool COpenReportWidget::searchReports()
{
    reports.clear();
    if (pathToReports.isEmpty()) {
        reportConfigurationError(tr("Reports Data folder not configured"));
        return false;
    }
    if (!QDir(pathToReports).isReadable()) {
        reportConfigurationError(tr("Reports Data folder doesn't exist"));
        return false;
    }
    if (stoneID.isEmpty())
        return false;

    // A Stone ID that would lead out of the Reports Data folder names no stone there.
    const QString stoneRoot = pathToReports + QLatin1Char('/') + stoneID;
    if (!isPlainFolderName(stoneID) || !pathExists(stoneRoot)) {
        console->printError(
            tr("Root folder for stone reports with the specified ID doesn't exist"));
        return false;
    }

    static const std::wregex reportFolderPattern(
        L"^([[:digit:]]{4})(?:[[:punct:][:blank:]]*)?(.*)$", std::regex::ECMAScript);
    const QDir::Filters fileFilters = QDir::Files | QDir::NoSymLinks;
    bool found = false;
    bool valid = true;

    std::error_code error;
    std::filesystem::directory_iterator entry(Platform::toFileSystemPath(stoneRoot), error);
    // The listing ends quietly at the first entry that cannot be read.
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        std::error_code typeError;
        if (!entry->is_directory(typeError))
            continue;
        // The iterator never lists "." and "..".
        const QString name = Platform::fromFileSystemPath(entry->path().filename());
        if (!std::regex_match(name.toStdWString(), reportFolderPattern))
            continue;

        const QDir reportFolder(stoneRoot + QLatin1Char('/') + name);
        const QStringList dataFiles =
            reportFolder.entryList(QStringList{QStringLiteral("*.js")}, fileFilters, QDir::Name);
        if (dataFiles.isEmpty())
            continue;
        const QStringList metadataFiles = reportFolder.entryList(
            QStringList{QStringLiteral("metadata.xml")}, fileFilters, QDir::Name);
        if (metadataFiles.isEmpty())
            continue;

        valid = readReportMetadata(name, dataFiles.first()) && valid;
        found = true;
    }

    if (!found || reports.isEmpty()) {
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
    reportDataPath = stoneRoot + QLatin1Char('/') + latest.key() + QLatin1Char('/') +
                     latest.value().dataFileName;
    return true;
}
