#include "ReportFixtures.h"
#include "TestSupport.h"

#include "reportlist/CMetadataModel.h"
#include "reportlist/CReportsDataSortFilterProxyModel.h"
#include "reportlist/CReportsDataTableView.h"

#include <QAbstractItemModelTester>
#include <QFont>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyle>

#include <algorithm>
#include <numeric>

namespace {

const QStringList &headers = ReportTableHeaders;

QMap<QString, ReportInfo> someReports()
{
    QMap<QString, ReportInfo> reports;
    reports.insert(QStringLiteral("0002"),
                   makeReport(2, QStringLiteral("2024-03-01 09:15:00"), QStringLiteral("P"),
                              ViewerVersion{1, 4, 0}, QStringLiteral("First polish")));
    reports.insert(QStringLiteral("0009"),
                   makeReport(9, QStringLiteral("2024-03-02"), QStringLiteral("C"),
                              ViewerVersion{1, 10, 2}, QString()));
    reports.insert(QStringLiteral("0010"),
                   makeReport(10, QStringLiteral("3 March 2024, 14:02:59 (local time)"), QString(),
                              ViewerVersion{2, 0, 0},
                              QStringLiteral("A comment far longer than its column ever gets")));
    return reports;
}

double dpiScaleOf(const QWidget &widget)
{
    return widget.logicalDpiX() / 96.0;
}

// Frame and header margin on both sides of a column, scaled as the view scales them.
int allowanceOf(const QWidget &view)
{
    const double scale = dpiScaleOf(view);
    const int frame = qRound(view.style()->pixelMetric(QStyle::PM_DefaultFrameWidth) * scale);
    const int margin = qRound(view.style()->pixelMetric(QStyle::PM_HeaderMargin) * scale);
    return 2 * (frame + margin);
}

QString cellText(const ReportInfo &report, int column)
{
    switch (column) {
    case 0:
        return QString::number(report.prefix);
    case 1:
        return report.dateTime;
    case 2:
        return report.reportType;
    case 3:
        return viewerVersionText(report.requiredViewerVersion);
    default:
        return report.comment;
    }
}

// The natural width of each column: the widest cell (the header text when it has at least as
// many characters; twice the header for the comment column) measured in the application font,
// or for an empty table the header measured in the view's font; plus the allowance.
QVector<int> naturalWidths(const QMap<QString, ReportInfo> &reports, const QWidget &view)
{
    QVector<int> widths;
    const int allowance = allowanceOf(view);
    for (int column = 0; column < headers.size(); ++column) {
        const QString &header = headers.at(column);
        int widest = 0;
        if (reports.isEmpty()) {
            widest = view.fontMetrics().horizontalAdvance(header);
        } else {
            const QFontMetrics metrics{QFont()};
            for (const ReportInfo &report : reports) {
                const QString text = cellText(report, column);
                int width = 0;
                if (column == 4)
                    width = 2 * metrics.horizontalAdvance(header);
                else
                    width =
                        metrics.horizontalAdvance(header.length() >= text.length() ? header : text);
                widest = qMax(widest, width);
            }
        }
        widths << widest + allowance;
    }
    return widths;
}

int sum(const QVector<int> &values)
{
    return std::accumulate(values.cbegin(), values.cend(), 0);
}

QVector<int> sectionSizes(const CReportsDataTableView &view)
{
    QVector<int> sizes;
    for (int column = 0; column < view.horizontalHeader()->count(); ++column)
        sizes << view.horizontalHeader()->sectionSize(column);
    return sizes;
}

// What the width rule gives the sections for the available width: every column its natural
// width plus an equal share of the spare width, the last (stretched) section whatever is left
// of the visible width; or, without spare width, the natural widths.
void verifySections(const CReportsDataTableView &view, const QVector<int> &natural,
                    int availableWidth)
{
    const QHeaderView *header = view.horizontalHeader();
    const QVector<int> actual = sectionSizes(view);
    QCOMPARE(actual.size(), natural.size());
    const int total = sum(natural);
    const int columns = natural.size();
    if (total > availableWidth) {
        // The header never makes a section narrower than its minimum section size.
        for (int column = 0; column < columns; ++column)
            QCOMPARE(actual.at(column), qMax(natural.at(column), header->minimumSectionSize()));
        return;
    }
    const int extra = (availableWidth - total) / columns;
    for (int column = 0; column < columns - 1; ++column)
        QCOMPARE(actual.at(column), natural.at(column) + extra);
    // The stretched last section settles on exactly the visible width.
    QTRY_COMPARE(header->length(), header->viewport()->width());
    QTRY_VERIFY(!view.horizontalScrollBar()->isVisible());
}

QStringList column(const QAbstractItemModel &model, int column, int role = Qt::DisplayRole)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.index(row, column).data(role).toString();
    return texts;
}

