#include "ConsoleProbe.h"
#include "TestSupport.h"

#include "catalogue/ReportMetadata.h"
#include "catalogue/ReportSearch.h"
#include "openreport/COpenReportWidget.h"

#include <QDomDocument>
#include <QTextCodec>

#include <filesystem>
#include <fstream>
#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

const QByteArray Metadata = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ReportMetadata>\n"
                            " <DateTime>2024-03-05 14:22</DateTime>\n"
                            " <ReportType>RT_COMPARATIVE</ReportType>\n"
                            " <RequiredViewerVersion>2.1</RequiredViewerVersion>\n"
                            " <StoneID>S</StoneID>\n</ReportMetadata>\n";

QString base64(const QString &text)
{
    return QString::fromLatin1(text.toUtf8().toBase64());
}

// The names of the root's child elements, with the text of each Comment among them.
QStringList rootChildren(const QByteArray &xml)
{
    QDomDocument document;
    if (!document.setContent(xml))
        return {QStringLiteral("not XML")};
    QStringList children;
    for (QDomElement e = document.documentElement().firstChildElement(); !e.isNull();
         e = e.nextSiblingElement())
        children << (e.tagName() == QLatin1String("Comment") ? QStringLiteral("Comment=") + e.text()
                                                             : e.tagName());
    return children;
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void parsesAndWritesVersions_data();
    void parsesAndWritesVersions();
    void reportsOutcomes_data();
    void reportsOutcomes();
    void ordersAndChoosesViewers_data();
    void ordersAndChoosesViewers();
    void readsReportFields();
    void hostileFilesAreNeitherReadNorRewritten_data();
    void hostileFilesAreNeitherReadNorRewritten();
    void placesComment_data();
    void placesComment();
    void keepsEncodingOfRewrittenFile_data();
    void keepsEncodingOfRewrittenFile();
    void failedWriteLeavesOldBytes();
    void searchFindsReportsAndLatestDataFile();
    void searchHandlesUnicodeSpacesAndLongPaths();
    void stoneIdCannotLeaveReportsFolder_data();
    void stoneIdCannotLeaveReportsFolder();
    void updateConsoleReprintsConfigurationErrors();

private:
    // "a/b/" makes a folder, "a/b=text" a file with that text, "a/metadata.xml" valid metadata,
    // any other "a/b" a small data file.
    void make(const QStringList &entries) const
    {
        for (const QString &entry : entries) {
            if (entry.endsWith(QLatin1Char('/')))
                dir->createDir(entry);
            else if (entry.contains(QLatin1Char('=')))
                dir->createFile(entry.section(QLatin1Char('='), 0, 0),
                                entry.section(QLatin1Char('='), 1).toUtf8());
            else
                dir->createFile(entry,
                                entry.endsWith(QLatin1String("metadata.xml")) ? Metadata : "x");
        }
    }
    QString metadataPath() const
    {
        return dir->filePath(QStringLiteral("reports/S/0001/metadata.xml"));
    }

    TestDir *dir = nullptr;
    COpenReportWidget *page = nullptr;
};

void TestCatalogue::init()
{
    dir = new TestDir;
    page = new COpenReportWidget;
    page->pathToViewers = dir->filePath(QStringLiteral("viewers"));
    page->pathToReports = dir->filePath(QStringLiteral("reports"));
    page->stoneID = QStringLiteral("S");
}

void TestCatalogue::cleanup()
{
    delete page;
    delete dir;
}

void TestCatalogue::parsesAndWritesVersions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QString>("shown");
    for (const char *row : {"2.5 2,5,0 2.5", "2.5.1 2,5,1 2.5.1", "2.5. 2,5,0 2.5", "3 0,0,0 0.0",
                            "- 0,0,0 0.0", "1.2.3.4 0,0,0 0.0", "02.05 2,5,0 2.5",
                            "99999999999.1.2 0,1,2 0.1.2", "2.0.5 2,0,5 2.0.5"}) {
        const QStringList parts = QString::fromLatin1(row).split(QLatin1Char(' '));
        QTest::newRow(row) << (parts[0] == QLatin1String("-") ? QString() : parts[0]) << parts[1]
                           << parts[2];
    }
}

