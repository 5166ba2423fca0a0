#include "TestSupport.h"

#include "catalogue/ReportMetadata.h"
#include "catalogue/ReportSearch.h"
#include "catalogue/ViewerDiscovery.h"

#include <QDomDocument>
#include <QTextCodec>

#include <filesystem>
#include <fstream>
#ifdef Q_OS_WIN
#include <windows.h>
#endif
#ifdef Q_OS_LINUX
#include <csignal>
#include <grp.h>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QString CannotRead = QStringLiteral("cannot read");
const QString CannotWrite = QStringLiteral("not read back");
const QString TooLong = QStringLiteral("too long");
const QMap<QString, QString> TypeNames = {{QStringLiteral("RT_POLISH"), QStringLiteral("P")},
                                          {QStringLiteral("RT_COMPARATIVE"), QStringLiteral("C")}};

// A metadata file with the given DateTime content, after `prolog`, under the root start tag `root`.
QByteArray doc(const QByteArray &dateTime, const QByteArray &prolog = {},
               const QByteArray &root = "ReportMetadata")
{
    return prolog + '<' + root + "><DateTime>" + dateTime +
           "</DateTime><ReportType>RT_POLISH"
           "</ReportType><RequiredViewerVersion>1.2</RequiredViewerVersion><StoneID>S</StoneID></" +
           root.split(' ').first() + '>';
}

