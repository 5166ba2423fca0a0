#include "TestSupport.h"

#include "platform/Platform.h"
#include "settings/SettingsStore.h"

#include <QDateTime>
#include <QSettings>
#include <QStandardPaths>

// Sets or unsets an environment variable for one scope and puts the old value back after it.
class EnvironmentOverride
{
public:
    explicit EnvironmentOverride(const char *name) : name(name)
    {
        wasSet = qEnvironmentVariableIsSet(name);
        oldValue = qgetenv(name);
    }
    ~EnvironmentOverride()
    {
        if (wasSet)
            qputenv(name, oldValue);
        else
            qunsetenv(name);
    }
    Q_DISABLE_COPY(EnvironmentOverride)

private:
    const char *name;
    bool wasSet = false;
    QByteArray oldValue;
};

static const QString settingsSuffix = QStringLiteral("/Brimlow Software/Stelvane/Stelvane.ini");

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void pathHonoursProgramData();
    void pathIsBuiltOnce();
    void locationWithoutProgramData();

    void keyNames_data();
    void keyNames();
    void browserUrlToken();

    void booleanKeys_data();
    void booleanKeys();
    void integerKeys_data();
    void integerKeys();
    void stringKeys_data();
    void stringKeys();
    void unreadableFileReadsAsAbsent_data();
    void unreadableFileReadsAsAbsent();

    void onlyWindowKeysAreInAGroup();
    void valuesSurviveReopening();

private:
    void writeRawSettings(const QByteArray &text);
    int rawWrites = 0;
};

void TestSettings::init()
{
    QFile::remove(settingsFilePath());
}

// Writes the settings file as an editor would. The toolkit keeps parsed settings files in a
// cache and only reads a file again when its size or modification time changed, so every write
// gets a modification time of its own.
void TestSettings::writeRawSettings(const QByteArray &text)
{
    const QString path = settingsFilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(text), qint64(text.size()));
    ++rawWrites;
    const QDateTime stamp =
        QDateTime::currentDateTime().addSecs(-100000).addSecs(qint64(rawWrites) * 10);
    QVERIFY(file.setFileTime(stamp, QFileDevice::FileModificationTime));
    file.close();
}

void TestSettings::pathHonoursProgramData()
{
    const QString programData = QString::fromLocal8Bit(qgetenv("PROGRAMDATA"));
    QVERIFY(!programData.isEmpty());
#ifdef Q_OS_WIN
    QCOMPARE(settingsFilePath(),
             programData + QStringLiteral("\\Brimlow Software\\Stelvane\\Stelvane.ini"));
#else
    QCOMPARE(settingsFilePath(), programData + settingsSuffix);
#endif
    QCOMPARE(Platform::settingsFileLocation(), settingsFilePath());

    // The file that the store opens is the one at that path.
    {
        QSettings settings = openSettings();
        QCOMPARE(settings.format(), QSettings::IniFormat);
        QCOMPARE(QDir::cleanPath(settings.fileName()), QDir::cleanPath(settingsFilePath()));
        settings.setValue(SettingsKey::PathToReports, QStringLiteral("/srv/reports"));
    }
    QVERIFY(QFileInfo::exists(settingsFilePath()));
}

void TestSettings::pathIsBuiltOnce()
{
    const QString first = settingsFilePath();
    TestDir other;
    QVERIFY(other.isValid());
    {
        EnvironmentOverride restore("PROGRAMDATA");
        qputenv("PROGRAMDATA", QFile::encodeName(other.path()));
#ifndef Q_OS_WIN
        QCOMPARE(Platform::settingsFileLocation(), other.path() + settingsSuffix);
#endif
        // Later changes of the environment do not move the file.
        QCOMPARE(settingsFilePath(), first);
        {
            QSettings settings = openSettings();
            settings.setValue(SettingsKey::PathToViewers, QStringLiteral("/srv/viewers"));
        }
        QVERIFY(QFileInfo::exists(first));
        QVERIFY(!QFileInfo::exists(other.path() + settingsSuffix));
    }
    QCOMPARE(settingsFilePath(), first);
}

