#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>
#include <vector>

class Dataset;
class TDatadeclaration;

// One row of TABLEAURECAPITULATIF.
struct RecapRecord {
    int ordre = 0;
    QByteArray zone1, zone2, zone3, zone4;
    QByteArray record() const { return zone1 + zone2 + zone3 + zone4; } // the 38 characters of DECEMP_
};

// Opens the seven annex queries of the data module (irequetteannexeI .. IrequetteAnnexeVii) on a declarant
// code and fiscal year, and returns their row counts (the presence of each annex).
std::array<int, 7> openAnnexQueries(TDatadeclaration &dm, const QString &code, const QString &exercice);

// Computes the recapitulative table of a company and year from its Annexes I to VI and stores its 38 rows
// in TABLEAURECAPITULATIF through Itableaurecap, replacing what the table held; the annex queries are
// opened unless they already are on that code and year. Throws DeclarationError naming the annex, the
// order number and the column of a row that cannot be counted (a code that is not a whole number, an
// amount that makes a line negative or too wide); the table is then left empty.
std::vector<RecapRecord> computeRecap(TDatadeclaration &dm, const QString &code, const QString &exercice);

// The same from the annex queries as openAnnexQueries has just opened them on that code and year.
std::vector<RecapRecord> computeRecapFromQueries(TDatadeclaration &dm, const QString &code,
                                                 const QString &exercice);

// The rows of TABLEAURECAPITULATIF as it stands, ordered by ORDRE (Itableaurecap reopened).
std::vector<RecapRecord> readRecap(TDatadeclaration &dm);
// The rows of an open dataset of that table, in its order.
std::vector<RecapRecord> recapRecords(const Dataset &table);

// The company and year the table was last computed for in this run, when nothing has emptied it since.
struct RecapOwner {
    QString code, exercice;
    bool operator==(const RecapOwner &) const = default;
};
std::optional<RecapOwner> recapComputedFor(const TDatadeclaration &dm);

// What the declaration file needs of the table: its 38 lines in order with their codes, and digits in the
// zones. Throws DeclarationError saying what is missing or wrong, and on which line.
void checkRecapForWriting(const std::vector<RecapRecord> &records);

// The correction of a line in the recapitulative table window: ZONE2 and ZONE4 become the base and the
// withholding in dinars encoded as amounts, and the row is saved (committed at once). The total line is not
// recomputed. Throws DeclarationError, saving nothing, when the line is not in the table or an amount is
// negative or does not fit its 15 digits.
void correctRecapLine(TDatadeclaration &dm, int ordre, double base, double withholding);
