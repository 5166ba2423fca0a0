#include "reportlist/CReportsDataTableView.h"

#include "app/Scaling.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSize>
#include <QStyle>

CReportsDataTableView::CReportsDataTableView(QWidget *parent) : QTableView(parent)
{
    dpiScale = logicalDpiX() / 96.0;
    totalColumnWidth = 0;
    columnWidths.clear();

    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setTabKeyNavigation(false);
    setSortingEnabled(true);
    setAutoScroll(true);

    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int rowHeight =
        qRound(styleLengthAt96Dpi(verticalHeader(), QStyle::PM_HeaderDefaultSectionSizeVertical) *
               dpiScale);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    verticalHeader()->hide();

    setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding);
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    setContextMenuPolicy(Qt::CustomContextMenu);
    verticalScrollBar()->setSingleStep(rowHeight);
}

CReportsDataTableView::~CReportsDataTableView() = default;

void CReportsDataTableView::adjustColumnWidths()
{
    const int columns = model() ? model()->columnCount() : 0;
    computeColumnWidths();
    // The width that the columns can fill, as a resize sees it: without frame and scroll bar.
    applyColumnWidths(columns, viewport()->width());
}

void CReportsDataTableView::updateMinimumHeight()
{
    setMinimumHeight(horizontalHeader()->height() + 5 * verticalHeader()->defaultSectionSize() +
                     2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth));
}

void CReportsDataTableView::computeColumnWidths()
{
    const QAbstractItemModel *itemModel = model();
    const int rows = itemModel ? itemModel->rowCount() : 0;
    const int columns = itemModel ? itemModel->columnCount() : 0;

    const int frame = qRound(styleLengthAt96Dpi(this, QStyle::PM_DefaultFrameWidth) * dpiScale);
    const int margin =
        qRound(styleLengthAt96Dpi(horizontalHeader(), QStyle::PM_HeaderMargin) * dpiScale);
    const int allowance = 2 * (frame + margin);
    // The header would otherwise widen a narrow column such as the number to its own minimum,
    // and the sections would no longer add up to the viewport; no natural width is smaller.
    horizontalHeader()->setMinimumSectionSize(allowance);

    columnWidths.clear();
    columnWidths.resize(columns);

    if (rows == 0) {
        const QFontMetrics metrics = fontMetrics();
        for (int column = 0; column < columns; ++column) {
            const QString header =
                itemModel->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
            columnWidths[column] = metrics.horizontalAdvance(header) + allowance;
        }
    } else {
        for (int column = 0; column < columns; ++column) {
            int widest = 0;
            for (int row = 0; row < rows; ++row) {
                const QVariant hint = itemModel->index(row, column).data(Qt::SizeHintRole);
                // A cell without a size hint ends the column's scan.
                if (!hint.isValid())
                    break;
                widest = qMax(widest, hint.toSize().width());
            }
            columnWidths[column] = widest + allowance;
        }
    }

    totalColumnWidth = 0;
    for (const int columnWidth : qAsConst(columnWidths))
        totalColumnWidth += columnWidth;

    watchModel();
    columnWidthsValid = true;
}

// Any change that can alter a size hint, the row count or the order of the rows (the scan of
// a column stops at its first cell without a size hint) makes the measured widths stale.
void CReportsDataTableView::watchModel()
{
    QAbstractItemModel *itemModel = model();
    if (itemModel == measuredModel && (itemModel == nullptr || !modelConnections.isEmpty()))
        return;
    for (const QMetaObject::Connection &connection : qAsConst(modelConnections))
        disconnect(connection);
    modelConnections.clear();
    measuredModel = itemModel;
    if (itemModel == nullptr)
        return;

    const auto invalidate = [this] { invalidateColumnWidths(); };
    modelConnections << connect(itemModel, &QAbstractItemModel::modelReset, this, invalidate)
                     << connect(itemModel, &QAbstractItemModel::rowsInserted, this, invalidate)
                     << connect(itemModel, &QAbstractItemModel::rowsRemoved, this, invalidate)
                     << connect(itemModel, &QAbstractItemModel::rowsMoved, this, invalidate)
                     << connect(itemModel, &QAbstractItemModel::columnsInserted, this, invalidate)
                     << connect(itemModel, &QAbstractItemModel::columnsRemoved, this, invalidate)
                     << connect(itemModel, &QAbstractItemModel::columnsMoved, this, invalidate)
                     << connect(itemModel, &QAbstractItemModel::dataChanged, this, invalidate)
                     << connect(itemModel, &QAbstractItemModel::headerDataChanged, this, invalidate)
                     << connect(itemModel, &QAbstractItemModel::layoutChanged, this, invalidate);
}

void CReportsDataTableView::applyColumnWidths(int columns, int availableWidth)
{
    columns = qMin(columns, columnWidths.size());
    if (columns <= 0)
        return;
    // Too narrow: natural widths and a horizontal scroll bar. Otherwise each column gets an
    // equal share of the spare width; the stretched last section takes what the division drops.
    const int extra =
        totalColumnWidth > availableWidth ? 0 : (availableWidth - totalColumnWidth) / columns;
    for (int column = 0; column < columns; ++column)
        horizontalHeader()->resizeSection(column, columnWidths.at(column) + extra);
}

void CReportsDataTableView::resizeEvent(QResizeEvent *event)
{
    const int columns = model() ? model()->columnCount() : 0;
    const int availableWidth = event->size().width();
    QAbstractItemView::resizeEvent(event);
    if (!columnWidthsValid || measuredModel != model())
        computeColumnWidths();
    applyColumnWidths(columns, availableWidth);
}

void CReportsDataTableView::changeEvent(QEvent *event)
{
    // The widths are measured in the view's and the application's fonts, with the style's
    // frame and margin: the next resize measures again.
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::ApplicationFontChange:
    case QEvent::StyleChange:
        invalidateColumnWidths();
        break;
    default:
        break;
    }
    QTableView::changeEvent(event);
}
