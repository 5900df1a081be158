#include "ui/SelectionDialog.h"

#include "data/Dataset.h"
#include "data/DbError.h"
#include "data/TDatadeclaration.h"
#include "ui/BrowseSearch.h"
#include "ui/BrowseWindow.h"
#include "ui/DatasetGrid.h"
#include "ui/Messages.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

const SelectionDialog::Definition kThirdParties = {
    "Tiers",
    "<<<  Liste des Tiers >>>",
    "select * from tiers Order by identifiant ",
    {{"Code", "CODE"},
     {"Identifiant", "IDENTIFIANT"},
     {"Nom ou Raison Sociale", "NOMBENEFICIAIRE"},
     {"Activité", "ACTIVITE"}},
    {{"Code", "Code"},
     {"Identifiant", "Identifiant"},
     {"Nom ou Raison Sociale", "Nombeneficiaire"},
     {"Activité", "Activite"}},
    "TIERS",
};

const SelectionDialog::Definition kWithholdingTypes = {
    "Selection Société",
    "<<<  Types de Retenues >>>",
    "select * from typeretenue Order by numerotype ",
    {{"N°", "NUMEROTYPE"}, {"Désignation de la Retenue", "DESIGNATION"}, {"Taux", "TAUX"}},
    {},
    "TYPERETENUE",
};

const SelectionDialog::Definition kPersonnel = {
    "Selection Personnel",
    "<<<  Personnel>>>",
    "select * from personnel Order by matricule ",
    {{"Matricule", "MATRICULE"}, {"Nom Prénom", "NOMPRENOM"}, {"Identifiant", "IDENTIFIANT"}},
    {},
    "PERSONNEL",
};

} // namespace

SelectionDialog::SelectionDialog(Dataset &dataset, const Definition &d, QWidget *parent)
    : QDialog(parent), m_grid(new DatasetGrid(dataset, d.columns, this)) {
    setWindowTitle(QString::fromUtf8(d.caption));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(newTitlePanel(QString::fromUtf8(d.title), this));
    if (!d.searchCaptions.empty()) {
        auto *row = new QHBoxLayout;
        m_searchLabel = new QLabel(this);
        m_searchBox = newUpperCaseBox(this);
        row->addWidget(m_searchLabel);
        row->addWidget(m_searchBox, 1);
        layout->addLayout(row);
        new BrowseSearch(m_grid, m_searchLabel, m_searchBox, d.searchCaptions,
                         BrowseSearch::plainTable(QString::fromUtf8(d.table)));
    }
    layout->addWidget(m_grid, 1);
    resize(640, 420);
    connect(m_grid, &DatasetGrid::rowDoubleClicked, this, &QDialog::accept);
    try {
        dataset.close();
        dataset.setSql(QString::fromUtf8(d.statement));
        dataset.open();
        dataset.first();
    } catch (const DbError &e) {
        showDbError(this, e);
    }
}

TFrmtiersselect::TFrmtiersselect(TDatadeclaration &dm, QWidget *parent)
    : SelectionDialog(dm.Itiers, kThirdParties, parent) {}

TFrmtyperetenueselect::TFrmtyperetenueselect(TDatadeclaration &dm, QWidget *parent)
    : SelectionDialog(dm.ityperetenue, kWithholdingTypes, parent) {}

TFrmPERSONNELselect::TFrmPERSONNELselect(TDatadeclaration &dm, QWidget *parent)
    : SelectionDialog(dm.ipersonnel, kPersonnel, parent) {}

void runSelectionDialog(SelectionDialog *dialog) {
    dialog->exec();
}

bool lookupOrPick(Dataset &reference, const QString &keyColumn, const QString &code,
                  const std::function<void()> &pick) {
    reference.reopen();
    const QString key = code.trimmed();
    if (key.isEmpty() || !reference.locate(keyColumn, key, Qt::CaseInsensitive))
        pick();
    return reference.isOpen() && reference.currentRow() >= 0;
}

TFrmSelDateDuAu::TFrmSelDateDuAu(QWidget *parent)
    : QDialog(parent), m_du(new QDateEdit(this)), m_au(new QDateEdit(this)) {
    setWindowTitle(QStringLiteral("Selection Période"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    for (QDateEdit *e : {m_du, m_au}) {
        e->setCalendarPopup(true);
        e->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    }
    form->addRow(QStringLiteral("Du:"), m_du);
    form->addRow(QStringLiteral("Au :"), m_au);
    layout->addLayout(form);
    const QList<QPushButton *> buttons =
        addButtonRow(layout, this, {QStringLiteral("OK"), QStringLiteral("Annuler")});
    buttons[0]->setDefault(true);
    connect(buttons[0], &QPushButton::clicked, this, &QDialog::accept);
    connect(buttons[1], &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmSelDateDuAu::showEvent(QShowEvent *event) {
    if (!event->spontaneous()) {
        m_du->setDate(QDate::currentDate());
        m_au->setDate(QDate::currentDate());
    }
    QDialog::showEvent(event);
}

QDate TFrmSelDateDuAu::du() const {
    return m_du->date();
}

QDate TFrmSelDateDuAu::au() const {
    return m_au->date();
}
