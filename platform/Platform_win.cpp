#include "platform/Platform.h"

#include <windows.h>

#include <string>

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

bool keepOwnerAndGroup(int, const QString &)
{
    return true;
}

Qt::CaseSensitivity fileNameCaseSensitivity()
{
    return Qt::CaseInsensitive;
}

FileUrlStyle fileUrlStyle()
{
    return FileUrlStyle::Windows;
}

namespace {

// A value of a registry key as text; empty when the key or the value is missing. The registry is
// read through the system directly: QSettings would create a missing key of the current user's
// while reading it.
QString registryText(HKEY root, const QString &key, const wchar_t *value)
{
    const std::wstring path = key.toStdWString();
    const DWORD types = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    DWORD size = 0;
    if (RegGetValueW(root, path.c_str(), value, types, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return QString();
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    size = DWORD(text.size() * sizeof(wchar_t));
    if (RegGetValueW(root, path.c_str(), value, types, nullptr, &text[0], &size) != ERROR_SUCCESS)
        return QString();
    return QString::fromWCharArray(text.c_str());
}

// The command of a key's unnamed default value. Common browsers register a bare %1
// (chrome.exe --single-argument %1), which the launch would leave as it is and so never pass the
// address: an argument that is exactly %1 becomes the token "%1".
std::optional<BrowserCommand> registeredCommand(HKEY root, const QString &key)
{
    std::optional<BrowserCommand> command =
        splitQuotedCommandLine(registryText(root, key, nullptr));
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
    const QString command = QStringLiteral("\\shell\\open\\command");
    const QString progId =
        registryText(HKEY_CURRENT_USER,
                     QStringLiteral("Software\\Microsoft\\Windows\\Shell\\"
                                    "Associations\\UrlAssociations\\http\\UserChoice"),
                     L"ProgId");
    QList<BrowserCommand> commands;
    for (const auto &key :
         {std::make_pair(HKEY_CLASSES_ROOT, progId.isEmpty() ? QString() : progId + command),
          std::make_pair(HKEY_CURRENT_USER, QStringLiteral("Software\\Classes\\http") + command),
          std::make_pair(HKEY_CLASSES_ROOT, QStringLiteral("http") + command)}) {
        if (key.second.isEmpty())
            continue;
        if (const auto found = registeredCommand(key.first, key.second))
            commands.append(*found);
    }
    return commands;
}

QString executableFilePattern()
{
    return QStringLiteral("*.exe");
}

} // namespace Platform
