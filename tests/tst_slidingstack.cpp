#include "TestSupport.h"

#include "app/CSlidingStackedWidget.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QSignalSpy>
#include <QWidget>
#include <memory>

// A shown stack of plain pages with a short slide, and a log of what it tells the outside world
// in the order it told it: "current:N" for each currentChanged, "finished" for animationFinished.
class StackFixture
{
public:
    explicit StackFixture(int pages, int speed = 50)
    {
        stack.reset(new CSlidingStackedWidget);
        for (int i = 0; i < pages; ++i) {
            auto *page = new QWidget;
            page->setObjectName(QStringLiteral("page%1").arg(i));
            stack->addWidget(page);
        }
        stack->setSpeed(speed);
        stack->resize(400, 300);
        stack->show();
        QObject::connect(stack.get(), &QStackedWidget::currentChanged, stack.get(),
                         [this](int index) { log << QStringLiteral("current:%1").arg(index); });
        QObject::connect(stack.get(), &CSlidingStackedWidget::animationFinished, stack.get(),
                         [this] { log << QStringLiteral("finished"); });
    }

    bool exposed() { return QTest::qWaitForWindowExposed(stack.get()); }

    std::unique_ptr<CSlidingStackedWidget> stack;
    QStringList log;
};

// Warnings that the toolkit prints while a test runs.
static QStringList capturedWarnings;
static QtMessageHandler previousHandler = nullptr;
static void captureWarnings(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtWarningMsg)
        capturedWarnings << text;
    previousHandler(type, context, text);
}

// The expected log, written as plain text.
static QStringList events(std::initializer_list<const char *> items)
{
    QStringList list;
    for (const char *item : items)
        list << QString::fromLatin1(item);
    return list;
}

class TestSlidingStack : public QObject
{
    Q_OBJECT

private slots:
    void defaultsAndProperties();
    void setAnimationSetsEasingCurve();
    void firstPageIsCurrentWithoutAnimation();

    void slideMovesPagesAndChangesIndexAtTheEnd_data();
    void slideMovesPagesAndChangesIndexAtTheEnd();
    void slideTakesTheConfiguredSpeed();
    void outgoingPageIsHiddenAndBackInPlace();

    void requestWhileIdle_data();
    void requestWhileIdle();
    void emptyStackIgnoresRequests();

    void requestsDuringSlide_data();
    void requestsDuringSlide();
    void indexThatOnlyWrapsToIncomingPage();
    void slideBackWhileSlidingForward();
    void destroyedDuringSlide();
};

void TestSlidingStack::defaultsAndProperties()
{
    CSlidingStackedWidget stack;
    QCOMPARE(stack.speed(), 200);
    QCOMPARE(stack.easingCurve(), QEasingCurve::OutQuart);
    QCOMPARE(stack.property("speed").toInt(), 200);
    QCOMPARE(stack.property("easingCurve").value<QEasingCurve::Type>(), QEasingCurve::OutQuart);
    QCOMPARE(stack.property("easingCurve").toInt(), 10);

    QVERIFY(stack.setProperty("speed", 700));
    QCOMPARE(stack.speed(), 700);
    QVERIFY(stack.setProperty("easingCurve", QVariant::fromValue(QEasingCurve::InOutCubic)));
    QCOMPARE(stack.easingCurve(), QEasingCurve::InOutCubic);
    QCOMPARE(stack.property("easingCurve").value<QEasingCurve::Type>(), QEasingCurve::InOutCubic);

    stack.setSpeed(123);
    stack.setEasingCurve(QEasingCurve::Linear);
    QCOMPARE(stack.property("speed").toInt(), 123);
    QCOMPARE(stack.property("easingCurve").value<QEasingCurve::Type>(), QEasingCurve::Linear);

    // Both properties are declared readable and writable, easing curve first.
    const QMetaObject *meta = stack.metaObject();
    const int first = meta->propertyOffset();
    QCOMPARE(meta->propertyCount() - first, 2);
    QCOMPARE(QLatin1String(meta->property(first).name()), QLatin1String("easingCurve"));
    QCOMPARE(QLatin1String(meta->property(first + 1).name()), QLatin1String("speed"));
    for (int i = first; i < meta->propertyCount(); ++i) {
        QVERIFY(meta->property(i).isReadable());
        QVERIFY(meta->property(i).isWritable());
    }
}

void TestSlidingStack::setAnimationSetsEasingCurve()
{
    CSlidingStackedWidget stack;
    QVERIFY(QMetaObject::invokeMethod(&stack, "setAnimation",
                                      Q_ARG(QEasingCurve::Type, QEasingCurve::InBack)));
    QCOMPARE(stack.easingCurve(), QEasingCurve::InBack);
    stack.setAnimation(QEasingCurve::OutBounce);
    QCOMPARE(stack.property("easingCurve").value<QEasingCurve::Type>(), QEasingCurve::OutBounce);
}

