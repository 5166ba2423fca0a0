#include "TestSupport.h"

#include "platform/Platform.h"
#include "settings/SettingsStore.h"

static const QString suffix = QStringLiteral("/Brimlow Software/Stelvane/Stelvane.ini");

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void readsTheFileWhereAndAsEarlierRunsAndOtherToolsWroteIt()
    {
        const QString folder = QString::fromLocal8Bit(qgetenv("PROGRAMDATA")); // temporary in tests
        QCOMPARE(QDir::fromNativeSeparators(settingsFilePath()), folder + suffix);
        QVERIFY(QDir().mkpath(folder + QFileInfo(suffix).path()));
        // A value of both keys (null: in another section), the flag and the timeout read back.
        const char *rows[][3] = {{nullptr, "0", "0"}, {"", "0", "0"},   {"0", "0", "0"},
                                 {"FALSE", "0", "0"}, {"no", "1", "0"}, {"2500", "1", "2500"}};
        for (const auto &row : rows) {
            QFile file(settingsFilePath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            // A comment of its own length per row, or the previous parse is reused.
            file.write(QByteArray(&row - rows + 1, ';') +
                       (row[0] ? "\n[General]\n" : "\n[Other]\n") + "AutoFindReports=" + row[0] +
                       "\nOpenReportTimeout=" + row[0] + "\n");
            file.close();
            const QSettings settings = openSettings();
            QCOMPARE(settingBool(settings, SettingsKey::AutoFindReports), *row[1] == '1');
            QCOMPARE(settingInt(settings, SettingsKey::OpenReportTimeout), atoi(row[2]));
        }
        // Without PROGRAMDATA: on Windows the current drive's root, elsewhere the configuration
        // folder.
        qunsetenv("PROGRAMDATA");
#ifdef Q_OS_WIN
        QCOMPARE(Platform::settingsFileLocation(), QDir::toNativeSeparators(suffix));
#else
        QCOMPARE(Platform::settingsFileLocation(),
                 QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + suffix);
#endif
        qputenv("PROGRAMDATA", folder.toLocal8Bit());
    }
};

STELVANE_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
