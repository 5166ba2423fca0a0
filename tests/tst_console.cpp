#include "ConsoleProbe.h"
#include "TestSupport.h"

#include <QScrollBar>

class TestConsole : public QObject
{
    Q_OBJECT

private slots:
    void printAppendsOneColouredParagraph_data()
    {
        QTest::addColumn<QString>("message");
        QTest::newRow("plain") << QStringLiteral("Found 3 reports.");
        QTest::newRow("two lines") << QStringLiteral("one\ntwo");
        QTest::newRow("looks like markup") << QStringLiteral("<b>0003</b>");
    }
    void printAppendsOneColouredParagraph()
    {
        QFETCH(QString, message);
        CConsole console;
        for (auto print : {&CConsole::printInfo, &CConsole::printWarning, &CConsole::printError})
            (console.*print)(message);
        QCOMPARE(consoleTexts(&console).join(QLatin1Char('\n')),
                 QStringLiteral("%1\nWarning: %1\nError: %1").arg(message));
        const QList<ConsoleLine> lines = consoleLines(&console);
        const QColor colours[] = {InfoColour, WarningColour, ErrorColour};
        for (int i = 0; i < lines.size(); ++i)
            QCOMPARE(lines.at(i).colour, colours[i * 3 / lines.size()]);
    }
    // Three bold lines over the page's own background; the last 100 messages, the newest in view.
    void showsThreeBoldLinesAndKeepsTheLastHundred()
    {
        CConsole console;
        console.resize(400, console.height());
        console.show();
        QVERIFY(QTest::qWaitForWindowExposed(&console));
        QVERIFY(console.font().bold() && console.font().pointSize() == 9);
        QPixmap page(console.size());
        page.fill(Qt::red);
        console.render(&page, {}, {}, QWidget::DrawChildren);
        QCOMPARE(page.toImage().pixelColor(console.width() - 2, 2), QColor(Qt::red));
        QScrollBar *bar = console.verticalScrollBar();
        for (int i = 1; i <= 3; ++i)
            console.printInfo(QString::number(i));
        QCOMPARE(bar->maximum(), 0); // all in view, nothing to scroll
        console.printInfo(QStringLiteral("4"));
        QVERIFY(bar->maximum() > 0);
        for (int i = 5; i <= 100; ++i)
            console.printInfo(QString::number(i));
        bar->setValue(0); // the operator scrolled back; a new message still brings the view to it
        console.printInfo(QStringLiteral("101"));
        QCOMPARE(consoleTexts(&console).size(), 100);
        QCOMPARE(consoleTexts(&console).first(), QStringLiteral("2"));
        QCOMPARE(bar->value(), bar->maximum());
        QTimer::singleShot(1000, &console, &QApplication::closeAllWindows); // ends a blocking menu
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5));
        QApplication::sendEvent(console.viewport(), &rightClick);
        QVERIFY(console.isVisible() && !QApplication::activePopupWidget());
        QTest::mouseDClick(console.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QVERIFY(!console.textCursor().hasSelection());
    }
};

STELVANE_TEST_MAIN(TestConsole)
#include "tst_console.moc"