const QByteArray Metadata = doc("2024-03-05 14:22", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n")
                                .replace("RT_POLISH", "RT_COMPARATIVE")
                                .replace("><", ">\n <");

// What a metadata file gives a record, as one text: date and time, type, viewer and comment.
QString fields(const QString &path)
{
    const ReportInfo r = readReportInfo(path, TypeNames).info;
    return QStringList{r.dateTime, r.reportType, viewerVersionText(r.requiredViewerVersion),
                       r.comment}
        .join(QLatin1Char('|'));
}

// A comment write's outcome in words, a "*" standing for the system's own reason.
QString written(const CommentWrite &write)
{
    return QStringLiteral("|cannot open: *|cannot read|too long|not read back|cannot write: *|"
                          "not read back from the file")
        .split(QLatin1Char('|'))[write.outcome];
}

// The names of the root's child elements, with the text of each Comment among them.
QStringList rootChildren(const QByteArray &xml)
{
    QDomDocument document;
    document.setContent(xml);
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

    std::unique_ptr<QTemporaryDir> dir;

    // Percent-encoded ";"-separated entries: "a/" a folder, "a=text" a file, "a" valid metadata,
    // "!a" hidden (Windows); UTF-8 names whatever the locale. False when a name cannot be made.
    bool make(const QString &entries) const
    {
        for (const QString &entry : entries.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QByteArray bytes = QByteArray::fromPercentEncoding(entry.trimmed().toUtf8());
            const QByteArray name = bytes.split('=').first();
            const bool metadata = name.size() == bytes.size(); // no "=text"
            const bool hidden = name.startsWith('!');
            // UTF-8 made UTF-16 on Windows; elsewhere the name's bytes, valid UTF-8 or not
            const auto path = std::filesystem::u8path(
                (dir->path().toUtf8() + '/' + name.mid(hidden)).toStdString());
            std::error_code error;
            std::filesystem::create_directories(path.parent_path(), error);
            if (!name.endsWith('/') &&
                !(std::ofstream(path, std::ios::binary)
                  << (metadata ? Metadata : bytes.mid(name.size() + 1)).toStdString()))
                return false;
#ifdef Q_OS_WIN
            if (hidden)
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
#endif
        }
        return true;
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
    }

    // Viewer folders as installed: the newest one, or the one chosen for a required version. The
    // tables' rows here: "name | argument | entries | what went wrong | what was found"; that the
    // page says when a folder is not configured or missing is tested with the page.
    void findsTheViewers_data()
    {
        addTableRows(QString::fromUtf8(R"(
viewers: none usable |  | viewers/docs/index.html; viewers/v1.2/index.html; viewers/1.0/; viewers/1.1/ | no viewers | 
viewers: some no page |  | viewers/1.10/index.html; viewers/1.9/INDEX.HTML; viewers/2.1/; viewers/docs/ | page missing | 1.10
choose: same minor and patch | 1.2.3 | viewers/1.2.3/index.html; viewers/2.0/index.html |  | 1.2.3
choose: minor one above | 1.3.3 | viewers/1.2.3/index.html; viewers/2.0/index.html |  | 2.0
choose: lower minor, higher patch | 1.1.4 | viewers/1.2.3/index.html; viewers/2.0/index.html |  | 2.0
choose: newest of its major | 1.2 | viewers/1.1/index.html; viewers/1.3/index.html; viewers/2.0/index.html |  | 1.3
choose: no viewer of its major | 1.0 | viewers/2.0/index.html; viewers/3.0/index.html |  | 3.0
choose: newer than every viewer | 3.0 | viewers/1.3/index.html; viewers/2.0/index.html |  | 2.0
choose: no requirement | 0.0 | viewers/1.3/index.html; viewers/2.0/index.html |  | 2.0
choose: zero padded | 2.5 | viewers/02.05/index.html; viewers/1.0/index.html |  | 02.05
choose: trailing dot | 2.5. | viewers/2.5/index.html; viewers/3.0/index.html |  | 2.5
choose: patch zero, one number | 2.0.5 | viewers/2.0.5/index.html; viewers/3.0/index.html |  | 2.0.5
choose: one number | 3 | viewers/3.0/index.html; viewers/4.0/index.html |  | 4.0
choose: four numbers | 1.2.3.4 | viewers/1.2.3/index.html; viewers/2.0/index.html |  | 2.0
choose: letter in version | 2.5b | viewers/2.5/index.html; viewers/3.0/index.html |  | 3.0
choose: no minor | 2. | viewers/2.5/index.html; viewers/3.0/index.html |  | 3.0
choose: beyond int | 99999999999.1.2 | viewers/0.1.3/index.html; viewers/1.0/index.html |  | 0.1.3
)"));
    }
    void findsTheViewers()
    {
        QFETCH(QStringList, cells);
        QVERIFY(make(cells[1]));
        const ViewerFolders found = findViewerFolders(dir->filePath(QStringLiteral("viewers")));
        const char *const problems[] = {"", "not configured", "missing", "no subfolders",
                                        "no viewers"};
        QCOMPARE(QLatin1String(problems[found.problem]) +
                     QLatin1String(found.pageMissing ? "page missing" : ""),
                 cells[2]);
        ViewerVersion required;
        parseViewerVersion(cells[0], required);
        const QString chosen =
            found.viewers.isEmpty() ? QString()
            : cells[0].isEmpty()
                ? found.viewers.last()
                : found.viewers.value(chooseViewerVersion(found.viewers, required));
        QCOMPARE(chosen, cells[3]);
    }

    // A stone's report folders ("<n>": a Stone ID padded to a path of n characters), each with
    // its data file, and whether every metadata file among them reads.
    void findsAStonesReports_data()
    {
        QString table = QString::fromUtf8(R"(
search: empty Stone ID | id= | reports/ | no Stone ID | 
search: nothing counts |  | reports/S/0001/a.js; reports/S/0002/metadata.xml; reports/S/notes/a.js; reports/S/notes/metadata.xml; reports/S/0003.txt; reports/S/0004/a.json; reports/S/0004/metadata.xml | no reports | 
search: invalid metadata |  | reports/S/0001/metadata.xml=<ReportMetadata><DateTime>; reports/S/0001/a.js; reports/S/0002 b/c.js; reports/S/0002 b/metadata.xml | invalid metadata | 0001/a.js; 0002 b/c.js
search: three reports |  | reports/S/0001/a.js; reports/S/0001/metadata.xml; reports/S/0100 b/b.js; reports/S/0100 b/a.js; reports/S/0100 b/Z.JS; reports/S/0100 b/metadata.xml; reports/S/0009/c.js; reports/S/0009/metadata.xml; reports/S/notes/a.js; reports/S/notes/metadata.xml |  | 0001/a.js; 0009/c.js; 0100 b/Z.JS
search: Stone ID .. | id=.. | reports/; 0001/a.js; 0001/metadata.xml | no stone folder | 
search: Stone ID up | id=../x | reports/; x/0001/a.js; x/0001/metadata.xml | no stone folder | 
search: Stone ID back up | id=..\x | reports/; x/0001/a.js; x/0001/metadata.xml | no stone folder | 
search: Stone ID down | id=S/0001 | reports/S/0001/a.js; reports/S/0001/metadata.xml | no stone folder | 
search: Stone ID control | id=S%0AT | reports/S%0AT/0001/a.js; reports/S/0001/metadata.xml | no stone folder | 
search: Stone ID NUL | id=%00 | reports/0001/a.js; reports/0001/metadata.xml | no stone folder | 
search: Unicode names | id=Ämber #12 緑 | reports/Ämber #12 緑/0007 Größe  /données.js; reports/Ämber #12 緑/0007 Größe  /metadata.xml |  | 0007 Größe  /données.js
search: files as listed |  | reports/S/0001/b.js/; reports/S/0001/.a.js; reports/S/0001/c.js; reports/S/0001/metadata.xml; reports/S/0002/a.js; reports/S/0002/metadata.xml/ |  | 0001/c.js
search: METADATA.XML |  | reports/S/0001/a.js; reports/S/0001/METADATA.XML=x | invalid metadata | 0001/a.js
search: line break |  | reports/S/0001%0Ax/a.js; reports/S/0001%0Ax/metadata.xml | no reports | 
search: stone path 259 | id=<259> | reports/<259>/0001/a.js; reports/<259>/0001/metadata.xml |  | 0001/a.js
search: stone path 260 | id=<260> | reports/<260>/0001/a.js; reports/<260>/0001/metadata.xml | no stone folder | 
)");
#ifndef Q_OS_WIN // a name on disk that is not valid UTF-8: no action could reach the folder
        table += QString::fromUtf8(R"(
search: name not UTF-8 |  | reports/S/0007/a.js; reports/S/0007/metadata.xml; reports/S/0008 bad%FF/a.js; reports/S/0008 bad%FF/metadata.xml |  | 0007/a.js
)");
#endif
#ifdef Q_OS_WIN // "!" hides the entry as attrib +h does; only hidden files are passed over
        table += QString::fromUtf8(R"(
search: hidden (attrib +h) |  | !reports/S/0001/; reports/S/0001/a.js; reports/S/0001/metadata.xml; !reports/S/0002/a.js; reports/S/0002/b.js; reports/S/0002/metadata.xml; reports/S/0003/a.js; !reports/S/0003/metadata.xml |  | 0001/a.js; 0002/b.js
search: Unicode names, Windows | id=Ämber #12 緑 | reports/Ämber #12 緑/0007 Größe/données.js; reports/Ämber #12 緑/0007 Größe/metadata.xml |  | 0007 Größe/données.js
)");
#endif
        addTableRows(table);
    }
    void findsAStonesReports()
    {
        QFETCH(QStringList, cells);
#ifdef Q_OS_WIN
        if (cells[1].contains(QLatin1String("<259>/")))
            QSKIP("Without long-path support no Windows program reaches files this deep");
#endif
        const QString reports = dir->filePath(QStringLiteral("reports"));
        for (const int n : {259, 260})
            cells.replaceInStrings(QStringLiteral("<%1>").arg(n),
                                   QString(n - reports.size() - 1, QLatin1Char('p')));
        if (!make(cells[1]))
            QSKIP("This file system cannot hold one of the names");
        const QString stone = cells[0].startsWith(QLatin1String("id="))
                                  ? QUrl::fromPercentEncoding(cells[0].mid(3).toUtf8())
                                  : QStringLiteral("S");
        const StoneFolders found = findStoneFolders(reports, stone);
        const char *const problems[] = {
            "", "not configured", "missing", "no Stone ID", "no stone folder", "no reports"};
        QString wrong = QLatin1String(problems[found.problem]);
        QStringList folders;
        for (const ReportFolder &folder : found.folders) {
            folders << folder.name + QLatin1Char('/') + folder.dataFileName;
            const QString reportFolder = found.stoneRoot + QLatin1Char('/') + folder.name;
            if (!readReportInfo(reportFolder + QStringLiteral("/metadata.xml"), TypeNames).valid)
                wrong = QStringLiteral("invalid metadata");
        }
        folders.sort();
        QCOMPARE(wrong, cells[2]);
        QCOMPARE(folders.join(QStringLiteral("; ")), cells[3]);
    }

    // Metadata files missing or malformed.
    void tellsWhatIsWrongWithOneReport()
    {
        QVERIFY(make(QStringLiteral("S/0002/metadata.xml=<ReportMetadata><DateTime>")));
        const QString missing = dir->filePath(QStringLiteral("S/0001/metadata.xml"));
        const QString malformed = dir->filePath(QStringLiteral("S/0002/metadata.xml"));
        QVERIFY2(!readReportInfo(missing, TypeNames).valid, "a missing file reads as invalid");
        const CommentCheck unopened = checkCommentElement(missing);
        QVERIFY(unopened.outcome == CommentCheck::CannotOpen && !unopened.error.isEmpty());
        const CommentCheck unparsed = checkCommentElement(malformed);
        QVERIFY(unparsed.outcome == CommentCheck::CannotParse && !unparsed.error.isEmpty());
        QCOMPARE(written(writeComment(missing, QStringLiteral("x"))),
                 QStringLiteral("cannot open: *"));
    }

    void survivesUnusualFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("cells"); // fields read, message (if refused), comment, limit
        const QString none = QStringLiteral("||0.0|"), d = QStringLiteral("d|P|1.2|");
        // clang-format off
        const auto row = [&none](const char *name, const QByteArray &content, const QString &read = {}, const QString &message = CannotRead, const QString &comment = QStringLiteral("checked ✓ 💎"), const char *limit = "") {
            QTest::newRow(name) << content << QStringList{read.isEmpty() ? none : read, message, comment, QString::fromLatin1(limit)};
        };
        const QByteArray external = "<!DOCTYPE R SYSTEM '../../../secret.dtd'>";
        QByteArray attributes = "R", longNames = "R"; // names are not text, but take room
        for (int i = 1; i < 20000; ++i) attributes += " a" + QByteArray::number(i) + "=''";
        for (int i = 0; i < 50; ++i) longNames += " a" + QByteArray::number(i) + QByteArray(4000, 'a') + "=''";
        const QString comment = QStringLiteral("Трещина у рундиста; ünïcödé ✓ 💎");

        row("plain", Metadata, QStringLiteral("2024-03-05 14:22|C|1.2|"), {});
        row("nested, CDATA, last Comment", "<Other><ReportMetadata><DateTime><![CDATA[a < b]]></DateTime><ReportType>rt_polish</ReportType><X><Comment>eA==</Comment></X><Comment>" + comment.toUtf8().toBase64() + "</Comment></ReportMetadata></Other>", QStringLiteral("a < b||0.0|") + comment, {});
        row("UTF-8 BOM", "\xEF\xBB\xBF" + doc("Zürich"), QStringLiteral("Zürich|P|1.2|"), {});
        row("UTF-16LE with BOM, CRLF", QTextCodec::codecForName("UTF-16LE")->fromUnicode(QString::fromUtf8("<?xml version='1.0' encoding='UTF-16'?>\r\n" + doc("\xC4\x8D\r\nx").replace("><", ">\r\n<"))), QStringLiteral("č\nx|P|1.2|"), {});
        row("Latin-1", doc("M\xE4rz, se\xF1or", "<?xml version='1.0' encoding='ISO-8859-1'?>"), QStringLiteral("März, señor|P|1.2|"), {});
        row("above U+FFFF", doc("&#x10000;&#x1F600;"), QStringLiteral("\U00010000😀|P|1.2|"), {});
        row("white space only", doc(" \t "), QStringLiteral(" \t |P|1.2|"), {});
        row("element, comment first", doc("<b/><!--c-->x"), QStringLiteral("|P|1.2|"), {});
        row("long field", doc(QByteArray(100000, 'x')), QString(100000, QLatin1Char('x')) + QStringLiteral("|P|1.2|"), {});
        row("bare DOCTYPE, PI", doc("d", external + "<?pi x?><!-- c -->"), d, {});
        row("namespaces", doc("d", {}, "m:R xmlns:m='urn:m'"), d, {});
        row("Comment first", "<ReportMetadata><Comment>eA==</Comment><DateTime>d</DateTime><StoneID>S</StoneID></ReportMetadata>", QStringLiteral("d||0.0|x"), {});
        row("no StoneID", "<ReportMetadata><DateTime>d</DateTime></ReportMetadata>", QStringLiteral("d||0.0|"), {});
        row("Comment only nested", "<ReportMetadata><StoneID>S</StoneID><X><Comment>eA==</Comment></X></ReportMetadata>", QStringLiteral("||0.0|x"), {});
        row("empty comment", doc("d"), d, {}, QString());
        row("empty", QByteArray());
        row("binary", QByteArray("\x00\xff\xfe\x01<\x80", 6));
        row("truncated field", "<R><DateTime>a</DateTime><DateTime>");
        row("NUL", doc(QByteArray("a\0b", 3)), QStringLiteral("a||0.0|"));
        row("invalid UTF-8", doc("\xC3\x28"));
        row("external entity", doc("&leak;", "<!DOCTYPE R [<!ENTITY leak SYSTEM '../../../secret.dtd'>]>"));
        row("external DTD", doc("&leak;", external));
        row("element declaration", doc("d", "<!DOCTYPE R [<!ELEMENT R " + QByteArray(100000, '(') + "a" + QByteArray(100000, ')') + ">]>"));
        row("many attributes", doc("d", {}, attributes));
        row("many equal signs", doc(QByteArray(1024, '='), "<?xml version=\"1.0\"?>"));
        row("nesting within the limit", doc("d" + QByteArray("<a>").repeated(250) + QByteArray("</a>").repeated(250)), d, {});
        row("deep nesting", doc(QByteArray("<a>").repeated(1000) + QByteArray("</a>").repeated(1000)));
        row("many elements", doc("d" + QByteArray("<b/>").repeated(50000)));
        row("much text", doc("d<b/>" + QByteArray(200000, 'x')));
        row("oversized", doc(QByteArray(2 << 20, 'x')));
#ifdef Q_OS_LINUX // needs its permissions and limits
        row("read-only folder", doc("d"), d, {}, QStringLiteral("kept in place"), "folder");
        row("file-size limit", doc("d"), d, QStringLiteral("cannot write: *"), QStringLiteral("cut"), "size");
#endif
        row("comment past the size limit", doc("d", {}, longNames), d, TooLong, QString(60000, QLatin1Char('c')));
        row("comment past the text limit", doc("d"), d, TooLong, QString(140000, QLatin1Char('c')));
        row("root named DateTime", "<DateTime><StoneID>S</StoneID><ReportType>RT_POLISH</ReportType></DateTime>", QStringLiteral("|P|0.0|"), CannotWrite);
        row("root named StoneID", "<StoneID><X/></StoneID>", none, CannotWrite);
        // clang-format on
    }

    // Read and save end soon; the file stays as it was or reads back the same with the new comment.
    void survivesUnusualFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, cells);
        const QString read = cells[0], message = cells[1], comment = cells[2];
        const QString path = dir->filePath(QStringLiteral("reports/S/00012/metadata.xml"));
        writeFile(dir->filePath(QStringLiteral("secret.dtd")), "<!ENTITY leak 'LEAKED'>");
        writeFile(path, content);
        const QString folder = QFileInfo(path).path();
        QVERIFY(QFile::setPermissions(path, QFile::Permissions(0x6066))); // writable for all
#ifdef Q_OS_LINUX
        const bool readOnly = cells[3] == QLatin1String("folder");
        QFile::setPermissions(dir->path(), QFile::Permissions(0x7755)); // as the folders below it
        QFile::setPermissions(folder, QFile::Permissions(readOnly ? 0x5555 : 0x7755));
        rlimit previous;
        getrlimit(RLIMIT_FSIZE, &previous);
        const rlimit tight{cells[3] == QLatin1String("size") ? 64 : previous.rlim_cur,
                           previous.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN); // a write beyond the limit fails instead of ending the test
        setrlimit(RLIMIT_FSIZE, &tight);
        setfsuid(readOnly && geteuid() == 0 ? 65534 : geteuid());
#endif
        const QDeadlineTimer deadline(1000);
        const ReportReading before = readReportInfo(path, TypeNames);
        const CommentWrite write = writeComment(path, comment);
#ifdef Q_OS_LINUX
        setfsuid(geteuid());
        setrlimit(RLIMIT_FSIZE, &previous);
        QFile::setPermissions(folder, QFile::Permissions(0x7755));
#endif
        QVERIFY2(!deadline.hasExpired(), "the read and the save took more than a second");
        QVERIFY2(readMetadataFile(path).bytes.size() <= MetadataFileSizeLimit + 1,
                 "more read than a metadata file may hold");
        QCOMPARE(before.valid, message != CannotRead);
        QCOMPARE(written(write), message);
        if (!message.isEmpty())
            QCOMPARE(fields(path), read);
        QCOMPARE(int(QFile::permissions(path)) & ~0x0F00, 0x6066); // the current user's bits vary
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("metadata.xml")});
        const QByteArray changed = readFile(path);
        QCOMPARE(changed == content, !message.isEmpty());
        if (!message.isEmpty())
            return;
        QVERIFY(readReportInfo(path, TypeNames).valid);
        QCOMPARE(fields(path), read.section(QLatin1Char('|'), 0, 2) + QLatin1Char('|') + comment);
        // The one Comment among the root's children is the last; saving again changes nothing.
        QStringList kept = rootChildren(content).filter(QRegExp(QStringLiteral("^(?!Comment=)")));
        kept << QStringLiteral("Comment=") + QString::fromLatin1(comment.toUtf8().toBase64());
        QCOMPARE(rootChildren(changed), kept);
        writeComment(path, comment);
        QCOMPARE(readFile(path), changed);
    }

