#pragma once

#include <QString>

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

} // namespace Platform
