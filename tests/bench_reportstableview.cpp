#include "TestSupport.h"

#include "reportlist/CMetadataModel.h"
#include "reportlist/CReportsDataSortFilterProxyModel.h"
#include "reportlist/CReportsDataTableView.h"

#include <QHeaderView>

// Cost of the report table's column-width rule as the number of reports grows: refilling the
// model after a search (with the width computation that follows it) and a single resize.
class BenchReportsTableView : public QObject
{
    Q_OBJECT

private slots:
    void resetAndAdjust_data() { rowCounts(); }
    void resetAndAdjust();
    void resize_data() { rowCounts(); }
    void resize();

private:
    static void rowCounts();
    static QMap<QString, ReportInfo> makeReports(int count);
};

void BenchReportsTableView::rowCounts()
{
    QTest::addColumn<int>("rows");
    QTest::newRow("100") << 100;
    QTest::newRow("1000") << 1000;
    QTest::newRow("10000") << 10000;
}

QMap<QString, ReportInfo> BenchReportsTableView::makeReports(int count)
{
    QMap<QString, ReportInfo> reports;
    for (int i = 0; i < count; ++i) {
        ReportInfo report;
        report.prefix = i % 10000;
        report.dataFileName = QStringLiteral("report.js");
        report.dateTime = QStringLiteral("2024-%1-%2 10:%3:00")
                              .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                              .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                              .arg(i % 60, 2, 10, QLatin1Char('0'));
        report.reportType = i % 2 ? QStringLiteral("C") : QStringLiteral("P");
        report.requiredViewerVersion = ViewerVersion{1 + i % 3, i % 12, i % 4};
        report.comment = QStringLiteral("Comment of report %1").arg(i);
        reports.insert(QStringLiteral("%1_scan").arg(i, 5, 10, QLatin1Char('0')), report);
    }
    return reports;
}

void BenchReportsTableView::resetAndAdjust()
{
    QFETCH(int, rows);
    const QMap<QString, ReportInfo> reports = makeReports(rows);
    CMetadataModel model;
    CReportsDataSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    CReportsDataTableView view;
    view.setModel(&proxy);
    view.sortByColumn(0, Qt::AscendingOrder);
    view.resize(700, 400);
    view.show();

    QBENCHMARK
    {
        model.setReports(reports, ViewerVersion{2, 0, 0});
        view.adjustColumnWidths();
    }
    QCOMPARE(view.model()->rowCount(), rows);
}

void BenchReportsTableView::resize()
{
    QFETCH(int, rows);
    CMetadataModel model;
    model.setReports(makeReports(rows), ViewerVersion{2, 0, 0});
    CReportsDataSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    CReportsDataTableView view;
    view.setModel(&proxy);
    view.sortByColumn(0, Qt::AscendingOrder);
    view.resize(700, 400);
    view.show();
    view.adjustColumnWidths();

    // Each pass is one resize event: the width alternates so that every resize is real.
    int width = 700;
    QBENCHMARK
    {
        width = width == 700 ? 701 : 700;
        view.resize(width, 400);
    }
    QCOMPARE(view.width(), width);
}

STELVANE_TEST_MAIN(BenchReportsTableView)
#include "bench_reportstableview.moc"
