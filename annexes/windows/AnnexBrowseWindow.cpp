#include "annexes/windows/AnnexBrowseWindow.h"

#include "annexes/AnnexDefinitions.h"
#include "annexes/AnnexOperations.h"
#include "annexes/AnnexVerification.h"
#include "annexes/windows/AnnexBrowseDefinitions.h"
#include "annexes/windows/AnnexEditWindow.h"
#include "annexes/windows/AnnexPrints.h"
#include "app/windows/TFrmmain.h"
#include "data/DbError.h"
#include "data/TDatadeclaration.h"
#include "exchange/GWGExporterXL.h"
#include "exchange/windows/ExchangeWindows.h"
#include "exchange/windows/ImportWizardDialog.h"
#include "ui/DatasetGrid.h"
#include "ui/Messages.h"
#include "ui/WindowRegistry.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

QString text(const char *s) {
    return QString::fromUtf8(s);
}

QList<GridColumn> gridOf(const AnnexBrowseDefinition &d) {
    QList<GridColumn> columns;
    for (const AnnexGridColumn &c : d.grid)
        columns << GridColumn{text(c.title), text(c.column)};
    return columns;
}

QString columnOf(const AnnexBrowseDefinition &d, const char *title) {
    for (const AnnexGridColumn &c : d.grid)
        if (qstrcmp(c.title, title) == 0)
            return text(c.column);
    return {};
}

// The titles the search understands, with the column each filters.
std::map<QString, QString> searchCaptions(const AnnexBrowseDefinition &d) {
    std::map<QString, QString> captions;
    for (const AnnexSearchTitle &t : d.searchable)
        captions.emplace(text(t.title), columnOf(d, t.title));
    return captions;
}

// The rows of the active company and year, ordered by the clicked column; a search keeps those whose
// column begins with the text, in the order its title gives.
BrowseSearch::Statement scopedStatement(const AnnexBrowseDefinition &d) {
    QHash<QString, QString> orders;
    for (const AnnexSearchTitle &t : d.searchable)
        if (t.order)
            orders.insert(columnOf(d, t.title), text(t.order));
    const QString scoped = text(d.scopedStatement);
    return [scoped, orders](const QString &column, const QString &condition) {
        if (condition.isEmpty())
            return scoped + QStringLiteral("  Order by ") + column;
        return scoped + QStringLiteral(" and ") + condition + QStringLiteral(" Order by ") +
               orders.value(column, column);
    };
}

} // namespace

