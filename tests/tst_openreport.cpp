#include "TestSupport.h"

#include "app/CStackedWindow.h"
#include "openreport/BrowserLaunch.h"
#include "openreport/CConsole.h"
#include "openreport/CExLineEdit.h"
#include "openreport/COpenReportWidget.h"
#include "platform/Platform.h"
#include "reportlist/CReportsDataTableView.h"
#include "settings/CSettingsWidget.h"
#include "settings/SettingsStore.h"

#include <QtWidgets>
#ifdef Q_OS_LINUX
#include <sys/fsuid.h>
#include <unistd.h>
#endif

// The page after stone X17's search: the button's text, then the report numbers from top to
// bottom, the selected one in brackets. Two folders, "0003 a" and "0003 b", share number 3.
static const char *const AllReports = "Open Report: 1 2 3 3 [7]", *const Latest = "0007 polished";
static const char *const FiveFound = "Found 5 reports for a stone with the specified ID";

// A report folder: a data file and the metadata naming the viewer the report needs.
static void writeReport(const QString &folder, const QByteArray &viewer = "2.1")
{
    writeFile(folder + QStringLiteral("/data.js"));
    writeFile(folder + QStringLiteral("/metadata.xml"),
              "<R><RequiredViewerVersion>" + viewer + "</RequiredViewerVersion></R>");
}

