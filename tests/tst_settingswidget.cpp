#include "TestSupport.h"

#include "platform/Platform.h"
#include "settings/CSettingsWidget.h"
#include "settings/SettingsStore.h"

#include <QtWidgets>

static const auto utf8 = [](const char *text) { return QString::fromUtf8(text); };
const char *const labels[] = {"&Viewers Path:", "&Data Path:", "&Executable:", "&Arguments:"};
static const QString suffix = utf8("/Brimlow Software/Stelvane/Stelvane.ini");
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
    return qobject_cast<QLineEdit *>(find<QLabel>(page, utf8(label))->buddy());
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
            dialogStart = start.toString() + utf8("|") + QString::number(int(options));
            return QUrl(answer);
        };
        writeSettings("PathToViewers=D:\\\\V\nPathToReports=//lab/r\nOpenReportTimeout=2500\n"
                      "InterceptNewLineInStoneID=true\n");
        candidates = {*Platform::splitQuotedCommandLine(utf8("\"C:\\b.exe\" \"-o\" -x \"%1\""))};
        CSettingsWidget page;
        const QStringList saved = {utf8("D:\\V"), utf8("//lab/r"), utf8("C:\\b.exe\" \"-o"),
                                   utf8("-x \"%1\"")};
        const QStringList edited = {utf8("V:/v, new"), QString(), utf8("/usr/bin/edited"),
                                    utf8("-a b")};
        QCOMPARE(texts(nullptr), saved);
        page.show(); // the buttons get the icons the style gives them
        auto *box = page.findChild<QDialogButtonBox *>();
        QCOMPARE(!box->button(QDialogButtonBox::Ok)->icon().isNull(),
                 page.style()->styleHint(QStyle::SH_DialogButtonBox_ButtonsHaveIcons));
        QStringList emitted;
        connect(&page, &CSettingsWidget::settingsChanged, [&] { emitted << utf8("changed"); });
        connect(&page, &CSettingsWidget::closeSettings, [&] { emitted << utf8("close"); });
        for (const auto button : {QDialogButtonBox::Cancel, QDialogButtonBox::Ok}) {
            QCOMPARE(texts(&page), saved);
            QCOMPARE(page.findChild<QSpinBox *>()->text(), utf8("2500 ms"));
            QVERIFY(page.findChild<QCheckBox *>()->isChecked());
            for (int i = 0; i < 4; ++i)
                field(page, labels[i])->setText(edited[i]);
            page.findChild<QSpinBox *>()->setValue(60000); // beyond the longest timeout
            page.findChild<QCheckBox *>()->click();
            box->button(button)->click();
        }
        QCOMPARE(emitted, QStringList({utf8("close"), utf8("changed"), utf8("close")}));
        QCOMPARE(texts(nullptr), edited);
        QCOMPARE(openSettings().value(SettingsKey::OpenReportTimeout).toInt(), 50000);
        QCOMPARE(openSettings().value(SettingsKey::InterceptNewLineInStoneID).toBool(), false);

        // Load Default stores the browser alone; its path keeps its arguments, another gets "%1".
        candidates = {{utf8("/opt/b"), utf8("--n \"%1\"")}};
        field(page, "&Viewers Path:")->setText(utf8("/v"));
        find<QPushButton>(page, utf8("&Load Default"))->click();
        const QStringList defaults = {edited[0], QString(), utf8("/opt/b"), utf8("--n \"%1\"")};
        QCOMPARE(texts(nullptr), defaults);
        QTest::keyClick(field(page, "&Executable:"), Qt::Key_Return);
        QCOMPARE(texts(&page).mid(2), defaults.mid(2));
        // Browsing: an empty or remote answer changes nothing; folder dialogs start at the field's.
        for (const char *row : {"Bro&wse...=/o/b", "Bro&wse...=", "&Browse...=file:///a b",
                                "Br&owse...=file:///r", "Br&owse...=https://h/s"}) {
            answer = utf8(row).section(QLatin1Char('='), 1);
            find<QPushButton>(page, utf8(row).section(QLatin1Char('='), 0, 0))->click();
        }
        QCOMPARE(texts(&page).join(QLatin1Char('|')),
                 QDir::toNativeSeparators(utf8("/a b|/r|/o/b|")) + utf8("\"%1\""));
        QCOMPARE(dialogStart, utf8("file:///r|3")); // folders only, links not followed
    }