// A model, its sort proxy and the table on it, wired as the open-report page wires them.
struct Table
{
    explicit Table(const QMap<QString, ReportInfo> &reports = someReports())
    {
        model.setReports(reports, ViewerVersion{1, 10, 0});
        proxy.setSourceModel(&model);
        view.setModel(&proxy);
        view.sortByColumn(0, Qt::AscendingOrder);
        view.updateMinimumHeight();
    }

    bool show(int width, int height = 400)
    {
        view.resize(width, height);
        view.show();
        return QTest::qWaitForWindowExposed(&view);
    }

    CMetadataModel model;
    CReportsDataSortFilterProxyModel proxy;
    CReportsDataTableView view;
};

} // namespace

class TestReportsTableView : public QObject
{
    Q_OBJECT

private slots:
    // Sorting.
    void proxyContract();
    void sortOrder_data();
    void sortOrder();
    void commentEditResortsAtOnce();

    // The view.
    void constructorSettings();
    void rowHeightScalesWithDpi();
    void minimumHeightShowsFiveRows();
    void scrollStepIsOneRow();
    void onlyCommentOpensEditor();
    void headerClickSorts();
    void columnWidthsOnResize_data();
    void columnWidthsOnResize();
    void adjustColumnWidthsUsesViewWidth_data();
    void adjustColumnWidthsUsesViewWidth();
    void emptyTableUsesHeaderWidths();
    void spareWidthSharing_data();
    void spareWidthSharing();
    void commentColumnIgnoresCommentLength();

    // The natural widths are kept between resizes; these show they never go stale.
    void widthsFollowModelChanges_data();
    void widthsFollowModelChanges();
    void widthsFollowAnyModel();
    void widthsFollowFontChange();
};

void TestReportsTableView::proxyContract()
{
    CMetadataModel model;
    CReportsDataSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::Fatal);
    proxy.sort(4, Qt::AscendingOrder);
    model.setReports(someReports(), ViewerVersion{});
    QCOMPARE(proxy.rowCount(), 3);
    QVERIFY(proxy.setData(proxy.index(0, 4), QStringLiteral("zzz")));
    QVERIFY(model.removeRows(1, 1));
    model.setReports({}, ViewerVersion{});
    QCOMPARE(proxy.rowCount(), 0);
}

void TestReportsTableView::sortOrder_data()
{
    QTest::addColumn<int>("sortColumn");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QStringList>("ascending");

    QTest::newRow("number: numeric, not text")
        << 0 << QStringList{QStringLiteral("10"), QStringLiteral("2"), QStringLiteral("9")}
        << QStringList{QStringLiteral("2"), QStringLiteral("9"), QStringLiteral("10")};
    QTest::newRow("viewer: by version triple")
        << 3
        << QStringList{QStringLiteral("1.10"), QStringLiteral("2.0.1"), QStringLiteral("1.9"),
                       QStringLiteral("2.0")}
        << QStringList{QStringLiteral("1.9"), QStringLiteral("1.10"), QStringLiteral("2.0"),
                       QStringLiteral("2.0.1")};
    QTest::newRow("type: empty, C, P")
        << 2 << QStringList{QStringLiteral("P"), QString(), QStringLiteral("C")}
        << QStringList{QString(), QStringLiteral("C"), QStringLiteral("P")};
    QTest::newRow("comment: code-unit order, case-sensitive")
        << 4
        << QStringList{QStringLiteral("beta"), QStringLiteral("alpha"), QString(),
                       QStringLiteral("Alpha")}
        << QStringList{QString(), QStringLiteral("Alpha"), QStringLiteral("alpha"),
                       QStringLiteral("beta")};
    QTest::newRow("date and time: by stored text")
        << 1
        << QStringList{QStringLiteral("10.01.2024"), QStringLiteral("09.02.2024"),
                       QStringLiteral("2023-12-31 23:59")}
        << QStringList{QStringLiteral("09.02.2024"), QStringLiteral("10.01.2024"),
                       QStringLiteral("2023-12-31 23:59")};
}

