#include "TestSupport.h"

#include "app/CSlidingStackedWidget.h"
#include "app/CStackedWindow.h"
#include "platform/Platform.h"
#include "settings/CSettingsWidget.h"
#include "settings/SettingsStore.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>

// What the fake system answers, and what the page asked it.
static QStringList browserCommandLines;
static QUrl directoryAnswer;
static QString fileAnswer;
static QStringList dialogCalls; // caption | start | filter or options

// Writes the [General] section of the settings file. Each file differs in length from the one
// before, so the toolkit never takes it for the file it has already parsed.
static void writeSettings(const QByteArray &general)
{
    static int writes = 0;
    QFile file(settingsFilePath());
    QDir().mkpath(QFileInfo(file).absolutePath());
    if (file.open(QIODevice::WriteOnly))
        file.write(QByteArray(++writes, ';') + "\n[General]\n" + general);
}

static QVariant stored(const QString &key)
{
    return openSettings().value(key);
}

// The widgets as the operator finds them: a field by its label, a button by its text.
template <typename T = QLineEdit> static T *field(const QWidget &page, const QString &label)
{
    for (const QLabel *candidate : page.findChildren<QLabel *>()) {
        if (candidate->text() == label)
            return qobject_cast<T *>(candidate->buddy());
    }
    return nullptr;
}

static QPushButton *button(const QWidget &page, const QString &text)
{
    for (QPushButton *candidate : page.findChildren<QPushButton *>()) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}

static QAbstractButton *boxButton(const QWidget &page, QDialogButtonBox::StandardButton which)
{
    return page.findChild<QDialogButtonBox *>()->button(which);
}

static const QString viewersLabel = QStringLiteral("&Viewers Path:");
static const QString dataLabel = QStringLiteral("&Data Path:");
static const QString executableLabel = QStringLiteral("&Executable:");
static const QString argumentsLabel = QStringLiteral("&Arguments:");
static const QString timeoutLabel = QStringLiteral("&Timeout:");
static const QString token = QStringLiteral("\"%1\"");
static const QStringList textLabels = {viewersLabel, dataLabel, executableLabel, argumentsLabel};

// The four text fields, and the four text keys of the file, in the same order.
static QStringList texts(const QWidget &page)
{
    QStringList result;
    for (const QString &label : textLabels)
        result << field(page, label)->text();
    return result;
}

static QStringList storedTexts()
{
    const QSettings settings = openSettings();
    QStringList result;
    for (const QString &key : {SettingsKey::PathToViewers, SettingsKey::PathToReports,
                               SettingsKey::PathToBrowser, SettingsKey::BrowserArguments})
        result << settingString(settings, key);
    return result;
}

