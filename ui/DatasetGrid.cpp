#include "ui/DatasetGrid.h"

#include "data/Dataset.h"
#include "data/DbError.h"
#include "ui/Messages.h"

#include <QHeaderView>
#include <QStyle>
#include <QWheelEvent>

namespace {

// The row numbers at the left of a grid, sized by their count of digits instead of by laying out the text
// of each: the header measures its sections at every row inserted, and an import inserts thousands.
class RowNumberHeader : public QHeaderView {
public:
    explicit RowNumberHeader(QWidget *parent) : QHeaderView(Qt::Vertical, parent) {}

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override {
        int digits = 1;
        for (int n = logicalIndex + 1; n >= 10; n /= 10)
            ++digits;
        const int margin = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
        return {digits * fontMetrics().horizontalAdvance(QLatin1Char('0')) + margin + 4,
                defaultSectionSize()};
    }
};

} // namespace

DatasetGrid::DatasetGrid(Dataset &dataset, QList<GridColumn> columns, QWidget *parent)
    : QTableView(parent), m_model(new DatasetTableModel(dataset, std::move(columns), this)) {
    setVerticalHeader(new RowNumberHeader(this));
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (m_syncing || !current.isValid() || current.row() == this->dataset().currentRow())
                    return;
                try {
                    this->dataset().moveTo(current.row());
                } catch (const DbError &e) {
                    showDbError(this, e);
                    followDataset(this->dataset().currentRow());
                }
            });
    connect(&dataset, &Dataset::currentChanged, this, &DatasetGrid::followDataset);
    connect(&dataset, &Dataset::reset, this, [this] { followDataset(this->dataset().currentRow()); });
    connect(this, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            emit rowDoubleClicked();
    });
}

void DatasetGrid::followDataset(int row) {
    m_syncing = true;
    if (row >= 0 && row < m_model->rowCount()) {
        const QModelIndex index = m_model->index(row, qMax(0, currentIndex().column()));
        selectionModel()->setCurrentIndex(index,
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    } else {
        selectionModel()->clear();
    }
    m_syncing = false;
}

WheelRowNavigator::WheelRowNavigator(QAbstractItemView *grid, Dataset &dataset)
    : QObject(grid), m_dataset(dataset) {
    grid->viewport()->installEventFilter(this);
}

bool WheelRowNavigator::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::Wheel)
        return QObject::eventFilter(watched, event);
    if (m_dataset.isOpen()) {
        const auto *wheel = static_cast<QWheelEvent *>(event);
        try {
            if (wheel->angleDelta().y() < 0)
                m_dataset.next();
            else
                m_dataset.prior();
        } catch (const DbError &e) {
            showDbError(qobject_cast<QWidget *>(watched), e);
        }
    }
    return true;
}