void TestCatalogue::parsesAndWritesVersions()
{
    QFETCH(QString, text);
    QFETCH(QString, fields);
    QFETCH(QString, shown);
    ViewerVersion version{7, 7, 7};
    parseViewerVersion(text, version);
    QCOMPARE(QStringLiteral("%1,%2,%3").arg(version.major).arg(version.minor).arg(version.patch),
             fields);
    QCOMPARE(viewerVersionText(version), shown);
}

void TestCatalogue::reportsOutcomes_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("console"); // a trailing "*" matches any error text
    QTest::addColumn<bool>("recorded");
    QTest::addColumn<bool>("result");
    const QString noViewers =
        QStringLiteral("Error: Report Viewers not found in the specified folder");
    const QStringList oneReport{QStringLiteral("reports/S/0001/a.js"),
                                QStringLiteral("reports/S/0001/metadata.xml")};
    const QString broken = QStringLiteral("reports/S/0001/metadata.xml=<ReportMetadata><DateTime>");
    QTest::newRow("viewers: not configured")
        << "viewers unset" << QStringList()
        << QStringList{QStringLiteral("Error: Report Viewers folder not configured")} << true
        << false;
    QTest::newRow("viewers: missing folder")
        << "viewers" << QStringList()
        << QStringList{QStringLiteral("Error: Report Viewers folder doesn't exist")} << true
        << false;
    QTest::newRow("viewers: no subfolders")
        << "viewers" << QStringList{QStringLiteral("viewers/1.0")}
        << QStringList{QStringLiteral("Error: Subfolders with Report Viewer versions not found")}
        << true << false;
    QTest::newRow("viewers: no version-named subfolder")
        << "viewers"
        << QStringList{QStringLiteral("viewers/docs/index.html"),
                       QStringLiteral("viewers/v1.2/index.html")}
        << QStringList{noViewers} << true << false;
    QTest::newRow("viewers: versions without page")
        << "viewers" << QStringList{QStringLiteral("viewers/1.0/"), QStringLiteral("viewers/1.1/")}
        << QStringList{noViewers} << true << false;
    QTest::newRow("viewers: some without page")
        << "viewers"
        << QStringList{QStringLiteral("viewers/2.0/index.html"), QStringLiteral("viewers/2.1/"),
                       QStringLiteral("viewers/docs/")}
        << QStringList{QStringLiteral(
               "Warning: Some Report Viewer subfolders don't contain the index.html file")}
        << false << true;
    QTest::newRow("search: not configured")
        << "search unset" << QStringList()
        << QStringList{QStringLiteral("Error: Reports Data folder not configured")} << true
        << false;
    QTest::newRow("search: missing folder")
        << "search" << QStringList()
        << QStringList{QStringLiteral("Error: Reports Data folder doesn't exist")} << true << false;
    QTest::newRow("search: empty Stone ID")
        << "search no stone" << QStringList{QStringLiteral("reports/")} << QStringList() << false
        << false;
    QTest::newRow("search: missing stone folder")
        << "search" << QStringList{QStringLiteral("reports/T/")}
        << QStringList{QStringLiteral(
               "Error: Root folder for stone reports with the specified ID doesn't exist")}
        << false << false;
    QTest::newRow("search: no report folder qualifies")
        << "search" << QStringList{QStringLiteral("reports/S/0001/a.js"),
                                   QStringLiteral("reports/S/0002/metadata.xml"),
                                   QStringLiteral("reports/S/notes/a.js"),
                                   QStringLiteral("reports/S/notes/metadata.xml"),
                                   QStringLiteral("reports/S/0003.txt"),
                                   QStringLiteral("reports/S/0004/a.json"),
                                   QStringLiteral("reports/S/0004/metadata.xml")}
        << QStringList{QStringLiteral("Error: Reports for a stone with the specified ID not found")}
        << false << false;
    QTest::newRow("search: invalid metadata")
        << "search"
        << (QStringList{broken, QStringLiteral("reports/S/0001/a.js"),
                        QStringLiteral("reports/S/0002 b/c.js"),
                        QStringLiteral("reports/S/0002 b/metadata.xml")})
        << QStringList{QStringLiteral("Warning: Some metadata files aren't valid"),
                       QStringLiteral("Found 2 reports for a stone with the specified ID")}
        << false << true;
    QTest::newRow("search: one report")
        << "search" << oneReport
        << QStringList{QStringLiteral("Found 1 report for a stone with the specified ID")} << false
        << true;
    QTest::newRow("read: prefix wrong")
        << "read notes" << QStringList{QStringLiteral("reports/S/notes/metadata.xml")}
        << QStringList{QStringLiteral("Error: Report's prefix in notes has wrong format")} << false
        << false;
    QTest::newRow("read: no file") << "read" << QStringList{QStringLiteral("reports/S/0001/")}
                                   << QStringList() << false << false;
    QTest::newRow("read: malformed")
        << "read" << QStringList{broken} << QStringList() << false << false;
    QTest::newRow("check: no file")
        << "check" << QStringList{QStringLiteral("reports/S/0001/")}
        << QStringList{QStringLiteral("Error: Cannot open metadata file for 0001 report: *")}
        << false << false;
    QTest::newRow("check: malformed")
        << "check" << QStringList{broken}
        << QStringList{QStringLiteral("Error: Failed to parse metadata file for 0001 report: *")}
        << false << false;
    QTest::newRow("write: no file")
        << "write" << QStringList{QStringLiteral("reports/S/0001/")}
        << QStringList{QStringLiteral("Error: Cannot open metadata file for 0001 report: *")}
        << false << true;
    QTest::newRow("write: malformed")
        << "write" << QStringList{broken}
        << QStringList{QStringLiteral("Error: Cannot read metadata file for 0001 report")} << false
        << true;
}

