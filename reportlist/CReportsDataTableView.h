#pragma once

#include <QTableView>
#include <QVector>

class QResizeEvent;

// The report table: whole-row single selection, sorting by header click, a fixed row height
// scaled to the screen, and columns that take their natural width plus an equal share of any
// spare width (the last section stretches over what an integer share leaves).
class CReportsDataTableView final : public QTableView
{
    Q_OBJECT
    Q_DISABLE_COPY(CReportsDataTableView)

public:
    explicit CReportsDataTableView(QWidget *parent = nullptr);
    ~CReportsDataTableView() override;

    // Recomputes the natural widths and applies them to the view's current width.
    void adjustColumnWidths();
    // Keeps at least the header and five rows visible.
    void updateMinimumHeight();
    // Fills columnWidths and totalColumnWidth from the model's size hints (or, for an empty
    // table, from the header texts).
    void computeColumnWidths();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void applyColumnWidths(int columns, int availableWidth);

    int totalColumnWidth = 0;
    QVector<int> columnWidths;
    double dpiScale = 1.0;
};
