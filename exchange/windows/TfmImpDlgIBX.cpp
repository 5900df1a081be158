#include "exchange/windows/TfmImpDlgIBX.h"

#include "data/TDatadeclaration.h"
#include "exchange/ImportTargets.h"
#include "exchange/windows/ImportWizardDialog.h"
#include "ui/BrowseWindow.h"
#include "ui/DatasetGrid.h"
#include "ui/Messages.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// The string grid's titles are those of Annex I, from its order number to its net amount.
const char *const kAnnexIColumns[] = {
    "numeroordre", "typeidentifiant", "identifiantbeneficiaire",
    "nomprenom",   "emploioccupe",    "adresse",
    "etatcivil",   "enfant",          "datefin",
    "datedebut",   "revenuimposable", "avantagenature",
    "totalrevenu", "revenureinvesti", "retenueoperes",
    "montantnet",
};

QString annexITitle(const QString &column) {
    return column.toLower() + QStringLiteral(" of annexe1");
}

} // namespace

struct TfmImpDlgIBX::Table {
    std::unique_ptr<Dataset> dataset;
    DatasetGrid *grid = nullptr;
};

TfmImpDlgIBX::TfmImpDlgIBX(TDatadeclaration &dm, QWidget *parent) : QWidget(parent), m_dm(dm) {
    setWindowTitle(QStringLiteral("Importation de données"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(newTitlePanel(QStringLiteral("Importation de données"), this));

    auto *line = new QHBoxLayout;
    line->addWidget(new QLabel(QStringLiteral("Annexe à Importer"), this));
    m_targets = new QComboBox(this);
    m_targets->setToolTip(QStringLiteral("Veuillez importer les tables dans leur Ordre"));
    for (const ImportTarget &t : importTargets())
        m_targets->addItem(QString::fromUtf8(t.choice));
    line->addWidget(m_targets);
    m_empty = new QPushButton(QStringLiteral("Effacer les Données de l'Annexe"), this);
    m_import = new QPushButton(QStringLiteral("Importation des données"), this);
    line->addWidget(m_empty);
    line->addWidget(m_import);
    line->addStretch(1);
    layout->addLayout(line);

    m_tabs = new QTabWidget(this);
    m_summary = new QLabel(this);
    m_summary->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_tabs->addTab(m_summary, QStringLiteral("Dataset"));
    m_gridStack = new QStackedWidget(this);
    m_tabs->addTab(m_gridStack, QStringLiteral("DBGrid"));
    m_list = new QTreeWidget(this);
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("Ligne")});
    m_tabs->addTab(m_list, QStringLiteral("ListView"));
    m_grid = new QTableWidget(0, static_cast<int>(std::size(kAnnexIColumns)), this);
    QStringList titles;
    for (const char *c : kAnnexIColumns)
        titles << annexITitle(QLatin1String(c));
    m_grid->setHorizontalHeaderLabels(titles);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tabs->addTab(m_grid, QStringLiteral("StringGrid"));
    m_tabs->setCurrentIndex(DatasetTab);
    layout->addWidget(m_tabs, 1);

    m_tables.resize(importTargets().size());
    connect(m_targets, &QComboBox::currentIndexChanged, this, &TfmImpDlgIBX::chooseTarget);
    connect(m_empty, &QPushButton::clicked, this, &TfmImpDlgIBX::emptyTarget);
    connect(m_import, &QPushButton::clicked, this, &TfmImpDlgIBX::importData);
    chooseTarget(0);
    resize(900, 560);
}

TfmImpDlgIBX::~TfmImpDlgIBX() = default;

const ImportTarget &TfmImpDlgIBX::target() const {
    return importTargets()[static_cast<std::size_t>(m_current)];
}

Dataset &TfmImpDlgIBX::targetDataset() const {
    return *m_tables[static_cast<std::size_t>(m_current)]->dataset;
}

DatasetGrid *TfmImpDlgIBX::targetGrid() const {
    return m_tables[static_cast<std::size_t>(m_current)]->grid;
}

