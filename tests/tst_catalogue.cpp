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

// Adds one data row per line of a table whose cells are separated by "|": the first cell names
// the row, the others fill the given QString columns.
void addRows(std::initializer_list<const char *> columns, const char *table)
{
    for (const char *column : columns)
        QTest::addColumn<QString>(column); // the table keeps the pointer, not a copy
    for (const QString &line :
         QString::fromUtf8(table).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList cells = line.split(QLatin1Char('|'));
        QTestData &row = QTest::newRow(qPrintable(cells[0].trimmed()));
        for (int i = 1; i <= int(columns.size()); ++i)
            row << cells.value(i).trimmed();
    }
}

// The non-empty items of a ";"-separated cell; "B" stands for a malformed metadata file.
QStringList items(const QString &cell)
{
    QStringList result;
    for (const QString &item : cell.split(QLatin1Char(';'))) {
        if (!item.trimmed().isEmpty())
            result << (item.trimmed() == QLatin1String("B")
                           ? QStringLiteral(
                                 "reports/S/0001/metadata.xml=<ReportMetadata><DateTime>")
                           : item.trimmed());
    }
    return result;
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private:
    // "a/b/" makes a folder, "a/b=text" a file with that text, "a/metadata.xml" valid metadata,
    // any other "a/b" a small data file.
    void make(const QString &entries) const
    {
        for (const QString &entry : items(entries)) {
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

private slots:
    void init()
    {
        dir = new TestDir;
        page = new COpenReportWidget;
        // The page's own start-up checks run against an empty settings file; start clean.
        page->console->clear();
        page->configMessages.clear();
        page->pathToViewers = dir->filePath(QStringLiteral("viewers"));
        page->pathToReports = dir->filePath(QStringLiteral("reports"));
        page->stoneID = QStringLiteral("S");
    }

    void cleanup()
    {
        delete page;
        delete dir;
    }

    void parsesAndWritesVersions_data()
    {
        addRows({"text", "fields", "shown"}, R"(
two numbers   | 2.5     | 2,5,0 | 2.5
three numbers | 2.5.1   | 2,5,1 | 2.5.1
trailing dot  | 2.5.    | 2,5,0 | 2.5
one number    | 3       | 0,0,0 | 0.0
empty         |         | 0,0,0 | 0.0
four numbers  | 1.2.3.4 | 0,0,0 | 0.0
zero padded   | 02.05   | 2,5,0 | 2.5
patch only    | 2.0.5   | 2,0,5 | 2.0.5
beyond int    | 99999999999.1.2 | 0,1,2 | 0.1.2
)");
    }

    void parsesAndWritesVersions()
    {
        QFETCH(QString, text);
        QFETCH(QString, fields);
        QFETCH(QString, shown);
        ViewerVersion version{7, 7, 7};
        parseViewerVersion(text, version);
        QCOMPARE(
            QStringLiteral("%1,%2,%3").arg(version.major).arg(version.minor).arg(version.patch),
            fields);
        QCOMPARE(viewerVersionText(version), shown);
    }

    void reportsOutcomes_data()
    {
        // operation | files made | console lines ("*" stands for the toolkit's error text) |
        // recorded as a configuration error | result
        addRows({"operation", "entries", "console", "recorded", "result"},
                R"(
viewers: not configured  | viewers unset | | Error: Report Viewers folder not configured | yes | no
viewers: missing folder  | viewers | | Error: Report Viewers folder doesn't exist | yes | no
viewers: no subfolders   | viewers | viewers/1.0 | Error: Subfolders with Report Viewer versions not found | yes | no
viewers: no version name | viewers | viewers/docs/index.html; viewers/v1.2/index.html | Error: Report Viewers not found in the specified folder | yes | no
viewers: no page         | viewers | viewers/1.0/; viewers/1.1/ | Error: Report Viewers not found in the specified folder | yes | no
viewers: some no page    | viewers | viewers/2.0/index.html; viewers/2.1/; viewers/docs/ | Warning: Some Report Viewer subfolders don't contain the index.html file | no | yes
search: not configured   | search unset | | Error: Reports Data folder not configured | yes | no
search: missing folder   | search | | Error: Reports Data folder doesn't exist | yes | no
search: empty Stone ID   | search no stone | reports/ | | no | no
search: no stone folder  | search | reports/T/ | Error: Root folder for stone reports with the specified ID doesn't exist | no | no
search: nothing counts   | search | reports/S/0001/a.js; reports/S/0002/metadata.xml; reports/S/notes/a.js; reports/S/notes/metadata.xml; reports/S/0003.txt; reports/S/0004/a.json; reports/S/0004/metadata.xml | Error: Reports for a stone with the specified ID not found | no | no
search: invalid metadata | search | B; reports/S/0001/a.js; reports/S/0002 b/c.js; reports/S/0002 b/metadata.xml | Warning: Some metadata files aren't valid; Found 2 reports for a stone with the specified ID | no | yes
search: one report       | search | reports/S/0001/a.js; reports/S/0001/metadata.xml | Found 1 report for a stone with the specified ID | no | yes
read: prefix wrong       | read notes | reports/S/notes/metadata.xml | Error: Report's prefix in notes has wrong format | no | no
read: no file            | read | reports/S/0001/ | | no | no
read: malformed          | read | B | | no | no
check: no file           | check | reports/S/0001/ | Error: Cannot open metadata file for 0001 report: * | no | no
check: malformed         | check | B | Error: Failed to parse metadata file for 0001 report: * | no | no
write: no file           | write | reports/S/0001/ | Error: Cannot open metadata file for 0001 report: * | no | yes
write: malformed         | write | B | Error: Cannot read metadata file for 0001 report | no | yes
)");
    }

    void reportsOutcomes()
    {
        QFETCH(QString, operation);
        QFETCH(QString, entries);
        QFETCH(QString, recorded);
        QFETCH(QString, result);
        QFETCH(QString, console);
        const QStringList expectedLines = items(console);
        make(entries);
        const QByteArray before = TestDir::readAll(metadataPath());
        if (operation.endsWith(QLatin1String("unset")))
            (operation.startsWith(QLatin1String("viewers")) ? page->pathToViewers
                                                            : page->pathToReports)
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

        QCOMPARE(outcome, result == QLatin1String("yes"));
        const QList<ConsoleLine> lines = consoleLines(page->console);
        QCOMPARE(lines.size(), expectedLines.size());
        for (int i = 0; i < lines.size(); ++i) {
            const QString expected = expectedLines.at(i);
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
        QCOMPARE(page->configMessages, recorded == QLatin1String("yes")
                                           ? QStringList{expectedLines.first().mid(7)}
                                           : QStringList());
        QCOMPARE(TestDir::readAll(metadataPath()), before); // a failed write changes nothing
        if (operation == QLatin1String("read"))
            QCOMPARE(page->reports.value(QStringLiteral("0001")).prefix, 1); // still listed, empty
    }

    void ordersAndChoosesViewers_data()
    {
        // "*" is the folder of two with the same version that the file system lists later.
        addRows({"installed", "newest", "required", "chosen"},
                R"(
numeric order            | 1.0 1.10 1.9 | 1.10  | 1.9   | 1.10
zero padded              | 02.05 1.0    | 02.05 | 2.1   | 02.05
newest of the same major | 1.1 1.3 2.0  | 2.0   | 1.2   | 1.3
patch above its major    | 1.3 2.0      | 2.0   | 1.2.5 | 2.0
newer than every viewer  | 1.3 2.0      | 2.0   | 3.0   | 2.0
no requirement           | 1.3 2.0      | 2.0   | 0.0   | 2.0
1.2 and 1.2.0            | 1.2 1.2.0    | *     | 1.2   | *
)");
    }

    void ordersAndChoosesViewers()
    {
        QFETCH(QString, installed);
        QFETCH(QString, newest);
        QFETCH(QString, required);
        QFETCH(QString, chosen);
        const QStringList names = installed.split(QLatin1Char(' '));
        for (const QString &name : names)
            make(QStringLiteral("viewers/") + name + QStringLiteral("/index.html"));
        QVERIFY(page->discoverViewers());
        const QString last = QDir(page->pathToViewers)
                                 .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort)
                                 .last();
        QCOMPARE(page->viewerFolderName, newest == QLatin1String("*") ? last : newest);
        QVERIFY(std::is_sorted(page->viewers.keyBegin(), page->viewers.keyEnd()));
        ViewerVersion version;
        parseViewerVersion(required, version);
        page->chooseViewer(version);
        QCOMPARE(page->viewers.value(version), chosen == QLatin1String("*") ? last : chosen);
    }

    void readsReportFields()
    {
        const QString comment = QStringLiteral("Трещина у рундиста; ünïcödé ✓ 💎");
        make(QStringLiteral("reports/S/0007/metadata.xml"));
        dir->createFile(QStringLiteral("reports/S/12345/metadata.xml"),
                        "<Other><ReportMetadata><DateTime><![CDATA[a < b]]></DateTime><ReportType>"
                        "rt_polish</ReportType><X><Comment>eA==</Comment></X><Comment>" +
                            base64(comment).toLatin1() + "</Comment></ReportMetadata></Other>");
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

    void hostileFilesAreNeitherReadNorRewritten_data()
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
            << entities + "]><ReportMetadata><StoneID>S</StoneID><DateTime>&g;</DateTime></"
                          "ReportMetadata>";
        QTest::newRow("oversized") << QByteArray("<ReportMetadata><StoneID>") +
                                          QByteArray(int(MetadataFileSizeLimit), 'x') +
                                          "</StoneID></ReportMetadata>";
        QTest::newRow("deep nesting") << QByteArray("<ReportMetadata><StoneID>S</StoneID>") +
                                             QByteArray("<a>").repeated(20000) +
                                             QByteArray("</a>").repeated(20000) +
                                             "</ReportMetadata>";
        QTest::newRow("very deep nesting") << QByteArray("<a>").repeated(100000);
    }

    void hostileFilesAreNeitherReadNorRewritten()
    {
        QFETCH(QByteArray, content);
        const QString path =
            dir->createFile(QStringLiteral("reports/S/0001/metadata.xml"), content);
        page->readReportMetadata(QStringLiteral("0001"), QString());
        QVERIFY(page->reports.value(QStringLiteral("0001")).dateTime.size() < 100);
        page->saveReportComment(QStringLiteral("0001"), QStringLiteral("lost?"));
        QCOMPARE(TestDir::readAll(path), content);
        QCOMPARE(consoleTexts(page->console),
                 QStringList{QStringLiteral("Error: Cannot read metadata file for 0001 report")});
        QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files),
                 QStringList{QStringLiteral("metadata.xml")});
    }

    void placesComment_data()
    {
        addRows({"root", "children"}, R"(
after StoneID       | <DateTime>d</DateTime><StoneID>S</StoneID> | DateTime StoneID Comment
moved to the end    | <Comment>b2xk</Comment><DateTime>d</DateTime><StoneID>S</StoneID> | DateTime StoneID Comment
no StoneID, Comment | <DateTime>d</DateTime> | DateTime Comment
Comment only nested | <StoneID>S</StoneID><X><Comment>b2xk</Comment></X> | StoneID X Comment
)");
    }

    void placesComment()
    {
        QFETCH(QString, root);
        QFETCH(QString, children);
        const QString path = dir->createFile(
            QStringLiteral("reports/S/0001/metadata.xml"),
            QStringLiteral("<ReportMetadata>%1</ReportMetadata>").arg(root).toUtf8());
        const QString comment = QStringLiteral("Škrábnutí — 緑");
        page->saveReportComment(QStringLiteral("0001"), QStringLiteral("first"));
        page->saveReportComment(QStringLiteral("0001"),
                                comment); // a second write replaces the first
        const QString expected = children.replace(QStringLiteral("Comment"),
                                                  QStringLiteral("Comment=") + base64(comment));
        QCOMPARE(rootChildren(TestDir::readAll(path)), expected.split(QLatin1Char(' ')));
        QVERIFY(consoleLines(page->console).isEmpty());
        QVERIFY(page->readReportMetadata(QStringLiteral("0001"), QString()));
        QCOMPARE(page->reports.value(QStringLiteral("0001")).comment, comment);
        page->saveReportComment(QStringLiteral("0001"), QString());
        QVERIFY(rootChildren(TestDir::readAll(path)).contains(QStringLiteral("Comment=")));
    }

    void keepsEncodingOfRewrittenFile_data()
    {
        QTest::addColumn<QByteArray>("codec");
        QTest::addColumn<QByteArray>("declaration");
        QTest::newRow("UTF-8") << QByteArray("UTF-8")
                               << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
        QTest::newRow("no declaration") << QByteArray("UTF-8") << QByteArray();
        QTest::newRow("ISO-8859-1") << QByteArray("ISO-8859-1")
                                    << QByteArray("<?xml version='1.0' encoding='ISO-8859-1'?>\n");
    }

    void keepsEncodingOfRewrittenFile()
    {
        QFETCH(QByteArray, codec);
        QFETCH(QByteArray, declaration);
        const QString dateTime = QStringLiteral("5 März 2024, Zürich, señor");
        const QTextCodec *textCodec = QTextCodec::codecForName(codec);
        const QString path = dir->createFile(
            QStringLiteral("reports/S/0001/metadata.xml"),
            declaration + textCodec->fromUnicode(
                              QStringLiteral("<ReportMetadata><DateTime>%1</DateTime><StoneID>S</"
                                             "StoneID></ReportMetadata>")
                                  .arg(dateTime)));
        page->saveReportComment(QStringLiteral("0001"), QStringLiteral("é"));
        const QByteArray written = TestDir::readAll(path);
        QVERIFY2(written.contains(textCodec->fromUnicode(dateTime)), written.constData());
        QCOMPARE(written.startsWith("<?xml"), !declaration.isEmpty());
        QVERIFY(written.toLower().contains(codec.toLower()) || declaration.isEmpty());
        QVERIFY(page->readReportMetadata(QStringLiteral("0001"), QString()));
        QCOMPARE(page->reports.value(QStringLiteral("0001")).dateTime, dateTime);
    }

    void failedWriteLeavesOldBytes()
    {
#ifdef Q_OS_UNIX
        // Root ignores permissions, so a file-size limit below the new content makes the write
        // fail.
        const QString path =
            dir->createFile(QStringLiteral("reports/S/0001/metadata.xml"), Metadata);
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
        QVERIFY(
            consoleTexts(page->console)
                .value(0)
                .startsWith(QStringLiteral("Error: Cannot write metadata file for 0001 report: ")));
#else
        QSKIP("needs a POSIX file-size limit");
#endif
    }

    void searchFindsReportsAndLatestDataFile()
    {
        make(QStringLiteral(
            "reports/S/0001/b.js; reports/S/0001/a.js; reports/S/0001/metadata.xml; reports/S/0010 "
            "b/tenth.js; reports/S/0010 b/metadata.xml; reports/S/0009/Z.JS; reports/S/0009/b.js; "
            "reports/S/0009/metadata.xml; reports/S/notes/a.js; reports/S/notes/metadata.xml"));
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

    void searchHandlesUnicodeSpacesAndLongPaths()
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
        make(QStringLiteral("reports/%1/0001/a.js; reports/%1/0001/metadata.xml")
                 .arg(page->stoneID));
        page->console->clear();
        QVERIFY(!page->searchReports());
        QCOMPARE(consoleTexts(page->console),
                 QStringList{QStringLiteral(
                     "Error: Root folder for stone reports with the specified ID doesn't exist")});
    }

    void stoneIdCannotLeaveReportsFolder_data()
    {
        QTest::addColumn<QString>("stoneID");
        for (const QString &id :
             {QStringLiteral("."), QStringLiteral(".."), QStringLiteral("../outside"),
              QStringLiteral("..\\outside"), QStringLiteral("S/0001"), QStringLiteral("S\nT"),
              QString(QLatin1Char('\0'))})
            QTest::newRow(qPrintable(id)) << id;
    }

    void stoneIdCannotLeaveReportsFolder()
    {
        QFETCH(QString, stoneID);
        // Report-like folders that a path escaping the stone level would reach.
        make(QStringLiteral("reports/S/0001/a.js; reports/S/0001/metadata.xml; reports/0001/a.js; "
                            "reports/0001/metadata.xml; 0001/a.js; 0001/metadata.xml; "
                            "outside/0001/a.js; outside/0001/metadata.xml"));
        page->stoneID = stoneID;
        QVERIFY(!page->searchReports());
        QVERIFY(page->reports.isEmpty());
        QCOMPARE(consoleTexts(page->console),
                 QStringList{QStringLiteral(
                     "Error: Root folder for stone reports with the specified ID doesn't exist")});
    }

    void updateConsoleReprintsConfigurationErrors()
    {
        page->updateConsole();
        QVERIFY(consoleLines(page->console).isEmpty());
        QVERIFY(!page->discoverViewers());
        QVERIFY(!page->searchReports());
        page->pathToReports = dir->path();
        QVERIFY(!page->searchReports()); // the missing stone folder is not a configuration error
        page->console->printInfo(
            QStringLiteral("Found 3 reports for a stone with the specified ID"));
        page->updateConsole();
        QCOMPARE(consoleTexts(page->console),
                 (QStringList{QStringLiteral("Error: Report Viewers folder doesn't exist"),
                              QStringLiteral("Error: Reports Data folder doesn't exist")}));
        QCOMPARE(consoleLines(page->console).at(1).colour, ErrorColour);
    }
};

STELVANE_TEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