// Each road drives the window as an operator does. An action (press, typeStoneId, did) names the
// step; a check chained to it fails with that step and what it expected, and after a failure the
// rest of the road does nothing.
class TestOpenReport : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QPointer<CStackedWindow> window;
    QPointer<COpenReportWidget> page;
    QWidget *stoneId = nullptr, *table = nullptr, *button = nullptr; // the page's
    QHash<const QWidget *, QString> names; // those as an operator names them
    QStringList answers;   // the operator's answers to the questions to come: a key, or "Yes"
    QStringList questions; // each question's "title|text", each context menu item's "text|key"
    int launchesSeen = 0;  // the bytes of the browser's record already checked
    QString step;          // what the operator did last

    QString pathOf(const char *name) const
    {
        return dir->path() + QLatin1Char('/') + QString::fromUtf8(name);
    }

    // Viewers 0.9, 1.0 and 2.1; stone X17's reports 0001 (viewer 1.0), 0002 (naming none),
    // "0003 a", "0003 b" and "0007 polished"; a browser that records its starts; the settings
    // (named as earlier versions wrote them), then `more`; the window.
    TestOpenReport &startClient(const QVariantMap &more = {})
    {
        QSettings settings = openSettings();
        settings.setValue(QStringLiteral("PathToViewers"), pathOf("viewers"));
        settings.setValue(QStringLiteral("PathToReports"), pathOf("reports"));
        settings.setValue(QStringLiteral("PathToBrowser"), pathOf("browser.exe"));
        settings.setValue(QStringLiteral("BrowserArguments"),
                          QStringLiteral("--new-window  \"%1\" --app=\"%1\""));
        for (auto value = more.cbegin(); value != more.cend(); ++value)
            settings.setValue(value.key(), value.value());
        for (const char *viewer : {"viewers/0.9", "viewers/1.0", "viewers/2.1"})
            writeFile(pathOf(viewer) + QStringLiteral("/index.html"));
        writeReport(pathOf("reports/X17/0001"), "1.0");
        writeReport(pathOf("reports/X17/0002"), "");
        for (const char *folder : {"0003 a", "0003 b", Latest})
            writeReport(pathOf("reports/X17/") + QString::fromUtf8(folder));
        writeStandInBrowser(pathOf("browser.exe"));
        window = new CStackedWindow;
        page = window->findChild<COpenReportWidget *>();
        names = {{stoneId = page->stoneIDEdit, QStringLiteral("the Stone ID")},
                 {table = page->tableView, QStringLiteral("the table")},
                 {button = page->actionButton, QStringLiteral("the button")}};
        window->show();
        auto *poll = new QTimer(page); // notes and closes menus, notes and answers questions
        connect(poll, &QTimer::timeout, page, [this] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                for (const QAction *action : menu->actions())
                    questions << action->text() + QLatin1Char('|') + action->shortcut().toString();
                menu->close();
            }
            auto *box = page->findChild<QMessageBox *>();
            if (!box || !box->isVisible() || answers.isEmpty())
                return;
            questions << box->windowTitle() + QLatin1Char('|') + box->text();
            const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
            expect(label->textFormat() == Qt::PlainText, "a folder name in a question as it is");
            const QString answer = answers.takeFirst();
            answer == QLatin1String("Yes") ? box->buttons().at(0)->click()
                                           : QTest::keySequence(box, QKeySequence(answer));
        });
        poll->start(10);
        activated(); // which puts the focus in the Stone ID
        return did(QStringLiteral("starting the client"));
    }

    // Actions: keys (named as QKeySequence names them, separated by spaces) on a widget, text
    // typed into the Stone ID, a search, a comment edited, or anything else the road did.
    TestOpenReport &press(QWidget *target, const char *keys)
    {
        for (const QString &key : QString::fromUtf8(keys).split(QLatin1Char(' '))) {
            if (activated())
                QTest::keySequence(target, QKeySequence(key));
        }
        return did(QString::fromUtf8(keys) + QStringLiteral(" on ") + names.value(target));
    }
    TestOpenReport &typeStoneId(const char *text)
    {
        if (activated())
            page->stoneIDEdit->insert(QString::fromUtf8(text));
        return did(QStringLiteral("typing ") + QString::fromUtf8(text));
    }
    bool activated() // the window, again after a question; not after a failure
    {
        page->activateWindow();
        if (!QTest::currentTestFailed())
            expect(QTest::qWaitForWindowActive(page), "the window active for the next key");
        return !QTest::currentTestFailed();
    }
    TestOpenReport &findStone(const char *stoneId) // Return after it, and the page's pause
    {
        typeStoneId(stoneId).press(this->stoneId, "Return");
        waitUntil([this] { return page->isEnabled(); });
        return *this;
    }
    TestOpenReport &editComment(const char *text, const char *key) // the selected report's
    {
        page->editComment();
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        if (editor && activated()) {
            editor->insert(QString::fromUtf8(text));
            press(editor, key);
        }
        did(QStringLiteral("typing %1 as the comment, then %2")
                .arg(QString::fromUtf8(text), QLatin1String(key)));
        return expect(editor, "a comment editor");
    }
    template <typename Condition> bool waitUntil(Condition met, int milliseconds = 5000)
    {
        return QTest::qWaitFor(met, milliseconds);
    }
    TestOpenReport &did(const QString &what)
    {
        step = what;
        return *this;
    }

    // Checks.
    TestOpenReport &expect(bool met, const char *expected, const QString &found = {})
    {
        if (!met && !QTest::currentTestFailed())
            QTest::qFail(qPrintable(QStringLiteral("after %1: expected %2%3")
                                        .arg(step, QString::fromUtf8(expected), found)),
                         __FILE__, __LINE__);
        return *this;
    }
    TestOpenReport &reads(const char *what, const QString &found, const QString &expected)
    {
        return expect(found == expected,
                      qPrintable(QStringLiteral("%1 \"%2\"").arg(QLatin1String(what), expected)),
                      QStringLiteral(", found \"%1\"").arg(found));
    }
    TestOpenReport &consoleSays(const char *text) // waiting a moment for it
    {
        waitUntil([&] { return page->console->toPlainText() == QString::fromUtf8(text); }, 2000);
        return reads("the console to say", page->console->toPlainText(), QString::fromUtf8(text));
    }
    TestOpenReport &shows(const char *text) // waiting a moment for it
    {
        waitUntil([&] { return buttonAndRows() == QLatin1String(text); }, 2000);
        return reads("the page to show", buttonAndRows(), QString::fromUtf8(text));
    }
    QString buttonAndRows() const
    {
        QString text = page->actionButton->text().remove(QLatin1Char('&')) + QLatin1Char(':');
        for (int row = 0; row < page->tableView->model()->rowCount(); ++row) {
            const QString number = page->tableView->model()->index(row, 0).data().toString();
            text += page->tableView->selectionModel()->isRowSelected(row, {})
                        ? QStringLiteral(" [") + number + QLatin1Char(']')
                        : QLatin1Char(' ') + number;
        }
        return text;
    }
    // The browser's starts since the last check: stone X17's report `folder` in the viewer of
    // version `viewer`, between the configured arguments; or none, after a moment.
    TestOpenReport &opens(const char *viewer, const char *folder)
    {
        return browserStarts(
            QStringLiteral("--new-window|") + QUrl::fromLocalFile(pathOf("viewers/")).toString() +
            QString::fromUtf8(viewer) + QStringLiteral("/index.html?dataPath=file://") +
            pathOf("reports/X17/") +
            QString::fromUtf8(folder).replace(QLatin1Char(' '), QLatin1String("%20")) +
            QStringLiteral("/data.js|--app=\"%1\"|\n"));
    }
    TestOpenReport &opensNothing() { return browserStarts(QString()); }
    TestOpenReport &browserStarts(const QString &expected)
    {
        const auto started = [this] { return readFile(pathOf("launches.txt")).mid(launchesSeen); };
        const int wait = QTest::currentTestFailed() ? 0 : expected.isEmpty() ? 300 : 5000;
        waitUntil([&] { return !expected.isEmpty() && started() == expected.toUtf8(); }, wait);
        const QByteArray found = started();
        launchesSeen += found.size();
        return reads(expected.isEmpty() ? "no browser start:" : "the browser started with",
                     QString::fromUtf8(found).trimmed(), expected.trimmed());
    }
    // The focus, after no pause for input or after one (which drops a scanner's keys).
    TestOpenReport &focusOn(const QWidget *widget) { return focusAfter(QString(), widget); }
    TestOpenReport &pauseThenFocusOn(const QWidget *widget)
    {
        return focusAfter(QStringLiteral("a pause, then "), widget);
    }
    TestOpenReport &focusAfter(const QString &pause, const QWidget *widget)
    {
        const QString paused = page->isEnabled() ? QString() : QStringLiteral("a pause, then ");
        waitUntil([this] { return page->isEnabled(); });
        const QString focus = names.value(QApplication::focusWidget(), QStringLiteral("another"));
        return reads("the focus on", paused + focus, pause + names.value(widget));
    }

