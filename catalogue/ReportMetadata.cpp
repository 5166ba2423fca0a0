#include "catalogue/ReportMetadata.h"

#include "platform/Platform.h"

#include <QCoreApplication>
#include <QDomDocument>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>
#include <QXmlStreamReader>

#include <algorithm>
#include <cstring>

namespace {

QString decodeComment(const QString &text)
{
    // Characters outside the Base64 alphabet are skipped by the decoder.
    return QString::fromUtf8(QByteArray::fromBase64(text.toUtf8()));
}

// Refusals that a comment alone can cause when it is written into a file.
const char *const FileTooLarge = QT_TRANSLATE_NOOP("ReportMetadata", "the file is too large");
const char *const TooMuchText = QT_TRANSLATE_NOOP("ReportMetadata", "too much text");

QString refusal(const char *reason)
{
    return QCoreApplication::translate("ReportMetadata", reason);
}

// Writes a metadata file's new content over its old content in the file itself, which keeps its
// owner, group and access list, and reads it back. When the new content does not read back, the
// old content is put back as far as the file allows.
CommentWrite writeInPlace(const QString &path, const QByteArray &content,
                          const QByteArray &original)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return {CommentWrite::CannotWrite, file.errorString()};
    const bool written =
        file.write(content) == content.size() && file.resize(content.size()) && file.flush();
    if (written && file.seek(0) && file.read(content.size() + 1) == content)
        return {CommentWrite::Written, {}};
    const CommentWrite failure = written
                                     ? CommentWrite{CommentWrite::NotReadBackFromFile, {}}
                                     : CommentWrite{CommentWrite::CannotWrite, file.errorString()};
    if (file.seek(0) && file.write(original) == original.size())
        file.resize(original.size());
    return failure;
}

// Adds the node for the reader's current token to the document being built.
void addNode(const QXmlStreamReader &reader, QDomDocument &document, QDomNode &parent, int depth)
{
    switch (reader.tokenType()) {
    case QXmlStreamReader::StartDocument:
        if (!reader.documentVersion().isEmpty()) {
            QString declaration =
                QStringLiteral("version=\"%1\"").arg(reader.documentVersion().toString());
            if (!reader.documentEncoding().isEmpty())
                declaration +=
                    QStringLiteral(" encoding=\"%1\"").arg(reader.documentEncoding().toString());
            if (reader.isStandaloneDocument())
                declaration += QStringLiteral(" standalone=\"yes\"");
            document.appendChild(
                document.createProcessingInstruction(QStringLiteral("xml"), declaration));
        }
        break;
    case QXmlStreamReader::DTD: {
        // Only a bare document type gets here: name and external identifiers, never loaded.
        QDomDocument withType(QDomImplementation().createDocumentType(
            reader.dtdName().toString(), reader.dtdPublicId().toString(),
            reader.dtdSystemId().toString()));
        for (QDomNode node = document.firstChild(); !node.isNull(); node = node.nextSibling())
            withType.appendChild(withType.importNode(node, true));
        document = withType;
        parent = document;
        break;
    }
    case QXmlStreamReader::StartElement: {
        QDomElement element = document.createElement(reader.qualifiedName().toString());
        for (const QXmlStreamNamespaceDeclaration &ns : reader.namespaceDeclarations())
            element.setAttribute(ns.prefix().isEmpty()
                                     ? QStringLiteral("xmlns")
                                     : QStringLiteral("xmlns:") + ns.prefix().toString(),
                                 ns.namespaceUri().toString());
        for (const QXmlStreamAttribute &attribute : reader.attributes())
            element.setAttribute(attribute.qualifiedName().toString(),
                                 attribute.value().toString());
        parent = parent.appendChild(element);
        break;
    }
    case QXmlStreamReader::EndElement:
        parent = parent.parentNode();
        break;
    case QXmlStreamReader::Characters:
        if (reader.isCDATA())
            parent.appendChild(document.createCDATASection(reader.text().toString()));
        else if (!(depth == 1 && reader.isWhitespace())) // the root's layout is written anew
            parent.appendChild(document.createTextNode(reader.text().toString()));
        break;
    case QXmlStreamReader::Comment:
        parent.appendChild(document.createComment(reader.text().toString()));
        break;
    case QXmlStreamReader::ProcessingInstruction:
        parent.appendChild(
            document.createProcessingInstruction(reader.processingInstructionTarget().toString(),
                                                 reader.processingInstructionData().toString()));
        break;
    default:
        break;
    }
}

