#include "ConsoleProbe.h"
#include "TestSupport.h"

#include "catalogue/ReportMetadata.h"
#include "openreport/COpenReportWidget.h"

#include <QDomDocument>
#include <QTextCodec>
#include <QXmlStreamReader>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

const QByteArray Polished = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<ReportMetadata>\n"
                            " <DateTime>2024-03-05 14:22</DateTime>\n"
                            " <ReportType>RT_POLISH</ReportType>\n"
                            " <RequiredViewerVersion>1.4.2</RequiredViewerVersion>\n"
                            " <StoneID>X17</StoneID>\n"
                            "</ReportMetadata>\n";

QByteArray base64Utf8(const QString &text)
{
    return text.toUtf8().toBase64();
}

// The Comment elements that are direct children of the root, in document order.
QStringList rootComments(const QByteArray &xml, QStringList *rootChildren = nullptr)
{
    QDomDocument document;
    if (!document.setContent(xml))
        return {QStringLiteral("<not XML>")};
    QStringList comments;
    const QDomElement root = document.documentElement();
    for (QDomElement e = root.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (rootChildren)
            rootChildren->append(e.tagName());
        if (e.tagName() == QLatin1String("Comment"))
            comments.append(e.text());
    }
    return comments;
}

QString declaredEncoding(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    while (!reader.atEnd() && reader.readNext() != QXmlStreamReader::StartDocument) {
    }
    return reader.documentEncoding().toString();
}

// Files that are not metadata at all, or that are built to exhaust a parser.
void addHostileFileRows()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not XML") << QByteArray("DateTime=today\nReportType=RT_POLISH\n");
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 151) % 256);
    QTest::newRow("binary") << binary;
    QTest::newRow("very deep nesting") << QByteArray("<a>").repeated(100000);
    QByteArray entities = "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\">";
    for (char name = 'b'; name <= 'g'; ++name) {
        entities += QByteArray("<!ENTITY ") + name + " \"" +
                    (QByteArray("&") + char(name - 1) + ";").repeated(10) + "\">";
    }
    QTest::newRow("entity expansion")
        << entities +
               "]><ReportMetadata><StoneID>X</StoneID><DateTime>&g;</DateTime></ReportMetadata>";
    QTest::newRow("oversized") << (QByteArray("<ReportMetadata><StoneID>") +
                                   QByteArray(int(MetadataFileSizeLimit), 'x') +
                                   QByteArray("</StoneID></ReportMetadata>"));
}

} // namespace

class TestReportMetadata : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readsReportFields();
    void readsOnlyFirstFourDigitsAsPrefix();
    void readsUnknownTypeAndMissingVersionAsEmpty();
    void readsNonAsciiComment();
    void readsCdataAndLastOccurrence();
    void truncatedFileKeepsFieldsReadBeforeTheBreak();
    void missingFileGivesEmptyRecordSilently();
    void rejectsFolderWithoutPrefix();
    void survivesHostileFiles_data();
    void survivesHostileFiles();

    void findsCommentElement();
    void reportsCommentCheckFailures();

    void appendsCommentAfterStoneId();
    void writingTwiceKeepsOneComment();
    void movesCommentToEndOfRoot();
    void appendsCommentWhenRootHasNeitherStoneIdNorComment();
    void appendsCommentWhenOnlyNestedCommentExists();
    void roundTripsNonAsciiComment();
    void storesEmptyComment();
    void keepsEncodingOfRewrittenFile_data();
    void keepsEncodingOfRewrittenFile();
    void neverRewritesUnreadableFile_data();
    void neverRewritesUnreadableFile();
    void reportsMissingFileOnWrite();
    void failedWriteLeavesOldBytes();
    void worksWithNonAsciiAndSpacedNames();

