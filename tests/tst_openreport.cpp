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

static const auto str = [](const char *text) { return QString::fromUtf8(text); };
static const auto ch = [](char c) { return QLatin1Char(c); };
static const char *const All = "Open Report: 1 2 3 3 [7]", *const Latest = "2.1 0007%20polished";

// A report folder: a data file and the metadata naming the viewer the report needs.
static void report(const QString &folder, const QByteArray &viewer = "2.1")
{
    writeFile(folder + str("/data.js"));
    writeFile(folder + str("/metadata.xml"),
              "<R><RequiredViewerVersion>" + viewer + "</RequiredViewerVersion></R>");
}

class TestOpenReport : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QPointer<CStackedWindow> window;
    QPointer<COpenReportWidget> page; // the window's
    QStringList started;              // the browser's starts expected so far
    QStringList answers, questions;   // keys that answer the question boxes to come, in turn

    QString at(const char *path) const { return str(path).replace(ch('~'), dir->path()); }
    QStringList launches() const // one line a start: the arguments, each followed by "|"
    {
        return str(readFile(at("~/launches.txt"))).split(ch('\n'), Qt::SkipEmptyParts);
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
    QString opened(const QString &report) const // "VERSION FOLDER": a viewer and X17's folder
    {
        return str("--new-window|") + QUrl::fromLocalFile(at("~/viewers/")).toString() +
               report.section(ch(' '), 0, 0) + str("/index.html?dataPath=file://") +
               at("~/reports/X17/") + report.section(ch(' '), 1) + str("/data.js|--app=\"%1\"|");
    }
    // Viewers 0.9, 1.0, 2.1; stone X17's reports 1 (viewer 1.0), 2 (none), 3 (twice), 7; a
    // browser that records its starts; settings, then `more` ("Key=value;..."); the window.
    void start(const QString &more = {})
    {
        QSettings settings = openSettings(); // names as earlier versions wrote them
        const QString values =
            str("PathToViewers=~/viewers;PathToReports=~/reports;PathToBrowser="
                "~/browser.exe;BrowserArguments=--new-window  \"%1\" --app=\"%1\";");
        for (const QString &value : (values + more).split(ch(';'), Qt::SkipEmptyParts))
            settings.setValue(value.section(ch('='), 0, 0),
                              value.section(ch('='), 1).replace(ch('~'), dir->path()));
        for (const char *version : {"0.9", "1.0", "2.1"})
            writeFile(at("~/viewers/") + str(version) + str("/index.html"));
        for (const char *folder :
             {"0001=1.0", "0002=", "0003 a=2.1", "0003 b=2.1", "0007 polished=2.1"})
            report(at("~/reports/X17/") + str(folder).section(ch('='), 0, 0),
                   str(folder).section(ch('='), 1).toUtf8());
#ifdef Q_OS_WIN // a stand-in that also writes the command line to commandline.txt
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + str("/standin_browser.exe"),
                            at("~/browser.exe")));
#else // each start a line of launches.txt beside it
        writeFile(at("~/browser.exe"),
                  "#!/bin/sh\n(printf '%s|' \"$@\"; echo) >> \"${0%/*}/launches.txt\"\n", true);
#endif
        window = new CStackedWindow;
        page = window->findChild<COpenReportWidget *>();
        window->show(); // activated by the first keys
        auto *poll = new QTimer(page);
        connect(poll, &QTimer::timeout, page, [this] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                for (const QAction *action : menu->actions()) // noted as the questions are
                    questions << action->text() + ch('|') + action->shortcut().toString();
                menu->close();
            }
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
        QWidget *const widgets[] = {page->stoneIDEdit, page->tableView, page->actionButton};
        const int i = QByteArray("ftb").indexOf(c);
        return i < 0 ? QApplication::focusWidget() : widgets[i];
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
            QCOMPARE(s.console ? page->console->toPlainText() : QString(), str(s.console));
            QCOMPARE(s.shown ? shown() : QString(), str(s.shown));
            if (s.opens)
                started << opened(str(s.opens));
            QTRY_COMPARE(launches(), started);
            QCOMPARE(QApplication::focusWidget(), widget(QChar(ch(s.focus)).toLower().toLatin1()));
        }
        QTest::qWait(200); // and no other browser starts
        QCOMPARE(launches(), started);
    }

