#include "TestSupport.h"

#include "openreport/CConsole.h"

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

class TestConsole : public QObject
{
    Q_OBJECT

private slots:
    void printAppendsOneColouredParagraph_data();
    void printAppendsOneColouredParagraph();
    void multiLineMessageKeepsOneColour();
    void eachMessageKeepsItsOwnColour();
    void markupStaysPlainTextFromFirstMessageOn();
    void keepsLastHundredMessagesAndScrollsToEnd();
    void looksLikeAQuietMessageArea();
    void rightClickOpensNoMenu();
    void doubleClickSelectsNothing();
    void clickGivesFocusWithoutPlacingCursor();

private:
    enum Kind
    {
        Info,
        Warning,
        Error
    };
    static void print(CConsole &console, Kind kind, const QString &message);
    // Every distinct foreground colour used by the text fragments of the block.
    static QList<QColor> fragmentColours(const QTextBlock &block);
    static QWidget *visibleMenu();
};

void TestConsole::print(CConsole &console, Kind kind, const QString &message)
{
    switch (kind) {
    case Info:
        console.printInfo(message);
        break;
    case Warning:
        console.printWarning(message);
        break;
    case Error:
        console.printError(message);
        break;
    }
}

QList<QColor> TestConsole::fragmentColours(const QTextBlock &block)
{
    QList<QColor> colours;
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid() || fragment.text().isEmpty())
            continue;
        const QColor colour = fragment.charFormat().foreground().color();
        if (!colours.contains(colour))
            colours.append(colour);
    }
    return colours;
}

QWidget *TestConsole::visibleMenu()
{
    if (QWidget *popup = QApplication::activePopupWidget())
        return popup;
    const QWidgetList topLevels = QApplication::topLevelWidgets();
    for (QWidget *widget : topLevels) {
        if (qobject_cast<QMenu *>(widget) && widget->isVisible())
            return widget;
    }
    return nullptr;
}

void TestConsole::printAppendsOneColouredParagraph_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<QColor>("expectedColour");

    QTest::newRow("info") << int(Info) << QStringLiteral("Found 3 reports.")
                          << QStringLiteral("Found 3 reports.") << QColor(135, 135, 136);
    QTest::newRow("warning") << int(Warning) << QStringLiteral("Comment is empty.")
                             << QStringLiteral("Warning: Comment is empty.") << QColor(255, 153, 0);
    QTest::newRow("error") << int(Error) << QStringLiteral("Reports Data folder is not set.")
                           << QStringLiteral("Error: Reports Data folder is not set.")
                           << QColor(246, 96, 96);
    QTest::newRow("error with empty message")
        << int(Error) << QString() << QStringLiteral("Error: ") << QColor(246, 96, 96);
    // Folder names, comments and parser errors may look like markup; they are shown as typed.
    QTest::newRow("info that looks like markup")
        << int(Info) << QStringLiteral("The <b>0003</b> report folder was successfully opened")
        << QStringLiteral("The <b>0003</b> report folder was successfully opened")
        << QColor(135, 135, 136);
    QTest::newRow("error that looks like markup")
        << int(Error) << QStringLiteral("<p>Cannot open metadata file</p>")
        << QStringLiteral("Error: <p>Cannot open metadata file</p>") << QColor(246, 96, 96);
    QTest::newRow("warning with an entity")
        << int(Warning) << QStringLiteral("<i>a</i> &amp; b")
        << QStringLiteral("Warning: <i>a</i> &amp; b") << QColor(255, 153, 0);
    QTest::newRow("warning keeps message spaces")
        << int(Warning) << QStringLiteral("  two leading spaces")
        << QStringLiteral("Warning:   two leading spaces") << QColor(255, 153, 0);
}

