#include "ConsoleProbe.h"
#include "TestSupport.h"

#include "catalogue/ReportSearch.h"
#include "openreport/COpenReportWidget.h"

#include <QDomDocument>
#include <QTextCodec>

#include <filesystem>
#include <fstream>
#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QByteArray Metadata = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ReportMetadata>\n"
                            " <DateTime>2024-03-05 14:22</DateTime>\n"
                            " <ReportType>RT_COMPARATIVE</ReportType>\n"
                            " <RequiredViewerVersion>2.1</RequiredViewerVersion>\n"
                            " <StoneID>S</StoneID>\n</ReportMetadata>\n";
const QString CannotRead = QStringLiteral("Error: Cannot read metadata file for 00012 report");
const QString CannotWrite =
    QStringLiteral("Error: Cannot write metadata file for 00012 report: the "
                   "new content would not read back as written");

// A metadata file with the given DateTime content, after `prolog`, under the root start tag `root`.
QByteArray doc(const QByteArray &dateTime, const QByteArray &prolog = {},
               const QByteArray &root = "ReportMetadata")
{
    return prolog + "<" + root + "><DateTime>" + dateTime +
           "</DateTime><ReportType>RT_POLISH</ReportType><RequiredViewerVersion>1.2</"
           "RequiredViewerVersion><StoneID>S</StoneID></" +
           root.split(' ').first() + ">";
}

// A record's fields as one text: number, date and time, type, viewer version and comment.
QString fields(const ReportInfo &r)
{
    return QStringList{QString::number(r.prefix), r.dateTime, r.reportType,
                       viewerVersionText(r.requiredViewerVersion), r.comment}
        .join(QLatin1Char('|'));
}

