#include "platform/Platform.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace Platform {

QString settingsFileLocation()
{
    // A machine-wide folder such as /etc is not writable by an operator, so without an explicit
    // PROGRAMDATA the settings live in the user's configuration folder. An empty PROGRAMDATA
    // counts as unset: it would put the file at the root of the file system.
    QString folder = QFile::decodeName(qgetenv("PROGRAMDATA"));
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return folder + QStringLiteral("/Brimlow Software/Stelvane/Stelvane.ini");
}

bool isExecutableProgram(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

FileUrlStyle fileUrlStyle()
{
    return FileUrlStyle::Unix;
}

} // namespace Platform
