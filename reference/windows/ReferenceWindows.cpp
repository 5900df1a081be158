#include "reference/windows/ReferenceWindows.h"

#include "app/windows/TFrmmain.h"
#include "data/TDatadeclaration.h"
#include "exchange/windows/ImportWizardDialog.h"
#include "reference/windows/CompanyWindows.h"
#include "ui/DatasetGrid.h"
#include "ui/WindowRegistry.h"

#include <QCloseEvent>
#include <QPushButton>

const QStringList kIdentifierTypeChoices = {
    QStringLiteral("1: Matricule Fiscal"), QStringLiteral("2: N° CIN"), QStringLiteral("3: N° C.Séjour"),
    QStringLiteral("4: Identifiant des Personnes non Domiciliées ni etablies en Tunisie")};

namespace {

// The buttons every reference browse window has; "Modifier" is also a double click on a row.
template <typename EditWindowType> void addEntryButtons(BrowseWindow *w, TDatadeclaration &dm) {
    auto make = [w, &dm]() -> QWidget * { return new EditWindowType(dm, w); };
    w->addButton(QStringLiteral("Ajouter"), QString(), [w, make] { w->addRow(make); });
    w->addButton(QStringLiteral("Modifier"), QString(), [w, make] { w->changeRow(make); });
    w->addButton(QStringLiteral("Supprimer"), QString(), [w] { w->deleteRow(); });
    w->addButton(QStringLiteral("Imprimer"), QString(), {});
    QObject::connect(w->grid(), &DatasetGrid::rowDoubleClicked, w, [w, make] { w->changeRow(make); });
}

void addCloseButton(BrowseWindow *w) {
    w->addButton(QStringLiteral("Fermer"), QString(), [w] { w->close(); });
}

} // namespace

TFrmtyperetenue::TFrmtyperetenue(TDatadeclaration &dm, QWidget *parent)
    : BrowseWindow(
          dm.ityperetenue, QStringLiteral("Types des Retenue"), QStringLiteral("<<<  Types des Retenues >>>"),
          {{"N°Type", "NUMEROTYPE"}, {"Désignation Type", "DESIGNATION"}, {"Taux", "TAUX"}}, parent) {
    enableSearch({{"N°Type", "NUMEROTYPE"}, {"Désignation Type", "Designation"}, {"Taux", "Taux"}},
                 BrowseSearch::plainTable(QStringLiteral("TYPERETENUE")));
    addEntryButtons<TFrmtyperetenuemaj>(this, dm);
    addCloseButton(this);
    reopenDataset();
}

void TFrmtyperetenue::closing() {
    dataset().close();
}

TFrmtyperetenuemaj::TFrmtyperetenuemaj(TDatadeclaration &dm, QWidget *parent)
    : EditWindow(dm.ityperetenue, QStringLiteral("Mise à Jour des Types de Retenues"),
                 {
                     {"N°Type", "NUMEROTYPE", FieldKind::Integer},
                     {"Désignation Type", "DESIGNATION"},
                     {"Taux", "TAUX", FieldKind::Amount},
                 },
                 Policy::ConfirmThenSaveOnClose, parent) {}

TFrmtiersgrille::TFrmtiersgrille(TDatadeclaration &dm, QWidget *parent)
    : BrowseWindow(dm.Itiers, QStringLiteral("Tiers"), QStringLiteral("<<<  Saisie des Tiers >>>"),
                   {{"Code", "CODE"},
                    {"Nom Tiers", "NOMBENEFICIAIRE"},
                    {"Type Id", "TYPEIDENTIFIANT"},
                    {"Identifiant", "IDENTIFIANT"},
                    {"Adresse", "ADRESSE"},
                    {"Activité", "ACTIVITE"}},
                   parent) {
    enableSearch({{"Code", "code"}, {"Nom Tiers", "NOMBENEFICIAIRE"}, {"Identifiant", "Identifiant"}},
                 BrowseSearch::plainTable(QStringLiteral("TIERS")));
    addEntryButtons<TFrmtiersmaj>(this, dm);
    addButton(QStringLiteral("importer"),
              QStringLiteral("Importation des Données à partir d'Excel et Autres"), [this, &dm] {
                  ImportWizardDialog dialog(dataset(), &dm, this);
                  dialog.usePreset(QStringLiteral("TIERS"), dm.spreadsheetFolder);
                  dialog.exec();
                  reopenDataset();
              });
    addCloseButton(this);
    dataset().close();
    dataset().setSql(QStringLiteral("select * from tiers Order by code"));
    reopenDataset();
}

