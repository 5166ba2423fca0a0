#include "ReportFixtures.h"
#include "TestSupport.h"

#include "reportlist/CMetadataModel.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QFont>
#include <QFontMetrics>
#include <QSignalSpy>
#include <QVariantList>

namespace {

const QString tooltipText = QStringLiteral(
    "<p>The required viewer version<br> for this report is greater than<br> the latest viewer "
    "version<br> in the Report Viewers folder</p>");
const QStringList &headers = ReportTableHeaders;
const ViewerVersion latest{1, 4, 0};

// Three reports, in folder-name order: a polish report needing a newer viewer than the latest
// one, a comparative report needing exactly the latest viewer, and a report of unknown type
// needing an older one.
QMap<QString, ReportInfo> threeReports()
{
    QMap<QString, ReportInfo> reports;
    reports.insert(QStringLiteral("0003"),
                   makeReport(3, QStringLiteral("2024-03-01 09:15:00"), QStringLiteral("P"),
                              ViewerVersion{1, 4, 1}, QStringLiteral("Polished, girdle checked")));
    reports.insert(QStringLiteral("0012_compare"),
                   makeReport(12, QStringLiteral("2024-03-02 11:00"), QStringLiteral("C"),
                              ViewerVersion{1, 4, 0}, QString()));
    reports.insert(QStringLiteral("0120"),
                   makeReport(120, QStringLiteral("02.03.2024"), QString(), ViewerVersion{1, 3, 5},
                              QStringLiteral("Re-scan")));
    return reports;
}

QStringList folderNames(const CMetadataModel &model)
{
    QStringList names;
    for (int row = 0; row < model.rowCount(); ++row)
        names << model.index(row, 0).data(CMetadataModel::FolderNameRole).toString();
    return names;
}

// The size-hint rule, measured with the application's default font as the model does.
QVariant expectedSizeHint(int column, const QString &cellText)
{
    const QFontMetrics metrics{QFont()};
    const QString &header = headers.at(column);
    if (column == 4)
        return QSize(2 * metrics.horizontalAdvance(header), metrics.height());
    const QString &widest = header.length() >= cellText.length() ? header : cellText;
    return QSize(metrics.horizontalAdvance(widest), metrics.height());
}

QVariant center()
{
    return int(Qt::AlignHCenter | Qt::AlignVCenter);
}
QVariant left()
{
    return int(Qt::AlignLeft | Qt::AlignVCenter);
}
QVariant brush(int r, int g, int b)
{
    return QBrush(QColor(r, g, b));
}

} // namespace

class TestMetadataModel : public QObject
{
    Q_OBJECT

private slots:
    void modelContractThroughChanges();
    void emptyModel();
    void rowsFollowFolderNameOrder();
    void roleTable_data();
    void roleTable();
    void unlistedRolesAreEmpty();
    void viewerText_data();
    void viewerText();
    void flags();
    void folderNameRole();
    void commentEdit();
    void refusedEdits_data();
    void refusedEdits();
    void removeRows_data();
    void removeRows();
    void removeRowsRefusesMissingRows_data();
    void removeRowsRefusesMissingRows();
    void sizeHintIgnoresCommentLength();
    void resetClearsRowsAndWarnings();
};

void TestMetadataModel::modelContractThroughChanges()
{
    CMetadataModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setReports(threeReports(), latest);
    QCOMPARE(model.rowCount(), 3);
    QVERIFY(model.setData(model.index(1, 4), QStringLiteral("Checked twice")));
    QVERIFY(model.removeRows(1, 1));
    QVERIFY(model.removeRows(0, 2));
    QCOMPARE(model.rowCount(), 0);
    model.setReports(threeReports(), latest);
    QVERIFY(model.removeRows(2, 1));
    model.setReports({}, ViewerVersion{});
    QCOMPARE(model.rowCount(), 0);
}