void TestConsole::printAppendsOneColouredParagraph()
{
    QFETCH(int, kind);
    QFETCH(QString, message);
    QFETCH(QString, expectedText);
    QFETCH(QColor, expectedColour);

    CConsole console;
    // A message already there must stay untouched by the new one.
    console.printInfo(QStringLiteral("first"));
    const int blocksBefore = console.document()->blockCount();
    QCOMPARE(console.document()->lastBlock().text(), QStringLiteral("first"));

    print(console, Kind(kind), message);

    QCOMPARE(console.document()->blockCount(), blocksBefore + 1);
    QCOMPARE(console.document()->firstBlock().text(), QStringLiteral("first"));
    const QTextBlock added = console.document()->lastBlock();
    QCOMPARE(added.text(), expectedText);
    QCOMPARE(console.toPlainText(), QStringLiteral("first\n") + expectedText);
    if (!expectedText.isEmpty())
        QCOMPARE(fragmentColours(added), QList<QColor>{expectedColour});
    QCOMPARE(fragmentColours(console.document()->firstBlock()),
             QList<QColor>{QColor(135, 135, 136)});
    QCOMPARE(console.textColor().alpha(), 255);
}

void TestConsole::multiLineMessageKeepsOneColour()
{
    CConsole console;
    console.printWarning(QStringLiteral("line one\nline two\nline three"));
    console.printInfo(QStringLiteral("after"));

    QTextDocument *document = console.document();
    QCOMPARE(console.toPlainText(),
             QStringLiteral("Warning: line one\nline two\nline three\nafter"));

    QTextBlock block = document->firstBlock();
    for (int line = 0; line < 3; ++line, block = block.next()) {
        QVERIFY(block.isValid());
        QCOMPARE(fragmentColours(block), QList<QColor>{QColor(255, 153, 0)});
    }
    QCOMPARE(block.text(), QStringLiteral("after"));
    QCOMPARE(fragmentColours(block), QList<QColor>{QColor(135, 135, 136)});
}

void TestConsole::eachMessageKeepsItsOwnColour()
{
    CConsole console;
    console.printError(QStringLiteral("a"));
    console.printInfo(QStringLiteral("b"));
    console.printWarning(QStringLiteral("c"));
    console.printError(QStringLiteral("d"));
    console.printInfo(QStringLiteral("e"));

    const QStringList expectedTexts{QStringLiteral("Error: a"), QStringLiteral("b"),
                                    QStringLiteral("Warning: c"), QStringLiteral("Error: d"),
                                    QStringLiteral("e")};
    const QList<QColor> expectedColours{QColor(246, 96, 96), QColor(135, 135, 136),
                                        QColor(255, 153, 0), QColor(246, 96, 96),
                                        QColor(135, 135, 136)};
    QCOMPARE(console.document()->blockCount(), expectedTexts.size());
    QTextBlock block = console.document()->firstBlock();
    for (int i = 0; i < expectedTexts.size(); ++i, block = block.next()) {
        QCOMPARE(block.text(), expectedTexts.at(i));
        QCOMPARE(fragmentColours(block), QList<QColor>{expectedColours.at(i)});
    }
}

void TestConsole::markupStaysPlainTextFromFirstMessageOn()
{
    CConsole console;
    console.printError(QStringLiteral("<b>0001</b>"));
    QCOMPARE(console.document()->blockCount(), 1);
    QCOMPARE(console.toPlainText(), QStringLiteral("Error: <b>0001</b>"));
    QCOMPARE(fragmentColours(console.document()->firstBlock()), QList<QColor>{QColor(246, 96, 96)});

    console.printWarning(QStringLiteral("<i>first</i>\n<i>second</i>"));
    console.printInfo(QStringLiteral("plain"));
    QCOMPARE(console.toPlainText(),
             QStringLiteral("Error: <b>0001</b>\nWarning: <i>first</i>\n<i>second</i>\nplain"));
    QTextBlock block = console.document()->firstBlock().next();
    QCOMPARE(fragmentColours(block), QList<QColor>{QColor(255, 153, 0)});
    QCOMPARE(fragmentColours(block.next()), QList<QColor>{QColor(255, 153, 0)});
    QCOMPARE(fragmentColours(block.next().next()), QList<QColor>{QColor(135, 135, 136)});

    // The page clears the console before printing its configuration errors again.
    console.clear();
    console.printInfo(QStringLiteral("<u>again</u>"));
    QCOMPARE(console.document()->blockCount(), 1);
    QCOMPARE(console.toPlainText(), QStringLiteral("<u>again</u>"));
    QCOMPARE(fragmentColours(console.document()->firstBlock()),
             QList<QColor>{QColor(135, 135, 136)});
}