// The largest file read directly; a real metadata file is a few hundred bytes. Within it no
// limit of the stream reader's scan but the count of '=' signs can be reached.
constexpr int PlainMetadataSizeLimit = 8 * 1024;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isNameStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isNameChar(char c)
{
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// Reads a metadata file in the one shape the laboratory writes: ASCII only; an optional XML
// declaration of version 1.0 in UTF-8; a root element without attributes, namespaces or a name the
// reader looks for; root children that hold nothing but plain text (no references, markup, '>' or
// carriage returns) or are empty; white space between the elements. Such a file is read here
// without the stream reader, with the very fields it would give. False for anything else, with
// `fields` partly filled: the stream reader then reads the file and finds the error, if any.
bool scanPlainMetadata(const QByteArray &bytes, MetadataFields &fields)
{
    if (bytes.size() > PlainMetadataSizeLimit)
        return false;

    const char *p = bytes.constData();
    const char *const end = p + bytes.size();
    const auto skipSpace = [&p, end] {
        while (p != end && isSpace(*p))
            ++p;
    };
    // Takes a string literal, whose length is then known when this is compiled.
    const auto skip = [&p, end](const auto &text) {
        const std::size_t length = sizeof(text) - 1;
        if (std::size_t(end - p) < length || std::memcmp(p, text, length) != 0)
            return false;
        p += length;
        return true;
    };
    // A name at `p`, then `close`; returns the name, empty when there is none or no `close`.
    const auto name = [&p, end, &skip](const auto &close) {
        const char *const start = p;
        if (p == end || !isNameStart(*p))
            return QLatin1String();
        while (p != end && isNameChar(*p))
            ++p;
        const QLatin1String result(start, int(p - start));
        return skip(close) ? result : QLatin1String();
    };
    // The field that takes the text of an element with this name, if any.
    const auto fieldOf = [&fields](QLatin1String element) -> QString * {
        if (element == QLatin1String("DateTime"))
            return &fields.dateTime;
        if (element == QLatin1String("ReportType"))
            return &fields.reportType;
        if (element == QLatin1String("RequiredViewerVersion"))
            return &fields.requiredViewerVersion;
        if (element == QLatin1String("StoneID"))
            return &fields.stoneID;
        if (element == QLatin1String("Comment"))
            return &fields.comment;
        return nullptr;
    };

    // '=' signs count towards the stream reader's limit wherever they are; in a file read here they
    // can only be in the declaration and in the texts. Any other declaration leaves a "<?" where
    // the root's start tag must be.
    int equalSigns = 0;
    if (skip("<?xml version=\"1.0\" encoding=\"UTF-8\"?>") ||
        skip("<?xml version=\"1.0\" encoding=\"utf-8\"?>"))
        equalSigns = 2;
    else if (skip("<?xml version=\"1.0\"?>"))
        equalSigns = 1;
    skipSpace();
    if (!skip("<"))
        return false;
    const QLatin1String root = name(">");
    if (root.size() == 0 || fieldOf(root))
        return false;

    for (;;) {
        skipSpace();
        if (!skip("<"))
            return false;
        if (skip("/")) {
            if (name(">") != root)
                return false;
            skipSpace();
            return p == end && equalSigns <= MetadataAttributeLimit;
        }
        const char *const start = p;
        QLatin1String element = name(">");
        QLatin1String text;
        if (element.size() != 0) {
            const char *const textStart = p;
            while (p != end && *p != '<') {
                // Control characters other than tab and line feed are left to the stream reader:
                // it refuses most and turns a carriage return into a line feed.
                const unsigned char c = *p++;
                if (c == '&' || c == '>' || c >= 0x7f || (c < ' ' && c != '\t' && c != '\n'))
                    return false;
                equalSigns += c == '=';
            }
            text = QLatin1String(textStart, int(p - textStart));
            if (!skip("</") || name(">") != element)
                return false;
        } else {
            p = start; // an empty element written as one tag
            element = name("/>");
            if (element.size() == 0)
                return false;
        }
        if (QString *field = fieldOf(element))
            *field = text;
        fields.hasComment = fields.hasComment || element == QLatin1String("Comment");
    }
}

} // namespace

bool operator==(const MetadataFields &a, const MetadataFields &b)
{
    return a.dateTime == b.dateTime && a.reportType == b.reportType &&
           a.requiredViewerVersion == b.requiredViewerVersion && a.stoneID == b.stoneID &&
           a.comment == b.comment && a.hasComment == b.hasComment;
}

