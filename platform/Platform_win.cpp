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

namespace {

// The command of a registry key's unnamed value (which QSettings names "Default"). Common browsers
// register a bare %1 (chrome.exe --single-argument %1), which the launch would leave as it is and
// so never pass the address: an argument that is exactly %1 becomes the token "%1".
std::optional<BrowserCommand> registeredCommand(const QString &key)
{
    const QSettings registry(key, QSettings::NativeFormat);
    std::optional<BrowserCommand> command =
        splitQuotedCommandLine(registry.value(QStringLiteral("Default")).toString());
    if (command) {
        QStringList arguments = command->arguments.split(QLatin1Char(' '));
        for (QString &argument : arguments) {
            if (argument == QLatin1String("%1"))
                argument = QStringLiteral("\"%1\"");
        }
        command->arguments = arguments.join(QLatin1Char(' '));
    }
    return command;
}

} // namespace

QList<BrowserCommand> defaultBrowserCommands()
{
    // Current Windows keeps the user's choice as a ProgId whose command opens http addresses;
    // the two http keys after it often still name a browser installed earlier.
    QStringList keys;
    const QSettings choice(QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\Shell\\"
                                          "Associations\\UrlAssociations\\http\\UserChoice"),
                           QSettings::NativeFormat);
    const QString progId = choice.value(QStringLiteral("ProgId")).toString();
    if (!progId.isEmpty())
        keys << QStringLiteral("HKEY_CLASSES_ROOT\\") + progId +
                    QStringLiteral("\\shell\\open\\command");
    keys << QStringLiteral("HKEY_CURRENT_USER\\Software\\Classes\\http\\shell\\open\\command")
         << QStringLiteral("HKEY_CLASSES_ROOT\\http\\shell\\open\\command");
    QList<BrowserCommand> commands;
    for (const QString &key : keys) {
        if (const auto command = registeredCommand(key))
            commands.append(*command);
    }
    return commands;
}

QString executableFilePattern()
{
    return QStringLiteral("*.exe");
}

} // namespace Platform
