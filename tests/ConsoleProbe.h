#pragma once

#include "openreport/CConsole.h"

#include <QColor>
#include <QTextBlock>
#include <QTextDocument>

// What the operator sees in the console: one entry per paragraph, with its text and colour.
struct ConsoleLine
{
    QString text;
    QColor colour;
};

inline QList<ConsoleLine> consoleLines(const CConsole *console)
{
    QList<ConsoleLine> lines;
    const QTextDocument *document = console->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block.text().isEmpty() && document->blockCount() == 1)
            break; // an empty console still has one empty block
        QColor colour;
        if (block.begin() != block.end())
            colour = block.begin().fragment().charFormat().foreground().color();
        lines.append({block.text(), colour});
    }
    return lines;
}

inline QStringList consoleTexts(const CConsole *console)
{
    QStringList texts;
    for (const ConsoleLine &line : consoleLines(console))
        texts.append(line.text);
    return texts;
}

inline const QColor ErrorColour(246, 96, 96);
inline const QColor WarningColour(255, 153, 0);
inline const QColor InfoColour(135, 135, 136);