void TestReportsTableView::sortOrder()
{
    QFETCH(int, sortColumn);
    QFETCH(QStringList, values);
    QFETCH(QStringList, ascending);

    QMap<QString, ReportInfo> reports;
    for (int i = 0; i < values.size(); ++i) {
        ReportInfo report = makeReport(i + 1, QString(), QString(), {}, QString());
        const QString &value = values.at(i);
        switch (sortColumn) {
        case 0:
            report.prefix = value.toInt();
            break;
        case 1:
            report.dateTime = value;
            break;
        case 2:
            report.reportType = value;
            break;
        case 3:
            parseViewerVersion(value, report.requiredViewerVersion);
            break;
        default:
            report.comment = value;
            break;
        }
        reports.insert(QStringLiteral("%1").arg(i + 1, 4, 10, QLatin1Char('0')), report);
    }
    CMetadataModel model;
    model.setReports(reports, ViewerVersion{});
    CReportsDataSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    // Every row is shown; nothing is filtered.
    QCOMPARE(proxy.rowCount(), values.size());
    QCOMPARE(column(proxy, sortColumn), values);

    proxy.sort(sortColumn, Qt::AscendingOrder);
    QCOMPARE(column(proxy, sortColumn), ascending);

    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());
    proxy.sort(sortColumn, Qt::DescendingOrder);
    QCOMPARE(column(proxy, sortColumn), descending);
}

void TestReportsTableView::commentEditResortsAtOnce()
{
    QMap<QString, ReportInfo> reports;
    reports.insert(QStringLiteral("0001"), makeReport(1, {}, {}, {}, QStringLiteral("delta")));
    reports.insert(QStringLiteral("0002"), makeReport(2, {}, {}, {}, QStringLiteral("bravo")));
    reports.insert(QStringLiteral("0003"), makeReport(3, {}, {}, {}, QStringLiteral("foxtrot")));
    Table table(reports);
    table.view.sortByColumn(4, Qt::AscendingOrder);
    QCOMPARE(column(table.proxy, 4), (QStringList{QStringLiteral("bravo"), QStringLiteral("delta"),
                                                  QStringLiteral("foxtrot")}));

    // The first row's comment, edited through the table's own model, moves it to the end.
    QVERIFY(table.proxy.setData(table.proxy.index(0, 4), QStringLiteral("zulu")));
    QCOMPARE(
        column(table.proxy, 4),
        (QStringList{QStringLiteral("delta"), QStringLiteral("foxtrot"), QStringLiteral("zulu")}));
    QCOMPARE(column(table.proxy, 0, CMetadataModel::FolderNameRole),
             (QStringList{QStringLiteral("0001"), QStringLiteral("0003"), QStringLiteral("0002")}));
    QCOMPARE(table.model.index(1, 4).data().toString(), QStringLiteral("zulu"));

    // And an edit that sorts first moves the row to the top.
    QVERIFY(table.proxy.setData(table.proxy.index(1, 4), QStringLiteral("alpha")));
    QCOMPARE(column(table.proxy, 4), (QStringList{QStringLiteral("alpha"), QStringLiteral("delta"),
                                                  QStringLiteral("zulu")}));
}