MetadataScan scanMetadata(const QByteArray &bytes, QDomDocument *document)
{
    MetadataScan scan;
    const auto refuse = [&scan](const char *reason) {
        scan = MetadataScan();
        scan.refused = true;
        scan.error = refusal(reason);
        return scan;
    };
    if (bytes.size() > MetadataFileSizeLimit)
        return refuse(FileTooLarge);
    if (!document) {
        MetadataFields plain;
        if (scanPlainMetadata(bytes, plain)) {
            scan.fields = plain;
            return scan;
        }
    }
    if (bytes.count('=') > MetadataAttributeLimit)
        return refuse(QT_TRANSLATE_NOOP("ReportMetadata", "too many attributes"));

    QXmlStreamReader reader(bytes);
    QDomNode parent;
    if (document) {
        *document = QDomDocument(QDomDocumentType()); // a document, not a null handle
        parent = *document;
    }
    QString *pending = nullptr; // the field that takes the text of the next token
    QDomElement unfilled;       // an element whose first child has not been seen yet
    int depth = 0;
    int elements = 0;
    qint64 text = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (reader.hasError()) {
            if (pending)
                *pending = QString();
            scan.error = reader.errorString();
            break;
        }
        switch (token) {
        case QXmlStreamReader::DTD:
            if (reader.text().contains(QLatin1Char('[')))
                return refuse(
                    QT_TRANSLATE_NOOP("ReportMetadata", "the file declares its own document type"));
            break;
        case QXmlStreamReader::EntityReference:
            return refuse(QT_TRANSLATE_NOOP("ReportMetadata", "the file refers to an entity"));
        case QXmlStreamReader::StartElement:
            if (++depth > MetadataNestingLimit)
                return refuse(QT_TRANSLATE_NOOP("ReportMetadata", "elements nested too deeply"));
            if (++elements > MetadataElementLimit)
                return refuse(QT_TRANSLATE_NOOP("ReportMetadata", "too many elements"));
            for (const QXmlStreamAttribute &attribute : reader.attributes())
                text += attribute.value().size();
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            text += reader.text().size();
            break;
        }
        if (text > MetadataTextLimit)
            return refuse(TooMuchText);

        if (document) {
            // An element whose first child is not text gets an empty text node first, so that
            // the indented output does not put white space where the text of a field is read.
            if (!unfilled.isNull() && token != QXmlStreamReader::Characters &&
                token != QXmlStreamReader::EndElement)
                unfilled.appendChild(document->createTextNode(QString()));
            unfilled = QDomElement();
            addNode(reader, *document, parent, depth);
            if (token == QXmlStreamReader::StartElement && depth > 1)
                unfilled = parent.toElement();
        }

        if (pending) {
            *pending = reader.text().toString();
            pending = nullptr;
        } else if (token == QXmlStreamReader::StartElement) {
            const QStringRef name = reader.name();
            if (name == QLatin1String("DateTime"))
                pending = &scan.fields.dateTime;
            else if (name == QLatin1String("ReportType"))
                pending = &scan.fields.reportType;
            else if (name == QLatin1String("RequiredViewerVersion"))
                pending = &scan.fields.requiredViewerVersion;
            else if (name == QLatin1String("StoneID"))
                pending = &scan.fields.stoneID;
            else if (name == QLatin1String("Comment"))
                pending = &scan.fields.comment;
        }
        if (token == QXmlStreamReader::StartElement && reader.name() == QLatin1String("Comment"))
            scan.fields.hasComment = true;
    }
    return scan;
}

void appendCommentElement(QDomDocument &document, QDomElement &parent, const QString &comment)
{
    QDomElement element = document.createElement(QStringLiteral("Comment"));
    element.appendChild(document.createTextNode(QString::fromLatin1(comment.toUtf8().toBase64())));
    parent.appendChild(element);
}

MetadataFileBytes readMetadataFile(const QString &path)
{
    MetadataFileBytes result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    result.opened = true;
    result.bytes = file.read(MetadataFileSizeLimit + 1);
    if (file.error() != QFileDevice::NoError)
        result.error = file.errorString();
    return result;
}

bool reportFolderPrefix(const QString &folderName, int &prefix)
{
    // The prefix is the first four characters when they are all digits (QChar::isDigit). The
    // search reads thousands of files, so this is checked directly rather than with a pattern.
    const QStringRef digits = folderName.leftRef(4);
    if (digits.size() < 4 ||
        !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); }))
        return false;
    prefix = digits.toInt(nullptr, 10);
    return true;
}

