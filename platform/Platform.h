#pragma once

#include <QString>
#include <QStringList>

// The few places where the client depends on the operating system. Each function has one
// implementation per system (Platform_win.cpp, Platform_unix.cpp), chosen by the build, so
// the code that calls them reads the same everywhere.
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

// How a local path becomes a file URL. Windows paths begin with a drive letter ("C:/...") or,
// on a network share, with "//server"; elsewhere a local absolute path already begins with "/".
enum class FileUrlStyle
{
    Windows,
    Unix
};
FileUrlStyle fileUrlStyle();

// The default web browser's command line, in the form the Windows registry keeps it: the
// executable's full path in double quotes, a space, then the arguments, where the argument "%1"
// (with its quotes) stands for the address to open. Returns the candidates to try in order; an
// entry is empty when its source holds nothing, and the caller decides which entry is usable.
// Windows: the "Default" value of HKEY_CURRENT_USER\Software\Classes\http\shell\open\command,
// then that of HKEY_CLASSES_ROOT\http\shell\open\command, as raw text.
// Elsewhere: the desktop's default handler of "http" addresses (mimeapps.list and .desktop files),
// its Exec line turned into the form above; an empty list when the desktop names none.
QStringList defaultBrowserCommandLines();

// The file-name pattern of a program in the executable browse dialog: "*.exe" on Windows, any
// name elsewhere, where executables carry no extension.
QString executableFilePattern();

} // namespace Platform
