#include "platform/Platform.h"

#include <QRegExp>

namespace Platform {

std::optional<BrowserCommand> splitQuotedCommandLine(const QString &commandLine)
{
    // The first group is greedy, so it runs up to the last double quote that a white-space
    // character follows, and the second group holds everything after that.
    QRegExp pattern(QStringLiteral("\"(.*)\"\\s(.*)"), Qt::CaseSensitive, QRegExp::RegExp);
    if (pattern.indexIn(commandLine, 0) == -1)
        return std::nullopt;
    return BrowserCommand{pattern.cap(1), pattern.cap(2)};
}

} // namespace Platform
