#include "TestSupport.h"
#include "openreport/CExLineEdit.h"

#include <QCompleter>
#include <QMovie>
#include <QToolButton>

[[maybe_unused]] const bool dpi144 = qputenv("QT_FONT_DPI", "144"); // 1.5x: a lost scale shows

class TestExLineEdit : public QObject
{
    Q_OBJECT

private slots:
    void buttonThrobberAndCompletion()
    {
        CExLineEdit field(QStringLiteral(":/qrc/refresh.png"),
                          QStringLiteral(":/qrc/refresh_hover.png"),
                          QStringLiteral(":/qrc/throbber.gif"), {}, {});
        field.show();
        auto *button = field.findChild<QToolButton *>();
        QVERIFY(!button->isVisible()); // shown only with text
        QTest::keyClicks(&field, QString(40, QLatin1Char('W')));
        field.resize(300, 50);
        QVERIFY(button->isVisible());
        QCOMPARE(field.textMargins(), QMargins(8, 8, 8, 8)); // 5 design pixels at 144 DPI
        const QRect place = button->geometry(); // inside, centred, just within the right margin
        QVERIFY(field.rect().contains(place) && qAbs(place.center().y() - 24) <= 1);
        QVERIFY(field.width() - place.right() > 8 && field.width() - place.right() < 16);
        QSignalSpy triggered(&field, &CExLineEdit::toolButtonTriggered);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(triggered.count(), 1);

        const QString normalLook = button->styleSheet(); // the throbber animates the icon
        auto *movie = field.findChild<QMovie *>();
        field.startThrobber();
        QVERIFY(!button->styleSheet().contains(QLatin1String("image"))); // it would hide the icon
        QTRY_VERIFY(movie->currentFrameNumber() >= 1);
        QCOMPARE(button->icon().pixmap(movie->frameRect().size()).toImage(), movie->currentImage());
        field.stopThrobber();
        QVERIFY(button->icon().isNull() && movie->state() == QMovie::NotRunning);
        QCOMPARE(button->styleSheet(), normalLook);

        field.clear(); // the button goes with the text; completion ignores case
        QVERIFY(!button->isVisible());
        QStringList ids{QStringLiteral("GX40213")};
        field.setReportIDs(ids);
        QTest::keyClicks(&field, QStringLiteral("gX"));
        QCOMPARE(field.QLineEdit::completer()->currentCompletion(), ids.first());
    }
};

STELVANE_TEST_MAIN(TestExLineEdit)
#include "tst_exlineedit.moc"
