#include "TestSupport.h"

#include "app/CSlidingStackedWidget.h"

// Short slides; log: each currentChanged index ("?" if not current), "f" per animationFinished.
struct Stack
{
    explicit Stack(int pages)
    {
        for (int i = 0; i < pages; ++i)
            w.addWidget(new QWidget);
        w.setSpeed(50);
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
        QTest::newRow("current page") << 2 << QStringLiteral("0") << QStringLiteral("0");
        // A wrapping index never equals the new current index: the stack asks again, finds
        // that page current and repeats currentChanged instead of animationFinished.
        QTest::newRow("2 wraps to 0") << 2 << QStringLiteral("1 2") << QStringLiteral("100");
        QTest::newRow("3 wraps to 1") << 2 << QStringLiteral("3") << QStringLiteral("11");
        QTest::newRow("-1 is page 1") << 2 << QStringLiteral("-1") << QStringLiteral("11");
        QTest::newRow("incoming page") << 3 << QStringLiteral("1 1") << QStringLiteral("1f");
        QTest::newRow("last counts") << 3 << QStringLiteral("1 0 2") << QStringLiteral("12f");
        QTest::newRow("several") << 3 << QStringLiteral("2 1 0 1 0") << QStringLiteral("20f");
        QTest::newRow("wraps to incoming") << 2 << QStringLiteral("1 3") << QStringLiteral("11");
        QTest::newRow("back") << 2 << QStringLiteral("1 0") << QStringLiteral("10f");
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

    void slidesBothWaysAndSurvivesDestruction()
    {
        auto *doomed = new Stack(2);
        QVERIFY(QTest::qWaitForWindowExposed(&doomed->w));
        doomed->w.setSpeed(300);
        doomed->w.slide(1);
        QCOMPARE(doomed->w.widget(1)->pos(), QPoint(doomed->w.width(), 0)); // in from the right
        QTRY_VERIFY(doomed->w.widget(0)->pos().x() < 0);
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