void TestSettings::locationWithoutProgramData()
{
#ifdef Q_OS_WIN
    QSKIP("Windows has no fallback folder: the fixed text alone names the file");
#else
    const QString expected =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + settingsSuffix;
    const QString cached = settingsFilePath();
    {
        EnvironmentOverride restore("PROGRAMDATA");
        qunsetenv("PROGRAMDATA");
        QCOMPARE(Platform::settingsFileLocation(), expected);
        // Set but empty would put the file at the root of the file system.
        qputenv("PROGRAMDATA", QByteArray());
        QCOMPARE(Platform::settingsFileLocation(), expected);
        QCOMPARE(settingsFilePath(), cached);
    }
    QVERIFY(!qgetenv("PROGRAMDATA").isEmpty());
    QCOMPARE(Platform::settingsFileLocation(), cached);
#endif
}

void TestSettings::keyNames_data()
{
    QTest::addColumn<QString>("constant");
    QTest::addColumn<QString>("text");

    const auto row = [](const QString &constant, const char *text) {
        QTest::newRow(text) << constant << QString::fromLatin1(text);
    };
    row(SettingsKey::PathToViewers, "PathToViewers");
    row(SettingsKey::PathToReports, "PathToReports");
    row(SettingsKey::PathToBrowser, "PathToBrowser");
    row(SettingsKey::BrowserArguments, "BrowserArguments");
    row(SettingsKey::OpenReportTimeout, "OpenReportTimeout");
    row(SettingsKey::InterceptNewLineInStoneID, "InterceptNewLineInStoneID");
    row(SettingsKey::AutoFindReports, "AutoFindReports");
    row(SettingsKey::AutoOpenLatestReport, "AutoOpenLatestReport");
    row(SettingsKey::WindowGeometry, "WindowGeometry");
    row(SettingsKey::WindowState, "WindowState");
    row(SettingsGroup::StackedWindow, "StackedWindow");
}

void TestSettings::keyNames()
{
    QFETCH(QString, constant);
    QFETCH(QString, text);
    // Files written by earlier versions must keep working: the names are part of the format.
    QCOMPARE(constant, text);
}

void TestSettings::browserUrlToken()
{
    QCOMPARE(BrowserUrlToken.size(), 4);
    QCOMPARE(BrowserUrlToken, QStringLiteral("\"%1\""));
}

void TestSettings::booleanKeys_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("expected");

    QTest::newRow("absent") << QByteArray() << false;
    QTest::newRow("empty") << QByteArray("AutoFindReports=") << false;
    QTest::newRow("0") << QByteArray("AutoFindReports=0") << false;
    QTest::newRow("false") << QByteArray("AutoFindReports=false") << false;
    QTest::newRow("FALSE") << QByteArray("AutoFindReports=FALSE") << false;
    QTest::newRow("False") << QByteArray("AutoFindReports=False") << false;
    QTest::newRow("fAlSe") << QByteArray("AutoFindReports=fAlSe") << false;
    QTest::newRow("spaces around false") << QByteArray("AutoFindReports = false ") << false;
    QTest::newRow("true") << QByteArray("AutoFindReports=true") << true;
    QTest::newRow("TRUE") << QByteArray("AutoFindReports=TRUE") << true;
    QTest::newRow("1") << QByteArray("AutoFindReports=1") << true;
    QTest::newRow("2") << QByteArray("AutoFindReports=2") << true;
    QTest::newRow("yes") << QByteArray("AutoFindReports=yes") << true;
    QTest::newRow("no") << QByteArray("AutoFindReports=no") << true;
    QTest::newRow("00") << QByteArray("AutoFindReports=00") << true;
    QTest::newRow("falsey") << QByteArray("AutoFindReports=falsey") << true;
    QTest::newRow("other key set") << QByteArray("AutoOpenLatestReport=true") << false;
}

