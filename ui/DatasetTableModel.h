#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QList>

class Dataset;

// A grid column: its title and the dataset field it shows.
struct GridColumn {
    QString caption;
    QString field;
};

// A column for each field of an open dataset, titled with the field's name.
QList<GridColumn> columnsOfEveryField(const Dataset &dataset);

// A read-only Qt table model over a dataset: one row per dataset row, the columns given, values shown
// through the display format of their field. It follows the dataset's signals, so a row being entered or
// saved shows at once. Column backgrounds mark the sort column.
class DatasetTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    DatasetTableModel(Dataset &dataset, QList<GridColumn> columns, QObject *parent = nullptr);

    Dataset &dataset() const { return m_dataset; }
    const QList<GridColumn> &columns() const { return m_columns; }
    int columnOf(const QString &caption) const; // -1 when no column has that title

    // The background of every column, and the one of the sort column (-1 for none).
    void setColumnColours(const QColor &all, int marked, const QColor &markedColour);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The text a cell shows.
    QString displayText(int row, int column) const;

private:
    Dataset &m_dataset;
    QList<GridColumn> m_columns;
    QList<int> m_fieldIndex; // per column, resolved at each reset
    QColor m_background;
    int m_marked = -1;
    QColor m_markedColour;
    void resolveFields();
};
