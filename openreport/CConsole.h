#pragma once

#include <QTextEdit>

// The message area at the bottom of the open-report page: a read-only, frameless, transparent
// text box three lines high that keeps the last 100 messages, each in its own colour.
class CConsole final : public QTextEdit
{
    Q_OBJECT
    Q_DISABLE_COPY(CConsole)

public:
    explicit CConsole(QWidget *parent = nullptr);
    ~CConsole() override;

    void printInfo(const QString &message);
    void printError(const QString &message);
    void printWarning(const QString &message);

protected:
    // The console only takes the focus on a click: no cursor, no selection, no menu.
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void print(const QColor &colour, const QString &text);
    void appendPlainParagraph(const QString &text);
};
