#include "TestSupport.h"

#include "app/CSlidingStackedWidget.h"

#include <QElapsedTimer>

// Short slides, shown; log: each currentChanged index and an "f" per animationFinished.
struct Stack
{
    explicit Stack(int pages, int speed = 50)
    {
        for (int i = 0; i < pages; ++i)
            w.addWidget(new QWidget);
        w.setSpeed(speed);
        w.show();
        QObject::connect(&w, &QStackedWidget::currentChanged,
                         [this](int i) { log += QString::number(i); });
        QObject::connect(&w, &CSlidingStackedWidget::animationFinished,
                         [this] { log += QLatin1Char('f'); });
    }
    CSlidingStackedWidget w;
    QString log;
};

class TestSlidingStack : public QObject
{
    Q_OBJECT

private slots:
    void requests()
    {
        // Pages, requests from page 0, the log. Index n names page n mod count; a wrapping index
        // repeats currentChanged instead of animationFinished.
        const char *rows[][3] = {
            {"2", "0", "0"},           {"3", "1 1", "1f"},  {"3", "1 0 2", "12f"},
            {"3", "2 1 0 1 0", "20f"}, {"2", "1 0", "10f"}, {"2", "1 2", "100"},
            {"2", "3", "11"},          {"2", "5", "11"},    {"3", "7", "11"},
            {"3", "8", "22"},          {"2", "-1", "11"},   {"3", "-2", "11"},
            {"3", "-3", "0"},          {"3", "-4", ""},     {"2", "1 3", "11"}};
        for (const auto &row : rows) {
            Stack s(QByteArray(row[0]).toInt());
            s.log = QStringLiteral("%1 of %2: ").arg(QLatin1String(row[1]), QLatin1String(row[0]));
            const QString log = s.log + QLatin1String(row[2]);
            for (const QString &request : QString::fromLatin1(row[1]).split(QLatin1Char(' ')))
                s.w.slide(request.toInt());
            QTRY_COMPARE(s.log, log);
            QTest::qWait(200);
            QCOMPARE(s.log, log);                 // nothing left over
            for (int i = 0; i < s.w.count(); ++i) // outgoing pages hidden and back in place
                QCOMPARE(qMakePair(s.w.widget(i)->isVisible(), s.w.widget(i)->pos()),
                         qMakePair(i == s.w.currentIndex(), QPoint(0, 0)));
        }
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
        // Slowing down: well past the share of the way that time alone gives.
        QVERIFY(1.0 - double(incoming->x()) / width > clock.elapsed() / 1000.0 + 0.15);
        delete doomed; // mid-slide: its animations must stop with it
        Stack other(2);
        other.w.setCurrentIndex(1);
        other.w.slide(0);
        QCOMPARE(other.w.widget(0)->pos(), QPoint(-other.w.width(), 0)); // in from the left
        QTRY_COMPARE(other.log, QStringLiteral("10f"));
    }
};

STELVANE_TEST_MAIN(TestSlidingStack)
#include "tst_slidingstack.moc"
