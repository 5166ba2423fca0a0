#include "platform/Platform.h"

#include <QSettings>

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

QList<BrowserCommand> defaultBrowserCommands()
{
    // QSettings gives a key's unnamed default value under the name "Default".
    QList<BrowserCommand> commands;
    for (const QString &key :
         {QStringLiteral("HKEY_CURRENT_USER\\Software\\Classes\\http\\shell\\open\\command"),
          QStringLiteral("HKEY_CLASSES_ROOT\\http\\shell\\open\\command")}) {
        const QSettings registry(key, QSettings::NativeFormat);
        if (const auto command =
                splitQuotedCommandLine(registry.value(QStringLiteral("Default")).toString()))
            commands.append(*command);
    }
    return commands;
}

QString executableFilePattern()
{
    return QStringLiteral("*.exe");
}

} // namespace Platform
