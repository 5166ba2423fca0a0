#include "TestSupport.h"
#include "openreport/CExLineEdit.h"

#include <QCompleter>
#include <QMovie>
#include <QToolButton>

[[maybe_unused]] const bool dpi144 = qputenv("QT_FONT_DPI", "144"); // 1.5x: a lost scale shows

class TestExLineEdit : public QObject
{
    Q_OBJECT
    CExLineEdit *field = nullptr;
    QToolButton *button = nullptr;

private slots:
    void init()
    {
        field = new CExLineEdit(QStringLiteral(":/qrc/refresh.png"),
                                QStringLiteral(":/qrc/refresh_hover.png"),
                                QStringLiteral(":/qrc/throbber.gif"), {}, {});
        field->show();
        button = field->findChild<QToolButton *>();
    }
    void cleanup() { delete field; }
    void buttonShowsWithTextInsideRightEdgeAndTriggersOnce()
    {
        QTest::keyClick(field, Qt::Key_W);
        QVERIFY(button->isVisible());
        QTest::keyClick(field, Qt::Key_Backspace);
        QVERIFY(!button->isVisible());
        QTest::keyClicks(field, QString(40, QLatin1Char('W')));
        field->resize(300, 50);
        QCOMPARE(field->textMargins(), QMargins(8, 8, 8, 8)); // 5 design pixels at 144 DPI
        const QRect place = button->geometry(); // inside, centred, just within the right margin
        QVERIFY(field->rect().contains(place) && qAbs(place.center().y() - 24) <= 1);
        QVERIFY(field->width() - place.right() > 8 && field->width() - place.right() < 16);
        QTRY_VERIFY(field->inputMethodQuery(Qt::ImCursorRectangle).toRect().right() < button->x());
        QSignalSpy triggered(field, &CExLineEdit::toolButtonTriggered);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(triggered.count(), 1);
        QCOMPARE(field->text(), QString(40, QLatin1Char('W')));
    }
    void throbberAnimatesIconUntilStopped()
    {
        const QString normalLook = button->styleSheet();
        field->stopThrobber();
        QVERIFY(button->icon().isNull() && button->styleSheet() == normalLook);
        auto *movie = field->findChild<QMovie *>();
        QVERIFY(movie->isValid() && movie->frameCount() > 1);
        field->startThrobber();
        QVERIFY(!button->styleSheet().contains(QLatin1String("image"))); // it would hide the icon
        QTRY_VERIFY(movie->currentFrameNumber() >= 1);
        QCOMPARE(button->icon().pixmap(movie->frameRect().size()).toImage(), movie->currentImage());
        field->stopThrobber();
        QVERIFY(button->icon().isNull() && movie->state() == QMovie::NotRunning);
        QCOMPARE(button->styleSheet(), normalLook);
    }
    void completerIsCaseInsensitiveOverTheLatestIDs()
    {
        QStringList old{QStringLiteral("GX1")}, ids{QStringLiteral("GX40213")};
        field->setReportIDs(old);
        field->setReportIDs(ids);
        QTest::keyClicks(field, QStringLiteral("gX"));
        QCOMPARE(field->QLineEdit::completer()->currentCompletion(), ids.first());
    }
};

STELVANE_TEST_MAIN(TestExLineEdit)
#include "tst_exlineedit.moc"