void TestCatalogue::reportsOutcomes()
{
    QFETCH(QString, operation);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, console);
    QFETCH(bool, recorded);
    QFETCH(bool, result);
    make(entries);
    const QByteArray before = TestDir::readAll(metadataPath());
    if (operation.endsWith(QLatin1String("unset")))
        (operation.startsWith(QLatin1String("viewers")) ? page->pathToViewers : page->pathToReports)
            .clear();
    if (operation.endsWith(QLatin1String("no stone")))
        page->stoneID.clear();
    const QString folder = operation.endsWith(QLatin1String("notes")) ? QStringLiteral("notes")
                                                                      : QStringLiteral("0001");
    bool outcome = true;
    if (operation.startsWith(QLatin1String("viewers")))
        outcome = page->discoverViewers();
    else if (operation.startsWith(QLatin1String("search")))
        outcome = page->searchReports();
    else if (operation.startsWith(QLatin1String("read")))
        outcome = page->readReportMetadata(folder, QStringLiteral("a.js"));
    else if (operation == QLatin1String("check"))
        outcome = page->hasCommentElement(folder);
    else
        page->saveReportComment(folder, QStringLiteral("lost?"));

    QCOMPARE(outcome, result);
    const QList<ConsoleLine> lines = consoleLines(page->console);
    QCOMPARE(lines.size(), console.size());
    for (int i = 0; i < lines.size(); ++i) {
        const QString expected = console.at(i);
        QVERIFY2(expected.endsWith(QLatin1Char('*'))
                     ? lines[i].text.startsWith(expected.chopped(1)) &&
                           lines[i].text.size() >= expected.size()
                     : lines[i].text == expected,
                 qPrintable(lines[i].text));
        const QColor colour = expected.startsWith(QLatin1String("Error: "))     ? ErrorColour
                              : expected.startsWith(QLatin1String("Warning: ")) ? WarningColour
                                                                                : InfoColour;
        QCOMPARE(lines[i].colour, colour);
    }
    QCOMPARE(page->configMessages, recorded ? QStringList{console.first().mid(7)} : QStringList());
    QCOMPARE(TestDir::readAll(metadataPath()), before); // a failed write changes nothing
    if (operation == QLatin1String("read"))
        QCOMPARE(page->reports.value(QStringLiteral("0001")).prefix, 1); // still listed, empty
}