void TestMetadataModel::emptyModel()
{
    CMetadataModel model;
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 5);
    for (int section = 0; section < 5; ++section) {
        QCOMPARE(model.headerData(section, Qt::Horizontal, Qt::DisplayRole).toString(),
                 headers.at(section));
        QVERIFY(!model.headerData(section, Qt::Horizontal, Qt::ToolTipRole).isValid());
        QVERIFY(!model.headerData(section, Qt::Vertical, Qt::DisplayRole).isValid());
    }
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString().at(0).unicode(), ushort(0x2116));
    QVERIFY(!model.headerData(5, Qt::Horizontal, Qt::DisplayRole).isValid());
    QVERIFY(!model.headerData(-1, Qt::Horizontal, Qt::DisplayRole).isValid());

    // A child of a cell has neither rows nor columns.
    model.setReports(threeReports(), latest);
    QCOMPARE(model.rowCount(model.index(0, 0)), 0);
    QCOMPARE(model.columnCount(model.index(0, 0)), 0);
}

void TestMetadataModel::rowsFollowFolderNameOrder()
{
    QMap<QString, ReportInfo> reports = threeReports();
    reports.insert(QStringLiteral("0002"), makeReport(2, QString(), QString(), {}, QString()));
    CMetadataModel model;
    model.setReports(reports, latest);
    QCOMPARE(folderNames(model),
             (QStringList{QStringLiteral("0002"), QStringLiteral("0003"),
                          QStringLiteral("0012_compare"), QStringLiteral("0120")}));

    // The model keeps its own copies: a later change of the map is not seen.
    reports[QStringLiteral("0003")].comment = QStringLiteral("changed elsewhere");
    QCOMPARE(model.index(1, 4).data().toString(), QStringLiteral("Polished, girdle checked"));
}

void TestMetadataModel::roleTable_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariant>("display");
    QTest::addColumn<QVariant>("edit");
    QTest::addColumn<QVariant>("toolTip");
    QTest::addColumn<QVariant>("alignment");
    QTest::addColumn<QVariant>("background");
    QTest::addColumn<QVariant>("user");
    QTest::addColumn<QVariant>("sizeHint");

    const QVariant none;
    const QVariant white = brush(255, 255, 255);
    const QVariant yellow = brush(253, 255, 237);
    const QVariant warning = brush(250, 221, 214);
    const QString polishComment = QStringLiteral("Polished, girdle checked");

    // Row 0: type P, needs 1.4.1 while the latest viewer is 1.4.
    QTest::newRow("P, newer viewer: number")
        << 0 << 0 << QVariant(3) << none << none << center() << white << none
        << expectedSizeHint(0, QStringLiteral("3"));
    QTest::newRow("P, newer viewer: date")
        << 0 << 1 << QVariant(QStringLiteral("2024-03-01 09:15:00")) << none << none << center()
        << white << none << expectedSizeHint(1, QStringLiteral("2024-03-01 09:15:00"));
    QTest::newRow("P, newer viewer: type")
        << 0 << 2 << QVariant(QStringLiteral("P")) << none << none << center() << white << none
        << expectedSizeHint(2, QStringLiteral("P"));
    QTest::newRow("P, newer viewer: viewer")
        << 0 << 3 << QVariant(QStringLiteral("1.4.1")) << none << QVariant(tooltipText) << center()
        << warning << QVariant(QVariantList{1, 4, 1})
        << expectedSizeHint(3, QStringLiteral("1.4.1"));
    QTest::newRow("P, newer viewer: comment")
        << 0 << 4 << QVariant(polishComment) << QVariant(polishComment) << QVariant(polishComment)
        << left() << white << none << expectedSizeHint(4, polishComment);

    // Row 1: type C, needs exactly the latest viewer; no comment.
    QTest::newRow("C, same viewer: number")
        << 1 << 0 << QVariant(12) << none << none << center() << yellow << none
        << expectedSizeHint(0, QStringLiteral("12"));
    QTest::newRow("C, same viewer: date")
        << 1 << 1 << QVariant(QStringLiteral("2024-03-02 11:00")) << none << none << center()
        << yellow << none << expectedSizeHint(1, QStringLiteral("2024-03-02 11:00"));
    QTest::newRow("C, same viewer: type")
        << 1 << 2 << QVariant(QStringLiteral("C")) << none << none << center() << yellow << none
        << expectedSizeHint(2, QStringLiteral("C"));
    QTest::newRow("C, same viewer: viewer")
        << 1 << 3 << QVariant(QStringLiteral("1.4")) << none << none << center() << yellow
        << QVariant(QVariantList{1, 4, 0}) << expectedSizeHint(3, QStringLiteral("1.4"));
    QTest::newRow("C, same viewer: comment")
        << 1 << 4 << QVariant(QString()) << QVariant(QString()) << none << left() << yellow << none
        << expectedSizeHint(4, QString());

    // Row 2: no type, needs an older viewer: no background brush anywhere.
    QTest::newRow("untyped, older viewer: number")
        << 2 << 0 << QVariant(120) << none << none << center() << none << none
        << expectedSizeHint(0, QStringLiteral("120"));
    QTest::newRow("untyped, older viewer: date")
        << 2 << 1 << QVariant(QStringLiteral("02.03.2024")) << none << none << center() << none
        << none << expectedSizeHint(1, QStringLiteral("02.03.2024"));
    QTest::newRow("untyped, older viewer: type")
        << 2 << 2 << QVariant(QString()) << none << none << center() << none << none
        << expectedSizeHint(2, QString());
    QTest::newRow("untyped, older viewer: viewer")
        << 2 << 3 << QVariant(QStringLiteral("1.3.5")) << none << none << center() << none
        << QVariant(QVariantList{1, 3, 5}) << expectedSizeHint(3, QStringLiteral("1.3.5"));
    QTest::newRow("untyped, older viewer: comment")
        << 2 << 4 << QVariant(QStringLiteral("Re-scan")) << QVariant(QStringLiteral("Re-scan"))
        << QVariant(QStringLiteral("Re-scan")) << left() << none << none
        << expectedSizeHint(4, QStringLiteral("Re-scan"));
}