private slots:
    void init()
    {
        delete window;
        openSettings().clear();
        CSettingsWidget::defaultBrowserCommands = &Platform::defaultBrowserCommands; // the system's
        dir.reset(new QTemporaryDir);
        answers.clear();
        questions.clear();
        launchesSeen = 0;
#ifndef Q_OS_WIN // a stand-in for the desktop's folder opener, found first, records its argument
        static const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(dir->path()) + ':' + path);
        writeFile(pathOf("xdg-open"), "#!/bin/sh\necho \"$1\" > \"${0%/*}/opened.txt\"\n", true);
#endif
    }

    // Tab before a search goes to the button. Return in the Stone ID lists the reports, the
    // latest selected, after a pause; in the table Return opens it, keypad Enter nothing.
    // Auto-open, stored as on, stays off without auto-find.
    void returnFindsTheReportsAndReturnAgainOpensTheLatest()
    {
        startClient({{QStringLiteral("AutoOpenLatestReport"), true}});
        press(stoneId, "Tab").focusOn(button);
        typeStoneId("X17").consoleSays("").shows("Find Reports:");
        press(stoneId, "Return").pauseThenFocusOn(table).consoleSays(FiveFound);
        shows(AllReports).opensNothing();
        press(table, "Return").opens("2.1", Latest).focusOn(table);
        consoleSays("The 0007 polished report was successfully opened in browser");
        press(table, "Up Num+Enter").opensNothing();
    }

    // A fresh install names only the two folders: the desktop's default browser, stored at the
    // first start, opens the first report.
    void aFreshInstallOpensReportsInTheDefaultBrowser()
    {
        static QString browser;
        browser = pathOf("browser.exe");
        CSettingsWidget::defaultBrowserCommands = [] {
            return QList<Platform::BrowserCommand>{
                {browser, QStringLiteral("--new-window  \"%1\" --app=\"%1\"")}};
        };
        startClient({{SettingsKey::PathToBrowser, QString()}}).findStone("X17");
        press(table, "Return").opens("2.1", Latest);
        reads("the browser stored", openSettings().value(SettingsKey::PathToBrowser).toString(),
              browser);
    }

    // Each of two folders numbered 3 opens its own report, from Return or the button. Report 1
    // needs viewer 1.0; report 2 names none and opens in the newest, not in 0.9.
    void eachReportOpensInTheViewerItNeeds()
    {
        startClient().findStone("X17");
        press(table, "Up Return").shows("Open Report: 1 2 3 [3] 7").opens("2.1", "0003 b");
        press(table, "Up").press(button, "Space").shows("Open Report: 1 2 [3] 3 7");
        opens("2.1", "0003 a").focusOn(table);
        press(table, "Ctrl+Home Return").shows("Open Report: [1] 2 3 3 7").opens("1.0", "0001");
        press(table, "Down Return").shows("Open Report: 1 [2] 3 3 7").opens("2.1", "0002");
    }

    // Escape leaves the table for the Stone ID, Tab goes back. Editing the Stone ID empties the
    // table and the console, and nothing opens until the next search.
    void aStaleReportNeverOpensAfterTheStoneIdChanged()
    {
        startClient().findStone("X17");
        press(table, "Escape").focusOn(stoneId);
        press(stoneId, "Tab").focusOn(table);
        press(stoneId, "Backspace").consoleSays("").shows("Find Reports:");
        press(table, "Return").consoleSays("").opensNothing();
        findStone("7").press(table, "Return").shows(AllReports).opens("2.1", Latest);
    }

    // Escape cancels a comment edit; Return ends one, writing the comment, markup and all, and
    // opens nothing. A double click on a comment edits it; on the number it opens the report.
    void returnEndingACommentEditOpensNothing()
    {
        startClient().findStone("X17");
        editComment("dropped", "Escape").focusOn(table).shows(AllReports);
        editComment("Re-cut\u00e9<b>", "Return").opensNothing();
        const QByteArray comment = "<Comment>" + QByteArray("Re-cut\u00e9<b>").toBase64();
        const QString metadata = pathOf("reports/X17/0007 polished/metadata.xml");
        expect(waitUntil([&] { return readFile(metadata).contains(comment); }),
               "the comment in the metadata file, in base64");
        QTableView *view = page->tableView;
        for (const int column : {4, 1}) {
            const QPoint cell = view->visualRect(view->model()->index(4, column)).center();
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell);
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell);
            did(QStringLiteral("a double click on column %1 of report 7").arg(column));
            column == 4 ? opensNothing() : opens("2.1", Latest).focusOn(table);
        }
    }

    // A comment that cannot be written (the file was cut off after the search) is not shown as
    // written: the row keeps the comment that the file holds.
    void aCommentThatCannotBeWrittenIsNotShownAsWritten()
    {
        startClient().findStone("X17");
        writeFile(pathOf("reports/X17/0007 polished/metadata.xml"), "<R><Requir");
        editComment("Re-cut", "Return");
        consoleSays("Error: Cannot read metadata file for 0007 polished report");
        reads("the comment", page->tableView->model()->index(4, 4).data().toString(), QString());
        page->updateConsole();
        page->saveReportComment(QStringLiteral("0003 a"), QString(300000, QLatin1Char('c')));
        did(QStringLiteral("a comment of 300000 characters for 0003 a"));
        consoleSays("Error: Cannot write metadata file for 0003 a report: the comment is too long");
    }

    // What the console says when a folder is not as it should be, and what of it, a problem of
    // the configuration, it says again after it has been cleared ("~": the test's folder).
    void theConsoleSaysWhatIsWrongWithTheFolders_data()
    {
        // name | setting | its value | Stone ID | the console ("\n": a line break; "<five found>":
        // the line of a search that found X17's reports) | kept after a refresh ("+")
        const QString table = QString::fromUtf8(R"(
viewers unset | PathToViewers | | X17 | Error: Report Viewers folder not configured\n<five found> | +
viewers missing | PathToViewers | ~/none | X17 | Error: Report Viewers folder doesn't exist\n<five found> | +
no viewer subfolders | PathToViewers | ~/reports/X17/0001 | X17 | Error: Subfolders with Report Viewer versions not found\n<five found> | +
no viewer among them | PathToViewers | ~/reports | X17 | Error: Report Viewers not found in the specified folder\n<five found> | +
reports unset | PathToReports | | X17 | Error: Reports Data folder not configured | +
reports missing | PathToReports | ~/none | X17 | Error: Reports Data folder doesn't exist | +
no such stone | | | X18 | Error: Root folder for stone reports with the specified ID doesn't exist |
no report folders | PathToReports | ~/reports/X17 | 0001 | Error: Reports for a stone with the specified ID not found |
invalid metadata | metadata | ~/reports/X17/0002/metadata.xml | X17 | Warning: Some metadata files aren't valid\n<five found> |
)");
        addTableRows(table);
    }
    void theConsoleSaysWhatIsWrongWithTheFolders()
    {
        QFETCH(QStringList, cells);
        cells.replaceInStrings(QStringLiteral("\\n"), QStringLiteral("\n"))
            .replaceInStrings(QStringLiteral("<five found>"), QString::fromUtf8(FiveFound));
        const QString value = cells[1].replace(QLatin1Char('~'), dir->path());
        startClient(cells[0].startsWith(QLatin1String("Path")) ? QVariantMap{{cells[0], value}}
                                                               : QVariantMap());
        if (cells[0] == QLatin1String("metadata"))
            writeFile(value, "<R><Requir"); // cut off
        page->stoneIDEdit->setText(cells[2]);
        page->findReports();
        did(QStringLiteral("a search for ") + cells[2]).consoleSays(qPrintable(cells[3]));
        page->updateConsole();
        did(QStringLiteral("a refresh of the console"))
            .consoleSays(
                cells[4].isEmpty() ? "" : qPrintable(cells[3].section(QLatin1Char('\n'), 0, 0)));
    }

    // The settings file cannot be written (another account's; read-only on Windows): after OK on
    // the settings page the console says so once, and the new values apply.
    void settingsThatCannotBeSavedAreSaidSo()
    {
        startClient();
        auto *settingsPage = window->findChild<CSettingsWidget *>();
        page->settingsButton->click();
        settingsPage->findChild<QSpinBox *>()->setValue(2500);
#ifdef Q_OS_WIN
        QFile::setPermissions(settingsFilePath(), QFile::ReadOwner | QFile::ReadUser);
#else
        if (geteuid() != 0)
            QSKIP("Acting as another account takes an administrator");
        setfsuid(65534); // an operator who may not even open the file
#endif
        settingsPage->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
#ifdef Q_OS_WIN
        QFile::setPermissions(settingsFilePath(), QFile::ReadOwner | QFile::WriteOwner);
#else
        setfsuid(0);
#endif
        const QString unsaved = QStringLiteral("Error: Settings cannot be saved in ") +
                                QDir::toNativeSeparators(settingsFilePath()) +
                                QStringLiteral("; the changes apply until Stelvane is closed");
        did(QStringLiteral("OK on the settings page, the settings file unwritable"));
        reads("the lines saying so",
              QString::number(page->console->toPlainText().split(QLatin1Char('\n')).count(unsaved)),
              QStringLiteral("1"));
        reads("the timeout", QString::number(page->autoFindTimer->interval()),
              QStringLiteral("2500"));
    }

    // Under X11 the stand-in xdg-open records the folder; offscreen the desktop cannot open it.
    void ctrlOOpensTheSelectedReportsFolder()
    {
        startClient().findStone("X17");
        const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
        press(table, "Ctrl+O");
        consoleSays(x11 ? "The 0007 polished report folder was successfully opened"
                        : "Error: Failed to open the 0007 polished report folder");
        const QString url = QStringLiteral("file://") + pathOf("reports/X17/0007%20polished\n");
        const QByteArray opened = x11 ? QFile::encodeName(url) : QByteArray();
        expect(waitUntil([&] { return readFile(pathOf("opened.txt")) == opened; }),
               "xdg-open given the folder's URL, under X11 only");
    }

    // With auto-find and auto-open, the latest report opens a second after the last of quick
    // edits; F5 opens it again. Auto-open follows auto-find, and is saved at closing.
    void autoFindWaitsASecondAfterTheLastEditThenOpensTheLatest()
    {
        startClient();
        QCheckBox *autoFind = page->autoFindCheckBox, *autoOpen = page->autoOpenCheckBox;
        autoFind->click();
        did(QStringLiteral("checking auto-find"));
        expect(autoOpen->isEnabled() && !autoOpen->isChecked(), "auto-open enabled, unchecked");
        autoOpen->click();
        QElapsedTimer sinceLastEdit;
        stoneId->setFocus();
        for (const char *text : {"X", "X1", "X17"}) {
            page->stoneIDEdit->setText(QString::fromUtf8(text));
            sinceLastEdit.start();
            QTest::qWait(200);
        }
        did(QStringLiteral("X, X1 and X17 typed 200 ms apart")).opens("2.1", Latest);
        shows(AllReports).expect(sinceLastEdit.elapsed() >= 950, "no search for a second");
        press(table, "Up F5").focusOn(table).shows(AllReports).opens("2.1", Latest);
        autoFind->click();
        did(QStringLiteral("unchecking auto-find"));
        expect(!autoOpen->isEnabled() && !autoOpen->isChecked(), "auto-open unchecked, disabled");
        delete window;
        did(QStringLiteral("closing the window"));
        reads("auto-open saved as",
              openSettings().value(QStringLiteral("AutoOpenLatestReport")).toString(),
              QStringLiteral("false"));
    }

    // With auto-open, Return, Shift+Return and keypad Enter in the Stone ID search and open the
    // latest report, after a pause. OK on the settings page searches again, opening nothing;
    // with new lines intercepted there (a scanner's), only Ctrl+Return searches, with no pause.
    void theKeysThatSearchFromTheStoneId()
    {
        startClient({{QStringLiteral("AutoFindReports"), true},
                     {QStringLiteral("AutoOpenLatestReport"), true}});
        for (const char *key : {"Return", "Shift+Return", "Num+Enter"}) {
            press(stoneId, "Escape").typeStoneId("X17").press(stoneId, key);
            pauseThenFocusOn(table).shows(AllReports).opens("2.1", Latest);
        }
        auto *settingsPage = window->findChild<CSettingsWidget *>();
        settingsPage->findChild<QCheckBox *>()->click();        // "Intercept new line in Stone ID"
        settingsPage->findChild<QSpinBox *>()->setValue(50000); // no auto-find meanwhile
        settingsPage->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        did(QStringLiteral("OK on the settings page")).consoleSays(FiveFound).shows(AllReports);
        opensNothing();
        for (const char *key : {"Return", "Num+Enter", "Ctrl+Num+Enter"}) {
            press(stoneId, "Escape").typeStoneId("X17").press(stoneId, key).focusOn(stoneId);
            shows("Find Reports:").opensNothing();
        }
        press(stoneId, "Escape").typeStoneId("X17").press(stoneId, "Ctrl+Return").focusOn(table);
        shows(AllReports).opens("2.1", Latest);
    }

    // The table's context menu offers the selected report's actions with their keys.
    void theContextMenuOffersTheReportsActions()
    {
        startClient().findStone("X17");
        page->customContextMenuRequested(QPoint(5, 5)); // noted and closed by the poll
        did(QStringLiteral("opening the context menu"))
            .reads("the items", questions.join(QLatin1Char(';')),
                   QStringLiteral("Open report|Enter;Edit comment|;Open report folder|Ctrl+O;"
                                  "Permanently delete selected report|Del"));
    }

    // Delete asks first: Return and Escape answer No; Yes deletes the selected folder, of two
    // numbered 3 that one alone.
    void deletingAReportFolderAsksFirst()
    {
        startClient().findStone("X17");
        answers << QStringLiteral("Return") << QStringLiteral("Escape") << QStringLiteral("Yes");
        press(table, "Up Delete Delete").consoleSays("").shows("Open Report: 1 2 3 [3] 7");
        press(table, "Delete").consoleSays("The 0003 b report folder was successfully deleted");
        shows("Open Report: 1 2 3 [7]");
        expect(QDir(pathOf("reports/X17/0003 a")).exists(), "0003 a kept");
        const QString question = QStringLiteral("Delete Report|Are you sure you want to "
                                                "permanently delete the report 0003 b folder and "
                                                "all its contents?\n");
        did(QStringLiteral("Delete three times"))
            .reads("the questions", questions.join(QLatin1Char('\n')) + QLatin1Char('\n'),
                   question.repeated(3));
    }

    // A report folder gone since the search: Ctrl+O and Delete say so, and Delete asks nothing.
    void aReportFolderGoneSinceTheSearchIsReportedMissing()
    {
        startClient().findStone("X17");
        QDir(pathOf("reports/X17/0002")).removeRecursively();
        press(table, "Ctrl+Home Down Ctrl+O")
            .consoleSays("Error: Opened report folder doesn't exist");
        answers << QStringLiteral("Escape"); // should it ask
        press(table, "Delete").consoleSays("Error: Deleted report folder doesn't exist");
        shows("Open Report: 1 [2] 3 3 7")
            .reads("questions", questions.join(QLatin1Char('\n')), QString());
    }

    // A deletion never follows links, within a report folder or as the folder itself. Once the
    // last report of a stone is deleted, Tab in the Stone ID goes to the button.
    void deletingAReportFolderNeverFollowsLinks()
    {
        startClient();
        writeReport(pathOf("target/0001"));
#ifdef Q_OS_WIN // read-only files in place of the links, which Wine cannot make
        writeReport(pathOf("reports/Y1/0001"));
        QFile::setPermissions(pathOf("reports/Y1/0001/data.js"), QFile::ReadOwner);
#else
        QDir().mkpath(pathOf("reports/Y1"));
        for (const char *link : {"reports/Y1/0001", "reports/X17/0007 polished/link"})
            QFile::link(pathOf("target/0001"), pathOf(link));
        QFile::link(pathOf("target/0001/data.js"), pathOf("reports/X17/0007 polished/file"));
#endif
        answers << QStringLiteral("Yes") << QStringLiteral("Yes");
        findStone("X17").press(table, "Delete");
        consoleSays("The 0007 polished report folder was successfully deleted");
        press(stoneId, "Ctrl+A").findStone("Y1").press(table, "Delete");
        consoleSays("The 0001 report folder was successfully deleted").shows("Find Reports:");
        expect(QFile::exists(pathOf("target/0001/data.js")), "the files the links point to kept");
        press(stoneId, "Tab").focusOn(button);
    }

    // A browser that cannot start: the operator is told.
    void aBrowserThatCannotStartIsReported()
    {
        startClient().findStone("X17");
        writeFile(pathOf("browser.exe"), "#!/nonexistent/interpreter");
        press(table, "Return").consoleSays("Error: Failed to open a report in browser");
    }

    // Characters a folder name cannot hold and halves of surrogate pairs become "-" in the
    // search. Without the browser's program the search says so too.
    void forbiddenCharactersInTheStoneIdBecomeDashes()
    {
        startClient();
        writeReport(pathOf("reports/A---------B-C-\U0001F48E/0001"));
        QFile::remove(pathOf("browser.exe"));
        page->stoneIDEdit->setText(QStringLiteral("A<>:\"/\\|*?B") + QChar(0xD800) +
                                   QLatin1Char('C') + QChar(0xDC00) + QStringLiteral("\U0001F48E"));
        press(button, "Space")
            .consoleSays("Found 1 report for a stone with the specified ID\n"
                         "Error: Specified browser executable not found");
    }

    // Each browser and its folders ("~": the test's folder) give the viewer URL, and on Windows
    // the command line ("<url>": that URL): name | browser | viewers | reports | viewer part of
    // the URL | reports part | arguments | command line.
    void launchesBrowsers_data()
    {
        QString table = QString::fromUtf8(R"(
spaces, # and accents | ~/Web bröwser/browser.exe | ~/Viewers #1 | ~/Données 2 | file:///~/Viewers%20%231 | file://~/Donn%C3%A9es%202 | --new-window "%1" | "~\Web bröwser\browser.exe"  --new-window <url>
folders on a share | ~/b/browser.exe | //stelvane/share/V | //stelvane/share/R | file://stelvane/share/V | file://stelvane/share/R | "%1" | ~\b\browser.exe  <url>
firefox.exe | ~/Mozilla Firefox/firefox.exe | ~/V | ~/R | file:///~/V | file:///~/R | -new-tab "%1" | "~\Mozilla Firefox\firefox.exe"  -new-tab <url>
firefox.exe, folders on a share | ~/b/firefox.exe | //stelvane/share/V | //stelvane/share/R | file://///stelvane/share/V | file://///stelvane/share/R | "%1" | ~\b\firefox.exe  <url>
only a whole "%1" is the URL | ~/b/browser.exe | ~/V | //stelvane/share/R | file:///~/V | file://stelvane/share/R | --app="%1" "%1" %1 | ~\b\browser.exe  --app=\"%1\" <url> %1
/bin/firefox elsewhere than on Windows | /bin/firefox | /srv/V 100%#2 | //srv/s/R | file:///srv/V%20100%25%232 | file://///srv/s/R | |
)");
#ifdef Q_OS_WIN // where names compare regardless of case
        table += QString::fromUtf8(R"(
BROWSER.EXE in capitals | ~/b/BROWSER.EXE | ~/V | ~/R | file:///~/V | file://~/R | "%1" | ~\b\BROWSER.EXE  <url>
FIREFOX.EXE in capitals | ~/Mozilla/FIREFOX.EXE | ~/V | ~/R | file:///~/V | file:///~/R | "%1" | ~\Mozilla\FIREFOX.EXE  <url>
)");
#endif
        addTableRows(table);
    }
    void launchesBrowsers()
    {
        QFETCH(QStringList, cells);
        const FileUrlStyle style =
            cells[0].startsWith(QLatin1Char('/')) ? FileUrlStyle::Unix : FileUrlStyle::Windows;
        cells.replaceInStrings(QStringLiteral("~"), dir->path());
        cells[6].replace(dir->path(), QDir::toNativeSeparators(dir->path())); // Windows paths
        const QString browser = cells[0], viewers = cells[1], reports = cells[2];
        const QString url = cells[3] + QStringLiteral("/2.1/index.html?dataPath=") + cells[4] +
                            QStringLiteral("/X17/0007%20polished/data.js");
        QCOMPARE(viewerUrl(viewers, QStringLiteral("2.1"), reports,
                           reports + QStringLiteral("/X17/0007 polished/data.js"),
                           isFirefoxPath(browser), style),
                 url);
#ifdef Q_OS_WIN
        if (cells.value(6).isEmpty())
            return;
        writeFile(viewers + QStringLiteral("/2.1/index.html"));
        writeReport(reports + QStringLiteral("/X17/0007 polished"));
        startClient({
            {SettingsKey::PathToBrowser, browser},
            {SettingsKey::PathToViewers, viewers},
            {SettingsKey::PathToReports, reports},
            {SettingsKey::BrowserArguments, cells[5]},
        });
        writeStandInBrowser(browser);                    // which records beside itself
        typeStoneId("X17").press(button, "Space Space"); // finds, then opens
        const QString line = cells[6].replace(QStringLiteral("<url>"), url);
        QTRY_COMPARE(readFile(QFileInfo(browser).path() + QStringLiteral("/commandline.txt")),
                     (line + QLatin1Char('\n')).toUtf8());
#endif
    }

    // The pages slide at an operator's pace, 700 ms, and keys go where the window has its focus
    // meanwhile: OK before the settings page has slid in, then a Stone ID typed at once; Cancel,
    // then Return at once.
    void keysTypedWhileThePagesSlideAreNotLost()
    {
        startClient();
        auto *settingsPage = window->findChild<CSettingsWidget *>();
        auto *buttons = settingsPage->findChild<QDialogButtonBox *>();
        page->settingsButton->click();
        QTest::qWait(50);
        buttons->button(QDialogButtonBox::Ok)->click();
        for (const char key : {'X', '1', '7', '\r'}) { // during the slide in, then the slide back
            QTest::keyClick(window->windowHandle(), key);
            QTest::qWait(250);
        }
        did(QStringLiteral("OK as the settings page slides in, then X17 and Return"));
        shows(AllReports); // "Find Reports:" when the keys went to the other page
        QTRY_VERIFY2(!settingsPage->isVisible(), "OK: expected the settings page to slide out");
        QElapsedTimer sliding;
        sliding.start();
        page->settingsButton->click();
        QTRY_VERIFY2(!page->isVisible(), "the gear: expected the settings page to slide in");
        did(QStringLiteral("a click on the gear"))
            .expect(sliding.elapsed() >= 600, "a slide of 700 ms",
                    QStringLiteral(", found one of %1 ms").arg(sliding.elapsed()));
        buttons->button(QDialogButtonBox::Cancel)->click();
        QTest::keyClick(window->windowHandle(), Qt::Key_Return); // opens the selected report
        did(QStringLiteral("Cancel on the settings page, then Return at once"))
            .opens("2.1", Latest);
    }

    // A Stone ID copied from a spreadsheet ends in a line break: pasted, it is the Stone ID that
    // the field shows and the search finds. A line break inside the text still finds nothing.
    void aPastedStoneIdEndingInALineBreakFindsTheStone()
    {
        startClient();
        for (const char *copied : {"X17\r\n", "\nX17\n", "X1\n7"}) {
            QApplication::clipboard()->setText(QString::fromUtf8(copied));
            page->stoneIDEdit->clear();
            press(stoneId, "Ctrl+V Return");
            const bool inside = QString::fromUtf8(copied).trimmed().contains(QLatin1Char('\n'));
            did(QStringLiteral("pasting \"%1\", then Return").arg(QLatin1String(copied)));
            reads("the Stone ID", page->stoneIDEdit->text(),
                  QString::fromUtf8(inside ? copied : "X17"));
            shows(inside ? "Find Reports:" : AllReports);
            waitUntil([this] { return page->isEnabled(); }); // after the pause
        }
    }
};

STELVANE_TEST_MAIN(TestOpenReport)
#include "tst_openreport.moc"
