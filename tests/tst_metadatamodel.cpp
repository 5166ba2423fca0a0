#include "ReportFixtures.h"
#include "TestSupport.h"

#include "reportlist/CMetadataModel.h"

#include <QTextDocument>

static const QStringList texts = // shown in three rows of five columns
    QStringLiteral("3|2024-03-01 09:15|P|1.4.1|Polished, girdle recut|7|2.3.2024|C|1.4||7|||1.3.5|"
                   "<b>re-cut</b> & <i>")
        .split(QLatin1Char('|'));
static const QStringList folders = QStringLiteral("0003|0007|0007_rescan").split(QLatin1Char('|'));

class TestMetadataModel : public QObject
{
    Q_OBJECT
    CMetadataModel model;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};

    // The text a tooltip shows: markup is rendered, anything else appears as it is.
    static QVariant shown(const QVariant &tip)
    {
        if (!tip.isValid() || !Qt::mightBeRichText(tip.toString()))
            return tip;
        QTextDocument document;
        document.setHtml(tip.toString());
        return document.toPlainText();
    }
    static void add(const char *tag, int role, QVariantList v) { QTest::newRow(tag) << role << v; }

private slots:
    void init() // "P", "C" and untyped reports needing a newer, the same and an older viewer
    {
        model.setReports({{folders[0], makeReport(3, texts[1], texts[2], {1, 4, 1}, texts[4])},
                          {folders[1], makeReport(7, texts[6], texts[7], {1, 4, 0}, texts[9])},
                          {folders[2], makeReport(7, texts[11], texts[12], {1, 3, 5}, texts[14])}},
                         {1, 4, 0});
    }

    void roles_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<QVariantList>("cells"); // three rows of five columns
        QVariant n, l = int(Qt::AlignLeft | Qt::AlignVCenter), y = QBrush(QColor(253, 255, 237));
        QVariant r = QBrush(QColor(250, 221, 214)), v = QVariantList{1, 4, 0}, e = QString();
        QVariant c = int(Qt::AlignCenter), u = QVariantList{1, 4, 1}, w = QBrush(Qt::white);
        QVariant t = QStringLiteral("The required viewer version\nfor this report is greater than\n"
                                    "the latest viewer version\nin the Report Viewers folder");
        add("display", Qt::DisplayRole, QVariant(texts).toList());
        add("edit", Qt::EditRole, {n, n, n, n, texts[4], n, n, n, n, e, n, n, n, n, texts[14]});
        add("tooltip", Qt::ToolTipRole,
            {n, n, n, t, texts[4], n, n, n, n, n, n, n, n, n, texts[14]});
        add("alignment", Qt::TextAlignmentRole, {c, c, c, c, l, c, c, c, c, l, c, c, c, c, l});
        add("background", Qt::BackgroundRole, {w, w, w, r, w, y, y, y, y, y, n, n, n, n, n});
        add("user", Qt::UserRole,
            {n, n, n, u, n, n, n, n, v, n, n, n, n, QVariantList{1, 3, 5}, n});
    }
    void roles()
    {
        QFETCH(int, role);
        QFETCH(QVariantList, cells);
        QVariantList actual;
        for (int cell = 0; cell < 15; ++cell)
            actual << model.index(cell / 5, cell % 5).data(role);
        if (role == Qt::ToolTipRole) // markup in a tooltip is rendered
            std::transform(actual.begin(), actual.end(), actual.begin(), shown);
        QCOMPARE(actual, cells);
    }

    void sizeHintsFitHeaderAndCell() // a long comment never widens its column
    {
        const QFontMetrics metrics{QFont()};
        for (int cell = 0; cell < 15; ++cell) {
            const QModelIndex index = model.index(cell / 5, cell % 5);
            const int width = index.data(Qt::SizeHintRole).toSize().width();
            QVERIFY(width >= metrics.horizontalAdvance(ReportTableHeaders[cell % 5]));
            QVERIFY(cell % 5 == 4 || width >= metrics.horizontalAdvance(index.data().toString()));
        }
        QCOMPARE(model.index(0, 4).data(Qt::SizeHintRole),
                 model.index(1, 4).data(Qt::SizeHintRole));
    }

    void editsAndRemovals()
    {
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        const QString edit = QStringLiteral("Girdle re-measured");
        QVERIFY(!model.setData(model.index(1, 1), edit) && !model.setData(QModelIndex(), edit) &&
                !model.setData(model.index(1, 4), edit, Qt::DisplayRole));
        QVERIFY(model.setData(model.index(1, 4), edit) && changed.count() == 1);
        QCOMPARE(changed[0][0].value<QModelIndex>().data(Qt::ToolTipRole).toString(), edit);
        for (int row = 0; row < 3; ++row) { // remove the first, the middle, the last row
            init();
            QVERIFY(model.removeRows(row, 1));
            QVERIFY(model.index(0, 0).data(model.FolderNameRole) == folders[row ? 0 : 1] &&
                    model.index(1, 0).data(model.FolderNameRole) == folders[row < 2 ? 2 : 1]);
        }
        model.setReports({}, {});
        QCOMPARE(model.columnCount(), 5); // an empty table still shows its header
        for (int i = 0; i < 5; ++i)
            QCOMPARE(model.headerData(i, Qt::Horizontal).toString(), ReportTableHeaders[i]);
    }
};

STELVANE_TEST_MAIN(TestMetadataModel)
#include "tst_metadatamodel.moc"
