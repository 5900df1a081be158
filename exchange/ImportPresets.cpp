#include "exchange/ImportPresets.h"

#include <QDir>

const std::vector<ImportPreset> &importPresets() {
    static const std::vector<ImportPreset> presets = {
        // Third parties: the wizard's own default file; the columns are mapped by the user.
        {"TIERS", "SMImport.SMI", false, 1, ""},
        {"ANNEXEI", "annexe1.xls", true, 2,
         "CODESOCIETE A, EXERCICE B, NUMEROORDRE C, TYPEIDENTIFIANT D, IDENTIFIANTBENEFICIAIRE E, NOMPRENOM "
         "F, "
         "EMPLOIOCCUPE G, ADRESSE H, ETATCIVIL I, ENFANT J, DATEFIN K, DATEDEBUT L, NBJOURS M, "
         "REVENUIMPOSABLE N, AVANTAGENATURE O, TOTALREVENU P, REVENUREINVESTI Q, RETENUEOPERES R, "
         "RETENUES20 S, RETENUECONJONCTURELLE T, MONTANTNET U"},
        {"ANNEXEII", "annexe2.xls", true, 2, // column K is not read
         "IDENTIFIANT A, EXERCICE B, NUMEROORDRE C, TYPEIDENTIFIANT D, IDENTIFIANTBENEFICIAIRE E, "
         "PHYSIQUEMORALE F, RAISONSOCIALE G, ACTIVITE H, ADRESSE I, MONTANTBRUT J, MONTANTPRIMESCONSEIL L, "
         "REMUNIRATIONS M, HONORAIRESERVIS N, PLUSVALUE O, LOYERSHOTELS P, REMUNERATIONARTISTES Q, "
         "HONORAIREBUREAU R, TYPEMONTSERVISEXPORTATION S, MONTANTBRUTACTEXPORT T, RETENUESOPERES U, "
         "NETSERVIS V"},
        {"ANNEXEIII", "annexe3.xls", true, 2,
         "IDENTIFIANT A, EXERCICE B, NUMEROORDRE C, TYPEIDENTIFIANT D, IDENTIFIANTBENEFICIAIRE E, "
         "PHYSIQUEMORALE F, RAISONSOCIALE G, ACTIVITE H, ADRESSE I, INTERETDESCOMPTES J, INTERETCAPITAUX K, "
         "INTERETPRETS L, MONTANTRETENUES M, NETSERVIS N"},
        {"ANNEXEIV", "annexe4.xls", true, 2, // column U is not read
         "IDENTIFIANT A, EXERCICE B, NUMEROORDRE C, TYPEIDENTIFIANT D, IDENTIFIANTBENEFICIAIRE E, "
         "PHYSIQUEMORALE F, RAISONSOCIALE G, ACTIVITE H, ADRESSE I, TYPEMONTANTSERVIS J, TAUXMONTANT K, "
         "MONTANTBRUTS L, TAUXREMUNIRATIONS M, REMUNIRATIONS N, TAUXPLUSVALUE O, PLUSVALUE P, "
         "TAUXPLUSVALUECESSION Q, MONTANTPLUSVALUE R, TAUXVALEURMOBILIERE S, REVENUSVELEURMOBILIER T, "
         "MONTACTNONCOMM V, MONTANPARADIS W, RETENUS X, NETSERVIS Y"},
        {"ANNEXEV", "annexe5.xls", true, 2,
         "IDENTIFIANT A, EXERCICE B, NUMEROORDRE C, TYPEIDENTIFIANT D, IDENTIFIANTBENEFICIAIRE E, "
         "PHYSIQUEMORALE F, RAISONSOCIALE G, ACTIVITE H, ADRESSE I, EXPORT10 J, RETENUEEXPORT10 K, MARCHES "
         "L, "
         "RETENUESMARCHES M, ASSIETETVA N, RETENUESURTVA O, MARCHEETRANGER P, RETENUETVANONDOMICILIE Q, "
         "NETSERVIS R"},
        {"ANNEXEVI", "annexe6.xls", true, 2,
         "IDENTIFIANT A, EXERCICE B, NUMEROORDRE C, TYPEIDENTIFIANT D, IDENTIFIANTBENEFICIAIRE E, "
         "PHYSIQUEMORALE F, RAISONSOCIALE G, ACTIVITE H, ADRESSE I, MONTANTRISTOURNES J, "
         "MONTANTPPFORFAITAIRE K, AVANCEPPFORFAITAIRE L, MONTANTJEUX M, RETENUEJEUX N, MONTANTINF20000 O, "
         "RETENUEINF20000 P, MONTESPECEMARCHANDISE Q"},
        {"ANNEXEVII", "annexe7.xls", true, 2, // column F is not read
         "IDENTIFIANT A, EXERCICE B, NUMEROORDRE C, TYPEIDENTIFIANT D, IDENTIFIANTBENEFICIAIRE E, "
         "RAISONSOCIALE G, ACTIVITE H, ADRESSE I, TYPEMONTANT J, MONTANTPAYES K, RETENUALASOURCE L, "
         "MONTANTNETSERVIS M"},
    };
    return presets;
}

const ImportPreset *importPreset(const QString &table) {
    for (const ImportPreset &p : importPresets())
        if (table.compare(QLatin1String(p.table), Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

ImportSpecification presetSpecification(const QString &table, const QString &modelsFolder) {
    ImportSpecification spec;
    const ImportPreset *p = importPreset(table);
    if (!p)
        return spec;
    // The models folder is written as a Windows folder in older configurations ("C:\Modeles\").
    const QString folder =
        QDir::fromNativeSeparators(QString(modelsFolder).replace(QLatin1Char('\\'), QLatin1Char('/')));
    spec.file = p->inModelsFolder && !folder.isEmpty() ? QDir(folder).filePath(QLatin1String(p->file))
                                                       : QLatin1String(p->file);
    spec.firstRow = p->firstRow;
    spec.mappings = ImportSpecification::parseMappings(QLatin1String(p->mapping));
    return spec;
}
