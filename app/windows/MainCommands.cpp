#include "app/windows/MainCommands.h"

const std::array<const char *, 5> kRibbonPages = {"Annexes", "Retenues Quotidiènnes", "Traitements et Outils",
                                                  "Paramètres", "Génération Fichier"};

const std::array<const char *, 4> kMainMenus = {"Parametres", "Saisie", "Déclaration", "Sortie"};

namespace {

constexpr CommandPlace R = CommandPlace::Ribbon;
constexpr CommandPlace M = CommandPlace::Menu;
constexpr CommandPlace Q = CommandPlace::QuickBar;
constexpr CommandAction Open = CommandAction::OpenWindow;
constexpr CommandAction None = CommandAction::None;

constexpr const char *kAnnexes = "Annexes";
constexpr const char *kJournals = "Retenues Quotidiènnes";
constexpr const char *kTools = "Traitements et Outils";
constexpr const char *kSettings = "Paramètres";
constexpr const char *kGeneration = "Génération Fichier";
constexpr const char *kMenuSettings = "Parametres";
constexpr const char *kMenuEntry = "Saisie";
constexpr const char *kMenuDeclaration = "Déclaration";
constexpr const char *kMenuExit = "Sortie";

constexpr const char *kCreationFromSalaries = "Création de l'annexe I à partir des retenues sur salaires";

const MainCommand kCommands[] = {
    // Ribbon
    {"ribbonAnnexe1", R, kAnnexes, 0, "1", nullptr, Open, "TFrmAnnexeI"},
    {"ribbonAnnexe2", R, kAnnexes, 0, "2", nullptr, Open, "TFrmAnnexeII"},
    {"ribbonAnnexe3", R, kAnnexes, 0, "3", nullptr, Open, "TFrmAnnexeIII"},
    {"ribbonAnnexe4", R, kAnnexes, 0, "4", nullptr, Open, "TFrmannexeIV"},
    {"ribbonAnnexe5", R, kAnnexes, 0, "5", nullptr, Open, "TFrmAnnexeV"},
    {"ribbonAnnexe6", R, kAnnexes, 0, "6", nullptr, Open, "TFrmAnnexevI"},
    {"ribbonAnnexe7", R, kAnnexes, 0, "7", nullptr, Open, "TFrmAnnexeVII"},
    {"ribbonRecap", R, kAnnexes, 0, "Tableau Récapitulatif", nullptr, Open, "TFrmTableaurecap"},
    {"ribbonGenerationFichiers", R, kAnnexes, 0, "Génération Fichiers", nullptr, Open,
     "TFrmgenerationdeclaration"},
    {"ribbonSaisie", R, kJournals, 0, "Retenues Frs et Autres", nullptr, Open, "TFrmsaisie"},
    {"ribbonRetenuesPersonnel", R, kJournals, 0, "Retenues Impôt Sur Salaires", nullptr, Open,
     "TFrmretenuespersonnel"},
    {"ribbonRistourne", R, kJournals, 0, "Ristournes Commerciales", nullptr, Open, "Tfrmristourne"},
    {"ribbonSaisieClient", R, kJournals, 0, "Retenues effectuées par les Clients", nullptr, Open,
     "TFrmsaisieclient"},
    {"ribbonExport", R, kTools, 0, "Export Excell", nullptr, Open, "TFrmexportexcell"},
    {"ribbonCreationAnnexes", R, kTools, 0, "Créations Annexes à partir des Retenues Quotidiènnes", nullptr,
     Open, "TFrmcreationannexes"},
    {"ribbonImportationPaie", R, kTools, 0, "Importation Paie du Personnel", nullptr, Open,
     "TFrmimportationpaie"},
    {"ribbonImportation", R, kTools, 0, "Importation Annexe à partir d'autres origines", nullptr, Open,
     "TfmImpDlgIBX"},
    {"ribbonCreationAnnexeI", R, kTools, 0, kCreationFromSalaries, nullptr, None, nullptr},
    {"ribbonScript", R, kTools, 0, "Exécuter Script", nullptr, CommandAction::ShowScriptPanel, nullptr},
    {"ribbonSocietes", R, kSettings, 0, "Sociétés", nullptr, Open, "Tfrmsocietes"},
    {"ribbonTypesRetenues", R, kSettings, 0, "Types Retenues", nullptr, Open, "TFrmtyperetenue"},
    {"ribbonTiers", R, kSettings, 0, "Tiers", nullptr, Open, "TFrmtiersgrille"},
    {"ribbonPersonnel", R, kSettings, 0, "Personnel", nullptr, Open, "TFrmpersonnel"},
    {"ribbonInitialisation", R, kSettings, 0, "Initialisation", nullptr, Open, "TFrminitialisation"},
    {"ribbonGenerationFichier", R, kGeneration, 0, "Génération Fichier", nullptr, Open,
     "TFrmgenerationdeclaration"},
    {"ribbonRecapGeneration", R, kGeneration, 0, "Tableau Récapitulatif", nullptr, Open, "TFrmTableaurecap"},

    // Quick-access bar, then the "Quitter" button
    {"quickPrevious", Q, nullptr, 0, nullptr, "Aller vers Ecran Précédant", CommandAction::PreviousWindow,
     nullptr},
    {"quickNext", Q, nullptr, 0, nullptr, "Aller vers Ecran Suivant", CommandAction::NextWindow, nullptr},
    {"quickSocietes", Q, nullptr, 0, "Sociétés", "Ouvrir Exercice", Open, "Tfrmsocietes"},
    {"quickCalculatrice", Q, nullptr, 0, "Fermer", "Calculatrice", CommandAction::Calculator, nullptr},
    {"quit", Q, nullptr, 1, "Quitter", nullptr, CommandAction::Quit, nullptr},

    // Main menu
    {"menuInitialisation", M, kMenuSettings, 0, "Initialisation", nullptr, Open, "TFrminitialisation"},
    {"menuSocietes", M, kMenuSettings, 0, "Sociétés", nullptr, Open, "Tfrmsocietes"},
    {"menuTypesRetenues", M, kMenuSettings, 0, "Types de Retenues", nullptr, Open, "TFrmtyperetenue"},
    {"menuRecap", M, kMenuEntry, 0, "Tableau Récapitulatif", nullptr, Open, "TFrmTableaurecap"},
    {"menuAnnexe1", M, kMenuEntry, 0, "Annexe I", nullptr, Open, "TFrmAnnexeI"},
    {"menuAnnexe2", M, kMenuEntry, 0, "Annexe II", nullptr, Open, "TFrmAnnexeII"},
    {"menuAnnexe3", M, kMenuEntry, 0, "Annexe III", nullptr, Open, "TFrmAnnexeIII"},
    {"menuAnnexe4", M, kMenuEntry, 0, "Annexe IV", nullptr, Open, "TFrmannexeIV"},
    {"menuAnnexe5", M, kMenuEntry, 0, "Annexe V", nullptr, Open, "TFrmAnnexeV"},
    {"menuAnnexe6", M, kMenuEntry, 0, "Annexe VI", nullptr, Open, "TFrmAnnexevI"},
    {"menuSaisie", M, kMenuEntry, 1, "Saisie Retenues Fournisseurs et Autres", nullptr, Open, "TFrmsaisie"},
    {"menuRetenuesPersonnel", M, kMenuEntry, 1, "Saisie des Retenues sur Salaires", nullptr, Open,
     "TFrmretenuespersonnel"},
    {"menuRistourne", M, kMenuEntry, 1, "Saisie des Ristournes Commerciales", nullptr, Open, "Tfrmristourne"},
    {"menuSaisieClient", M, kMenuEntry, 1, "Saisie des Retenues Opérées par Les Clients", nullptr, Open,
     "TFrmsaisieclient"},
    {"menuTiers", M, kMenuEntry, 2, "Identification des Tiers", nullptr, Open, "TFrmtiersgrille"},
    {"menuPersonnel", M, kMenuEntry, 2, "Identification du Personnel", nullptr, Open, "TFrmpersonnel"},
    {"menuCreationAnnexeI", M, kMenuEntry, 3, kCreationFromSalaries, nullptr, None, nullptr},
    {"menuCreationAnnexes", M, kMenuEntry, 3, "Création des Annexes à partir des Retenues Quotidiennes",
     nullptr, Open, "TFrmcreationannexes"},
    {"menuImportationPaie", M, kMenuEntry, 3, "Importation Annexe I à partir de la paie du personnel",
     nullptr, Open, "TFrmimportationpaie"},
    {"menuImportation", M, kMenuEntry, 3, "Importation Annexe à partir d'autres origines", nullptr, Open,
     "TfmImpDlgIBX"},
    {"menuGeneration", M, kMenuDeclaration, 0, "Génération des Fichiers  de la Déclaration", nullptr, Open,
     "TFrmgenerationdeclaration"},
    {"menuVerification", M, kMenuDeclaration, 0, "Vérification des Fichiers", nullptr, None, nullptr},
    {"menuTalvane", M, kMenuDeclaration, 0, "Talvane", nullptr, None, nullptr},
    {"menuQuitter", M, kMenuExit, 0, "Quitter Application", nullptr, None, nullptr},
};

} // namespace

std::span<const MainCommand> mainCommands() {
    return kCommands;
}
