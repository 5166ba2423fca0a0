#include "catalogue/ReportSearch.h"

#include "platform/FileSystemPath.h"

#include <QDir>

#include <algorithm>
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

namespace {

// Whether an entry of the Stone root folder with this name is a report folder: its whole name
// matches the pattern below, whose last group takes any character but a line terminator. Nearly
// every name is four ASCII digits followed by such characters, which the pattern matches in any
// locale, so only the other names are handed to the (much slower) regular expression.
bool isReportFolderName(const QString &name)
{
    static const std::wregex pattern(L"^([[:digit:]]{4})(?:[[:punct:][:blank:]]*)?(.*)$",
                                     std::regex::ECMAScript);
    const auto isAsciiDigit = [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    };
    const auto isLineTerminator = [](QChar c) {
        return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar(0x2028) ||
               c == QChar(0x2029);
    };
    if (name.size() >= 4 && std::all_of(name.begin(), name.begin() + 4, isAsciiDigit) &&
        std::none_of(name.begin() + 4, name.end(), isLineTerminator))
        return true;
    return std::regex_match(name.toStdWString(), pattern);
}

// The files of a report folder that the search needs, from one listing of the folder.
struct ReportFolderFiles
{
    QString firstDataFile;    // the first "*.js" file in name order; empty when there is none
    bool hasMetadata = false; // a "metadata.xml" file, its name in any letter case
};

// Lists a report folder once and picks its files as QDir::entryList would with the name filters
// "*.js" and "metadata.xml", the filters QDir::Files | QDir::NoSymLinks and the order QDir::Name:
// regular files only, neither symbolic links nor hidden files, names matched regardless of case
// (a name that is not valid UTF-16 matches no filter), the first one by case-sensitive comparison.
ReportFolderFiles listReportFolder(const std::filesystem::path &folder)
{
    ReportFolderFiles files;
    std::error_code error;
    std::filesystem::directory_iterator entry(folder, error);
    // Like QDir, the listing ends quietly at the first entry that cannot be read.
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        // Both answers come from the listing itself where the file system gives entry types.
        std::error_code typeError;
        if (entry->is_symlink(typeError) || !entry->is_regular_file(typeError))
            continue;
        const std::filesystem::path &path = entry->path();
        const QString name = Platform::fileNameOf(path);
        // Only the few files a filter matches are looked at closer. QDir leaves out hidden files
        // and names that the file name encoding cannot give back as they are on disk (not valid
        // UTF-8, for example).
        const auto isListed = [&name, &path] {
            return Platform::isExactFileName(name, path) && !Platform::isHiddenFile(path);
        };
        if (name.compare(QLatin1String("metadata.xml"), Qt::CaseInsensitive) == 0) {
            files.hasMetadata = files.hasMetadata || isListed();
        } else if (name.endsWith(QLatin1String(".js"), Qt::CaseInsensitive) &&
                   (files.firstDataFile.isEmpty() || name < files.firstDataFile) &&
                   name.isValidUtf16() && isListed()) {
            files.firstDataFile = name;
        }
    }
    return files;
}

} // namespace

QVector<ReportFolder> findReportFolders(const QString &stoneRoot)
{
    QVector<ReportFolder> folders;
    std::error_code error;
    std::filesystem::directory_iterator entry(Platform::toFileSystemPath(stoneRoot), error);
    // The listing ends quietly at the first entry that cannot be read.
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        std::error_code typeError;
        if (!entry->is_directory(typeError))
            continue;
        // The iterator never lists "." and "..". A name that the file name encoding cannot give
        // back as it is on disk (not valid UTF-8, for example) would lead every later action to a
        // folder that does not exist: such a folder is left out, as such a file is.
        const QString name = Platform::fileNameOf(entry->path());
        if (!isReportFolderName(name) || !Platform::isExactFileName(name, entry->path()))
            continue;

        const ReportFolderFiles files = listReportFolder(entry->path());
        if (!files.firstDataFile.isEmpty() && files.hasMetadata)
            folders.append({name, files.firstDataFile});
    }
    return folders;
}

StoneFolders findStoneFolders(const QString &pathToReports, const QString &stoneID)
{
    StoneFolders found;
    if (pathToReports.isEmpty())
        found.problem = StoneFolders::NotConfigured;
    else if (!QDir(pathToReports).isReadable())
        found.problem = StoneFolders::Missing;
    else if (stoneID.isEmpty())
        found.problem = StoneFolders::NoStoneID;
    if (found.problem != StoneFolders::None)
        return found;
    // A Stone ID that would lead out of the Reports Data folder names no stone there.
    const QString stoneRoot = pathToReports + QLatin1Char('/') + stoneID;
    if (!isPlainFolderName(stoneID) || !pathExists(stoneRoot)) {
        found.problem = StoneFolders::NoStoneFolder;
        return found;
    }
    found.stoneRoot = stoneRoot;
    found.folders = findReportFolders(stoneRoot);
    if (found.folders.isEmpty())
        found.problem = StoneFolders::NoReports;
    return found;
}
