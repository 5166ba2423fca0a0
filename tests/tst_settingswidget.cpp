#include "TestSupport.h"

#include "platform/Platform.h"
#include "settings/CSettingsWidget.h"
#include "settings/SettingsStore.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>

// What the fake system answers, and what the page asked it.
static QStringList browserCommandLines, dialogCalls; // dialogCalls: start|options of each
static QUrl directoryAnswer;
static QString fileAnswer;

// Each file differs in length, so the toolkit never takes it for the one it has already parsed.
static void writeSettings(const QByteArray &general)
{
    static int writes = 0;
    QDir().mkpath(QFileInfo(settingsFilePath()).absolutePath());
    QFile file(settingsFilePath());
    if (file.open(QIODevice::WriteOnly))
        file.write(QByteArray(++writes, ';') + "\n[General]\n" + general);
}

static const auto s = [](const char *text) { return QString::fromUtf8(text); };

static const char *const labels[] = {
    "&Viewers Path:", "&Data Path:", "&Executable:", "&Arguments:"};

// The widgets as the operator finds them: a field by its label, a button by its text.
static QLineEdit *field(const QWidget &page, const char *label)
{
    for (const QLabel *candidate : page.findChildren<QLabel *>())
        if (candidate->text() == s(label))
            return qobject_cast<QLineEdit *>(candidate->buddy());
    return nullptr;
}

static void click(const QWidget &page, const char *text)
{
    for (QAbstractButton *candidate : page.findChildren<QAbstractButton *>())
        if (candidate->text() == s(text))
            candidate->click();
}