void TestMetadataModel::roleTable()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QVariant, display);
    QFETCH(QVariant, edit);
    QFETCH(QVariant, toolTip);
    QFETCH(QVariant, alignment);
    QFETCH(QVariant, background);
    QFETCH(QVariant, user);
    QFETCH(QVariant, sizeHint);

    CMetadataModel model;
    model.setReports(threeReports(), latest);
    const QModelIndex index = model.index(row, column);
    QVERIFY(index.isValid());

    const QVariant shown = index.data(Qt::DisplayRole);
    QCOMPARE(shown, display);
    // The number column carries an int, so that it sorts and shows as a number.
    if (column == 0)
        QCOMPARE(shown.userType(), int(QMetaType::Int));
    QCOMPARE(index.data(Qt::EditRole), edit);
    QCOMPARE(index.data(Qt::ToolTipRole), toolTip);
    QCOMPARE(index.data(Qt::TextAlignmentRole), alignment);
    QCOMPARE(index.data(Qt::BackgroundRole).isValid(), background.isValid());
    if (background.isValid()) {
        const QBrush actual = index.data(Qt::BackgroundRole).value<QBrush>();
        QCOMPARE(actual.style(), Qt::SolidPattern);
        QCOMPARE(actual.color(), background.value<QBrush>().color());
    }
    QCOMPARE(index.data(Qt::UserRole), user);
    QCOMPARE(index.data(Qt::SizeHintRole), sizeHint);
}

