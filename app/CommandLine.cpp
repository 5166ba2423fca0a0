#include "app/CommandLine.h"

#include "platform/Platform.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QVector>

namespace {

CommandLine wrongArguments(const QString &problem)
{
    Platform::writeToConsole(QStringLiteral("stelvane: ") + problem +
                                 QStringLiteral("\nTry 'stelvane --help' for more information.\n"),
                             true);
    return CommandLine{true, 2, QString()};
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine",
        "Finds a stone's reports by its Stone ID and opens them.\n\n"
        "With a STONE-ID the client puts it into the Stone ID field and searches as if it had "
        "been\n"
        "typed and Enter pressed; the latest report opens when the settings say so. When the "
        "client\n"
        "already runs on this desktop, the STONE-ID goes to its window, which comes to the front,\n"
        "and this start ends; without a STONE-ID the window only comes to the front."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("STONE-ID"),
        QCoreApplication::translate(
            "CommandLine", "The Stone ID to search for. One that begins with - follows --."),
        QStringLiteral("[STONE-ID]"));

    if (!parser.parse(arguments))
        return wrongArguments(parser.errorText());
    // With the toolkit's own options, which only the parser's own answer lists; it ends the
    // program.
    if (parser.isSet(QStringLiteral("help-all")))
        parser.process(arguments);
    if (parser.isSet(help)) {
        Platform::writeToConsole(parser.helpText(), false);
        return CommandLine{true, 0, QString()};
    }
    if (parser.isSet(version)) {
        Platform::writeToConsole(QCoreApplication::applicationName() + QLatin1Char(' ') +
                                     QStringLiteral(STELVANE_VERSION_TEXT "\n"),
                                 false);
        return CommandLine{true, 0, QString()};
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return wrongArguments(
            QCoreApplication::translate("CommandLine", "give at most one Stone ID, not %1.")
                .arg(positional.size()));
    const QString stoneID = positional.value(0);
    if (!isAcceptableStoneID(stoneID))
        return wrongArguments(QCoreApplication::translate(
            "CommandLine", "a Stone ID has at most 256 characters, each one that can be typed."));
    return CommandLine{false, 0, stoneID};
}

bool isAcceptableStoneID(const QString &text)
{
    const QVector<uint> characters = text.toUcs4();
    if (characters.size() > 256)
        return false;
    for (const uint character : characters) {
        if (!QChar::isPrint(character))
            return false;
    }
    return true;
}
