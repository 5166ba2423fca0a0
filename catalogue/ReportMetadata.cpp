#include "catalogue/ReportMetadata.h"

#include "openreport/CConsole.h"
#include "openreport/COpenReportWidget.h"

#include <QDomDocument>
#include <QFile>
#include <QRegExp>
#include <QSaveFile>
#include <QTextCodec>
#include <QTextStream>
#include <QXmlStreamReader>

namespace {

QString decodeComment(const QString &text)
{
    // Characters outside the Base64 alphabet are skipped by the decoder.
    return QString::fromUtf8(QByteArray::fromBase64(text.toUtf8()));
}

// Checks a file with the stream reader before it is loaded into a QDomDocument, whose parser
// crashes on very deep nesting. On success `encoding` is the encoding named by the XML
// declaration, or empty when there is none.
bool isSafeForDocumentModel(QFile &file, QString &encoding)
{
    if (file.size() > MetadataFileSizeLimit)
        return false;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QXmlStreamReader reader(&file);
    int depth = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartDocument:
            encoding = reader.documentEncoding().toString();
            break;
        case QXmlStreamReader::StartElement:
            if (++depth > MetadataNestingLimit) {
                file.close();
                return false;
            }
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    const bool ok = !reader.hasError() && file.error() == QFileDevice::NoError;
    file.close();
    return ok;
}

} // namespace

void appendCommentElement(QDomDocument &document, QDomElement &parent, const QString &comment)
{
    QDomElement element = document.createElement(QStringLiteral("Comment"));
    element.appendChild(document.createTextNode(QString::fromLatin1(comment.toUtf8().toBase64())));
    parent.appendChild(element);
}

QString COpenReportWidget::metadataFilePath(const QString &folderName) const
{
    return pathToReports + QLatin1Char('/') + stoneID + QLatin1Char('/') + folderName +
           QLatin1Char('/') + QStringLiteral("metadata.xml");
}

bool COpenReportWidget::readReportMetadata(const QString &folderName, const QString &dataFileName)
{
    ReportInfo info;
    bool result = true;

    QFile file(metadataFilePath(folderName));
    // An oversized file is read as one that cannot be opened: it is not a metadata file, and
    // reading it would stall the search.
    if (file.size() > MetadataFileSizeLimit || !file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        result = false;
    } else {
        QXmlStreamReader reader(&file);
        while (!reader.atEnd()) {
            if (reader.hasError())
                break;
            if (reader.readNext() != QXmlStreamReader::StartElement)
                continue;
            const QStringRef name = reader.name();
            if (name == QLatin1String("DateTime")) {
                reader.readNext();
                info.dateTime = reader.text().toString();
            } else if (name == QLatin1String("ReportType")) {
                reader.readNext();
                info.reportType = reportTypeNames.value(reader.text().toString());
            } else if (name == QLatin1String("RequiredViewerVersion")) {
                reader.readNext();
                info.requiredViewerVersion = ViewerVersion();
                parseViewerVersion(reader.text().toString(), info.requiredViewerVersion);
            } else if (name == QLatin1String("Comment")) {
                reader.readNext();
                info.comment = decodeComment(reader.text().toString());
            }
        }
        file.close();
        if (reader.hasError() || file.error() != QFileDevice::NoError)
            result = false;
    }

    const QRegExp prefixPattern(QStringLiteral("^(\\d{4}).*$"), Qt::CaseSensitive, QRegExp::RegExp);
    if (prefixPattern.indexIn(folderName) < 0) {
        console->printError(tr("Report's prefix in ") + folderName + tr(" has wrong format"));
        return false;
    }
    info.prefix = prefixPattern.cap(1).toInt(nullptr, 10);
    info.dataFileName = dataFileName;
    reports.insert(folderName, info);
    return result;
}

bool COpenReportWidget::hasCommentElement(const QString &folderName)
{
    QFile file(metadataFilePath(folderName));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        console->printError(tr("Cannot open metadata file for ") + folderName + tr(" report: ") +
                            file.errorString());
        return false;
    }
    bool found = false;
    QXmlStreamReader reader(&file);
    while (!reader.atEnd()) {
        if (reader.hasError())
            break;
        if (reader.readNext() == QXmlStreamReader::StartElement &&
            reader.name() == QLatin1String("Comment")) {
            found = true;
            break;
        }
    }
    if (reader.hasError()) {
        file.close();
        console->printError(tr("Failed to parse metadata file for ") + folderName +
                            tr(" report: ") + reader.errorString());
        return false;
    }
    if (file.error() != QFileDevice::NoError) {
        const QString error = file.errorString();
        file.close();
        console->printError(tr("Cannot read metadata file for ") + folderName + tr(" report: ") +
                            error);
        return found;
    }
    file.close();
    return found;
}

void COpenReportWidget::saveReportComment(const QString &folderName, const QString &comment)
{
    const QString path = metadataFilePath(folderName);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        console->printError(tr("Cannot open metadata file for ") + folderName + tr(" report: ") +
                            file.errorString());
        return;
    }
    file.close();

    // The document is saved in the encoding its declaration names (UTF-8 without one), so
    // non-ASCII text in the other elements survives. An encoding the toolkit does not know
    // would silently become UTF-8, so such a file is refused.
    QString encoding;
    QDomDocument reportMetadataDoc;
    const bool readable =
        isSafeForDocumentModel(file, encoding) &&
        (encoding.isEmpty() || QTextCodec::codecForName(encoding.toLatin1()) != nullptr) &&
        reportMetadataDoc.setContent(&file);
    if (!readable) {
        file.close();
        console->printError(tr("Cannot read metadata file for ") + folderName + tr(" report"));
        return;
    }

    QDomElement root = reportMetadataDoc.documentElement();
    bool appended = false;
    for (QDomNode node = root.firstChild(); !node.isNull(); node = node.nextSibling()) {
        if (!node.isElement())
            continue;
        const QString name = node.toElement().tagName();
        if (name == QLatin1String("StoneID")) {
            if (!hasCommentElement(folderName)) {
                appendCommentElement(reportMetadataDoc, root, comment);
                appended = true;
                break;
            }
        } else if (name == QLatin1String("Comment")) {
            root.removeChild(node);
            appendCommentElement(reportMetadataDoc, root, comment);
            appended = true;
            break;
        }
    }
    // Without a StoneID or Comment among the root's children the comment still goes in, as
    // the root's last child, rather than being dropped.
    if (!appended)
        appendCommentElement(reportMetadataDoc, root, comment);

    // The new content goes to a temporary file beside the old one, which is replaced only when
    // the whole document has been written.
    QSaveFile output(path);
    if (!output.open(QIODevice::WriteOnly | QIODevice::Text)) {
        console->printError(tr("Cannot open metadata file for ") + folderName + tr(" report: ") +
                            output.errorString());
        return;
    }
    QTextStream stream(&output);
    reportMetadataDoc.save(stream, 1, QDomNode::EncodingFromDocument);
    stream.flush();
    if (stream.status() != QTextStream::Ok || !output.commit()) {
        console->printError(tr("Cannot write metadata file for ") + folderName + tr(" report: ") +
                            output.errorString());
    }
}
