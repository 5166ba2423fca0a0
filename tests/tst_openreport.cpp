#include "TestSupport.h"

#include "app/CStackedWindow.h"
#include "openreport/BrowserLaunch.h"
#include "openreport/CConsole.h"
#include "openreport/CExLineEdit.h"
#include "openreport/COpenReportWidget.h"
#include "reportlist/CReportsDataTableView.h"
#include "settings/CSettingsWidget.h"
#include "settings/SettingsStore.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>

#include <filesystem>

static const auto str = [](const char *text) { return QString::fromUtf8(text); };

static QByteArray metadata(const QByteArray &viewer)
{
    return "<R><DateTime>2024-03-05 14:22</DateTime><ReportType>RT_POLISH</ReportType>"
           "<RequiredViewerVersion>" +
           viewer + "</RequiredViewerVersion><StoneID>X17</StoneID></R>\n";
}

enum
{
    Intercept = 1,
    AutoFind = 2,
    AutoOpen = 4
};

class TestOpenReport : public QObject
{
    Q_OBJECT

    TestDir *dir = nullptr;
    COpenReportWidget *page = nullptr;

    // Each start of the fake browser is one line: its arguments, each followed by "|".
    QStringList launches() const
    {
        return str(TestDir::readAll(dir->filePath(str("launches.txt"))))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

#ifdef Q_OS_WIN
    // The Windows build's stand-in browser writes launches.txt and commandline.txt beside itself.
    static void copyStandInBrowser(const QString &path)
    {
        QFile::remove(path);
        QDir().mkpath(QFileInfo(path).path());
        QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + str("/standin_browser.exe"),
                            path));
    }
#endif

    void showPage()
    {
        page = new COpenReportWidget;
        page->resize(700, 500);
        page->show();
        page->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(page));
    }

    // Viewers 0.9, 1.0, 2.1; stone X17's reports 1, 2 (no viewer), 3 (twice), 7; a browser that
    // records its starts (another first line: one that cannot start); the page, shown.
    void start(int flags = 0, int timeout = 0, const QByteArray &shebang = "#!/bin/sh",
               bool show = true)
    {
        for (const char *version : {"0.9", "1.0", "2.1"})
            dir->createFile(str("viewers/%1/index.html").arg(str(version)));
        for (const QString &report : str("0001=1.0;0002=;0003 a=2.1;0003 b=2.1;0007 polished=2.1")
                                         .split(QLatin1Char(';'))) {
            const QString folder = str("reports/X17/") + report.section(QLatin1Char('='), 0, 0);
            dir->createFile(folder + str("/data.js"));
            dir->createFile(folder + str("/metadata.xml"),
                            metadata(report.section(QLatin1Char('='), 1).toUtf8()));
        }
#ifdef Q_OS_WIN
        const QString browser = dir->createFile(str("browser.exe"), shebang);
        if (shebang == "#!/bin/sh")
            copyStandInBrowser(browser);
#else
        const QString browser = dir->createFile(
            str("browser"), shebang +
                                "\nl=''; for a in \"$@\"; do l=\"$l$a|\"; done\necho \"$l\" >> '" +
                                QFile::encodeName(dir->filePath(str("launches.txt"))) + "'\n");
        QFile::setPermissions(browser, QFile::permissions(browser) | QFile::ExeOwner);
#endif
        QSettings settings = openSettings(); // names as earlier versions wrote them
        settings.setValue(str("PathToViewers"), dir->filePath(str("viewers")));
        settings.setValue(str("PathToReports"), dir->filePath(str("reports")));
        settings.setValue(str("PathToBrowser"), browser);
        settings.setValue(str("BrowserArguments"), str("--new-window  \"%1\""));
        settings.setValue(str("OpenReportTimeout"), timeout);
        settings.setValue(str("InterceptNewLineInStoneID"), bool(flags & Intercept));
        settings.setValue(str("AutoFindReports"), bool(flags & AutoFind));
        settings.setValue(str("AutoOpenLatestReport"), bool(flags & AutoOpen));
        settings.sync();
        if (show)
            showPage();
    }

    // The browser's arguments for the viewer page of `version` and a report folder of X17.
    QString opened(const char *version, const char *encodedFolder) const
    {
        // A Windows path ("C:/...") takes one slash more in the viewer's part than in the data's.
        const QString viewers =
            dir->path().startsWith(QLatin1Char('/')) ? str("file://") : str("file:///");
        return str("--new-window|%4%1/viewers/%2/index.html?dataPath=file://%1/reports/X17/"
                   "%3/data.js|")
            .arg(dir->path(), str(version), str(encodedFolder), viewers);
    }

    // Answers the next question box with a key or its "&Yes" button (Key_Y); gives its text.
    QSharedPointer<QString> answerQuestion(Qt::Key key)
    {
        auto question = QSharedPointer<QString>::create();
        auto *poll = new QTimer(page);
        connect(poll, &QTimer::timeout, page, [=] {
            for (QMessageBox *box : page->findChildren<QMessageBox *>()) {
                if (box->isVisible()) {
                    poll->deleteLater();
                    *question = box->windowTitle() + QLatin1Char('|') + box->text();
                    key == Qt::Key_Y ? box->buttons().at(0)->click() : QTest::keyClick(box, key);
                }
            }
        });
        poll->start(10);
        return question;
    }

    // Key sequences on a widget, the table by default, in a window activated again after a box.
    void keys(const char *sequences, QWidget *target = nullptr)
    {
        if (!page->isActiveWindow()) {
            page->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(page));
        }
        for (const QString &sequence : str(sequences).split(QLatin1Char(' ')))
            QTest::keySequence(target ? target : page->tableView, QKeySequence(sequence));
    }

    QString console() const
    {
        return page->console->toPlainText();
    }
    QWidget *focused() const
    {
        return QApplication::focusWidget();
    }
    int rows() const
    {
        return page->tableView->model()->rowCount();
    }
    QString column(int c, bool selected = false) const // the table's column, top to bottom
    {
        QStringList shown;
        const auto model = page->tableView->model();
        for (int row = 0; row < rows(); ++row)
            if (!selected || page->tableView->selectionModel()->isRowSelected(row, {}))
                shown << model->index(row, c).data().toString();
        return shown.join(QLatin1Char('|'));
    }

