#include "ReportFixtures.h"
#include "TestSupport.h"

#include "reportlist/CMetadataModel.h"
#include "reportlist/CReportsDataSortFilterProxyModel.h"
#include "reportlist/CReportsDataTableView.h"

#include <QHeaderView>

using L = QLatin1String;

class TestReportsTableView : public QObject
{
    Q_OBJECT
    CMetadataModel model;
    CReportsDataSortFilterProxyModel proxy;
    CReportsDataTableView view;
    const double scale = view.logicalDpiX() / 96.0;

    // A column's natural width is its widest size hint plus frame and header margin on each side;
    // spare width is shared equally, the stretched last section taking what the division leaves.
    void verifyWidthsAt(int width)
    {
        view.resize(width, 300);
        int pad = 2 * (qRound(view.style()->pixelMetric(QStyle::PM_DefaultFrameWidth) * scale) +
                       qRound(view.style()->pixelMetric(QStyle::PM_HeaderMargin) * scale));
        QVector<int> natural(5, 0);
        for (int i = 0; i < 5 * model.rowCount(); ++i)
            natural[i % 5] =
                qMax(natural[i % 5],
                     pad + model.index(i / 5, i % 5).data(Qt::SizeHintRole).toSize().width());
        int spare = view.viewport()->width() - std::accumulate(natural.begin(), natural.end(), 0);
        for (int c = 0; c < 5; ++c)
            QTRY_COMPARE(view.horizontalHeader()->sectionSize(c),
                         spare < 0 ? qMax(natural[c], view.horizontalHeader()->minimumSectionSize())
                                   : natural[c] + spare / 5 + (c == 4 ? spare % 5 : 0));
    }

private slots:
    void initTestCase()
    {
        model.setReports({{L("0002"), makeReport(2, {}, L("P"), {1, 10, 0}, L("beta"))},
                          {L("0009"), makeReport(9, {}, {}, {2, 0, 1}, {})},
                          {L("0010"), makeReport(10, {}, L("C"), {1, 9, 0}, L("alpha"))},
                          {L("0010_b"), makeReport(10, {}, L("P"), {2, 0, 0}, L("Alpha"))}},
                         {});
        proxy.setSourceModel(&model);
        view.setModel(&proxy);
        view.show();
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
    }

    void widthsAndHeight()
    {
        view.sortByColumn(4, Qt::AscendingOrder); // an edited comment moves its row at once
        QVERIFY(proxy.setData(proxy.index(0, 4), L("zulu")));
        QCOMPARE(proxy.index(3, 4).data().toString(), L("zulu"));
        verifyWidthsAt(600);
        model.setReports({{L("1234"), makeReport(1234, L("Sat, 2 March 2024"), {}, {}, {})}}, {});
        verifyWidthsAt(250); // a new search is measured again, narrower and wider than the total
        verifyWidthsAt(900);
        view.updateMinimumHeight(); // the header, five rows and the frame stay in view
        const int rest = 5 * view.rowHeight(0) + 2 * view.frameWidth();
        QCOMPARE(view.minimumHeight(), view.horizontalHeader()->height() + rest);
    }
};

STELVANE_TEST_MAIN(TestReportsTableView)
#include "tst_reportstableview.moc"