TFrmtiersmaj::TFrmtiersmaj(TDatadeclaration &dm, QWidget *parent)
    : EditWindow(
          dm.Itiers, QStringLiteral("Mise à Jour des Tiers"),
          {
              {"Code", "CODE", FieldKind::Integer},
              {"Type Identifiant", "TYPEIDENTIFIANT", FieldKind::Choice, false, kIdentifierTypeChoices},
              {"Identifiant du Bénéficiaire", "IDENTIFIANT", FieldKind::Text, true},
              {"Physique/Morale",
               "PHYSIQUEMORALE",
               FieldKind::Choice,
               false,
               {QStringLiteral("1: Personne Physique"), QStringLiteral("2: Personne Morale")}},
              {"Nom ou Raison Sociale", "NOMBENEFICIAIRE", FieldKind::Text, true},
              {"Activité", "ACTIVITE", FieldKind::Text, true},
              {"Dernière Adresse du Tiers", "ADRESSE", FieldKind::Text, true},
          },
          Policy::ConfirmThenSaveOnClose, parent) {}

TFrmpersonnel::TFrmpersonnel(TDatadeclaration &dm, QWidget *parent)
    : BrowseWindow(dm.ipersonnel, QStringLiteral("Personnel"),
                   QStringLiteral("<<<  Saisie de des Identités du Personnel >>>"),
                   {{"Matricule", "MATRICULE"},
                    {"Nom Prénom", "NOMPRENOM"},
                    {"Adresse", "ADRESSE"},
                    {"Identifiant", "IDENTIFIANT"},
                    {"Nb Enf", "ENFANT"},
                    {"Etat Civil", "ETATCIVIL"},
                    {"Emploi Occupé", "EMPLOIOCCUPE"}},
                   parent) {
    enableSearch({{"Matricule", "Matricule"},
                  {"Nom Prénom", "Nomprenom"},
                  {"Adresse", "Adresse"},
                  {"Identifiant", "Identifiant"},
                  {"Emploi Occupé", "EmploiOccupe"}},
                 BrowseSearch::plainTable(QStringLiteral("PERSONNEL")));
    addEntryButtons<TFrmpersonnelmaj>(this, dm);
    addCloseButton(this);
    reopenDataset();
}

void TFrmpersonnel::closing() {
    dataset().close();
    dataset().setSql(QStringLiteral("select * from personnel Order by matricule "));
}

TFrmpersonnelmaj::TFrmpersonnelmaj(TDatadeclaration &dm, QWidget *parent)
    : EditWindow(dm.ipersonnel, QStringLiteral("Mise à Jour du Personnel"),
                 {
                     {"Matricule", "MATRICULE"},
                     {"Nom Prénom", "NOMPRENOM", FieldKind::Text, true},
                     {"Emploi Occupé", "EMPLOIOCCUPE", FieldKind::Text, true},
                     {"Dernière Adresse du Bénéficiaire", "ADRESSE", FieldKind::Text, true},
                     {"Situation Familiale",
                      "ETATCIVIL",
                      FieldKind::Choice,
                      false,
                      {QStringLiteral("1: Célibataire"), QStringLiteral("2: Marié"),
                       QStringLiteral("3:Divorcé"), QStringLiteral("4:Veuf")}},
                     {"Nombre d'Enfant à Charge", "ENFANT", FieldKind::Integer},
                     {"Type Identifiant",
                      "TYPEIDENTIFIANT",
                      FieldKind::Choice,
                      false,
                      {QStringLiteral("2: N° CIN"), QStringLiteral("3: N° C.Séjour")}},
                     {"Identifiant", "IDENTIFIANT"},
                     {"Date début de la Période de Travail", "DATEDEBUT", FieldKind::Date},
                     {"Date fin de la Période de Travail", "DATEFIN", FieldKind::Date},
                 },
                 Policy::ConfirmThenSaveOnClose, parent) {}

void registerReferenceWindows(WindowRegistry &registry) {
    registry.add(QStringLiteral("Tfrmsocietes"), [](TFrmmain &f) { return new Tfrmsocietes(f); });
    registry.add(QStringLiteral("TFrminitialisation"),
                 [](TFrmmain &f) { return new TFrminitialisation(f.dm()); });
    registry.add(QStringLiteral("TFrmtyperetenue"), [](TFrmmain &f) { return new TFrmtyperetenue(f.dm()); });
    registry.add(QStringLiteral("TFrmtiersgrille"), [](TFrmmain &f) { return new TFrmtiersgrille(f.dm()); });
    registry.add(QStringLiteral("TFrmpersonnel"), [](TFrmmain &f) { return new TFrmpersonnel(f.dm()); });
}