void TestCatalogue::ordersAndChoosesViewers_data()
{
    QTest::addColumn<QString>("installed");
    QTest::addColumn<QString>("newest");
    QTest::addColumn<QString>("required");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("numeric order") << "1.0 1.10 1.9"
                                   << "1.10"
                                   << "1.9"
                                   << "1.10";
    QTest::newRow("zero padded") << "02.05 1.0"
                                 << "02.05"
                                 << "2.1"
                                 << "02.05";
    QTest::newRow("newest of the same major") << "1.1 1.3 2.0"
                                              << "2.0"
                                              << "1.2"
                                              << "1.3";
    QTest::newRow("patch above newest of major") << "1.3 2.0"
                                                 << "2.0"
                                                 << "1.2.5"
                                                 << "2.0";
    QTest::newRow("newer than every viewer") << "1.3 2.0"
                                             << "2.0"
                                             << "3.0"
                                             << "2.0";
    QTest::newRow("no requirement") << "1.3 2.0"
                                    << "2.0"
                                    << "0.0"
                                    << "2.0";
    QTest::newRow("1.2 and 1.2.0") << "1.2 1.2.0"
                                   << "*"
                                   << "1.2"
                                   << "*";
}

void TestCatalogue::ordersAndChoosesViewers()
{
    QFETCH(QString, installed);
    QFETCH(QString, newest);
    QFETCH(QString, required);
    QFETCH(QString, chosen);
    const QStringList names = installed.split(QLatin1Char(' '));
    for (const QString &name : names)
        make({QStringLiteral("viewers/") + name + QStringLiteral("/index.html")});
    QVERIFY(page->discoverViewers());
    // Of two folders with the same version, the one the file system lists later wins.
    const QString last =
        QDir(page->pathToViewers).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort).last();
    QCOMPARE(page->viewerFolderName, newest == QLatin1String("*") ? last : newest);
    QVERIFY(std::is_sorted(page->viewers.keyBegin(), page->viewers.keyEnd()));
    ViewerVersion version;
    parseViewerVersion(required, version);
    page->chooseViewer(version);
    QCOMPARE(page->viewers.value(version), chosen == QLatin1String("*") ? last : chosen);
}

void TestCatalogue::readsReportFields()
{
    const QString comment = QStringLiteral("Трещина у рундиста; ünïcödé ✓ 💎");
    make({QStringLiteral("reports/S/0007/metadata.xml"),
          QStringLiteral(
              "reports/S/12345/metadata.xml=<Other><ReportMetadata><DateTime><![CDATA[a < "
              "b]]></DateTime>"
              "<ReportType>rt_polish</ReportType><X><Comment>eA==</Comment></X><Comment>") +
              base64(comment) + QStringLiteral("</Comment></ReportMetadata></Other>")});
    QVERIFY(page->readReportMetadata(QStringLiteral("0007"), QStringLiteral("data.js")));
    QVERIFY(page->readReportMetadata(QStringLiteral("12345"), QString()));
    const ReportInfo first = page->reports.value(QStringLiteral("0007"));
    QCOMPARE(first.prefix, 7);
    QCOMPARE(first.dataFileName, QStringLiteral("data.js"));
    QCOMPARE(first.dateTime, QStringLiteral("2024-03-05 14:22"));
    QCOMPARE(first.reportType, QStringLiteral("C"));
    QCOMPARE(first.requiredViewerVersion, ViewerVersion({2, 1, 0}));
    const ReportInfo second = page->reports.value(QStringLiteral("12345"));
    QCOMPARE(second.prefix, 1234);
    QCOMPARE(second.dateTime, QStringLiteral("a < b"));
    QVERIFY(second.reportType.isEmpty());
    QCOMPARE(second.requiredViewerVersion, ViewerVersion());
    QCOMPARE(second.comment, comment); // the last Comment wins
}

