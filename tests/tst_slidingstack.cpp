#include "TestSupport.h"

#include "app/CSlidingStackedWidget.h"

#include <QElapsedTimer>

// Short slides; log: each currentChanged index ("?" if not current), "f" per animationFinished.
struct Stack
{
    explicit Stack(int pages, int speed = 50)
    {
        for (int i = 0; i < pages; ++i)
            w.addWidget(new QWidget);
        w.setSpeed(speed);
        w.show();
        QObject::connect(&w, &QStackedWidget::currentChanged, [this](int i) {
            log += i == w.currentIndex() ? QString::number(i) : QStringLiteral("?");
        });
        QObject::connect(&w, &CSlidingStackedWidget::animationFinished,
                         [this] { log += QLatin1Char('f'); });
    }
    CSlidingStackedWidget w;
    QString log;
};

static QStringList messages;

class TestSlidingStack : public QObject
{
    Q_OBJECT

private slots:
    void requests_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("requests"); // from page 0; the first starts a slide
        QTest::addColumn<QString>("log");
        const auto row = [](const char *tag, int pages, const char *requests, const char *log) {
            QTest::newRow(tag) << pages << QString::fromLatin1(requests)
                               << QString::fromLatin1(log);
        };
        row("current page", 2, "0", "0");
        row("incoming page", 3, "1 1", "1f");
        row("last counts", 3, "1 0 2", "12f");
        row("several", 3, "2 1 0 1 0", "20f");
        row("back", 2, "1 0", "10f");
        // An index names page (index mod count), negative ones from the end. A wrapping index
        // never equals the new current index: the stack asks again, finds that page current
        // and repeats currentChanged instead of animationFinished.
        row("2 of 2 is 0", 2, "1 2", "100");
        row("3 of 2 is 1", 2, "3", "11");
        row("5 of 2 is 1", 2, "5", "11");
        row("7 of 3 is 1", 3, "7", "11");
        row("8 of 3 is 2", 3, "8", "22");
        row("-1 of 2 is 1", 2, "-1", "11");
        row("-2 of 3 is 1", 3, "-2", "11");
        row("-3 of 3 is 0", 3, "-3", "0");
        row("-4 of 3 is none", 3, "-4", "");
        row("wraps to incoming", 2, "1 3", "11");
    }

    void requests()
    {
        QFETCH(int, pages);
        QFETCH(QString, requests);
        QFETCH(QString, log);
        Stack s(pages);
        QVERIFY(QTest::qWaitForWindowExposed(&s.w));
        QSignalSpy finished(&s.w, &CSlidingStackedWidget::animationFinished);
        for (const QString &request : requests.split(QLatin1Char(' ')))
            s.w.slide(request.toInt());
        QCOMPARE(s.log, log.size() > 1 ? QString() : log); // no change before a slide ends
        QTRY_COMPARE(s.log, log);
        QVERIFY(!finished.wait(200)); // nothing left over
        QCOMPARE(s.log, log);
        for (int i = 0; i < pages; ++i) // outgoing pages hidden and back in place
            QCOMPARE(qMakePair(s.w.widget(i)->isVisible(), s.w.widget(i)->pos()),
                     qMakePair(i == s.w.currentIndex(), QPoint(0, 0)));
    }

    void slidesBothWaysSlowingDownAndSurvivesDestruction()
    {
        auto *doomed = new Stack(2, 1000);
        QVERIFY(QTest::qWaitForWindowExposed(&doomed->w));
        QWidget *incoming = doomed->w.widget(1);
        const int width = doomed->w.width();
        QElapsedTimer clock;
        clock.start();
        doomed->w.slide(1);
        QCOMPARE(incoming->pos(), QPoint(width, 0)); // in from the right
        QTRY_VERIFY(clock.elapsed() >= 300);
        // Slowing down towards the end: well past the share of the way that time alone gives.
        const double covered = 1.0 - double(incoming->x()) / width;
        QVERIFY2(covered > clock.elapsed() / 1000.0 + 0.15, qPrintable(QString::number(covered)));
        QVERIFY(doomed->w.widget(0)->x() < 0);
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &text) { messages << text; });
        delete doomed;
        // The destroyed stack's animations must not go on driving its dead pages meanwhile.
        Stack other(2);
        other.w.setCurrentIndex(1);
        QSignalSpy finished(&other.w, &CSlidingStackedWidget::animationFinished);
        other.w.slide(0);
        QCOMPARE(other.w.widget(0)->pos(), QPoint(-other.w.width(), 0)); // in from the left
        const bool otherFinished = finished.wait();
        qInstallMessageHandler(previous);
        QVERIFY(otherFinished);
        QCOMPARE(messages, QStringList());
    }
};

STELVANE_TEST_MAIN(TestSlidingStack)
#include "tst_slidingstack.moc"