void TestSettings::booleanKeys()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, expected);

    writeRawSettings("[General]\nPathToReports=/srv/reports\n" + line + "\n");
    QSettings settings = openSettings();
    QCOMPARE(settingBool(settings, SettingsKey::AutoFindReports), expected);
    // The same line outside [General] does not count for a key of the [General] section.
    writeRawSettings("[StackedWindow]\n" + line + "\n");
    QSettings again = openSettings();
    QCOMPARE(settingBool(again, SettingsKey::AutoFindReports), false);
}

void TestSettings::integerKeys_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("expected");

    QTest::newRow("absent") << QByteArray() << 0;
    QTest::newRow("empty") << QByteArray("OpenReportTimeout=") << 0;
    QTest::newRow("0") << QByteArray("OpenReportTimeout=0") << 0;
    QTest::newRow("2500") << QByteArray("OpenReportTimeout=2500") << 2500;
    QTest::newRow("50000") << QByteArray("OpenReportTimeout=50000") << 50000;
    QTest::newRow("abc") << QByteArray("OpenReportTimeout=abc") << 0;
    QTest::newRow("2500ms") << QByteArray("OpenReportTimeout=2500ms") << 0;
    QTest::newRow("negative") << QByteArray("OpenReportTimeout=-5") << -5;
    QTest::newRow("as written by the toolkit") << QByteArray("OpenReportTimeout=@Variant(\\0\\0\\0"
                                                             "\\x2\\0\\0\\x3\\xe8)")
                                               << 1000;
}

void TestSettings::integerKeys()
{
    QFETCH(QByteArray, line);
    QFETCH(int, expected);

    writeRawSettings("[General]\n" + line + "\n");
    QSettings settings = openSettings();
    QCOMPARE(settingInt(settings, SettingsKey::OpenReportTimeout), expected);
}

void TestSettings::stringKeys_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("expected");

    QTest::newRow("absent") << QByteArray() << QString();
    QTest::newRow("empty") << QByteArray("PathToBrowser=") << QString();
    QTest::newRow("unix path") << QByteArray("PathToBrowser=/usr/bin/firefox")
                               << QStringLiteral("/usr/bin/firefox");
    QTest::newRow("windows path, escaped")
        << QByteArray("PathToBrowser=C:\\\\Program Files\\\\Browser\\\\browser.exe")
        << QStringLiteral("C:\\Program Files\\Browser\\browser.exe");
    QTest::newRow("UNC path with forward slashes")
        << QByteArray("PathToBrowser=//server/share/browser.exe")
        << QStringLiteral("//server/share/browser.exe");
    QTest::newRow("quoted arguments with token")
        << QByteArray("PathToBrowser=\"--new-window \\\"%1\\\"\"")
        << QStringLiteral("--new-window \"%1\"");
    QTest::newRow("escaped quotes around the token")
        << QByteArray("PathToBrowser=--new-window \\\"%1\\\"")
        << QStringLiteral("--new-window \"%1\"");
    QTest::newRow("quoted value with a comma")
        << QByteArray("PathToBrowser=\"D:/Labs, North/Reports\"")
        << QStringLiteral("D:/Labs, North/Reports");
    QTest::newRow("number") << QByteArray("PathToBrowser=42") << QStringLiteral("42");
}

void TestSettings::stringKeys()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, expected);

    writeRawSettings("[General]\n" + line + "\n");
    QSettings settings = openSettings();
    QCOMPARE(settingString(settings, SettingsKey::PathToBrowser), expected);
}

void TestSettings::unreadableFileReadsAsAbsent_data()
{
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("binary garbage") << QByteArray("\0\xff\xfe[[[=\n\x01\x02=", 13);
    QTest::newRow("keys in another section") << QByteArray("[Other]\nAutoFindReports=true\n");
    QTest::newRow("values without keys") << QByteArray("=true\n=2500\n");
}