private:
    QString reportFile(const QString &folder = QStringLiteral("0007")) const
    {
        return QStringLiteral("reports/X17/") + folder + QStringLiteral("/metadata.xml");
    }
    QString write(const QByteArray &content, const QString &folder = QStringLiteral("0007"))
    {
        return dir->createFile(reportFile(folder), content);
    }

    TestDir *dir = nullptr;
    COpenReportWidget *page = nullptr;
};

void TestReportMetadata::init()
{
    dir = new TestDir;
    page = new COpenReportWidget;
    page->pathToReports = dir->filePath(QStringLiteral("reports"));
    page->stoneID = QStringLiteral("X17");
}

void TestReportMetadata::cleanup()
{
    delete page;
    delete dir;
}

void TestReportMetadata::readsReportFields()
{
    write("<ReportMetadata><DateTime>05.03.2024 14:22:01</DateTime>"
          "<ReportType>RT_COMPARATIVE</ReportType>"
          "<RequiredViewerVersion>2.1</RequiredViewerVersion><StoneID>X17</StoneID>"
          "</ReportMetadata>");
    QVERIFY(page->readReportMetadata(QStringLiteral("0007"), QStringLiteral("data.js")));
    const ReportInfo info = page->reports.value(QStringLiteral("0007"));
    QCOMPARE(info.prefix, 7);
    QCOMPARE(info.dataFileName, QStringLiteral("data.js"));
    QCOMPARE(info.dateTime, QStringLiteral("05.03.2024 14:22:01"));
    QCOMPARE(info.reportType, QStringLiteral("C"));
    QCOMPARE(info.requiredViewerVersion, ViewerVersion({2, 1, 0}));
    QVERIFY(info.comment.isEmpty());
    QVERIFY(consoleLines(page->console).isEmpty());

    write(Polished);
    QVERIFY(page->readReportMetadata(QStringLiteral("0007"), QStringLiteral("b.js")));
    QCOMPARE(page->reports.size(), 1);
    QCOMPARE(page->reports.value(QStringLiteral("0007")).reportType, QStringLiteral("P"));
    QCOMPARE(page->reports.value(QStringLiteral("0007")).requiredViewerVersion,
             ViewerVersion({1, 4, 2}));
}

void TestReportMetadata::readsOnlyFirstFourDigitsAsPrefix()
{
    write(Polished, QStringLiteral("12345"));
    QVERIFY(page->readReportMetadata(QStringLiteral("12345"), QStringLiteral("a.js")));
    QCOMPARE(page->reports.value(QStringLiteral("12345")).prefix, 1234);
}

void TestReportMetadata::readsUnknownTypeAndMissingVersionAsEmpty()
{
    write("<ReportMetadata><ReportType>rt_polish</ReportType></ReportMetadata>");
    QVERIFY(page->readReportMetadata(QStringLiteral("0007"), QString()));
    const ReportInfo info = page->reports.value(QStringLiteral("0007"));
    QVERIFY(info.reportType.isEmpty());
    QCOMPARE(info.requiredViewerVersion, ViewerVersion({0, 0, 0}));
}

void TestReportMetadata::readsNonAsciiComment()
{
    const QString comment = QStringLiteral("Škrábnutí na tabulce — ок, 緑");
    write("<ReportMetadata><Comment>" + base64Utf8(comment) + "</Comment></ReportMetadata>");
    QVERIFY(page->readReportMetadata(QStringLiteral("0007"), QString()));
    QCOMPARE(page->reports.value(QStringLiteral("0007")).comment, comment);
}

void TestReportMetadata::readsCdataAndLastOccurrence()
{
    write("<Other><ReportMetadata><DateTime><![CDATA[a < b]]></DateTime>"
          "<Deep><Comment>" +
          base64Utf8(QStringLiteral("first")) +
          "</Comment></Deep>"
          "<Comment>" +
          base64Utf8(QStringLiteral("second")) +
          "</Comment>"
          "<ReportType></ReportType></ReportMetadata></Other>");
    QVERIFY(page->readReportMetadata(QStringLiteral("0007"), QString()));
    const ReportInfo info = page->reports.value(QStringLiteral("0007"));
    QCOMPARE(info.dateTime, QStringLiteral("a < b"));
    QCOMPARE(info.comment, QStringLiteral("second"));
    QVERIFY(info.reportType.isEmpty());
}