void TestSlidingStack::firstPageIsCurrentWithoutAnimation()
{
    StackFixture fixture(2);
    QVERIFY(fixture.exposed());
    QCOMPARE(fixture.stack->currentIndex(), 0);
    QVERIFY(fixture.stack->widget(0)->isVisible());
    QVERIFY(!fixture.stack->widget(1)->isVisible());
    QCOMPARE(fixture.stack->widget(0)->geometry(), fixture.stack->rect());
}

void TestSlidingStack::slideMovesPagesAndChangesIndexAtTheEnd_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<bool>("forward");

    QTest::newRow("forward 0 to 1") << 0 << 1 << true;
    QTest::newRow("forward 0 to 2") << 0 << 2 << true;
    QTest::newRow("backward 2 to 0") << 2 << 0 << false;
    QTest::newRow("backward 1 to 0") << 1 << 0 << false;
}

void TestSlidingStack::slideMovesPagesAndChangesIndexAtTheEnd()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(bool, forward);

    // Long enough to look at the pages while they move.
    StackFixture fixture(3, 600);
    fixture.stack->setCurrentIndex(from);
    QVERIFY(fixture.exposed());
    fixture.log.clear();
    CSlidingStackedWidget *stack = fixture.stack.get();
    QWidget *outgoing = stack->widget(from);
    QWidget *incoming = stack->widget(to);
    const int w = stack->frameRect().width();
    QSignalSpy finished(stack, &CSlidingStackedWidget::animationFinished);

    stack->slide(to);

    // The incoming page starts one full width away on the side it comes from, above the
    // outgoing page; the index does not change yet.
    QCOMPARE(stack->currentIndex(), from);
    QVERIFY(incoming->isVisible());
    QCOMPARE(incoming->size(), stack->frameRect().size());
    QCOMPARE(incoming->pos(), QPoint(forward ? w : -w, 0));
    QVERIFY(fixture.log.isEmpty());

    // While the slide runs both pages move the same way.
    if (forward) {
        QTRY_VERIFY(outgoing->pos().x() < 0);
        QVERIFY(incoming->pos().x() < w);
    } else {
        QTRY_VERIFY(outgoing->pos().x() > 0);
        QVERIFY(incoming->pos().x() > -w);
    }
    QCOMPARE(stack->currentIndex(), from);
    QCOMPARE(finished.count(), 0);

    QVERIFY(finished.wait());
    QCOMPARE(stack->currentIndex(), to);
    QCOMPARE(fixture.log,
             QStringList({QStringLiteral("current:%1").arg(to), QStringLiteral("finished")}));
    QCOMPARE(incoming->pos(), QPoint(0, 0));
    QVERIFY(incoming->isVisible());
    QVERIFY(!outgoing->isVisible());
}

void TestSlidingStack::slideTakesTheConfiguredSpeed()
{
    StackFixture fixture(2, 600);
    QVERIFY(fixture.exposed());
    QSignalSpy finished(fixture.stack.get(), &CSlidingStackedWidget::animationFinished);
    QElapsedTimer clock;
    clock.start();
    fixture.stack->slide(1);
    QVERIFY(finished.wait());
    // Timers may run late but an animation never ends early.
    QVERIFY2(clock.elapsed() >= 580, qPrintable(QString::number(clock.elapsed())));

    // A new speed counts from the next slide on.
    fixture.stack->setSpeed(50);
    clock.restart();
    fixture.stack->slide(0);
    QVERIFY(finished.wait());
    QCOMPARE(finished.count(), 2);
    QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
}

void TestSlidingStack::outgoingPageIsHiddenAndBackInPlace()
{
    StackFixture fixture(2);
    QVERIFY(fixture.exposed());
    CSlidingStackedWidget *stack = fixture.stack.get();
    QWidget *first = stack->widget(0);
    QWidget *second = stack->widget(1);
    // A position of its own, so that "back in place" cannot be confused with the origin.
    first->move(7, 3);
    QSignalSpy finished(stack, &CSlidingStackedWidget::animationFinished);

    stack->slide(1);
    QVERIFY(finished.wait());
    QVERIFY(!first->isVisible());
    QCOMPARE(first->pos(), QPoint(7, 3));
    QVERIFY(second->isVisible());
    QCOMPARE(second->pos(), QPoint(0, 0));

    // The way back starts from where the layout left the pages.
    second->move(0, 0);
    stack->slide(0);
    QVERIFY(finished.wait());
    QVERIFY(!second->isVisible());
    QCOMPARE(second->pos(), QPoint(0, 0));
    QVERIFY(first->isVisible());
    QCOMPARE(first->pos(), QPoint(0, 0));
    QCOMPARE(stack->currentIndex(), 0);
}

