#include "catalogue/ViewerVersion.h"

#include <QRegExp>

#include <tuple>

bool operator<(const ViewerVersion &a, const ViewerVersion &b)
{
    return std::tie(a.major, a.minor, a.patch) < std::tie(b.major, b.minor, b.patch);
}

bool operator==(const ViewerVersion &a, const ViewerVersion &b)
{
    return a.major == b.major && a.minor == b.minor && a.patch == b.patch;
}

namespace {

int capturedNumber(QRegExp &expression, const QString &text)
{
    if (expression.indexIn(text) < 0)
        return 0;
    bool ok = false;
    const int value = expression.cap(1).toInt(&ok, 10);
    return ok ? value : 0;
}

} // namespace

void parseViewerVersion(const QString &text, ViewerVersion &version)
{
    // A search parses the version of every report, so the patterns are built once. The client
    // parses on its one GUI thread only.
    static QRegExp majorPattern(QStringLiteral("^(\\d+)\\.\\d+\\.?\\d*$"));
    static QRegExp minorPattern(QStringLiteral("^\\d+\\.(\\d+)\\.?\\d*$"));
    static QRegExp patchPattern(QStringLiteral("^\\d+\\.\\d+\\.(\\d+)$"));
    version.major = capturedNumber(majorPattern, text);
    version.minor = capturedNumber(minorPattern, text);
    version.patch = capturedNumber(patchPattern, text);
}

QString viewerVersionText(const ViewerVersion &version)
{
    if (version.patch == 0)
        return QStringLiteral("%1.%2").arg(version.major).arg(version.minor);
    return QStringLiteral("%1.%2.%3").arg(version.major).arg(version.minor).arg(version.patch);
}
