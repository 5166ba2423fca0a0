#include "TestSupport.h"

#include "reportlist/CMetadataModel.h"
#include "reportlist/CReportsDataSortFilterProxyModel.h"
#include "reportlist/CReportsDataTableView.h"

// Cost of the column widths as reports grow: after a search, and on a resize (measured before).
class BenchReportsTableView : public QObject
{
    Q_OBJECT
    CMetadataModel model;
    CReportsDataSortFilterProxyModel proxy;
    CReportsDataTableView view;

private slots:
    void widths_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("resize");
        for (bool resize : {false, true})
            for (int rows : {100, 1000, 10000})
                QTest::addRow("%s, %d rows", resize ? "resize" : "search", rows) << rows << resize;
    }
    void widths()
    {
        QFETCH(int, rows);
        QFETCH(bool, resize);
        QMap<QString, ReportInfo> found;
        for (int i = 0; i < rows; ++i) // every cell is measured once, whatever its text
            found[QString::number(100000 + i)] =
                ReportInfo{i % 10000, {}, {}, {}, {1, i % 9, 0}, {}};
        proxy.setSourceModel(&model);
        view.setModel(&proxy);
        view.sortByColumn(0, Qt::AscendingOrder);
        view.show();
        connect(&model, &QAbstractItemModel::modelReset, &view,
                &CReportsDataTableView::adjustColumnWidths, Qt::UniqueConnection);
        model.setReports(found, {2, 0, 0}); // the widths follow each refill, as after a search
        int width = 700; // resizes alternate 701 and 700 pixels, so that each one is real
        if (resize)
            QBENCHMARK view.resize(width ^= 1, 400);
        else
            QBENCHMARK model.setReports(found, {2, 0, 0});
        QCOMPARE(proxy.rowCount(), rows);
    }
};

STELVANE_TEST_MAIN(BenchReportsTableView)
#include "bench_reportstableview.moc"
