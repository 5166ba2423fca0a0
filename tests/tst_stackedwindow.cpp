#include "TestSupport.h"

#include "app/CSlidingStackedWidget.h"
#include "app/CStackedWindow.h"
#include "openreport/COpenReportWidget.h"
#include "settings/SettingsStore.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <memory>

class TestStackedWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void identityAndPages();
    void marginsFollowTheScreenDpi();
    void minimumAndInitialSizeFollowTheHint();
    void firstCloseCreatesWindowGroup();
    void everyCloseStoresTheCurrentGeometry();
    void storedGeometryIsRestored();
    void storedGeometryKeepsTheMinimumSize();
    void unusableStoredValuesAreIgnored();
    void startsOnOpenReportPageWhateverWasShown();
    void pageSlotsSlideBetweenPages();
    void pagesAreReleasedSettingsFirst();

private:
    static CSlidingStackedWidget *pageStack(CStackedWindow &window) { return window.pageStack; }
    static double dpiScale(const QWidget &widget) { return widget.logicalDpiX() / 96.0; }
    // The size that the window gives itself from its minimum size hint and the screen.
    static QSize expectedMinimumSize(CStackedWindow &window);
};

void TestStackedWindow::init()
{
    // Each case starts like a first run on a fresh machine.
    QFile::remove(settingsFilePath());
    QVERIFY(!QFileInfo::exists(settingsFilePath()));
}

QSize TestStackedWindow::expectedMinimumSize(CStackedWindow &window)
{
    const QSize hint = window.minimumSizeHint();
    const QRect screen = window.screen()->geometry();
    if (hint.width() > screen.width() || hint.height() > screen.height())
        return screen.size();
    if (dpiScale(window) == 1.0) {
        const QMargins margins = window.contentsMargins();
        return QSize(hint.width(), hint.height() - margins.top() - margins.bottom());
    }
    return hint;
}

void TestStackedWindow::identityAndPages()
{
    CStackedWindow window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Stelvane"));
    QVERIFY(!window.windowIcon().isNull());
    QVERIFY(!window.windowIcon().availableSizes().isEmpty());
    QCOMPARE(window.parentWidget(), nullptr);
    QCOMPARE(window.sizePolicy().horizontalPolicy(), QSizePolicy::MinimumExpanding);
    QCOMPARE(window.sizePolicy().verticalPolicy(), QSizePolicy::MinimumExpanding);

    auto *stack = qobject_cast<CSlidingStackedWidget *>(window.centralWidget());
    QVERIFY(stack);
    QCOMPARE(stack, pageStack(window));
    QCOMPARE(stack->count(), 2);
    QCOMPARE(stack->currentIndex(), 0);
    QVERIFY(qobject_cast<COpenReportWidget *>(stack->widget(0)));
    QVERIFY(stack->widget(1));
    QCOMPARE(stack->speed(), 700);
    QCOMPARE(stack->easingCurve(), QEasingCurve::OutQuart);

    // Only the two page-switching slots are added to the main window's meta-object.
    const QMetaObject *meta = window.metaObject();
    QCOMPARE(meta->methodCount() - meta->methodOffset(), 2);
    QCOMPARE(meta->method(meta->methodOffset()).methodSignature(),
             QByteArray("showSettingsWidget()"));
    QCOMPARE(meta->method(meta->methodOffset() + 1).methodSignature(),
             QByteArray("showOpenReportWidget()"));
    QCOMPARE(meta->method(meta->methodOffset()).access(), QMetaMethod::Private);
}

void TestStackedWindow::marginsFollowTheScreenDpi()
{
    CStackedWindow window;
    const double scale = dpiScale(window);
    const QMargins expected(qRound(20 * scale), qRound(10 * scale), qRound(20 * scale),
                            qRound(10 * scale));
    QCOMPARE(window.contentsMargins(), expected);
    if (window.logicalDpiX() == 100) {
        // The offscreen platform: 20 * 100 / 96 = 20.8 and 10 * 100 / 96 = 10.4.
        QCOMPARE(window.contentsMargins(), QMargins(21, 10, 21, 10));
    }

    // The central widget sits inside the margins.
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect central = window.centralWidget()->geometry();
    QCOMPARE(central.left(), expected.left());
    QCOMPARE(central.top(), expected.top());
    QCOMPARE(window.width() - central.right() - 1, expected.right());
    QCOMPARE(window.height() - central.bottom() - 1, expected.bottom());
}