void TestSlidingStack::requestWhileIdle_data()
{
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("request");
    QTest::addColumn<QStringList>("expectedLog");

    QTest::newRow("1 from page 0") << 2 << 0 << 1 << events({"current:1", "finished"});
    QTest::newRow("0 from page 2") << 3 << 2 << 0 << events({"current:0", "finished"});
    // An index that wraps slides to the page it names; as the raw index never equals the new
    // current index, the stack then asks once more, finds the page current and repeats
    // currentChanged instead of emitting animationFinished.
    QTest::newRow("2 wraps to page 0") << 2 << 1 << 2 << events({"current:0", "current:0"});
    QTest::newRow("3 wraps to page 1") << 2 << 0 << 3 << events({"current:1", "current:1"});
    QTest::newRow("-1 is the last page") << 2 << 0 << -1 << events({"current:1", "current:1"});
    QTest::newRow("-2 is the first page") << 2 << 1 << -2 << events({"current:0", "current:0"});
    QTest::newRow("-1 of three pages") << 3 << 0 << -1 << events({"current:2", "current:2"});
    QTest::newRow("5 of three pages") << 3 << 0 << 5 << events({"current:2", "current:2"});
    // The page that is already current: currentChanged with its index and nothing else.
    QTest::newRow("current page 0") << 2 << 0 << 0 << events({"current:0"});
    QTest::newRow("current page 1") << 2 << 1 << 1 << events({"current:1"});
    QTest::newRow("2 wraps to current page 0") << 2 << 0 << 2 << events({"current:0"});
    QTest::newRow("-1 wraps to current page 1") << 2 << 1 << -1 << events({"current:1"});
    // Below -count no page is named and nothing happens.
    QTest::newRow("-3 names no page") << 2 << 0 << -3 << QStringList();
    QTest::newRow("-7 names no page") << 3 << 1 << -7 << QStringList();
}

void TestSlidingStack::requestWhileIdle()
{
    QFETCH(int, pages);
    QFETCH(int, start);
    QFETCH(int, request);
    QFETCH(QStringList, expectedLog);

    StackFixture fixture(pages);
    fixture.stack->setCurrentIndex(start);
    QVERIFY(fixture.exposed());
    fixture.log.clear();
    QSignalSpy finished(fixture.stack.get(), &CSlidingStackedWidget::animationFinished);

    fixture.stack->slide(request);
    if (expectedLog.size() == 2) {
        // A slide runs: nothing is said before it ends.
        QVERIFY(fixture.log.isEmpty());
        QTRY_COMPARE(fixture.log, expectedLog);
    } else {
        // No slide runs: whatever is said is said at once.
        QCOMPARE(fixture.log, expectedLog);
    }
    QVERIFY(!finished.wait(fixture.stack->speed() * 4));
    QCOMPARE(fixture.log, expectedLog);
    const int expectedIndex =
        expectedLog.isEmpty() ? start : expectedLog.first().section(QLatin1Char(':'), 1).toInt();
    QCOMPARE(fixture.stack->currentIndex(), expectedIndex);
    QVERIFY(fixture.stack->currentWidget()->isVisible());
    QCOMPARE(fixture.stack->currentWidget()->pos(), QPoint(0, 0));
}

void TestSlidingStack::emptyStackIgnoresRequests()
{
    CSlidingStackedWidget stack;
    stack.resize(200, 100);
    stack.show();
    QSignalSpy changed(&stack, &QStackedWidget::currentChanged);
    QSignalSpy finished(&stack, &CSlidingStackedWidget::animationFinished);
    stack.slide(0);
    stack.slide(1);
    stack.slide(-1);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(finished.count(), 0);
    QCOMPARE(stack.currentIndex(), -1);
}

void TestSlidingStack::requestsDuringSlide_data()
{
    QTest::addColumn<QList<int>>("requests");
    QTest::addColumn<QStringList>("expectedLog");

    // The first request starts a slide, the others arrive while it runs.
    QTest::newRow("again the incoming page")
        << QList<int>{1, 1} << events({"current:1", "finished"});
    QTest::newRow("last one is the incoming page")
        << QList<int>{1, 2, 0, 1} << events({"current:1", "finished"});
    QTest::newRow("only the last counts")
        << QList<int>{1, 0, 2} << events({"current:1", "current:2", "finished"});
    QTest::newRow("earlier requests are forgotten")
        << QList<int>{2, 1, 0, 1, 0} << events({"current:2", "current:0", "finished"});
    // A negative index never equals the current index: once the page it names is current the
    // stack asks once more, finds that page current and ends without animationFinished.
    QTest::newRow("negative index of the incoming page")
        << QList<int>{2, -1} << events({"current:2", "current:2"});
    QTest::newRow("raw index differs from the page it names")
        << QList<int>{1, -3} << events({"current:1", "current:0", "current:0"});
}