// The four text fields, or the file's four text keys, in the same order.
static QStringList texts(const QWidget *page)
{
    const QString keys[] = {SettingsKey::PathToViewers, SettingsKey::PathToReports,
                            SettingsKey::PathToBrowser, SettingsKey::BrowserArguments};
    QStringList result;
    for (int i = 0; i < 4; ++i)
        result << (page ? field(*page, labels[i])->text() : settingString(openSettings(), keys[i]));
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
        // The registry's texts, split as on Windows.
        CSettingsWidget::defaultBrowserCommands = [] {
            QList<Platform::BrowserCommand> commands;
            for (const QString &line : browserCommandLines)
                if (const auto command = Platform::splitQuotedCommandLine(line))
                    commands << *command;
            return commands;
        };
        CSettingsWidget::getExistingDirectoryUrl = [](QWidget *, const QString &, const QUrl &start,
                                                      QFileDialog::Options o, const QStringList &) {
            dialogCalls << start.toString() + s("|") + QString::number(int(o));
            return directoryAnswer;
        };
        CSettingsWidget::getOpenFileName = [](QWidget *, const QString &, const QString &,
                                              const QString &, QString *,
                                              QFileDialog::Options) { return fileAnswer; };
    }

    void cancelRestoresAndOkSaves()
    {
        writeSettings("PathToViewers=D:\\\\Viewers\nPathToReports=//lab/r\nPathToBrowser=/b\n"
                      "BrowserArguments=-n \\\"%1\\\"\nOpenReportTimeout=2500\n"
                      "InterceptNewLineInStoneID=true\n");
        CSettingsWidget page;
        const QStringList loaded = {s("D:\\Viewers"), s("//lab/r"), s("/b"), s("-n \"%1\"")};
        const QStringList edited = {s("V:/v, new"), QString(), s("/usr/bin/edited"), s("-a b")};
        // The buttons have the icons the style gives them once the page is shown.
        page.show();
        QCOMPARE(
            !page.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->icon().isNull(),
            page.style()->styleHint(QStyle::SH_DialogButtonBox_ButtonsHaveIcons));
        auto *timeout = page.findChild<QSpinBox *>();
        auto *intercept = page.findChild<QCheckBox *>();
        QStringList emitted;
        connect(&page, &CSettingsWidget::settingsChanged, [&] { emitted << s("changed"); });
        connect(&page, &CSettingsWidget::closeSettings, [&] { emitted << s("close"); });
        for (const auto button : {QDialogButtonBox::Cancel, QDialogButtonBox::Ok}) {
            QCOMPARE(texts(&page), loaded);
            QCOMPARE(timeout->text(), s("2500 ms"));
            QVERIFY(intercept->isChecked());
            for (int i = 0; i < 4; ++i) {
                field(page, labels[i])->clear();
                QTest::keyClicks(field(page, labels[i]), edited[i]);
            }
            timeout->setValue(60000); // beyond the longest timeout
            intercept->click();
            page.findChild<QDialogButtonBox *>()->button(button)->click();
        }
        QCOMPARE(emitted, QStringList({s("close"), s("changed"), s("close")}));
        QCOMPARE(texts(nullptr), edited);
        QCOMPARE(openSettings().value(SettingsKey::OpenReportTimeout).toInt(), 50000);
        QCOMPARE(openSettings().value(SettingsKey::InterceptNewLineInStoneID).toBool(), false);
    }

    // A first start stores the first candidate matching "(.*)"\s(.*); the timeout is 1000 ms.
    void defaultBrowserAtFirstStart()
    {
        const char *rows[][4] = {
            {"\"C:\\P F\\b.exe\" -s \"%1\"", "", "C:\\P F\\b.exe", "-s \"%1\""},
            {"\"C:\\B\\b.exe\" \"-osint\" \"%1\"", "", "C:\\B\\b.exe\" \"-osint", "\"%1\""},
            {"C:\\B\\b.exe %1", "\"C:\\O\\o.exe\" \"%1\"", "C:\\O\\o.exe", "\"%1\""},
            {"C:\\B\\b.exe %1", "", "", ""}};
        for (const auto &row : rows) {
            init();
            browserCommandLines << s(row[0]) << s(row[1]);
            CSettingsWidget page;
            const QStringList expected = {QString(), QString(), s(row[2]), s(row[3])};
            QCOMPARE(texts(&page), expected);
            QCOMPARE(texts(nullptr), expected);
            QCOMPARE(page.findChild<QSpinBox *>()->text(), s("1000 ms"));
        }
    }

    // The arguments follow the browser: the token for another, the default's own for it.
    void browsesForTheBrowserAndTheFolders()
    {
        writeSettings("PathToViewers=/v\nPathToBrowser=/usr/bin/stored\nBrowserArguments=--keep\n");
        browserCommandLines << s("\"/opt/default/browser\" --x \"%1\"");
        CSettingsWidget page;
        QLineEdit *executable = field(page, "&Executable:");
        QTest::keyClick(executable, Qt::Key_Return);
        QCOMPARE(texts(&page),
                 QStringList({s("/v"), QString(), s("/usr/bin/stored"), s("\"%1\"")}));

        QTest::keyClicks(field(page, "&Viewers Path:"), s("-edited"));
        click(page, "&Load Default");
        const QStringList loaded = {s("/v"), QString(), s("/opt/default/browser"), s("--x \"%1\"")};
        QCOMPARE(texts(nullptr), loaded);
        QTest::keyClick(executable, Qt::Key_Return);
        QCOMPARE(texts(&page).mid(2), loaded.mid(2));

        click(page, "Bro&wse...");
        QCOMPARE(texts(&page).mid(2), loaded.mid(2));
        fileAnswer = s("/usr/bin/other");
        click(page, "Bro&wse...");
        QCOMPARE(texts(&page).mid(2),
                 QStringList({QDir::toNativeSeparators(fileAnswer), s("\"%1\"")}));

        // Folder dialogs start at the field's folder, folders only; a remote answer changes
        // nothing.
        const char *answers[][2] = {{"&Browse...", "file:///srv/new viewers"},
                                    {"Br&owse...", "file:///srv/reports"},
                                    {"Br&owse...", "https://host/folder"}};
        for (const auto &answer : answers) {
            directoryAnswer = QUrl(s(answer[1]));
            click(page, answer[0]);
        }
        QCOMPARE(texts(&page).mid(0, 2).join(QLatin1Char('|')),
                 QDir::toNativeSeparators(s("/srv/new viewers|/srv/reports")));
        const int options = QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks;
        QCOMPARE(dialogCalls.first(), s("file:///v-edited|") + QString::number(options));
    }