private slots:
    void init()
    {
        delete window;
        openSettings().clear();
        dir.reset(new QTemporaryDir);
#ifndef Q_OS_WIN // a stand-in for the desktop's folder opener, found first, records its argument
        static const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(dir->path()) + ':' + path);
        writeFile(at("~/xdg-open"), "#!/bin/sh\necho \"$1\" > \"${0%/*}/opened.txt\"\n", true);
#endif
    }

    // Keys go where the window has its focus while the pages slide: OK pressed before the
    // settings page has slid in, then a Stone ID typed at once; Cancel, then Return at once.
    void keysTypedWhileThePagesSlideAreNotLost()
    {
        start();
        page->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(page));
        auto *settingsPage = window->findChild<CSettingsWidget *>();
        auto *buttons = settingsPage->findChild<QDialogButtonBox *>();
        page->settingsButton->click();
        QTest::qWait(50);
        buttons->button(QDialogButtonBox::Ok)->click();
        for (const char key : {'X', '1', '7', '\r'}) { // during the slide in, then the slide back
            QTest::keyClick(window->windowHandle(), key);
            QTest::qWait(250);
        }
        QTRY_COMPARE(shown(), str(All)); // "Find Reports:" when the keys went to the other page
        QTRY_VERIFY(!settingsPage->isVisible());

        page->settingsButton->click();
        QTRY_VERIFY(!page->isVisible());
        buttons->button(QDialogButtonBox::Cancel)->click();
        QTest::keyClick(window->windowHandle(), Qt::Key_Return); // opens the selected report
        QTRY_COMPARE(launches(), QStringList{opened(str(Latest))});
    }

    // A Stone ID copied from a spreadsheet ends in a line break: pasted, it is the Stone ID that
    // the field shows and the search finds. A line break inside the text still finds nothing.
    void aPastedStoneIdEndingInALineBreakFindsTheStone()
    {
        start();
        for (const char *copied : {"X17\r\n", "\nX17\n", "X1\n7"}) {
            QApplication::clipboard()->setText(str(copied));
            page->stoneIDEdit->clear();
            QTest::keySequence(page->stoneIDEdit, QKeySequence::Paste);
            QTest::keyClick(page->stoneIDEdit, Qt::Key_Return);
            const bool inside = str(copied).trimmed().contains(ch('\n'));
            QCOMPARE(page->stoneIDEdit->text(), inside ? str(copied) : str("X17"));
            QCOMPARE(shown(), inside ? str("Find Reports:") : str(All));
            QTRY_VERIFY(page->isEnabled()); // after the pause that follows Return
        }
    }

    // A comment that cannot be written (the file was cut off after the search) is not shown as
    // written: the row keeps the comment that the file holds.
    void aCommentThatCannotBeWrittenIsNotShownAsWritten()
    {
        start();
        run({{'f', "'X17 Return", nullptr, All, nullptr, 'T'}});
        writeFile(at("~/reports/X17/0007 polished/metadata.xml"), "<R><Requir");
        run({{'c', "'Re-cut Return"}}); // the editor commits after the key
        QCOMPARE(page->console->toPlainText(),
                 str("Error: Cannot read metadata file for 0007 polished report"));
        QCOMPARE(page->tableView->model()->index(4, 4).data().toString(), QString());
    }

    // Browser ("/...": not Windows), viewers, reports (//stelvane/share: a share), URL parts before
    // "/2.1/", "/X17/"; on Windows arguments, the command line ("@": "~" there, "U": the URL).
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
#ifdef Q_OS_WIN // where names compare regardless of case
            {"~/b/BROWSER.EXE", "~/V", "~/R", "file:///~/V", "file://~/R", "\"%1\"",
             "@\\b\\BROWSER.EXE  U"},
            {"~/Mozilla/FIREFOX.EXE", "~/V", "~/R", "file:///~/V", "file:///~/R", "\"%1\"",
             "@\\Mozilla\\FIREFOX.EXE  U"},