void TestReportMetadata::truncatedFileKeepsFieldsReadBeforeTheBreak()
{
    write(Polished.left(Polished.indexOf("<StoneID>") + 5));
    QVERIFY(!page->readReportMetadata(QStringLiteral("0007"), QStringLiteral("a.js")));
    const ReportInfo info = page->reports.value(QStringLiteral("0007"));
    QCOMPARE(info.prefix, 7);
    QCOMPARE(info.dateTime, QStringLiteral("2024-03-05 14:22"));
    QCOMPARE(info.requiredViewerVersion, ViewerVersion({1, 4, 2}));
    QVERIFY(consoleLines(page->console).isEmpty());
}

void TestReportMetadata::missingFileGivesEmptyRecordSilently()
{
    dir->createDir(QStringLiteral("reports/X17/0003 polished"));
    QVERIFY(!page->readReportMetadata(QStringLiteral("0003 polished"), QStringLiteral("d.js")));
    QVERIFY(page->reports.contains(QStringLiteral("0003 polished")));
    const ReportInfo info = page->reports.value(QStringLiteral("0003 polished"));
    QCOMPARE(info.prefix, 3);
    QCOMPARE(info.dataFileName, QStringLiteral("d.js"));
    QVERIFY(info.dateTime.isEmpty() && info.reportType.isEmpty() && info.comment.isEmpty());
    QVERIFY(consoleLines(page->console).isEmpty());
}

void TestReportMetadata::rejectsFolderWithoutPrefix()
{
    write(Polished, QStringLiteral("notes"));
    write(Polished, QStringLiteral("123a"));
    QVERIFY(!page->readReportMetadata(QStringLiteral("notes"), QString()));
    QVERIFY(!page->readReportMetadata(QStringLiteral("123a"), QString()));
    QVERIFY(page->reports.isEmpty());
    const QList<ConsoleLine> lines = consoleLines(page->console);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0).text, QStringLiteral("Error: Report's prefix in notes has wrong format"));
    QCOMPARE(lines.at(0).colour, ErrorColour);
    QCOMPARE(lines.at(1).text, QStringLiteral("Error: Report's prefix in 123a has wrong format"));
}

void TestReportMetadata::survivesHostileFiles_data()
{
    addHostileFileRows();
}

void TestReportMetadata::survivesHostileFiles()
{
    QFETCH(QByteArray, content);
    write(content);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!page->readReportMetadata(QStringLiteral("0007"), QStringLiteral("a.js")));
    QVERIFY(timer.elapsed() < 5000);
    QCOMPARE(page->reports.value(QStringLiteral("0007")).prefix, 7);
    QVERIFY(page->reports.value(QStringLiteral("0007")).dateTime.size() < 1000);
}

void TestReportMetadata::findsCommentElement()
{
    write(Polished);
    QVERIFY(!page->hasCommentElement(QStringLiteral("0007")));
    write("<ReportMetadata><Extra><Comment/></Extra></ReportMetadata>");
    QVERIFY(page->hasCommentElement(QStringLiteral("0007")));
    QVERIFY(consoleLines(page->console).isEmpty());
}

void TestReportMetadata::reportsCommentCheckFailures()
{
    QVERIFY(!page->hasCommentElement(QStringLiteral("0009")));
    write("<ReportMetadata><DateTime>x</Date></ReportMetadata>");
    QVERIFY(!page->hasCommentElement(QStringLiteral("0007")));
    const QList<ConsoleLine> lines = consoleLines(page->console);
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines.at(0).text.startsWith(
                 QStringLiteral("Error: Cannot open metadata file for 0009 report: ")),
             qPrintable(lines.at(0).text));
    QVERIFY(lines.at(0).text.size() >
            QStringLiteral("Error: Cannot open metadata file for 0009 report: ").size());
    QVERIFY2(lines.at(1).text.startsWith(
                 QStringLiteral("Error: Failed to parse metadata file for 0007 report: ")),
             qPrintable(lines.at(1).text));
    QCOMPARE(lines.at(1).colour, ErrorColour);
}