#ifdef Q_OS_WIN
    // A first start and "Load Default" take the registry's default browser into fields and file,
    // and only read the registry. Keys set with reg.exe: the user's choice's ProgId, the commands
    // of that ProgId, of the user's and of the classes root's http key; then the fields.
    void registryDefaultBrowser()
    {
        const QString http = s("\\http\\shell\\open\\command");
        const QStringList keys = {s("HKCU\\Software\\Microsoft\\Windows\\Shell\\Associations\\"
                                    "UrlAssociations\\http\\UserChoice"),
                                  s("HKCR\\Stelvane.P\\shell\\open\\command"),
                                  s("HKCU\\Software\\Classes") + http, s("HKCR") + http};
        const char *rows[] = {
            "Stelvane.P;\"C:\\C\\chrome.exe\" --single-argument %1;\"C:\\F\\f.exe\" "
            "-url \"%1\";;C:\\C\\chrome.exe|--single-argument \"%1\"",
            "Gone.P;;\"C:\\F\\f.exe\" -url \"%1\";\"C:\\W\\w.exe\" \"%1\";"
            "C:\\F\\f.exe|-url \"%1\"",
            ";;C:\\F\\f.exe %1;\"C:\\E\\msedge.exe\" %1  %1x \"%1\";"
            "C:\\E\\msedge.exe|\"%1\"  %1x \"%1\"",
            ";;;;|"};
        const auto exported = [&keys] { // the keys read, as reg.exe shows them
            QByteArray all;
            for (const QString &key : keys) {
                QFile::remove(s("key.reg"));
                QProcess::execute(s("reg"), {s("export"), key.section(QLatin1Char('\\'), 0, -4),
                                             s("key.reg"), s("/y")});
                all += TestDir::readAll(s("key.reg"));
            }
            return all;
        };
        for (const char *row : rows) {
            const QStringList cells = s(row).split(QLatin1Char(';'));
            for (int i = 0; i < 4; ++i) {
                QProcess::execute(s("reg"), {s("delete"), keys[i], s("/f")});
                if (!cells[i].isEmpty())
                    QProcess::execute(
                        s("reg"),
                        QStringList{s("add"), keys[i], s("/d"), cells[i], s("/f")} +
                            (i ? QStringList{s("/ve")} : QStringList{s("/v"), s("ProgId")}));
            }
            init();
            CSettingsWidget::defaultBrowserCommands = &Platform::defaultBrowserCommands;
            const QByteArray before = exported();
            CSettingsWidget page;
            const QStringList expected = cells[4].split(QLatin1Char('|'));
            QCOMPARE(texts(nullptr).mid(2), expected);
            field(page, "&Arguments:")->clear();
            click(page, "&Load Default");
            QCOMPARE(texts(&page).mid(2), expected);
            QCOMPARE(exported(), before);
        }
    }
#else
    // A first start takes the desktop's default into fields and file, in a fake home (%H), in a
    // child process each (GLib reads the XDG folders once); it prints fields, then stored texts.
    void desktopDefaultBrowser()
    {
        const char *rows[][3] = {
            {"My B/b", "\"%H/My B/b\" %U --new-window", "%H/My B/b|\"%1\" --new-window"},
            {"bin/wv", "wv --title=100%% %u --icon %i", "%H/bin/wv|--title=100% \"%1\" --icon"},
            {"bin/wv", "wv --private", "%H/bin/wv|--private \"%1\""},
            {"bin/fp", "%H/bin/fp run --file-forwarding org.b.B @@u %u @@",
             "%H/bin/fp|run --file-forwarding org.b.B @@u \"%1\" @@"},
            {nullptr, nullptr, "|"}};
        for (const auto &row : rows) {
            TestDir home;
            const QString h = home.path();
            if (row[0]) {
                QFile program(home.createFile(s(row[0]), "#!/bin/sh\n"));
                QVERIFY(program.setPermissions(program.permissions() | QFile::ExeOwner));
                home.createFile(s("config/mimeapps.list"), "[Default Applications]\n"
                                                           "x-scheme-handler/http=fake.desktop\n");
                home.createFile(s("data/applications/fake.desktop"),
                                "[Desktop Entry]\nType=Application\nName=Fake\nExec=" +
                                    s(row[1]).replace(s("%H"), h).toUtf8() +
                                    "\nMimeType=x-scheme-handler/http;\n");
            }
            QProcess child;
            // Nothing of the machine's own desktop: empty system folders, the fake home's programs.
            child.setEnvironment(s("STELVANE_DESKTOP_LOOKUP=1 HOME=%H PATH=%H/bin:/usr/bin:/bin "
                                   "QT_QPA_PLATFORM=offscreen PROGRAMDATA=%H/pd "
                                   "XDG_CONFIG_HOME=%H/config XDG_DATA_HOME=%H/data "
                                   "XDG_CONFIG_DIRS=%H/etc XDG_DATA_DIRS=%H/share")
                                     .replace(s("%H"), h)
                                     .split(QLatin1Char(' ')));
            child.start(QCoreApplication::applicationFilePath(), QStringList());
            QVERIFY(child.waitForFinished(20000));
            QCOMPARE(child.exitCode(), 0);
            QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()),
                     s(row[2]).replace(s("%H"), h).repeated(2));
        }
    }
#endif
};

#define main testMain
STELVANE_TEST_MAIN(TestSettingsWidget)
#undef main

int main(int argc, char *argv[])
{
    // A child run of desktopDefaultBrowser: the page's first start in the environment it was given.
    if (!qEnvironmentVariableIsSet("STELVANE_DESKTOP_LOOKUP"))
        return testMain(argc, argv);
    QApplication app(argc, argv);
    const CSettingsWidget page;
    fputs(
        (texts(&page).mid(2).join(QLatin1Char('|')) + texts(nullptr).mid(2).join(QLatin1Char('|')))
            .toUtf8(),
        stdout);
}

#include "tst_settingswidget.moc"
