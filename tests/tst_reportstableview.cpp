#include "TestSupport.h"

#include "reportlist/CMetadataModel.h"
#include "reportlist/CReportsDataSortFilterProxyModel.h"
#include "reportlist/CReportsDataTableView.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextDocument>

static const QStringList texts = // shown in three rows of five columns
    QStringLiteral("9|2024-03-01 09:15|P|1.10|Polished, girdle recut|10|2.3.2024|C|1.9||10|||1.3.5|"
                   "<b>re-cut</b> & <i>")
        .split(QLatin1Char('|'));
static const QStringList headers =
    QStringLiteral("\u2116|Date and time|Type|Viewer|Comment").split(QLatin1Char('|'));

class TestReportsTable : public QObject
{
    Q_OBJECT
    CMetadataModel model;
    CReportsDataSortFilterProxyModel proxy;
    CReportsDataTableView view;
    QHeaderView *header = view.horizontalHeader();
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
    QList<int> sections() const
    {
        return {header->sectionSize(0), header->sectionSize(1), header->sectionSize(2),
                header->sectionSize(3), header->sectionSize(4)};
    }
    void click(int row, int column, Qt::KeyboardModifiers keys = {}, bool twice = false)
    {
        const QPoint centre = view.visualRect(proxy.index(row, column)).center();
        QTest::mouseEvent(twice ? QTest::MouseDClick : QTest::MouseClick, view.viewport(),
                          Qt::LeftButton, keys, centre);
    }
    static QVariant shown(const QVariant &tip) // as the tooltip renders it
    {
        QTextDocument document;
        document.setHtml(tip.toString());
        return Qt::mightBeRichText(tip.toString()) ? document.toPlainText() : tip;
    }
    static void add(const char *tag, int role, QVariantList v) { QTest::newRow(tag) << role << v; }
    bool editing() const { return qobject_cast<QLineEdit *>(QApplication::focusWidget()); }

private slots:
    void initTestCase()
    {
        proxy.setSourceModel(&model);
        view.setModel(&proxy);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }
    void init() // "P", "C" and untyped reports needing a newer, the same and an older viewer
    {
        const auto report = [](int r, ViewerVersion v) {
            return ReportInfo{texts[5 * r].toInt(), {}, texts[5 * r + 1],
                              texts[5 * r + 2],     v,  texts[5 * r + 4]};
        };
        model.setReports({{QStringLiteral("0009"), report(0, {1, 10, 0})},
                          {QStringLiteral("0010"), report(1, {1, 9, 0})},
                          {QStringLiteral("0010_rescan"), report(2, {1, 3, 5})}},
                         {1, 9, 0});
    }