void TestMetadataModel::unlistedRolesAreEmpty()
{
    CMetadataModel model;
    model.setReports(threeReports(), latest);
    const QList<int> roles = {Qt::DecorationRole, Qt::FontRole,      Qt::ForegroundRole,
                              Qt::CheckStateRole, Qt::StatusTipRole, Qt::WhatsThisRole};
    for (int row = 0; row < model.rowCount(); ++row) {
        for (int column = 0; column < model.columnCount(); ++column) {
            for (const int role : roles)
                QVERIFY2(!model.index(row, column).data(role).isValid(),
                         qPrintable(QStringLiteral("row %1, column %2, role %3")
                                        .arg(row)
                                        .arg(column)
                                        .arg(role)));
        }
    }
    for (int role = Qt::DisplayRole; role <= Qt::UserRole + 1; ++role)
        QVERIFY(!model.data(QModelIndex(), role).isValid());
}

void TestMetadataModel::viewerText_data()
{
    QTest::addColumn<ViewerVersion>("required");
    QTest::addColumn<QString>("text");
    QTest::newRow("patch 0") << ViewerVersion{2, 0, 0} << QStringLiteral("2.0");
    QTest::newRow("all three") << ViewerVersion{2, 1, 3} << QStringLiteral("2.1.3");
    QTest::newRow("minor 0, patch set") << ViewerVersion{2, 0, 5} << QStringLiteral("2.0.5");
    QTest::newRow("no requirement") << ViewerVersion{0, 0, 0} << QStringLiteral("0.0");
    QTest::newRow("two-digit minor") << ViewerVersion{1, 10, 0} << QStringLiteral("1.10");
}

void TestMetadataModel::viewerText()
{
    QFETCH(ViewerVersion, required);
    QFETCH(QString, text);
    QMap<QString, ReportInfo> reports;
    reports.insert(QStringLiteral("0001"),
                   makeReport(1, QString(), QStringLiteral("P"), required, QString()));
    CMetadataModel model;
    model.setReports(reports, ViewerVersion{});
    QCOMPARE(model.index(0, 3).data().toString(), text);
    QCOMPARE(model.index(0, 3).data(Qt::UserRole),
             QVariant(QVariantList{required.major, required.minor, required.patch}));
}

void TestMetadataModel::flags()
{
    CMetadataModel model;
    model.setReports(threeReports(), latest);
    for (int column = 0; column < 4; ++column) {
        const Qt::ItemFlags cellFlags = model.flags(model.index(1, column));
        QVERIFY(cellFlags.testFlag(Qt::ItemIsSelectable));
        QVERIFY(cellFlags.testFlag(Qt::ItemIsEnabled));
        QVERIFY(!cellFlags.testFlag(Qt::ItemIsEditable));
    }
    const Qt::ItemFlags commentFlags = model.flags(model.index(1, 4));
    QVERIFY(commentFlags.testFlag(Qt::ItemIsSelectable));
    QVERIFY(commentFlags.testFlag(Qt::ItemIsEnabled));
    QVERIFY(commentFlags.testFlag(Qt::ItemIsEditable));
    QCOMPARE(model.flags(QModelIndex()), Qt::ItemFlags(Qt::NoItemFlags));
}

void TestMetadataModel::folderNameRole()
{
    // Two folders that share the number 5: only the folder name tells them apart.
    QMap<QString, ReportInfo> reports;
    reports.insert(QStringLiteral("0005"),
                   makeReport(5, QStringLiteral("first"), QStringLiteral("P"), {}, QString()));
    reports.insert(QStringLiteral("0005_rescan"),
                   makeReport(5, QStringLiteral("second"), QStringLiteral("C"), {}, QString()));
    CMetadataModel model;
    model.setReports(reports, ViewerVersion{});

    for (int column = 0; column < model.columnCount(); ++column) {
        QCOMPARE(model.index(0, column).data(CMetadataModel::FolderNameRole).toString(),
                 QStringLiteral("0005"));
        QCOMPARE(model.index(1, column).data(CMetadataModel::FolderNameRole).toString(),
                 QStringLiteral("0005_rescan"));
    }
    QCOMPARE(model.index(0, 0).data(), model.index(1, 0).data());
    QCOMPARE(model.index(1, 1).data().toString(), QStringLiteral("second"));

    // The folder name is not shown anywhere, nor given as any other role.
    for (int role = Qt::DisplayRole; role <= Qt::UserRole; ++role) {
        for (int column = 0; column < model.columnCount(); ++column)
            QVERIFY(model.index(1, column).data(role).toString() != QStringLiteral("0005_rescan"));
    }
}

