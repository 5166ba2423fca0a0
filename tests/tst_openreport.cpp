#include "TestSupport.h"

#include "app/CStackedWindow.h"
#include "openreport/BrowserLaunch.h"
#include "openreport/CConsole.h"
#include "openreport/CExLineEdit.h"
#include "openreport/COpenReportWidget.h"
#include "reportlist/CReportsDataTableView.h"
#include "settings/CSettingsWidget.h"
#include "settings/SettingsStore.h"

#include <QtWidgets>

#include <filesystem>

static const auto str = [](const char *text) { return QString::fromUtf8(text); };
static const auto ch = [](char c) { return QLatin1Char(c); };
static const char *const All = "Open Report: 1 2 3 3 [7]", *const Latest = "2.1 0007%20polished";

static void write(const QString &path, const QByteArray &content = {}, bool program = false)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    QVERIFY(!program || file.setPermissions(file.permissions() | QFile::ExeOwner));
}

// A report folder: a data file and the metadata naming the viewer the report needs.
static void report(const QString &folder, const QByteArray &viewer = "2.1")
{
    write(folder + str("/data.js"));
    write(folder + str("/metadata.xml"),
          "<R><RequiredViewerVersion>" + viewer + "</RequiredViewerVersion></R>");
}

class TestOpenReport : public QObject
{
    Q_OBJECT

    TestDir *dir = nullptr;
    QPointer<CStackedWindow> window;
    QPointer<COpenReportWidget> page; // the window's
    QStringList started;              // the browser's starts expected so far
    QStringList answers, questions;   // keys that answer the question boxes to come, in turn

    QString console() const { return page->console->toPlainText(); }
    QWidget *focused() const { return QApplication::focusWidget(); }
    QString at(const char *path) const { return str(path).replace(ch('~'), dir->path()); }
    QStringList launches() const // one line a start: the arguments, each followed by "|"
    {
        return str(TestDir::readAll(at("~/launches.txt"))).split(ch('\n'), Qt::SkipEmptyParts);
    }
    QString shown() const // the button, then the first column top to bottom ("[7]": selected)
    {
        QString text = page->actionButton->text().remove(ch('&')) + ch(':');
        for (int row = 0; row < page->tableView->model()->rowCount(); ++row) {
            const QString number = page->tableView->model()->index(row, 0).data().toString();
            const bool selected = page->tableView->selectionModel()->isRowSelected(row, {});
            text += selected ? str(" [") + number + ch(']') : ch(' ') + number;
        }
        return text;
    }
    // The browser's arguments for "VERSION FOLDER": the viewer's page and X17's report folder.
    QString opened(const QString &report) const
    {
        return str("--new-window|%1/viewers/%2/index.html?dataPath=file://%3/reports/X17/%4/"
                   "data.js|")
                   .arg(QUrl::fromLocalFile(dir->path()).toString(), report.section(ch(' '), 0, 0),
                        dir->path(), report.section(ch(' '), 1)) +
               str("--app=\"%1\"|");
    }

    // Viewers 0.9, 1.0, 2.1; stone X17's reports 1 (viewer 1.0), 2 (none), 3 (twice), 7; a
    // browser that records its starts; these settings, then `more` ("Key=value"); the window.
    void start(const QStringList &more = {})
    {
        QSettings settings = openSettings(); // names as earlier versions wrote them
        for (const QString &value :
             QStringList{str("PathToViewers=~/viewers"), str("PathToReports=~/reports"),
                         str("PathToBrowser=~/browser.exe"),
                         str("BrowserArguments=--new-window  \"%1\" --app=\"%1\"")} +
                 more)
            settings.setValue(value.section(ch('='), 0, 0),
                              value.section(ch('='), 1).replace(ch('~'), dir->path()));
        for (const char *version : {"0.9", "1.0", "2.1"})
            write(at("~/viewers/") + str(version) + str("/index.html"));
        report(at("~/reports/X17/0001"), "1.0");
        report(at("~/reports/X17/0002"), "");
        for (const char *folder :
             {"~/reports/X17/0003 a", "~/reports/X17/0003 b", "~/reports/X17/0007 polished"})
            report(at(folder));
#ifdef Q_OS_WIN // a stand-in that writes launches.txt and commandline.txt beside itself
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + str("/standin_browser.exe"),
                            at("~/browser.exe")));
