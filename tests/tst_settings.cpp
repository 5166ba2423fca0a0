#include "TestSupport.h"

#include "platform/Platform.h"
#include "settings/SettingsStore.h"

static const QString suffix = QStringLiteral("/Brimlow Software/Stelvane/Stelvane.ini");

// Writes the settings file as another program run or an operator would leave it.
static void writeSettingsFile(const QByteArray &text)
{
    static int writes = 0; // a comment of its own length per file, or the old parse is reused
    QFile file(settingsFilePath());
    QVERIFY(QDir().mkpath(QFileInfo(file).absolutePath()) && file.open(QIODevice::WriteOnly));
    file.write(QByteArray(++writes, ';') + '\n' + text);
}

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void location()
    {
        const QString folder = QString::fromLocal8Bit(qgetenv("PROGRAMDATA")); // temporary in tests
        QCOMPARE(QDir::fromNativeSeparators(settingsFilePath()), folder + suffix);
#ifndef Q_OS_WIN // elsewhere the user's configuration folder stands in for an unset PROGRAMDATA
        qunsetenv("PROGRAMDATA");
        const auto restore = qScopeGuard([&] { qputenv("PROGRAMDATA", folder.toLocal8Bit()); });
        QCOMPARE(Platform::settingsFileLocation(),
                 QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + suffix);
#endif
    }

    void typedReads_data()
    {
        QTest::addColumn<QByteArray>("value"); // of both keys; null puts them in another section
        QTest::addColumn<bool>("flag");
        QTest::addColumn<int>("timeout");
        QTest::newRow("absent") << QByteArray() << false << 0;
        QTest::newRow("empty") << QByteArray("") << false << 0;
        QTest::newRow("0") << QByteArray("0") << false << 0;
        QTest::newRow("false") << QByteArray("false") << false << 0;
        QTest::newRow("FALSE") << QByteArray("FALSE") << false << 0;
        QTest::newRow("other text") << QByteArray("no") << true << 0;
        QTest::newRow("number") << QByteArray("2500") << true << 2500;
    }

    void typedReads()
    {
        QFETCH(QByteArray, value);
        QFETCH(bool, flag);
        QFETCH(int, timeout);
        writeSettingsFile((value.isNull() ? "[Other]\n" : "[General]\n") +
                          QByteArray("AutoFindReports=") + value + "\nOpenReportTimeout=" + value +
                          "\n");
        const QSettings settings = openSettings();
        QCOMPARE(settingBool(settings, SettingsKey::AutoFindReports), flag);
        QCOMPARE(settingInt(settings, SettingsKey::OpenReportTimeout), timeout);
    }

    void everyKeyReadsFromItsSection()
    {
        const QList<QString> keys = {
            SettingsKey::PathToViewers,     SettingsKey::PathToReports,
            SettingsKey::PathToBrowser,     SettingsKey::BrowserArguments,
            SettingsKey::OpenReportTimeout, SettingsKey::InterceptNewLineInStoneID,
            SettingsKey::AutoFindReports,   SettingsKey::AutoOpenLatestReport};
        writeSettingsFile("[General]\nPathToViewers=1\nPathToReports=2\nPathToBrowser=3\n"
                          "BrowserArguments=4\nOpenReportTimeout=5\nInterceptNewLineInStoneID=6\n"
                          "AutoFindReports=7\nAutoOpenLatestReport=8\n"
                          "[StackedWindow]\nWindowGeometry=9\nWindowState=10\n");
        QSettings settings = openSettings();
        QStringList values;
        for (const QString &key : keys)
            values << settingString(settings, key);
        settings.beginGroup(SettingsGroup::StackedWindow);
        values << settingString(settings, SettingsKey::WindowGeometry)
               << settingString(settings, SettingsKey::WindowState);
        QCOMPARE(values.join(QLatin1Char(' ')), QStringLiteral("1 2 3 4 5 6 7 8 9 10"));
        QCOMPARE(BrowserUrlToken, QStringLiteral("\"%1\""));
    }
};

STELVANE_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
