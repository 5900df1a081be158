#include "declaration/RecapComputation.h"
#include "tests/declaration/DeclarationFixture.h"

using RecapTest = DeclarationFixture;

namespace {

const QString kCode = QStringLiteral("1234567AM000");
const QString kYear = QStringLiteral("2018");

// The 38 recap records of the hand-written DECEMP_18 of the fixture (its records 2 to 39).
QList<QByteArray> expectedRecap() {
    QList<QByteArray> records = readFile(QStringLiteral(DECLARATION_EXPECTED "/DECEMP_18")).split('\n');
    records = records.mid(1, 38);
    for (QByteArray &r : records)
        r.chop(1); // CR
    return records;
}

QList<QByteArray> recordsOf(const std::vector<RecapRecord> &recap) {
    QList<QByteArray> records;
    for (const RecapRecord &r : recap)
        records << r.record();
    return records;
}

} // namespace

TEST_F(RecapTest, WithoutRowsHoldsTheThirtyEightLinesAtZero) {
    // Annex VII takes no part in the table.
    exec(QStringLiteral(
        "insert into ANNEXEVII (IDENTIFIANT, EXERCICE, NUMEROORDRE, MONTANTPAYES, RETENUALASOURCE, "
        "TYPEMONTANT) values ('1234567AM000', '2018', 1, 1000, 100, '3')"));
    const QList<QByteArray> records = recordsOf(computeRecap(dm, kCode, kYear));
    const QList<QByteArray> lines = expectedRecap();
    ASSERT_EQ(records.size(), 38);
    const QByteArray zeros(15, '0'), blanks(15, ' ');
    for (int i = 0; i < 38; ++i) {
        SCOPED_TRACE(lines[i].left(3).toStdString());
        const bool blankBase = lines[i].startsWith("300") || lines[i].startsWith("999");
        EXPECT_EQ(records[i], lines[i].left(3) + (blankBase ? blanks : zeros) + lines[i].mid(18, 5) + zeros);
    }
    EXPECT_EQ(recordsOf(readRecap(dm)), records); // as stored in TABLEAURECAPITULATIF
}

// The fixture's rows count on several lines each: the Annex II row with fees and hotel rents on "030" and
// "040", the Annex IV row on "242", "160", "270" and "192"; "999" adds every one of those withholdings.
TEST_F(RecapTest, RowsCountOnEveryLineWhoseConditionTheyMeet) {
    insertRowsInEveryAnnex();
    EXPECT_EQ(recordsOf(computeRecap(dm, kCode, kYear)), expectedRecap());
    EXPECT_EQ(recapComputedFor(dm), (RecapOwner{kCode, kYear}));
}

// A row that cannot be counted stops the computation with a message naming it; the table stays empty.
TEST_F(RecapTest, NamesTheRowThatCannotBeCounted) {
    struct Case {
        const char *change;
        const char *message; // "" when the computation succeeds
    } cases[] = {
        {"update ANNEXEIV set TYPEMONTANTSERVIS = 'A'",
         "Annexe IV, numéro d'ordre 1, colonne TYPEMONTANTSERVIS : « A » n'est pas un nombre entier ; le "
         "tableau "
         "récapitulatif n'a pas pu être calculé."},
        {"update ANNEXEIV set TYPEMONTANTSERVIS = 'A', MONTANTBRUTS = 0", ""},
        {"update ANNEXEIII set TYPEIDENTIFIANT = 'X'",
         "Annexe III, numéro d'ordre 1, colonne TYPEIDENTIFIANT : « X » n'est pas un nombre entier ; le "
         "tableau "
         "récapitulatif n'a pas pu être calculé."},
        {"update ANNEXEII set JETONSPRESENCES = -400 where NUMEROORDRE = 2",
         "Ligne 241 du tableau récapitulatif : le montant de base (-400,000 dinars) est "
         "négatif ; Annexe II, numéro d'ordre 2, colonne JETONSPRESENCES : -400,000. Le tableau "
         "récapitulatif n'a pas pu être calculé."},
    };
    insertRowsInEveryAnnex();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.change);
        exec(QLatin1String(c.change));
        QString message;
        try {
            computeRecap(dm, kCode, kYear);
        } catch (const DeclarationError &e) {
            message = e.message();
        }
        EXPECT_EQ(message, QString::fromUtf8(c.message));
        EXPECT_EQ(readRecap(dm).size(), *c.message ? 0u : 38u);
        EXPECT_EQ(recapComputedFor(dm).has_value(), !*c.message);
        resetAnnexes();
    }
}
