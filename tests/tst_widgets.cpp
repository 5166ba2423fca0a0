#include "TestSupport.h"

#include "app/CSlidingStackedWidget.h"
#include "app/CStackedWindow.h"
#include "openreport/CConsole.h"
#include "openreport/CExLineEdit.h"
#include "reportlist/CMetadataModel.h"
#include "reportlist/CReportsDataSortFilterProxyModel.h"
#include "reportlist/CReportsDataTableView.h"

#include <QtWidgets>

class TestWidgets : public QObject
{
    Q_OBJECT
    static bool editing() { return qobject_cast<QLineEdit *>(QApplication::focusWidget()); }
    static int atDpi(const QWidget &widget, QVector<int> values) // at 96, 100, 120, 144, 192 DPI
    {
        return values.value(QVector<int>{96, 100, 120, 144, 192}.indexOf(widget.logicalDpiX()), -1);
    }

    // The headers, then three rows of five columns: "P", "C" and untyped reports needing a newer,
    // the same and an older viewer than the newest installed, 1.9.
    const QStringList texts =
        QStringLiteral("\u2116|Date and time|Type|Viewer|Comment|9|2024-03-01 09:15|P|1.10|"
                       "Girdle recut|10|2.3.2024|C|1.9||10|||1.3.5|<b>re-cut</b> & <i>")
            .split(QLatin1Char('|'));
    void fill(CMetadataModel &model) const
    {
        const ViewerVersion viewers[] = {{1, 10, 0}, {1, 9, 0}, {1, 3, 5}};
        QMap<QString, ReportInfo> reports; // in the order of their folder names
        for (const int row : {1, 2, 3})
            reports[QString::number(row)] = {texts[5 * row].toInt(), {},
                                             texts[5 * row + 1],     texts[5 * row + 2],
                                             viewers[row - 1],       texts[5 * row + 4]};
        model.setReports(reports, {1, 9, 0});
    }

private slots:
    // Each cell's text, tooltip, alignment and colour.
    void reportsTableShowsEachReport()
    {
        CMetadataModel model;
        QAbstractItemModelTester tester(&model);
        fill(model);
        const QVariant none, white = QBrush(Qt::white), yellow = QBrush(QColor(253, 255, 237)),
                             red = QBrush(QColor(250, 221, 214));
        const QVariant left = int(Qt::AlignLeft | Qt::AlignVCenter), centre = int(Qt::AlignCenter);
        const QVariant tooNew =
            QStringLiteral("The required viewer version\nfor this report is greater than\n"
                           "the latest viewer version\nin the Report Viewers folder");
        // clang-format off
        const QMap<int, QVariantList> roles = { // a line per report
            {Qt::DisplayRole, QVariant(texts.mid(5)).toList()},
            {Qt::ToolTipRole, {none, none, none, tooNew, texts[9],
                               none, none, none, none, none,
                               none, none, none, none, texts[19]}},
            {Qt::TextAlignmentRole, {centre, centre, centre, centre, left,
                                     centre, centre, centre, centre, left,
                                     centre, centre, centre, centre, left}},
            {Qt::BackgroundRole, {white, white, white, red, white,
                                  yellow, yellow, yellow, yellow, yellow,
                                  none, none, none, none, none}}};
        // clang-format on
        for (const int role : roles.keys()) {
            QVariantList cells;
            for (int cell = 0; cell < 15; ++cell) {
                QVariant value = model.index(cell / 5, cell % 5).data(role);
                if (role == Qt::ToolTipRole && Qt::mightBeRichText(value.toString())) // as shown
                    value = QTextDocumentFragment::fromHtml(value.toString()).toPlainText();
                cells << value;
            }
            QCOMPARE(cells, roles[role]);
        }
    }

