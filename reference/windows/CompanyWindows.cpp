#include "reference/windows/CompanyWindows.h"

#include "app/windows/TFrmmain.h"
#include "data/DbError.h"
#include "data/StoredProcedure.h"
#include "data/TDatadeclaration.h"
#include "reference/Companies.h"
#include "ui/DatasetGrid.h"
#include "ui/Messages.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

Tfrmsocietes::Tfrmsocietes(TFrmmain &frame, QWidget *parent)
    : BrowseWindow(frame.dm().Isociete, QStringLiteral("Liste des Sociétés"),
                   QStringLiteral("<<<  Liste des Sociétés >>>"),
                   {{"Code", "IDENTIFIANT"}, {"Exercice", "EXERCICE"}, {"Raison Sociale", "RAISON_SOCIALE"}},
                   parent),
      m_frame(frame) {
    addButton(QStringLiteral("Ajouter"), QString(), [this] { ajouter(); });
    addButton(QStringLiteral("Modifier"), QString(), [this] { modifier(); });
    addButton(QStringLiteral("Supprimer"), QString(), [this] { supprimer(); });
    addButton(QStringLiteral("Fermer"), QString(), [this] { close(); });
    addMenuEntry(QStringLiteral("Ajouter"), [this] { ajouter(); });
    addMenuEntry(QStringLiteral("Modifier"), [this] { modifier(); });
    addMenuEntry(QStringLiteral("Supprimer"), [this] { supprimer(); });
    addMenuEntry(QStringLiteral("Fermer"), [this] { close(); });
    connect(grid(), &DatasetGrid::rowDoubleClicked, this, &QWidget::close);
}

void Tfrmsocietes::ajouter() {
    addRow([this] { return new Tfrmparamsociete(m_frame.dm(), this); });
}

void Tfrmsocietes::modifier() {
    changeRow([this] { return new Tfrmparamsociete(m_frame.dm(), this); });
}

void Tfrmsocietes::supprimer() {
    if (!dataset().isOpen() || dataset().isEmpty())
        return;
    TFrmMotPasse dialog(this);
    if (dialog.exec() != QDialog::Accepted ||
        dialog.password().trimmed() != QLatin1String(kAdministrationPassword))
        return;
    try {
        dataset().remove();
    } catch (const DbError &e) {
        showDbError(this, e);
    }
}

void Tfrmsocietes::showEvent(QShowEvent *event) {
    BrowseWindow::showEvent(event);
    if (!event->spontaneous())
        reopenDataset();
}

void Tfrmsocietes::closing() {
    m_frame.setActiveCompany(companyOfRow(dataset()));
}

Tfrmparamsociete::Tfrmparamsociete(TDatadeclaration &dm, QWidget *parent)
    : EditWindow(dm.Isociete, QStringLiteral("Paramètre de la société"),
                 {
                     {"Matricule Fiscal", "IDENTIFIANT"},
                     {"Clé", "CLE"},
                     {"Catégorie", "CATEGORIE"},
                     {"N°Etablissement Secondaire", "ETABSECONDAIRE"},
                     {"Exercice Par Défaut:", "EXERCICE", FieldKind::Integer},
                     {"Raison Sociale :", "RAISON_SOCIALE", FieldKind::Text, true},
                     {"Activité :", "ACTIVITE", FieldKind::Text, true},
                     {"Ville:", "VILLE", FieldKind::Text, true},
                     {"Rue:", "RUE", FieldKind::Text, true},
                     {"Numero:", "NUMERO", FieldKind::Text, true},
                     {"Code Postal:", "CODEPOSTAL", FieldKind::Text, true},
                     {"Lien avec la Paie du Personnel:",
                      "LIENPAIE",
                      FieldKind::File,
                      false,
                      {},
                      "Fichiers de base de donnee|*.gdb"},
                     {"Active O/N", "ACTIVEON", FieldKind::Check},
                 },
                 Policy::SaveAndClose, parent) {}

TFrmMotPasse::TFrmMotPasse(QWidget *parent) : QDialog(parent), m_password(new QLineEdit(this)) {
    setWindowTitle(QString());
    m_password->setEchoMode(QLineEdit::Password);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Mot de Passe"), this));
    layout->addWidget(m_password);
    const QList<QPushButton *> buttons =
        addButtonRow(layout, this, {QStringLiteral("OK"), QStringLiteral("Annuler")});
    buttons[0]->setDefault(true);
    connect(buttons[0], &QPushButton::clicked, this, &QDialog::accept);
    connect(buttons[1], &QPushButton::clicked, this, &QDialog::reject);
}

QString TFrmMotPasse::password() const {
    return m_password->text();
}

TFrminitialisation::TFrminitialisation(TDatadeclaration &dm, QWidget *parent)
    : QWidget(parent), m_dm(dm), m_password(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Initialisation"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Cette Procedure efface toutes les données saisie, "), this));
    layout->addWidget(new QLabel(QStringLiteral("les données ne seront plus récupérables."), this));
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Mot de Passe"), this));
    m_password->setEchoMode(QLineEdit::Password);
    row->addWidget(m_password, 1);
    layout->addLayout(row);
    const QList<QPushButton *> buttons =
        addButtonRow(layout, this, {QStringLiteral("OK"), QStringLiteral("Cancel")});
    connect(buttons[0], &QPushButton::clicked, this, &TFrminitialisation::ok);
    connect(buttons[1], &QPushButton::clicked, this, &QWidget::close);
}

void TFrminitialisation::ok() {
    if (m_password->text() != QLatin1String(kAdministrationPassword)) {
        showMessage(this, QStringLiteral("Mot de Passe Incorrect"));
        return;
    }
    try {
        StoredProcedure(QStringLiteral("INITIALISATION"), m_dm.IBTransaction1).execute();
    } catch (const DbError &e) {
        showDbError(this, e);
        return;
    }
    showMessage(this, QStringLiteral("Initialisation efféctuée"));
    close();
}
