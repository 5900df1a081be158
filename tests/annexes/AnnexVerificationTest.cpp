#include "tests/annexes/AnnexFixture.h"

#include "annexes/AnnexVerification.h"
#include "data/DbError.h"

namespace {

class AnnexVerificationTest : public AnnexFixture {
protected:
    // One row of an annex with the given amounts, saved.
    void addRow(int number, const std::vector<std::pair<const char *, double>> &amounts,
                const QString &name = QStringLiteral("NOM")) {
        openAnnex(number);
        appendFilled(number, name);
        for (const auto &[column, value] : amounts)
            dm.annex(number).setValue(QLatin1String(column), value);
        dm.annex(number).post();
    }
    double stored(int number, const char *column) {
        return scalar(QStringLiteral("select %1 from %2")
                          .arg(QLatin1String(column), QLatin1String(annexDefinition(number).table)))
            .toDouble();
    }
};

// The verification's own sums, which differ on purpose from those of the edit windows.
TEST_F(AnnexVerificationTest, RecomputesTheTotalOfEachAnnex) {
    struct Case {
        int annex;
        std::vector<std::pair<const char *, double>> amounts;
        const char *target;
        double expected;
    } cases[] = {
        {1, {{"REVENUIMPOSABLE", 1000}, {"AVANTAGENATURE", 200.5}, {"MONTANTNET", 7}}, "TOTALREVENU", 1200.5},
        {2,
         {{"MONTANTBRUT", 100},
          {"MONTANTPRIMESCONSEIL", 50},
          {"MONTANTBRUTACTEXPORT", 25},
          {"JETONSPRESENCES", 1000},
          {"RETENUESOPERES", 15}},
         "NETSERVIS",
         160},
        {3,
         {{"INTERETDESCOMPTES", 10}, {"INTERETPRETS", 5}, {"MONTANTRETENUES", 3}, {"RETENUESC_G_C", 1}},
         "NETSERVIS",
         12},
        {4, {{"MONTANTBRUTS", 100}, {"MONTANPARADIS", 10}, {"RETENUS", 30}}, "NETSERVIS", 80},
        {5,
         {{"MARCHES", 1000},
          {"RETENUESMARCHES", 15},
          {"EXPORT10", 100},
          {"RETENUEEXPORT10", 1},
          {"RETENUEMARCHEETRANGER", 4}},
         "NETSERVIS",
         1080},
    };
    for (const Case &c : cases) {
        addRow(c.annex, c.amounts);
        openAnnex(c.annex);
        const VerificationResult r = verifyAnnex(dm, c.annex);
        EXPECT_EQ(r.rows, 1) << c.annex;
        EXPECT_DOUBLE_EQ(stored(c.annex, c.target), c.expected) << c.annex;
    }
    EXPECT_DOUBLE_EQ(stored(1, "MONTANTNET"), 7); // not recomputed by the verification
}

TEST_F(AnnexVerificationTest, PadsCompletesAndLeavesVerifiedRowsUnwritten) {
    exec(QStringLiteral(
        "insert into ANNEXEII (IDENTIFIANT, EXERCICE, NUMEROORDRE, TYPEIDENTIFIANT, "
        "IDENTIFIANTBENEFICIAIRE, PHYSIQUEMORALE, RAISONSOCIALE, ACTIVITE, ADRESSE, "
        "TYPEMONTANTSERVIS, MONTANTBRUT, HONORAIRESERVIS, REMUNIRATIONS, PLUSVALUE, LOYERSHOTELS, "
        "RETENUESOPERES, NETSERVIS, JETONSPRESENCES, RISTOURNES) values ('1234567AM000', '2018', "
        "1, '1', '12345678', '2', 'SARL', 'CONSEIL', 'TUNIS', '1', 100, 0, 0, 0, 0, 10, 0, 0, 0)"));
    openAnnex(2);
    EXPECT_EQ(verifyAnnex(dm, 2).saved, 1);
    auto text = [&](const char *column) {
        return scalar(QStringLiteral("select %1 from ANNEXEII").arg(QLatin1String(column))).toString();
    };
    EXPECT_EQ(text("IDENTIFIANTBENEFICIAIRE"), QStringLiteral("12345678     "));
    EXPECT_EQ(text("RAISONSOCIALE"), QStringLiteral("SARL").leftJustified(40));
    EXPECT_EQ(text("ADRESSE"), QStringLiteral("TUNIS").leftJustified(120));
    EXPECT_EQ(text("MONTANTPRIMESCONSEIL"), QStringLiteral("0"));
    EXPECT_EQ(text("NETSERVIS"), QStringLiteral("90"));

    // Verifying again changes nothing and writes nothing.
    openAnnex(2);
    const VerificationResult second = verifyAnnex(dm, 2);
    EXPECT_EQ(second.rows, 1);
    EXPECT_EQ(second.saved, 0);
    EXPECT_EQ(text("NETSERVIS"), QStringLiteral("90"));
}

TEST_F(AnnexVerificationTest, VerifiesOnlyTheRowsListedAndStopsAtARefusedSave) {
    addRow(1, {{"REVENUIMPOSABLE", 10}}, QStringLiteral("AHMED"));
    addRow(1, {{"REVENUIMPOSABLE", 20}}, QStringLiteral("BECHIR"));
    exec(QStringLiteral("update ANNEXEI set TOTALREVENU = 0"));

    // After a search, only the rows found.
    Dataset &ds = dm.iannexei;
    ds.close();
    ds.setSql(QStringLiteral("select * from ANNEXEI where codesociete=:code and exercice=:exercice and "
                             "NOMPRENOM like 'B%'"));
    ds.setParam(QStringLiteral("code"), dm.activeCompany.code);
    ds.setParam(QStringLiteral("exercice"), dm.activeCompany.exercice);
    ds.open();
    EXPECT_EQ(verifyAnnex(dm, 1).rows, 1);
    EXPECT_EQ(scalar(QStringLiteral("select sum(TOTALREVENU) from ANNEXEI")).toDouble(), 20);

    // A name of blanks cannot be saved: the verification stops there, the rows before it stay saved.
    exec(QStringLiteral("update ANNEXEI set NOMPRENOM = '   ' where NUMEROORDRE = 2"));
    openAnnex(1);
    try {
        verifyAnnex(dm, 1);
        FAIL() << "a blank name was saved";
    } catch (const DbError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Le champ 'NOMPRENOM' doit avoir une valeur."));
    }
    EXPECT_EQ(scalar(QStringLiteral("select TOTALREVENU from ANNEXEI where NUMEROORDRE = 1")).toDouble(), 10);
}

TEST(PaddedText, TrimsThenPadsToTheWidth) {
    EXPECT_EQ(paddedText(QStringLiteral("12345678"), 13), QStringLiteral("12345678     "));
    EXPECT_EQ(paddedText(QStringLiteral("  AB "), 6), QStringLiteral("AB    "));
    EXPECT_EQ(paddedText(QStringLiteral("1234567890123"), 13), QStringLiteral("1234567890123"));
    EXPECT_EQ(paddedText(QString(), 4), QStringLiteral("    "));
}

} // namespace
