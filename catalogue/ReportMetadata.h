#pragma once

#include "catalogue/ReportInfo.h"

#include <QByteArray>
#include <QMap>
#include <QString>

class QDomDocument;
class QDomElement;

// A report's metadata file, metadata.xml in its folder: reading it into a report's record, and
// the one change ever made to it, a new comment. Nothing here prints or knows about windows: each
// operation returns what it found and what went wrong, and the caller tells the operator.

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

// A metadata file's bytes as read from disk: at most one byte more than a metadata file may hold,
// so that no file, however large, costs more memory than that.
struct MetadataFileBytes
{
    bool opened = false; // false: the file could not be opened, and `error` says why
    QByteArray bytes;
    QString error; // why the file could not be opened, or read to its end
};
MetadataFileBytes readMetadataFile(const QString &path);

// The number that the first four characters of a report folder's name make; false when they are
// not all digits.
bool reportFolderPrefix(const QString &folderName, int &prefix);

// What a report's metadata file gives its record: the date and time, the type translated by
// `reportTypeNames`, the required viewer version and the decoded comment (the prefix and the data
// file are the folder's). A file that cannot be opened or is refused gives empty fields.
struct ReportReading
{
    ReportInfo info;
    bool valid = false; // the file was read to its end and is well formed
};
ReportReading readReportInfo(const QString &path, const QMap<QString, QString> &reportTypeNames);

// Whether a metadata file has a Comment element.
struct CommentCheck
{
    enum Outcome
    {
        Checked,
        CannotOpen,
        CannotParse // malformed before any Comment
    } outcome;
    bool hasComment;
    QString error; // why it could not be opened or parsed; with Checked, a read error or nothing
};
CommentCheck checkCommentElement(const QString &path);

// Writes a new comment into a metadata file: the file keeps every other field, and it is changed
// only when the new content reads back to the same fields and the new comment.
struct CommentWrite
{
    enum Outcome
    {
        Written,
        CannotOpen,          // for reading or for writing; `error` says why
        CannotRead,          // read error, malformed or refused
        TooLong,             // the comment would take the file beyond the limits
        NotReadBack,         // the new content would not read back as written
        CannotWrite,         // `error` says why
        NotReadBackFromFile, // written in place, the file did not read back (and was restored)
    } outcome;
    QString error;
};
CommentWrite writeComment(const QString &path, const QString &comment);
