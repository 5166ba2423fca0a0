#include "TestSupport.h"
#include "openreport/CConsole.h"

#include <QScrollBar>
#include <QTextBlock>

class TestConsole : public QObject
{
    Q_OBJECT

private slots:
    void printsColouredParagraphsInThreeBoldLinesAndKeepsTheLastHundred()
    {
        CConsole console;
        const QString message = QStringLiteral("<b>0003</b>\nfound");
        for (auto print : {&CConsole::printInfo, &CConsole::printWarning, &CConsole::printError})
            (console.*print)(message);
        QCOMPARE(console.toPlainText(), QStringLiteral("%1\nWarning: %1\nError: %1").arg(message));
        QList<QColor> colours; // two paragraphs per message
        for (QTextBlock b = console.document()->begin(); b.isValid(); b = b.next())
            colours << b.begin().fragment().charFormat().foreground().color();
        const QColor info(135, 135, 136), warning(255, 153, 0), error(246, 96, 96);
        QCOMPARE(colours, QList<QColor>({info, info, warning, warning, error, error}));

        // Three bold lines over the page's own background; the last 100 messages, newest in view.
        console.clear();
        console.show();
        QVERIFY(QTest::qWaitForWindowExposed(&console));
        QVERIFY(console.font().bold() && console.font().pointSize() == 9);
        QPixmap page(console.size());
        page.fill(Qt::red);
        console.render(&page, {}, {}, QWidget::DrawChildren);
        QCOMPARE(page.toImage().pixelColor(console.width() - 2, 2), QColor(Qt::red));
        QScrollBar *bar = console.verticalScrollBar();
        for (int i = 1; i <= 101; ++i) {
            console.printInfo(QString::number(i));
            if (i == 3 || i == 4) // all in view, nothing to scroll; then one line too many
                QCOMPARE(bar->maximum() > 0, i == 4);
            if (i == 100)
                bar->setValue(0); // the operator scrolled back; a new message still shows
        }
        const QStringList kept = console.toPlainText().split(QLatin1Char('\n'));
        QVERIFY(kept.size() == 100 && kept.first() == QLatin1String("2") &&
                kept.last() == QLatin1String("101"));
        QCOMPARE(bar->value(), bar->maximum());
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5)); // offers no menu
        QApplication::sendEvent(console.viewport(), &rightClick);
        QVERIFY(!QApplication::activePopupWidget());
    }
};

STELVANE_TEST_MAIN(TestConsole)
#include "tst_console.moc"
