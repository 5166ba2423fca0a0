#include "TestSupport.h"

#include "platform/Platform.h"
#include "settings/CSettingsWidget.h"
#include "settings/SettingsStore.h"

#include <QtWidgets>

static const auto s = [](const char *text) { return QString::fromUtf8(text); };
const char *const labels[] = {"&Viewers Path:", "&Data Path:", "&Executable:", "&Arguments:"};
static const QString suffix = s("/Brimlow Software/Stelvane/Stelvane.ini");
static QList<Platform::BrowserCommand> candidates; // the fake system's default browsers
static QString answer, dialogStart; // the fake dialogs' answer; where a folder dialog started

// Each file differs in length, so the toolkit never takes it for the one it has already parsed.
static void writeSettings(const QByteArray &text)
{
    static int writes = 0;
    writeFile(settingsFilePath(), QByteArray(++writes, ';') + "\n" + text);
}

// The widgets as the operator finds them: a button by its text, a field by its label.
template <class T> static T *find(const QWidget &page, const QString &text)
{
    for (T *candidate : page.findChildren<T *>())
        if (candidate->text() == text)
            return candidate;
    return nullptr;
}

static QLineEdit *field(const QWidget &page, const char *label)
{
    return qobject_cast<QLineEdit *>(find<QLabel>(page, s(label))->buddy());
}

// The four text fields, or without a page the file's four text keys, in the same order.
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
    // The file lies in PROGRAMDATA and reads as other tools wrote it. A first start stores the
    // default browser, split by the greedy "(.*)"\s(.*); Cancel restores the fields, OK saves them.
    void settingsPage()
    {
        const QString folder = QFile::decodeName(qgetenv("PROGRAMDATA")); // temporary in tests
        QCOMPARE(QDir::fromNativeSeparators(settingsFilePath()), folder + suffix);
        CSettingsWidget::defaultBrowserCommands = [] { return candidates; };
        CSettingsWidget::getOpenFileName = [](auto *, const auto &, const auto &, const auto &,
                                              auto *, auto) { return answer; };
        CSettingsWidget::getExistingDirectoryUrl = [](auto *, const auto &, const QUrl &start,
                                                      auto options, const auto &) {
            dialogStart = start.toString() + s("|") + QString::number(int(options));
            return QUrl(answer);
        };
        writeSettings("PathToViewers=D:\\\\V\nPathToReports=//lab/r\nOpenReportTimeout=2500\n"
                      "InterceptNewLineInStoneID=true\n");
        candidates = {*Platform::splitQuotedCommandLine(s("\"C:\\b.exe\" \"-o\" -x \"%1\""))};
        CSettingsWidget page;
        const QStringList saved = {s("D:\\V"), s("//lab/r"), s("C:\\b.exe\" \"-o"), s("-x \"%1\"")};
        const QStringList edited = {s("V:/v, new"), QString(), s("/usr/bin/edited"), s("-a b")};
        QCOMPARE(texts(nullptr), saved);
        page.show(); // the buttons get the icons the style gives them
        auto *box = page.findChild<QDialogButtonBox *>();
        QCOMPARE(!box->button(QDialogButtonBox::Ok)->icon().isNull(),
                 page.style()->styleHint(QStyle::SH_DialogButtonBox_ButtonsHaveIcons));
        QStringList emitted;
        connect(&page, &CSettingsWidget::settingsChanged, [&] { emitted << s("changed"); });
        connect(&page, &CSettingsWidget::closeSettings, [&] { emitted << s("close"); });
        for (const auto button : {QDialogButtonBox::Cancel, QDialogButtonBox::Ok}) {
            QCOMPARE(texts(&page), saved);
            QCOMPARE(page.findChild<QSpinBox *>()->text(), s("2500 ms"));
            QVERIFY(page.findChild<QCheckBox *>()->isChecked());
            for (int i = 0; i < 4; ++i)
                field(page, labels[i])->setText(edited[i]);
            page.findChild<QSpinBox *>()->setValue(60000); // beyond the longest timeout
            page.findChild<QCheckBox *>()->click();
            box->button(button)->click();
        }
        QCOMPARE(emitted, QStringList({s("close"), s("changed"), s("close")}));
        QCOMPARE(texts(nullptr), edited);
        QCOMPARE(openSettings().value(SettingsKey::OpenReportTimeout).toInt(), 50000);
        QCOMPARE(openSettings().value(SettingsKey::InterceptNewLineInStoneID).toBool(), false);

        // Load Default stores the browser alone; its path keeps its arguments, another gets "%1".
        candidates = {{s("/opt/b"), s("--n \"%1\"")}};
        field(page, "&Viewers Path:")->setText(s("/v"));
        find<QPushButton>(page, s("&Load Default"))->click();
        const QStringList defaults = {edited[0], QString(), s("/opt/b"), s("--n \"%1\"")};
        QCOMPARE(texts(nullptr), defaults);
        QTest::keyClick(field(page, "&Executable:"), Qt::Key_Return);
        QCOMPARE(texts(&page).mid(2), defaults.mid(2));
        // Browsing: an empty or remote answer changes nothing; folder dialogs start at the field's.
        for (const char *row : {"Bro&wse...=/o/b", "Bro&wse...=", "&Browse...=file:///a b",
                                "Br&owse...=file:///r", "Br&owse...=https://h/s"}) {
            answer = s(row).section(QLatin1Char('='), 1);
            find<QPushButton>(page, s(row).section(QLatin1Char('='), 0, 0))->click();
        }
        QCOMPARE(texts(&page).join(QLatin1Char('|')),
                 QDir::toNativeSeparators(s("/a b|/r|/o/b|")) + s("\"%1\""));
        QCOMPARE(dialogStart, s("file:///r|3")); // folders only, links not followed
    }