#ifdef Q_OS_LINUX
    // Operators of one group share the Reports Data folder (folders 0775, files 0664 of the group):
    // after each comment edit the others of the group can still edit the file. A writer outside
    // the group, who may write the file itself, writes it in place.
    void commentEditsLeaveTheFileToTheGroup()
    {
        if (geteuid() != 0)
            QSKIP("Acting as other operators takes an administrator");
        const QString path = dir->filePath(QStringLiteral("reports/S/00012/metadata.xml"));
        writeFile(path, Metadata);
        for (QString folder = path; folder != QDir::rootPath(); folder = QFileInfo(folder).path())
            QVERIFY(::chown(QFile::encodeName(folder), 0, 100) == 0 &&
                    ::chmod(QFile::encodeName(folder), folder == path ? 0664 : 0775) == 0);
        std::vector<gid_t> groups(getgroups(0, nullptr));
        getgroups(int(groups.size()), groups.data());
        // Acts as an operator in the file system, writes a comment, and describes the file.
        const auto edit = [&](uid_t user, std::vector<gid_t> memberOf, const char *comment) {
            setgroups(memberOf.size(), memberOf.data());
            setfsgid(user);
            setfsuid(user);
            const CommentWrite write = writeComment(path, QString::fromLatin1(comment));
            setfsuid(0);
            setfsgid(0);
            setgroups(groups.size(), groups.data());
            struct stat file = {};
            ::stat(QFile::encodeName(path), &file);
            return QStringLiteral("%1:%2 %3 %4 %5")
                .arg(file.st_uid)
                .arg(file.st_gid)
                .arg(file.st_mode & 07777, 0, 8)
                .arg(readReportInfo(path, TypeNames).info.comment, written(write));
        };
        QCOMPARE(edit(65534, {100}, "A"), QStringLiteral("65534:100 664 A "));
        QVERIFY(::chmod(QFile::encodeName(path), 0666) == 0);
        QCOMPARE(edit(4321, {}, "B"), QStringLiteral("65534:100 666 B "));
    }
#endif

    // Plain files are read directly; each one-byte change of one reads as the stream reader's.
    void plainFilesReadAsTheStreamReaderReadsThem()
    {
        const auto same = [](const QByteArray &v) {
            QDomDocument document;
            const MetadataScan direct = scanMetadata(v), read = scanMetadata(v, &document);
            return direct.fields == read.fields && direct.error == read.error &&
                   direct.refused == read.refused;
        };
        const QByteArray roots = "<R><Comment/><X></X></R>\n<!--";
        for (const QByteArray &base :
             {Metadata, QByteArray(Metadata).replace('\n', "\r\n"), doc("", {}, "Comment"),
              doc("x", "<?xml version=\"1.0\"?>"), roots.chopped(4), roots}) {
            for (int i = 0; i <= base.size(); ++i) {
                for (const char c : QByteArray("<>/&\r\t\v =\"?!:-.x\x7f\x80\0", 20)) {
                    for (const QByteArray &variant :
                         {QByteArray(base).insert(i, c), QByteArray(base).replace(i, 1, &c, 1),
                          QByteArray(base).remove(i, 1)})
                        QVERIFY2(same(variant), variant.toPercentEncoding().constData());
                }
            }
        }
    }
};

STELVANE_TEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
