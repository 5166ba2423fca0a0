#include "reportlist/CMetadataModel.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QSize>
#include <QTextDocument>
#include <QVariantList>

#include <utility>

namespace {

const QColor polishRowColor(255, 255, 255);
const QColor comparativeRowColor(253, 255, 237);
const QColor newerViewerColor(250, 221, 214);

} // namespace

CMetadataModel::CMetadataModel(QObject *parent) : QAbstractTableModel(parent) {}

CMetadataModel::~CMetadataModel() = default;

void CMetadataModel::setReports(const QMap<QString, ReportInfo> &reports,
                                const ViewerVersion &latestViewerVersion)
{
    beginResetModel();
    {
        // The old records go when this list goes out of scope; the model is already empty.
        std::vector<Row> oldRows;
        oldRows.swap(rows);
    }
    this->latestViewerVersion = latestViewerVersion;
    rows.reserve(static_cast<size_t>(reports.size()));
    for (auto it = reports.cbegin(); it != reports.cend(); ++it)
        rows.push_back(Row{it.key(), std::make_unique<ReportInfo>(it.value())});
    endResetModel();
}

int CMetadataModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows.size());
}

int CMetadataModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

bool CMetadataModel::isRowIndex(const QModelIndex &index) const
{
    return index.isValid() && index.row() >= 0 && index.row() < rowCount();
}

bool CMetadataModel::needsNewerViewer(const ReportInfo &report) const
{
    return latestViewerVersion < report.requiredViewerVersion;
}

QVariant CMetadataModel::data(const QModelIndex &index, int role) const
{
    if (!isRowIndex(index))
        return QVariant();
    const int column = index.column();
    if (column < 0 || column >= ColumnCount)
        return QVariant();
    const Row &row = rows[static_cast<size_t>(index.row())];
    const ReportInfo &report = *row.report;

    switch (role) {
    case Qt::DisplayRole:
        switch (column) {
        case NumberColumn:
            return report.prefix;
        case DateTimeColumn:
            return report.dateTime;
        case TypeColumn:
            return report.reportType;
        case ViewerColumn:
            return viewerVersionText(report.requiredViewerVersion);
        default:
            return report.comment;
        }
    case Qt::EditRole:
        if (column == CommentColumn)
            return report.comment;
        return QVariant();
    case Qt::ToolTipRole:
        if (column == ViewerColumn && needsNewerViewer(report))
            return tr("<p>The required viewer version<br> for this report is greater than<br> the "
                      "latest viewer version<br> in the Report Viewers folder</p>");
        if (column == CommentColumn && !report.comment.isEmpty()) {
            // A tooltip renders text that looks like markup; such a comment is escaped so
            // that it shows as typed, tags and all.
            if (Qt::mightBeRichText(report.comment))
                return Qt::convertFromPlainText(report.comment, Qt::WhiteSpacePre);
            return report.comment;
        }
        return QVariant();
    case Qt::TextAlignmentRole:
        if (column == CommentColumn)
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        return int(Qt::AlignHCenter | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (column == ViewerColumn && needsNewerViewer(report))
            return QBrush(newerViewerColor);
        if (report.reportType == QLatin1String("P"))
            return QBrush(polishRowColor);
        if (report.reportType == QLatin1String("C"))
            return QBrush(comparativeRowColor);
        return QVariant();
    case Qt::UserRole:
        if (column == ViewerColumn) {
            const ViewerVersion &version = report.requiredViewerVersion;
            return QVariantList{version.major, version.minor, version.patch};
        }
        return QVariant();
    case Qt::SizeHintRole:
        return sizeHint(index, report);
    case FolderNameRole:
        return row.folderName;
    default:
        return QVariant();
    }
}

// The wider of header and cell text decides a column's natural width. The comment column is
// measured by its header alone (twice over), so a long comment never widens the table.
QVariant CMetadataModel::sizeHint(const QModelIndex &index, const ReportInfo &report) const
{
    const int column = index.column();
    const QString header = headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    const QFontMetrics metrics(data(index, Qt::FontRole).value<QFont>());
    if (column == CommentColumn)
        return QSize(2 * metrics.horizontalAdvance(header), metrics.height());

    QString text;
    switch (column) {
    case NumberColumn:
        text = QString::number(report.prefix);
        break;
    case DateTimeColumn:
        text = report.dateTime;
        break;
    case TypeColumn:
        text = report.reportType;
        break;
    default:
        text = viewerVersionText(report.requiredViewerVersion);
        break;
    }
    // Only the text with more characters is measured.
    const QString &widest = header.length() >= text.length() ? header : text;
    return QSize(metrics.horizontalAdvance(widest), metrics.height());
}

bool CMetadataModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!isRowIndex(index) || index.column() != CommentColumn || role != Qt::EditRole)
        return false;
    rows[static_cast<size_t>(index.row())].report->comment = value.toString();
    emit dataChanged(index, index, {});
    return true;
}

QVariant CMetadataModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case NumberColumn:
        return tr(u8"\u2116");
    case DateTimeColumn:
        return tr("Date and time");
    case TypeColumn:
        return tr("Type");
    case ViewerColumn:
        return tr("Viewer");
    case CommentColumn:
        return tr("Comment");
    default:
        return QVariant();
    }
}

bool CMetadataModel::removeRows(int row, int count, const QModelIndex &parent)
{
    Q_UNUSED(parent)
    // A range that names missing rows cannot be announced to the views without corrupting
    // their bookkeeping, so it is refused before anything is announced.
    if (count < 1 || row < 0 || row > rowCount() - count)
        return false;

    beginRemoveRows(QModelIndex(), row, row + count - 1);
    rows.erase(rows.begin() + row, rows.begin() + row + count);
    endRemoveRows();
    return true;
}

Qt::ItemFlags CMetadataModel::flags(const QModelIndex &index) const
{
    // The root is not an item: item views and model checkers expect no flags for it.
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (index.column() < 0 || index.column() >= ColumnCount)
        return Qt::ItemIsEnabled;
    Qt::ItemFlags result =
        QAbstractTableModel::flags(index) | Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (index.column() == CommentColumn)
        result |= Qt::ItemIsEditable;
    return result;
}