void TestConsole::keepsLastHundredMessagesAndScrollsToEnd()
{
    CConsole console;
    console.resize(400, console.height());
    console.show();
    QVERIFY(QTest::qWaitForWindowExposed(&console));

    const QColor grey(135, 135, 136), orange(255, 153, 0), lightRed(246, 96, 96);
    for (int i = 1; i <= 101; ++i) {
        if (i % 3 == 0)
            console.printError(QStringLiteral("message %1").arg(i));
        else if (i % 3 == 1)
            console.printInfo(QStringLiteral("message %1").arg(i));
        else
            console.printWarning(QStringLiteral("message %1").arg(i));
    }

    QTextDocument *document = console.document();
    QCOMPARE(document->blockCount(), 100);
    QCOMPARE(document->firstBlock().text(), QStringLiteral("Warning: message 2"));
    QCOMPARE(document->lastBlock().text(), QStringLiteral("Warning: message 101"));
    QVERIFY(!console.toPlainText().contains(QStringLiteral("message 1\n")));
    // Every remaining paragraph, in order, with its own text and colour.
    QTextBlock block = document->firstBlock();
    for (int i = 2; i <= 101; ++i, block = block.next()) {
        QVERIFY(block.isValid());
        const QString text = QStringLiteral("message %1").arg(i);
        if (i % 3 == 0) {
            QCOMPARE(block.text(), QStringLiteral("Error: ") + text);
            QCOMPARE(fragmentColours(block), QList<QColor>{lightRed});
        } else if (i % 3 == 1) {
            QCOMPARE(block.text(), text);
            QCOMPARE(fragmentColours(block), QList<QColor>{grey});
        } else {
            QCOMPARE(block.text(), QStringLiteral("Warning: ") + text);
            QCOMPARE(fragmentColours(block), QList<QColor>{orange});
        }
    }
    QVERIFY(!block.isValid());

    QScrollBar *bar = console.verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());
    // The last message is the one in view.
    const QRect lastLine = console.cursorRect(QTextCursor(document->lastBlock()));
    QVERIFY(console.viewport()->rect().contains(lastLine.center()));
    const QRect firstLine = console.cursorRect(QTextCursor(document->firstBlock()));
    QVERIFY(!console.viewport()->rect().intersects(firstLine));

    // An operator who scrolled back to older messages is brought to the newest one.
    bar->setValue(0);
    QVERIFY(console.viewport()->rect().intersects(
        console.cursorRect(QTextCursor(document->firstBlock()))));
    console.printInfo(QStringLiteral("message 102"));
    QCOMPARE(bar->value(), bar->maximum());
    QCOMPARE(document->blockCount(), 100);
    QCOMPARE(document->lastBlock().text(), QStringLiteral("message 102"));
    QVERIFY(console.viewport()->rect().contains(
        console.cursorRect(QTextCursor(document->lastBlock())).center()));
}

