#include "exchange/windows/TFrmexportexcell.h"

#include "app/windows/TFrmmain.h"
#include "data/DbError.h"
#include "data/TDatadeclaration.h"
#include "exchange/DbfTable.h"
#include "exchange/windows/ExchangeWindows.h"
#include "reference/Companies.h"
#include "ui/DatasetGrid.h"
#include "ui/Messages.h"
#include "ui/WindowRegistry.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>
#include <limits>

// A read-only grid model over an export source: the table read from a file.
class ExportSourceModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setSource(std::shared_ptr<ExportSource> source) {
        beginResetModel();
        m_source = std::move(source);
        endResetModel();
    }
    int rowCount(const QModelIndex &parent = {}) const override {
        return parent.isValid() || !m_source ? 0 : m_source->rowCount();
    }
    int columnCount(const QModelIndex &parent = {}) const override {
        return parent.isValid() || !m_source ? 0 : m_source->fieldCount();
    }
    QVariant data(const QModelIndex &index, int role) const override {
        if (!index.isValid() || !m_source)
            return {};
        if (role == Qt::TextAlignmentRole)
            return QVariant(m_source->fieldType(index.column()) == ExportSource::FieldType::Number
                                ? Qt::AlignRight | Qt::AlignVCenter
                                : Qt::AlignLeft | Qt::AlignVCenter);
        if (role != Qt::DisplayRole)
            return {};
        const QVariant v = m_source->value(index.row(), index.column());
        switch (v.typeId()) {
        case QMetaType::QDate: return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
        case QMetaType::Double: return QString::number(v.toDouble(), 'g', 15);
        case QMetaType::Bool: return v.toBool() ? QStringLiteral("Oui") : QStringLiteral("Non");
        default: return v.toString();
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && m_source && section >= 0 &&
            section < m_source->fieldCount())
            return m_source->fieldName(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

private:
    std::shared_ptr<ExportSource> m_source;
};

namespace {

// The entries of "Tables De base": the statement of each, on the active company and year but for the
// third parties. Annexes I to VI take their table and company column from the data module.
struct TableEntry {
    const char *caption;
    QString statement;
};

QString annexStatement(int number) {
    const AnnexTable &a = kAnnexTables[static_cast<std::size_t>(number - 1)];
    return QStringLiteral("select * from %1 where %2=:code and EXERCICE=:exercice order by NUMEROORDRE")
        .arg(QLatin1String(a.table), QLatin1String(a.companyColumn));
}

const std::vector<TableEntry> &tableEntries() {
    static const std::vector<TableEntry> entries = {
        {"Annexe I", annexStatement(1)},
        {"Annexe II", annexStatement(2)},
        {"Annexe III", annexStatement(3)},
        {"Annexe IV", annexStatement(4)},
        {"Annexe V", annexStatement(5)},
        {"Annexe VI", annexStatement(6)},
        {"Retenue à la Source Quotidienne",
         QStringLiteral("select * from RTENUEALASOURCE where CODESOCIETE=:code and EXERCICE=:exercice "
                        "order by NUMERO, TYPERETENUE")},
        {"Tiers", QStringLiteral("select * from TIERS order by CODE")},
        {"Ristournes Commerciales",
         QStringLiteral("select * from RISTOURNE where CODESOCIETE=:code and EXERCICE=:exercice order by "
                        "NUMERO")},
    };
    return entries;
}

// A row box holds digits only; anything else leaves the exporter as it is.
bool rowNumber(const QString &text, int &value) {
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    bool ok = false;
    const qlonglong n = text.toLongLong(&ok);
    value =
        ok && n <= std::numeric_limits<int>::max() ? static_cast<int>(n) : std::numeric_limits<int>::max();
    return true;
}

struct CheckSetting {
    const char *caption;
    bool GWGExporterXL::*setting;
};
const CheckSetting kChecks[] = {
    {"Export Visible", &GWGExporterXL::exportVisible},
    {"VisibleAfterExport", &GWGExporterXL::visibleAfterExport},
    {"SaveAfterExport", &GWGExporterXL::saveAfterExport},
    {"SaveInExcel97", &GWGExporterXL::saveIn97Format},
    {"SilentSave", &GWGExporterXL::silentSave},
};

// An existing file chosen in the program's own dialog (the same on every desktop), starting in the folder
// of the current file when there is one, else in the program's folder.
QString askFile(QWidget *parent, const QString &title, const QString &filter, const QString &current) {
    const QFileInfo info(current);
    const QString folder =
        !current.isEmpty() && info.exists() ? info.absolutePath() : QCoreApplication::applicationDirPath();
    QFileDialog dialog(parent, title, folder, filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

TFrmexportexcell::TFrmexportexcell(TFrmmain &frame, QWidget *parent)
    : QWidget(parent), m_frame(frame), m_dm(frame.dm()),
      m_table(m_dm.newQuery(QStringLiteral("TFrmexportexcell"))) {
    setWindowTitle(QStringLiteral("Component TGWGExporterXL checker..."));
    auto *layout = new QVBoxLayout(this);

    m_toolBar = new QToolBar(this);
    const std::pair<const char *, void (TFrmexportexcell::*)()> actions[] = {
        {"Export vers Excel", &TFrmexportexcell::exportRows},
        {"Actualiser", &TFrmexportexcell::refreshBoxes},
        {"Réinitialiser", &TFrmexportexcell::resetExporter},
        {"Ouvrir une table", &TFrmexportexcell::openFileTable},
        {"Fermer la table", &TFrmexportexcell::closeTable},
        {"Fermer", nullptr},
    };
    for (const auto &[caption, action] : actions) {
        QAction *a = m_toolBar->addAction(QString::fromUtf8(caption));
        if (action)
            connect(a, &QAction::triggered, this, action);
        else
            connect(a, &QAction::triggered, this, &QWidget::close);
        if (auto *b = qobject_cast<QAbstractButton *>(m_toolBar->widgetForAction(a)))
            m_buttons << b;
    }
    m_toolBar->setMinimumWidth(m_toolBar->sizeHint().width()); // every button in sight, none in a menu
    layout->addWidget(m_toolBar);

    auto *top = new QHBoxLayout;
    auto *list = new QVBoxLayout;
    m_tables = new QListWidget(this);
    auto *listLabel = new QLabel(QStringLiteral("Tables De base"), this);
    listLabel->setBuddy(m_tables);
    for (const TableEntry &e : tableEntries())
        m_tables->addItem(QString::fromUtf8(e.caption));
    list->addWidget(listLabel);
    list->addWidget(m_tables);
    top->addLayout(list);
    top->addWidget(buildSettings(), 1);
    layout->addLayout(top);

    m_grids = new QStackedWidget(this);
    m_fileGrid = new QTableView(m_grids);
    m_fileModel = new ExportSourceModel(m_fileGrid);
    m_fileGrid->setModel(m_fileModel);
    m_fileGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_fileGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grids->addWidget(m_fileGrid);
    layout->addWidget(m_grids, 1);

    auto *status = new QStatusBar(this);
    m_progress = new QProgressBar(status);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_status = new QLabel(status);
    status->addWidget(m_progress);
    status->addWidget(m_status, 1);
    layout->addWidget(status);

    connect(m_tables, &QListWidget::currentRowChanged, this, &TFrmexportexcell::chooseTable);
    m_exporter.columnFile = QStringLiteral("Export.ini");
    m_exporter.titlesFile = QStringLiteral("DATA.TXT");
    m_tables->setCurrentRow(0); // Annexe I of the active company and year
    refreshBoxes();
}

// The grid goes before the table it shows.
TFrmexportexcell::~TFrmexportexcell() {
    delete m_tableGrid;
}

QLineEdit *TFrmexportexcell::addRowBox(QGridLayout *grid, int row, const QString &caption,
                                       void (GWGExporterXL::*set)(int)) {
    auto *box = new QLineEdit(this);
    auto *label = new QLabel(caption, this);
    label->setBuddy(box);
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, 1);
    // Applied as typed; the other boxes follow at once, the box typed in when the typing ends, so that
    // the text being typed is not replaced under the cursor.
    connect(box, &QLineEdit::textEdited, this, [this, box, set](const QString &text) {
        int value = 0;
        if (!rowNumber(text, value))
            return;
        (m_exporter.*set)(value);
        showRows(box);
    });
    connect(box, &QLineEdit::editingFinished, this, &TFrmexportexcell::refreshBoxes);
    return box;
}

QWidget *TFrmexportexcell::buildSettings() {
    auto *panel = new QWidget(this);
    auto *grid = new QGridLayout(panel);
    m_firstRow = addRowBox(grid, 0, QStringLiteral("1ère Ligne de Transfert"), &GWGExporterXL::setFirstRow);
    m_lastRow = addRowBox(grid, 1, QStringLiteral("Ligne Fin de Transfert"), &GWGExporterXL::setLastRow);
    m_rows = addRowBox(grid, 2, QStringLiteral("Nbr de Ligne à Transférer"), &GWGExporterXL::setRows);

    int row = 3;
    for (const CheckSetting &c : kChecks) {
        auto *check = new QCheckBox(QString::fromUtf8(c.caption), panel);
        const auto setting = c.setting;
        connect(check, &QCheckBox::toggled, this, [this, setting](bool on) { m_exporter.*setting = on; });
        grid->addWidget(check, row, 0, 1, 2);
        if (setting == &GWGExporterXL::saveIn97Format) {
            // The workbook writer knows only .xlsx: the setting is kept, but says what happens.
            auto *note = new QLabel(
                QStringLiteral(
                    "Les classeurs sont toujours enregistrés au format .xlsx (Excel 2007 et suivants)."),
                panel);
            note->setWordWrap(true);
            grid->addWidget(note, row, 2);
        }
        m_checks << check;
        ++row;
    }

    const struct {
        const char *button;
        QLineEdit **box;
        QString GWGExporterXL::*setting;
        void (TFrmexportexcell::*choose)();
    } files[] = {
        {"Fichier de Sauvegarde", &m_saveFile, &GWGExporterXL::saveFile, &TFrmexportexcell::chooseSaveFile},
        {"Fichier INI", &m_columnFile, &GWGExporterXL::columnFile, &TFrmexportexcell::chooseColumnFile},
        {"Changer Nom de Fichier", &m_titlesFile, &GWGExporterXL::titlesFile,
         &TFrmexportexcell::chooseTitlesFile},
    };
    for (const auto &f : files) {
        auto *box = new QLineEdit(panel);
        const auto setting = f.setting;
        connect(box, &QLineEdit::textEdited, this,
                [this, setting](const QString &text) { m_exporter.*setting = text; });
        auto *choose = new QPushButton(QString::fromUtf8(f.button), panel);
        connect(choose, &QPushButton::clicked, this, f.choose);
        grid->addWidget(box, row, 0, 1, 2);
        grid->addWidget(choose, row, 2);
        m_buttons << choose;
        *f.box = box;
        ++row;
    }
    grid->setColumnStretch(2, 1);
    return panel;
}

QCheckBox *TFrmexportexcell::checkBox(const QString &caption) const {
    for (QCheckBox *c : m_checks)
        if (c->text() == caption)
            return c;
    return nullptr;
}

QAbstractButton *TFrmexportexcell::button(const QString &caption) const {
    for (QAbstractButton *b : m_buttons)
        if (b->text() == caption)
            return b;
    return nullptr;
}

void TFrmexportexcell::showRows(const QLineEdit *except) {
    const std::pair<QLineEdit *, int> rows[] = {
        {m_firstRow, m_exporter.firstRow()}, {m_lastRow, m_exporter.lastRow()}, {m_rows, m_exporter.rows()}};
    for (const auto &[box, value] : rows)
        if (box != except)
            box->setText(QString::number(value));
}

void TFrmexportexcell::refreshBoxes() {
    showRows(nullptr);
    for (std::size_t i = 0; i < std::size(kChecks); ++i) {
        const QSignalBlocker quiet(m_checks[static_cast<qsizetype>(i)]);
        m_checks[static_cast<qsizetype>(i)]->setChecked(m_exporter.*kChecks[i].setting);
    }
    m_saveFile->setText(m_exporter.saveFile);
    m_columnFile->setText(m_exporter.columnFile);
    m_titlesFile->setText(m_exporter.titlesFile);
}

void TFrmexportexcell::chooseTable(int entry) {
    if (entry < 0 || entry >= static_cast<int>(tableEntries().size()))
        return;
    m_exporter.setSource(nullptr);
    m_fileModel->setSource({});
    delete m_tableGrid;
    m_tableGrid = nullptr;
    try {
        m_table->close();
        m_table->setSql(tableEntries()[static_cast<std::size_t>(entry)].statement);
        if (m_table->paramNames().contains(QStringLiteral("code"), Qt::CaseInsensitive)) {
            m_table->setParam(QStringLiteral("code"), m_dm.activeCompany.code);
            m_table->setParam(QStringLiteral("exercice"), m_dm.activeCompany.exercice);
        }
        m_table->open();
        m_table->first();
    } catch (const DbError &e) {
        showFileTable(nullptr); // nothing to export; the entry may be chosen again
        refreshBoxes();
        showDbError(this, e);
        return;
    }
    m_tableGrid = new DatasetGrid(*m_table, columnsOfEveryField(*m_table), m_grids);
    m_grids->addWidget(m_tableGrid);
    m_grids->setCurrentWidget(m_tableGrid);

    m_exporter.setSource(m_table.get());
    m_exporter.setLastRow(m_table->rowCount());
    m_exporter.setRows(m_table->rowCount());
    refreshBoxes();
}

void TFrmexportexcell::showFileTable(std::shared_ptr<ExportSource> table) {
    delete m_tableGrid;
    m_tableGrid = nullptr;
    m_table->close();
    m_fileModel->setSource(table);
    m_grids->setCurrentWidget(m_fileGrid);
    m_exporter.setSource(std::move(table));
    // The list shows no entry, so that choosing one again opens it.
    const QSignalBlocker quiet(m_tables);
    m_tables->setCurrentRow(-1);
}

void TFrmexportexcell::openFileTable() {
    const QString path = askFile(this, QStringLiteral("Ouvrir une table"),
                                 QStringLiteral("Paradox and DBase Tables (*.DBF *.DB)"), QString());
    if (path.isEmpty())
        return;
    std::shared_ptr<DbfTable> table;
    try {
        table = std::make_shared<DbfTable>(path);
    } catch (const DbError &e) {
        showDbError(this, e);
        return;
    }
    m_exporter.reset();
    showFileTable(std::move(table));
    refreshBoxes();
}

void TFrmexportexcell::closeTable() {
    showFileTable(nullptr);
    refreshBoxes();
}

void TFrmexportexcell::resetExporter() {
    const std::shared_ptr<ExportSource> source = m_exporter.exportSource();
    Dataset *dataset = m_exporter.source();
    m_exporter.reset();
    // The table shown stays the one exported.
    if (dataset)
        m_exporter.setSource(dataset);
    else
        m_exporter.setSource(source);
    refreshBoxes();
}

void TFrmexportexcell::chooseSaveFile() {
    QFileDialog dialog(this, QStringLiteral("Save as MsExcel files"), QCoreApplication::applicationDirPath(),
                       QStringLiteral("MsExcel Files (*.xls)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("xls"));
    dialog.selectFile(QStringLiteral("Export.xls"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    m_exporter.saveFile = dialog.selectedFiles().constFirst();
    m_saveFile->setText(m_exporter.saveFile);
}

void TFrmexportexcell::chooseColumnFile() {
    const QString path = askFile(this, QStringLiteral("Select INI File..."),
                                 QStringLiteral("INI Files (*.ini)"), m_exporter.columnFile);
    if (path.isEmpty())
        return;
    m_exporter.columnFile = path;
    m_columnFile->setText(path);
}

void TFrmexportexcell::chooseTitlesFile() {
    const QString path = askFile(this, QStringLiteral("Select TXT File..."),
                                 QStringLiteral("TXT Files (*.Txt)"), m_exporter.titlesFile);
    if (path.isEmpty())
        return;
    m_exporter.titlesFile = path;
    m_titlesFile->setText(path);
}

void TFrmexportexcell::exportRows() {
    m_grids->hide();
    setEnabled(false);
    m_progress->setValue(0);
    QElapsedTimer timer;
    timer.start();
    int sent = 0;
    QString written;
    QString failure;
    try {
        // Painted at once: the export runs without returning to the event loop.
        written = m_exporter.exportRows([this, &sent](const GWGExporterXL::Progress &p) {
            sent = p.rowsSent;
            m_progress->setValue(p.percent);
            m_status->setText(GWGExporterXL::statusText(p.rowsSent, p.elapsedMs));
            m_progress->repaint();
            m_status->repaint();
        });
        m_status->setText(GWGExporterXL::statusText(sent, timer.elapsed()));
    } catch (const DbError &e) {
        failure = e.message();
    }
    setEnabled(true);
    m_grids->show();
    refreshBoxes(); // the rows as the export fitted them to the source
    finishExport(this, m_exporter, written, failure);
}

void TFrmexportexcell::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        takeMarkedCompany();
}

// The marked company of SOCIETE becomes the active company of every window; none marked, it stays.
void TFrmexportexcell::takeMarkedCompany() {
    try {
        const std::unique_ptr<Dataset> societe = m_dm.newQuery(QStringLiteral("TFrmexportexcellSociete"));
        societe->setSql(QStringLiteral("select * from SOCIETE"));
        if (!findMarkedCompany(*societe))
            return;
        const ActiveCompany marked = companyOfRow(*societe);
        const bool changed =
            marked.code != m_dm.activeCompany.code || marked.exercice != m_dm.activeCompany.exercice;
        m_frame.setActiveCompany(marked);
        // The table chosen in the list is read again for that company: the rows shown and exported are
        // the rows of the company that every window now names.
        if (changed && m_tables->currentRow() >= 0)
            chooseTable(m_tables->currentRow());
    } catch (const DbError &e) {
        showDbError(this, e);
    }
}

void registerExportWindow(WindowRegistry &registry) {
    registry.add(QStringLiteral("TFrmexportexcell"), [](TFrmmain &f) { return new TFrmexportexcell(f); });
}