#ifdef Q_OS_WIN
    // A first start takes the registry's default browser into fields and file, making no key. Rows:
    // the user's choice's ProgId, the commands of it, of HKCU's and HKCR's http key; the browser.
    void registryDefaultBrowser()
    {
        const QStringList keys = utf8("HKCU\\Software\\Microsoft\\Windows\\Shell\\Associations\\"
                                      "UrlAssociations\\http\\UserChoice;HKCR\\Stelvane.P%1;"
                                      "HKCU\\Software\\Classes\\http%1;HKCR\\http%1")
                                     .arg(utf8("\\shell\\open\\command"))
                                     .split(QLatin1Char(';'));
        const char *rows[] = {
            "Stelvane.P;\"C:\\C\\c.exe\" --single-argument %1  %1x \"%1\";;\"C:\\F\\f.exe\" \"%1\";"
            "C:\\C\\c.exe|--single-argument \"%1\"  %1x \"%1\"",
            "Stelvane.P;;\"C:\\F\\f.exe\" -u \"%1\";\"C:\\W\\w.exe\" \"%1\";C:\\F\\f.exe|-u \"%1\"",
            ";;C:\\F\\f.exe %1;\"C:\\W\\w.exe\" \"%1\";C:\\W\\w.exe|\"%1\"", ";;;;|"};
        const auto reg = [](const QStringList &arguments) {
            return QProcess::execute(utf8("reg"), arguments);
        };
        CSettingsWidget::defaultBrowserCommands = &Platform::defaultBrowserCommands;
        for (const char *row : rows) {
            const QStringList cells = utf8(row).split(QLatin1Char(';'));
            for (int i = 0; i < 4; ++i) {
                reg({utf8("delete"), keys[i], utf8("/f")});
                if (!cells[i].isEmpty())
                    reg(QStringList{utf8("add"), keys[i], utf8("/d"), cells[i], utf8("/f")} +
                        (i ? QStringList{utf8("/ve")} : QStringList{utf8("/v"), utf8("ProgId")}));
            }
            writeSettings("");
            const CSettingsWidget page;
            const QStringList expected = cells[4].split(QLatin1Char('|'));
            QCOMPARE(texts(&page).mid(2) + texts(nullptr).mid(2), expected + expected);
            for (int i = 0; i < 4; ++i)
                QCOMPARE(reg({utf8("query"), keys[i]}), cells[i].isEmpty() ? 1 : 0);
        }
    }
#else
    // A first start stores the desktop's default browser: its program, and its Exec line's
    // arguments with the address code made "%1" and the icon code dropped. The desktop's folders
    // are this run's empty one, which GLib reads at its first use, here.
    void desktopDefaultBrowser()
    {
        const QString home = QFile::decodeName(qgetenv("XDG_DATA_HOME"));
        writeFile(home + utf8("/My B/b"), {}, true);
        writeFile(home + utf8("/mimeapps.list"),
                  "[Default Applications]\nx-scheme-handler/http=f.desktop\n");
        writeFile(home + utf8("/applications/f.desktop"),
                  "[Desktop Entry]\nType=Application\nName=F\nExec=\"" + home.toUtf8() +
                      "/My B/b\" --title=100%% %U --icon %i --new-window");
        writeSettings("");
        CSettingsWidget::defaultBrowserCommands = &Platform::defaultBrowserCommands;
        const CSettingsWidget page;
        const QStringList stored = {home + utf8("/My B/b"),
                                    utf8("--title=100% \"%1\" --icon --new-window")};
        QCOMPARE(texts(&page).mid(2), stored);
        QCOMPARE(texts(nullptr).mid(2), stored);
    }
#endif
};

STELVANE_TEST_MAIN(TestSettingsWidget)

#include "tst_settingswidget.moc"