#endif
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
            writeFile(at(row[1]) + str("/2.1/index.html"));
            report(at(row[2]) + str("/X17/0007 polished"));
            start(str("PathToBrowser=%1;PathToViewers=%2;PathToReports=%3;BrowserArguments=%4")
                      .arg(at(row[0]), at(row[1]), at(row[2]), str(row[5])));
            writeFile(at(row[0]), readFile(at("~/browser.exe")));
            run({{'f', "'X17"}, { 'b', "Space Space" }}); // its own folder gets the record
            const QString line = str(row[6])
                                     .replace(ch('U'), url)
                                     .replace(ch('@'), QDir::toNativeSeparators(dir->path()));
            QTRY_COMPARE(readFile(QFileInfo(at(row[0])).path() + str("/commandline.txt")),
                         (line + ch('\n')).toUtf8());
            init();
#endif
        }
    }

    // An operator's day: search, open, comment, auto-open, change settings, delete report folders.
    void worksLikeAnOperator()
    {
        start(str("AutoOpenLatestReport=true"));                   // without auto-find it stays off
        run({{'f', "Tab 'X17", "", "Find Reports:", nullptr, 'b'}, // Tab before a search
             {'f', "Return", "Found 5 reports for a stone with the specified ID", All, nullptr,
              'T'},
             {'t', "Return", "The 0007 polished report was successfully opened in browser", All,
              Latest, 't'},
             // Two folders with one number each open their own report; keypad Enter opens nothing.
             {'t', "Up Num+Enter Return Up", nullptr, "Open Report: 1 2 [3] 3 7", "2.1 0003%20b"},
             {'b', "Space", nullptr, "Open Report: 1 2 [3] 3 7", "2.1 0003%20a", 't'},
             // Report 1 needs viewer 1.0; one that names none opens in the newest, not in 0.9.
             {'t', "Ctrl+Home Return", nullptr, "Open Report: [1] 2 3 3 7", "1.0 0001", 't'},
             {'t', "Down Return", nullptr, "Open Report: 1 [2] 3 3 7", "2.1 0002", 't'},
             // Escape leaves the table for the field; Tab goes back while results are shown.
             {'t', "Escape", nullptr, nullptr, nullptr, 'f'},
             {'f', "Tab", nullptr, nullptr, nullptr, 't'},
             // Editing the Stone ID empties table and console; nothing opens until a search.
             {'f', "Backspace", "", "Find Reports:"},
             {'t', "Return", ""},
             {'f', "'7 Return", nullptr, All, nullptr, 'T'},
             {'t', "Return", nullptr, All, Latest, 't'},
             // Comments: Escape cancels an edit, Return ends one (and opens nothing).
             {'c', "'dropped Escape", nullptr, All, nullptr, 't'},
             {'c', "'Re-cut\u00e9<b> Return"}});
        QTRY_VERIFY(
            readFile(at("~/reports/X17/0007 polished/metadata.xml"))
                .contains("<Comment>" + QByteArray("Re-cut\u00e9<b>").toBase64() + "</Comment>"));
        auto *view = page->tableView; // a double click opens a report; on its comment, edits it
        for (const int column : {4, 1}) {
            const QPoint cell = view->visualRect(view->model()->index(4, column)).center();
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell);
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell);
        }
        run({{'t', "", nullptr, All, Latest, 't'}});
        // Offscreen no folder opens; under X11 a stand-in xdg-open records its argument.
        const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
        run({{'t', "Ctrl+O",
              x11 ? "The 0007 polished report folder was successfully opened"
                  : "Error: Failed to open the 0007 polished report folder"}});
        QTRY_COMPARE(readFile(at("~/opened.txt")),
                     x11 ? QFile::encodeName(str("file://") + at("~/reports/X17/0007%20polished\n"))
                         : QByteArray());

        // With auto-find and auto-open, a second after quick edits the latest report opens.
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
        QTRY_COMPARE(shown(), str(All));
        QVERIFY(sinceLastEdit.elapsed() >= 950);
        run({{'t', "", nullptr, nullptr, Latest},
             {'t', "Up F5", nullptr, All, Latest, 't'},
             {'f', "Escape 'X17 Return", nullptr, All, Latest, 'T'},
             {'f', "Escape 'X17 Shift+Return", nullptr, All, Latest, 'T'},
             {'f', "Escape 'X17 Num+Enter", nullptr, All, Latest, 'T'}});
        // OK on the settings page searches again, opening nothing; intercepted, Ctrl+Return only.
        auto *settings = window->findChild<CSettingsWidget *>();
        settings->findChild<QCheckBox *>()->click(); // "Intercept new line in Stone ID"
        settings->findChild<QSpinBox *>()->setValue(50000);
        settings->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        run({{'t', "", "Found 5 reports for a stone with the specified ID", All},
             {'f', "Escape 'X17 Return", nullptr, "Find Reports:", nullptr, 'f'},
             {'f', "Escape 'X17 Num+Enter", nullptr, "Find Reports:", nullptr, 'f'},
             {'f', "Escape 'X17 Ctrl+Num+Enter", nullptr, "Find Reports:", nullptr, 'f'},
             {'f', "Escape 'X17 Ctrl+Return", nullptr, All, Latest, 't'}});
        autoFind->click();
        QVERIFY(!autoOpen->isEnabled() && !autoOpen->isChecked());

        // Return and Escape answer No. Of the two folders numbered 3 only the selected one goes.
        answers = str("Return Escape Y Y Y").split(ch(' '));
        page->customContextMenuRequested(QPoint(5, 5)); // closed by the poll
        QVERIFY(QDir(at("~/reports/X17/0002")).removeRecursively());
        run({{'t', "Delete Delete", "", All},
             {'t', "Ctrl+Home Down Ctrl+O", "Error: Opened report folder doesn't exist"},
             {'t', "Delete", "Error: Deleted report folder doesn't exist",
              "Open Report: 1 [2] 3 3 7"},
             {'t', "Down Down Delete", "The 0003 b report folder was successfully deleted",
              "Open Report: 1 2 3 [7]"}});
        QCOMPARE(questions.mid(0, 5).join(ch(';')),
                 str("Open report|Enter;Edit comment|;Open report folder|Ctrl+O;Permanently delete "
                     "selected report|Del;Delete Report|Are you sure you want to permanently "
                     "delete the report 0007 polished folder and all its contents?"));
        // A deletion never follows links. A browser that cannot start: the operator is told.
        writeFile(at("~/browser.exe"), "#!/nonexistent/interpreter");
        report(at("~/target/0001"));
#ifdef Q_OS_WIN // read-only files in place of the links, which Wine cannot make
        report(at("~/reports/Y1/0001"));
        QVERIFY(QFile::setPermissions(at("~/reports/Y1/0001/data.js"), QFile::ReadOwner));
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
        // Characters a folder name cannot hold, lone surrogates become "-"; no browser: an error.
        report(at("~/reports/A---------B-C-\U0001F48E/0001"));
        QVERIFY(QFile::remove(at("~/browser.exe")));
        page->stoneIDEdit->setText(str("A<>:\"/\\|*?B") + QChar(0xD800) + str("C") + QChar(0xDC00) +
                                   str("\U0001F48E"));
        run({{'b', "Space",
              "Found 1 report for a stone with the specified ID\nError: Specified "
              "browser executable not found"}});
        delete window; // which saves the check boxes' states
        QCOMPARE(openSettings().value(SettingsKey::AutoOpenLatestReport).toString(), str("false"));
    }
};

STELVANE_TEST_MAIN(TestOpenReport)
#include "tst_openreport.moc"