#else
        write(at("~/browser.exe"),
              "#!/bin/sh\n(printf '%s|' \"$@\"; echo) >> '" +
                  QFile::encodeName(at("~/launches.txt")) + "'\n",
              true);
#endif
        window = new CStackedWindow;
        page = window->findChild<COpenReportWidget *>();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        auto *poll = new QTimer(page);
        connect(poll, &QTimer::timeout, page, [this] {
            auto *box = page->findChild<QMessageBox *>();
            if (!box || !box->isVisible() || answers.isEmpty())
                return;
            questions << box->windowTitle() + ch('|') + box->text();
            const QString key = answers.takeFirst();
            key == QLatin1String("Y") ? box->buttons().at(0)->click() // "&Yes"
                                      : QTest::keySequence(box, QKeySequence(key));
            // A folder name may look like markup: the question shows it as it is.
            QCOMPARE(box->findChild<QLabel *>(str("qt_msgbox_label"))->textFormat(), Qt::PlainText);
        });
        poll->start(10);
    }

    // Keys on 'f' the Stone ID, 't' the table, 'b' the button or 'c' the selected report's comment
    // being edited ("'X17" types X17); then the console, shown(), the report opened ("VERSION
    // FOLDER") and the focus ('f', 't', 'b'; capital: after the page paused a moment), if given.
    struct Step
    {
        char on;
        const char *keys, *console = nullptr, *shown = nullptr, *opens = nullptr;
        char focus = 0;
    };
    QWidget *widget(char c) const
    {
        return c == 'f'   ? page->stoneIDEdit
               : c == 't' ? static_cast<QWidget *>(page->tableView)
               : c == 'b' ? page->actionButton
                          : focused();
    }
    void run(std::initializer_list<Step> steps)
    {
        for (const Step &s : steps) {
            if (s.on == 'c')
                page->editComment();
            QWidget *on = widget(s.on);
            for (const QString &key : str(s.keys).split(ch(' '), Qt::SkipEmptyParts)) {
                page->activateWindow(); // again after a question box
                QVERIFY(QTest::qWaitForWindowActive(page));
                key.startsWith(ch('\'')) ? qobject_cast<QLineEdit *>(on)->insert(key.mid(1))
                                         : QTest::keySequence(on, QKeySequence(key));
            }
            QCOMPARE(page->isEnabled(), !QChar(ch(s.focus)).isUpper());
            QTRY_VERIFY(page->isEnabled());
            if (s.console)
                QCOMPARE(console(), str(s.console));
            if (s.shown)
                QCOMPARE(shown(), str(s.shown));
            if (s.opens)
                started << opened(str(s.opens));
            QTRY_COMPARE(launches(), started);
            if (s.focus)
                QCOMPARE(focused(), widget(QChar(ch(s.focus)).toLower().toLatin1()));
        }
        QTest::qWait(200); // and no other browser starts
        QCOMPARE(launches(), started);
    }

