#pragma once

#include <QMetaType>
#include <QString>

// A viewer's version, or the lowest viewer version a report needs: major.minor.patch.
// Ordered lexicographically on (major, minor, patch).
struct ViewerVersion
{
    int major = 0;
    int minor = 0;
    int patch = 0;
};

bool operator<(const ViewerVersion &a, const ViewerVersion &b);
bool operator==(const ViewerVersion &a, const ViewerVersion &b);
inline bool operator!=(const ViewerVersion &a, const ViewerVersion &b)
{
    return !(a == b);
}

// Sets all three fields from text such as "2.5" or "2.5.1"; a field whose pattern does not
// match the whole text, or whose number does not fit an int, becomes 0.
void parseViewerVersion(const QString &text, ViewerVersion &version);

// "1.2" when the patch is 0, otherwise "1.2.3".
QString viewerVersionText(const ViewerVersion &version);

Q_DECLARE_METATYPE(ViewerVersion)
