#include "ConsoleProbe.h"
#include "TestSupport.h"

#include "catalogue/ViewerVersion.h"
#include "openreport/COpenReportWidget.h"

class TestViewerDiscovery : public QObject
{
    Q_OBJECT

private slots:
    void parsesVersionTexts_data();
    void parsesVersionTexts();
    void writesVersionTexts();
    void ordersVersionsByNumber();

    void reportsConfigurationFailures_data();
    void reportsConfigurationFailures();
    void warnsAboutViewerFoldersWithoutPage();
    void ordersViewersNumerically();
    void keepsFolderNameOfZeroPaddedVersion();
    void keepsOneFolderForEqualVersions();
    void acceptsPageNameInAnyCase();
    void ignoresSymbolicLinks();
    void failedDiscoveryKeepsPreviousViewerFolder();

    void choosesViewerForRequiredVersion_data();
    void choosesViewerForRequiredVersion();

private:
    static void makeViewer(const TestDir &dir, const QString &name, bool withPage = true)
    {
        if (withPage)
            dir.createFile(QStringLiteral("viewers/") + name + QStringLiteral("/index.html"),
                           "<html></html>");
        else
            dir.createDir(QStringLiteral("viewers/") + name);
    }
};

void TestViewerDiscovery::parsesVersionTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("patch");
    QTest::newRow("two numbers") << "2.5" << 2 << 5 << 0;
    QTest::newRow("three numbers") << "2.5.1" << 2 << 5 << 1;
    QTest::newRow("trailing dot") << "2.5." << 2 << 5 << 0;
    QTest::newRow("one number") << "3" << 0 << 0 << 0;
    QTest::newRow("empty") << "" << 0 << 0 << 0;
    QTest::newRow("four numbers") << "1.2.3.4" << 0 << 0 << 0;
    QTest::newRow("leading zeros") << "02.05" << 2 << 5 << 0;
    QTest::newRow("too large for int") << "99999999999.1.2" << 0 << 1 << 2;
    QTest::newRow("surrounding space") << " 1.2" << 0 << 0 << 0;
    QTest::newRow("letters") << "1.2b" << 0 << 0 << 0;
}

void TestViewerDiscovery::parsesVersionTexts()
{
    QFETCH(QString, text);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, patch);
    ViewerVersion version{7, 7, 7};
    parseViewerVersion(text, version);
    QCOMPARE(version.major, major);
    QCOMPARE(version.minor, minor);
    QCOMPARE(version.patch, patch);
}

void TestViewerDiscovery::writesVersionTexts()
{
    QCOMPARE(viewerVersionText({1, 2, 0}), QStringLiteral("1.2"));
    QCOMPARE(viewerVersionText({1, 2, 3}), QStringLiteral("1.2.3"));
    QCOMPARE(viewerVersionText({0, 0, 0}), QStringLiteral("0.0"));
    QCOMPARE(viewerVersionText({2, 0, 5}), QStringLiteral("2.0.5"));
    QCOMPARE(viewerVersionText({-1, 2, 0}), QStringLiteral("-1.2"));
}

void TestViewerDiscovery::ordersVersionsByNumber()
{
    QVERIFY(ViewerVersion({1, 9, 0}) < ViewerVersion({1, 10, 0}));
    QVERIFY(ViewerVersion({2, 0, 0}) < ViewerVersion({2, 0, 1}));
    QVERIFY(ViewerVersion({1, 99, 99}) < ViewerVersion({2, 0, 0}));
    QVERIFY(!(ViewerVersion({1, 2, 0}) < ViewerVersion({1, 2, 0})));
    QVERIFY(ViewerVersion({1, 2, 0}) == ViewerVersion({1, 2, 0}));
    QVERIFY(ViewerVersion({1, 2, 0}) != ViewerVersion({1, 2, 1}));
}

void TestViewerDiscovery::reportsConfigurationFailures_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("message");
    QTest::newRow("not configured") << "unset"
                                    << "Report Viewers folder not configured";
    QTest::newRow("missing folder") << "missing"
                                    << "Report Viewers folder doesn't exist";
    QTest::newRow("no subfolders") << "files only"
                                   << "Subfolders with Report Viewer versions not found";
    QTest::newRow("no version-named subfolder")
        << "docs"
        << "Report Viewers not found in the specified folder";
    QTest::newRow("versions without page") << "no pages"
                                           << "Report Viewers not found in the specified folder";
}

