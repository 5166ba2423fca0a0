#pragma once

#include <QByteArray>
#include <QString>

class QDomDocument;
class QDomElement;

// Appends to `parent` a Comment element holding the Base64 text of the comment's UTF-8 bytes.
void appendCommentElement(QDomDocument &document, QDomElement &parent, const QString &comment);

// What a metadata file may hold. A real one is a few hundred bytes with half a dozen elements,
// no attributes and no document type declaration; these limits are far beyond that and keep the
// time and memory a hostile file on the shared folder can cost small. A file beyond any of them
// is refused as a whole, as is one that declares its own document type (entities, elements).
constexpr qint64 MetadataFileSizeLimit = 256 * 1024; // bytes
constexpr int MetadataNestingLimit = 256;            // element depth
constexpr int MetadataElementLimit = 4096;           // elements in the file
// '=' signs in the file's bytes. Every attribute needs one, and the stream reader's check for
// repeated attributes takes time quadratic in the attributes of one element, so they are counted
// before it runs.
constexpr int MetadataAttributeLimit = 1024;
constexpr int MetadataTextLimit = 128 * 1024; // characters of text, attributes and comments

// The texts the reader takes from a metadata file: for each element it knows, the single token
// that directly follows the start tag of its last occurrence at any depth.
struct MetadataFields
{
    QString dateTime;
    QString reportType;
    QString requiredViewerVersion;
    QString stoneID;
    QString comment;         // still in Base64
    bool hasComment = false; // an element named Comment occurs anywhere
};

bool operator==(const MetadataFields &a, const MetadataFields &b);

struct MetadataScan
{
    MetadataFields fields; // what was read up to an error; nothing when the file was refused
    QString error;         // why the file could not be read to its end; empty when it could
    bool refused = false;  // the file holds what no metadata file holds
};

// Reads the bytes of a metadata file within the limits above, decoding them as the file says
// (byte order mark or XML declaration, UTF-8 otherwise). With a document, also builds it from the
// same tokens, keeping text that is only white space except between the root's children. No
// external entity or document type is ever loaded. Without a document, a file in the plain shape
// the laboratory writes is read directly instead of by the stream reader, to the same result.
MetadataScan scanMetadata(const QByteArray &bytes, QDomDocument *document = nullptr);
