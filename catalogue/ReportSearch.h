#pragma once

#include <QString>
#include <QVector>

// True when the path names an existing file system object. A path of 260 or more characters
// always gives false.
bool pathExists(const QString &path);

// True when `name` can only name an entry directly inside its parent folder: not empty, not
// "." or "..", and free of path separators and control characters.
bool isPlainFolderName(const QString &name);

// A report folder of a stone: its name and its data file, the first "*.js" file in name order.
struct ReportFolder
{
    QString name;
    QString dataFileName;
};

// The report folders of a stone's root folder, in the order the file system lists them: folders
// whose names begin with four digits (and are valid in the file name encoding) holding a "*.js"
// data file and a "metadata.xml" file, both regular files that are neither links nor hidden,
// their names in any letter case. The listing ends quietly at the first entry it cannot read.
QVector<ReportFolder> findReportFolders(const QString &stoneRoot);

// A stone's report folders under a Reports Data folder.
struct StoneFolders
{
    enum Problem
    {
        None,
        NotConfigured, // no Reports Data folder given
        Missing,       // the Reports Data folder does not exist or cannot be read
        NoStoneID,     // the Stone ID is empty
        NoStoneFolder, // no folder of that name (or a Stone ID that is no plain folder name, or a
                       // path of 260 characters or more)
        NoReports      // the stone's folder holds no report folder
    } problem = None;
    QString stoneRoot; // the stone's folder, once the Stone ID names one
    QVector<ReportFolder> folders;
};
StoneFolders findStoneFolders(const QString &pathToReports, const QString &stoneID);