void TestCatalogue::hostileFilesAreNeitherReadNorRewritten_data()
{
    QTest::addColumn<QByteArray>("content");
    QByteArray entities = "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\">";
    for (char name = 'b'; name <= 'g'; ++name)
        entities += QByteArray("<!ENTITY ") + name + " \"" +
                    (QByteArray("&") + char(name - 1) + ";").repeated(10) + "\">";
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not XML") << QByteArray("DateTime=today\n\x01\xff\xfe");
    QTest::newRow("truncated") << Metadata.left(80);
    QTest::newRow("entity expansion")
        << entities +
               "]><ReportMetadata><StoneID>S</StoneID><DateTime>&g;</DateTime></ReportMetadata>";
    QTest::newRow("oversized") << QByteArray("<ReportMetadata><StoneID>") +
                                      QByteArray(int(MetadataFileSizeLimit), 'x') +
                                      "</StoneID></ReportMetadata>";
    QTest::newRow("deep nesting") << QByteArray("<ReportMetadata><StoneID>S</StoneID>") +
                                         QByteArray("<a>").repeated(20000) +
                                         QByteArray("</a>").repeated(20000) + "</ReportMetadata>";
    QTest::newRow("very deep nesting") << QByteArray("<a>").repeated(100000);
}

void TestCatalogue::hostileFilesAreNeitherReadNorRewritten()
{
    QFETCH(QByteArray, content);
    const QString path = dir->createFile(QStringLiteral("reports/S/0001/metadata.xml"), content);
    page->readReportMetadata(QStringLiteral("0001"), QString());
    QVERIFY(page->reports.value(QStringLiteral("0001")).dateTime.size() < 100);
    page->saveReportComment(QStringLiteral("0001"), QStringLiteral("lost?"));
    QCOMPARE(TestDir::readAll(path), content);
    QCOMPARE(consoleTexts(page->console),
             QStringList{QStringLiteral("Error: Cannot read metadata file for 0001 report")});
    QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files),
             QStringList{QStringLiteral("metadata.xml")});
}

void TestCatalogue::placesComment_data()
{
    QTest::addColumn<QString>("root");
    QTest::addColumn<QString>("children");
    QTest::newRow("after StoneID") << "<DateTime>d</DateTime><StoneID>S</StoneID>"
                                   << "DateTime StoneID Comment";
    QTest::newRow("moved to the end")
        << "<Comment>b2xk</Comment><DateTime>d</DateTime><StoneID>S</StoneID>"
        << "DateTime StoneID Comment";
    QTest::newRow("neither StoneID nor Comment") << "<DateTime>d</DateTime>"
                                                 << "DateTime Comment";
    QTest::newRow("Comment only nested") << "<StoneID>S</StoneID><X><Comment>b2xk</Comment></X>"
                                         << "StoneID X Comment";
}

void TestCatalogue::placesComment()
{
    QFETCH(QString, root);
    QFETCH(QString, children);
    const QString path =
        dir->createFile(QStringLiteral("reports/S/0001/metadata.xml"),
                        QStringLiteral("<ReportMetadata>%1</ReportMetadata>").arg(root).toUtf8());
    const QString comment = QStringLiteral("Škrábnutí — 緑");
    page->saveReportComment(QStringLiteral("0001"), QStringLiteral("first"));
    page->saveReportComment(QStringLiteral("0001"), comment); // a second write replaces the first
    const QString expected =
        children.replace(QStringLiteral("Comment"), QStringLiteral("Comment=") + base64(comment));
    QCOMPARE(rootChildren(TestDir::readAll(path)), expected.split(QLatin1Char(' ')));
    QVERIFY(consoleLines(page->console).isEmpty());
    QVERIFY(page->readReportMetadata(QStringLiteral("0001"), QString()));
    QCOMPARE(page->reports.value(QStringLiteral("0001")).comment, comment);
    page->saveReportComment(QStringLiteral("0001"), QString());
    QVERIFY(rootChildren(TestDir::readAll(path)).contains(QStringLiteral("Comment=")));
}

