#include "platform/Platform.h"

#include <QCryptographicHash>

#include <windows.h>

#include <sddl.h>

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

namespace {

// The user's security identifier as text ("S-1-5-21-..."); empty when the system will not say.
QString userSid()
{
    QString text;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return text;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    QByteArray buffer(int(size), '\0');
    wchar_t *sid = nullptr;
    if (size > 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size) &&
        ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER *>(buffer.data())->User.Sid, &sid)) {
        text = QString::fromWCharArray(sid);
        LocalFree(sid);
    }
    CloseHandle(token);
    return text;
}

} // namespace

SessionEndpoint sessionEndpoint()
{
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    const QByteArray key = userSid().toUtf8() + '|' + QByteArray::number(quint32(session)) + '|' +
                           settingsFileLocation().toUtf8();
    const QString name =
        QStringLiteral("stelvane-") +
        QString::fromLatin1(
            QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(16));
    return {name, QStringLiteral("Local\\") + name};
}

SessionLock::SessionLock(const QString &name)
    : handle(qintptr(CreateMutexW(nullptr, FALSE, reinterpret_cast<const wchar_t *>(name.utf16()))))
{
}

SessionLock::~SessionLock()
{
    if (locked)
        ReleaseMutex(HANDLE(handle));
    if (handle)
        CloseHandle(HANDLE(handle));
}

bool SessionLock::tryLock(int milliseconds)
{
    // A mutex left by a process that ended while holding it is taken over (WAIT_ABANDONED).
    const DWORD result = handle ? WaitForSingleObject(HANDLE(handle), DWORD(milliseconds)) : 0;
    locked = handle && (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED);
    return locked;
}

void allowOtherClientToForeground()
{
    AllowSetForegroundWindow(ASFW_ANY);
}

void writeToConsole(const QString &text, bool error)
{
    // Redirected to a file or a pipe (a script, a test): the handle is there already.
    HANDLE handle = GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (handle && handle != INVALID_HANDLE_VALUE) {
        const QByteArray bytes = text.toLocal8Bit();
        DWORD written = 0;
        WriteFile(handle, bytes.constData(), DWORD(bytes.size()), &written, nullptr);
        return;
    }
    // Started from a console window, which has already shown its next prompt: the text follows it.
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    HANDLE console = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    if (console != INVALID_HANDLE_VALUE) {
        const std::wstring wide = text.toStdWString();
        DWORD written = 0;
        WriteConsoleW(console, wide.c_str(), DWORD(wide.size()), &written, nullptr);
        CloseHandle(console);
    }
    FreeConsole();
}

} // namespace Platform