private slots:
    void initTestCase()
    {
#ifndef Q_OS_WIN // there the shell opens folders, which no test here watches
        // A stand-in for the desktop's folder opener, found before the real one.
        static TestDir bin;
        QFile opener(bin.createFile(str("xdg-open"), "#!/bin/sh\necho \"$1\" > \"$OPENED\"\n"));
        opener.setPermissions(opener.permissions() | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + qgetenv("PATH"));
#endif
    }

    void init()
    {
        openSettings().clear();
        dir = new TestDir;
        qputenv("OPENED", QFile::encodeName(dir->filePath(str("opened.txt"))));
    }

    void cleanup()
    {
        delete page;
        page = nullptr;
        delete dir;
    }

    // URLs of viewer 1.2.3 and X17's "0003 polished": rule ("+ff": Firefox), viewers, reports,
    // the URL's parts before "/1.2.3/..." and "/X17/..."; then the arguments and names.
    void buildsLaunchParts()
    {
        const char *const rows[][5] = {
            {"win", "C:/V", "C:/R", "file:///C:/V", "file://C:/R"},
            {"win+ff", "C:/V", "C:/R", "file:///C:/V", "file:///C:/R"},
            {"win", "//srv/s/V", "//srv/s/R", "file://srv/s/V", "file://srv/s/R"},
            {"win+ff", "//srv/s/V", "//srv/s/R", "file://///srv/s/V", "file://///srv/s/R"},
            {"win", "C:/V", "//srv/s/R", "file:///C:/V", "file://srv/s/R"},
            {"unix", "/srv/V", "/srv/R", "file:///srv/V", "file:///srv/R"},
            {"unix+ff", "/srv/V", "//srv/s/R", "file:///srv/V", "file://///srv/s/R"},
            {"unix", "/srv/My V#2", "/srv/Lab 100%/Z\u00fcrich", "file:///srv/My%20V%232",
             "file:///srv/Lab%20100%25/Z%C3%BCrich"},
        };
        for (const auto &row : rows) {
            const QString rule = str(row[0]), reports = str(row[2]);
            QCOMPARE(viewerUrl(str(row[1]), str("1.2.3"), reports,
                               reports + str("/X17/0003 polished/data.js"),
                               rule.endsWith(QLatin1Char('f')),
                               rule.startsWith(QLatin1Char('w')) ? FileUrlStyle::Windows
                                                                 : FileUrlStyle::Unix),
                     str(row[3]) + str("/1.2.3/index.html?dataPath=") + str(row[4]) +
                         str("/X17/0003%20polished/data.js"));
        }
        const char *arguments[][2] = {{"-a \"%1\" -b", "-a|U|-b"},
                                      {"\"%1\" \"%1\"", "U|U"},
                                      {"  -a    -b  ", "-a|-b"},
                                      {"%1 --app=\"%1\" '%1'", "%1|--app=\"%1\"|'%1'"},
                                      {"", ""}};
        for (const auto &row : arguments)
            QCOMPARE(browserArgumentList(str(row[0]), str("U")).join(QLatin1Char('|')),
                     str(row[1]));
        QCOMPARE(reportNameOfDataPath(str("//srv/R/X17/0003 polished/data.js")),
                 str("0003 polished"));
        QCOMPARE(reportNameOfDataPath(str("/data.js")), QString());
        QVERIFY(isFirefoxPath(str("C:/Program Files/Mozilla Firefox/firefox.exe")));
        QVERIFY(!isFirefoxPath(str("C:/Browsers/FIREFOX.EXE")));
    }

