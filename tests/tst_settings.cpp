#include "TestSupport.h"

#include "platform/Platform.h"
#include "settings/SettingsStore.h"

static const QString suffix = QStringLiteral("/Brimlow Software/Stelvane/Stelvane.ini");

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
        static int writes = 0; // a comment of its own length per file, or the old parse is reused
        QFile file(settingsFilePath());
        QVERIFY(QDir().mkpath(QFileInfo(file).absolutePath()) && file.open(QIODevice::WriteOnly));
        file.write(QByteArray(++writes, ';') + (value.isNull() ? "\n[Other]\n" : "\n[General]\n") +
                   "AutoFindReports=" + value + "\nOpenReportTimeout=" + value + "\n");
        file.close();
        const QSettings settings = openSettings();
        QCOMPARE(settingBool(settings, SettingsKey::AutoFindReports), flag);
        QCOMPARE(settingInt(settings, SettingsKey::OpenReportTimeout), timeout);
    }

    void namesInTheFile() // as earlier runs and other tools wrote them
    {
        const QStringList names = {
            SettingsKey::PathToViewers,     SettingsKey::PathToReports,
            SettingsKey::PathToBrowser,     SettingsKey::BrowserArguments,
            SettingsKey::OpenReportTimeout, SettingsKey::InterceptNewLineInStoneID,
            SettingsKey::AutoFindReports,   SettingsKey::AutoOpenLatestReport,
            SettingsGroup::StackedWindow,   SettingsKey::WindowGeometry,
            SettingsKey::WindowState,       BrowserUrlToken};
        QCOMPARE(names.join(QLatin1Char(' ')),
                 QStringLiteral("PathToViewers PathToReports PathToBrowser BrowserArguments "
                                "OpenReportTimeout InterceptNewLineInStoneID AutoFindReports "
                                "AutoOpenLatestReport StackedWindow WindowGeometry WindowState "
                                "\"%1\""));
    }
};

STELVANE_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
