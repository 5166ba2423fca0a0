#include "TestSupport.h"

#include "app/CSessionServer.h"
#include "app/CStackedWindow.h"
#include "openreport/CExLineEdit.h"
#include "openreport/COpenReportWidget.h"
#include "platform/Platform.h"
#include "settings/SettingsStore.h"

#include <QtNetwork>
#include <QtWidgets>

// The client program started as an operator or a laboratory system starts it; after the first
// start's crash, this test's window is the session's client that the later starts reach.
class TestCommandLine : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    CSessionServer server;
    QPointer<CStackedWindow> window;
    QByteArray printed; // by the last start

    QByteArray launched() const // the browser's starts, one line each
    {
        return readFile(dir.filePath(QStringLiteral("launches.txt")));
    }
    QString field() const { return window->findChild<CExLineEdit *>()->text(); }
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/../stelvane");
    // Runs the client until it ends, this test's window answering it meanwhile; its exit code.
    int start(const QStringList &arguments)
    {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
        const bool ended =
            QTest::qWaitFor([&process] { return process.state() == QProcess::NotRunning; }, 30000);
        printed = process.readAll();
        return ended ? process.exitCode() : -1;
    }

private slots:
    // Stones GV-1 and GV-2, a browser that records its starts, auto-find and auto-open.
    void initTestCase()
    {
        for (const char *file : {"reports/GV-1/0001/data.js", "reports/GV-1/0001/metadata.xml",
                                 "reports/GV-2/0001/data.js", "reports/GV-2/0001/metadata.xml",
                                 "viewers/1.0/index.html"})
            writeFile(dir.filePath(QLatin1String(file)));
        writeStandInBrowser(dir.filePath(QStringLiteral("browser.exe")));
        writeFile(settingsFilePath(),
                  QStringLiteral("[General]\nPathToViewers=~/viewers\nPathToReports=~/reports\n"
                                 "PathToBrowser=~/browser.exe\nBrowserArguments=\\\"%1\\\"\n"
                                 "OpenReportTimeout=1500\nAutoFindReports=true\n"
                                 "AutoOpenLatestReport=true\n")
                      .replace(QLatin1Char('~'), dir.path())
                      .toUtf8());
    }

    void startedWithOptions()
    {
        QCOMPARE(start({QStringLiteral("--help")}), 0);
        QVERIFY2(printed.contains("Usage: "), printed.constData());
        QCOMPARE(start({QStringLiteral("--version")}), 0);
        QVERIFY2(printed.contains("Stelvane " STELVANE_VERSION_TEXT "\n"), printed.constData());
        QCOMPARE(start({QStringLiteral("--frobnicate")}), 2);
        QVERIFY2(printed.contains("stelvane: Unknown option 'frobnicate'."), printed.constData());
        QCOMPARE(start({QString(257, QLatin1Char('A'))}), 2);
        QVERIFY2(printed.contains("at most 256 characters"), printed.constData());
    }

    void startedWithStoneIDThenCrashed()
    {
        QProcess first;
        first.start(program, {QStringLiteral("GV-1")});
        QTRY_VERIFY2_WITH_TIMEOUT(launched().count('\n') == 1, "the first start opened nothing",
                                  30000);
        first.kill(); // on Linux its socket file stays behind
        QVERIFY(first.waitForFinished());
        QVERIFY2(server.start(QString()) == CSessionServer::Start::First, "the next start failed");
        window = new CStackedWindow;
        connect(&server, &CSessionServer::stoneIDReceived, window, &CStackedWindow::takeStart);
        window->showMinimized();
    }

    void startedAgainWithAnotherStoneID()
    {
        const QByteArray settings = readFile(settingsFilePath());
        QCOMPARE(start({QStringLiteral("GV-2")}), 0);
        QTRY_VERIFY2(launched().count('\n') == 2, "the running window opened nothing");
        QCOMPARE(field(), QStringLiteral("GV-2"));
        QVERIFY2(!window->isMinimized(), "the window stayed minimised");
        QVERIFY2(readFile(settingsFilePath()) == settings, "the second start wrote the settings");
    }

    void startedAgainDuringSettings()
    {
        emit window->findChild<COpenReportWidget *>()->showSettings();
        window->findChild<QSpinBox *>()->setValue(4000);
        QCOMPARE(start({QStringLiteral("GV-1")}), 0);
        QTRY_VERIFY2(launched().count('\n') == 3, "the running window opened nothing");
        QCOMPARE(field(), QStringLiteral("GV-1"));
        QVERIFY2(window->findChild<QSpinBox *>()->value() == 1500, "the edit was not cancelled");
        QTRY_VERIFY2(!window->findChild<QSpinBox *>()->isVisible(), "the settings page stays");
    }

    void hostileProgramConnects_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("too long") << QByteArray(257, 'A') + '\n';
        QTest::newRow("binary") << QByteArray("GV-2\xff\0\n", 7);
        QTest::newRow("not UTF-8") << QByteArray("GV-2\xff\n");
        QTest::newRow("many lines") << QByteArray("GV-2\nGV-2\n");
        QTest::newRow("left open") << QByteArray("GV-2");
    }
    void hostileProgramConnects()
    {
        QFETCH(QByteArray, message);
        QLocalSocket hostile;
        hostile.connectToServer(Platform::sessionEndpoint().serverName);
        QVERIFY2(hostile.waitForConnected(), "the window does not listen");
        hostile.write(message);
        QVERIFY2(start({}) == 0, "a start was not answered meanwhile");
        QTRY_VERIFY2(hostile.state() == QLocalSocket::UnconnectedState, "the connection stays");
        QCOMPARE(field(), QStringLiteral("GV-1"));
    }

    void cleanupTestCase() { delete window; }
};

STELVANE_TEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
