#pragma once

#include <QString>
#include <QStringList>

// What the program's arguments ask for: `stelvane [STONE-ID]`, with --help and --version.
struct CommandLine
{
    // --help and --version have been answered, or the arguments were wrong and said so: the
    // program ends with `exitCode` (0, or 2 for wrong arguments) without a window.
    bool finished = false;
    int exitCode = 0;
    // The Stone ID to search for at start; empty when none was given.
    QString stoneID;
};

// Reads the arguments (as QCoreApplication::arguments() gives them: the toolkit's own options
// already taken out) and prints the answer to --help and --version, or what is wrong, on the
// console.
CommandLine parseCommandLine(const QStringList &arguments);

// Whether a text may come in as a Stone ID from outside the window: at most 256 characters, each
// one printable, as the Stone ID field takes them from the keyboard.
bool isAcceptableStoneID(const QString &text);
