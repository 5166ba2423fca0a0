#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>

// Full path of the INI file that holds every persistent setting. Built on the first call and
// kept for the rest of the process.
QString settingsFilePath();

// Opens the settings file afresh. Every reader and writer opens it, reads or writes its keys
// and lets it go out of scope; the toolkit writes pending changes when the object is released.
QSettings openSettings();

// Writes the changes made through `settings` to the file at once. False when the file cannot be
// written: the changes then stay with this process, which reads them back until it ends.
bool saveSettingsFile(QSettings &settings);

namespace SettingsKey {
inline const QString PathToViewers = QStringLiteral("PathToViewers");
inline const QString PathToReports = QStringLiteral("PathToReports");
inline const QString PathToBrowser = QStringLiteral("PathToBrowser");
inline const QString BrowserArguments = QStringLiteral("BrowserArguments");
inline const QString OpenReportTimeout = QStringLiteral("OpenReportTimeout");
inline const QString InterceptNewLineInStoneID = QStringLiteral("InterceptNewLineInStoneID");
inline const QString AutoFindReports = QStringLiteral("AutoFindReports");
inline const QString AutoOpenLatestReport = QStringLiteral("AutoOpenLatestReport");
inline const QString WindowGeometry = QStringLiteral("WindowGeometry");
inline const QString WindowState = QStringLiteral("WindowState");
} // namespace SettingsKey

namespace SettingsGroup {
// The main window's keys; every other key lives in the [General] section.
inline const QString StackedWindow = QStringLiteral("StackedWindow");
} // namespace SettingsGroup

// The browser argument that is replaced as a whole by the viewer URL: "%1" with its quotes.
inline const QString BrowserUrlToken = QStringLiteral("\"%1\"");

// Typed reads. An absent key reads as an invalid QVariant and so as "", 0, false or an empty
// byte array; a non-numeric integer reads as 0; a boolean is false for "", "0" and "false"
// in any letter case and true for any other text.
QString settingString(const QSettings &settings, const QString &key);
int settingInt(const QSettings &settings, const QString &key);
bool settingBool(const QSettings &settings, const QString &key);
QByteArray settingByteArray(const QSettings &settings, const QString &key);
