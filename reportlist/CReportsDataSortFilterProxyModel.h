#pragma once

#include <QSortFilterProxyModel>

// Sorts the report table column by column: the report number as a number, the required viewer
// by its version triple, everything else by text. Every row is accepted; nothing is filtered.
class CReportsDataSortFilterProxyModel final : public QSortFilterProxyModel
{
    Q_OBJECT
    Q_DISABLE_COPY(CReportsDataSortFilterProxyModel)

public:
    explicit CReportsDataSortFilterProxyModel(QObject *parent = nullptr);
    ~CReportsDataSortFilterProxyModel() override;

protected:
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;
};
