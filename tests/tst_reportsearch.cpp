#include "ConsoleProbe.h"
#include "TestSupport.h"

#include "catalogue/ReportSearch.h"
#include "openreport/COpenReportWidget.h"

#include <filesystem>
#include <fstream>

namespace {

QByteArray metadata(const char *type, const char *version)
{
    return QByteArray("<ReportMetadata><DateTime>2024-01-01</DateTime><ReportType>") + type +
           "</ReportType><RequiredViewerVersion>" + version +
           "</RequiredViewerVersion><StoneID>S</StoneID></ReportMetadata>";
}

} // namespace

class TestReportSearch : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void reportsConfigurationAndStoneFailures_data();
    void reportsConfigurationAndStoneFailures();
    void emptyStoneIdComesAfterFolderChecks();
    void acceptsOnlyReportFolders();
    void picksFirstDataFileByName();
    void countsOneReport();
    void warnsBeforeCountWhenMetadataIsInvalid();
    void pointsDataPathAtGreatestFolderName();
    void failedSearchKeepsPreviousDataPath();
    void neverLeavesReportsDataFolder_data();
    void neverLeavesReportsDataFolder();
    void findsNonAsciiAndSpacedNames();
    void findsFoldersMadeOutsideTheToolkit();
    void treatsVeryLongPathsAsMissing();

private:
    void makeReport(const QString &stone, const QString &folder,
                    const QByteArray &meta = metadata("RT_POLISH", "1.2"),
                    const QStringList &dataFiles = {QStringLiteral("data.js")})
    {
        const QString base = QStringLiteral("reports/") + stone + QLatin1Char('/') + folder;
        dir->createDir(base);
        if (!meta.isNull())
            dir->createFile(base + QStringLiteral("/metadata.xml"), meta);
        for (const QString &file : dataFiles)
            dir->createFile(base + QLatin1Char('/') + file, "var data = {};");
    }

    TestDir *dir = nullptr;
    COpenReportWidget *page = nullptr;
};

void TestReportSearch::init()
{
    dir = new TestDir;
    dir->createDir(QStringLiteral("reports"));
    page = new COpenReportWidget;
    page->pathToReports = dir->filePath(QStringLiteral("reports"));
    page->stoneID = QStringLiteral("X17");
}

void TestReportSearch::cleanup()
{
    delete page;
    delete dir;
}

void TestReportSearch::reportsConfigurationAndStoneFailures_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("recorded");
    QTest::newRow("not configured") << "unset"
                                    << "Reports Data folder not configured" << true;
    QTest::newRow("missing folder") << "missing"
                                    << "Reports Data folder doesn't exist" << true;
    QTest::newRow("missing stone folder")
        << "no stone"
        << "Root folder for stone reports with the specified ID doesn't exist" << false;
    QTest::newRow("no report folder qualifies")
        << "no reports"
        << "Reports for a stone with the specified ID not found" << false;
    QTest::newRow("stone folder is a file")
        << "stone file"
        << "Reports for a stone with the specified ID not found" << false;
}

void TestReportSearch::reportsConfigurationAndStoneFailures()
{
    QFETCH(QString, setup);
    QFETCH(QString, message);
    QFETCH(bool, recorded);
    if (setup == QLatin1String("unset"))
        page->pathToReports.clear();
    else if (setup == QLatin1String("missing"))
        page->pathToReports = dir->filePath(QStringLiteral("nowhere"));
    else if (setup == QLatin1String("no reports")) {
        makeReport(QStringLiteral("X17"), QStringLiteral("0001"), QByteArray()); // no metadata.xml
        makeReport(QStringLiteral("X17"), QStringLiteral("0002"), metadata("RT_POLISH", "1.0"),
                   {}); // no data file
        makeReport(QStringLiteral("X17"), QStringLiteral("notes"));
    } else if (setup == QLatin1String("stone file"))
        dir->createFile(QStringLiteral("reports/X17"), "not a folder");
    page->reportDataPath = QStringLiteral("unchanged");

    QVERIFY(!page->searchReports());
    QVERIFY(page->reports.isEmpty());
    QCOMPARE(page->reportDataPath, QStringLiteral("unchanged"));
    const QList<ConsoleLine> lines = consoleLines(page->console);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.first().text, QStringLiteral("Error: ") + message);
    QCOMPARE(lines.first().colour, ErrorColour);
    QCOMPARE(page->configMessages, recorded ? QStringList{message} : QStringList());
}

void TestReportSearch::emptyStoneIdComesAfterFolderChecks()
{
    page->stoneID.clear();
    QVERIFY(!page->searchReports());
    QVERIFY(consoleLines(page->console).isEmpty());
    QVERIFY(page->configMessages.isEmpty());

    page->pathToReports.clear();
    QVERIFY(!page->searchReports());
    QCOMPARE(consoleTexts(page->console),
             QStringList{QStringLiteral("Error: Reports Data folder not configured")});
}

