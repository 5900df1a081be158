#pragma once

#include "ui/DatasetTableModel.h"

#include <QTableView>

// The grid of a browse window or dialog: whole rows selected, no editing in the cells, its current row
// kept the same as the dataset's in both directions. A row change that the dataset refuses (a pending
// entry that cannot be saved) shows the data layer's message.
class DatasetGrid : public QTableView {
    Q_OBJECT
public:
    DatasetGrid(Dataset &dataset, QList<GridColumn> columns, QWidget *parent = nullptr);

    Dataset &dataset() const { return m_model->dataset(); }
    DatasetTableModel *datasetModel() const { return m_model; }

signals:
    void rowDoubleClicked();

private:
    void followDataset(int row);
    DatasetTableModel *m_model;
    bool m_syncing = false;
};

// Takes the mouse wheel of a grid over a dataset: a turn towards the user moves to the next row, away from
// the user to the previous one, one row per message whatever its size; nothing when the dataset is closed.
class WheelRowNavigator : public QObject {
    Q_OBJECT
public:
    WheelRowNavigator(QAbstractItemView *grid, Dataset &dataset);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Dataset &m_dataset;
};
