#include "annexes/AnnexDefinitions.h"

namespace {

using F = AnnexField;
constexpr unsigned R = Required, S = StartZero, A = StartAlways, C = Complete, P = Padded, H = Hidden,
                   N = NoTabStop, X = Computed, D = Heading;

const QStringList kPerson = {"1: Personne Physiqye", "2: Personne Morale"};
const QStringList kIdentifierTypes = {"1: Matricule Fiscal", "2: N°C.I.N", "3: N°Carte Séjour",
                                      "4: Id Personnes Non domiciliées"};

// The "Identité Déclarant" panel: the declarant code (editable, skipped by Enter), the year, the number.
std::vector<AnnexColumn> identity(const char *codeColumn, const char *numberLabel) {
    return {{codeColumn, "Identité Déclarant", F::Text, R | D | N},
            {"EXERCICE", "Exercice", F::Text, R | D},
            {"NUMEROORDRE", numberLabel, F::Integer, R | D}};
}

std::vector<AnnexColumn> join(std::vector<AnnexColumn> first, const std::vector<AnnexColumn> &rest) {
    first.insert(first.end(), rest.begin(), rest.end());
    return first;
}

std::vector<AnnexDefinition> build() {
    std::vector<AnnexDefinition> d;
    d.push_back(
        {1,
         "I",
         "ANNEXEI",
         "CODESOCIETE",
         "NOMPRENOM",
         "EMPLOIOCCUPE",
         "MONTANTNET",
         "TFrmAnnexeimaj",
         "Mise à Jour Annexe I",
         "Retenues de l'Annexe I : traitements, salaires, pensions, rentes viagères payés et contribution "
         "sociale de solidarité",
         join(identity("CODESOCIETE", "N°Ordre"),
              {{"TYPEIDENTIFIANT",
                "Type Identifiant",
                F::Choice,
                R | S | C,
                {"2: N° CIN", "3: N° C.Séjour"},
                nullptr,
                "2"},
               {"IDENTIFIANTBENEFICIAIRE", "Identifiant du Bénéficiaire", F::Text, R | P},
               {"NOMPRENOM", "Nom & Prénom", F::Text, R | P},
               {"EMPLOIOCCUPE", "Emploi Occupé", F::Text, R | P},
               {"ADRESSE", "Dernière Adresse du Bénéficiaire", F::Text, R | P},
               {"ETATCIVIL",
                "Situation Familiale",
                F::Choice,
                R,
                {"1:Célibataire", "2:Marié", "3:Divorcé", "4:Veuf"}},
               {"ENFANT", "Nombre d'Enfant à Charge", F::Integer, R | S | C},
               {"DATEDEBUT", "Date Début de la Période de Travail", F::Date},
               {"DATEFIN", "Date Fin de la Période de Travail", F::Date},
               {"NBJOURS", "Durée (Nb Jours)", F::Fixed2, R | S | C},
               {"REVENUIMPOSABLE", "Revenu Imposable", F::Amount, R | S | C},
               {"AVANTAGENATURE", "Valeur des Avantages en Nature ", F::Amount, R | S | C},
               {"TOTALREVENU", "Total Revenu Brut Imposable", F::Amount, R | S | C | N | X},
               {"REVENUREINVESTI", "Revenu Réinvesti", F::Amount, R | S | C},
               {"RETENUEOPERES", "Retenues Opérées (Régime Commun)", F::Amount, R | S | C},
               {"RETENUES20", "Retenues Opérées au Taux de 20%", F::Amount, S | C},
               {"RETENUECONJONCTURELLE", "Contribution Sociale de Solidarité", F::Amount, S | C},
               {"MONTANTNET", "Montant Net Servi", F::Amount, R | S | C | X},
               {"REDEVANCECOMPENSATION", "Redevance de Compensation", F::Amount, S | C | H}}),
         {{{"AVANTAGENATURE"}, {"TOTALREVENU", {"REVENUIMPOSABLE", "AVANTAGENATURE"}, {}}},
          {{"RETENUEOPERES", "RETENUES20", "RETENUECONJONCTURELLE"},
           {"MONTANTNET",
            {"TOTALREVENU"},
            {"REVENUREINVESTI", "RETENUEOPERES", "RETENUES20", "REDEVANCECOMPENSATION",
             "RETENUECONJONCTURELLE"}}}},
         {"TOTALREVENU", {"REVENUIMPOSABLE", "AVANTAGENATURE"}, {}}});

    d.push_back(
        {2,
         "II",
         "ANNEXEII",
         "IDENTIFIANT",
         "RAISONSOCIALE",
         "ACTIVITE",
         "NETSERVIS",
         "TFrmAnnexeIImaj",
         "Mise à Jour Annexe II",
         "Montants servis aux résidents en Tunisie : honoraires, commissions, courtages, rémunérations des "
         "travaux occasionnels, loyers, loyers des hôtels, jetons de présence, actions et parts sociales, "
         "plus-values immobilières et rémunérations de la performance dans la prestation de services",
         join(identity("IDENTIFIANT", "N°Ordre:"),
              {{"TYPEIDENTIFIANT", "Type Identifiant:", F::Choice, R, {"1: Matricule Fiscal", "2: N°C.I.N"}},
               {"IDENTIFIANTBENEFICIAIRE", "Identifiant du Bénéficiaire:", F::Text, R | P},
               {"PHYSIQUEMORALE", "Physique/Morale", F::Choice, R, kPerson},
               {"RAISONSOCIALE", "Raison Sociale:", F::Text, R | P},
               {"ACTIVITE", "Activité du Bénéficiaire:", F::Text, R | P},
               {"ADRESSE", "Dernière Adresse du Bénéficiaire", F::Text, R | P},
               {"TYPEMONTANTSERVIS",
                "Type des Montant Servis:",
                F::Choice,
                R,
                {"1: Honoraires", "2: Commissions", "3: Courtages", "4: Loyers",
                 "5: Pour les rémunérations au titre des activités non commerciales ",
                 "6: Pour les rémunérations en contre partie de la performance dans la prestation",
                 "0: dan le cas où le montant Brut est Nul"}},
               {"MONTANTBRUT",
                "Montant Brut (honoraires, commissions, courtages, loyers, rémunérations)",
                F::Amount,
                R | S | C,
                {},
                "Pour les commissions des distributeurs des opérateurs téléphoniques, cochez la case "
                "Opérateurs Téléphoniques"},
               {"OPERATEURTELEPHONIQUE", "Opérateurs Téléphoniques", F::Check},
               {"HONORAIRESERVIS", "Honoraires servis aux sociétés et aux personnes soumises au régime réel",
                F::Amount, R | S | C},
               {"MONTANTPRIMESCONSEIL",
                "Rémunérations et primes des membres des conseils et comités",
                F::Amount,
                C,
                {},
                "Cochez la case Action et Part Sociale s'il s'agit d'actions ou de parts sociales"},
               {"ACTIONJETON", "Action et Part Sociale", F::Check},
               {"REMUNIRATIONS", "Rémunérations des travaux occasionnels", F::Amount, R | S | C},
               {"PLUSVALUE", "Plus-Value Immobilière", F::Amount, R | S | C | N},
               {"LOYERSHOTELS", "Loyers des Hôtels", F::Amount, R | S | C},
               {"REMUNERATIONARTISTES", "Rémunérations des Artistes et Créateurs", F::Amount, S | C},
               {"HONORAIREBUREAU", "Honoraires des Bureaux d'Etudes Exportateurs", F::Amount, S | C},
               {"TYPEMONTSERVISEXPORTATION",
                "Type des Montants des Activités d'Exportation",
                F::Choice,
                0,
                {"1: Honoraires", "2: Commissions", "3: Courtages", "4: Loyers",
                 "5: Pour les Rémunérations au titre des activités non Commerciales", "0: Montant Brut Nul"}},
               {"MONTANTBRUTACTEXPORT", "Montant Brut des Opérations d'Exportation", F::Amount, S | C},
               {"RETENUESOPERES", "Montants des Retenues Opérées:", F::Amount, R | S | C},
               {"NETSERVIS", "Montants Nets Servis:", F::Amount, R | S | C | X},
               {"JETONSPRESENCES", "Jetons de Présence", F::Amount, R | S | C | H},
               {"RISTOURNES", "Ristournes", F::Amount, R | S | C | H},
               {"REDEVANCE_C_G_C", "Redevance de Compensation", F::Amount, S | C | H},
               {"MONTANTPERFORMANCE", "Montant de la Performance", F::Amount, C | H}}),
         {{{"RETENUESOPERES"},
           {"NETSERVIS",
            {"MONTANTBRUT", "HONORAIRESERVIS", "JETONSPRESENCES", "REMUNIRATIONS", "PLUSVALUE",
             "HONORAIREBUREAU", "REMUNERATIONARTISTES", "LOYERSHOTELS"},
            {"RETENUESOPERES", "REDEVANCE_C_G_C"}}}},
         {"NETSERVIS",
          {"MONTANTBRUT", "HONORAIRESERVIS", "MONTANTPRIMESCONSEIL", "REMUNIRATIONS", "PLUSVALUE",
           "LOYERSHOTELS", "REMUNERATIONARTISTES", "HONORAIREBUREAU", "MONTANTBRUTACTEXPORT"},
          {"RETENUESOPERES"}}});

    d.push_back(
        {3,
         "III",
         "ANNEXEIII",
         "IDENTIFIANT",
         "RAISONSOCIALE",
         "ACTIVITE",
         "NETSERVIS",
         "TFrmannexeIIImaj",
         "Mise à Jour Annexe III",
         "Revenus des capitaux mobiliers, intérêts des comptes spéciaux d'épargne et intérêts des prêts",
         join(identity("IDENTIFIANT", "N°Ordre:"),
              {{"TYPEIDENTIFIANT", "Type Identifiant", F::Choice, R, kIdentifierTypes},
               {"PHYSIQUEMORALE", "Physique/Morale", F::Choice, R, kPerson},
               {"IDENTIFIANTBENEFICIAIRE", "Identifiant du Bénéficiaire:", F::Text, R | P},
               {"RAISONSOCIALE", "Raison Sociale du Bénéficiaire:", F::Text, R | P},
               {"ACTIVITE", "Activité du Bénéficiaire:", F::Text, R | P},
               {"ADRESSE", "Dernière Adresse du Bénéficiaire:", F::Text, R | P},
               {"INTERETDESCOMPTES", "Intérêts des Comptes Spéciaux d'Epargne", F::Amount, R | S | C},
               {"INTERETCAPITAUX", "Intérêts des Autres Capitaux Mobiliers", F::Amount, R | S | C},
               {"INTERETPRETS", "Intérêts des Prêts payés aux Banques non établies", F::Amount, R | S | C},
               {"MONTANTRETENUES", "Retenus Opérées:", F::Amount, R | S | C},
               {"NETSERVIS", "Montants Nets Servis:", F::Amount, R | S | C | X},
               {"RETENUESC_G_C", "Redevance de Compensation", F::Amount, S | C | H}}),
         {{{"MONTANTRETENUES"},
           {"NETSERVIS",
            {"INTERETDESCOMPTES", "INTERETCAPITAUX", "INTERETPRETS"},
            {"MONTANTRETENUES", "RETENUESC_G_C"}}}},
         {"NETSERVIS", {"INTERETDESCOMPTES", "INTERETCAPITAUX", "INTERETPRETS"}, {"MONTANTRETENUES"}}});

    d.push_back(
        {4,
         "IV",
         "ANNEXEIV",
         "IDENTIFIANT",
         "RAISONSOCIALE",
         "ACTIVITE",
         "NETSERVIS",
         "TFrmannexeivmaj",
         "Mise à Jour de l'Annexe IV",
         "Montants servis aux personnes non résidentes ou non établies en Tunisie : honoraires, loyers, "
         "redevances, jetons de présence, plus-values, revenus des personnes établies dans des paradis "
         "fiscaux et rémunérations de la performance",
         join(identity("IDENTIFIANT", "N°Ordre:"),
              {{"TYPEIDENTIFIANT",
                "Type Identifiant",
                F::Choice,
                0,
                {"3: N°Carte Séjour", "4: Id.P.Non Domiciliées"}},
               {"IDENTIFIANTBENEFICIAIRE", "Identifiant du Bénéficiaire:", F::Text, P},
               {"RAISONSOCIALE", "Raison Sociale du Bénéficiaire:", F::Text, P},
               {"ACTIVITE", "Activité du Bénéficiaire:", F::Text, P},
               {"PHYSIQUEMORALE", "Physique/Morale", F::Choice, 0, kPerson},
               {"ADRESSE", "Dernière Adresse du Bénéficiaire", F::Text, P},
               {"TYPEMONTANTSERVIS",
                "Type des Montant",
                F::Choice,
                0,
                {"1: Honoraires", "2: Commissions", "3: Courtages", "4: Loyers",
                 "5: Rémunérations au titre des activités non commerciales", "6: Autres Revenus",
                 "7: Montants servis aux non résidents établis en Tunisie et qui ne possèdent pas au dépôt "
                 "de la "
                 "déclaration d'existance avant d'entamer leur activité",
                 "8: Rémunération payées en contre partie de la performance dans la prestation",
                 "0: Brut Nul"}},
               {"TAUXMONTANT", "Taux des Montants Servis", F::Fixed2, S | C},
               {"MONTANTBRUTS", "Montants Bruts Servis", F::Amount, S | C},
               {"TAUXREMUNIRATIONS", "Taux des Rémunérations (6 mois au plus)", F::Fixed2, S | C},
               {"REMUNIRATIONS", "Rémunérations des Non Résidents (6 mois au plus)", F::Amount, S | C},
               {"TAUXPLUSVALUE", "Taux Plus Value Immobilière:", F::Fixed2, S | C},
               {"PLUSVALUE", "Montant Plus Value Immobilière:", F::Amount, S | C},
               {"BIENFONCIER", "Bien Foncier", F::Check},
               {"TAUXPLUSVALUECESSION", "Taux Plus Value de Cession d'Actions et Parts Sociales", F::Rate,
                S | C},
               {"MONTANTPLUSVALUE",
                "Montant Plus Value de Cession",
                F::Amount,
                S | C,
                {},
                "Veuillez cocher  Actions/Parts Socizales ou Jetons de présence  si c'est le cas"},
               {"TAUXVALEURMOBILIERE", "Taux des Revenus des Valeurs Mobilières", F::Rate, S | C},
               {"REVENUSVELEURMOBILIER", "Revenus des Valeurs Mobilières", F::Amount, S | C},
               {"TYPEMONTACTCOM",
                "Type des Montants des Activités d'Exportation",
                F::Choice,
                0,
                {"1: Honoraires", "2: Commissions", "3: Courtages", "4: Loyers",
                 "5: Rémunérations activités non Commerciales", "6: Autres Revenus", "0: Montant Brut Nul"}},
               {"MONTACTNONCOMM", "Montant Brut des Opérations d'Exportation", F::Amount, C},
               {"MONTANPARADIS", "Montants Servis aux Personnes établies dans des Paradis Fiscaux", F::Amount,
                C},
               {"NETSERVIS", "Montants Nets Servis", F::Amount, S | C},
               {"RETENUS", "Retenus Opérées:", F::Amount, S | C},
               {"ACTIONPART", "Actions/Parts Sociales", F::Check},
               {"JETONPRESENCE", "jeton de Présence", F::Check, H},
               {"RISTOURNES", "Ristournes", F::Amount, S | C | H},
               {"TYPEJETONVALMOBILIERE", "Type Jeton", F::Text, H}}),
         {},
         {"NETSERVIS",
          {"MONTANTBRUTS", "REMUNIRATIONS", "PLUSVALUE", "REVENUSVELEURMOBILIER", "MONTACTNONCOMM",
           "MONTANTPLUSVALUE", "MONTANPARADIS"},
          {"RETENUS"}}});

    const QStringList annexVNet = {"EXPORT10",       "RETENUEEXPORT10",       "MARCHES",    "RETENUESMARCHES",
                                   "MARCHEETRANGER", "RETENUEMARCHEETRANGER", "ASSIETETVA", "RETENUESURTVA"};
    d.push_back(
        {5,
         "V",
         "ANNEXEV",
         "IDENTIFIANT",
         "RAISONSOCIALE",
         "ACTIVITE",
         "NETSERVIS",
         "TFrmannexeVmaj",
         "Mise à Jour de l'Annexe V",
         "Autres montants payés et soumis à la retenue à la source.",
         join(identity("IDENTIFIANT", "N°Ordre:"),
              {{"TYPEIDENTIFIANT",
                "Type Identifiant",
                F::Choice,
                R,
                {"1: Matricule fiscal", "2: N°C.I.N", "3: N°Carte Séjour", "4: Id. Per. N. Domiciliées"}},
               {"PHYSIQUEMORALE", "Physique/Morale", F::Choice, R, kPerson},
               {"IDENTIFIANTBENEFICIAIRE", "Identifiant du Bénéficiaire:", F::Text, R | P},
               {"RAISONSOCIALE", "Raison Sociale du Bénéficiaire:", F::Text, R | P},
               {"ACTIVITE", "Activité du Bénéficiaire:", F::Text, R | P},
               {"ADRESSE", "Dernière Adresse du Bénéficiaire:", F::Text, R | P},
               {"EXPORT10", "Montants des Opérations d'Exportation et des Ventes taxées à 10%", F::Amount, C},
               {"RETENUEEXPORT10", "Retenues sur ces Montants", F::Amount, C},
               {"MARCHES", "Montants des Autres Opérations (1000 D et plus)", F::Amount, R | S | C},
               {"RETENUESMARCHES", "Retenues sur ces Montants", F::Amount, R | S | C},
               {"MARCHEETRANGER", "Montants des Opérations avec les Non Etablis (TVA retenue à 100%)",
                F::Amount, R | S | C},
               {"RETENUEMARCHEETRANGER", "Retenues sur ces Montants", F::Amount, R | S | C},
               {"NETSERVIS", "Montants Net Servis", F::Amount, R | S | C | X},
               {"ASSIETETVA", "Montants soumis à la Retenue au titre de la TVA", F::Amount, R | S | C},
               {"RETENUESURTVA", "Retenues au titre de la TVA", F::Amount, R | S | C},
               {"RISTOURNES", "Ristournes", F::Amount, R | S | C | H},
               {"RETENUETVANONDOMICILIE", "Retenue TVA Non Domiciliés", F::Amount, S | C | H},
               {"MONTANTC_G_C", "Redevance de Compensation", F::Amount, S | C | H}}),
         {{annexVNet,
           {"NETSERVIS",
            {"MARCHES", "ASSIETETVA", "MARCHEETRANGER"},
            {"RETENUESMARCHES", "RETENUESURTVA", "RETENUETVANONDOMICILIE"}}}},
         {"NETSERVIS",
          {"MARCHES", "ASSIETETVA", "MARCHEETRANGER", "EXPORT10"},
          {"RETENUESMARCHES", "RETENUESURTVA", "RETENUEMARCHEETRANGER", "RETENUEEXPORT10"}}});

    d.push_back(
        {6,
         "VI",
         "ANNEXEVI",
         "IDENTIFIANT",
         "RAISONSOCIALE",
         "ACTIVITE",
         nullptr,
         "TFrmAnnexevimaj",
         "Mise à Jour Annexe VI",
         "Ristournes commerciales et non commerciales, ventes aux personnes physiques soumises au régime "
         "forfaitaire, montants encaissés en espèces, gains des jeux de pari, de hasard et de loterie, "
         "ventes aux distributeurs ne dépassant pas 20 000 dinars par an",
         join(identity("IDENTIFIANT", "N°Ordre"),
              {{"IDENTIFIANTBENEFICIAIRE", "Identifiant du Bénéficiaire", F::Text, P},
               {"TYPEIDENTIFIANT", "Type Identifiant", F::Choice, 0, kIdentifierTypes},
               {"RAISONSOCIALE", "Raison Sociale", F::Text, P},
               {"ACTIVITE", "Activité", F::Text, P},
               {"ADRESSE", "Dernière Adresse du Bénéficiaire", F::Text, P},
               {"MONTANTRISTOURNES", "Ristournes Commerciales et non Commerciales", F::Amount, A | C},
               {"MONTANTPPFORFAITAIRE", "Ventes aux Personnes Physiques (Régime Forfaitaire)", F::Amount,
                A | C},
               {"AVANCEPPFORFAITAIRE", "Avance sur ces Ventes", F::Amount, A | C},
               {"MONTANTJEUX", "Gains des Jeux de Pari, de Hasard et de Loterie", F::Amount, C},
               {"RETENUEJEUX", "Retenue sur ces Gains", F::Amount, C},
               {"MONTANTINF20000", "Ventes aux Distributeurs (20 000 D par an au plus)", F::Amount, C},
               {"RETENUEINF20000", "Retenue sur ces Ventes", F::Amount, C},
               {"MONTESPECEMARCHANDISE", "Montants Encaissés en Espèces", F::Amount, A | C},
               {"PHYSIQUEMORALE", "Physique/Morale", F::Choice, H, kPerson}}),
         {},
         {}});

    d.push_back(
        {7,
         "VII",
         "ANNEXEVII",
         "IDENTIFIANT",
         "RAISONSOCIALE",
         "ACTIVITE",
         "MONTANTNETSERVIS",
         "TFrmannexeVIImaj",
         "Mise à Jour Annexe VII",
         "Montants payés pour le compte d'autrui (code de l'impôt sur le revenu des personnes physiques et "
         "de l'impôt sur les sociétés)",
         join(identity("IDENTIFIANT", "N°Ordre:"),
              {{"TYPEIDENTIFIANT", "Type Identifiant", F::Choice, 0, kIdentifierTypes},
               {"PHYSIQUEMORALE", "Physique/Morale", F::Choice, 0, kPerson},
               {"IDENTIFIANTBENEFICIAIRE", "Identifiant du Bénéficiaire:", F::Text, P},
               {"RAISONSOCIALE", "Raison Sociale du Bénéficiaire:", F::Text, P},
               {"ACTIVITE", "Activité du Bénéficiaire:", F::Text, P},
               {"ADRESSE", "Dernière Adresse du Bénéficiaire:", F::Text, P},
               {"TYPEMONTANT", "Type des Montants Payés:", F::TypeNumber},
               {"MONTANTPAYES", "Montants Payés:", F::Amount, A | C},
               {"RETENUALASOURCE", "Retenus Opérées:", F::Amount, A | C},
               {"MONTANTNETSERVIS", "Montants Nets Servis:", F::Amount, A | C | X}}),
         {{{"RETENUALASOURCE"}, {"MONTANTNETSERVIS", {"MONTANTPAYES"}, {"RETENUALASOURCE"}}}},
         {}});
    return d;
}

} // namespace

const AnnexColumn *AnnexDefinition::find(const QString &name) const {
    for (const AnnexColumn &c : columns)
        if (name.compare(QLatin1String(c.column), Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

QStringList AnnexDefinition::paddedByVerification() const {
    return {QStringLiteral("IDENTIFIANTBENEFICIAIRE"), QLatin1String(nameColumn),
            QLatin1String(activityColumn), QStringLiteral("ADRESSE")};
}

const std::vector<AnnexDefinition> &annexDefinitions() {
    static const std::vector<AnnexDefinition> definitions = build();
    return definitions;
}

const AnnexDefinition &annexDefinition(int number) {
    return annexDefinitions().at(static_cast<std::size_t>(std::clamp(number, 1, 7) - 1));
}
