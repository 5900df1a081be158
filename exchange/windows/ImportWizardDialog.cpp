#include "exchange/windows/ImportWizardDialog.h"

#include "data/Dataset.h"
#include "ui/Messages.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <chrono>

namespace {

constexpr int kPreviewRows = 20;

const QString kFileFilter =
    QStringLiteral("Classeurs et fichiers texte (*.xls *.xlsx *.ods *.csv *.txt *.tsv *.tab);;Tous (*)");
const QString kSettingsFilter = QStringLiteral("Paramètres d'importation (*.json);;Tous (*)");

struct FormatChoice {
    const char *caption;
    SpreadsheetFormat format;
};
const FormatChoice kFormats[] = {
    {"Selon l'extension du fichier", SpreadsheetFormat::Auto},
    {"Classeur Excel 97-2003 (.xls)", SpreadsheetFormat::Xls},
    {"Classeur Excel (.xlsx)", SpreadsheetFormat::Xlsx},
    {"Classeur OpenDocument (.ods)", SpreadsheetFormat::Ods},
    {"Texte délimité (.csv)", SpreadsheetFormat::Csv},
    {"Texte séparé par des tabulations (.txt)", SpreadsheetFormat::Tab},
};

struct DelimiterChoice {
    const char *caption;
    char delimiter;
};
const DelimiterChoice kDelimiters[] = {
    {"Automatique (; ou ,)", 0},
    {"Point-virgule ;", ';'},
    {"Virgule ,", ','},
    {"Tabulation", '\t'},
};

qint64 nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

ImportWizardDialog::ImportWizardDialog(Dataset &target, TDatadeclaration *dm, QWidget *parent)
    : QDialog(parent), m_wizard(target, dm) {
    setWindowTitle(QStringLiteral("Importation de données"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);

    auto *form = new QFormLayout;
    auto *fileRow = new QHBoxLayout;
    m_file = new QLineEdit(this);
    auto *pick = new QPushButton(QStringLiteral("..."), this);
    pick->setToolTip(QStringLiteral("Choisir le fichier"));
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(pick);
    form->addRow(QStringLiteral("Fichier"), fileRow);
    m_format = new QComboBox(this);
    for (const FormatChoice &f : kFormats)
        m_format->addItem(QString::fromUtf8(f.caption), static_cast<int>(f.format));
    form->addRow(QStringLiteral("Format"), m_format);
    m_delimiter = new QComboBox(this);
    for (const DelimiterChoice &d : kDelimiters)
        m_delimiter->addItem(QString::fromUtf8(d.caption), static_cast<int>(d.delimiter));
    form->addRow(QStringLiteral("Séparateur (fichiers texte)"), m_delimiter);
    m_sheets = new QComboBox(this);
    form->addRow(QStringLiteral("Feuille"), m_sheets);
    m_firstRow = new QSpinBox(this);
    m_firstRow->setRange(1, kMaxRows);
    form->addRow(QStringLiteral("Première ligne"), m_firstRow);
    m_lastRow = new QSpinBox(this);
    m_lastRow->setRange(0, kMaxRows);
    m_lastRow->setSpecialValueText(QStringLiteral("jusqu'à la fin"));
    form->addRow(QStringLiteral("Dernière ligne"), m_lastRow);
    layout->addLayout(form);

    layout->addWidget(new QLabel(QStringLiteral("Aperçu du fichier"), this));
    m_preview = new QTableWidget(this);
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(m_preview, 1);

    layout->addWidget(new QLabel(QStringLiteral("Colonnes du fichier associées aux champs"), this));
    m_mapping = new QTableWidget(0, 2, this);
    m_mapping->setHorizontalHeaderLabels({QStringLiteral("Champ"), QStringLiteral("Colonne")});
    m_mapping->horizontalHeader()->setStretchLastSection(true);
    m_mapping->verticalHeader()->hide();
    layout->addWidget(m_mapping, 1);

    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    layout->addWidget(m_progress);

    auto *buttons = new QHBoxLayout;
    auto *save = new QPushButton(QStringLiteral("Enregistrer les paramètres"), this);
    auto *load = new QPushButton(QStringLiteral("Charger les paramètres"), this);
    m_import = new QPushButton(QStringLiteral("Importer"), this);
    m_stop = new QPushButton(QStringLiteral("Interrompre"), this);
    m_stop->setEnabled(false);
    auto *close = new QPushButton(QStringLiteral("Fermer"), this);
    buttons->addWidget(save);
    buttons->addWidget(load);
    buttons->addStretch(1);
    buttons->addWidget(m_import);
    buttons->addWidget(m_stop);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    // Enter in the file box opens the file; it presses no button.
    for (QPushButton *b : {pick, save, load, m_import, m_stop, close})
        b->setAutoDefault(false);
    m_lockedWhileImporting = {m_file,    pick,      m_format, m_delimiter, m_sheets, m_firstRow,
                              m_lastRow, m_mapping, save,     load,        m_import, close};

    connect(pick, &QPushButton::clicked, this, &ImportWizardDialog::chooseFile);
    connect(m_file, &QLineEdit::editingFinished, this, [this] {
        if (m_file->text() != m_wizard.specification().file)
            openFile();
    });
    connect(m_sheets, &QComboBox::currentIndexChanged, this, [this](int sheet) {
        if (m_showing || sheet < 0)
            return;
        try {
            m_wizard.setSheet(sheet);
        } catch (const DbError &e) {
            showDbError(this, e);
        }
        showPreview();
    });
    // Another format or separator reads the file again; a file not yet named is not reported missing.
    auto formatChanged = [this] {
        if (m_showing)
            return;
        useFileOfBoxes();
        previewWhenPresent();
    };
    connect(m_format, &QComboBox::currentIndexChanged, this, formatChanged);
    connect(m_delimiter, &QComboBox::currentIndexChanged, this, formatChanged);
    connect(m_firstRow, &QSpinBox::valueChanged, this, [this](int row) { m_wizard.setFirstRow(row); });
    connect(m_lastRow, &QSpinBox::valueChanged, this, [this](int row) { m_wizard.setLastRow(row); });
    connect(m_stop, &QPushButton::clicked, this, [this] { m_stopAsked = true; });
    connect(save, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Enregistrer les paramètres"),
                                                          QString(), kSettingsFilter);
        if (!path.isEmpty())
            saveSettings(path);
    });
    connect(load, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Charger les paramètres"),
                                                          QString(), kSettingsFilter);
        if (!path.isEmpty())
            loadSettings(path);
    });
    connect(m_import, &QPushButton::clicked, this, &ImportWizardDialog::runImport);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    m_wizard.setMappings(m_wizard.mappingByOrder());
    showSettings();
    resize(760, 620);
}

