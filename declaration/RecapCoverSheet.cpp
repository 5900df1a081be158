#include "declaration/RecapCoverSheet.h"

#include "annexes/AnnexDefinitions.h"
#include "data/NumberFormat.h"
#include "data/TDatadeclaration.h"
#include "declaration/CompanyRow.h"
#include "declaration/RecapComputation.h"

namespace {

// Annex VI has no net column; its sheet box shows the total of its rebates, its main amount.
const char *netColumn(int annex) {
    const char *column = annexDefinition(annex).netColumn;
    return column ? column : "MONTANTRISTOURNES";
}

} // namespace

QString RecapCoverSheet::day() const {
    return declarationDate.isValid() ? QString::number(declarationDate.day()) : QString();
}

QString RecapCoverSheet::month() const {
    return declarationDate.isValid() ? QString::number(declarationDate.month()) : QString();
}

QString RecapCoverSheet::year() const {
    return declarationDate.isValid() ? QString::number(declarationDate.year()) : QString();
}

QString RecapCoverSheet::presenceMark(int annex) const {
    return annexes.at(static_cast<std::size_t>(annex - 1)).isPresent() ? QStringLiteral("X") : QString();
}

QString RecapCoverSheet::rowCount(int annex) const {
    const Annex &a = annexes.at(static_cast<std::size_t>(annex - 1));
    return a.isPresent() ? formatNumber(a.rows, QStringLiteral("####0")) : QString();
}

QString RecapCoverSheet::netTotal(int annex) const {
    const Annex &a = annexes.at(static_cast<std::size_t>(annex - 1));
    return a.isPresent() ? formatNumber(a.netTotal, QStringLiteral("# ##0.000")) : QString();
}

RecapCoverSheet readRecapCoverSheet(TDatadeclaration &dm, const QString &vatCode,
                                    const QDate &declarationDate) {
    const CompanyRow company = activeCompanyRowOrThrow(dm); // leaves Isociete on the company's row
    const Dataset &societe = dm.Isociete;
    auto stored = [&](const char *column) { return societe.text(QLatin1String(column)); };
    auto text = [&](const char *column) { return stored(column).trimmed(); };

    RecapCoverSheet sheet;
    sheet.fiscalYear = dm.activeCompany.exercice;
    sheet.declarationDate = declarationDate;
    sheet.taxIdentifier = stored("IDENTIFIANT") + stored("CLE");
    sheet.vatCode = vatCode;
    sheet.categoryCode = stored("CATEGORIE") + stored("ETABSECONDAIRE");
    sheet.name = text("RAISON_SOCIALE") + QStringLiteral("  ") + text("VILLE");
    sheet.address = text("RUE");
    sheet.postalCode = text("CODEPOSTAL");

    const std::array<int, 7> rows = openAnnexQueries(dm, company.code, company.exercice);
    for (int annex = 1; annex <= 7; ++annex) {
        RecapCoverSheet::Annex &a = sheet.annexes[static_cast<std::size_t>(annex - 1)];
        a.rows = rows[static_cast<std::size_t>(annex - 1)];
        const Dataset &query = dm.annexQuery(annex);
        const QString column = QLatin1String(netColumn(annex));
        for (int row = 0; row < query.rowCount(); ++row)
            a.netTotal += query.valueAt(row, column).toDouble();
    }
    return sheet;
}
