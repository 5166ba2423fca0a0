#pragma once

#include <QString>

class QDomDocument;
class QDomElement;

// Appends to `parent` a Comment element holding the Base64 text of the comment's UTF-8 bytes.
void appendCommentElement(QDomDocument &document, QDomElement &parent, const QString &comment);

// A metadata.xml is a few hundred bytes; anything larger than this is treated as unreadable.
constexpr qint64 MetadataFileSizeLimit = 1024 * 1024;
// Element nesting deeper than this is refused before the document model ever sees the file.
constexpr int MetadataNestingLimit = 256;