void TestCatalogue::keepsEncodingOfRewrittenFile_data()
{
    QTest::addColumn<QByteArray>("codec");
    QTest::addColumn<QByteArray>("declaration");
    QTest::newRow("UTF-8") << QByteArray("UTF-8")
                           << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    QTest::newRow("no declaration") << QByteArray("UTF-8") << QByteArray();
    QTest::newRow("ISO-8859-1") << QByteArray("ISO-8859-1")
                                << QByteArray("<?xml version='1.0' encoding='ISO-8859-1'?>\n");
}

void TestCatalogue::keepsEncodingOfRewrittenFile()
{
    QFETCH(QByteArray, codec);
    QFETCH(QByteArray, declaration);
    const QString dateTime = QStringLiteral("5 März 2024, Zürich, señor");
    const QTextCodec *textCodec = QTextCodec::codecForName(codec);
    const QString path = dir->createFile(
        QStringLiteral("reports/S/0001/metadata.xml"),
        declaration +
            textCodec->fromUnicode(
                QStringLiteral(
                    "<ReportMetadata><DateTime>%1</DateTime><StoneID>S</StoneID></ReportMetadata>")
                    .arg(dateTime)));
    page->saveReportComment(QStringLiteral("0001"), QStringLiteral("é"));
    const QByteArray written = TestDir::readAll(path);
    QVERIFY2(written.contains(textCodec->fromUnicode(dateTime)), written.constData());
    QCOMPARE(written.startsWith("<?xml"), !declaration.isEmpty());
    QVERIFY(written.toLower().contains(codec.toLower()) || declaration.isEmpty());
    QVERIFY(page->readReportMetadata(QStringLiteral("0001"), QString()));
    QCOMPARE(page->reports.value(QStringLiteral("0001")).dateTime, dateTime);
}

void TestCatalogue::failedWriteLeavesOldBytes()
{
#ifdef Q_OS_UNIX
    // Root ignores permissions, so a file-size limit below the new content makes the write fail.
    const QString path = dir->createFile(QStringLiteral("reports/S/0001/metadata.xml"), Metadata);
    struct rlimit previous;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tight = previous;
    tight.rlim_cur = 64;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &tight), 0);
    page->saveReportComment(QStringLiteral("0001"), QStringLiteral("will not fit"));
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, handler);
    QCOMPARE(TestDir::readAll(path), Metadata);
    QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files),
             QStringList{QStringLiteral("metadata.xml")});
    QVERIFY(consoleTexts(page->console)
                .value(0)
                .startsWith(QStringLiteral("Error: Cannot write metadata file for 0001 report: ")));
#else
    QSKIP("needs a POSIX file-size limit");
#endif
}

void TestCatalogue::searchFindsReportsAndLatestDataFile()
{
    make({QStringLiteral("reports/S/0001/b.js"), QStringLiteral("reports/S/0001/a.js"),
          QStringLiteral("reports/S/0001/metadata.xml"),
          QStringLiteral("reports/S/0010 b/tenth.js"),
          QStringLiteral("reports/S/0010 b/metadata.xml"), QStringLiteral("reports/S/0009/Z.JS"),
          QStringLiteral("reports/S/0009/b.js"), QStringLiteral("reports/S/0009/metadata.xml"),
          QStringLiteral("reports/S/notes/a.js"), QStringLiteral("reports/S/notes/metadata.xml")});
    page->reportDataPath = QStringLiteral("previous");
    QVERIFY(page->searchReports());
    QCOMPARE(page->reports.keys(), (QStringList{QStringLiteral("0001"), QStringLiteral("0009"),
                                                QStringLiteral("0010 b")}));
    QCOMPARE(page->reports.value(QStringLiteral("0001")).dataFileName, QStringLiteral("a.js"));
    QCOMPARE(page->reports.value(QStringLiteral("0009")).dataFileName,
             QStringLiteral("Z.JS")); // code-unit order
    QCOMPARE(page->reportDataPath, page->pathToReports + QStringLiteral("/S/0010 b/tenth.js"));
    QCOMPARE(consoleTexts(page->console),
             QStringList{QStringLiteral("Found 3 reports for a stone with the specified ID")});
    page->stoneID = QStringLiteral("T");
    QVERIFY(!page->searchReports());
    QVERIFY(page->reports.isEmpty());
    QCOMPARE(page->reportDataPath, page->pathToReports + QStringLiteral("/S/0010 b/tenth.js"));
}

