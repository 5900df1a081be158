#include "declaration/CompanyRow.h"

#include "data/TDatadeclaration.h"
#include "data/Win1252.h"
#include "declaration/DeclarationError.h"
#include "reference/Companies.h"

namespace {

// The current row of SOCIETE.
CompanyRow currentRow(const Dataset &societe) {
    auto bytes = [&](const char *column) { return win1252::encode(societe.text(QLatin1String(column))); };
    const ActiveCompany company = companyOfRow(societe);
    CompanyRow c;
    c.code = company.code;
    c.exercice = company.exercice;
    c.raisonSociale = bytes("RAISON_SOCIALE");
    c.activite = bytes("ACTIVITE");
    c.ville = bytes("VILLE");
    c.rue = bytes("RUE");
    c.numero = bytes("NUMERO");
    c.codePostal = bytes("CODEPOSTAL");
    return c;
}

} // namespace

QByteArray CompanyRow::text(const char *column) const {
    const QLatin1String name(column);
    if (name == QLatin1String("RAISON_SOCIALE"))
        return raisonSociale;
    if (name == QLatin1String("ACTIVITE"))
        return activite;
    if (name == QLatin1String("VILLE"))
        return ville;
    if (name == QLatin1String("RUE"))
        return rue;
    if (name == QLatin1String("NUMERO"))
        return numero;
    if (name == QLatin1String("CODEPOSTAL"))
        return codePostal;
    return {};
}

bool CompanyRow::hasFourDigitYear() const {
    return exercice.size() == 4 && exercice.toInt() >= 1000;
}

std::optional<CompanyRow> markedCompanyRow(TDatadeclaration &dm) {
    if (!findMarkedCompany(dm.Isociete))
        return std::nullopt;
    return currentRow(dm.Isociete);
}

CompanyRow activeCompanyRowOrThrow(TDatadeclaration &dm) {
    const ActiveCompany &active = dm.activeCompany;
    if (!active.isChosen())
        throw DeclarationError(QStringLiteral("Aucune société n'est choisie : choisissez la société dans la "
                                              "liste des sociétés, puis fermez la liste."));
    if (!findActiveCompanyRow(dm))
        throw DeclarationError(QStringLiteral("La société « %1 » (exercice %2) est introuvable dans la liste "
                                              "des sociétés : choisissez-la de nouveau dans la liste.")
                                   .arg(active.name.trimmed(), active.exercice));
    return currentRow(dm.Isociete);
}