void TestReportsTableView::constructorSettings()
{
    CReportsDataTableView view;
    QCOMPARE(view.selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(view.selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(view.editTriggers(),
             QAbstractItemView::EditTriggers(QAbstractItemView::DoubleClicked |
                                             QAbstractItemView::EditKeyPressed));
    QVERIFY(!view.tabKeyNavigation());
    QVERIFY(view.isSortingEnabled());
    QVERIFY(view.hasAutoScroll());
    QVERIFY(!view.horizontalHeader()->highlightSections());
    QVERIFY(view.horizontalHeader()->stretchLastSection());
    QVERIFY(view.verticalHeader()->isHidden());
    QCOMPARE(view.sizePolicy().horizontalPolicy(), QSizePolicy::MinimumExpanding);
    QCOMPARE(view.sizePolicy().verticalPolicy(), QSizePolicy::MinimumExpanding);
    QCOMPARE(view.frameShape(), QFrame::StyledPanel);
    QCOMPARE(view.frameShadow(), QFrame::Plain);
    QCOMPARE(view.contextMenuPolicy(), Qt::CustomContextMenu);
    QVERIFY(view.showGrid());
    QVERIFY(view.wordWrap());
    QVERIFY(!view.alternatingRowColors());

    // The user cannot drag column borders or row borders.
    CMetadataModel model;
    model.setReports(someReports(), ViewerVersion{});
    view.setModel(&model);
    for (int section = 0; section < 5; ++section)
        QCOMPARE(view.horizontalHeader()->sectionResizeMode(section), QHeaderView::Fixed);
    QCOMPARE(view.verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
}

void TestReportsTableView::rowHeightScalesWithDpi()
{
    Table table;
    QTableView plain;
    const int unscaled = plain.verticalHeader()->defaultSectionSize();
    const int expected = qRound(unscaled * dpiScaleOf(table.view));
    QCOMPARE(table.view.verticalHeader()->defaultSectionSize(), expected);
    QVERIFY(table.show(600));
    for (int row = 0; row < table.proxy.rowCount(); ++row)
        QCOMPARE(table.view.rowHeight(row), expected);
    if (table.view.logicalDpiX() != 96)
        QVERIFY(expected != unscaled);
}

void TestReportsTableView::minimumHeightShowsFiveRows()
{
    Table table;
    QVERIFY(table.show(900));
    table.view.updateMinimumHeight();
    const int rowHeight =
        qRound(QTableView().verticalHeader()->defaultSectionSize() * dpiScaleOf(table.view));
    const int frame = table.view.style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const int expected = table.view.horizontalHeader()->height() + 5 * rowHeight + 2 * frame;
    QCOMPARE(table.view.minimumHeight(), expected);

    // The table cannot be made shorter, so five rows stay in view.
    table.view.resize(900, 40);
    QCOMPARE(table.view.height(), expected);
    QVERIFY(!table.view.horizontalScrollBar()->isVisible());
    QVERIFY(table.view.viewport()->height() >= 5 * rowHeight);
}

void TestReportsTableView::scrollStepIsOneRow()
{
    QMap<QString, ReportInfo> reports;
    for (int i = 1; i <= 40; ++i)
        reports.insert(QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0')),
                       makeReport(i, QStringLiteral("2024-01-01"), QStringLiteral("P"), {}, {}));
    Table table(reports);
    QVERIFY(table.show(600, 300));
    QCOMPARE(table.view.rowAt(0), 0);
    table.view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(table.view.rowAt(0), 1);
    QCOMPARE(table.view.rowViewportPosition(1), 0);
}

void TestReportsTableView::onlyCommentOpensEditor()
{
    Table table;
    QVERIFY(table.show(700));
    QWidget *viewport = table.view.viewport();

    const QRect date = table.view.visualRect(table.proxy.index(1, 1));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, date.center());
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, date.center());
    QVERIFY(!table.view.findChild<QLineEdit *>());

    const QRect comment = table.view.visualRect(table.proxy.index(1, 4));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, comment.center());
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, comment.center());
    QTRY_VERIFY(table.view.findChild<QLineEdit *>());
    // The whole row is selected, never a single cell.
    QCOMPARE(table.view.selectionModel()->selectedRows().size(), 1);
    QCOMPARE(table.view.selectionModel()->selectedIndexes().size(), 5);
}

void TestReportsTableView::headerClickSorts()
{
    Table table;
    QVERIFY(table.show(800));
    QHeaderView *header = table.view.horizontalHeader();
    const QPoint typeSection(header->sectionViewportPosition(2) + header->sectionSize(2) / 2,
                             header->height() / 2);

    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, typeSection);
    QCOMPARE(header->sortIndicatorSection(), 2);
    QCOMPARE(column(table.proxy, 2),
             (QStringList{QString(), QStringLiteral("C"), QStringLiteral("P")}));

    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, typeSection);
    QCOMPARE(column(table.proxy, 2),
             (QStringList{QStringLiteral("P"), QStringLiteral("C"), QString()}));

    // The page's own re-sort after a search returns to the number order.
    table.view.sortByColumn(0, Qt::AscendingOrder);
    QCOMPARE(column(table.proxy, 0),
             (QStringList{QStringLiteral("2"), QStringLiteral("9"), QStringLiteral("10")}));
}

void TestReportsTableView::columnWidthsOnResize_data()
{
    QTest::addColumn<int>("viewWidth");
    QTest::newRow("wider than the natural total") << 900;
    QTest::newRow("much wider") << 1500;
    QTest::newRow("narrower than the natural total") << 250;
}

