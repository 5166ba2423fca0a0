#include "ConsoleProbe.h"
#include "TestSupport.h"

#include "openreport/BrowserLaunch.h"
#include "openreport/CExLineEdit.h"
#include "openreport/COpenReportWidget.h"
#include "reportlist/CReportsDataTableView.h"
#include "settings/SettingsStore.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <filesystem>

namespace {

QByteArray metadata(const char *viewer)
{
    return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ReportMetadata>"
                             "<DateTime>2024-03-05 14:22</DateTime>"
                             "<ReportType>RT_POLISH</ReportType><RequiredViewerVersion>") +
           viewer + "</RequiredViewerVersion><StoneID>X17</StoneID></ReportMetadata>\n";
}

} // namespace

class TestOpenReport : public QObject
{
    Q_OBJECT

    TestDir *dir = nullptr;
    COpenReportWidget *page = nullptr;

    QString launchesFile() const { return dir->filePath(QStringLiteral("launches.txt")); }

    // Each start of the fake browser is one line: its arguments, each followed by "|".
    QStringList launches() const
    {
        return QString::fromUtf8(TestDir::readAll(launchesFile()))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QString makeBrowser(const QString &name, const QByteArray &firstLine) const
    {
        const QString path =
            dir->createFile(name, firstLine +
                                      "\nline=''\nfor a in \"$@\"; do line=\"$line$a|\"; done\n"
                                      "printf '%s\\n' \"$line\" >> '" +
                                      QFile::encodeName(launchesFile()) + "'\n");
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        return path;
    }

    // Viewers 0.9, 1.0 and 2.1, and stone X17 with reports numbered 1, 2 (no required viewer),
    // 3 (twice) and 7.
    void makeCatalogue() const
    {
        dir->createFile(QStringLiteral("viewers/1.0/index.html"));
        dir->createFile(QStringLiteral("viewers/2.1/index.html"));
        dir->createFile(QStringLiteral("viewers/0.9/index.html"));
        const char *folders[][2] = {{"0001", "1.0"},
                                    {"0002", ""},
                                    {"0003 a", "2.1"},
                                    {"0003 b", "2.1"},
                                    {"0007 polished", "2.1"}};
        for (const auto &folder : folders) {
            const QString base = QStringLiteral("reports/X17/") + QLatin1String(folder[0]);
            dir->createFile(base + QStringLiteral("/data.js"));
            dir->createFile(base + QStringLiteral("/metadata.xml"), metadata(folder[1]));
        }
    }

    void writeSettings(const QString &browser, bool intercept, bool autoFind, bool autoOpen,
                       int timeout = 0) const
    {
        QSettings settings = openSettings();
        settings.setValue(SettingsKey::PathToViewers, dir->filePath(QStringLiteral("viewers")));
        settings.setValue(SettingsKey::PathToReports, dir->filePath(QStringLiteral("reports")));
        settings.setValue(SettingsKey::PathToBrowser, browser);
        settings.setValue(SettingsKey::BrowserArguments, QStringLiteral("--new-window  \"%1\""));
        settings.setValue(SettingsKey::OpenReportTimeout, timeout);
        settings.setValue(SettingsKey::InterceptNewLineInStoneID, intercept);
        settings.setValue(SettingsKey::AutoFindReports, autoFind);
        settings.setValue(SettingsKey::AutoOpenLatestReport, autoOpen);
    }

    void showPage()
    {
        page = new COpenReportWidget;
        page->resize(700, 500);
        page->show();
        page->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(page));
    }

    // The URL the viewer page of `version` gets for a report folder of stone X17.
    QString expectedUrl(const QString &version, const QString &encodedFolder) const
    {
        return QStringLiteral("file://") + dir->path() + QStringLiteral("/viewers/") + version +
               QStringLiteral("/index.html?dataPath=file://") + dir->path() +
               QStringLiteral("/reports/X17/") + encodedFolder + QStringLiteral("/data.js");
    }