#ifdef Q_OS_WIN
    // The command line a Windows browser receives (the toolkit puts two spaces after the
    // program): browser, viewers, reports ("~" the temporary folder, "@" it in Windows form,
    // //stelvane/share a share), arguments, line.
    void startsWindowsBrowsersWithTheUrlIntact()
    {
        const char *rows[][5] = {
            {"Web br\u00f6wser/browser.exe", "~/Viewers #1", "~/Donn\u00e9es 2",
             "--new-window \"%1\"",
             "\"@\\Web br\u00f6wser\\browser.exe\"  --new-window file:///~/Viewers%20%231/2.1/"
             "index.html?dataPath=file://~/Donn%C3%A9es%202/X17/0003%20polished/data.js"},
            {"browser.exe", "//stelvane/share/V", "//stelvane/share/R", "\"%1\"",
             "@\\browser.exe  file://stelvane/share/V/2.1/index.html?dataPath=file://stelvane/"
             "share/R/X17/0003%20polished/data.js"},
            {"Mozilla Firefox/firefox.exe", "~/V", "~/R", "-new-tab \"%1\"",
             "\"@\\Mozilla Firefox\\firefox.exe\"  -new-tab file:///~/V/2.1/index.html?dataPath="
             "file:///~/R/X17/0003%20polished/data.js"},
            {"firefox.exe", "//stelvane/share/V", "//stelvane/share/R", "\"%1\"",
             "@\\firefox.exe  file://///stelvane/share/V/2.1/index.html?dataPath=file://///"
             "stelvane/share/R/X17/0003%20polished/data.js"},
            { "browser.exe",
              "~/V",
              "//stelvane/share/R",
              "--app=\"%1\" \"%1\" %1",
              "@\\browser.exe  --app=\\\"%1\\\" file:///~/V/2.1/index.html?dataPath=file://"
              "stelvane/share/R/X17/0003%20polished/data.js %1" }};
        for (const auto &row : rows) {
            cleanup();
            init();
            const auto at = [this](const char *text) {
                return str(text)
                    .replace(QLatin1Char('~'), dir->path())
                    .replace(QLatin1Char('@'), QDir::toNativeSeparators(dir->path()));
            };
            const QString browser = at("~/") + str(row[0]),
                          reports = at(row[2]) + str("/X17/0003 polished/");
            copyStandInBrowser(browser);
            for (const QString &file : {at(row[1]) + str("/2.1/index.html"),
                                        reports + str("data.js"), reports + str("metadata.xml")}) {
                QDir().mkpath(QFileInfo(file).path());
                QFile out(file);
                QVERIFY(out.open(QIODevice::WriteOnly) && out.write(metadata("2.1")) > 0);
            }
            QSettings settings = openSettings();
            settings.setValue(str("PathToViewers"), at(row[1]));
            settings.setValue(str("PathToReports"), at(row[2]));
            settings.setValue(str("PathToBrowser"), browser);
            settings.setValue(str("BrowserArguments"), str(row[3]));
            settings.sync();
            showPage();
            page->stoneIDEdit->setText(str("X17"));
            page->actionButton->click();
            page->actionButton->click();
            QTRY_COMPARE(str(TestDir::readAll(QFileInfo(browser).path() + str("/commandline.txt"))),
                         at(row[4]) + QLatin1Char('\n'));
        }
    }