void TestReportMetadata::appendsCommentAfterStoneId()
{
    const QString path = write(Polished);
    page->saveReportComment(QStringLiteral("0007"), QStringLiteral("chip on girdle"));
    QStringList children;
    QCOMPARE(rootComments(TestDir::readAll(path), &children),
             QStringList{QString::fromLatin1(base64Utf8(QStringLiteral("chip on girdle")))});
    QCOMPARE(children, (QStringList{QStringLiteral("DateTime"), QStringLiteral("ReportType"),
                                    QStringLiteral("RequiredViewerVersion"),
                                    QStringLiteral("StoneID"), QStringLiteral("Comment")}));
    QVERIFY(consoleLines(page->console).isEmpty());

    // The other elements keep their content.
    QVERIFY(page->readReportMetadata(QStringLiteral("0007"), QString()));
    const ReportInfo info = page->reports.value(QStringLiteral("0007"));
    QCOMPARE(info.dateTime, QStringLiteral("2024-03-05 14:22"));
    QCOMPARE(info.comment, QStringLiteral("chip on girdle"));
}

void TestReportMetadata::writingTwiceKeepsOneComment()
{
    const QString path = write(Polished);
    page->saveReportComment(QStringLiteral("0007"), QStringLiteral("one"));
    page->saveReportComment(QStringLiteral("0007"), QStringLiteral("two"));
    QStringList children;
    QCOMPARE(rootComments(TestDir::readAll(path), &children),
             QStringList{QString::fromLatin1(base64Utf8(QStringLiteral("two")))});
    QCOMPARE(children.count(QStringLiteral("Comment")), 1);
    QCOMPARE(children.last(), QStringLiteral("Comment"));
}

void TestReportMetadata::movesCommentToEndOfRoot()
{
    const QString path = write("<ReportMetadata><Comment>b2xk</Comment><DateTime>d</DateTime>"
                               "<StoneID>X17</StoneID></ReportMetadata>");
    page->saveReportComment(QStringLiteral("0007"), QStringLiteral("new"));
    QStringList children;
    QCOMPARE(rootComments(TestDir::readAll(path), &children),
             QStringList{QString::fromLatin1(base64Utf8(QStringLiteral("new")))});
    QCOMPARE(children, (QStringList{QStringLiteral("DateTime"), QStringLiteral("StoneID"),
                                    QStringLiteral("Comment")}));
}

void TestReportMetadata::appendsCommentWhenRootHasNeitherStoneIdNorComment()
{
    const QString path = write("<ReportMetadata><DateTime>d</DateTime></ReportMetadata>");
    page->saveReportComment(QStringLiteral("0007"), QStringLiteral("kept"));
    QStringList children;
    QCOMPARE(rootComments(TestDir::readAll(path), &children),
             QStringList{QString::fromLatin1(base64Utf8(QStringLiteral("kept")))});
    QCOMPARE(children, (QStringList{QStringLiteral("DateTime"), QStringLiteral("Comment")}));
}

void TestReportMetadata::appendsCommentWhenOnlyNestedCommentExists()
{
    const QString path = write("<ReportMetadata><StoneID>X17</StoneID>"
                               "<Notes><Comment>b2xk</Comment></Notes></ReportMetadata>");
    page->saveReportComment(QStringLiteral("0007"), QStringLiteral("kept"));
    QStringList children;
    QCOMPARE(rootComments(TestDir::readAll(path), &children),
             QStringList{QString::fromLatin1(base64Utf8(QStringLiteral("kept")))});
    QCOMPARE(children, (QStringList{QStringLiteral("StoneID"), QStringLiteral("Notes"),
                                    QStringLiteral("Comment")}));
    QVERIFY(TestDir::readAll(path).contains("<Comment>b2xk</Comment>"));
}