    // Answers the next question box with a key, or with its "&Yes" button; returns the
    // question's text once it has been answered.
    QSharedPointer<QString> answerQuestion(Qt::Key key)
    {
        auto question = QSharedPointer<QString>::create();
        auto *poll = new QTimer(page);
        connect(poll, &QTimer::timeout, page, [=] {
            for (QMessageBox *box : page->findChildren<QMessageBox *>()) {
                if (!box->isVisible())
                    continue;
                poll->deleteLater();
                *question = box->windowTitle() + QLatin1Char('|') + box->text();
                if (key == Qt::Key_Y)
                    box->buttons().at(0)->click();
                else
                    QTest::keyClick(box, key);
                return;
            }
        });
        poll->start(10);
        return question;
    }

    // The texts of the context menu, which is closed again at once.
    QStringList contextMenuTexts()
    {
        QStringList texts;
        QTimer::singleShot(50, page, [&texts] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                for (const QAction *action : menu->actions())
                    texts << action->text() + QLatin1Char('|') + action->shortcut().toString();
                menu->close();
            }
        });
        page->customContextMenuRequested(QPoint(5, 5));
        return texts;
    }

    // A key on the table; the window is activated first, since the offscreen platform gives
    // no window the activation back when a question box closes.
    void pressOnTable(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        if (!page->isActiveWindow()) {
            page->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(page));
        }
        QTest::keyClick(page->tableView, key, modifiers);
    }

    QString selectedNumber() const
    {
        const QModelIndexList rows = page->tableView->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.first().data().toString() : QStringLiteral("none");
    }