void TestConsole::looksLikeAQuietMessageArea()
{
    QWidget page;
    QFont pageFont = page.font();
    pageFont.setPointSize(14);
    pageFont.setWeight(QFont::Normal);
    page.setFont(pageFont);
    auto *console = new CConsole(&page);

    QVERIFY(console->isReadOnly());
    QCOMPARE(console->frameShape(), QFrame::NoFrame);
    QCOMPARE(console->contentsMargins(), QMargins(0, 0, 0, 0));
    QCOMPARE(console->document()->maximumBlockCount(), 100);
    QCOMPARE(console->document()->documentMargin(), 0.0);

    const QPalette::ColorGroup groups[] = {QPalette::Active, QPalette::Inactive,
                                           QPalette::Disabled};
    for (QPalette::ColorGroup group : groups) {
        const QBrush base = console->palette().brush(group, QPalette::Base);
        QCOMPARE(base.style(), Qt::SolidPattern);
        QCOMPARE(base.color().alpha(), 0);
    }

    QCOMPARE(console->font().pointSize(), 9);
    QCOMPARE(console->font().weight(), int(QFont::Bold));
    const int lineHeight = QFontMetrics(console->font()).height();
    QCOMPARE(console->height(), 3 * lineHeight);
    QCOMPARE(console->minimumHeight(), 3 * lineHeight);
    QCOMPARE(console->maximumHeight(), 3 * lineHeight);
    QCOMPARE(console->sizePolicy().horizontalPolicy(), QSizePolicy::MinimumExpanding);
    QCOMPARE(console->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(console->verticalScrollBar()->singleStep(), lineHeight);
}

void TestConsole::rightClickOpensNoMenu()
{
    CConsole console;
    console.printInfo(QStringLiteral("Some words to click on"));
    console.resize(300, console.height());
    console.show();
    QVERIFY(QTest::qWaitForWindowExposed(&console));

    // A menu would run its own event loop; close whatever appears so a fault cannot hang here.
    bool menuSeen = false;
    QTimer closer;
    closer.setInterval(10);
    connect(&closer, &QTimer::timeout, this, [&menuSeen] {
        if (QWidget *menu = visibleMenu()) {
            menuSeen = true;
            menu->close();
        }
    });
    closer.start();

    const QPoint inside = console.viewport()->rect().center();
    QTest::mouseClick(console.viewport(), Qt::RightButton, Qt::NoModifier, inside);
    QContextMenuEvent byKeyboard(QContextMenuEvent::Keyboard, inside,
                                 console.viewport()->mapToGlobal(inside));
    QApplication::sendEvent(console.viewport(), &byKeyboard);
    QContextMenuEvent byMouse(QContextMenuEvent::Mouse, inside,
                              console.viewport()->mapToGlobal(inside));
    QApplication::sendEvent(console.viewport(), &byMouse);
    QApplication::processEvents();
    closer.stop();

    QVERIFY(!menuSeen);
    QVERIFY(!visibleMenu());
    QVERIFY(!console.findChild<QMenu *>());
}

void TestConsole::doubleClickSelectsNothing()
{
    CConsole console;
    console.printInfo(QStringLiteral("Selectable words everywhere here"));
    console.resize(400, console.height());
    console.show();
    QVERIFY(QTest::qWaitForWindowExposed(&console));

    const QRect wordRect = console.cursorRect(QTextCursor(console.document()->firstBlock()));
    const QPoint onWord = wordRect.center() + QPoint(15, 0);
    QTest::mouseDClick(console.viewport(), Qt::LeftButton, Qt::NoModifier, onWord);
    QVERIFY(!console.textCursor().hasSelection());
    QVERIFY(console.textCursor().selectedText().isEmpty());

    // A drag across the text does not select either.
    QTest::mousePress(console.viewport(), Qt::LeftButton, Qt::NoModifier, onWord);
    QTest::mouseMove(console.viewport(), onWord + QPoint(120, 0));
    QTest::mouseRelease(console.viewport(), Qt::LeftButton, Qt::NoModifier,
                        onWord + QPoint(120, 0));
    QVERIFY(!console.textCursor().hasSelection());
}

void TestConsole::clickGivesFocusWithoutPlacingCursor()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *other = new QLineEdit(&window);
    auto *console = new CConsole;
    layout->addWidget(other);
    layout->addWidget(console);
    console->printInfo(QStringLiteral("Click somewhere in this line"));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    const int cursorBefore = console->textCursor().position();

    const QRect lineRect = console->cursorRect(QTextCursor(console->document()->firstBlock()));
    QTest::mouseClick(console->viewport(), Qt::LeftButton, Qt::NoModifier,
                      lineRect.center() + QPoint(60, 0));

    QTRY_VERIFY(console->hasFocus());
    QCOMPARE(console->textCursor().position(), cursorBefore);
    QVERIFY(!console->textCursor().hasSelection());
}

STELVANE_TEST_MAIN(TestConsole)
#include "tst_console.moc"
