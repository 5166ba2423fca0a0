#include "settings/SettingsStore.h"

#include "platform/Platform.h"

#include <QVariant>

QString settingsFilePath()
{
    static const QString path = Platform::settingsFileLocation();
    return path;
}

QSettings openSettings()
{
    return QSettings(settingsFilePath(), QSettings::IniFormat);
}

bool saveSettingsFile(QSettings &settings)
{
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString settingString(const QSettings &settings, const QString &key)
{
    return settings.value(key, QVariant()).toString();
}

int settingInt(const QSettings &settings, const QString &key)
{
    return settings.value(key, QVariant()).toInt();
}

bool settingBool(const QSettings &settings, const QString &key)
{
    return settings.value(key, QVariant()).toBool();
}

QByteArray settingByteArray(const QSettings &settings, const QString &key)
{
    return settings.value(key, QVariant()).toByteArray();
}