void TestReportMetadata::roundTripsNonAsciiComment()
{
    const QString comment = QStringLiteral("Трещина у рундиста; ünïcödé ✓ 💎");
    const QByteArray encoded = base64Utf8(comment);
    const QString path = write("<ReportMetadata><StoneID>X17</StoneID><Comment>" + encoded +
                               "</Comment></ReportMetadata>");
    QVERIFY(page->readReportMetadata(QStringLiteral("0007"), QString()));
    QCOMPARE(page->reports.value(QStringLiteral("0007")).comment, comment);

    page->saveReportComment(QStringLiteral("0007"),
                            page->reports.value(QStringLiteral("0007")).comment);
    QCOMPARE(rootComments(TestDir::readAll(path)), QStringList{QString::fromLatin1(encoded)});
    QVERIFY(TestDir::readAll(path).contains("<Comment>" + encoded + "</Comment>"));
    QVERIFY(page->readReportMetadata(QStringLiteral("0007"), QString()));
    QCOMPARE(page->reports.value(QStringLiteral("0007")).comment, comment);
}

void TestReportMetadata::storesEmptyComment()
{
    const QString path = write(Polished);
    page->saveReportComment(QStringLiteral("0007"), QStringLiteral("text"));
    page->saveReportComment(QStringLiteral("0007"), QString());
    QCOMPARE(rootComments(TestDir::readAll(path)), QStringList{QString()});
    QVERIFY(page->readReportMetadata(QStringLiteral("0007"), QString()));
    QVERIFY(page->reports.value(QStringLiteral("0007")).comment.isEmpty());
}

void TestReportMetadata::keepsEncodingOfRewrittenFile_data()
{
    QTest::addColumn<QByteArray>("codecName");
    QTest::addColumn<QByteArray>("declaration");
    QTest::newRow("UTF-8 declared")
        << QByteArray("UTF-8") << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    QTest::newRow("no declaration") << QByteArray("UTF-8") << QByteArray();
    QTest::newRow("ISO-8859-1 declared")
        << QByteArray("ISO-8859-1")
        << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n");
    QTest::newRow("ISO-8859-1, single quotes")
        << QByteArray("ISO-8859-1") << QByteArray("<?xml version='1.0' encoding='iso-8859-1'?>\n");
}

void TestReportMetadata::keepsEncodingOfRewrittenFile()
{
    QFETCH(QByteArray, codecName);
    QFETCH(QByteArray, declaration);
    const QString dateTime = QStringLiteral("5 März 2024, Zürich — señor");
    QTextCodec *codec = QTextCodec::codecForName(codecName);
    QVERIFY(codec);
    const QString body = QStringLiteral("<ReportMetadata><DateTime>%1</DateTime>"
                                        "<StoneID>X17</StoneID></ReportMetadata>\n")
                             .arg(codecName == "UTF-8" ? dateTime : dateTime.left(15));
    const QString expectedDateTime = codecName == "UTF-8" ? dateTime : dateTime.left(15);
    const QString path = write(declaration + codec->fromUnicode(body));

    page->saveReportComment(QStringLiteral("0007"), QStringLiteral("é"));
    const QByteArray written = TestDir::readAll(path);
    // The declaration keeps naming the same encoding (the document model may change its quotes).
    QCOMPARE(declaredEncoding(written).toLower(), declaredEncoding(declaration + "<r/>").toLower());
    QCOMPARE(written.startsWith("<?xml"), !declaration.isEmpty());
    QVERIFY2(written.contains(codec->fromUnicode(expectedDateTime)), written.constData());
    QVERIFY(consoleLines(page->console).isEmpty());

    QVERIFY(page->readReportMetadata(QStringLiteral("0007"), QString()));
    QCOMPARE(page->reports.value(QStringLiteral("0007")).dateTime, expectedDateTime);
    QCOMPARE(page->reports.value(QStringLiteral("0007")).comment, QStringLiteral("é"));
}

