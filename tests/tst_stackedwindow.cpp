#include "TestSupport.h"

#include "app/CSlidingStackedWidget.h"
#include "app/CStackedWindow.h"
#include "openreport/COpenReportWidget.h"
#include "settings/SettingsStore.h"

#include <QDialogButtonBox>
#include <QPushButton>

class TestStackedWindow : public QObject
{
    Q_OBJECT

private slots:
    void firstRunAtTheScreensDpiThenRestoresWhereClosed() // run at 96, 100 and 192 DPI
    {
        QRect stored;
        {
            CStackedWindow window;
            auto *stack = qobject_cast<CSlidingStackedWidget *>(window.centralWidget());
            QVERIFY(stack && stack->count() == 2 && stack->speed() == 700);
            QVERIFY(qobject_cast<COpenReportWidget *>(stack->currentWidget()));
            // DPI: side and top margins (20 and 10 design pixels), pixels below the hint (only at
            // 96 DPI), whether the hint outgrows the screen and the window takes the screen's size.
            const QMap<int, QVector<int>> rules = {
                {96, {20, 10, 20, 0}}, {100, {21, 10, 0, 0}}, {192, {40, 20, 0, 1}}};
            QVERIFY2(rules.contains(window.logicalDpiX()), "no expectation for this DPI");
            const QVector<int> rule = rules.value(window.logicalDpiX());
            QCOMPARE(window.contentsMargins(), QMargins(rule[0], rule[1], rule[0], rule[1]));
            const QSize expected =
                rule[3] ? QSize(800, 600) : window.minimumSizeHint() - QSize(0, rule[2]);
            QVERIFY(window.minimumSize() == expected && window.size() == expected);

            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            stack->slide(1); // Cancel on the settings page slides back
            QTRY_COMPARE(stack->currentIndex(), 1);
            stack->widget(1)
                ->findChild<QDialogButtonBox *>()
                ->button(QDialogButtonBox::Cancel)
                ->click();
            QTRY_COMPARE(stack->currentIndex(), 0);
            stored = QRect(QPoint(37, 41), window.minimumSize() + QSize(53, 29));
            window.setGeometry(stored);
            QTRY_COMPARE(window.geometry(), stored);
            QVERIFY(window.close());
        }
        QVERIFY(TestDir::readAll(settingsFilePath())
                    .replace("\r\n", "\n")
                    .contains("[StackedWindow]\nWindowGeometry="));
        CStackedWindow restored;
        restored.show();
        QVERIFY(QTest::qWaitForWindowExposed(&restored));
        QCOMPARE(restored.geometry(), stored);
    }
};

STELVANE_TEST_MAIN(TestStackedWindow)
#include "tst_stackedwindow.moc"
