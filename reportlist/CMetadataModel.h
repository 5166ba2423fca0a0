#pragma once

#include "catalogue/ReportInfo.h"
#include "catalogue/ViewerVersion.h"

#include <QAbstractTableModel>
#include <QMap>
#include <QString>

#include <memory>
#include <vector>

// The rows of the report table: one report of the current stone per row, five fixed columns
// ("№", date and time, type, required viewer, comment). Only the comment can be edited; the
// page writes an edited comment back to disk when it sees dataChanged. The model keeps its own
// copies of the records, so the page may rebuild its map freely.
class CMetadataModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY(CMetadataModel)

public:
    enum Column : int
    {
        NumberColumn = 0,
        DateTimeColumn = 1,
        TypeColumn = 2,
        ViewerColumn = 3,
        CommentColumn = 4,
        ColumnCount = 5
    };

    enum Role : int
    {
        // The report folder name of the row, on every column. Two folders may share their
        // four-digit number, so the page uses this to find the exact report behind a row.
        FolderNameRole = Qt::UserRole + 1
    };

    explicit CMetadataModel(QObject *parent = nullptr);
    ~CMetadataModel() override;

    // Replaces every row by the reports of the map, in key (folder name) order, and remembers
    // the newest installed viewer version to flag reports that need a newer one.
    void setReports(const QMap<QString, ReportInfo> &reports,
                    const ViewerVersion &latestViewerVersion);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    struct Row
    {
        QString folderName;
        std::unique_ptr<ReportInfo> report;
    };

    bool isRowIndex(const QModelIndex &index) const;
    bool needsNewerViewer(const ReportInfo &report) const;
    QVariant sizeHint(const QModelIndex &index, const ReportInfo &report) const;

    std::vector<Row> rows;
    ViewerVersion latestViewerVersion;
};
