#pragma once

#include <QStringList>
#include <vector>

// The seven annexes as data: each column with its label, kind, choice list and the rules that hold for it,
// in the order the edit window visits its fields (columns the window does not show come last), and the
// totals the window and the verification compute. A format change of a later year is an edit of these
// tables.

enum class AnnexField {
    Text,    // text, padded with blanks to its width when left if Padded
    Integer, // whole number
    Fixed2,  // fixed point with two decimals (days, rates)
    Amount,  // dinars with three decimals
    Rate,    // floating rate
    Date,
    Choice,     // coded choice: the first character of the item
    Check,      // "O" ticked, "N" not
    TypeNumber, // Annex VII: the number of a withholding type, picked from TYPERETENUE
};

enum AnnexFlag : unsigned {
    Required = 1u << 0,    // the row cannot be saved while it is empty (blanks count as empty)
    StartZero = 1u << 1,   // a new row sets it to 0 while it is empty
    StartAlways = 1u << 2, // a new row sets it to 0 whatever it holds
    Complete = 1u << 3,    // becomes 0 when empty before every save
    Padded = 1u << 4,      // blank-padded to the column's width on leaving and by the verification
    Hidden = 1u << 5,      // not shown by the edit window
    NoTabStop = 1u << 6,   // shown, skipped by Enter and Up
    Computed = 1u << 7,    // shown, computed by the window
    Heading = 1u << 8,     // the declarant code and year of the "Identité Déclarant" panel
};

struct AnnexColumn {
    const char *column;
    const char *label;
    AnnexField field = AnnexField::Text;
    unsigned flags = 0;
    QStringList choices = {};
    const char *hint = nullptr;
    const char *emptyText = nullptr; // what StartZero and Complete put in an empty text ("2"), else 0
};

// target = sum of `plus` − sum of `minus`, an empty amount counting as 0.
struct AnnexSum {
    const char *target = nullptr;
    QStringList plus;
    QStringList minus;
    bool isSet() const { return target != nullptr; }
};

// A sum the edit window computes when one of `leaving` is left.
struct AnnexWindowSum {
    QStringList leaving;
    AnnexSum sum;
};

struct AnnexDefinition {
    int number;
    const char *roman;          // "I" .. "VII"
    const char *table;          // ANNEXEI ..
    const char *companyColumn;  // CODESOCIETE in Annex I, IDENTIFIANT elsewhere
    const char *nameColumn;     // NOMPRENOM in Annex I, RAISONSOCIALE elsewhere
    const char *activityColumn; // EMPLOIOCCUPE in Annex I, ACTIVITE elsewhere
    const char *netColumn;      // the net the recap and the prints sum; null in Annex VI
    const char *editClass;
    const char *editCaption;
    const char *heading;
    std::vector<AnnexColumn> columns;
    std::vector<AnnexWindowSum> windowSums;
    AnnexSum verificationSum; // unset in Annexes VI and VII

    const AnnexColumn *find(const QString &column) const;
    // The texts padded by the verification: identifier, name, activity, address.
    QStringList paddedByVerification() const;
};

// Annexes 1 to 7, in order.
const std::vector<AnnexDefinition> &annexDefinitions();
const AnnexDefinition &annexDefinition(int number);