ReportReading readReportInfo(const QString &path, const QMap<QString, QString> &reportTypeNames)
{
    // The file is read as bytes and the stream reader decodes it, line ends included. A file
    // refused by the limits gives a record with empty fields, like one that cannot be opened.
    ReportReading reading;
    const MetadataFileBytes file = readMetadataFile(path);
    if (!file.opened)
        return reading;
    const MetadataScan scan = scanMetadata(file.bytes);
    reading.info.dateTime = scan.fields.dateTime;
    reading.info.reportType = reportTypeNames.value(scan.fields.reportType);
    parseViewerVersion(scan.fields.requiredViewerVersion, reading.info.requiredViewerVersion);
    reading.info.comment = decodeComment(scan.fields.comment);
    reading.valid = scan.error.isEmpty() && file.error.isEmpty();
    return reading;
}

CommentCheck checkCommentElement(const QString &path)
{
    const MetadataFileBytes file = readMetadataFile(path);
    if (!file.opened)
        return {CommentCheck::CannotOpen, false, file.error};
    // The answer is the one a scan that stops at the first Comment would give.
    const MetadataScan scan = scanMetadata(file.bytes);
    if (!scan.fields.hasComment && !scan.error.isEmpty())
        return {CommentCheck::CannotParse, false, scan.error};
    return {CommentCheck::Checked, scan.fields.hasComment, file.error};
}

CommentWrite writeComment(const QString &path, const QString &comment)
{
    const MetadataFileBytes file = readMetadataFile(path);
    if (!file.opened)
        return {CommentWrite::CannotOpen, file.error};
    QDomDocument reportMetadataDoc;
    const MetadataScan before = scanMetadata(file.bytes, &reportMetadataDoc);
    if (!file.error.isEmpty() || !before.error.isEmpty() ||
        reportMetadataDoc.documentElement().isNull())
        return {CommentWrite::CannotRead, {}};

    QDomElement root = reportMetadataDoc.documentElement();
    bool appended = false;
    for (QDomNode node = root.firstChild(); !node.isNull(); node = node.nextSibling()) {
        if (!node.isElement())
            continue;
        const QString name = node.toElement().tagName();
        if (name == QLatin1String("StoneID")) {
            // The bytes already read answer whether the file has a Comment anywhere.
            if (!before.fields.hasComment) {
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

    // The document is written in the encoding its declaration names (UTF-8 without one), and
    // only when its bytes read back to the same fields and the new comment: anything the
    // document model or the encoding would change or lose leaves the file as it was.
    QByteArray content;
    {
        QTextStream stream(&content, QIODevice::WriteOnly);
        reportMetadataDoc.save(stream, 1, QDomNode::EncodingFromDocument);
    }
    MetadataFields expected = before.fields;
    expected.comment = QString::fromLatin1(comment.toUtf8().toBase64());
    expected.hasComment = true;
    const MetadataScan after = scanMetadata(content);
    if (!after.error.isEmpty() || !(after.fields == expected)) {
        // The rest of the file was read before, so a file now too large or with too much text
        // is the comment's doing.
        const bool tooLong =
            after.error == refusal(FileTooLarge) || after.error == refusal(TooMuchText);
        return {tooLong ? CommentWrite::TooLong : CommentWrite::NotReadBack, {}};
    }

    // The new content replaces the old file only when all of it has been written, through a
    // temporary file beside it that takes the old file's permissions, group and (where the
    // system lets the writer) owner. A folder that allows no new file but a writable
    // metadata.xml gets the content written in place instead, and so does a writer who cannot
    // give the new file the old one's group: the other operators of that group would lose it.
    QSaveFile output(path);
    output.setDirectWriteFallback(true);
    if (!output.open(QIODevice::WriteOnly))
        return {CommentWrite::CannotOpen, output.errorString()};
    if (!Platform::keepOwnerAndGroup(output.handle(), path)) {
        output.cancelWriting();
        return writeInPlace(path, content, file.bytes);
    }
    // The explicit flush matters: commit() does not notice a failure of its own final flush and
    // would put a cut-off file in place of the old one.
    if (output.write(content) != content.size() || !output.flush() || !output.commit())
        return {CommentWrite::CannotWrite, output.errorString()};
    return {CommentWrite::Written, {}};
}