private slots:
    void initTestCase()
    {
        // A stand-in for the desktop's folder opener, found before the real one.
        static QTemporaryDir bin;
        const QString opener = bin.path() + QStringLiteral("/xdg-open");
        QFile file(opener);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nprintf '%s\\n' \"$1\" > \"$STELVANE_TEST_OPENED\"\n");
        file.close();
        file.setPermissions(file.permissions() | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + qgetenv("PATH"));
    }

    void init()
    {
        openSettings().clear();
        dir = new TestDir;
        qputenv("STELVANE_TEST_OPENED",
                QFile::encodeName(dir->filePath(QStringLiteral("opened.txt"))));
    }

    void cleanup()
    {
        delete page;
        page = nullptr;
        delete dir;
    }

    // The viewer URL for report folder "0003 polished" of stone X17 and viewer version 1.2.3:
    // rule ("win" or "unix", "+ff" for Firefox), viewers folder, reports folder, URL.
    void buildsViewerUrls()
    {
        const char *const rows[][4] = {
            {"win", "C:/Viewers", "C:/Reports",
             "file:///C:/Viewers/1.2.3/index.html?dataPath=file://C:/Reports/X17/0003%20polished/"
             "data.js"},
            {"win+ff", "C:/Viewers", "C:/Reports",
             "file:///C:/Viewers/1.2.3/index.html?dataPath=file:///C:/Reports/X17/0003%20polished/"
             "data.js"},
            {"win", "//srv/share/V", "//srv/share/R",
             "file://srv/share/V/1.2.3/index.html?dataPath=file://srv/share/R/X17/0003%20polished/"
             "data.js"},
            {"win+ff", "//srv/share/V", "//srv/share/R",
             "file://///srv/share/V/1.2.3/index.html?dataPath=file://///srv/share/R/X17/"
             "0003%20polished/data.js"},
            {"win", "C:/Viewers", "//srv/share/R",
             "file:///C:/Viewers/1.2.3/index.html?dataPath=file://srv/share/R/X17/0003%20polished/"
             "data.js"},
            {"unix", "/srv/V", "/srv/R",
             "file:///srv/V/1.2.3/index.html?dataPath=file:///srv/R/X17/0003%20polished/data.js"},
            {"unix+ff", "/srv/V", "/srv/R",
             "file:///srv/V/1.2.3/index.html?dataPath=file:///srv/R/X17/0003%20polished/data.js"},
            {"unix", "//srv/share/V", "//srv/share/R",
             "file://srv/share/V/1.2.3/index.html?dataPath=file://srv/share/R/X17/0003%20polished/"
             "data.js"},
            {"unix+ff", "/srv/V", "//srv/share/R",
             "file:///srv/V/1.2.3/index.html?dataPath=file://///srv/share/R/X17/0003%20polished/"
             "data.js"},
            {"unix", "/srv/My Viewers#2", "/srv/Lab 100%/Z\u00fcrich",
             "file:///srv/My%20Viewers%232/1.2.3/index.html?dataPath=file:///srv/Lab%20100%25/"
             "Z%C3%BCrich/X17/0003%20polished/data.js"},
        };
        for (const auto &row : rows) {
            const QString rule = QLatin1String(row[0]);
            const QString reports = QString::fromUtf8(row[2]);
            QCOMPARE(viewerUrl(QString::fromUtf8(row[1]), QStringLiteral("1.2.3"), reports,
                               reports + QStringLiteral("/X17/0003 polished/data.js"),
                               rule.endsWith(QLatin1String("+ff")),
                               rule.startsWith(QLatin1String("win")) ? FileUrlStyle::Windows
                                                                     : FileUrlStyle::Unix),
                     QString::fromUtf8(row[3]));
        }
    }

    void buildsArgumentsAndNames()
    {
        const QString url = QStringLiteral("file:///v/index.html?dataPath=file:///d.js");
        const auto joined = [&](const char *line) {
            return browserArgumentList(QString::fromUtf8(line), url).join(QLatin1Char('|'));
        };
        QCOMPARE(joined("-a \"%1\" -b"), QStringLiteral("-a|") + url + QStringLiteral("|-b"));
        QCOMPARE(joined("\"%1\" \"%1\""), url + QLatin1Char('|') + url);
        QCOMPARE(joined("  -a    -b  "), QStringLiteral("-a|-b"));
        QCOMPARE(joined("%1 --app=\"%1\" '%1'"), QStringLiteral("%1|--app=\"%1\"|'%1'"));
        QVERIFY(browserArgumentList(QString(), url).isEmpty());

        QCOMPARE(reportNameOfDataPath(QStringLiteral("//srv/R/X17/0003 polished/data.js")),
                 QStringLiteral("0003 polished"));
        QCOMPARE(reportNameOfDataPath(QStringLiteral("/data.js")), QString());

        QVERIFY(isFirefoxPath(QStringLiteral("C:/Program Files/Mozilla Firefox/firefox.exe")));
        QVERIFY(!isFirefoxPath(QStringLiteral("C:/Browsers/FIREFOX.EXE")));
    }

    // What the operator sees right after start: settings applied, configuration errors shown.
    void startsFromSettings()
    {
        {
            QSettings settings = openSettings();
            settings.setValue(SettingsKey::AutoFindReports, false);
            settings.setValue(SettingsKey::AutoOpenLatestReport, true);
            settings.setValue(SettingsKey::PathToBrowser,
                              dir->createFile(QStringLiteral("FIREFOX.EXE")));
        }
        page = new COpenReportWidget;
        bool versionShown = false;
        for (const QLabel *label : page->findChildren<QLabel *>())
            versionShown = versionShown || label->text() == QLatin1String("Version 1.2.12");
        QVERIFY(versionShown);
        QCOMPARE(consoleTexts(page->console),
                 QStringList({QStringLiteral("Error: Report Viewers folder not configured"),
                              QStringLiteral("Error: Reports Data folder not configured"),
                              QStringLiteral("Error: Specified browser executable not found")}));
        QCOMPARE(page->autoFindTimer->interval(), 1000);

        const QList<QCheckBox *> boxes = page->findChildren<QCheckBox *>();
        QCOMPARE(boxes.size(), 2);
        QCheckBox *autoFind = boxes.at(0);
        QCheckBox *autoOpen = boxes.at(1);
        QCOMPARE(autoFind->text(), QStringLiteral("&Automatically find reports"));
        QVERIFY(!autoFind->isChecked() && !autoOpen->isChecked() && !autoOpen->isEnabled());
        autoFind->click();
        QVERIFY(autoOpen->isEnabled() && !autoOpen->isChecked());
        autoOpen->click();
        autoFind->click();
        QVERIFY(!autoOpen->isEnabled() && !autoOpen->isChecked());

        delete page;
        page = nullptr;
        const QSettings settings = openSettings();
        QCOMPARE(settings.value(SettingsKey::AutoFindReports).toString(), QStringLiteral("false"));
        QCOMPARE(settings.value(SettingsKey::AutoOpenLatestReport).toString(),
                 QStringLiteral("false"));
    }

    // One operator's road: search with Return, open the latest report, move through the rows,
    // open the others, leave the table, edit the Stone ID.
    void searchesAndOpensLikeAnOperator()
    {
        makeCatalogue();
        writeSettings(makeBrowser(QStringLiteral("bin/browser"), "#!/bin/sh"), false, false, false);
        showPage();
        QVERIFY(consoleLines(page->console).isEmpty());
        CExLineEdit *field = page->stoneIDEdit;
        QCOMPARE(page->actionButton->text(), QStringLiteral("&Find Reports"));

        // Tab before any search goes to the action button.
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), page->actionButton);

        field->setFocus();
        QTest::keyClicks(field, QStringLiteral("X17"));
        QCOMPARE(page->tableView->model()->rowCount(), 0);
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(page->tableView->model()->rowCount(), 5);
        QCOMPARE(selectedNumber(), QStringLiteral("7"));
        QCOMPARE(page->actionButton->text(), QStringLiteral("&Open Report"));
        QCOMPARE(consoleTexts(page->console),
                 QStringList(QStringLiteral("Found 5 reports for a stone with the specified ID")));
        // Return pauses the page for a moment, then the focus is back on the table.
        QVERIFY(!page->isEnabled());
        QTRY_VERIFY(page->isEnabled());
        QCOMPARE(QApplication::focusWidget(), page->tableView);

        QTest::keyClick(page->tableView, Qt::Key_Return);
        QTRY_COMPARE(launches().size(), 1);
        QCOMPARE(launches().at(0),
                 QStringLiteral("--new-window|") +
                     expectedUrl(QStringLiteral("2.1"), QStringLiteral("0007%20polished")) +
                     QLatin1Char('|'));
        QCOMPARE(consoleTexts(page->console),
                 QStringList(QStringLiteral(
                     "The 0007 polished report was successfully opened in browser")));

        // Two folders with one number each open their own report; the keypad Enter in the
        // table opens nothing.
        QTest::keyClick(page->tableView, Qt::Key_Up);
        QTest::keyClick(page->tableView, Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClick(page->tableView, Qt::Key_Return);
        QTRY_COMPARE(launches().size(), 2);
        QVERIFY(launches().at(1).contains(QLatin1String("/X17/0003%20b/data.js")));
        QTest::keyClick(page->tableView, Qt::Key_Up);
        page->actionButton->click();
        QTRY_COMPARE(launches().size(), 3);
        QVERIFY(launches().at(2).contains(QLatin1String("/X17/0003%20a/data.js")));

        // Report 1 needs viewer 1.0; a double click on its comment does not open it.
        QTest::keyClick(page->tableView, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(selectedNumber(), QStringLiteral("1"));
        const auto doubleClick = [this](int column) {
            const QModelIndex cell = page->tableView->model()->index(0, column);
            const QPoint centre = page->tableView->visualRect(cell).center();
            QTest::mouseClick(page->tableView->viewport(), Qt::LeftButton, {}, centre);
            QTest::mouseDClick(page->tableView->viewport(), Qt::LeftButton, {}, centre);
        };
        doubleClick(4);
        QApplication::focusWidget()->clearFocus(); // closes the comment editor unchanged
        doubleClick(1);
        QTRY_COMPARE(launches().size(), 4);
        QCOMPARE(launches().at(3), QStringLiteral("--new-window|") +
                                       expectedUrl(QStringLiteral("1.0"), QStringLiteral("0001")) +
                                       QLatin1Char('|'));
        // A report that names no viewer opens in the newest one.
        QTest::keyClick(page->tableView, Qt::Key_Down);
        QTest::keyClick(page->tableView, Qt::Key_Return);
        QTRY_COMPARE(launches().size(), 5);
        QVERIFY(launches().at(4).contains(QLatin1String("/viewers/2.1/index.html?dataPath=")));

        // Escape leaves the table for the field; Tab goes back while the results are shown.
        page->tableView->setFocus();
        QTest::keyClick(page->tableView, Qt::Key_Escape);
        QCOMPARE(QApplication::focusWidget(), field);
        QTest::keyClick(field, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), page->tableView);

        // Editing the Stone ID empties the table and the console and resets the button.
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Backspace);
        QCOMPARE(page->tableView->model()->rowCount(), 0);
        QCOMPARE(page->actionButton->text(), QStringLiteral("&Find Reports"));
        QVERIFY(consoleLines(page->console).isEmpty());
        QCOMPARE(launches().size(), 5);
    }

    void handlesNewLineKeys_data()
    {
        QTest::addColumn<bool>("intercept");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("searches");
        const int ctrl = Qt::ControlModifier, keypad = Qt::KeypadModifier;
        QTest::newRow("Return") << false << int(Qt::Key_Return) << 0 << true;
        QTest::newRow("Shift+Return")
            << false << int(Qt::Key_Return) << int(Qt::ShiftModifier) << true;
        QTest::newRow("keypad Enter") << false << int(Qt::Key_Enter) << keypad << true;
        QTest::newRow("intercepted Return") << true << int(Qt::Key_Return) << 0 << false;
        QTest::newRow("intercepted keypad Enter") << true << int(Qt::Key_Enter) << keypad << false;
        QTest::newRow("intercepted Ctrl+Return") << true << int(Qt::Key_Return) << ctrl << true;
        QTest::newRow("intercepted Ctrl+Shift+Return")
            << true << int(Qt::Key_Return) << int(ctrl | Qt::ShiftModifier) << false;
        QTest::newRow("intercepted Ctrl+keypad Enter")
            << true << int(Qt::Key_Enter) << int(ctrl | keypad) << false;
    }

    void handlesNewLineKeys()
    {
        QFETCH(bool, intercept);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, searches);
        makeCatalogue();
        writeSettings(makeBrowser(QStringLiteral("browser"), "#!/bin/sh"), intercept, true, true);
        showPage();
        page->stoneIDEdit->setText(QStringLiteral("X17"));
        page->autoFindTimer->stop(); // only the key may search here
        page->stoneIDEdit->setFocus();
        QTest::keyClick(page->stoneIDEdit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(page->tableView->model()->rowCount(), searches ? 5 : 0);
        // A search started by a key opens the latest report at once when auto-open is on.
        QTRY_COMPARE(launches().size(), searches ? 1 : 0);
        QCOMPARE(page->stoneIDEdit->text(), QStringLiteral("X17"));
        QTRY_VERIFY(page->isEnabled());
        QCOMPARE(QApplication::focusWidget(),
                 searches ? static_cast<QWidget *>(page->tableView) : page->stoneIDEdit);
    }

    // Several quick edits give one automatic search, one interval after the last of them; F5
    // searches again and opens again.
    void findsAutomaticallyOnce()
    {
        makeCatalogue();
        writeSettings(makeBrowser(QStringLiteral("browser"), "#!/bin/sh"), false, true, true, 700);
        showPage();
        page->stoneIDEdit->setFocus();
        QElapsedTimer sinceLastEdit;
        for (const char *key : {"X", "1", "7"}) {
            QTest::keyClicks(page->stoneIDEdit, QLatin1String(key));
            sinceLastEdit.start();
            QTest::qWait(200);
        }
        QCOMPARE(page->tableView->model()->rowCount(), 0);
        QTRY_COMPARE(page->tableView->model()->rowCount(), 5);
        QVERIFY2(sinceLastEdit.elapsed() >= 650,
                 qPrintable(QString::number(sinceLastEdit.elapsed())));
        QTRY_COMPARE(launches().size(), 1);

        QTest::keyClick(page->tableView, Qt::Key_Up);
        QTest::keyClick(page->tableView, Qt::Key_F5);
        QCOMPARE(selectedNumber(), QStringLiteral("7"));
        QTRY_COMPARE(launches().size(), 2);
        QCOMPARE(launches().at(0), launches().at(1));
    }

    // Comments edited in the table land in the metadata file; folders are opened and deleted
    // after a question, and folders removed behind the client's back are reported.
    void actsOnTheSelectedReport()
    {
        makeCatalogue();
        writeSettings(makeBrowser(QStringLiteral("browser"), "#!/bin/sh"), false, false, false);
        const QStringList menu = {QStringLiteral("Open report|Enter"),
                                  QStringLiteral("Edit comment|"),
                                  QStringLiteral("Open report folder|Ctrl+O"),
                                  QStringLiteral("Permanently delete selected report|Del")};
        showPage();
        QCOMPARE(contextMenuTexts(), menu);
        page->removeReportFolder(); // nothing to act on yet
        QVERIFY(consoleLines(page->console).isEmpty());

        page->stoneIDEdit->setText(QStringLiteral("X17"));
        page->actionButton->click();
        QCOMPARE(contextMenuTexts(), menu);
        const QString metadata =
            dir->filePath(QStringLiteral("reports/X17/0007 polished/metadata.xml"));
        page->editComment();
        // The editor takes the non-ASCII text as pasted; the keys are typed.
        qobject_cast<QLineEdit *>(QApplication::focusWidget())
            ->setText(QStringLiteral("Re-cut \u00e9 "));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("<b>"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(TestDir::readAll(metadata).contains(
            "<Comment>" + QStringLiteral("Re-cut \u00e9 <b>").toUtf8().toBase64() + "</Comment>"));
        // Escape cancels an edit: the file keeps the comment.
        const QByteArray commented = TestDir::readAll(metadata);
        page->editComment();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("discard"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(QApplication::focusWidget(), page->tableView);
        QCOMPARE(TestDir::readAll(metadata), commented);
        page->editComment();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(TestDir::readAll(metadata).contains("<Comment></Comment>"));
        QVERIFY(consoleLines(page->console).isEmpty());

        // The desktop cannot open folders on the offscreen platform; under X11 a stand-in
        // for xdg-open records what it was given.
        page->tableView->setFocus();
        pressOnTable(Qt::Key_O, Qt::ControlModifier);
        if (QGuiApplication::platformName() == QLatin1String("xcb")) {
            QCOMPARE(consoleTexts(page->console),
                     QStringList(QStringLiteral(
                         "The 0007 polished report folder was successfully opened")));
            QTRY_COMPARE(TestDir::readAll(dir->filePath(QStringLiteral("opened.txt"))),
                         "file://" + QFile::encodeName(dir->path()) +
                             "/reports/X17/0007%20polished\n");
        } else {
            QCOMPARE(consoleTexts(page->console),
                     QStringList(
                         QStringLiteral("Error: Failed to open the 0007 polished report folder")));
        }

        // Enter and Escape answer No: nothing is deleted and nothing is printed.
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            const auto question = answerQuestion(key);
            pressOnTable(Qt::Key_Delete);
            QCOMPARE(*question, QStringLiteral("Delete Report|Are you sure you want to "
                                               "permanently delete the report 0007 polished "
                                               "folder and all its contents?"));
            QVERIFY(consoleLines(page->console).isEmpty());
            QVERIFY(QFile::exists(metadata));
        }

        QVERIFY(QDir(dir->filePath(QStringLiteral("reports/X17/0002"))).removeRecursively());
        pressOnTable(Qt::Key_Home, Qt::ControlModifier);
        pressOnTable(Qt::Key_Down);
        pressOnTable(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(consoleTexts(page->console),
                 QStringList(QStringLiteral("Error: Opened report folder doesn't exist")));
        pressOnTable(Qt::Key_Delete);
        QCOMPARE(consoleTexts(page->console),
                 QStringList(QStringLiteral("Error: Deleted report folder doesn't exist")));
        QCOMPARE(page->tableView->model()->rowCount(), 5);

        // Of the two folders numbered 3 the selected one goes.
        pressOnTable(Qt::Key_Down);
        pressOnTable(Qt::Key_Down);
        answerQuestion(Qt::Key_Y);
        pressOnTable(Qt::Key_Delete);
        QCOMPARE(consoleTexts(page->console),
                 QStringList(QStringLiteral("The 0003 b report folder was successfully deleted")));
        QVERIFY(!QFile::exists(dir->filePath(QStringLiteral("reports/X17/0003 b"))));
        QVERIFY(QFile::exists(dir->filePath(QStringLiteral("reports/X17/0003 a/metadata.xml"))));
        QCOMPARE(page->tableView->model()->rowCount(), 4);
        QCOMPARE(page->actionButton->text(), QStringLiteral("&Open Report"));
    }

    // Deleting a report removes its folder and never what a link in it, or the folder itself
    // when it is a link, points to.
    void deletesOnlyTheReportFolder()
    {
        namespace fs = std::filesystem;
        makeCatalogue();
        writeSettings(makeBrowser(QStringLiteral("browser"), "#!/bin/sh"), false, false, false);
        const QString outside = dir->createFile(QStringLiteral("outside/keep.txt"), "keep");
        const QString target = dir->createFile(QStringLiteral("target/0001/data.js"));
        dir->createFile(QStringLiteral("target/0001/metadata.xml"), metadata("1.0"));
        const fs::path root = QFile::encodeName(dir->path()).toStdString();
        fs::create_directories(root / "reports/Y1");
        fs::create_directory_symlink(root / "target/0001", root / "reports/Y1/0001");
        fs::create_directory_symlink(root / "outside", root / "reports/X17/0007 polished/link");
        fs::create_symlink(root / "outside/keep.txt", root / "reports/X17/0007 polished/file");
        showPage();

        for (const char *stone : {"X17", "Y1"}) {
            page->stoneIDEdit->setText(QLatin1String(stone));
            page->actionButton->click();
            answerQuestion(Qt::Key_Y);
            pressOnTable(Qt::Key_Delete);
        }
        QVERIFY(!fs::exists(fs::symlink_status(root / "reports/X17/0007 polished")));
        QVERIFY(!fs::exists(fs::symlink_status(root / "reports/Y1/0001")));
        QCOMPARE(TestDir::readAll(outside), QByteArray("keep"));
        QVERIFY(QFile::exists(target));
        QCOMPARE(page->tableView->model()->rowCount(), 0);
        QCOMPARE(page->actionButton->text(), QStringLiteral("&Find Reports"));
        QCOMPARE(consoleTexts(page->console),
                 QStringList(QStringLiteral("The 0001 report folder was successfully deleted")));
    }

    void reportsBrowserStarts_data()
    {
        QTest::addColumn<QByteArray>("firstLine");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("console");
        const QString found = QStringLiteral("Found 5 reports for a stone with the specified ID");
        QTest::newRow("starts") << QByteArray("#!/bin/sh") << QStringLiteral("browser")
                                << QStringList(QStringLiteral(
                                       "The 0007 polished report was successfully opened in "
                                       "browser"));
        QTest::newRow("cannot start")
            << QByteArray("#!/nonexistent/interpreter") << QStringLiteral("browser")
            << QStringList(QStringLiteral("Error: Failed to open a report in browser"));
        // Not executable and no ".exe" in the exact case: nothing opens, the error stays.
        QTest::newRow("not a program")
            << QByteArray() << QStringLiteral("FIREFOX.EXE")
            << QStringList(
                   {found, QStringLiteral("Error: Specified browser executable not found")});
    }

    void reportsBrowserStarts()
    {
        QFETCH(QByteArray, firstLine);
        QFETCH(QString, name);
        QFETCH(QStringList, console);
        makeCatalogue();
        QString browser = dir->filePath(name);
        if (firstLine.isEmpty())
            dir->createFile(name);
        else
            browser = makeBrowser(name, firstLine);
        writeSettings(browser, false, false, false);
        showPage();
        page->stoneIDEdit->setText(QStringLiteral("X17"));
        page->actionButton->click();
        page->actionButton->click();
        QCOMPARE(consoleTexts(page->console), console);
    }
};

STELVANE_TEST_MAIN(TestOpenReport)
#include "tst_openreport.moc"
