// libFuzzer target: feeds arbitrary bytes as a report's metadata.xml to the reader and to the
// comment writer. It stops on a crash, on a direct reading of a plain file that differs from the
// stream reader's, on a write into a file the reader refused, and on a write that does not read
// back to the same fields and the new comment.
#include "catalogue/ReportMetadata.h"
#include "openreport/CConsole.h"
#include "openreport/COpenReportWidget.h"

#include <QApplication>
#include <QDomDocument>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

// The page lets this fuzzer reach its metadata operations.
class MetadataFuzzer
{
public:
    static void setUp(const QString &reportsFolder);
    static int run(const QByteArray &content);
};

namespace {

COpenReportWidget *page = nullptr;
QString metadataPath;

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void check(bool condition, const char *what)
{
    if (!condition) {
        fprintf(stderr, "fuzz check failed: %s\n", what);
        abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QTemporaryDir folder;
    qputenv("PROGRAMDATA", QFile::encodeName(folder.path()));
    static QApplication app(*argc, *argv);
    MetadataFuzzer::setUp(folder.path() + QStringLiteral("/reports"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return MetadataFuzzer::run(QByteArray(reinterpret_cast<const char *>(data), int(size)));
}

void MetadataFuzzer::setUp(const QString &reportsFolder)
{
    Q_INIT_RESOURCE(resources); // here, as the macro's declaration must not get C linkage
    page = new COpenReportWidget;
    page->pathToReports = reportsFolder;
    page->stoneID = QStringLiteral("S");
    metadataPath = page->metadataFilePath(QStringLiteral("0001"));
    QDir().mkpath(QFileInfo(metadataPath).path());
}

int MetadataFuzzer::run(const QByteArray &content)
{
    {
        QFile file(metadataPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            abort();
    }
    {
        QDomDocument document; // a document makes the scan go through the stream reader
        const MetadataScan direct = scanMetadata(content);
        const MetadataScan streamed = scanMetadata(content, &document);
        check(direct.fields == streamed.fields && direct.error == streamed.error &&
                  direct.refused == streamed.refused,
              "the direct reading differs from the stream reader");
    }
    const QString folder = QStringLiteral("0001");
    page->reports.clear();
    page->console->clear();
    const bool valid = page->readReportMetadata(folder, QStringLiteral("a.js"));
    const ReportInfo before = page->reports.value(folder);
    page->hasCommentElement(folder);
    const QString comment = QStringLiteral("fuzz \u2713 ") + QString::number(content.size());
    page->saveReportComment(folder, comment);

    const QByteArray written = readAll(metadataPath);
    if (written == content)
        return 0;
    check(valid, "a file the reader refused was rewritten");
    check(page->readReportMetadata(folder, QStringLiteral("a.js")), "the new file does not read");
    const ReportInfo after = page->reports.value(folder);
    check(after.dateTime == before.dateTime, "DateTime changed");
    check(after.reportType == before.reportType, "ReportType changed");
    check(after.requiredViewerVersion == before.requiredViewerVersion, "viewer version changed");
    check(after.comment == comment, "the comment does not read back");
    return 0;
}
