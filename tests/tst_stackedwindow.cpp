#include "TestSupport.h"

#include "app/CSlidingStackedWidget.h"
#include "app/CStackedWindow.h"
#include "openreport/COpenReportWidget.h"
#include "settings/SettingsStore.h"

#include <QScreen>

class TestStackedWindow : public QObject
{
    Q_OBJECT

private slots:
    void init() { QFile::remove(settingsFilePath()); } // each case is a first run

    void pagesAndSizeAtTheRunningDpi()
    {
        CStackedWindow window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Stelvane"));
        auto *stack = qobject_cast<CSlidingStackedWidget *>(window.centralWidget());
        QVERIFY(stack);
        QCOMPARE(stack->count(), 2);
        QCOMPARE(stack->currentIndex(), 0);
        QVERIFY(qobject_cast<COpenReportWidget *>(stack->widget(0)));
        QCOMPARE(stack->speed(), 700);

        const double scale = window.logicalDpiX() / 96.0;
        const int side = qRound(20 * scale), top = qRound(10 * scale);
        QCOMPARE(window.contentsMargins(), QMargins(side, top, side, top));
        // The hint counts the margins; at 96 DPI the vertical ones come off again.
        const QSize hint = window.minimumSizeHint(), screen = window.screen()->geometry().size();
        QSize expected = scale == 1.0 ? hint - QSize(0, 2 * top) : hint;
        if (hint.boundedTo(screen) != hint)
            expected = screen;
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
