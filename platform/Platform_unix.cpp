// GLib's headers use the word "signals", which Qt's keywords would turn into a macro; this file is
// built with QT_NO_KEYWORDS, and GIO comes first all the same.
#include <gio/gio.h>

#include "platform/Platform.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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

bool keepOwnerAndGroup(int handle, const QString &path)
{
    struct stat replaced = {};
    struct stat replacement = {};
    if (::stat(QFile::encodeName(path).constData(), &replaced) != 0 ||
        ::fstat(handle, &replacement) != 0)
        return false;
    if (replacement.st_uid == replaced.st_uid && replacement.st_gid == replaced.st_gid)
        return true;
    return ::fchown(handle, replaced.st_uid, replaced.st_gid) == 0 ||
           ::fchown(handle, uid_t(-1), replaced.st_gid) == 0;
}

Qt::CaseSensitivity fileNameCaseSensitivity()
{
    return Qt::CaseSensitive;
}

FileUrlStyle fileUrlStyle()
{
    return FileUrlStyle::Unix;
}

namespace {

// One argument of a desktop entry's Exec line (already unquoted) with its field codes applied for
// a single address: the address codes become the token "%1", "%%" becomes "%", and the codes that
// stand for an icon, a name, the entry's own file or for deprecated values are dropped. Returns a
// null string when nothing is left of the argument.
QString applyFieldCodes(const QString &argument)
{
    static const QStringList addressCodes = {QStringLiteral("%u"), QStringLiteral("%U"),
                                             QStringLiteral("%f"), QStringLiteral("%F")};
    if (addressCodes.contains(argument))
        return QStringLiteral("\"%1\"");
    QString result;
    for (int i = 0; i < argument.size(); ++i) {
        if (argument.at(i) != QLatin1Char('%')) {
            result.append(argument.at(i));
        } else if (i + 1 < argument.size()) {
            if (argument.at(++i) == QLatin1Char('%'))
                result.append(QLatin1Char('%'));
        }
    }
    return result.isEmpty() ? QString() : result;
}

} // namespace

QList<BrowserCommand> defaultBrowserCommands()
{
    // GIO follows the desktop standards: the x-scheme-handler/http entry of mimeapps.list, else an
    // installed application that declares that type. It only offers applications whose program
    // exists.
    GAppInfo *handler = g_app_info_get_default_for_uri_scheme("http");
    if (!handler)
        return {};
    const char *commandLine = g_app_info_get_commandline(handler);
    gchar **arguments = nullptr;
    gint count = 0;
    const bool parsed =
        commandLine && g_shell_parse_argv(commandLine, &count, &arguments, nullptr) && count > 0;
    g_object_unref(handler);
    if (!parsed)
        return {};

    QString executable = QFile::decodeName(arguments[0]);
    if (!QDir::isAbsolutePath(executable)) {
        gchar *found = g_find_program_in_path(arguments[0]);
        executable = found ? QFile::decodeName(found) : QString();
        g_free(found);
    }
    QStringList parts;
    bool hasAddress = false;
    for (gint i = 1; i < count; ++i) {
        const QString part = applyFieldCodes(QString::fromUtf8(arguments[i]));
        if (part.isNull())
            continue;
        hasAddress = hasAddress || part == QLatin1String("\"%1\"");
        parts.append(part);
    }
    g_strfreev(arguments);
    if (executable.isEmpty())
        return {};
    // A program without an address code still gets the address, as the last argument.
    if (!hasAddress)
        parts.append(QStringLiteral("\"%1\""));
    // Program and arguments stay apart: the arguments may go on after the address, which no
    // pattern over one line of text could tell from the program's path.
    return {BrowserCommand{executable, parts.join(QLatin1Char(' '))}};
}

QString executableFilePattern()
{
    return QStringLiteral("*");
}

SessionEndpoint sessionEndpoint()
{
    // The runtime folder is the user's alone; Qt makes one in the temporary folder when the
    // session names none.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    const QByteArray key = qgetenv("WAYLAND_DISPLAY") + '|' + qgetenv("DISPLAY") + '|' +
                           settingsFileLocation().toUtf8();
    const QString name =
        folder + QStringLiteral("/stelvane-") +
        QString::fromLatin1(
            QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(16));
    return {name, name + QStringLiteral(".lock")};
}

SessionLock::SessionLock(const QString &name)
    : handle(::open(QFile::encodeName(name).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600))
{
}

SessionLock::~SessionLock()
{
    // Closing the file releases the lock; the file stays for the next start, as removing it
    // could race with one that has just opened it.
    if (handle >= 0)
        ::close(int(handle));
}

bool SessionLock::tryLock(int milliseconds)
{
    const QDeadlineTimer deadline(milliseconds);
    while (handle >= 0 && !locked) {
        locked = ::flock(int(handle), LOCK_EX | LOCK_NB) == 0;
        if (!locked && (errno != EWOULDBLOCK || deadline.hasExpired()))
            break;
        if (!locked)
            QThread::msleep(5);
    }
    return locked;
}

void allowOtherClientToForeground() {}

void writeToConsole(const QString &text, bool error)
{
    std::FILE *stream = error ? stderr : stdout;
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace Platform