#endif

    // Right after start: settings applied, configuration errors shown.
    void startsFromSettings()
    {
        openSettings().setValue(SettingsKey::AutoOpenLatestReport, true);
        openSettings().setValue(SettingsKey::PathToBrowser, dir->createFile(str("FIREFOX.EXE")));
        page = new COpenReportWidget;
        QCOMPARE(page->versionLabel->text(), str("Version 1.2.12"));
        QCOMPARE(console(), str("Error: Report Viewers folder not configured\nError: Reports Data "
                                "folder not configured\nError: Specified browser executable not "
                                "found"));
        QCOMPARE(page->autoFindTimer->interval(), 1000);
#ifdef Q_OS_WIN // a program whose name does not end in ".exe" is refused there
        copyStandInBrowser(page->pathToBrowser = dir->filePath(str("browser")));
        QVERIFY(!page->checkBrowserExecutable());
#endif

        QCheckBox *autoFind = page->autoFindCheckBox, *autoOpen = page->autoOpenCheckBox;
        QCOMPARE(autoFind->text(), str("&Automatically find reports"));
        QVERIFY(!autoFind->isChecked() && !autoOpen->isChecked() && !autoOpen->isEnabled());
        autoFind->click();
        QVERIFY(autoOpen->isEnabled() && !autoOpen->isChecked());
        autoOpen->click();
        autoFind->click();
        QVERIFY(!autoOpen->isEnabled() && !autoOpen->isChecked());
        delete page;
        page = nullptr;
        QCOMPARE(openSettings().value(SettingsKey::AutoOpenLatestReport).toString(), str("false"));
    }

    // An operator's road: search, open the latest report and the others, edit the Stone ID.
    void searchesAndOpensLikeAnOperator()
    {
        start();
        QVERIFY(console().isEmpty());
        CExLineEdit *field = page->stoneIDEdit;
        QCOMPARE(page->actionButton->text(), str("&Find Reports"));
        keys("Tab", field); // before any search: to the action button
        QCOMPARE(focused(), page->actionButton);

        field->setFocus();
        QTest::keyClicks(field, str("X17"));
        QCOMPARE(rows(), 0);
        keys("Return", field);
        QCOMPARE(column(0), str("1|2|3|3|7"));
        QCOMPARE(column(0, true), str("7"));
        QCOMPARE(page->actionButton->text(), str("&Open Report"));
        QCOMPARE(console(), str("Found 5 reports for a stone with the specified ID"));
        // Return pauses the page for a moment, then the focus is back on the table.
        QVERIFY(!page->isEnabled());
        QTRY_VERIFY(page->isEnabled());
        QCOMPARE(focused(), page->tableView);

        keys("Return");
        QTRY_COMPARE(launches(), QStringList(opened("2.1", "0007%20polished")));
        QCOMPARE(console(), str("The 0007 polished report was successfully opened in browser"));
        // Two folders with one number each open their own report; keypad Enter opens nothing.
        keys("Up Num+Enter Return");
        QTRY_COMPARE(launches().value(1), opened("2.1", "0003%20b"));
        keys("Up");
        page->actionButton->click();
        QTRY_COMPARE(launches().value(2), opened("2.1", "0003%20a"));

        // Report 1 needs viewer 1.0; a double click on its comment does not open it.
        keys("Ctrl+Home");
        QCOMPARE(column(0, true), str("1"));
        for (const int c : {4, 1}) {
            const QPoint centre =
                page->tableView->visualRect(page->tableView->model()->index(0, c)).center();
            QTest::mouseClick(page->tableView->viewport(), Qt::LeftButton, {}, centre);
            QTest::mouseDClick(page->tableView->viewport(), Qt::LeftButton, {}, centre);
            focused()->clearFocus(); // closes the comment editor unchanged
        }
        QTRY_COMPARE(launches().value(3), opened("1.0", "0001"));
        // A report that names no viewer opens in the newest one, not in 0.9.
        keys("Down Return");
        QTRY_COMPARE(launches().value(4), opened("2.1", "0002"));

        // Escape leaves the table for the field; Tab goes back while the results are shown.
        keys("Escape");
        QCOMPARE(focused(), field);
        keys("Tab", field);
        QCOMPARE(focused(), page->tableView);

        // Editing the Stone ID empties table and console; nothing opens until the next search.
        keys("Backspace", field);
        QCOMPARE(rows(), 0);
        QCOMPARE(page->actionButton->text(), str("&Find Reports"));
        keys("Return");
        page->openReport(); // the context menu's "Open report"
        QVERIFY(console().isEmpty());
        QTest::keyClicks(field, str("7"));
        page->actionButton->click();
        keys("Return");
        QTRY_COMPARE(launches().size(), 6);
        QCOMPARE(launches().at(5), opened("2.1", "0007%20polished"));
    }

    // Each character a folder name cannot hold and each lone surrogate become "-"; pairs stay.
    void cleansTheStoneID()
    {
        start();
        for (const char *stone : {"A---------B-C-\U0001F48E", "-"}) {
            dir->createFile(str("reports/%1/0001/metadata.xml").arg(str(stone)), metadata("1.0"));
            dir->createFile(str("reports/%1/0001/a.js").arg(str(stone)));
        }
        page->stoneIDEdit->setText(str("A<>:\"/\\|*?B") + QChar(0xD800) + str("C") + QChar(0xDC00) +
                                   str("\U0001F48E"));
        page->actionButton->click();
        QCOMPARE(console(), str("Found 1 report for a stone with the specified ID"));
        page->stoneIDEdit->setText(QString(QChar(0xDBFF)));
        page->actionButton->click();
        QCOMPARE(rows(), 1);
    }

    // New-line keys in the Stone ID with auto-open: intercept, key, whether it searches and opens.
    void handlesNewLineKeys()
    {
        const char *rules[][3] = {{"0", "Return", "1"},
                                  {"0", "Shift+Return", "1"},
                                  {"0", "Num+Enter", "1"},
                                  {"1", "Return", "0"},
                                  {"1", "Num+Enter", "0"},
                                  {"1", "Ctrl+Return", "1"},
                                  {"1", "Ctrl+Shift+Return", "0"},
                                  {"1", "Ctrl+Num+Enter", "0"}};
        for (const auto &rule : rules) {
            cleanup();
            init();
            start((*rule[0] == '1' ? Intercept : 0) | AutoFind | AutoOpen);
            page->stoneIDEdit->setText(str("X17"));
            page->autoFindTimer->stop(); // only the key may search here
            keys(rule[1], page->stoneIDEdit);
            const bool searches = *rule[2] == '1';
            QCOMPARE(rows(), searches ? 5 : 0);
            QTRY_COMPARE(launches().size(), int(searches));
            QTRY_VERIFY(page->isEnabled());
            QCOMPARE(focused(),
                     searches ? static_cast<QWidget *>(page->tableView) : page->stoneIDEdit);
        }
    }

    // Quick edits give one automatic search an interval after the last; F5 searches and opens.
    void findsAutomaticallyOnce()
    {
        start(AutoFind | AutoOpen, 700);
        QElapsedTimer sinceLastEdit;
        for (const char *key : {"X", "1", "7"}) {
            QTest::keyClicks(page->stoneIDEdit, str(key));
            sinceLastEdit.start();
            QTest::qWait(200);
        }
        QCOMPARE(rows(), 0);
        QTRY_COMPARE(rows(), 5);
        QVERIFY2(sinceLastEdit.elapsed() >= 650,
                 qPrintable(QString::number(sinceLastEdit.elapsed())));
        QTRY_COMPARE(launches().size(), 1);
        keys("Up F5");
        QCOMPARE(column(0, true), str("7"));
        QTRY_COMPARE(launches(), QStringList({launches().at(0), launches().at(0)}));
    }

    // OK on the settings page searches again with the new settings and opens nothing.
    void appliesNewSettings()
    {
        start(AutoFind | AutoOpen, 0, "#!/bin/sh", false);
        dir->createFile(str("other/X17/0005/a.js"));
        dir->createFile(str("other/X17/0005/metadata.xml"), metadata("2.1"));
        CStackedWindow window;
        page = window.findChild<COpenReportWidget *>();
        const auto release = qScopeGuard([this] { page = nullptr; }); // the window owns it
        page->stoneIDEdit->setText(str("X17"));
        auto *settings = window.findChild<CSettingsWidget *>();
        for (const QLabel *label : settings->findChildren<QLabel *>()) {
            if (label->text() == QLatin1String("&Data Path:"))
                qobject_cast<QLineEdit *>(label->buddy())->setText(dir->filePath(str("other")));
        }
        settings->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(console(), str("Found 1 report for a stone with the specified ID"));
        QCOMPARE(rows(), 1);
        QTest::qWait(1500); // neither an automatic search nor a browser follows
        QCOMPARE(launches().size(), 0);
        QCOMPARE(console(), str("Found 1 report for a stone with the specified ID"));
    }

    // Comments edited land in the metadata file; folders open, and go after a question.
    void actsOnTheSelectedReport()
    {
        start();
        page->removeReportFolder(); // nothing to act on yet
        QVERIFY(console().isEmpty());
        page->stoneIDEdit->setText(str("X17"));
        page->actionButton->click();
        QStringList menu;
        QTimer::singleShot(50, page, [&menu] {
            auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            for (const QAction *action : popup->actions())
                menu << action->text() + QLatin1Char('|') + action->shortcut().toString();
            popup->close();
        });
        page->customContextMenuRequested(QPoint(5, 5));
        QCOMPARE(menu.join(QLatin1Char(';')),
                 str("Open report|Enter;Edit comment|;Open report "
                     "folder|Ctrl+O;Permanently delete selected report|Del"));

        const QString metadata = dir->filePath(str("reports/X17/0007 polished/metadata.xml"));
        page->editComment();
        // The editor takes the non-ASCII text as pasted; the keys are typed.
        qobject_cast<QLineEdit *>(focused())->setText(str("Re-cut \u00e9 "));
        QTest::keyClicks(focused(), str("<b>"));
        keys("Return", focused());
        QTRY_VERIFY(TestDir::readAll(metadata).contains(
            "<Comment>" + str("Re-cut \u00e9 <b>").toUtf8().toBase64() + "</Comment>"));
        page->editComment();
        keys("Ctrl+A Delete Return", focused());
        QTRY_VERIFY(TestDir::readAll(metadata).contains("<Comment></Comment>"));
        QVERIFY(console().isEmpty());
        // Escape only cancels an edit, and Return that ends one opens nothing (checked below).
        page->editComment();
        QTest::keyClicks(focused(), str("dropped"));
        keys("Escape", focused());
        QCOMPARE(focused(), page->tableView);

        // Offscreen no folder opens; under X11 a stand-in xdg-open records its argument.
        keys("Ctrl+O");
        if (QGuiApplication::platformName() == QLatin1String("xcb")) {
            QCOMPARE(console(), str("The 0007 polished report folder was successfully opened"));
            QTRY_COMPARE(TestDir::readAll(dir->filePath(str("opened.txt"))),
                         "file://" + QFile::encodeName(dir->path()) +
                             "/reports/X17/0007%20polished\n");
        } else {
            QCOMPARE(console(), str("Error: Failed to open the 0007 polished report folder"));
        }

        // Enter and Escape answer No: nothing is deleted and nothing is printed.
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            const auto question = answerQuestion(key);
            keys("Delete");
            QCOMPARE(*question, str("Delete Report|Are you sure you want to permanently delete "
                                    "the report 0007 polished folder and all its contents?"));
            QVERIFY(console().isEmpty());
            QVERIFY(QFile::exists(metadata));
        }

        QVERIFY(QDir(dir->filePath(str("reports/X17/0002"))).removeRecursively());
        keys("Ctrl+Home Down Ctrl+O");
        QCOMPARE(console(), str("Error: Opened report folder doesn't exist"));
        keys("Delete");
        QCOMPARE(console(), str("Error: Deleted report folder doesn't exist"));
        QCOMPARE(rows(), 5);

        // Of the two folders numbered 3 the selected one goes, and only its row.
        keys("Down Down");
        answerQuestion(Qt::Key_Y);
        keys("Delete");
        QCOMPARE(console(), str("The 0003 b report folder was successfully deleted"));
        QVERIFY(!QFile::exists(dir->filePath(str("reports/X17/0003 b"))));
        QVERIFY(QFile::exists(dir->filePath(str("reports/X17/0003 a/metadata.xml"))));
        QCOMPARE(column(0), str("1|2|3|7"));
        QCOMPARE(page->actionButton->text(), str("&Open Report"));
        QVERIFY(!TestDir::readAll(metadata).contains("<Comment>ZHJvcHBlZA==</Comment>"));
        QTest::qWait(200);
        QCOMPARE(launches().size(), 0);

