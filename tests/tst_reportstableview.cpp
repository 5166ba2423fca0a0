#include "ReportFixtures.h"
#include "TestSupport.h"

#include "reportlist/CMetadataModel.h"
#include "reportlist/CReportsDataSortFilterProxyModel.h"
#include "reportlist/CReportsDataTableView.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>

using L = QLatin1String;

class TestReportsTableView : public QObject
{
    Q_OBJECT
    CMetadataModel model;
    CReportsDataSortFilterProxyModel proxy;
    CReportsDataTableView view;
    QHeaderView *header = view.horizontalHeader();

    QList<int> sections() const
    {
        QList<int> sizes;
        for (int column = 0; column < 5; ++column)
            sizes << header->sectionSize(column);
        return sizes;
    }
    QPoint cell(int row, int column) { return view.visualRect(proxy.index(row, column)).center(); }
    int openEditors() const
    {
        const auto editors = view.viewport()->findChildren<QLineEdit *>();
        return std::count_if(editors.begin(), editors.end(),
                             [](QWidget *e) { return e->isVisible(); });
    }

private slots:
    void initTestCase()
    {
        proxy.setSourceModel(&model);
        view.setModel(&proxy);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }
    void init()
    {
        model.setReports({{L("0002"), makeReport(2, {}, L("P"), {1, 10, 0}, L("beta"))},
                          {L("0009"), makeReport(9, {}, {}, {2, 0, 1}, {})},
                          {L("0010"), makeReport(10, {}, L("C"), {1, 9, 0}, L("alpha"))},
                          {L("0010_b"), makeReport(10, {}, L("P"), {2, 0, 0}, L("Alpha"))}},
                         {});
    }

    void sorting() // the number and the viewer by value, type and comment as text
    {
        const QStringList ascending = {
            QStringLiteral("2|9|10|10"), QString(), QStringLiteral("|C|P|P"),
            QStringLiteral("1.9|1.10|2.0|2.0.1"), QStringLiteral("|Alpha|alpha|beta")};
        for (int column : {0, 2, 3, 4}) {
            for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
                view.sortByColumn(column, order);
                QStringList texts;
                for (int row = 0; row < 4; ++row) // bottom-up when descending
                    texts << proxy.index(order ? 3 - row : row, column).data().toString();
                QCOMPARE(texts.join(QLatin1Char('|')), ascending[column]);
            }
        }
        QVERIFY(proxy.setData(proxy.index(0, 4), L("zulu"))); // an edited comment moves at once
        QCOMPARE(proxy.index(0, 4).data().toString(), L("zulu"));
    }

    void oneWholeRowAndOnlyTheCommentEdits()
    {
        view.sortByColumn(0, Qt::AscendingOrder);
        view.resize(700, 300);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cell(0, 1));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier, cell(2, 1));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ControlModifier, cell(3, 2));
        QCOMPARE(view.selectionModel()->selectedIndexes().size(), 5);
        QCOMPARE(view.selectionModel()->selectedRows(0).value(0), proxy.index(3, 0));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cell(1, 4));
        QTest::keyClick(view.viewport(), Qt::Key_X);
        QCOMPARE(openEditors(), 0); // neither a click nor typing opens the comment
        QTest::keyClick(view.viewport(), Qt::Key_F2);
        QCOMPARE(openEditors(), 1);
        for (int column = 0; column < 5; ++column) {
            QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cell(2, column));
            QMouseEvent doubleClick(QEvent::MouseButtonDblClick, cell(2, column), Qt::LeftButton,
                                    Qt::LeftButton, {});
            QApplication::sendEvent(view.viewport(), &doubleClick);
            QCOMPARE(openEditors(), column == 4 ? 1 : 0); // the next click closes it
        }
    }

    void rowsAtTheScreensScaleAndFiveInView()
    {
        const double scale = view.logicalDpiX() / 96.0;
        const int styleRow = QTableView().verticalHeader()->defaultSectionSize();
        QVERIFY(qAbs(view.rowHeight(0) - styleRow * scale) <= 0.5); // exact at 96 DPI
        view.updateMinimumHeight();
        view.resize(900, 0);
        QTRY_COMPARE(view.viewport()->height() / view.rowHeight(0), 5);
    }

    // The columns share any spare width equally and fill the viewport exactly; too narrow,
    // they keep their natural widths and the table scrolls. A search (adjustColumnWidths)
    // lays them out as a resize does.
    void widths_data()
    {
        QTest::addColumn<bool>("empty");
        QTest::newRow("reports") << false;
        QTest::newRow("no reports") << true;
    }
    void widths()
    {
        QFETCH(bool, empty);
        if (empty)
            model.setReports({}, {});
        view.resize(60, 300);
        const QList<int> natural = sections();
        const int total = std::accumulate(natural.begin(), natural.end(), 0);
        const int margins = 2 * view.style()->pixelMetric(QStyle::PM_HeaderMargin);
        for (int column = 0; column < 5; ++column) // the header text fits its section
            QVERIFY(header->fontMetrics().horizontalAdvance(ReportTableHeaders[column]) <=
                    natural[column] - margins);
        for (int width = total - 20; width < total + 60; ++width) {
            view.resize(width + 2 * view.frameWidth(), 300);
            QCOMPARE(view.viewport()->width(), width);
            const int spare = qMax(0, width - total);
            QList<int> expected = natural;
            for (int column = 0; column < 5; ++column)
                expected[column] += spare / 5 + (column == 4 ? spare % 5 : 0);
            QCOMPARE(sections(), expected);
            view.adjustColumnWidths();
            QCOMPARE(sections(), expected);
        }
        QTRY_VERIFY(!view.horizontalScrollBar()->isVisible());
        view.resize(total / 2, 300);
        QTRY_VERIFY(view.horizontalScrollBar()->isVisible());
    }
};

STELVANE_TEST_MAIN(TestReportsTableView)
#include "tst_reportstableview.moc"