// The names of the root's child elements, with the text of each Comment among them.
QStringList rootChildren(const QByteArray &xml)
{
    QDomDocument document;
    document.setContent(xml);
    QStringList children;
    for (QDomElement e = document.documentElement().firstChildElement(); !e.isNull();
         e = e.nextSiblingElement())
        children << e.tagName() + (e.tagName() == QLatin1String("Comment")
                                       ? QLatin1Char('=') + e.text()
                                       : QString());
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

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDir> dir;
    std::unique_ptr<COpenReportWidget> page;

    // ";"-separated entries: "a/b/" makes a folder, "a/b=text" a file with that text (in percent
    // encoding), "a/metadata.xml" valid metadata, "B" a malformed one, any other "a/b" a data file.
    // They are made through the standard library from UTF-8 names, as another program would, so
    // the catalogue's own conversion of names is tested, whatever the process's locale.
    void make(const QString &entries) const
    {
        for (QString entry : entries.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            entry = entry.trimmed() == QLatin1String("B")
                        ? QStringLiteral("reports/S/0001/metadata.xml=<ReportMetadata><DateTime>")
                        : QUrl::fromPercentEncoding(entry.trimmed().toUtf8());
            const QString name = entry.section(QLatin1Char('='), 0, 0);
            const auto path =
                std::filesystem::u8path((dir->path() + QLatin1Char('/') + name).toStdString());
            std::filesystem::create_directories(
                name.endsWith(QLatin1Char('/')) ? path : path.parent_path());
            if (!name.endsWith(QLatin1Char('/')))
                std::ofstream(path, std::ios::binary)
                    << (entry.contains(QLatin1Char('='))
                            ? entry.section(QLatin1Char('='), 1).toStdString()
                        : name.endsWith(QLatin1String("metadata.xml")) ? Metadata.toStdString()
                                                                       : std::string("x"));
        }
    }
    ReportInfo report(const QString &folder = QStringLiteral("0001")) const
    {
        return page->reports.value(folder);
    }

private slots:
    void init()
    {
        dir = std::make_unique<TestDir>();
        page = std::make_unique<COpenReportWidget>();
        // The page's own start-up checks run against an empty settings file; start clean.
        page->console->clear();
        page->configMessages.clear();
        page->pathToViewers = dir->filePath(QStringLiteral("viewers"));
        page->pathToReports = dir->filePath(QStringLiteral("reports"));
        page->stoneID = QStringLiteral("S");
    }

    // Each operation's console lines ("*" stands for the toolkit's error text), whether the first
    // is kept as a configuration error that updateConsole prints again, and its result: for a
    // search that finds reports, the latest data file, which a failed one leaves as it was. A Stone
    // ID given as "id=" is percent-encoded; "<n>" pads it so that its folder's path has n
    // characters.
    void reportsOutcomes_data()
    {
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
search: empty Stone ID   | search id= | reports/ | | no | no
search: no stone folder  | search | reports/T/ | Error: Root folder for stone reports with the specified ID doesn't exist | no | no
search: nothing counts   | search | reports/S/0001/a.js; reports/S/0002/metadata.xml; reports/S/notes/a.js; reports/S/notes/metadata.xml; reports/S/0003.txt; reports/S/0004/a.json; reports/S/0004/metadata.xml | Error: Reports for a stone with the specified ID not found | no | no
search: invalid metadata | search | B; reports/S/0001/a.js; reports/S/0002 b/c.js; reports/S/0002 b/metadata.xml | Warning: Some metadata files aren't valid; Found 2 reports for a stone with the specified ID | no | S/0002 b/c.js
search: one report       | search | reports/S/0001/a.js; reports/S/0001/metadata.xml | Found 1 report for a stone with the specified ID | no | S/0001/a.js
search: three reports    | search | reports/S/0001/a.js; reports/S/0001/metadata.xml; reports/S/0100 b/b.js; reports/S/0100 b/a.js; reports/S/0100 b/Z.JS; reports/S/0100 b/metadata.xml; reports/S/0009/c.js; reports/S/0009/metadata.xml; reports/S/notes/a.js; reports/S/notes/metadata.xml | Found 3 reports for a stone with the specified ID | no | S/0100 b/Z.JS
search: Stone ID .       | search id=. | reports/0001/a.js; reports/0001/metadata.xml | Error: Root folder for stone reports with the specified ID doesn't exist | no | no
search: Stone ID ..      | search id=.. | reports/; 0001/a.js; 0001/metadata.xml | Error: Root folder for stone reports with the specified ID doesn't exist | no | no
search: Stone ID up      | search id=../x | reports/; x/0001/a.js; x/0001/metadata.xml | Error: Root folder for stone reports with the specified ID doesn't exist | no | no
search: Stone ID back up | search id=..\x | reports/; x/0001/a.js; x/0001/metadata.xml | Error: Root folder for stone reports with the specified ID doesn't exist | no | no
search: Stone ID down    | search id=S/0001 | reports/S/0001/a.js; reports/S/0001/metadata.xml | Error: Root folder for stone reports with the specified ID doesn't exist | no | no
search: Stone ID control | search id=S%0AT | reports/S%0AT/0001/a.js; reports/S/0001/metadata.xml | Error: Root folder for stone reports with the specified ID doesn't exist | no | no
search: Unicode names    | search id=Ämber #12 緑 | reports/Ämber #12 緑/0007 Größe  /données.js; reports/Ämber #12 緑/0007 Größe  /metadata.xml | Found 1 report for a stone with the specified ID | no | Ämber #12 緑/0007 Größe  /données.js
search: stone path 259   | search id=<259> | reports/<259>/0001/a.js; reports/<259>/0001/metadata.xml | Found 1 report for a stone with the specified ID | no | <259>/0001/a.js
search: stone path 260   | search id=<260> | reports/<260>/0001/a.js; reports/<260>/0001/metadata.xml | Error: Root folder for stone reports with the specified ID doesn't exist | no | no
search: Stone ID NUL     | search id=%00 | reports/0001/a.js; reports/0001/metadata.xml | Error: Root folder for stone reports with the specified ID doesn't exist | no | no
read: prefix wrong       | read notes | reports/S/notes/metadata.xml | Error: Report's prefix in notes has wrong format | no | no
read: no file            | read | reports/S/0001/ | | no | no
check: no file           | check | reports/S/0001/ | Error: Cannot open metadata file for 0001 report: * | no | no
check: malformed         | check | B | Error: Failed to parse metadata file for 0001 report: * | no | no
write: no file           | write | reports/S/0001/ | Error: Cannot open metadata file for 0001 report: * | no | yes
)");
    }

    void reportsOutcomes()
    {
        QFETCH(QString, operation);
        QFETCH(QString, entries);
        QFETCH(QString, recorded);
        QFETCH(QString, result);
        QFETCH(QString, console);
        for (const int n : {259, 260})
            for (QString *text : {&operation, &entries, &result})
                text->replace(QStringLiteral("<%1>").arg(n),
                              QString(n - page->pathToReports.size() - 1, QLatin1Char('p')));
        const QStringList expected = console.split(QStringLiteral("; "), Qt::SkipEmptyParts);
        make(entries);
        const QString path = dir->filePath(QStringLiteral("reports/S/0001/metadata.xml"));
        const QByteArray before = TestDir::readAll(path);
        page->reportDataPath = QStringLiteral("previous");
        if (operation.endsWith(QLatin1String("unset")))
            (operation.startsWith(QLatin1String("viewers")) ? page->pathToViewers
                                                            : page->pathToReports)
                .clear();
        if (operation.contains(QLatin1String("id=")))
            page->stoneID =
                QUrl::fromPercentEncoding(operation.section(QLatin1Char('='), 1).toUtf8());
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

        QCOMPARE(outcome, result != QLatin1String("no"));
        const QStringList lines = consoleTexts(page->console);
        QCOMPARE(lines.size(), expected.size());
        for (int i = 0; i < lines.size(); ++i) // a "*" must stand for some text
            QCOMPARE(expected[i].endsWith(QLatin1Char('*')) && lines[i].size() >= expected[i].size()
                         ? lines[i].left(expected[i].size() - 1) + QLatin1Char('*')
                         : lines[i],
                     expected[i]);
        page->updateConsole();
        QCOMPARE(consoleTexts(page->console),
                 recorded == QLatin1String("yes") ? expected.mid(0, 1) : QStringList());
        QCOMPARE(TestDir::readAll(path), before); // a failed write changes nothing
        if (operation.startsWith(QLatin1String("search")))
            QCOMPARE(page->reportDataPath, outcome ? page->pathToReports + QLatin1Char('/') + result
                                                   : QStringLiteral("previous"));
        if (operation == QLatin1String("read"))
            QCOMPARE(report().prefix, 1); // still listed, empty
    }

    void ordersAndChoosesViewers_data()
    {
        // The required version is read from its text and written back as "parsed"; "*" is the
        // folder of two with the same version that the file system lists later.
        addRows({"installed", "newest", "required", "parsed", "chosen"}, R"(
numeric order             | 1.0 1.10 1.9 | 1.10  | 1.9     | 1.9   | 1.10
zero padded               | 02.05 1.0    | 02.05 | 2.1     | 2.1   | 02.05
1.2 and 1.2.0             | 1.2 1.2.0    | *     | 1.2     | 1.2   | *
same minor and patch      | 1.2.3 2.0    | 2.0   | 1.2.3   | 1.2.3 | 1.2.3
minor one above           | 1.2.3 2.0    | 2.0   | 1.3.3   | 1.3.3 | 2.0
minor one below           | 1.2.3 2.0    | 2.0   | 1.1.3   | 1.1.3 | 1.2.3
patch one above           | 1.2.3 2.0    | 2.0   | 1.2.4   | 1.2.4 | 2.0
patch one below           | 1.2.3 2.0    | 2.0   | 1.2.2   | 1.2.2 | 1.2.3
lower minor, higher patch | 1.2.3 2.0    | 2.0   | 1.1.4   | 1.1.4 | 2.0
newest of the same major  | 1.1 1.3 2.0  | 2.0   | 1.2     | 1.2   | 1.3
no viewer of its major    | 2.0 3.0      | 3.0   | 1.0     | 1.0   | 3.0
newer than every viewer   | 1.3 2.0      | 2.0   | 3.0     | 3.0   | 2.0
no requirement            | 1.3 2.0      | 2.0   | 0.0     | 0.0   | 2.0
trailing dot              | 1.0 2.5      | 2.5   | 2.5.    | 2.5   | 2.5
patch zero, one number    | 2.0.5 3.0    | 3.0   | 2.0.5   | 2.0.5 | 2.0.5
one number                | 1.0 2.0      | 2.0   | 3       | 0.0   | 2.0
no text                   | 1.0 2.0      | 2.0   |         | 0.0   | 2.0
four numbers              | 1.0 2.0      | 2.0   | 1.2.3.4 | 0.0   | 2.0
beyond int                | 1.0 2.0      | 2.0   | 99999999999.1.2 | 0.1.2 | 2.0
)");
    }

    void ordersAndChoosesViewers()
    {
        QFETCH(QString, installed);
        QFETCH(QString, newest);
        QFETCH(QString, required);
        QFETCH(QString, parsed);
        QFETCH(QString, chosen);
        for (const QString &name : installed.split(QLatin1Char(' ')))
            make(QStringLiteral("viewers/") + name + QStringLiteral("/index.html"));
        QVERIFY(page->discoverViewers());
        const QString last = QDir(page->pathToViewers)
                                 .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort)
                                 .last();
        QCOMPARE(page->viewerFolderName, newest == QLatin1String("*") ? last : newest);
        QVERIFY(std::is_sorted(page->viewers.keyBegin(), page->viewers.keyEnd()));
        ViewerVersion version{7, 7, 7};
        parseViewerVersion(required, version);
        QCOMPARE(viewerVersionText(version), parsed);
        page->chooseViewer(version);
        QCOMPARE(page->viewers.value(version), chosen == QLatin1String("*") ? last : chosen);
    }

    void survivesUnusualFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("read");    // the fields read before the save
        QTest::addColumn<QString>("message"); // empty: the save writes the new comment
        QTest::addColumn<QString>("comment");
        QTest::addColumn<QString>("limit"); // a folder that takes no new file, a file-size limit
        const QString none = QStringLiteral("||0.0|"), d = QStringLiteral("d|P|1.2|");
        // clang-format off
        const auto row = [&none](const char *name, const QByteArray &content, const QString &read = {}, const QString &message = CannotRead, const QString &comment = QStringLiteral("checked ✓ 💎"), const char *limit = "") {
            QTest::newRow(name) << content << QStringLiteral("1|") + (read.isEmpty() ? none : read) << message << comment << QString::fromLatin1(limit);
        };
        const auto entity = [](int i, const QByteArray &value) { return "<!ENTITY e" + QByteArray::number(i) + " \"" + value + "\">"; };
        const auto ref = [](int i) { return "&e" + QByteArray::number(i) + ";"; };
        const auto dtd = [](const QByteArray &declared) { return "<!DOCTYPE R [" + declared + "]>"; };
        const auto utf16 = [](const QByteArray &utf8, const char *codec) { return QTextCodec::codecForName(codec)->fromUnicode(QString::fromUtf8(utf8)); }; // with a byte order mark
        QByteArray laughs = entity(0, "ha"), chain = laughs, attributes = "R";
        for (int i = 1; i < 20000; ++i) {
            laughs += i < 10 ? entity(i, ref(i - 1).repeated(10)) : "";
            chain += i < 3000 ? entity(i, ref(i - 1)) : "";
            attributes += " a" + QByteArray::number(i) + "=''";
        }
        const QByteArray crlf = doc("\xC4\x8D\r\nx").replace("><", ">\r\n<"), external = "<!DOCTYPE R SYSTEM '../../../secret.dtd'>";
        const QString comment = QStringLiteral("Трещина у рундиста; ünïcödé ✓ 💎");

        row("plain", Metadata, QStringLiteral("2024-03-05 14:22|C|2.1|"), {});
        row("nested, CDATA, last Comment", "<Other><ReportMetadata><DateTime><![CDATA[a < b]]></DateTime><ReportType>rt_polish</ReportType><X><Comment>eA==</Comment></X><Comment>" + comment.toUtf8().toBase64() + "</Comment></ReportMetadata></Other>", QStringLiteral("a < b||0.0|") + comment, {});
        row("UTF-8 BOM", "\xEF\xBB\xBF" + doc("Zürich"), QStringLiteral("Zürich|P|1.2|"), {});
        row("UTF-16LE, CRLF", utf16("<?xml version='1.0' encoding='UTF-16'?>\r\n" + crlf, "UTF-16LE"), QStringLiteral("č\nx|P|1.2|"), {});
        row("UTF-16BE, CRLF", utf16(crlf, "UTF-16BE"), QStringLiteral("č\nx|P|1.2|"), {});
        row("Latin-1", doc("M\xE4rz, se\xF1or", "<?xml version='1.0' encoding='ISO-8859-1'?>"), QStringLiteral("März, señor|P|1.2|"), {});
        row("above U+FFFF", doc("&#x10000;&#x1F600;"), QStringLiteral("\U00010000😀|P|1.2|"), {});
        row("white space only", doc(" \t "), QStringLiteral(" \t |P|1.2|"), {});
        row("element first", doc("<b/>x"), QStringLiteral("|P|1.2|"), {});
        row("comment first", doc("<!--c-->x"), QStringLiteral("c|P|1.2|"), {});
        row("long field", doc(QByteArray(100000, 'x')), QString(100000, QLatin1Char('x')) + QStringLiteral("|P|1.2|"), {});
        row("bare DOCTYPE, PI", doc("d", external + "<?pi x?><!-- c -->"), d, {});
        row("namespaces", doc("d", {}, "m:R xmlns:m='urn:m'"), d, {});
        row("Comment first", "<ReportMetadata><Comment>eA==</Comment><DateTime>d</DateTime><StoneID>S</StoneID></ReportMetadata>", QStringLiteral("d||0.0|x"), {});
        row("no StoneID", "<ReportMetadata><DateTime>d</DateTime></ReportMetadata>", QStringLiteral("d||0.0|"), {});
        row("Comment only nested", "<ReportMetadata><StoneID>S</StoneID><X><Comment>eA==</Comment></X></ReportMetadata>", QStringLiteral("||0.0|x"), {});
        row("empty comment", doc("d"), d, {}, QString());
        row("empty", QByteArray());
        row("binary", QByteArray("\x00\xff\xfe\x01<\x80", 6));
        row("truncated", doc("d").left(40), QStringLiteral("d||0.0|"));
        row("truncated field", "<R><DateTime>a</DateTime><DateTime>");
        row("NUL", doc(QByteArray("a\0b", 3)), QStringLiteral("a||0.0|"));
        row("NUL reference", doc("&#0;"));
        row("invalid UTF-8", doc("\xC3\x28"));
        row("unknown encoding", doc("d", "<?xml version='1.0' encoding='x-none'?>"));
        row("external entity", doc("&leak;", dtd("<!ENTITY leak SYSTEM '../../../secret.dtd'>")));
        row("external DTD", doc("&leak;", external));
        row("parameter entity", doc("d", dtd("<!ENTITY % p SYSTEM '../../../secret.dtd'>%p;")));
        row("entity expansion", doc("&e9;", dtd(laughs)));
        row("repeated entity", doc(QByteArray("&e0;").repeated(50000), dtd(entity(0, QByteArray(4000, 'x')))));
        row("entity declarations", doc("d", dtd(QByteArray("<!ENTITY e 'x'>").repeated(3000))));
        row("entity chain", doc("&e2999;", dtd(chain)));
        row("element declaration", doc("d", dtd("<!ELEMENT R " + QByteArray(100000, '(') + "a" + QByteArray(100000, ')') + ">")));
        row("many attributes", doc("d", {}, attributes));
        row("deep nesting", doc(QByteArray("<a>").repeated(1000) + QByteArray("</a>").repeated(1000)));
        row("unclosed nesting", QByteArray("<a>").repeated(80000));
        row("many elements", doc("d" + QByteArray("<b/>").repeated(50000)));
        row("much text", doc("d<b/>" + QByteArray(200000, 'x')));
        row("oversized", doc(QByteArray(2 << 20, 'x')));
        row("read-only folder", doc("d"), d, {}, QStringLiteral("kept in place"), "folder");
        row("file-size limit", doc("d"), d, QStringLiteral("Error: Cannot write metadata file for 00012 report: *"), QStringLiteral("cut"), "size");
        row("long comment", doc("d"), d, CannotWrite, QString(300000, QLatin1Char('c')));
        row("root named DateTime", "<DateTime><StoneID>S</StoneID><ReportType>RT_POLISH</ReportType></DateTime>", QStringLiteral("|P|0.0|"), CannotWrite);
        row("root named StoneID", "<StoneID><X/></StoneID>", none, CannotWrite);
        // clang-format on
    }

    // Whatever the file, the read and the save end soon, and the save either leaves the file and
    // its permissions as they were or writes one that reads back to the same fields and the new
    // comment. Root ignores folder permissions, so it gives up its file-system rights for the save
    // into a read-only folder.
    void survivesUnusualFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, read);
        QFETCH(QString, message);
        QFETCH(QString, comment);
        QFETCH(QString, limit);
        const QString id = QStringLiteral("00012");
        dir->createFile(QStringLiteral("secret.dtd"), "<!ENTITY leak 'LEAKED'><!ENTITY p ''>");
        const QString path =
            dir->createFile(QStringLiteral("reports/S/00012/metadata.xml"), content);
        const QString folder = QFileInfo(path).path(), probe = folder + QStringLiteral("/new");
        const int mode = limit == QLatin1String("folder") ? 0x6066 : 0x6040; // Qt's flags
        QVERIFY(QFile::setPermissions(path, QFile::Permissions(mode)));
