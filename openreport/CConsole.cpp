#include "openreport/CConsole.h"

#include <QScrollBar>
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
    const int lineHeight = fontMetrics().height();
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
    append(text);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void CConsole::mousePressEvent(QMouseEvent *)
{
    setFocus(Qt::OtherFocusReason);
}

void CConsole::mouseDoubleClickEvent(QMouseEvent *) {}

void CConsole::contextMenuEvent(QContextMenuEvent *) {}
