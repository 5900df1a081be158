#pragma once

#include <QDate>
#include <QString>
#include <array>

class TDatadeclaration;

// What the cover sheet of the employer's declaration shows: the active company's row, the filing date, the
// value added tax code, and each annex's beneficiaries and net total for the company and year.
struct RecapCoverSheet {
    struct Annex {
        int rows = 0;
        double netTotal = 0; // Annex VI: its rebates, MONTANTRISTOURNES, having no net column
        bool isPresent() const { return rows > 0; }
    };

    QString fiscalYear;
    QDate declarationDate;
    QString taxIdentifier; // IDENTIFIANT and CLE
    QString vatCode;       // the "Code Tva" typed in the recap window
    QString categoryCode;  // CATEGORIE and ETABSECONDAIRE
    QString name;          // RAISON_SOCIALE and VILLE, each trimmed, two blanks between
    QString address;       // RUE
    QString postalCode;    // CODEPOSTAL
    std::array<Annex, 7> annexes;

    // The filled texts: day, month and year as plain numbers; for annex 1 to 7, "X", the count through
    // "####0" and the net total through "# ##0.000" when present, blanks when absent.
    QString day() const;
    QString month() const;
    QString year() const;
    QString presenceMark(int annex) const;
    QString rowCount(int annex) const;
    QString netTotal(int annex) const;
};

// The sheet of the active company and fiscal year: its SOCIETE row found by the company row lookup, then
// the annex queries of the data module opened on its declarant code and year, counted and summed. Throws
// DeclarationError, in French, when no company is chosen or its row is not found.
RecapCoverSheet readRecapCoverSheet(TDatadeclaration &dm, const QString &vatCode,
                                    const QDate &declarationDate);