#ifdef Q_OS_LINUX
        ::chmod(QFile::encodeName(dir->path()), 0755); // the folders below it are 0755
        ::chmod(QFile::encodeName(folder), limit == QLatin1String("folder") ? 0555 : 0755);
        rlimit previous;
        getrlimit(RLIMIT_FSIZE, &previous);
        const rlimit tight{limit == QLatin1String("size") ? 64 : previous.rlim_cur,
                           previous.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN); // a write beyond the limit fails instead of ending the test
        setrlimit(RLIMIT_FSIZE, &tight);
        setfsuid(limit == QLatin1String("folder") && geteuid() == 0 ? 65534 : geteuid());
#else
        if (!limit.isEmpty())
            QSKIP("needs Linux permissions and limits");
#endif
        const bool takesFiles = QFile(probe).open(QFile::WriteOnly) && QFile::remove(probe);
        QElapsedTimer timer;
        timer.start();
        const bool valid = page->readReportMetadata(id, QString());
        const qint64 readTime = timer.restart();
        page->saveReportComment(id, comment);
        const qint64 saveTime = timer.elapsed();
#ifdef Q_OS_LINUX
        setfsuid(geteuid());
        setrlimit(RLIMIT_FSIZE, &previous);
        ::chmod(QFile::encodeName(folder), 0755);