ImportWizardDialog::~ImportWizardDialog() = default;

void ImportWizardDialog::usePreset(const QString &table, const QString &modelsFolder) {
    m_wizard.usePreset(table, modelsFolder);
    showSettings();
    previewWhenPresent();
}

void ImportWizardDialog::chooseFile() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Fichier à importer"),
                                                      QFileInfo(m_file->text()).path(), kFileFilter);
    if (path.isEmpty())
        return;
    m_file->setText(path);
    openFile();
}

void ImportWizardDialog::openFile() {
    useFileOfBoxes();
    showPreview();
}

void ImportWizardDialog::useFileOfBoxes() {
    applyBoxes();
    m_wizard.setFile(m_file->text(), static_cast<SpreadsheetFormat>(m_format->currentData().toInt()),
                     static_cast<char>(m_delimiter->currentData().toInt()));
    showSettings();
}

void ImportWizardDialog::previewWhenPresent() {
    if (QFileInfo::exists(m_wizard.specification().file))
        showPreview();
}

void ImportWizardDialog::showSettings() {
    m_showing = true;
    const ImportSpecification &settings = m_wizard.specification();
    m_file->setText(settings.file);
    m_firstRow->setValue(settings.firstRow);
    m_lastRow->setValue(settings.lastRow);
    m_format->setCurrentIndex(std::max(0, m_format->findData(static_cast<int>(settings.format))));
    m_delimiter->setCurrentIndex(std::max(0, m_delimiter->findData(static_cast<int>(settings.delimiter))));
    m_sheets->clear();
    if (QFileInfo::exists(settings.file)) {
        try {
            m_sheets->addItems(m_wizard.sheets());
            const int byName = static_cast<int>(m_wizard.sheets().indexOf(settings.sheetName));
            m_sheets->setCurrentIndex(byName >= 0 ? byName : settings.sheet);
        } catch (const DbError &) {
            // reported by the preview
        }
    }
    const QStringList fields = m_wizard.fields();
    m_mapping->setRowCount(static_cast<int>(fields.size()));
    for (int i = 0; i < fields.size(); ++i) {
        auto *field = new QTableWidgetItem(fields[i]);
        field->setFlags(field->flags() & ~Qt::ItemIsEditable);
        m_mapping->setItem(i, 0, field);
        const ColumnMapping *m = settings.mappingOf(fields[i]);
        m_mapping->setItem(i, 1, new QTableWidgetItem(m ? m->source : QString()));
    }
    m_showing = false;
}

