#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QTableView>
#include <QVector>

class QAbstractItemModel;
class QEvent;
class QResizeEvent;

// The report table: whole-row single selection, sorting by header click, a fixed row height
// scaled to the screen, and columns that take their natural width plus an equal share of any
// spare width (the last section stretches over what an integer share leaves).
//
// Measuring every cell is costly with thousands of reports, so the natural widths are kept
// between resizes and measured again only after the model, the font or the style changed.
class CReportsDataTableView final : public QTableView
{
    Q_OBJECT
    Q_DISABLE_COPY(CReportsDataTableView)

public:
    explicit CReportsDataTableView(QWidget *parent = nullptr);
    ~CReportsDataTableView() override;

    // Recomputes the natural widths and applies them to the viewport's current width.
    void adjustColumnWidths();
    // Keeps at least the header and five rows visible.
    void updateMinimumHeight();
    // Fills columnWidths and totalColumnWidth from the model's size hints (or, for an empty
    // table, from the header texts); they stay valid until the model changes.
    void computeColumnWidths();
    // Whether a cell's editor is open.
    bool isEditing() const { return state() == EditingState; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyColumnWidths(int columns, int availableWidth);
    void watchModel();
    void invalidateColumnWidths() { columnWidthsValid = false; }

    int totalColumnWidth = 0;
    QVector<int> columnWidths;
    double dpiScale = 1.0;

    // Whether columnWidths still describes the model it was measured on.
    bool columnWidthsValid = false;
    QPointer<QAbstractItemModel> measuredModel;
    QVector<QMetaObject::Connection> modelConnections;
};