#endif
        QVERIFY2(readTime < 500 && saveTime < 500,
                 qPrintable(QStringLiteral("%1 ms, %2 ms").arg(readTime).arg(saveTime)));
        QCOMPARE(takesFiles, limit != QLatin1String("folder"));
        QCOMPARE(fields(report(id)), read);
        QCOMPARE(valid, message != CannotRead);
        const QString shown = consoleTexts(page->console).join(QLatin1Char('\n'));
        QCOMPARE(message.endsWith(QLatin1Char('*'))
                     ? shown.left(message.size() - 1) + QLatin1Char('*')
                     : shown,
                 message);
        QCOMPARE(int(QFile::permissions(path)) & ~0x0F00, mode); // the current user's bits vary
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("metadata.xml")});
        const QByteArray written = TestDir::readAll(path);
        if (!message.isEmpty()) {
            QCOMPARE(written, content);
            return;
        }
        QVERIFY(page->readReportMetadata(id, QString()));
        QCOMPARE(fields(report(id)),
                 read.section(QLatin1Char('|'), 0, 3) + QLatin1Char('|') + comment);
        // The one Comment among the root's children is the last; saving again changes nothing.
        QStringList children =
            rootChildren(content).filter(QRegExp(QStringLiteral("^(?!Comment)")));
        children << QStringLiteral("Comment=") + QString::fromLatin1(comment.toUtf8().toBase64());
        QCOMPARE(rootChildren(written), children);
        page->saveReportComment(id, comment);
        QCOMPARE(TestDir::readAll(path), written);
    }
};

STELVANE_TEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