void ImportWizardDialog::showPreview() {
    m_preview->clear();
    m_preview->setRowCount(0);
    m_preview->setColumnCount(0);
    std::vector<SheetRow> rows;
    try {
        rows = m_wizard.preview(kPreviewRows);
    } catch (const DbError &e) {
        showDbError(this, e);
        return;
    }
    int columns = 0;
    for (const SheetRow &r : rows)
        columns = std::max(columns, static_cast<int>(r.cells.size()));
    m_preview->setColumnCount(columns);
    m_preview->setRowCount(static_cast<int>(rows.size()));
    QStringList titles;
    for (int c = 0; c < columns; ++c)
        titles << columnLetters(c);
    m_preview->setHorizontalHeaderLabels(titles);
    QStringList numbers;
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        numbers << QString::number(rows[r].number);
        for (int c = 0; c < rows[r].cells.size(); ++c)
            m_preview->setItem(r, c, new QTableWidgetItem(cellText(rows[r].cells[c])));
    }
    m_preview->setVerticalHeaderLabels(numbers);
}

void ImportWizardDialog::applyBoxes() {
    m_wizard.setFirstRow(m_firstRow->value());
    m_wizard.setLastRow(m_lastRow->value());
    std::vector<ColumnMapping> mappings;
    for (int i = 0; i < m_mapping->rowCount(); ++i) {
        const QTableWidgetItem *source = m_mapping->item(i, 1);
        const QString letters = source ? source->text().trimmed().toUpper() : QString();
        if (!letters.isEmpty())
            mappings.push_back({letters, m_mapping->item(i, 0)->text()});
    }
    m_wizard.setMappings(std::move(mappings));
}

void ImportWizardDialog::saveSettings(const QString &path) {
    applyBoxes();
    try {
        m_wizard.saveSpecification(path);
    } catch (const DbError &e) {
        showDbError(this, e);
    }
}

void ImportWizardDialog::loadSettings(const QString &path) {
    try {
        m_wizard.loadSpecification(path);
    } catch (const DbError &e) {
        showDbError(this, e);
        return;
    }
    showSettings();
    previewWhenPresent();
}

bool ImportWizardDialog::keepGoing(int done, int total) {
    m_progress->setValue(total > 0 ? done * 100 / total : 100);
    // The window answers (its progress drawn, "Interrompre" pressed) a few times a second, not at every row.
    const qint64 now = nowMs();
    if (now - m_lastEvents >= 100) {
        m_lastEvents = now;
        QApplication::processEvents();
    }
    return !m_stopAsked;
}

void ImportWizardDialog::runImport() {
    if (m_importing)
        return;
    applyBoxes();
    if (m_display) {
        std::vector<ImportWizard::ShownRow> rows;
        try {
            rows = m_wizard.readMapped();
        } catch (const DbError &e) {
            showDbError(this, e);
            return;
        }
        QStringList fields;
        for (const ColumnMapping &m : m_wizard.specification().mappings)
            fields << m.field;
        m_display(fields, rows);
        accept();
        return;
    }
    m_progress->setValue(0);
    m_importing = true;
    m_stopAsked = false;
    m_lastEvents = 0; // the first row already lets the window answer
    for (QWidget *w : m_lockedWhileImporting)
        w->setEnabled(false);
    m_stop->setEnabled(true);
    try {
        m_result = m_wizard.run([this](int done, int total) { return keepGoing(done, total); });
    } catch (const DbError &e) {
        m_result = {};
        m_result.message = e.message();
    }
    m_importing = false;
    m_stop->setEnabled(false);
    for (QWidget *w : m_lockedWhileImporting)
        w->setEnabled(true);
    if (m_result.complete)
        m_progress->setValue(100);
    showMessage(this, m_result.message);
    if (m_result.complete)
        accept();
}

void ImportWizardDialog::reject() {
    if (m_importing) {
        m_stopAsked = true;
        return;
    }
    QDialog::reject();
}