void TestSlidingStack::requestsDuringSlide()
{
    QFETCH(QList<int>, requests);
    QFETCH(QStringList, expectedLog);

    StackFixture fixture(3);
    QVERIFY(fixture.exposed());
    QSignalSpy finished(fixture.stack.get(), &CSlidingStackedWidget::animationFinished);
    for (int request : qAsConst(requests))
        fixture.stack->slide(request);
    QCOMPARE(fixture.stack->currentIndex(), 0);
    QVERIFY(fixture.log.isEmpty());

    QTRY_COMPARE(fixture.log, expectedLog);
    // Nothing is left over once the stack has come to rest.
    QVERIFY(!finished.wait(fixture.stack->speed() * 4));
    QCOMPARE(fixture.log, expectedLog);
    QCOMPARE(fixture.stack->currentWidget()->pos(), QPoint(0, 0));
    for (int i = 0; i < fixture.stack->count(); ++i)
        QCOMPARE(fixture.stack->widget(i)->isVisible(), i == fixture.stack->currentIndex());
}

void TestSlidingStack::indexThatOnlyWrapsToIncomingPage()
{
    StackFixture fixture(2);
    QVERIFY(fixture.exposed());
    QSignalSpy finished(fixture.stack.get(), &CSlidingStackedWidget::animationFinished);
    QSignalSpy changed(fixture.stack.get(), &QStackedWidget::currentChanged);

    fixture.stack->slide(1);
    fixture.stack->slide(3);
    // The raw index 3 differs from the new current index 1, so the stack asks again, finds the
    // page already current and only repeats currentChanged.
    QTRY_COMPARE(changed.count(), 2);
    QCOMPARE(fixture.log, QStringList({QStringLiteral("current:1"), QStringLiteral("current:1")}));
    QVERIFY(!finished.wait(fixture.stack->speed() * 4));
    QCOMPARE(finished.count(), 0);
    QCOMPARE(fixture.stack->currentIndex(), 1);
    QVERIFY(!fixture.stack->widget(0)->isVisible());
    QVERIFY(fixture.stack->widget(1)->isVisible());

    // The stack is idle again and slides on the next request.
    fixture.stack->slide(0);
    QVERIFY(finished.wait());
    QCOMPARE(fixture.stack->currentIndex(), 0);
}

void TestSlidingStack::slideBackWhileSlidingForward()
{
    StackFixture fixture(2, 600);
    QVERIFY(fixture.exposed());
    CSlidingStackedWidget *stack = fixture.stack.get();
    QSignalSpy finished(stack, &CSlidingStackedWidget::animationFinished);

    stack->slide(1);
    stack->slide(0);
    QTRY_COMPARE(stack->currentIndex(), 1);
    QCOMPARE(finished.count(), 0);
    // The way back has started at once: page 0 comes in again from the left.
    QVERIFY(stack->widget(0)->isVisible());
    QVERIFY(stack->widget(0)->pos().x() < 0);

    QVERIFY(finished.wait());
    QCOMPARE(fixture.log, QStringList({QStringLiteral("current:1"), QStringLiteral("current:0"),
                                       QStringLiteral("finished")}));
    QCOMPARE(stack->currentIndex(), 0);
    QVERIFY(stack->widget(0)->isVisible());
    QCOMPARE(stack->widget(0)->pos(), QPoint(0, 0));
    QVERIFY(!stack->widget(1)->isVisible());
    QCOMPARE(stack->widget(1)->pos(), QPoint(0, 0));
    QVERIFY(!finished.wait(stack->speed() * 4));
    QCOMPARE(finished.count(), 1);
}

void TestSlidingStack::destroyedDuringSlide()
{
    auto fixture = std::make_unique<StackFixture>(2, 300);
    QVERIFY(fixture->exposed());
    QPointer<QWidget> first = fixture->stack->widget(0);
    fixture->stack->slide(1);
    QTRY_VERIFY(first->pos().x() < 0);

    capturedWarnings.clear();
    previousHandler = qInstallMessageHandler(captureWarnings);
    fixture.reset();
    QVERIFY(first.isNull());

    // A longer slide elsewhere outlasts what was left of the destroyed stack's slide, whose
    // animations must not go on driving pages that are gone.
    StackFixture other(2, 600);
    QSignalSpy finished(other.stack.get(), &CSlidingStackedWidget::animationFinished);
    other.stack->slide(1);
    const bool otherFinished = finished.wait();
    qInstallMessageHandler(previousHandler);
    QVERIFY(otherFinished);
    QCOMPARE(capturedWarnings, QStringList());
}

STELVANE_TEST_MAIN(TestSlidingStack)
#include "tst_slidingstack.moc"