    void roles_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<QVariantList>("cells"); // three rows of five columns
        QVariant n, l = int(Qt::AlignLeft | Qt::AlignVCenter), y = QBrush(QColor(253, 255, 237));
        QVariant r = QBrush(QColor(250, 221, 214)), c = int(Qt::AlignCenter), w = QBrush(Qt::white);
        QVariant t = QStringLiteral("The required viewer version\nfor this report is greater than\n"
                                    "the latest viewer version\nin the Report Viewers folder");
        add("display", Qt::DisplayRole, QVariant(texts).toList());
        add("tooltip", Qt::ToolTipRole,
            {n, n, n, t, texts[4], n, n, n, n, n, n, n, n, n, texts[14]});
        add("alignment", Qt::TextAlignmentRole, {c, c, c, c, l, c, c, c, c, l, c, c, c, c, l});
        add("background", Qt::BackgroundRole, {w, w, w, r, w, y, y, y, y, y, n, n, n, n, n});
        add("editable", -1, {0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    }
    void roles()
    {
        QFETCH(int, role);
        QFETCH(QVariantList, cells);
        QVariantList actual;
        for (int cell = 0; cell < 15; ++cell) {
            const QModelIndex index = model.index(cell / 5, cell % 5);
            const QVariant value =
                role < 0 ? int(model.flags(index).testFlag(Qt::ItemIsEditable)) : index.data(role);
            actual << (role == Qt::ToolTipRole ? shown(value) : value);
        }
        QCOMPARE(actual, cells);
    }

    void sortsSelectsEditsAndSizes() // numbers and viewers by value, type and comment as text
    {
        const char *ascending[] = {"9|10|10", "", "|C|P", "1.3.5|1.9|1.10",
                                   "|<b>re-cut</b> & <i>|Polished, girdle recut"};
        for (int column : {0, 2, 3, 4}) {
            view.sortByColumn(column, Qt::AscendingOrder);
            QStringList cells;
            for (int row = 0; row < 3; ++row)
                cells << proxy.index(row, column).data().toString();
            QCOMPARE(cells.join(QLatin1Char('|')), QLatin1String(ascending[column]));
        }
        // One whole row at a time; only the comment edits, and only on a double click or F2.
        view.sortByColumn(0, Qt::AscendingOrder);
        view.resize(700, 300);
        click(0, 1);
        click(1, 1, Qt::ShiftModifier);
        click(2, 2, Qt::ControlModifier);
        QCOMPARE(view.selectionModel()->selectedIndexes().size(), 5);
        QCOMPARE(view.selectionModel()->selectedRows(0).value(0), proxy.index(2, 0));
        click(1, 4);
        QTest::keyClick(view.viewport(), Qt::Key_X);
        QVERIFY(!editing()); // neither a click nor typing opens the comment
        QTest::keyClick(view.viewport(), Qt::Key_F2);
        QVERIFY(editing());
        click(2, 3, {}, true); // the Type cell: closes the comment, opens nothing
        QVERIFY(!editing());

        // A long comment never widens its column; an edited comment is its tooltip.
        const QFontMetrics metrics{QFont()};
        for (int cell = 0; cell < 15; ++cell) {
            const QModelIndex index = model.index(cell / 5, cell % 5);
            const int width = index.data(Qt::SizeHintRole).toSize().width();
            QVERIFY(cell % 5 == 4 || width >= metrics.horizontalAdvance(index.data().toString()));
        }
        QCOMPARE(model.index(0, 4).data(Qt::SizeHintRole),
                 model.index(1, 4).data(Qt::SizeHintRole));
        const QString edit = QStringLiteral("Girdle re-measured");
        QVERIFY(!model.setData(model.index(1, 1), edit) && model.setData(model.index(1, 4), edit));
        QCOMPARE(model.index(1, 4).data(Qt::ToolTipRole).toString(), edit);
    }

    // Rows at the screen's scale, five in view; columns share spare width equally and fill the
    // viewport exactly; too narrow, they keep their natural widths and the table scrolls.
    void rowsAndColumns()
    {
        const int styleRow = QTableView().verticalHeader()->defaultSectionSize();
        QVERIFY(qAbs(view.rowHeight(0) - styleRow * view.logicalDpiX() / 96.0) <= 0.5);
        view.updateMinimumHeight();
        view.resize(900, 0);
        QTRY_COMPARE(view.viewport()->height() / view.rowHeight(0), 5);
        view.resize(60, 300);
        const QList<int> natural = sections();
        const int total = std::accumulate(natural.begin(), natural.end(), 0);
        const int margins = 2 * view.style()->pixelMetric(QStyle::PM_HeaderMargin);
        for (int column = 0; column < 5; ++column) { // the header text fits its section
            QCOMPARE(proxy.headerData(column, Qt::Horizontal).toString(), headers[column]);
            QVERIFY(header->fontMetrics().horizontalAdvance(headers[column]) <=
                    natural[column] - margins);
        }
        for (int width = total - 20; width < total + 60; ++width) {
            view.resize(width + 2 * view.frameWidth(), 300);
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

STELVANE_TEST_MAIN(TestReportsTable)
#include "tst_reportstableview.moc"