void TestCatalogue::searchHandlesUnicodeSpacesAndLongPaths()
{
    // Made through the standard library from UTF-8 names, as another program would, so the
    // test also holds when the process has no locale.
    const auto root = std::filesystem::u8path(page->pathToReports.toStdString()) /
                      std::filesystem::u8path(u8"Ämber #12 緑");
    const auto report = root / std::filesystem::u8path(u8"0007 Größe  ");
    std::filesystem::create_directories(report);
    std::ofstream(report / "metadata.xml") << Metadata.constData();
    std::ofstream(report / std::filesystem::u8path(u8"données.js")) << "x";
    page->stoneID = QStringLiteral("Ämber #12 緑");
    QVERIFY(page->searchReports());
    QCOMPARE(page->reports.keys(), QStringList{QStringLiteral("0007 Größe  ")});
    QCOMPARE(page->reports.first().reportType, QStringLiteral("C"));
    QVERIFY(QFile::exists(page->reportDataPath));
    page->saveReportComment(QStringLiteral("0007 Größe  "), QStringLiteral("ok"));
    QVERIFY(page->hasCommentElement(QStringLiteral("0007 Größe  ")));

    // A stone folder that exists but whose path is 260 characters or longer counts as missing.
    page->stoneID = QString(qMax(1, 260 - page->pathToReports.size()), QLatin1Char('s'));
    make({QStringLiteral("reports/") + page->stoneID + QStringLiteral("/0001/a.js"),
          QStringLiteral("reports/") + page->stoneID + QStringLiteral("/0001/metadata.xml")});
    page->console->clear();
    QVERIFY(!page->searchReports());
    QCOMPARE(consoleTexts(page->console),
             QStringList{QStringLiteral(
                 "Error: Root folder for stone reports with the specified ID doesn't exist")});
}

void TestCatalogue::stoneIdCannotLeaveReportsFolder_data()
{
    QTest::addColumn<QString>("stoneID");
    for (const QString &id :
         {QStringLiteral("."), QStringLiteral(".."), QStringLiteral("../outside"),
          QStringLiteral("..\\outside"), QStringLiteral("S/0001"), QStringLiteral("S\nT"),
          QString(QLatin1Char('\0'))})
        QTest::newRow(qPrintable(id)) << id;
}

void TestCatalogue::stoneIdCannotLeaveReportsFolder()
{
    QFETCH(QString, stoneID);
    // Report-like folders that a path escaping the stone level would reach.
    make({QStringLiteral("reports/S/0001/a.js"), QStringLiteral("reports/S/0001/metadata.xml"),
          QStringLiteral("reports/0001/a.js"), QStringLiteral("reports/0001/metadata.xml"),
          QStringLiteral("0001/a.js"), QStringLiteral("0001/metadata.xml"),
          QStringLiteral("outside/0001/a.js"), QStringLiteral("outside/0001/metadata.xml")});
    page->stoneID = stoneID;
    QVERIFY(!page->searchReports());
    QVERIFY(page->reports.isEmpty());
    QCOMPARE(consoleTexts(page->console),
             QStringList{QStringLiteral(
                 "Error: Root folder for stone reports with the specified ID doesn't exist")});
}

void TestCatalogue::updateConsoleReprintsConfigurationErrors()
{
    page->updateConsole();
    QVERIFY(consoleLines(page->console).isEmpty());
    QVERIFY(!page->discoverViewers());
    QVERIFY(!page->searchReports());
    page->pathToReports = dir->path();
    QVERIFY(!page->searchReports()); // the missing stone folder is not a configuration error
    page->console->printInfo(QStringLiteral("Found 3 reports for a stone with the specified ID"));
    page->updateConsole();
    QCOMPARE(consoleTexts(page->console),
             (QStringList{QStringLiteral("Error: Report Viewers folder doesn't exist"),
                          QStringLiteral("Error: Reports Data folder doesn't exist")}));
    QCOMPARE(consoleLines(page->console).at(1).colour, ErrorColour);
}

STELVANE_TEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
