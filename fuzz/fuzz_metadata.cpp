// libFuzzer target: feeds arbitrary bytes as a report's metadata.xml to the reader and to the
// comment writer of the catalogue, with no window and no page. It stops on a crash, on a direct
// reading of a plain file that differs from the stream reader's, on a write into a file the
// reader refused, and on a write that does not read back to the same fields and the new comment.
#include "catalogue/ReportMetadata.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

QString metadataPath;
const QMap<QString, QString> typeNames = {{QStringLiteral("RT_POLISH"), QStringLiteral("P")},
                                          {QStringLiteral("RT_COMPARATIVE"), QStringLiteral("C")}};

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

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static QTemporaryDir folder;
    metadataPath = folder.path() + QStringLiteral("/reports/S/0001/metadata.xml");
    QDir().mkpath(QFileInfo(metadataPath).path());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), int(size));
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
    const ReportReading before = readReportInfo(metadataPath, typeNames);
    checkCommentElement(metadataPath);
    const QString comment = QStringLiteral("fuzz \u2713 ") + QString::number(content.size());
    writeComment(metadataPath, comment);

    const QByteArray written = readAll(metadataPath);
    if (written == content)
        return 0;
    check(before.valid, "a file the reader refused was rewritten");
    const ReportReading after = readReportInfo(metadataPath, typeNames);
    check(after.valid, "the new file does not read");
    check(after.info.dateTime == before.info.dateTime, "DateTime changed");
    check(after.info.reportType == before.info.reportType, "ReportType changed");
    check(after.info.requiredViewerVersion == before.info.requiredViewerVersion,
          "viewer version changed");
    check(after.info.comment == comment, "the comment does not read back");
    return 0;
}
