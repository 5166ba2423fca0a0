#include "platform/Platform.h"

namespace Platform {

QString settingsFileLocation()
{
    // The machine-wide program-data folder; when the variable is missing the fixed text alone
    // is used and Windows resolves it against the root of the current drive.
    return QString::fromLocal8Bit(qgetenv("PROGRAMDATA")) +
           QStringLiteral("\\Brimlow Software\\Stelvane\\Stelvane.ini");
}

bool isExecutableProgram(const QString &)
{
    return false;
}

FileUrlStyle fileUrlStyle()
{
    return FileUrlStyle::Windows;
}

} // namespace Platform