#ifdef Q_OS_WIN
    // A first start takes the registry's default browser into fields and file, making no key. Rows:
    // the user's choice's ProgId, the commands of it, of HKCU's and HKCR's http key; the browser.
    void registryDefaultBrowser()
    {
        const QStringList keys = s("HKCU\\Software\\Microsoft\\Windows\\Shell\\Associations\\"
                                   "UrlAssociations\\http\\UserChoice;HKCR\\Stelvane.P%1;"
                                   "HKCU\\Software\\Classes\\http%1;HKCR\\http%1")
                                     .arg(s("\\shell\\open\\command"))
                                     .split(QLatin1Char(';'));
        const char *rows[] = {
            "Stelvane.P;\"C:\\C\\c.exe\" --single-argument %1  %1x \"%1\";;\"C:\\F\\f.exe\" \"%1\";"
            "C:\\C\\c.exe|--single-argument \"%1\"  %1x \"%1\"",
            "Stelvane.P;;\"C:\\F\\f.exe\" -u \"%1\";\"C:\\W\\w.exe\" \"%1\";C:\\F\\f.exe|-u \"%1\"",
            ";;C:\\F\\f.exe %1;\"C:\\W\\w.exe\" \"%1\";C:\\W\\w.exe|\"%1\"", ";;;;|"};
        const auto reg = [](const QStringList &a) { return QProcess::execute(s("reg"), a); };
        CSettingsWidget::defaultBrowserCommands = &Platform::defaultBrowserCommands;
        for (const char *row : rows) {
            const QStringList cells = s(row).split(QLatin1Char(';'));
            for (int i = 0; i < 4; ++i) {
                reg({s("delete"), keys[i], s("/f")});
                if (!cells[i].isEmpty())
                    reg(QStringList{s("add"), keys[i], s("/d"), cells[i], s("/f")} +
                        (i ? QStringList{s("/ve")} : QStringList{s("/v"), s("ProgId")}));
            }
            writeSettings("");
            const CSettingsWidget page;
            const QStringList expected = cells[4].split(QLatin1Char('|'));
            QCOMPARE(texts(&page).mid(2) + texts(nullptr).mid(2), expected + expected);
            for (int i = 0; i < 4; ++i)
                QCOMPARE(reg({s("query"), keys[i]}), cells[i].isEmpty() ? 1 : 0);
        }
    }
#else
    // The desktop's default stored at a first start, by a child process per fake home %H (GLib
    // reads the XDG folders once), which prints the fields, the file and the timeout.
    void desktopDefaultBrowser()
    {
        const char *rows[][3] = {{"My B/b", "\"%H/My B/b\" --title=100%% %U --icon %i --new-window",
                                  "%H/My B/b|--title=100% \"%1\" --icon --new-window"},
                                 {"wv", "wv --private", "%H/wv|--private \"%1\""},
                                 {nullptr, nullptr, "|"}};
        for (const auto &row : rows) {
            QTemporaryDir home;
            const QString h = home.path();
            if (row[0]) {
                writeFile(home.filePath(s(row[0])), {}, true);
                writeFile(home.filePath(s("mimeapps.list")),
                          "[Default Applications]\nx-scheme-handler/http=f.desktop\n");
                writeFile(home.filePath(s("applications/f.desktop")),
                          "[Desktop Entry]\nType=Application\nName=F\nExec=" +
                              s(row[1]).replace(s("%H"), h).toUtf8());
            }
            // The system folders stay the empty ones of this run; programs are found in the home.
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.remove(s("PROGRAMDATA"));
            for (const char *key : {"STELVANE_DESKTOP", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "PATH"})
                environment.insert(s(key), h);
            QProcess child;
            child.setProcessEnvironment(environment);
            child.start(QCoreApplication::applicationFilePath(), QStringList());
            QVERIFY(child.waitForFinished(20000));
            QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()),
                     s("||%1|").arg(s(row[2])).replace(s("%H"), h).repeated(2) + s("1000 ms"));
            QCOMPARE(QFile::exists(h + suffix), row[0] != nullptr);
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
    if (!qEnvironmentVariableIsSet("STELVANE_DESKTOP"))
        return testMain(argc, argv);
    QApplication app(argc, argv);
    const CSettingsWidget page;
    const QStringList shown = texts(&page) + texts(nullptr) << page.findChild<QSpinBox *>()->text();
    fputs(qPrintable(shown.join(QLatin1Char('|'))), stdout);
}

#include "tst_settingswidget.moc"