void TestReportSearch::acceptsOnlyReportFolders()
{
    makeReport(QStringLiteral("X17"), QStringLiteral("0001"));
    makeReport(QStringLiteral("X17"), QStringLiteral("0002 comparative"),
               metadata("RT_COMPARATIVE", "2.0"));
    makeReport(QStringLiteral("X17"), QStringLiteral("notes"));
    makeReport(QStringLiteral("X17"), QStringLiteral("123 short"));
    dir->createFile(QStringLiteral("reports/X17/0003.txt"), "a file, not a folder");

    QVERIFY(page->searchReports());
    QCOMPARE(page->reports.keys(),
             (QStringList{QStringLiteral("0001"), QStringLiteral("0002 comparative")}));
    QCOMPARE(page->reports.value(QStringLiteral("0002 comparative")).reportType,
             QStringLiteral("C"));
    QCOMPARE(page->reports.value(QStringLiteral("0002 comparative")).prefix, 2);
    const QList<ConsoleLine> lines = consoleLines(page->console);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.first().text,
             QStringLiteral("Found 2 reports for a stone with the specified ID"));
    QCOMPARE(lines.first().colour, InfoColour);
    QVERIFY(page->configMessages.isEmpty());
}

void TestReportSearch::picksFirstDataFileByName()
{
    makeReport(QStringLiteral("X17"), QStringLiteral("0001"), metadata("RT_POLISH", "1.0"),
               {QStringLiteral("b.js"), QStringLiteral("a.js"), QStringLiteral("0.json")});
    // Name order is by code unit: upper case sorts before lower case.
    makeReport(QStringLiteral("X17"), QStringLiteral("0002"), metadata("RT_POLISH", "1.0"),
               {QStringLiteral("b.js"), QStringLiteral("Z.JS")});
    QVERIFY(page->searchReports());
    QCOMPARE(page->reports.value(QStringLiteral("0001")).dataFileName, QStringLiteral("a.js"));
    QCOMPARE(page->reports.value(QStringLiteral("0002")).dataFileName, QStringLiteral("Z.JS"));
}

void TestReportSearch::countsOneReport()
{
    makeReport(QStringLiteral("X17"), QStringLiteral("0005"));
    makeReport(QStringLiteral("X17"), QStringLiteral("0006"), QByteArray());
    QVERIFY(page->searchReports());
    QCOMPARE(consoleTexts(page->console),
             QStringList{QStringLiteral("Found 1 report for a stone with the specified ID")});
}

void TestReportSearch::warnsBeforeCountWhenMetadataIsInvalid()
{
    makeReport(QStringLiteral("X17"), QStringLiteral("0001"));
    makeReport(QStringLiteral("X17"), QStringLiteral("0002"), "<ReportMetadata><DateTime>");
    makeReport(QStringLiteral("X17"), QStringLiteral("0003"));
    QVERIFY(page->searchReports());
    QCOMPARE(page->reports.size(), 3);
    QCOMPARE(page->reports.value(QStringLiteral("0002")).prefix, 2);
    const QList<ConsoleLine> lines = consoleLines(page->console);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0).text, QStringLiteral("Warning: Some metadata files aren't valid"));
    QCOMPARE(lines.at(0).colour, WarningColour);
    QCOMPARE(lines.at(1).text, QStringLiteral("Found 3 reports for a stone with the specified ID"));
}

void TestReportSearch::pointsDataPathAtGreatestFolderName()
{
    makeReport(QStringLiteral("X17"), QStringLiteral("0002"), metadata("RT_POLISH", "1.0"),
               {QStringLiteral("second.js")});
    makeReport(QStringLiteral("X17"), QStringLiteral("0010 b"), metadata("RT_POLISH", "1.0"),
               {QStringLiteral("tenth.js")});
    makeReport(QStringLiteral("X17"), QStringLiteral("0009"), metadata("RT_POLISH", "1.0"),
               {QStringLiteral("ninth.js")});
    QVERIFY(page->searchReports());
    QCOMPARE(page->reportDataPath, page->pathToReports + QStringLiteral("/X17/0010 b/tenth.js"));
    QVERIFY(QFile::exists(page->reportDataPath));
}

void TestReportSearch::failedSearchKeepsPreviousDataPath()
{
    makeReport(QStringLiteral("X17"), QStringLiteral("0001"));
    QVERIFY(page->searchReports());
    const QString previous = page->reportDataPath;
    page->stoneID = QStringLiteral("Y99");
    QVERIFY(!page->searchReports());
    QVERIFY(page->reports.isEmpty());
    QCOMPARE(page->reportDataPath, previous);
}

