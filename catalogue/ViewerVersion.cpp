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

int capturedNumber(const QString &pattern, const QString &text)
{
    QRegExp expression(pattern, Qt::CaseSensitive, QRegExp::RegExp);
    if (expression.indexIn(text) < 0)
        return 0;
    bool ok = false;
    const int value = expression.cap(1).toInt(&ok, 10);
    return ok ? value : 0;
}

} // namespace

void parseViewerVersion(const QString &text, ViewerVersion &version)
{
    version.major = capturedNumber(QStringLiteral("^(\\d+)\\.\\d+\\.?\\d*$"), text);
    version.minor = capturedNumber(QStringLiteral("^\\d+\\.(\\d+)\\.?\\d*$"), text);
    version.patch = capturedNumber(QStringLiteral("^\\d+\\.\\d+\\.(\\d+)$"), text);
}

QString viewerVersionText(const ViewerVersion &version)
{
    if (version.patch == 0)
        return QStringLiteral("%1.%2").arg(version.major).arg(version.minor);
    return QStringLiteral("%1.%2.%3").arg(version.major).arg(version.minor).arg(version.patch);
}