void TestStackedWindow::minimumAndInitialSizeFollowTheHint()
{
    CStackedWindow window;
    const QSize expected = expectedMinimumSize(window);
    QVERIFY(expected.isValid());
    // The hint counts the margins, so it is taken after they are set.
    QVERIFY(expected.width() > window.contentsMargins().left() + window.contentsMargins().right());
    QCOMPARE(window.minimumSize(), expected);
    QCOMPARE(window.size(), expected);
    if (dpiScale(window) != 1.0 && expected != window.screen()->geometry().size())
        QCOMPARE(window.minimumSize(), window.minimumSizeHint());

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.size(), expected);
    // The minimum size holds against the user.
    window.resize(expected.width() / 2, expected.height() / 2);
    QCOMPARE(window.size(), expected);
}

void TestStackedWindow::firstCloseCreatesWindowGroup()
{
    const QString path = settingsFilePath();
    {
        CStackedWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // Opening the window reads the file but does not create it.
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(window.close());
        QVERIFY(!window.isVisible());

        QVERIFY(QFileInfo::exists(path));
        const QByteArray text = TestDir::readAll(path);
        QVERIFY2(text.contains("[StackedWindow]"), text.constData());
        QVERIFY2(text.contains("\nWindowGeometry="), text.constData());
        QVERIFY2(text.contains("\nWindowState="), text.constData());

        QSettings settings(path, QSettings::IniFormat);
        QCOMPARE(settings.childGroups(), QStringList{SettingsGroup::StackedWindow});
        settings.beginGroup(SettingsGroup::StackedWindow);
        QStringList keys = settings.childKeys();
        keys.sort();
        QCOMPARE(keys, QStringList({SettingsKey::WindowGeometry, SettingsKey::WindowState}));
        QCOMPARE(settings.value(SettingsKey::WindowGeometry).toByteArray(), window.saveGeometry());
        QCOMPARE(settings.value(SettingsKey::WindowState).toByteArray(), window.saveState(0));
        settings.endGroup();
    }
    // Whatever the pages store on their way out goes outside the window's group.
    QSettings settings(path, QSettings::IniFormat);
    QCOMPARE(settings.childGroups(), QStringList{SettingsGroup::StackedWindow});
    settings.beginGroup(SettingsGroup::StackedWindow);
    QCOMPARE(settings.childKeys().size(), 2);
}

void TestStackedWindow::everyCloseStoresTheCurrentGeometry()
{
    CStackedWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.close();
    const QByteArray first = [] {
        QSettings settings(settingsFilePath(), QSettings::IniFormat);
        return settings.value(QStringLiteral("StackedWindow/WindowGeometry")).toByteArray();
    }();
    QVERIFY(!first.isEmpty());

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.resize(window.size() + QSize(31, 17));
    QTRY_COMPARE(window.size(), window.minimumSize() + QSize(31, 17));
    window.close();
    QSettings settings(settingsFilePath(), QSettings::IniFormat);
    const QByteArray second =
        settings.value(QStringLiteral("StackedWindow/WindowGeometry")).toByteArray();
    QVERIFY(second != first);
    QCOMPARE(second, window.saveGeometry());
}

void TestStackedWindow::storedGeometryIsRestored()
{
    QRect stored;
    {
        CStackedWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect target(QPoint(37, 41), window.minimumSize() + QSize(53, 29));
        window.setGeometry(target);
        QTRY_COMPARE(window.geometry(), target);
        stored = window.geometry();
        window.close();
    }

    CStackedWindow restored;
    // The stored geometry replaces the computed initial size, before the window is shown.
    QCOMPARE(restored.size(), stored.size());
    QVERIFY(restored.size() != restored.minimumSize());
    restored.show();
    QVERIFY(QTest::qWaitForWindowExposed(&restored));
    QCOMPARE(restored.geometry(), stored);
    QCOMPARE(restored.minimumSize(), expectedMinimumSize(restored));
}

void TestStackedWindow::storedGeometryKeepsTheMinimumSize()
{
    QPoint storedPosition;
    {
        // A geometry from a window far smaller than the client's minimum.
        QMainWindow small;
        small.setGeometry(60, 70, 120, 90);
        small.show();
        QVERIFY(QTest::qWaitForWindowExposed(&small));
        storedPosition = small.geometry().topLeft();
        QSettings settings = openSettings();
        settings.beginGroup(SettingsGroup::StackedWindow);
        settings.setValue(SettingsKey::WindowGeometry, small.saveGeometry());
        settings.endGroup();
    }
    CStackedWindow window;
    const QSize minimum = expectedMinimumSize(window);
    QCOMPARE(window.minimumSize(), minimum);
    QVERIFY(window.width() >= minimum.width());
    QVERIFY(window.height() >= minimum.height());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.geometry().topLeft(), storedPosition);
}

