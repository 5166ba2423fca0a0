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

} // namespace Platform