AnnexBrowseWindow::AnnexBrowseWindow(TDatadeclaration &dm, int annex, QWidget *parent)
    : BrowseWindow(dm.annex(annex), text(annexBrowseDefinition(annex).caption),
                   text(annexBrowseDefinition(annex).banner), gridOf(annexBrowseDefinition(annex)), parent),
      m_dm(dm), m_definition(annexBrowseDefinition(annex)) {
    m_dm.verificationMessage = true;
    enableSearch(searchCaptions(m_definition), scopedStatement(m_definition))->setBinder([this](Dataset &ds) {
        ds.setParam(QStringLiteral("Societe"), m_dm.activeCompany.code);
        ds.setParam(QStringLiteral("exercice"), m_dm.activeCompany.exercice);
    });
    new WheelRowNavigator(grid(), dataset());

    auto editWindow = [this]() -> QWidget * { return newAnnexEditWindow(m_dm, this->annex(), this); };
    auto change = [this, editWindow] { changeRow(editWindow); };
    auto add = [this] { addAnnexRow(); };
    auto remove = [this] { deleteRow(); };
    auto check = [this] { verify(); };
    auto print = [this] { showAnnexReport(m_dm, this->annex(), this); };
    auto close = [this] { this->close(); };

    addButton(QStringLiteral("Ajouter"), QStringLiteral("Ajouter"), add);
    addButton(QStringLiteral("Modifier"), QStringLiteral("Modifier"), change);
    addButton(QStringLiteral("Supprimer"), QStringLiteral("Supprimer"), remove);
    addButton(QStringLiteral("Vérifier"), QStringLiteral("Vérifier"), check);
    addButton(QStringLiteral("Imprimer"), QStringLiteral("Imprimer etat Global des Retenues"), print);
    if (m_definition.certificates)
        addButton(QStringLiteral("Certificats"), QStringLiteral("Imprimer Certificat de Retenue à la source"),
                  [this] {
                      m_certificates->show();
                      m_fromNumber->setFocus();
                  });
    addButton(QStringLiteral("Effacer"), QStringLiteral("Effacer Toutes  les données de l'annexe"),
              [this] { clearAnnex(); });
    addButton(QStringLiteral("Année N-1"), QStringLiteral("Importation des Données de l'année N-1"),
              [this] { copyPreviousYear(); });
    addButton(QStringLiteral("Importer"),
              QStringLiteral("Importation des Données à partir d'Excel et Autres"),
              [this] { importFromSpreadsheet(); });
    addButton(QStringLiteral("Export Excel"), QStringLiteral("Export Excel"),
              [this] { exportToSpreadsheet(); });
    addButton(QStringLiteral("Fermer"), QStringLiteral("Fermer"), close);

    addMenuEntry(QStringLiteral("Ajouter"), add);
    addMenuEntry(QStringLiteral("Modifier"), change);
    addMenuEntry(QStringLiteral("Supprimer"), remove);
    addMenuEntry(QStringLiteral("Vérification"), check);
    addMenuEntry(QStringLiteral("Imprimer"), print);
    addMenuEntry(QStringLiteral("Fermer"), close);
    connect(grid(), &DatasetGrid::rowDoubleClicked, this, change);

    if (m_definition.certificates)
        buildCertificatePanel();
    if (!m_definition.loadWhenShown)
        loadRows();
}

int AnnexBrowseWindow::annex() const {
    return m_definition.annex;
}

void AnnexBrowseWindow::showEvent(QShowEvent *event) {
    BrowseWindow::showEvent(event);
    if (event->spontaneous())
        return;
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()); frame && !frame->isMaximized())
        frame->showMaximized();
    // An entry under way in an edit window is not to be dropped by reading the rows again.
    if (m_definition.loadWhenShown && !dataset().isEditing())
        loadRows();
}

void AnnexBrowseWindow::closing() {
    dataset().close();
}

void AnnexBrowseWindow::loadRows() {
    m_dm.verificationMessage = true;
    Dataset &ds = dataset();
    try {
        ds.close();
        ds.setSql(text(m_definition.openingStatement));
        ds.setParam(QStringLiteral("code"), m_dm.activeCompany.code);
        ds.setParam(QStringLiteral("exercice"), m_dm.activeCompany.exercice);
        ds.open();
        ds.first();
    } catch (const DbError &e) {
        ds.close();
        showDbError(this, e);
    }
}

// A new row numbered by the data module, under the active company and year, then its edit window.
void AnnexBrowseWindow::addAnnexRow() {
    QWidget *window = newAnnexEditWindow(m_dm, annex(), this);
    Dataset &ds = dataset();
    bool appended = false;
    try {
        ds.append();
        appended = true;
        ds.setValue(text(annexDefinition(annex()).companyColumn), m_dm.activeCompany.code);
        ds.setValue(QStringLiteral("EXERCICE"), m_dm.activeCompany.exercice);
    } catch (const DbError &e) {
        if (appended)
            ds.cancel();
        delete window;
        showDbError(this, e);
        return;
    }
    window->show();
}

void AnnexBrowseWindow::verify() {
    Dataset &ds = dataset();
    const bool entryBefore = ds.isEditing();
    try {
        verifyAnnex(m_dm, annex());
    } catch (const DbError &e) {
        // The refused row keeps what is stored; an entry of an edit window stays with it.
        if (!entryBefore && ds.isEditing())
            ds.cancel();
        showDbError(this, e);
        return;
    }
    if (m_dm.verificationMessage)
        showMessage(this, QStringLiteral("Vérification Terminée"));
}