void TestReportsTableView::columnWidthsOnResize()
{
    QFETCH(int, viewWidth);
    Table table;
    const QVector<int> natural = naturalWidths(someReports(), table.view);
    QVERIFY(table.show(viewWidth));

    // On a resize the available width is the one the resize event carries: the viewport's.
    const int available = table.view.viewport()->width();
    verifySections(table.view, natural, available);
    if (sum(natural) > available) {
        QVERIFY(table.view.horizontalScrollBar()->isVisible());
        QVERIFY(table.view.horizontalScrollBar()->maximum() > 0);
    } else {
        QVERIFY(!table.view.horizontalScrollBar()->isVisible());
        // Nothing is lost to the integer division: the last section takes the remainder.
        const int extra = (available - sum(natural)) / 5;
        const int remainder = (available - sum(natural)) % 5;
        QCOMPARE(table.view.horizontalHeader()->sectionSize(4), natural.at(4) + extra + remainder);
    }
}

void TestReportsTableView::adjustColumnWidthsUsesViewWidth_data()
{
    columnWidthsOnResize_data();
}

void TestReportsTableView::adjustColumnWidthsUsesViewWidth()
{
    QFETCH(int, viewWidth);
    Table table;
    QVERIFY(table.show(viewWidth));

    // A new search: the model is refilled, the table re-sorted and the widths adjusted.
    QMap<QString, ReportInfo> reports = someReports();
    reports.insert(QStringLiteral("0011"),
                   makeReport(11, QStringLiteral("Tuesday, 12 March 2024, 16:45:10 +01:00"),
                              QStringLiteral("C"), ViewerVersion{2, 11, 12}, QString()));
    table.model.setReports(reports, ViewerVersion{2, 0, 0});
    table.view.sortByColumn(0, Qt::AscendingOrder);
    table.view.adjustColumnWidths();
    verifySections(table.view, naturalWidths(reports, table.view), table.view.width());
}

void TestReportsTableView::emptyTableUsesHeaderWidths()
{
    Table table{QMap<QString, ReportInfo>()};
    QCOMPARE(table.view.horizontalHeader()->count(), 5);
    QVERIFY(table.show(700));
    const QVector<int> natural = naturalWidths({}, table.view);
    for (int column = 0; column < 5; ++column)
        QCOMPARE(natural.at(column),
                 table.view.fontMetrics().horizontalAdvance(headers.at(column)) +
                     allowanceOf(table.view));
    verifySections(table.view, natural, table.view.viewport()->width());

    table.view.adjustColumnWidths();
    verifySections(table.view, natural, table.view.width());
}

void TestReportsTableView::spareWidthSharing_data()
{
    QTest::addColumn<QVector<int>>("natural");
    QTest::addColumn<bool>("byResize");
    QTest::addColumn<int>("extra");
    QTest::addColumn<int>("lastSection");

    // The available width is 600 pixels in every case.
    const QVector<int> even = {100, 150, 80, 90, 160};   // 580: 20 spare, 4 each
    const QVector<int> uneven = {100, 150, 80, 90, 163}; // 583: 17 spare, 3 each, 2 left
    QTest::newRow("580 by resize") << even << true << 4 << 160 + 4;
    QTest::newRow("583 by resize") << uneven << true << 3 << 163 + 3 + 2;
    QTest::newRow("580 by adjust") << even << false << 4 << -1;
    QTest::newRow("583 by adjust") << uneven << false << 3 << -1;
}