#ifndef Q_OS_WIN // where "<" and ">" cannot stand in a folder name
        // The question names a folder as it is called, even when the name looks like markup.
        QVERIFY(QDir().rename(dir->filePath(str("reports/X17/0001")),
                              dir->filePath(str("reports/X17/0001 <b>x"))));
        keys("F5 Ctrl+Home");
        Qt::TextFormat format = Qt::AutoText;
        QTimer::singleShot(100, page, [&] {
            if (auto *box = page->findChild<QMessageBox *>()) {
                format = box->findChild<QLabel *>(str("qt_msgbox_label"))->textFormat();
                box->reject();
            }
        });
        keys("Delete");
        QCOMPARE(format, Qt::PlainText);
#endif
    }

    // A deletion never follows links. A browser that cannot start: the operator is told.
    void deletesOnlyTheReportFolder()
    {
        namespace fs = std::filesystem;
        start(0, 0, "#!/nonexistent/interpreter");
        const QString outside = dir->createFile(str("outside/keep.txt"), "keep");
        const QString target = dir->createFile(str("target/0001/data.js"));
        dir->createFile(str("target/0001/metadata.xml"), metadata("1.0"));
        const fs::path root = QFile::encodeName(dir->path()).toStdString();
        fs::create_directories(root / "reports/Y1");
#ifdef Q_OS_WIN // read-only files in place of the links, which Wine cannot make
        fs::copy(root / "target/0001", root / "reports/Y1/0001");
        for (const char *file : {"Y1/0001/data.js", "X17/0007 polished/metadata.xml"})
            QVERIFY(QFile::setPermissions(dir->filePath(str("reports/") + str(file)),
                                          QFile::ReadOwner));
#else
        fs::create_directory_symlink(root / "target/0001", root / "reports/Y1/0001");
        fs::create_directory_symlink(root / "outside", root / "reports/X17/0007 polished/link");
        fs::create_symlink(root / "outside/keep.txt", root / "reports/X17/0007 polished/file");
#endif
        for (const char *stone : {"X17", "Y1"}) {
            page->stoneIDEdit->setText(str(stone));
            page->actionButton->click();
            page->actionButton->click();
            QCOMPARE(console(), str("Error: Failed to open a report in browser"));
            answerQuestion(Qt::Key_Y);
            keys("Delete");
        }
        QVERIFY(!fs::exists(fs::symlink_status(root / "reports/X17/0007 polished")));
        QVERIFY(!fs::exists(fs::symlink_status(root / "reports/Y1/0001")));
        QCOMPARE(TestDir::readAll(outside), QByteArray("keep"));
        QVERIFY(QFile::exists(target));
        QCOMPARE(rows(), 0);
        QCOMPARE(page->actionButton->text(), str("&Find Reports"));
        QCOMPARE(console(), str("The 0001 report folder was successfully deleted"));
        keys("Tab", page->stoneIDEdit); // no results left: on to the button
        QCOMPARE(focused(), page->actionButton);
#ifdef Q_OS_WIN
        QSKIP("Deleting through junctions is not tested: Wine cannot make them");
#endif
    }
};

STELVANE_TEST_MAIN(TestOpenReport)
#include "tst_openreport.moc"