    // Sorting by a column, selecting whole rows, editing the comment alone, and the sizes.
    void reportsTableSortsSelectsAndFits()
    {
        CMetadataModel model;
        fill(model);
        CReportsDataSortFilterProxyModel proxy;
        proxy.setSourceModel(&model); // numbers and viewers sort by value, the type as text
        CReportsDataTableView view;
        view.setModel(&proxy);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const char *ascending[] = {"9|10|10", "", "|C|P", "1.3.5|1.9|1.10"};
        for (int column : {0, 2, 3}) {
            view.sortByColumn(column, Qt::AscendingOrder);
            QStringList cells;
            for (int row = 0; row < 3; ++row)
                cells << proxy.index(row, column).data().toString();
            QCOMPARE(cells.join(QLatin1Char('|')), QLatin1String(ascending[column]));
        }
        const auto at = [&](int r, int c) { return view.visualRect(proxy.index(r, c)).center(); };
        view.resize(700, 300); // whole rows; only the comment edits, on F2 or a double click
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at(0, 1));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ControlModifier, at(2, 2));
        QCOMPARE(view.selectionModel()->selectedRows(), QModelIndexList{proxy.index(2, 0)});
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at(1, 4));
        QTest::keyClick(view.viewport(), Qt::Key_X);
        QVERIFY(!editing()); // neither a click nor typing opens the comment
        QTest::keyClick(view.viewport(), Qt::Key_F2);
        QVERIFY(editing());
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, at(2, 3)); // closes, opens nothing
        QVERIFY(!editing());

        QCOMPARE(view.rowHeight(0), atDpi(view, {30, 31, 38, 45, 60})); // 30 design pixels
        view.updateMinimumHeight(); // the header and five rows: 175 design pixels (the header
        QVERIFY2(qAbs(view.minimumHeight() - 175 * view.logicalDpiX() / 96) <= 8, // a text's)
                 qPrintable(QString::number(view.minimumHeight())));
        view.resize(900, 0);
        QTRY_COMPARE(view.viewport()->height() / view.rowHeight(0), 5); // five rows in view
        view.resize(60, 300); // too narrow: headers and cells fit, a comment widens nothing
        QList<int> natural;
        const int margins = 2 * view.style()->pixelMetric(QStyle::PM_HeaderMargin);
        for (int i = 0; i < 20; ++i) {
            natural << view.horizontalHeader()->sectionSize(i % 5);
            QVERIFY(i > 4 || proxy.headerData(i, Qt::Horizontal) == texts[i]);
            QVERIFY((i > 4 && i % 5 == 4) ||
                    view.fontMetrics().horizontalAdvance(texts[i]) <= natural[i % 5] - margins);
        }
        QCOMPARE(model.index(0, 4).data(Qt::SizeHintRole),
                 model.index(1, 4).data(Qt::SizeHintRole));
        const int total = view.horizontalHeader()->length();
        for (int width = total - 20; width < total + 60; ++width) {
            view.resize(width + 2 * view.frameWidth(), 300);
            const int spare = qMax(0, width - total); // shared, filling the viewport exactly
            for (int column = 0; column < 5; ++column)
                QCOMPARE(view.horizontalHeader()->sectionSize(column),
                         natural[column] + spare / 5 + (column == 4 ? spare % 5 : 0));
        }
    }

    void console()
    {
        CConsole console;
        const QString message = QStringLiteral("<b>0003</b>\nfound");
        for (auto print : {&CConsole::printInfo, &CConsole::printWarning, &CConsole::printError})
            (console.*print)(message);
        QCOMPARE(console.toPlainText(), QStringLiteral("%1\nWarning: %1\nError: %1").arg(message));
        QStringList colours; // two paragraphs per message
        for (QTextBlock b = console.document()->begin(); b.isValid(); b = b.next())
            colours << b.begin().fragment().charFormat().foreground().color().name();
        QCOMPARE(colours.join(QLatin1Char(' ')),
                 QStringLiteral("#878788 #878788 #ff9900 #ff9900 #f66060 #f66060"));

        console.clear(); // three lines in view; the last 100 messages, the newest in view
        console.show();
        QScrollBar *bar = console.verticalScrollBar();
        for (int i = 1; i <= 101; ++i) {
            console.printInfo(QString::number(i));
            if (i == 3 || i == 4) // all in view, nothing to scroll; then one line too many
                QCOMPARE(bar->maximum() > 0, i == 4);
            if (i == 100)
                bar->setValue(0); // the operator scrolled back; a new message still shows
        }
        QCOMPARE(console.document()->firstBlock().text(), QLatin1String("2")); // 100 kept
        QCOMPARE(bar->value(), bar->maximum());
    }

    void stoneIDField()
    {
        const QString icon = QStringLiteral(":/qrc/refresh.png");
        CExLineEdit field(icon, icon, QStringLiteral(":/qrc/throbber.gif"), {}, {});
        field.show();
        auto *button = field.findChild<QToolButton *>(); // shown only with text
        QTest::keyClicks(&field, QString(40, QLatin1Char('W')));
        field.resize(300, 50);
        const int margin = atDpi(field, {5, 5, 6, 8, 10});          // 5 design pixels
        const int gap = field.width() - button->geometry().right(); // just within the margin
        QVERIFY(button->isVisible() &&
                field.textMargins() == QMargins(margin, margin, margin, margin));
        QVERIFY(gap > margin && gap < 2 * margin &&
                qAbs(button->geometry().center().y() - field.rect().center().y()) < 2);
        QSignalSpy triggered(&field, &CExLineEdit::toolButtonTriggered);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(triggered.count(), 1);

        const QString normalLook = button->styleSheet(); // the throbber animates the icon
        auto *movie = field.findChild<QMovie *>();
        field.startThrobber();
        QVERIFY(!button->styleSheet().contains(QLatin1String("image"))); // it would hide the icon
        QTRY_VERIFY(movie->currentFrameNumber() >= 1);
        QCOMPARE(button->icon().pixmap(movie->frameRect().size()).toImage(), movie->currentImage());
        field.stopThrobber();
        QVERIFY(button->icon().isNull() && button->styleSheet() == normalLook);

        field.clear(); // the button goes with the text; completion ignores case
        QVERIFY(!button->isVisible());
        QStringList ids{QStringLiteral("GX40213")};
        field.setReportIDs(ids);
        QTest::keyClicks(&field, QStringLiteral("gX"));
        QCOMPARE(field.QLineEdit::completer()->currentCompletion(), ids.first());
    }

    // The window at its first run at the screen's DPI, then where it was closed.
    void window()
    {
        CStackedWindow window; // margins of 20 and 10 design pixels
        auto *stack = qobject_cast<CSlidingStackedWidget *>(window.centralWidget());
        const int side = atDpi(window, {20, 21, 25, 30, 40}),
                  top = atDpi(window, {10, 10, 13, 15, 20});
        QCOMPARE(window.contentsMargins(), QMargins(side, top, side, top));
        const QSize hint = window.minimumSizeHint() - QSize(0, atDpi(window, {20, 0, 0, 0, 0}));
        const QSize expected =
            atDpi(window, {0, 0, 0, 1, 1}) ? QSize(800, 600) : hint; // or the screen
        QVERIFY(window.minimumSize() == expected && window.size() == expected);

        window.show();
        stack->slide(1); // Cancel on the settings page slides back
        QTRY_COMPARE(stack->currentIndex(), 1);
        window.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->click();
        QCOMPARE(stack->widget(0)->pos(), QPoint(-stack->width(), 0)); // in from the left
        const QRect stored(QPoint(37, 41), window.minimumSize() + QSize(53, 29));
        window.setGeometry(stored);
        QVERIFY(window.close());
        QCOMPARE(CStackedWindow().geometry(), stored);
    }
};

STELVANE_TEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