TfmImpDlgIBX::Table &TfmImpDlgIBX::open(int index) {
    auto &slot = m_tables[static_cast<std::size_t>(index)];
    if (!slot) {
        slot = std::make_unique<Table>();
        slot->dataset = newTargetDataset(m_dm, importTargets()[static_cast<std::size_t>(index)]);
    }
    Table &table = *slot;
    try {
        table.dataset->reopen();
    } catch (const DbError &e) {
        showDbError(this, e);
    }
    if (!table.grid && table.dataset->isOpen()) {
        table.grid = new DatasetGrid(*table.dataset, columnsOfEveryField(*table.dataset), m_gridStack);
        m_gridStack->addWidget(table.grid);
    }
    return table;
}

void TfmImpDlgIBX::chooseTarget(int index) {
    if (index < 0)
        return;
    m_current = index;
    Table &table = open(index);
    if (table.grid)
        m_gridStack->setCurrentWidget(table.grid);
    showSummary();
}

void TfmImpDlgIBX::showSummary() {
    const Dataset &dataset = targetDataset();
    m_summary->setText(QStringLiteral("Table %1 : %2 ligne(s), toutes sociétés et tous exercices confondus.")
                           .arg(QLatin1String(target().table))
                           .arg(dataset.isOpen() ? dataset.rowCount() : 0));
}

void TfmImpDlgIBX::emptyTarget() {
    switch (m_tabs->currentIndex()) {
    case ListViewTab: m_list->clear(); return;
    case StringGridTab: m_grid->setRowCount(0); return;
    default: break;
    }
    try {
        emptyTargetTable(m_dm, target());
    } catch (const DbError &e) {
        showDbError(this, e);
        return;
    }
    // The emptied table, and Annex I (the table the window opens on), read again.
    if (m_current != 0 && m_tables[0])
        open(0);
    open(m_current);
    showSummary();
}

void TfmImpDlgIBX::importData() {
    Table &table = *m_tables[static_cast<std::size_t>(m_current)];
    if (!table.dataset->isOpen())
        open(m_current);
    const bool onlyShown = m_tabs->currentIndex() == ListViewTab || m_tabs->currentIndex() == StringGridTab;
    ImportWizardDialog wizard(*table.dataset, &m_dm, this);
    if (onlyShown)
        wizard.setDisplayHandler(
            [this](const QStringList &fields, const std::vector<ImportWizard::ShownRow> &rows) {
                std::vector<QStringList> texts;
                texts.reserve(rows.size());
                for (const ImportWizard::ShownRow &r : rows)
                    texts.push_back(QStringList{QString::number(r.number)} + r.texts);
                showRead(fields, texts);
            });
    wizard.exec();
    if (onlyShown)
        return;
    open(m_current);
    showSummary();
}

// Rows read but not stored: each row starts with its number in the file, then the texts of `fields`.
void TfmImpDlgIBX::showRead(const QStringList &fields, const std::vector<QStringList> &rows) {
    if (m_tabs->currentIndex() == ListViewTab) {
        m_list->setHeaderLabels(QStringList{QStringLiteral("Ligne")} + fields);
        QList<QTreeWidgetItem *> items;
        for (const QStringList &r : rows)
            items << new QTreeWidgetItem(r);
        m_list->addTopLevelItems(items);
        return;
    }
    // The grid's columns by title; a field that has none gets a column of its own at the end.
    QList<int> columns;
    for (const QString &field : fields) {
        const QString title = annexITitle(field);
        int column = -1;
        for (int c = 0; c < m_grid->columnCount() && column < 0; ++c)
            if (m_grid->horizontalHeaderItem(c) && m_grid->horizontalHeaderItem(c)->text() == title)
                column = c;
        if (column < 0) {
            column = m_grid->columnCount();
            m_grid->setColumnCount(column + 1);
            m_grid->setHorizontalHeaderItem(column, new QTableWidgetItem(field.toLower()));
        }
        columns << column;
    }
    int row = m_grid->rowCount();
    m_grid->setRowCount(row + static_cast<int>(rows.size()));
    for (const QStringList &r : rows) {
        for (int i = 0; i < columns.size(); ++i)
            m_grid->setItem(row, columns[i], new QTableWidgetItem(r.value(i + 1)));
        ++row;
    }
}