class TestSettingsWidget : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QFile::remove(settingsFilePath());
        browserCommandLines.clear();
        dialogCalls.clear();
        CSettingsWidget::defaultBrowserCommandLines = [] { return browserCommandLines; };
        CSettingsWidget::getExistingDirectoryUrl =
            [](QWidget *, const QString &caption, const QUrl &start, QFileDialog::Options options,
               const QStringList &) {
                dialogCalls << caption + QLatin1Char('|') + start.toString() + QLatin1Char('|') +
                                   QString::number(int(options));
                return directoryAnswer;
            };
        CSettingsWidget::getOpenFileName = [](QWidget *, const QString &caption,
                                              const QString &start, const QString &filter,
                                              QString *, QFileDialog::Options) {
            dialogCalls << caption + QLatin1Char('|') + start + QLatin1Char('|') + filter;
            return fileAnswer;
        };
    }

    void loadsTheSixKeysAndOkSavesThem()
    {
        writeSettings("PathToViewers=D:\\\\Viewers\nPathToReports=//lab/reports\n"
                      "PathToBrowser=/usr/bin/stored\nBrowserArguments=--new-window \\\"%1\\\"\n"
                      "OpenReportTimeout=2500\nInterceptNewLineInStoneID=true\n"
                      "AutoFindReports=true\n");
        browserCommandLines << QStringLiteral("\"/opt/default/browser\" \"%1\""); // not asked for
        CSettingsWidget page;
        QCOMPARE(texts(page),
                 QStringList({QStringLiteral("D:\\Viewers"), QStringLiteral("//lab/reports"),
                              QStringLiteral("/usr/bin/stored"),
                              QStringLiteral("--new-window \"%1\"")}));
        QCOMPARE(field<QSpinBox>(page, timeoutLabel)->text(), QStringLiteral("2500 ms"));
        auto *intercept = page.findChild<QCheckBox *>();
        QCOMPARE(intercept->text(), QStringLiteral("&Intercept new line in Stone ID"));
        QVERIFY(intercept->isChecked());

        const QStringList edited = {QStringLiteral("V:/viewers, new"), QString(),
                                    QStringLiteral("/usr/bin/edited"), QStringLiteral("-a b")};
        for (int i = 0; i < textLabels.size(); ++i) {
            field(page, textLabels[i])->clear();
            QTest::keyClicks(field(page, textLabels[i]), edited[i]);
        }
        field<QSpinBox>(page, timeoutLabel)->setValue(777);
        intercept->click();
        QStringList emitted;
        connect(&page, &CSettingsWidget::settingsChanged,
                [&] { emitted << QStringLiteral("changed"); });
        connect(&page, &CSettingsWidget::closeSettings,
                [&] { emitted << QStringLiteral("close"); });
        boxButton(page, QDialogButtonBox::Ok)->click();

        QCOMPARE(emitted, QStringList({QStringLiteral("changed"), QStringLiteral("close")}));
        QCOMPARE(storedTexts(), edited);
        QVERIFY(openSettings().contains(SettingsKey::PathToReports)); // stored empty, not dropped
        QCOMPARE(stored(SettingsKey::OpenReportTimeout).toInt(), 777);
        QCOMPARE(stored(SettingsKey::InterceptNewLineInStoneID).toBool(), false);
        QCOMPARE(stored(SettingsKey::AutoFindReports).toBool(), true); // not the page's key
    }

    void timeoutShownAndStored_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("shown");
        QTest::newRow("absent") << QByteArray() << QStringLiteral("1000 ms");
        QTest::newRow("zero") << QByteArray("OpenReportTimeout=0\n") << QStringLiteral("1000 ms");
        QTest::newRow("below") << QByteArray("OpenReportTimeout=100\n") << QStringLiteral("500 ms");
        QTest::newRow("above") << QByteArray("OpenReportTimeout=60000\n")
                               << QStringLiteral("50000 ms");
    }

    void timeoutShownAndStored()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, shown);
        writeSettings("PathToBrowser=/usr/bin/b\n" + line);
        CSettingsWidget page;
        QCOMPARE(field<QSpinBox>(page, timeoutLabel)->text(), shown);
        boxButton(page, QDialogButtonBox::Ok)->click();
        QCOMPARE(stored(SettingsKey::OpenReportTimeout).toString() + QStringLiteral(" ms"), shown);
    }

    void cancelRestoresTheFile_data()
    {
        QTest::addColumn<QByteArray>("timeoutLine");
        QTest::addColumn<int>("timeoutAfterCancel");
        QTest::newRow("stored timeout") << QByteArray("OpenReportTimeout=2500\n") << 2500;
        QTest::newRow("no timeout keeps the edit") << QByteArray() << 4000;
    }

    void cancelRestoresTheFile()
    {
        QFETCH(QByteArray, timeoutLine);
        QFETCH(int, timeoutAfterCancel);
        const QByteArray file = "PathToViewers=/v\nPathToReports=/r\nPathToBrowser=/b\n"
                                "BrowserArguments=-x\nInterceptNewLineInStoneID=true\n" +
                                timeoutLine;
        writeSettings(file);
        CSettingsWidget page;
        for (const QString &label : textLabels)
            QTest::keyClicks(field(page, label), QStringLiteral("-edited"));
        field<QSpinBox>(page, timeoutLabel)->setValue(4000);
        page.findChild<QCheckBox *>()->click();
        QSignalSpy changed(&page, &CSettingsWidget::settingsChanged);
        QSignalSpy closed(&page, &CSettingsWidget::closeSettings);
        boxButton(page, QDialogButtonBox::Cancel)->click();

        QCOMPARE(closed.count(), 1);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(texts(page), QStringList({QStringLiteral("/v"), QStringLiteral("/r"),
                                           QStringLiteral("/b"), QStringLiteral("-x")}));
        QVERIFY(page.findChild<QCheckBox *>()->isChecked());
        QCOMPARE(field<QSpinBox>(page, timeoutLabel)->value(), timeoutAfterCancel);
        QVERIFY(TestDir::readAll(settingsFilePath()).endsWith(file)); // nothing written
    }

    // The first start without a browser takes the system's default: the first candidate that
    // matches "(.*)"\s(.*), written to the file before the page is ever shown.
    void defaultBrowserAtFirstStart_data()
    {
        QTest::addColumn<QStringList>("commandLines");
        QTest::addColumn<QString>("executable"); // null: nothing matched
        QTest::addColumn<QString>("arguments");
        QTest::newRow("quoted path, arguments ending in the token")
            << QStringList({QStringLiteral(
                   "\"C:\\Program Files\\Browser\\browser.exe\" --single-argument \"%1\"")})
            << QStringLiteral("C:\\Program Files\\Browser\\browser.exe")
            << QStringLiteral("--single-argument \"%1\"");
        QTest::newRow("quoted option: the first group is greedy")
            << QStringList({QStringLiteral("\"C:\\B\\b.exe\" \"-osint\" \"%1\"")})
            << QStringLiteral("C:\\B\\b.exe\" \"-osint") << token;
        QTest::newRow("second candidate when the first has no quotes")
            << QStringList(
                   {QStringLiteral("C:\\B\\b.exe %1"), QStringLiteral("\"C:\\O\\o.exe\" \"%1\"")})
            << QStringLiteral("C:\\O\\o.exe") << token;
        QTest::newRow("nothing matches")
            << QStringList({QStringLiteral("C:\\B\\b.exe %1"), QString()}) << QString()
            << QString();
    }

    void defaultBrowserAtFirstStart()
    {
        QFETCH(QStringList, commandLines);
        QFETCH(QString, executable);
        QFETCH(QString, arguments);
        browserCommandLines = commandLines;
        CSettingsWidget page;
        const QStringList expected = {QString(), QString(), executable, arguments};
        QCOMPARE(texts(page), expected);
        QCOMPARE(storedTexts(), expected);
        // Only the two browser keys are written, and only with a match.
        QCOMPARE(openSettings().allKeys().size(), executable.isNull() ? 0 : 2);
    }

    void loadDefaultWritesAtOnceAndCancelKeepsIt()
    {
        writeSettings("PathToViewers=/v\nPathToBrowser=/usr/bin/old\nBrowserArguments=--old\n");
        browserCommandLines << QStringLiteral("\"/opt/new/browser\" -n \"%1\"");
        CSettingsWidget page;
        QTest::keyClicks(field(page, viewersLabel), QStringLiteral("-edited"));
        button(page, QStringLiteral("&Load Default"))->click();
        const QString path = QStringLiteral("/opt/new/browser"),
                      arguments = QStringLiteral("-n \"%1\"");
        QCOMPARE(texts(page),
                 QStringList({QStringLiteral("/v-edited"), QString(), path, arguments}));
        QCOMPARE(storedTexts(), QStringList({QStringLiteral("/v"), QString(), path, arguments}));
        boxButton(page, QDialogButtonBox::Cancel)->click();
        QCOMPARE(texts(page), storedTexts());
    }

    void resetBrowserArguments_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("browse");    // else Return in the executable field
        QTest::addColumn<QString>("chosen"); // the browse dialog's answer
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("arguments");
        const QString path = QStringLiteral("/opt/default/browser");
        const QString defaultArguments = QStringLiteral("--x \"%1\"");
        QTest::newRow("browse another") << QByteArray() << true << QStringLiteral("/usr/bin/other")
                                        << QStringLiteral("/usr/bin/other") << token;
        QTest::newRow("browse the default")
            << QByteArray() << true << path << path << defaultArguments;
        QTest::newRow("browse cancelled")
            << QByteArray() << true << QString() << path << defaultArguments;
        QTest::newRow("Return on the default")
            << QByteArray() << false << QString() << path << defaultArguments;
        QTest::newRow("Return on a path from the file")
            << QByteArray("PathToBrowser=/usr/bin/stored\nBrowserArguments=--keep\n") << false
            << QString() << QStringLiteral("/usr/bin/stored") << token;
    }

    void resetBrowserArguments()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, browse);
        QFETCH(QString, chosen);
        QFETCH(QString, executable);
        QFETCH(QString, arguments);
        if (!file.isEmpty())
            writeSettings(file);
        browserCommandLines << QStringLiteral("\"/opt/default/browser\" --x \"%1\"");
        fileAnswer = chosen;
        CSettingsWidget page;
        QLineEdit *edit = field(page, executableLabel);
        const QString before = edit->text();
        if (browse) {
            button(page, QStringLiteral("Bro&wse..."))->click();
#ifdef Q_OS_WIN
            const QString filter = QStringLiteral("Executable Files (*.exe)");
#else
            const QString filter = QStringLiteral("Executable Files (*)");
#endif
            QCOMPARE(dialogCalls, QStringList({QStringLiteral("Open File|") + before +
                                               QLatin1Char('|') + filter}));
        } else {
            QTest::keyClick(edit, Qt::Key_Return);
        }
        QCOMPARE(edit->text(), executable);
        QCOMPARE(field(page, argumentsLabel)->text(), arguments);
    }

    void browseDirectory_data()
    {
        QTest::addColumn<QString>("buttonText");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QUrl>("answer");
        QTest::addColumn<QString>("expected");
        const QString start = QStringLiteral("/srv/start");
        QTest::newRow("viewers") << QStringLiteral("&Browse...") << viewersLabel
                                 << QUrl::fromLocalFile(QStringLiteral("/srv/new viewers"))
                                 << QDir::toNativeSeparators(QStringLiteral("/srv/new viewers"));
        QTest::newRow("data") << QStringLiteral("Br&owse...") << dataLabel
                              << QUrl::fromLocalFile(QStringLiteral("/srv/reports"))
                              << QDir::toNativeSeparators(QStringLiteral("/srv/reports"));
        QTest::newRow("not a local folder") << QStringLiteral("&Browse...") << viewersLabel
                                            << QUrl(QStringLiteral("https://host/folder")) << start;
    }

    void browseDirectory()
    {
        QFETCH(QString, buttonText);
        QFETCH(QString, label);
        QFETCH(QUrl, answer);
        QFETCH(QString, expected);
        writeSettings("PathToViewers=/srv/start\nPathToReports=/srv/start\nPathToBrowser=/b\n");
        directoryAnswer = answer;
        CSettingsWidget page;
        button(page, buttonText)->click();
        const int options = QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks;
        QCOMPARE(dialogCalls, QStringList({QStringLiteral("Open Directory|file:///srv/start|") +
                                           QString::number(options)}));
        QCOMPARE(field(page, label)->text(), expected);
    }

    void closingSlidesBackToTheOpenReportPage()
    {
        CStackedWindow window;
        window.show();
        auto *stack = qobject_cast<CSlidingStackedWidget *>(window.centralWidget());
        auto *page = qobject_cast<CSettingsWidget *>(stack->widget(1));
        QVERIFY(page);
        stack->slide(1);
        QTRY_COMPARE(stack->currentIndex(), 1);
        boxButton(*page, QDialogButtonBox::Cancel)->click();
        QTRY_COMPARE(stack->currentIndex(), 0);
    }

    // The desktop lookup in a fake desktop: each scenario runs in a child process, since GLib
    // reads the XDG folders once per process.
    void desktopDefaultBrowser_data()
    {
        QTest::addColumn<QString>("program");  // relative to the fake home; made executable
        QTest::addColumn<QByteArray>("exec");  // the Exec line; empty: no handler at all
        QTest::addColumn<QString>("expected"); // %H stands for the fake home
        QTest::newRow("quoted path with a space, %U")
            << QStringLiteral("My Browser/browser")
            << QByteArray("\"%H/My Browser/browser\" %U --new-window")
            << QStringLiteral("\"%H/My Browser/browser\" \"%1\" --new-window");
        QTest::newRow("name on the PATH, %u and %%")
            << QStringLiteral("bin/webview") << QByteArray("webview --title=100%% %u --icon %i")
            << QStringLiteral("\"%H/bin/webview\" --title=100% \"%1\" --icon");
        QTest::newRow("no address code")
            << QStringLiteral("bin/webview") << QByteArray("webview --private")
            << QStringLiteral("\"%H/bin/webview\" --private \"%1\"");
        QTest::newRow("no handler") << QString() << QByteArray() << QString();
    }

    void desktopDefaultBrowser()
    {
        QFETCH(QString, program);
        QFETCH(QByteArray, exec);
        QFETCH(QString, expected);
        TestDir home;
        const QByteArray homePath = QFile::encodeName(home.path());
        if (!program.isEmpty()) {
            QFile file(home.createFile(program, "#!/bin/sh\n"));
            QVERIFY(file.setPermissions(file.permissions() | QFile::ExeOwner));
            home.createFile(QStringLiteral("config/mimeapps.list"),
                            "[Default Applications]\nx-scheme-handler/http=fakebrowser.desktop\n");
            home.createFile(QStringLiteral("data/applications/fakebrowser.desktop"),
                            "[Desktop Entry]\nType=Application\nName=Fake Browser\nExec=" +
                                exec.replace("%H", homePath) +
                                "\nMimeType=x-scheme-handler/http;\n");
        }
        // Nothing of the machine's own desktop: empty system folders, only the fake home's
        // programs.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("XDG_CURRENT_DESKTOP"));
        const auto set = [&](const char *name, const QString &value) {
            environment.insert(QLatin1String(name), value);
        };
        set("STELVANE_DESKTOP_LOOKUP", QStringLiteral("1"));
        set("HOME", home.path());
        set("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")));
        set("XDG_DATA_HOME", home.filePath(QStringLiteral("data")));
        set("XDG_CONFIG_DIRS", home.createDir(QStringLiteral("etc")));
        set("XDG_DATA_DIRS", home.createDir(QStringLiteral("share")));
        set("PATH", home.filePath(QStringLiteral("bin")) + QStringLiteral(":/usr/bin:/bin"));
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), QStringList());
        QVERIFY(child.waitForFinished(20000));
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()),
                 expected.replace(QStringLiteral("%H"), home.path()));
    }
};

#define main testMain
STELVANE_TEST_MAIN(TestSettingsWidget)
#undef main

int main(int argc, char *argv[])
{
    // A child run of desktopDefaultBrowser: one lookup in the environment it was given.
    if (qEnvironmentVariableIsSet("STELVANE_DESKTOP_LOOKUP")) {
        fputs(Platform::defaultBrowserCommandLines().join(QLatin1Char('\n')).toUtf8(), stdout);
        return 0;
    }
    return testMain(argc, argv);
}

#include "tst_settingswidget.moc"
