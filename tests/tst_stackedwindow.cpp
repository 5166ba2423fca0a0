#include "TestSupport.h"

#include "app/CSlidingStackedWidget.h"
#include "app/CStackedWindow.h"
#include "openreport/COpenReportWidget.h"
#include "settings/SettingsStore.h"

class TestStackedWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { QFile::remove(settingsFilePath()); } // each case is a first run

    void pagesAndSizeAtTheRunningDpi() // run at 96, 100 and 192 DPI
    {
        CStackedWindow window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Stelvane"));
        auto *stack = qobject_cast<CSlidingStackedWidget *>(window.centralWidget());
        QVERIFY(stack);
        QCOMPARE(stack->count(), 2);
        QCOMPARE(stack->currentIndex(), 0);
        QVERIFY(qobject_cast<COpenReportWidget *>(stack->widget(0)));
        QCOMPARE(stack->speed(), 700);

        // Margins of 20 and 10 design pixels at the screen's scale. At exactly 96 DPI the window
        // is 20 pixels lower than its hint; a hint larger than the screen gives the screen.
        // DPI: side and top margin, how much lower than the hint, whether the screen's size.
        const QMap<int, QVector<int>> rules = {
            {96, {20, 10, 20, 0}}, {100, {21, 10, 0, 0}}, {192, {40, 20, 0, 1}}};
        QVERIFY2(rules.contains(window.logicalDpiX()), "no expectation for this DPI");
        const QVector<int> rule = rules.value(window.logicalDpiX());
        QCOMPARE(window.contentsMargins(), QMargins(rule[0], rule[1], rule[0], rule[1]));
        const QSize hint = window.minimumSizeHint();
        const QSize expected = rule[3] ? QSize(800, 600) : hint - QSize(0, rule[2]);
        QCOMPARE(window.minimumSize(), expected);
        QCOMPARE(window.size(), expected);
    }

    void firstCloseStoresTheWindowAndANewWindowRestoresIt()
    {
        QRect stored;
        {
            CStackedWindow window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            stored = QRect(QPoint(37, 41), window.minimumSize() + QSize(53, 29));
            window.setGeometry(stored);
            QTRY_COMPARE(window.geometry(), stored);
            QVERIFY(!QFileInfo::exists(settingsFilePath()));
            QVERIFY(window.close());
        }
        const QByteArray text = TestDir::readAll(settingsFilePath());
        QVERIFY2(text.contains("[StackedWindow]\nWindowGeometry=@ByteArray("), text.constData());
        QSettings settings = openSettings();
        settings.beginGroup(SettingsGroup::StackedWindow);
        QCOMPARE(settings.childKeys(),
                 QStringList({QStringLiteral("WindowGeometry"), QStringLiteral("WindowState")}));

        CStackedWindow restored;
        restored.show();
        QVERIFY(QTest::qWaitForWindowExposed(&restored));
        QCOMPARE(restored.geometry(), stored);
    }
};

STELVANE_TEST_MAIN(TestStackedWindow)
#include "tst_stackedwindow.moc"