private slots:
    void initTestCase()
    {
#ifndef Q_OS_WIN // there the shell opens folders, which no test here watches
        // A stand-in for the desktop's folder opener, found before the real one.
        static TestDir bin;
        write(bin.filePath(str("xdg-open")), "#!/bin/sh\necho \"$1\" > \"$OPENED\"\n", true);
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + qgetenv("PATH"));
#endif
    }

    void init()
    {
        openSettings().clear();
        dir = new TestDir;
        qputenv("OPENED", QFile::encodeName(at("~/opened.txt")));
        started.clear();
    }

    void cleanup()
    {
        delete window;
        delete dir;
    }

    // X17's "0007 polished" in viewer 2.1: browser, viewers, reports (//stelvane/share: a share),
    // the URL's parts before "/2.1/" and "/X17/"; on Windows the arguments and the command line
    // the browser receives ("@": "~" in Windows form, "U": the URL, two spaces after the program).
    void launchesBrowsers()
    {
        const char *rows[][7] = {
            {"~/Web br\u00f6wser/browser.exe", "~/Viewers #1", "~/Donn\u00e9es 2",
             "file:///~/Viewers%20%231", "file://~/Donn%C3%A9es%202", "--new-window \"%1\"",
             "\"@\\Web br\u00f6wser\\browser.exe\"  --new-window U"},
            {"~/b/browser.exe", "//stelvane/share/V", "//stelvane/share/R",
             "file://stelvane/share/V", "file://stelvane/share/R", "\"%1\"",
             "@\\b\\browser.exe  U"},
            {"~/Mozilla Firefox/firefox.exe", "~/V", "~/R", "file:///~/V", "file:///~/R",
             "-new-tab \"%1\"", "\"@\\Mozilla Firefox\\firefox.exe\"  -new-tab U"},
            {"~/b/firefox.exe", "//stelvane/share/V", "//stelvane/share/R",
             "file://///stelvane/share/V", "file://///stelvane/share/R", "\"%1\"",
             "@\\b\\firefox.exe  U"},
            {"~/b/browser.exe", "~/V", "//stelvane/share/R", "file:///~/V",
             "file://stelvane/share/R", "--app=\"%1\" \"%1\" %1",
             "@\\b\\browser.exe  --app=\\\"%1\\\" U %1"},
            {"C:/FIREFOX.EXE", "C:/V", "C:/R", "file:///C:/V", "file://C:/R"},
            {"/bin/firefox", "/srv/V 100%#2", "//srv/s/R", "file:///srv/V%20100%25%232",
             "file://///srv/s/R"}};
        for (const auto &row : rows) {
            const QString url = at(row[3]) + str("/2.1/index.html?dataPath=") + at(row[4]) +
                                str("/X17/0007%20polished/data.js");
            QCOMPARE(viewerUrl(at(row[1]), str("2.1"), at(row[2]),
                               at(row[2]) + str("/X17/0007 polished/data.js"),
                               isFirefoxPath(at(row[0])),
                               row[0][0] == '/' ? FileUrlStyle::Unix : FileUrlStyle::Windows),
                     url);
#ifdef Q_OS_WIN
            if (!row[6])
                continue;
            write(at(row[1]) + str("/2.1/index.html"));
            report(at(row[2]) + str("/X17/0007 polished"));
            start({str("PathToBrowser=") + at(row[0]), str("PathToViewers=") + at(row[1]),
                   str("PathToReports=") + at(row[2]), str("BrowserArguments=") + row[5]});
            write(at(row[0]), TestDir::readAll(at("~/browser.exe")));
            run({{'f', "'X17"}, { 'b', "Space Space" }}); // its own folder gets the record
            const QString line = at(row[6]).replace(ch('@'), QDir::toNativeSeparators(dir->path()));
            QTRY_COMPARE(TestDir::readAll(QFileInfo(at(row[0])).path() + str("/commandline.txt")),
                         (line.replace(ch('U'), url) + ch('\n')).toUtf8());
            cleanup();
            init();
#endif
        }
    }

    // An operator's day: search, open reports, edit comments, open folders, let the page search
    // and open on its own, change settings, delete report folders.
    void worksLikeAnOperator()
    {
        start();
        QCOMPARE(page->versionLabel->text(), str("Version 1.2.12"));
        run({{'t', "Delete Ctrl+O", "", "Find Reports:"},          // nothing to act on yet
             {'f', "Tab 'X17", "", "Find Reports:", nullptr, 'b'}, // Tab before a search
             {'f', "Return", "Found 5 reports for a stone with the specified ID", All, nullptr,
              'T'},
             {'t', "Return", "The 0007 polished report was successfully opened in browser", All,
              Latest, 't'},
             // Two folders with one number each open their own report; keypad Enter opens nothing.
             {'t', "Up Num+Enter Return", nullptr, "Open Report: 1 2 3 [3] 7", "2.1 0003%20b"},
             {'t', "Up"},
             {'b', "Space", nullptr, "Open Report: 1 2 [3] 3 7", "2.1 0003%20a", 't'},
             {'t', "Ctrl+Home"}});
        // Report 1 needs viewer 1.0; a double click on its comment does not open it.
        for (const int column : {4, 1}) {
            const QModelIndex cell = page->tableView->model()->index(0, column);
            const QPoint centre = page->tableView->visualRect(cell).center();
            QTest::mouseClick(page->tableView->viewport(), Qt::LeftButton, {}, centre);
            QTest::mouseDClick(page->tableView->viewport(), Qt::LeftButton, {}, centre);
            focused()->clearFocus(); // closes the comment editor unchanged
        }
        run({{'t', "", nullptr, "Open Report: [1] 2 3 3 7", "1.0 0001"},
             // A report that names no viewer opens in the newest one, not in 0.9.
             {'t', "Down Return", nullptr, "Open Report: 1 [2] 3 3 7", "2.1 0002", 't'},
             // Escape leaves the table for the field; Tab goes back while results are shown.
             {'t', "Escape", nullptr, nullptr, nullptr, 'f'},
             {'f', "Tab", nullptr, nullptr, nullptr, 't'},
             // Editing the Stone ID empties table and console; nothing opens until a search.
             {'f', "Backspace", "", "Find Reports:"},
             {'t', "Return", ""},
             {'f', "'7"},
             {'b', "Space", nullptr, All, nullptr, 't'},
             {'t', "Return", nullptr, All, Latest, 't'},
             // Comments: Escape cancels an edit, Return ends one (and opens nothing).
             {'c', "'dropped Escape", nullptr, All, nullptr, 't'},
             {'c', "'Re-cut\u00e9<b> Return"}});
        QTRY_VERIFY(
            TestDir::readAll(at("~/reports/X17/0007 polished/metadata.xml"))
                .contains("<Comment>" + str("Re-cut\u00e9<b>").toUtf8().toBase64() + "</Comment>"));
        // Offscreen no folder opens; under X11 a stand-in xdg-open records its argument.
        const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
        run({{'t', "Ctrl+O",
              x11 ? "The 0007 polished report folder was successfully opened"
                  : "Error: Failed to open the 0007 polished report folder"}});
        if (x11)
            QTRY_COMPARE(TestDir::readAll(at("~/opened.txt")),
                         QFile::encodeName(str("file://") + at("~/reports/X17/0007%20polished\n")));

        // Auto-open needs auto-find. With both, quick edits give one search a second after the
        // last, which opens the latest report; so do F5 and the new-line keys.
        QCheckBox *autoFind = page->autoFindCheckBox, *autoOpen = page->autoOpenCheckBox;
        autoFind->click();
        QVERIFY(autoOpen->isEnabled() && !autoOpen->isChecked());
        autoOpen->click();
        QElapsedTimer sinceLastEdit;
        page->stoneIDEdit->setFocus();
        for (const char *text : {"", "X", "X1", "X17"}) {
            page->stoneIDEdit->setText(str(text));
            sinceLastEdit.start();
            QTest::qWait(200);
        }
        QCOMPARE(shown(), str("Find Reports:"));
        QTRY_COMPARE(shown(), str(All));
        QVERIFY(sinceLastEdit.elapsed() >= 950);
        run({{'t', "", nullptr, nullptr, Latest},
             {'t', "Up F5", nullptr, All, Latest, 't'},
             {'f', "Escape 'X17 Return", nullptr, All, Latest, 'T'},
             {'f', "Escape 'X17 Shift+Return", nullptr, All, Latest, 'T'},
             {'f', "Escape 'X17 Num+Enter", nullptr, All, Latest, 'T'}});
        // OK on the settings page applies its settings and searches again, but opens nothing;
        // intercepted, only Ctrl+Return searches.
        auto *settings = window->findChild<CSettingsWidget *>();
        settings->findChild<QCheckBox *>()->click(); // "Intercept new line in Stone ID"
        settings->findChild<QSpinBox *>()->setValue(50000);
        settings->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        run({{'t', "", "Found 5 reports for a stone with the specified ID", All},
             {'f', "Escape 'X17 Return", nullptr, "Find Reports:", nullptr, 'f'},
             {'f', "Escape 'X17 Num+Enter", nullptr, "Find Reports:", nullptr, 'f'},
             {'f', "Escape 'X17 Ctrl+Shift+Return", nullptr, "Find Reports:", nullptr, 'f'},
             {'f', "Escape 'X17 Ctrl+Num+Enter", nullptr, "Find Reports:", nullptr, 'f'},
             {'f', "Escape 'X17 Ctrl+Return", nullptr, All, Latest, 't'}});
        autoFind->click();
        QVERIFY(!autoOpen->isEnabled() && !autoOpen->isChecked());

        // Return and Escape answer No: nothing is deleted or printed. Of the two folders numbered
        // 3 the selected one goes, and only its row.
        answers = str("Return Escape Y Y Y").split(ch(' '));
        QVERIFY(QDir(at("~/reports/X17/0002")).removeRecursively());
        run({{'t', "Delete Delete", "", All},
             {'t', "Ctrl+Home Down Ctrl+O", "Error: Opened report folder doesn't exist"},
             {'t', "Delete", "Error: Deleted report folder doesn't exist",
              "Open Report: 1 [2] 3 3 7"},
             {'t', "Down Down Delete", "The 0003 b report folder was successfully deleted",
              "Open Report: 1 2 3 [7]"}});
        QCOMPARE(questions.value(0), str("Delete Report|Are you sure you want to permanently "
                                         "delete the report 0007 polished folder and all its "
                                         "contents?"));
        QVERIFY(QFile::exists(at("~/reports/X17/0003 a/metadata.xml")));
        // A deletion never follows links. A browser that cannot start: the operator is told.
        write(at("~/browser.exe"), "#!/nonexistent/interpreter");
        report(at("~/target/0001"));
#ifdef Q_OS_WIN // read-only files in place of the links, which Wine cannot make
        report(at("~/reports/Y1/0001"));
        for (const char *file :
             {"~/reports/Y1/0001/data.js", "~/reports/X17/0007 polished/metadata.xml"})
            QVERIFY(QFile::setPermissions(at(file), QFile::ReadOwner));
#else
        QVERIFY(QDir().mkpath(at("~/reports/Y1")));
        for (const char *link : {"~/reports/Y1/0001", "~/reports/X17/0007 polished/link"})
            QVERIFY(QFile::link(at("~/target/0001"), at(link)));
        QVERIFY(QFile::link(at("~/target/0001/data.js"), at("~/reports/X17/0007 polished/file")));
#endif
        run({{'t', "Return", "Error: Failed to open a report in browser"},
             {'t', "Delete", "The 0007 polished report folder was successfully deleted",
              "Open Report: 1 2 [3]"},
             {'f', "Ctrl+A 'Y1 Ctrl+Return", nullptr, "Open Report: [1]", nullptr, 't'},
             {'t', "Delete", "The 0001 report folder was successfully deleted", "Find Reports:"},
             {'f', "Tab", nullptr, nullptr, nullptr, 'b'}}); // no results left: on to the button
        QVERIFY(QFile::exists(at("~/target/0001/data.js")));
        // Each character a folder name cannot hold and each lone surrogate become "-"; pairs stay.
        // Without a browser the operator is told.
        report(at("~/reports/A---------B-C-\U0001F48E/0001"));
        QVERIFY(QFile::remove(at("~/browser.exe")));
        page->stoneIDEdit->setText(str("A<>:\"/\\|*?B") + QChar(0xD800) + str("C") + QChar(0xDC00) +
                                   str("\U0001F48E"));
        page->actionButton->click();
        QCOMPARE(console(), str("Found 1 report for a stone with the specified ID\nError: "
                                "Specified browser executable not found"));
#ifdef Q_OS_WIN // a program whose name does not end in ".exe" is refused there
        QVERIFY(QFile::copy(at("~/target/0001/data.js"), page->pathToBrowser = at("~/browser")));
        QVERIFY(!page->checkBrowserExecutable());
#endif
        delete window; // which saves the check boxes' states
        QCOMPARE(openSettings().value(SettingsKey::AutoOpenLatestReport).toString(), str("false"));
    }
};

STELVANE_TEST_MAIN(TestOpenReport)
#include "tst_openreport.moc"
