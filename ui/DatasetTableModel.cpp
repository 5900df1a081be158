#include "ui/DatasetTableModel.h"

#include "data/Dataset.h"
#include "data/NumberFormat.h"

#include <QDate>

DatasetTableModel::DatasetTableModel(Dataset &dataset, QList<GridColumn> columns, QObject *parent)
    : QAbstractTableModel(parent), m_dataset(dataset), m_columns(std::move(columns)) {
    resolveFields();
    connect(&m_dataset, &Dataset::reset, this, [this] {
        beginResetModel();
        resolveFields();
        endResetModel();
    });
    connect(&m_dataset, &Dataset::rowChanged, this, [this](int row) {
        if (row >= 0 && row < rowCount())
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
    // Row by row, not a reset per row: an import appends thousands of rows under a shown grid.
    connect(&m_dataset, &Dataset::rowAboutToBeInserted, this,
            [this](int row) { beginInsertRows(QModelIndex(), row, row); });
    connect(&m_dataset, &Dataset::rowInserted, this, [this] { endInsertRows(); });
    connect(&m_dataset, &Dataset::rowAboutToBeRemoved, this,
            [this](int row) { beginRemoveRows(QModelIndex(), row, row); });
    connect(&m_dataset, &Dataset::rowRemoved, this, [this] { endRemoveRows(); });
}

QList<GridColumn> columnsOfEveryField(const Dataset &dataset) {
    QList<GridColumn> columns;
    for (int f = 0; f < dataset.fieldCount(); ++f)
        columns.append({dataset.fieldName(f), dataset.fieldName(f)});
    return columns;
}

void DatasetTableModel::resolveFields() {
    m_fieldIndex.clear();
    for (const GridColumn &c : m_columns)
        m_fieldIndex << (m_dataset.isOpen() ? m_dataset.fieldIndex(c.field) : -1);
}

int DatasetTableModel::columnOf(const QString &caption) const {
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].caption == caption)
            return i;
    return -1;
}

void DatasetTableModel::setColumnColours(const QColor &all, int marked, const QColor &markedColour) {
    m_background = all;
    m_marked = marked;
    m_markedColour = markedColour;
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::BackgroundRole});
}

int DatasetTableModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() || !m_dataset.isOpen() ? 0 : m_dataset.rowCount();
}

int DatasetTableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QString DatasetTableModel::displayText(int row, int column) const {
    const int field = m_fieldIndex.value(column, -1);
    if (field < 0)
        return {};
    const QVariant v = m_dataset.valueAt(row, field);
    if (v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::Double:
        return formatNumber(v.toDouble(), m_dataset.displayFormat(m_columns[column].field));
    case QMetaType::QDate: return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case QMetaType::QDateTime: return v.toDateTime().date().toString(QStringLiteral("dd/MM/yyyy"));
    default: return v.toString();
    }
}

QVariant DatasetTableModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole: return displayText(index.row(), index.column());
    case Qt::BackgroundRole:
        if (index.column() == m_marked && m_markedColour.isValid())
            return m_markedColour;
        return m_background.isValid() ? QVariant(m_background) : QVariant();
    case Qt::TextAlignmentRole: {
        const int field = m_fieldIndex.value(index.column(), -1);
        const ColumnInfo *c = field >= 0 ? m_dataset.column(field) : nullptr;
        if (c && c->isNumeric())
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    }
    default: return {};
    }
}

QVariant DatasetTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_columns.size())
        return m_columns[section].caption;
    return QAbstractTableModel::headerData(section, orientation, role);
}