void TestViewerDiscovery::reportsConfigurationFailures()
{
    QFETCH(QString, layout);
    QFETCH(QString, message);
    TestDir dir;
    COpenReportWidget page;
    page.pathToViewers = dir.filePath(QStringLiteral("viewers"));
    if (layout == QLatin1String("unset"))
        page.pathToViewers.clear();
    else if (layout == QLatin1String("files only"))
        dir.createFile(QStringLiteral("viewers/1.0"), "not a folder");
    else if (layout == QLatin1String("docs"))
        makeViewer(dir, QStringLiteral("docs")), makeViewer(dir, QStringLiteral("v1.2"));
    else if (layout == QLatin1String("no pages"))
        makeViewer(dir, QStringLiteral("1.0"), false),
            makeViewer(dir, QStringLiteral("1.1"), false);

    QVERIFY(!page.discoverViewers());
    QVERIFY(page.viewers.isEmpty());
    QCOMPARE(page.configMessages, QStringList{message});
    const QList<ConsoleLine> lines = consoleLines(page.console);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.first().text, QStringLiteral("Error: ") + message);
    QCOMPARE(lines.first().colour, ErrorColour);
}

void TestViewerDiscovery::warnsAboutViewerFoldersWithoutPage()
{
    TestDir dir;
    makeViewer(dir, QStringLiteral("2.0"));
    makeViewer(dir, QStringLiteral("2.1"), false);
    makeViewer(dir, QStringLiteral("docs"), false);
    COpenReportWidget page;
    page.pathToViewers = dir.filePath(QStringLiteral("viewers"));

    QVERIFY(page.discoverViewers());
    QCOMPARE(page.viewerFolderName, QStringLiteral("2.0"));
    QCOMPARE(page.viewers.size(), 1);
    QVERIFY(page.configMessages.isEmpty());
    const QList<ConsoleLine> lines = consoleLines(page.console);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(
        lines.first().text,
        QStringLiteral("Warning: Some Report Viewer subfolders don't contain the index.html file"));
    QCOMPARE(lines.first().colour, WarningColour);
}

void TestViewerDiscovery::ordersViewersNumerically()
{
    TestDir dir;
    for (const char *name : {"1.10", "1.0", "1.9"})
        makeViewer(dir, QString::fromLatin1(name));
    COpenReportWidget page;
    page.pathToViewers = dir.filePath(QStringLiteral("viewers"));

    QVERIFY(page.discoverViewers());
    QCOMPARE(page.viewers.values(),
             (QStringList{QStringLiteral("1.0"), QStringLiteral("1.9"), QStringLiteral("1.10")}));
    QCOMPARE(page.viewerFolderName, QStringLiteral("1.10"));
    QVERIFY(consoleLines(page.console).isEmpty());
}

void TestViewerDiscovery::keepsFolderNameOfZeroPaddedVersion()
{
    TestDir dir;
    makeViewer(dir, QStringLiteral("02.05"));
    COpenReportWidget page;
    page.pathToViewers = dir.filePath(QStringLiteral("viewers"));

    QVERIFY(page.discoverViewers());
    QCOMPARE(page.viewers.firstKey(), ViewerVersion({2, 5, 0}));
    QCOMPARE(viewerVersionText(page.viewers.firstKey()), QStringLiteral("2.5"));
    QCOMPARE(page.viewerFolderName, QStringLiteral("02.05"));
}

void TestViewerDiscovery::keepsOneFolderForEqualVersions()
{
    TestDir dir;
    makeViewer(dir, QStringLiteral("1.2"));
    makeViewer(dir, QStringLiteral("1.2.0"));
    COpenReportWidget page;
    page.pathToViewers = dir.filePath(QStringLiteral("viewers"));

    QVERIFY(page.discoverViewers());
    QCOMPARE(page.viewers.size(), 1);
    QCOMPARE(page.viewers.firstKey(), ViewerVersion({1, 2, 0}));
    // The folder listed later by the file system wins.
    const QStringList listed =
        QDir(page.pathToViewers).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
    QCOMPARE(page.viewerFolderName, listed.last());
}