void TestSettings::unreadableFileReadsAsAbsent()
{
    QFETCH(QByteArray, content);

    writeRawSettings(content);
    QSettings settings = openSettings();
    QCOMPARE(settingBool(settings, SettingsKey::AutoFindReports), false);
    QCOMPARE(settingInt(settings, SettingsKey::OpenReportTimeout), 0);
    QCOMPARE(settingString(settings, SettingsKey::PathToReports), QString());
    settings.beginGroup(SettingsGroup::StackedWindow);
    QVERIFY(settingByteArray(settings, SettingsKey::WindowGeometry).isEmpty());
    settings.endGroup();
}

void TestSettings::onlyWindowKeysAreInAGroup()
{
    {
        QSettings settings = openSettings();
        settings.setValue(SettingsKey::PathToViewers, QStringLiteral("/srv/viewers"));
        settings.setValue(SettingsKey::PathToReports, QStringLiteral("/srv/reports"));
        settings.setValue(SettingsKey::PathToBrowser, QStringLiteral("/usr/bin/browser"));
        settings.setValue(SettingsKey::BrowserArguments, QStringLiteral("--new-window \"%1\""));
        settings.setValue(SettingsKey::OpenReportTimeout, 2500);
        settings.setValue(SettingsKey::InterceptNewLineInStoneID, true);
        settings.setValue(SettingsKey::AutoFindReports, true);
        settings.setValue(SettingsKey::AutoOpenLatestReport, false);
        settings.beginGroup(SettingsGroup::StackedWindow);
        settings.setValue(SettingsKey::WindowGeometry, QByteArray("geometry"));
        settings.setValue(SettingsKey::WindowState, QByteArray("state"));
        settings.endGroup();
    }

    const QByteArray text = TestDir::readAll(settingsFilePath());
    QVERIFY2(text.startsWith("[General]\n"), text.constData());
    QVERIFY2(text.contains("\n[StackedWindow]\n"), text.constData());
    QCOMPARE(text.count('['), 2);
    // Plain INI text that an operator can read and edit.
    QVERIFY2(text.contains("\nOpenReportTimeout=2500\n"), text.constData());
    QVERIFY2(text.contains("\nAutoFindReports=true\n"), text.constData());
    QVERIFY2(text.contains("\nAutoOpenLatestReport=false\n"), text.constData());
    QVERIFY2(text.contains("\nPathToReports=/srv/reports\n"), text.constData());

    QSettings settings = openSettings();
    QCOMPARE(settings.childGroups(), QStringList{SettingsGroup::StackedWindow});
    QCOMPARE(settings.childKeys().size(), 8);
    settings.beginGroup(SettingsGroup::StackedWindow);
    QStringList windowKeys = settings.childKeys();
    windowKeys.sort();
    QCOMPARE(windowKeys, QStringList({SettingsKey::WindowGeometry, SettingsKey::WindowState}));
    QCOMPARE(settingByteArray(settings, SettingsKey::WindowGeometry), QByteArray("geometry"));
    settings.endGroup();
}

void TestSettings::valuesSurviveReopening()
{
    const QString browserArguments = QStringLiteral("--kiosk \"%1\" --profile C:\\Temp\\p");
    {
        QSettings settings = openSettings();
        settings.setValue(SettingsKey::BrowserArguments, browserArguments);
        settings.setValue(SettingsKey::OpenReportTimeout, 500);
        settings.setValue(SettingsKey::InterceptNewLineInStoneID, true);
    }
    // Each reader opens the file afresh and sees what the last writer left in it.
    QSettings settings = openSettings();
    QCOMPARE(settingString(settings, SettingsKey::BrowserArguments), browserArguments);
    QCOMPARE(settingInt(settings, SettingsKey::OpenReportTimeout), 500);
    QCOMPARE(settingBool(settings, SettingsKey::InterceptNewLineInStoneID), true);
    QCOMPARE(settingBool(settings, SettingsKey::AutoFindReports), false);
}

STELVANE_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
