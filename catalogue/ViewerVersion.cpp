#include "catalogue/ViewerVersion.h"

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

// The number a run of digits stands for; 0 when it does not fit an int or holds digits other
// than 0 to 9 (which count as digits in a version's shape).
int numberOf(const QStringRef &digits)
{
    bool ok = false;
    const int value = digits.toInt(&ok, 10);
    return ok ? value : 0;
}

} // namespace

void parseViewerVersion(const QString &text, ViewerVersion &version)
{
    // The text is "M.N", "M.N." or "M.N.P", each a run of digits (QChar::isDigit). A search parses
    // the version of every report, so the shape is checked directly rather than with patterns.
    version = ViewerVersion();
    const auto digitsFrom = [&text](int from) {
        int end = from;
        while (end < text.size() && text.at(end).isDigit())
            ++end;
        return end;
    };
    const int majorEnd = digitsFrom(0);
    if (majorEnd == 0 || majorEnd == text.size() || text.at(majorEnd) != QLatin1Char('.'))
        return;
    const int minorEnd = digitsFrom(majorEnd + 1);
    if (minorEnd == majorEnd + 1)
        return;
    const bool hasPatch = minorEnd < text.size();
    if (hasPatch &&
        (text.at(minorEnd) != QLatin1Char('.') || digitsFrom(minorEnd + 1) != text.size()))
        return;
    version.major = numberOf(text.leftRef(majorEnd));
    version.minor = numberOf(text.midRef(majorEnd + 1, minorEnd - majorEnd - 1));
    if (hasPatch)
        version.patch = numberOf(text.midRef(minorEnd + 1)); // no digits after "M.N.": 0
}

QString viewerVersionText(const ViewerVersion &version)
{
    if (version.patch == 0)
        return QStringLiteral("%1.%2").arg(version.major).arg(version.minor);
    return QStringLiteral("%1.%2.%3").arg(version.major).arg(version.minor).arg(version.patch);
}