void TestReportsTableView::spareWidthSharing()
{
    QFETCH(QVector<int>, natural);
    QFETCH(bool, byResize);
    QFETCH(int, extra);
    QFETCH(int, lastSection);

    // Any model will do: here each column's size hint gives exactly the wanted natural width.
    CReportsDataTableView view;
    const int allowance = allowanceOf(view);
    QStandardItemModel model(1, 5);
    for (int column = 0; column < 5; ++column)
        model.setData(model.index(0, column), QSize(natural.at(column) - allowance, 20),
                      Qt::SizeHintRole);
    view.setModel(&model);

    if (byResize) {
        view.resize(600 + 2 * view.frameWidth(), 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCOMPARE(view.viewport()->width(), 600);
    } else {
        view.resize(600, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.adjustColumnWidths();
    }
    for (int column = 0; column < 4; ++column)
        QCOMPARE(view.horizontalHeader()->sectionSize(column), natural.at(column) + extra);
    if (lastSection >= 0)
        QCOMPARE(view.horizontalHeader()->sectionSize(4), lastSection);
    QTRY_COMPARE(view.horizontalHeader()->length(), view.viewport()->width());
    QVERIFY(!view.horizontalScrollBar()->isVisible());
}

void TestReportsTableView::commentColumnIgnoresCommentLength()
{
    QMap<QString, ReportInfo> shortComments = someReports();
    QMap<QString, ReportInfo> longComments = someReports();
    for (ReportInfo &report : longComments)
        report.comment = QStringLiteral("a very long comment indeed ").repeated(30);

    Table shortTable(shortComments);
    Table longTable(longComments);
    QVERIFY(shortTable.show(400));
    QVERIFY(longTable.show(400));
    QCOMPARE(sectionSizes(longTable.view), sectionSizes(shortTable.view));
    QCOMPARE(longTable.view.horizontalHeader()->sectionSize(4),
             naturalWidths(longComments, longTable.view).at(4));
}

void TestReportsTableView::widthsFollowModelChanges_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("comment edited") << QStringLiteral("edit");
    QTest::newRow("longer date after a new search") << QStringLiteral("reset");
    QTest::newRow("widest report deleted") << QStringLiteral("remove");
    QTest::newRow("table cleared") << QStringLiteral("clear");
}

void TestReportsTableView::widthsFollowModelChanges()
{
    QFETCH(QString, change);
    QMap<QString, ReportInfo> reports = someReports();
    Table table(reports);
    QVERIFY(table.show(900));
    const QVector<int> before = naturalWidths(reports, table.view);
    verifySections(table.view, before, table.view.viewport()->width());

    // The change reaches the view through the model only; no width adjustment is asked for.
    if (change == QLatin1String("edit")) {
        QVERIFY(table.proxy.setData(table.proxy.index(0, 4),
                                    QStringLiteral("A new comment, much longer than the column "
                                                   "header and every other comment")));
        reports[QStringLiteral("0002")].comment = table.proxy.index(0, 4).data().toString();
    } else if (change == QLatin1String("reset")) {
        reports[QStringLiteral("0009")].dateTime =
            QStringLiteral("Saturday, 2 March 2024, 16:45:10.123 Central European Time");
        reports[QStringLiteral("0009")].prefix = 1234;
        table.model.setReports(reports, ViewerVersion{1, 10, 0});
    } else if (change == QLatin1String("remove")) {
        QVERIFY(table.model.removeRows(2, 1)); // 0010, the longest date and time
        reports.remove(QStringLiteral("0010"));
    } else {
        table.model.setReports({}, ViewerVersion{});
        reports.clear();
    }
    const QVector<int> after = naturalWidths(reports, table.view);
    if (change != QLatin1String("edit"))
        QVERIFY(after != before);

    table.view.resize(901, 400);
    verifySections(table.view, after, table.view.viewport()->width());
}

void TestReportsTableView::widthsFollowAnyModel()
{
    CReportsDataTableView view;
    const int allowance = allowanceOf(view);
    QStandardItemModel model(1, 5);
    for (int column = 0; column < 5; ++column)
        model.setData(model.index(0, column), QSize(50, 20), Qt::SizeHintRole);
    view.setModel(&model);
    view.resize(400, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVector<int> natural(5, 50 + allowance);
    verifySections(view, natural, view.viewport()->width());

    // A cell's size hint changes.
    model.setData(model.index(0, 1), QSize(120, 20), Qt::SizeHintRole);
    natural[1] = 120 + allowance;
    view.resize(401, 300);
    verifySections(view, natural, view.viewport()->width());

    // A wider row is added.
    model.insertRow(1);
    model.setData(model.index(1, 2), QSize(90, 20), Qt::SizeHintRole);
    natural[2] = 90 + allowance;
    view.resize(400, 300);
    verifySections(view, natural, view.viewport()->width());

    // The view is given another model.
    QStandardItemModel other(1, 5);
    for (int column = 0; column < 5; ++column)
        other.setData(other.index(0, column), QSize(30 + column, 20), Qt::SizeHintRole);
    view.setModel(&other);
    for (int column = 0; column < 5; ++column)
        natural[column] = 30 + column + allowance;
    view.resize(401, 300);
    verifySections(view, natural, view.viewport()->width());
}

void TestReportsTableView::widthsFollowFontChange()
{
    Table table{QMap<QString, ReportInfo>()};
    QVERIFY(table.show(900));
    verifySections(table.view, naturalWidths({}, table.view), table.view.viewport()->width());

    QFont larger = table.view.font();
    larger.setPointSize(larger.pointSize() * 2);
    const QVector<int> before = naturalWidths({}, table.view);
    table.view.setFont(larger);
    const QVector<int> after = naturalWidths({}, table.view);
    QVERIFY(after != before);
    table.view.resize(901, 400);
    verifySections(table.view, after, table.view.viewport()->width());
}

STELVANE_TEST_MAIN(TestReportsTableView)
#include "tst_reportstableview.moc"