void TestMetadataModel::commentEdit()
{
    CMetadataModel model;
    model.setReports(threeReports(), latest);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    const QModelIndex comment = model.index(1, 4);

    QVERIFY(model.setData(comment, QStringLiteral("Girdle re-measured"), Qt::EditRole));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<QModelIndex>(), comment);
    QCOMPARE(changed.at(0).at(1).value<QModelIndex>(), comment);
    QVERIFY(changed.at(0).at(2).value<QVector<int>>().isEmpty());
    QCOMPARE(comment.data(Qt::DisplayRole).toString(), QStringLiteral("Girdle re-measured"));
    QCOMPARE(comment.data(Qt::EditRole).toString(), QStringLiteral("Girdle re-measured"));
    QCOMPARE(comment.data(Qt::ToolTipRole).toString(), QStringLiteral("Girdle re-measured"));
    // The other rows keep their comments.
    QCOMPARE(model.index(0, 4).data().toString(), QStringLiteral("Polished, girdle checked"));
    QCOMPARE(model.index(2, 4).data().toString(), QStringLiteral("Re-scan"));

    // Clearing a comment removes its tooltip.
    QVERIFY(model.setData(model.index(0, 4), QString()));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(1).at(0).value<QModelIndex>(), model.index(0, 4));
    QCOMPARE(model.index(0, 4).data().toString(), QString());
    QVERIFY(!model.index(0, 4).data(Qt::ToolTipRole).isValid());
}

void TestMetadataModel::refusedEdits_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("role");
    QTest::addColumn<bool>("staleIndex");
    QTest::newRow("date and time column") << 1 << 1 << int(Qt::EditRole) << false;
    QTest::newRow("number column") << 1 << 0 << int(Qt::EditRole) << false;
    QTest::newRow("viewer column") << 1 << 3 << int(Qt::EditRole) << false;
    QTest::newRow("display role") << 1 << 4 << int(Qt::DisplayRole) << false;
    QTest::newRow("tooltip role") << 1 << 4 << int(Qt::ToolTipRole) << false;
    QTest::newRow("invalid index") << -1 << -1 << int(Qt::EditRole) << false;
    QTest::newRow("row out of range") << 2 << 4 << int(Qt::EditRole) << true;
}

void TestMetadataModel::refusedEdits()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, role);
    QFETCH(bool, staleIndex);

    CMetadataModel model;
    model.setReports(threeReports(), latest);
    const QModelIndex index = model.index(row, column);
    if (staleIndex) {
        // An index kept from before a removal names a row the model no longer has.
        QVERIFY(model.removeRows(2, 1));
        QVERIFY(index.isValid());
        QVERIFY(!model.data(index, Qt::DisplayRole).isValid());
    }
    const int rows = model.rowCount();
    QStringList comments;
    QStringList dates;
    for (int r = 0; r < rows; ++r) {
        comments << model.index(r, 4).data().toString();
        dates << model.index(r, 1).data().toString();
    }

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QVERIFY(!model.setData(index, QStringLiteral("refused"), role));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(model.rowCount(), rows);
    for (int r = 0; r < rows; ++r) {
        QCOMPARE(model.index(r, 4).data().toString(), comments.at(r));
        QCOMPARE(model.index(r, 1).data().toString(), dates.at(r));
    }
}

void TestMetadataModel::removeRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("remaining");
    QTest::newRow("first") << 0
                           << QStringList{QStringLiteral("0012_compare"), QStringLiteral("0120")};
    QTest::newRow("middle") << 1 << QStringList{QStringLiteral("0003"), QStringLiteral("0120")};
    QTest::newRow("last") << 2
                          << QStringList{QStringLiteral("0003"), QStringLiteral("0012_compare")};
}

