#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class TDatadeclaration;

// What the declaration takes from a company's SOCIETE row.
struct CompanyRow {
    QString code;     // declarant code: IDENTIFIANT, CLE, CATEGORIE and ETABSECONDAIRE joined as stored
    QString exercice; // EXERCICE in decimal digits ("0" when empty)
    // The texts of the E records, as stored (WIN1252 bytes).
    QByteArray raisonSociale, activite, ville, rue, numero, codePostal;

    QByteArray text(const char *column) const; // one of the six above by its SOCIETE column name
    // The declaration names its files and records after a four-digit year.
    bool hasFourDigitYear() const;
};

// The marked company: SOCIETE read through Isociete from the first row to the last, the last row whose
// ACTIVEON is "O" winning. Empty when no row is marked.
std::optional<CompanyRow> markedCompanyRow(TDatadeclaration &dm);

// The active company's row: the last SOCIETE row whose RAISON_SOCIALE equals the active company's name and
// whose EXERCICE equals its fiscal year. Throws DeclarationError, in French, when no company is chosen or
// none matches.
CompanyRow activeCompanyRowOrThrow(TDatadeclaration &dm);
