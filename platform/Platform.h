#pragma once

#include <optional>

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// The few places where the client depends on the operating system. Each function has one
// implementation per system (Platform_win.cpp, Platform_unix.cpp), chosen by the build, so
// the code that calls them reads the same everywhere; splitQuotedCommandLine is the same on every
// system (BrowserCommand.cpp).
namespace Platform {

// Full path of the settings file, computed afresh from the environment on every call.
// Windows: %PROGRAMDATA%\Brimlow Software\Stelvane\Stelvane.ini.
// Elsewhere: $PROGRAMDATA when it is set and not empty, otherwise the user's configuration folder,
// followed by /Brimlow Software/Stelvane/Stelvane.ini.
QString settingsFileLocation();

// Whether a local path is a program the client can start although its name does not end in
// ".exe". Windows knows programs by that ending alone, so there this is always false; elsewhere
// it is true for an executable regular file.
bool isExecutableProgram(const QString &path);

// Gives a new file, open as `handle` and about to replace the file at `path`, that file's owner
// and group as far as the writer may, so that whoever could change the old file can change the
// new one: the group (false when the writer is not a member of it), and the owner where the
// system allows it (an administrator). On Windows the replacement takes the access list its
// folder passes on, as the files that the laboratory's programs write there do: nothing to do.
bool keepOwnerAndGroup(int handle, const QString &path);

// How the file system compares names: Windows ignores letter case ("BROWSER.EXE" is a program,
// "FIREFOX.EXE" is Firefox), other systems do not.
Qt::CaseSensitivity fileNameCaseSensitivity();

// How a local path becomes a file URL. Windows paths begin with a drive letter ("C:/...") or,
// on a network share, with "//server"; elsewhere a local absolute path already begins with "/".
enum class FileUrlStyle
{
    Windows,
    Unix
};
FileUrlStyle fileUrlStyle();

// A browser as the settings keep it: the executable's full path, and its arguments, where the
// argument "%1" (with its quotes) stands for the address to open.
struct BrowserCommand
{
    QString executable;
    QString arguments;
};

// Splits a command line kept in the form the Windows registry keeps it: the executable's path in
// double quotes, a white-space character, then the arguments. The greedy pattern "(.*)"\s(.*),
// which may match anywhere in the text, gives the executable up to the last double quote that a
// white-space character follows. Nothing when the text does not match.
std::optional<BrowserCommand> splitQuotedCommandLine(const QString &commandLine);

// The default web browser's command, as candidates in the order to try them; every candidate is
// usable and the caller takes the first.
// Windows: the "Default" values of HKEY_CLASSES_ROOT\<ProgId>\shell\open\command for the ProgId
// of the user's choice (...\Shell\Associations\UrlAssociations\http\UserChoice), of
// HKEY_CURRENT_USER\Software\Classes\http\shell\open\command and of
// HKEY_CLASSES_ROOT\http\shell\open\command, each split by splitQuotedCommandLine, and an
// argument that is exactly %1 made the token "%1"; a value that is missing or does not match gives
// no candidate.
// Elsewhere: the desktop's default handler of "http" addresses (mimeapps.list and .desktop files),
// its program and its Exec line's arguments with the address codes turned into "%1"; no candidate
// when the desktop names none.
QList<BrowserCommand> defaultBrowserCommands();

// The file-name pattern of a program in the executable browse dialog: "*.exe" on Windows, any
// name elsewhere, where executables carry no extension.
QString executableFilePattern();

// Where the client of this user's desktop session listens for later starts: the QLocalServer name,
// and the name of the lock that one start at a time holds while it finds out whether it is the
// first. Windows: a named pipe, visible machine-wide and so named after the user's SID and the
// logon session, and a mutex in the session's own namespace. Elsewhere: a socket in the user's
// runtime folder named after the display, since one user may have a desktop on each of several
// displays, and a lock file beside it. Both names also follow the settings file, so a client
// started on other settings (a trial on sample data) is a client of its own.
struct SessionEndpoint
{
    QString serverName;
    QString lockName;
};
SessionEndpoint sessionEndpoint();

// The lock of a SessionEndpoint, held from tryLock until destruction. The system releases it when
// the process ends, however it ends, so a crash leaves no lock behind. Taking it costs no write to
// a disk: a mutex on Windows, flock() elsewhere.
class SessionLock
{
public:
    explicit SessionLock(const QString &name);
    ~SessionLock();
    // Waits at most that long for the lock; false when another start kept it.
    bool tryLock(int milliseconds);

private:
    Q_DISABLE_COPY(SessionLock)
    qintptr handle; // the mutex or the open lock file; 0 or -1 when it could not be made
    bool locked = false;
};

// Lets the running client take the foreground when this start hands its Stone ID over. Windows
// gives it only to the process the operator started last, so this start passes it on; elsewhere
// the window system decides, and this does nothing.
void allowOtherClientToForeground();

// Writes a message for the one who started the program from a console (standard output, or
// standard error when `error`). A Windows program with a window has no console of its own: it
// writes to the console of the program that started it, when there is one.
void writeToConsole(const QString &text, bool error);

} // namespace Platform