void TestStackedWindow::unusableStoredValuesAreIgnored()
{
    QDir().mkpath(QFileInfo(settingsFilePath()).absolutePath());
    QFile file(settingsFilePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[StackedWindow]\nWindowGeometry=not a geometry\nWindowState=@ByteArray(\\0\\x1)\n");
    file.close();

    CStackedWindow window;
    QCOMPARE(window.size(), expectedMinimumSize(window));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.close());
    // The next close stores real values over the unusable ones.
    QSettings settings(settingsFilePath(), QSettings::IniFormat);
    settings.beginGroup(SettingsGroup::StackedWindow);
    QCOMPARE(settings.value(SettingsKey::WindowGeometry).toByteArray(), window.saveGeometry());
}

void TestStackedWindow::startsOnOpenReportPageWhateverWasShown()
{
    {
        CStackedWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy finished(pageStack(window), &CSlidingStackedWidget::animationFinished);
        QVERIFY(QMetaObject::invokeMethod(&window, "showSettingsWidget"));
        QVERIFY(finished.wait());
        QCOMPARE(pageStack(window)->currentIndex(), 1);
        window.close();
    }
    CStackedWindow window;
    QCOMPARE(pageStack(window)->currentIndex(), 0);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(pageStack(window)->widget(0)->isVisible());
    QVERIFY(!pageStack(window)->widget(1)->isVisible());
}

void TestStackedWindow::pageSlotsSlideBetweenPages()
{
    CStackedWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    CSlidingStackedWidget *stack = pageStack(window);
    QSignalSpy finished(stack, &CSlidingStackedWidget::animationFinished);
    QSignalSpy changed(stack, &QStackedWidget::currentChanged);

    QElapsedTimer clock;
    clock.start();
    QVERIFY(QMetaObject::invokeMethod(&window, "showSettingsWidget"));
    QCOMPARE(stack->currentIndex(), 0);
    QVERIFY(stack->widget(1)->isVisible()); // on its way in
    QVERIFY(finished.wait());
    // The window's slides take 700 ms; an animation never ends early.
    QVERIFY2(clock.elapsed() >= 680, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(stack->currentIndex(), 1);
    QCOMPARE(changed.count(), 1);
    QVERIFY(!stack->widget(0)->isVisible());

    QVERIFY(QMetaObject::invokeMethod(&window, "showSettingsWidget"));
    QCOMPARE(changed.count(), 2); // already there: no slide
    QCOMPARE(finished.count(), 1);

    QVERIFY(QMetaObject::invokeMethod(&window, "showOpenReportWidget"));
    QVERIFY(finished.wait());
    QCOMPARE(stack->currentIndex(), 0);
    QVERIFY(stack->widget(0)->isVisible());
    QVERIFY(!stack->widget(1)->isVisible());
    QCOMPARE(stack->widget(0)->geometry(), stack->contentsRect());
}

void TestStackedWindow::pagesAreReleasedSettingsFirst()
{
    auto window = std::make_unique<CStackedWindow>();
    QPointer<QWidget> openReportPage = pageStack(*window)->widget(0);
    QPointer<QWidget> settingsPage = pageStack(*window)->widget(1);
    QPointer<CSlidingStackedWidget> stack = pageStack(*window);
    QStringList order;
    connect(openReportPage, &QObject::destroyed, this,
            [&order] { order << QStringLiteral("open-report"); });
    connect(settingsPage, &QObject::destroyed, this,
            [&order] { order << QStringLiteral("settings"); });
    connect(stack, &QObject::destroyed, this, [&order] { order << QStringLiteral("stack"); });

    window.reset();
    QVERIFY(openReportPage.isNull());
    QVERIFY(settingsPage.isNull());
    QVERIFY(stack.isNull());
    QCOMPARE(order, QStringList({QStringLiteral("settings"), QStringLiteral("open-report"),
                                 QStringLiteral("stack")}));
}

STELVANE_TEST_MAIN(TestStackedWindow)
#include "tst_stackedwindow.moc"