void TestMetadataModel::removeRows()
{
    QFETCH(int, row);
    QFETCH(QStringList, remaining);

    CMetadataModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setReports(threeReports(), latest);
    const QMap<QString, ReportInfo> reports = threeReports();
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);

    QVERIFY(model.removeRows(row, 1));
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.at(0).at(1).toInt(), row);
    QCOMPARE(removed.at(0).at(2).toInt(), row);
    QCOMPARE(folderNames(model), remaining);
    // The rows that moved up carry their own data, not the removed row's.
    for (int r = 0; r < model.rowCount(); ++r) {
        const ReportInfo &report = reports[remaining.at(r)];
        QCOMPARE(model.index(r, 0).data().toInt(), report.prefix);
        QCOMPARE(model.index(r, 1).data().toString(), report.dateTime);
        QCOMPARE(model.index(r, 4).data().toString(), report.comment);
    }
}

void TestMetadataModel::removeRowsRefusesMissingRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("count");
    QTest::newRow("nothing to remove") << 1 << 0;
    QTest::newRow("negative count") << 1 << -1;
    QTest::newRow("negative row") << -1 << 1;
    QTest::newRow("past the end") << 3 << 1;
    QTest::newRow("reaching past the end") << 2 << 2;
}

void TestMetadataModel::removeRowsRefusesMissingRows()
{
    QFETCH(int, row);
    QFETCH(int, count);
    CMetadataModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setReports(threeReports(), latest);
    QSignalSpy aboutToRemove(&model, &QAbstractItemModel::rowsAboutToBeRemoved);
    QVERIFY(!model.removeRows(row, count));
    QCOMPARE(aboutToRemove.count(), 0);
    QCOMPARE(model.rowCount(), 3);
}

void TestMetadataModel::sizeHintIgnoresCommentLength()
{
    QMap<QString, ReportInfo> reports;
    reports.insert(QStringLiteral("0001"),
                   makeReport(1, QString(), QStringLiteral("P"), {}, QStringLiteral("short")));
    reports.insert(QStringLiteral("0002"),
                   makeReport(2, QString(), QStringLiteral("C"), {},
                              QStringLiteral("a much longer comment ").repeated(20)));
    CMetadataModel model;
    model.setReports(reports, ViewerVersion{});

    const QFontMetrics metrics{QFont()};
    const QSize commentHint(2 * metrics.horizontalAdvance(QStringLiteral("Comment")),
                            metrics.height());
    QCOMPARE(model.index(0, 4).data(Qt::SizeHintRole).toSize(), commentHint);
    QCOMPARE(model.index(1, 4).data(Qt::SizeHintRole).toSize(), commentHint);
    // "P" and "C" are shorter than the header, so the type column is as wide as "Type".
    const QSize typeHint(metrics.horizontalAdvance(QStringLiteral("Type")), metrics.height());
    QCOMPARE(model.index(0, 2).data(Qt::SizeHintRole).toSize(), typeHint);
    QCOMPARE(model.index(1, 2).data(Qt::SizeHintRole).toSize(), typeHint);
}

void TestMetadataModel::resetClearsRowsAndWarnings()
{
    CMetadataModel model;
    model.setReports(threeReports(), latest);
    QVERIFY(model.index(0, 3).data(Qt::ToolTipRole).isValid());

    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.setReports({}, ViewerVersion{});
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 5);

    // The report that needed a newer viewer than 1.4 is not flagged once 2.0 is the latest.
    QMap<QString, ReportInfo> one;
    one.insert(QStringLiteral("0003"), threeReports().value(QStringLiteral("0003")));
    model.setReports(one, ViewerVersion{2, 0, 0});
    QVERIFY(!model.index(0, 3).data(Qt::ToolTipRole).isValid());
    QCOMPARE(model.index(0, 3).data(Qt::BackgroundRole).value<QBrush>().color(),
             QColor(255, 255, 255));
}

STELVANE_TEST_MAIN(TestMetadataModel)
#include "tst_metadatamodel.moc"