void TestReportSearch::neverLeavesReportsDataFolder_data()
{
    QTest::addColumn<QString>("stoneID");
    QTest::newRow("dot") << ".";
    QTest::newRow("dot dot") << "..";
    QTest::newRow("parent path") << "../outside";
    QTest::newRow("backslash parent path") << "..\\outside";
    QTest::newRow("nested path") << "X17/0001";
    QTest::newRow("control character") << QStringLiteral("X17\nY");
    QTest::newRow("null character") << QString(QLatin1Char('\0'));
}

void TestReportSearch::neverLeavesReportsDataFolder()
{
    QFETCH(QString, stoneID);
    // Report-like folders that a path escaping the stone level would reach.
    makeReport(QStringLiteral("X17"), QStringLiteral("0001"));
    dir->createFile(QStringLiteral("reports/0001/metadata.xml"), metadata("RT_POLISH", "1.0"));
    dir->createFile(QStringLiteral("reports/0001/a.js"), "x");
    dir->createFile(QStringLiteral("0001/metadata.xml"), metadata("RT_POLISH", "1.0"));
    dir->createFile(QStringLiteral("0001/a.js"), "x");
    dir->createFile(QStringLiteral("outside/0001/metadata.xml"), metadata("RT_POLISH", "1.0"));
    dir->createFile(QStringLiteral("outside/0001/a.js"), "x");

    page->stoneID = stoneID;
    QVERIFY(!page->searchReports());
    QVERIFY(page->reports.isEmpty());
    QCOMPARE(consoleTexts(page->console),
             QStringList{QStringLiteral(
                 "Error: Root folder for stone reports with the specified ID doesn't exist")});
}

void TestReportSearch::findsNonAsciiAndSpacedNames()
{
    const QString stone = QStringLiteral("Ämber #12 ñ 緑");
    makeReport(stone, QStringLiteral("0001 Größe"), metadata("RT_POLISH", "1.0"),
               {QStringLiteral("données.js")});
    makeReport(stone, QStringLiteral("0002 with  spaces "));
    page->stoneID = stone;
    QVERIFY(page->searchReports());
    QCOMPARE(page->reports.keys(),
             (QStringList{QStringLiteral("0001 Größe"), QStringLiteral("0002 with  spaces ")}));
    QCOMPARE(page->reports.value(QStringLiteral("0001 Größe")).dataFileName,
             QStringLiteral("données.js"));
    QCOMPARE(page->reportDataPath, page->pathToReports + QLatin1Char('/') + stone +
                                       QStringLiteral("/0002 with  spaces /data.js"));
    QVERIFY(QFile::exists(page->reportDataPath));
    QVERIFY(pathExists(page->pathToReports + QLatin1Char('/') + stone));
}

void TestReportSearch::findsFoldersMadeOutsideTheToolkit()
{
    // Folders created through the standard library from UTF-8 names, as another program on
    // the machine would, are found whatever the process locale is.
    const std::filesystem::path stoneRoot =
        std::filesystem::u8path(QDir(page->pathToReports).absolutePath().toStdString()) /
        std::filesystem::u8path(u8"Élan");
    const std::filesystem::path report = stoneRoot / std::filesystem::u8path(u8"0007 Ölbad");
    std::filesystem::create_directories(report);
    std::ofstream(report / "metadata.xml") << metadata("RT_COMPARATIVE", "2.0").constData();
    std::ofstream(report / std::filesystem::u8path(u8"ä.js")) << "x";

    page->stoneID = QStringLiteral("Élan");
    QVERIFY(pathExists(page->pathToReports + QStringLiteral("/Élan")));
    QVERIFY(page->searchReports());
    QCOMPARE(page->reports.keys(), QStringList{QStringLiteral("0007 Ölbad")});
    QCOMPARE(page->reports.first().reportType, QStringLiteral("C"));
    QCOMPARE(page->reports.first().dataFileName, QStringLiteral("ä.js"));
}

void TestReportSearch::treatsVeryLongPathsAsMissing()
{
    // The stone folder exists, but its path is 260 characters or longer.
    const QString stone(qMax(1, 260 - page->pathToReports.size()), QLatin1Char('s'));
    QVERIFY(stone.size() < 256);
    makeReport(stone, QStringLiteral("0001"));
    const QString root = page->pathToReports + QLatin1Char('/') + stone;
    QVERIFY(root.size() >= 260);
    QVERIFY(QFileInfo::exists(root));
    QVERIFY(!pathExists(root));

    page->stoneID = stone;
    QVERIFY(!page->searchReports());
    QCOMPARE(consoleTexts(page->console),
             QStringList{QStringLiteral(
                 "Error: Root folder for stone reports with the specified ID doesn't exist")});

    QVERIFY(pathExists(page->pathToReports));
    QVERIFY(!pathExists(page->pathToReports + QStringLiteral("/missing")));
    QVERIFY(!pathExists(QString()));
}

STELVANE_TEST_MAIN(TestReportSearch)
#include "tst_reportsearch.moc"
