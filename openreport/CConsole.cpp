#include "openreport/CConsole.h"

#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

CConsole::CConsole(QWidget *parent) : QTextEdit(parent)
{
    document()->setMaximumBlockCount(100);
    document()->setDocumentMargin(0);

    QPalette transparentBase = palette();
    transparentBase.setBrush(QPalette::All, QPalette::Base,
                             QBrush(Qt::transparent, Qt::SolidPattern));
    setPalette(transparentBase);

    setFrameShape(QFrame::NoFrame);
    setContentsMargins(0, 0, 0, 0);
    setReadOnly(true);

    QFont consoleFont = font();
    consoleFont.setPointSize(9);
    consoleFont.setWeight(QFont::Bold);
    setFont(consoleFont);

    setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Fixed);
    // A line of text takes the font's height and its leading where that is positive, as it is
    // for Windows fonts.
    const int lineHeight = qMax(fontMetrics().height(), fontMetrics().lineSpacing());
    setFixedHeight(3 * lineHeight);
    verticalScrollBar()->setSingleStep(lineHeight);
}

CConsole::~CConsole() = default;

void CConsole::printInfo(const QString &message)
{
    print(QColor(135, 135, 136, 255), message);
}

void CConsole::printError(const QString &message)
{
    print(QColor(246, 96, 96, 255), tr("Error: ") + message);
}

void CConsole::printWarning(const QString &message)
{
    print(QColor(255, 153, 0, 255), tr("Warning: ") + message);
}

void CConsole::print(const QColor &colour, const QString &text)
{
    setTextColor(colour);
    // append() renders anything that looks like markup as HTML, which would swallow the tags of
    // a folder name or comment and drop the colour; such text is appended as plain text instead.
    if (Qt::mightBeRichText(text))
        appendPlainParagraph(text);
    else
        append(text);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void CConsole::appendPlainParagraph(const QString &text)
{
    // The same paragraph that append() makes for plain text: in the current block and char
    // formats, reusing the empty first block of an empty document.
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    if (document()->isEmpty())
        end.setCharFormat(currentCharFormat());
    else
        end.insertBlock(textCursor().blockFormat(), currentCharFormat());
    end.insertText(text);
}

void CConsole::mousePressEvent(QMouseEvent *)
{
    setFocus(Qt::OtherFocusReason);
}

void CConsole::mouseDoubleClickEvent(QMouseEvent *) {}

void CConsole::contextMenuEvent(QContextMenuEvent *) {}