void TestViewerDiscovery::acceptsPageNameInAnyCase()
{
    TestDir dir;
    dir.createFile(QStringLiteral("viewers/3.1/INDEX.HTML"), "<html></html>");
    COpenReportWidget page;
    page.pathToViewers = dir.filePath(QStringLiteral("viewers"));
    QVERIFY(page.discoverViewers());
    QCOMPARE(page.viewerFolderName, QStringLiteral("3.1"));
}

void TestViewerDiscovery::ignoresSymbolicLinks()
{
#ifdef Q_OS_WIN
    QSKIP("symbolic links need extra rights on Windows");
#else
    TestDir dir;
    makeViewer(dir, QStringLiteral("1.0"));
    const QString elsewhere = dir.createFile(QStringLiteral("elsewhere/9.0/index.html"), "x");
    QVERIFY(QFile::link(QFileInfo(elsewhere).absolutePath(),
                        dir.filePath(QStringLiteral("viewers/9.0"))));
    // A viewer page that is only a link to a file elsewhere does not count either.
    dir.createDir(QStringLiteral("viewers/5.0"));
    QVERIFY(QFile::link(elsewhere, dir.filePath(QStringLiteral("viewers/5.0/index.html"))));
    COpenReportWidget page;
    page.pathToViewers = dir.filePath(QStringLiteral("viewers"));
    QVERIFY(page.discoverViewers());
    QCOMPARE(page.viewerFolderName, QStringLiteral("1.0"));
    QCOMPARE(page.viewers.size(), 1);
    QCOMPARE(consoleTexts(page.console),
             QStringList{QStringLiteral(
                 "Warning: Some Report Viewer subfolders don't contain the index.html file")});
#endif
}

void TestViewerDiscovery::failedDiscoveryKeepsPreviousViewerFolder()
{
    TestDir dir;
    makeViewer(dir, QStringLiteral("4.2"));
    COpenReportWidget page;
    page.pathToViewers = dir.filePath(QStringLiteral("viewers"));
    QVERIFY(page.discoverViewers());
    QCOMPARE(page.viewerFolderName, QStringLiteral("4.2"));

    page.pathToViewers = dir.filePath(QStringLiteral("gone"));
    QVERIFY(!page.discoverViewers());
    QVERIFY(page.viewers.isEmpty());
    QCOMPARE(page.viewerFolderName, QStringLiteral("4.2"));
}

void TestViewerDiscovery::choosesViewerForRequiredVersion_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("required");
    QTest::addColumn<QString>("chosen");
    const QStringList three{QStringLiteral("1.1"), QStringLiteral("1.3"), QStringLiteral("2.0")};
    QTest::newRow("newest of the same major") << three << "1.2"
                                              << "1.3";
    QTest::newRow("patch greater than the newest of its major")
        << QStringList{QStringLiteral("1.3"), QStringLiteral("2.0")} << "1.2.5"
        << "2.0";
    QTest::newRow("minor greater than every viewer of its major") << three << "1.4"
                                                                  << "2.0";
    QTest::newRow("exact match") << three << "1.1"
                                 << "1.3";
    QTest::newRow("major not installed") << three << "0.5"
                                         << "2.0";
    QTest::newRow("newest major") << three << "2.0"
                                  << "2.0";
    QTest::newRow("no requirement") << three << "0.0"
                                    << "2.0";
    QTest::newRow("three-part viewers")
        << QStringList{QStringLiteral("1.2.3"), QStringLiteral("1.2.7"), QStringLiteral("3.0")}
        << "1.2.4"
        << "1.2.7";
}

void TestViewerDiscovery::choosesViewerForRequiredVersion()
{
    QFETCH(QStringList, installed);
    QFETCH(QString, required);
    QFETCH(QString, chosen);
    TestDir dir;
    for (const QString &name : installed)
        makeViewer(dir, name);
    COpenReportWidget page;
    page.pathToViewers = dir.filePath(QStringLiteral("viewers"));
    QVERIFY(page.discoverViewers());

    ViewerVersion version;
    parseViewerVersion(required, version);
    page.chooseViewer(version);
    QVERIFY(page.viewers.contains(version));
    QCOMPARE(page.viewers.value(version), chosen);
    QCOMPARE(page.viewers.size(), installed.size());
}

STELVANE_TEST_MAIN(TestViewerDiscovery)
#include "tst_viewerdiscovery.moc"