void TestReportMetadata::neverRewritesUnreadableFile_data()
{
    addHostileFileRows();
    QTest::newRow("malformed") << QByteArray("<ReportMetadata><StoneID>X</Stone></ReportMetadata>");
    QTest::newRow("truncated") << Polished.left(60);
    QTest::newRow("deep but parseable nesting")
        << (QByteArray("<ReportMetadata><StoneID>X</StoneID>") + QByteArray("<a>").repeated(20000) +
            QByteArray("</a>").repeated(20000) + QByteArray("</ReportMetadata>"));
}

void TestReportMetadata::neverRewritesUnreadableFile()
{
    QFETCH(QByteArray, content);
    const QString path = write(content);
    page->saveReportComment(QStringLiteral("0007"), QStringLiteral("lost?"));
    QCOMPARE(TestDir::readAll(path), content);
    QCOMPARE(consoleTexts(page->console),
             QStringList{QStringLiteral("Error: Cannot read metadata file for 0007 report")});
    QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files),
             QStringList{QStringLiteral("metadata.xml")});
}

void TestReportMetadata::reportsMissingFileOnWrite()
{
    dir->createDir(QStringLiteral("reports/X17/0008"));
    page->saveReportComment(QStringLiteral("0008"), QStringLiteral("x"));
    QVERIFY(!QFile::exists(dir->filePath(reportFile(QStringLiteral("0008")))));
    const QStringList texts = consoleTexts(page->console);
    QCOMPARE(texts.size(), 1);
    QVERIFY2(texts.first().startsWith(
                 QStringLiteral("Error: Cannot open metadata file for 0008 report: ")),
             qPrintable(texts.first()));
}

void TestReportMetadata::failedWriteLeavesOldBytes()
{
#ifdef Q_OS_UNIX
    // Running as root bypasses permissions, so the write is made to fail by a file-size limit
    // that the new content exceeds.
    const QByteArray original = Polished + QByteArray(" <!-- padding -->\n");
    const QString path = write(original);
    struct rlimit previous;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tight = previous;
    tight.rlim_cur = 64;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &tight), 0);
    page->saveReportComment(QStringLiteral("0007"), QStringLiteral("a comment that will not fit"));
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    QCOMPARE(TestDir::readAll(path), original);
    QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files),
             QStringList{QStringLiteral("metadata.xml")});
    const QStringList texts = consoleTexts(page->console);
    QCOMPARE(texts.size(), 1);
    QVERIFY2(texts.first().startsWith(
                 QStringLiteral("Error: Cannot write metadata file for 0007 report: ")),
             qPrintable(texts.first()));
#else
    QSKIP("uses a POSIX file-size limit to make the write fail");
#endif
}

void TestReportMetadata::worksWithNonAsciiAndSpacedNames()
{
    page->stoneID = QStringLiteral("Ämber #12 ñ");
    const QString folder = QStringLiteral("0042 Größe #1");
    const QString path = dir->createFile(QStringLiteral("reports/Ämber #12 ñ/") + folder +
                                             QStringLiteral("/metadata.xml"),
                                         Polished);
    QVERIFY(page->readReportMetadata(folder, QStringLiteral("é.js")));
    QCOMPARE(page->reports.value(folder).prefix, 42);
    QVERIFY(!page->hasCommentElement(folder));
    page->saveReportComment(folder, QStringLiteral("ok"));
    QCOMPARE(rootComments(TestDir::readAll(path)),
             QStringList{QString::fromLatin1(base64Utf8(QStringLiteral("ok")))});
    QVERIFY(consoleLines(page->console).isEmpty());
}

STELVANE_TEST_MAIN(TestReportMetadata)
#include "tst_reportmetadata.moc"