void AnnexBrowseWindow::clearAnnex() {
    if (QMessageBox::question(
            this, QStringLiteral("Confirmation"),
            QStringLiteral("Voulez-vous la suppression de toutes les données de l'annexe ?"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    try {
        clearListedRows(m_dm, annex());
    } catch (const DbError &e) {
        showDbError(this, e);
    }
}

void AnnexBrowseWindow::copyPreviousYear() {
    try {
        ::copyPreviousYear(m_dm, annex());
    } catch (const DbError &e) {
        showDbError(this, e);
    }
}

void AnnexBrowseWindow::importFromSpreadsheet() {
    ImportWizardDialog dialog(dataset(), &m_dm, this);
    dialog.usePreset(text(annexDefinition(annex()).table), m_dm.spreadsheetFolder);
    dialog.exec();
    loadRows();
}

// The listed rows, 1 to N, sent to a workbook; the grid is hidden and the window disabled meanwhile.
void AnnexBrowseWindow::exportToSpreadsheet() {
    m_exported.clear();
    m_exporter.setSource(&dataset());
    m_exporter.setFirstRow(1);
    const int rows = std::max(1, dataset().rowCount());
    m_exporter.setLastRow(rows);
    m_exporter.setRows(rows);
    grid()->hide();
    setEnabled(false);
    QString failure;
    try {
        m_exported = m_exporter.exportRows();
    } catch (const DbError &e) {
        failure = e.message();
    }
    setEnabled(true);
    grid()->show();
    finishExport(this, m_exporter, m_exported, failure);
}

void AnnexBrowseWindow::buildCertificatePanel() {
    m_certificates = new QGroupBox(QStringLiteral("Impression Certificats"), this);
    auto *form = new QFormLayout;
    m_fromNumber = new QLineEdit(m_certificates);
    m_toNumber = new QLineEdit(m_certificates);
    for (QLineEdit *number : {m_fromNumber, m_toNumber})
        number->setValidator(new QIntValidator(0, 999999999, number));
    form->addRow(QStringLiteral("Du N°:"), m_fromNumber);
    form->addRow(QStringLiteral("Au N°:"), m_toNumber);
    auto *layout = new QVBoxLayout(m_certificates);
    layout->addLayout(form);
    const QList<QPushButton *> buttons =
        addButtonRow(layout, m_certificates, {QStringLiteral("Valider"), QStringLiteral("Fermer")});
    connect(buttons[0], &QPushButton::clicked, this, &AnnexBrowseWindow::printCertificates);
    connect(buttons[1], &QPushButton::clicked, m_certificates, &QWidget::hide);
    // Between the buttons and the search row.
    static_cast<QVBoxLayout *>(this->layout())->insertWidget(2, m_certificates);
    m_certificates->hide();
}

void AnnexBrowseWindow::printCertificates() {
    int range[2] = {};
    const std::pair<QLineEdit *, const char *> fields[] = {{m_fromNumber, "Du N°:"}, {m_toNumber, "Au N°:"}};
    for (int i = 0; i < 2; ++i) {
        bool isNumber = false;
        range[i] = fields[i].first->text().trimmed().toInt(&isNumber);
        if (!isNumber) {
            showMessage(this,
                        QStringLiteral("« %1 » : indiquez un numéro d'ordre.").arg(text(fields[i].second)));
            fields[i].first->setFocus();
            return;
        }
    }
    m_certificates->hide();
    showSalaryCertificates(m_dm, range[0], range[1], this);
}

namespace {

template <typename Window> void add(WindowRegistry &registry, int annex) {
    registry.add(QLatin1String(annexBrowseDefinition(annex).className),
                 [](TFrmmain &f) -> QWidget * { return new Window(f.dm()); });
}

} // namespace

void registerAnnexWindows(WindowRegistry &registry) {
    add<TFrmAnnexeI>(registry, 1);
    add<TFrmAnnexeII>(registry, 2);
    add<TFrmAnnexeIII>(registry, 3);
    add<TFrmannexeIV>(registry, 4);
    add<TFrmAnnexeV>(registry, 5);
    add<TFrmAnnexevI>(registry, 6);
    add<TFrmAnnexeVII>(registry, 7);
}
