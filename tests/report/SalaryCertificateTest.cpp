#include "annexes/SalaryCertificate.h"
#include "annexes/SalaryCertificateReport.h"
#include "report/ReportRenderer.h"
#include "tests/report/ReportFixture.h"

namespace {

// Three employees of Annex I, numbered 1 to 3.
class SalaryCertificateTest : public ReportFixture {
protected:
    SalaryCertificateTest() {
        insertAnnexRow(1, 1,
                       {{"NOMPRENOM", "'BEN SALAH ALI'"},
                        {"IDENTIFIANTBENEFICIAIRE", "'01234567'"},
                        {"ADRESSE", "'5 RUE DE ROME'"},
                        {"EMPLOIOCCUPE", "'INGENIEUR'"},
                        {"ETATCIVIL", "'2'"},
                        {"ENFANT", "3"},
                        {"DATEDEBUT", "'2018-01-01'"},
                        {"DATEFIN", "'2018-12-31'"},
                        {"REVENUIMPOSABLE", "12000"},
                        {"AVANTAGENATURE", "1500.5"},
                        {"REVENUREINVESTI", "250"},
                        {"RETENUEOPERES", "1500"},
                        {"RETENUECONJONCTURELLE", "100"}});
        insertAnnexRow(1, 2, {{"NOMPRENOM", "'DUPONT MARIE'"}, {"ETATCIVIL", "' '"}});
        insertAnnexRow(1, 3, {{"NOMPRENOM", "'TROISIEME'"}});
    }
    QString rendered(int from, int to) {
        const QString path = pdfPath(QStringLiteral("certificates"));
        const auto rows =
            readSalaryCertificates(dm, dm.activeCompany.code, dm.activeCompany.exercice, from, to);
        QString error;
        EXPECT_TRUE(report::renderToPdf(salaryCertificatesReport(dm.activeCompany, rows), path, &error))
            << error.toStdString();
        return path;
    }
};

TEST_F(SalaryCertificateTest, FamilySituationOfEachCode) {
    const std::pair<const char *, const char *> cases[] = {
        {"1", "Célibataire"}, {"2", "Marié"}, {"3", "Divorcé"}, {"4", "Veuf"}, {"", ""}, {"5", ""}};
    for (const auto &[code, situation] : cases) {
        SalaryCertificate c;
        c.etatCivil = QLatin1String(code);
        EXPECT_EQ(c.familySituation(), QString::fromUtf8(situation)) << code;
    }
}

TEST_F(SalaryCertificateTest, RangeOfOrderNumbers) {
    auto numbers = [&](int from, int to) {
        std::vector<int> found;
        for (const SalaryCertificate &c : readSalaryCertificates(dm, dm.activeCompany.code, "2018", from, to))
            found.push_back(c.numeroOrdre);
        return found;
    };
    EXPECT_EQ(numbers(1, 3), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(numbers(2, 2), (std::vector<int>{2}));
    EXPECT_EQ(numbers(5, 3), (std::vector<int>{}));
}

TEST_F(SalaryCertificateTest, WholeYearIsTwelveMonthsAndAMissingDateNone) {
    const auto rows = readSalaryCertificates(dm, dm.activeCompany.code, "2018", 1, 2);
    ASSERT_EQ(rows.size(), 2u);
    ASSERT_TRUE(rows[0].period().has_value());
    EXPECT_DOUBLE_EQ(*rows[0].period(), 364.0 / 30);
    EXPECT_FALSE(rows[1].period().has_value());
}

TEST_F(SalaryCertificateTest, TwoCopiesOfACertificatePerPage) {
    const QString path = rendered(1, 2);
    EXPECT_EQ(pdf::pageSize(path), QSize(595, 842));
    ASSERT_EQ(pdf::pageCount(path), 2);
    const QString first = pdf::text(path, 1);
    EXPECT_EQ(first.count(QStringLiteral("CERTIFICAT DE RETENUE D'IMPOT SUR LE REVENU AU TITRE")), 2);
    EXPECT_EQ(first.count(QStringLiteral("RETENUES EFFECTUEES DURANT L'ANNEE 2018")), 2);
    EXPECT_EQ(first.count(QStringLiteral("BEN SALAH ALI")), 2);
    EXPECT_EQ(first.count(QStringLiteral("ou du Débirenter")), 1);
    EXPECT_EQ(first.count(QStringLiteral("ou du Débirentier")), 1);
    EXPECT_TRUE(pdf::text(path, 2).contains(QStringLiteral("DUPONT MARIE")));
}

TEST_F(SalaryCertificateTest, FieldsOfTheCertificate) {
    const QString text = pdf::text(rendered(1, 1), 1);
    auto line = [&](const QString &part) { return pdf::lineWith(text, part); };
    for (const char *fixed :
         {"REPUBLIQUE TUNISIENNE", "MINISTERE DES FINANCES", "DIRECTION GENERALE", "DU CONTROLE FISCAL",
          "DES TRAITEMENTS, SALAIRES, PENSIONS ET RENTES VIAGERES", "A- EMPLOYEUR OU ORGANISME PAYEUR",
          "B- IDENTITE DU BENEFICIAIRE", "Cachet et Signature de l'Employeur"})
        EXPECT_TRUE(text.contains(QLatin1String(fixed))) << fixed;
    EXPECT_TRUE(line(QStringLiteral("IDENTIFIANT")).contains(QStringLiteral("1234567AM000")));
    EXPECT_TRUE(
        line(QStringLiteral("NOM PRENOM OU RAISON SOCIALE")).contains(QStringLiteral("SOCIETE TEST")));
    EXPECT_TRUE(line(QStringLiteral("ADRESSE")).contains(QStringLiteral("RUE DE TUNIS")));
    EXPECT_TRUE(line(QStringLiteral("SITUATION FAMILIALE")).contains(QStringLiteral("Marié")));
    EXPECT_TRUE(line(QStringLiteral("NOMBRE D'ENFANT")).contains(QStringLiteral("3")));
    EXPECT_TRUE(line(QStringLiteral("CIN")).contains(QStringLiteral("01234567")));
    EXPECT_TRUE(text.contains(QStringLiteral("5 RUE DE ROME")));
    EXPECT_TRUE(
        line(QStringLiteral("PERIODE DE TRAVAIL")).contains(QStringLiteral("PERIODE DE TRAVAIL 12 MOIS")));
    EXPECT_TRUE(line(QStringLiteral("EMPLOI OCCUPE")).contains(QStringLiteral("INGENIEUR")));
    EXPECT_TRUE(text.contains(QStringLiteral(
        "REVENU IMPOSABLE AVENTAGES . NATURE REVENU REINVESTI RETENUES RETENUES CSS REVENUS NETS")));
    EXPECT_TRUE(text.contains(QStringLiteral("12 000.000 1 500.500 250.000 1 500.000 100.000 10 400.000")));
    EXPECT_TRUE(text.contains(QStringLiteral("Je soussigné(e), certifie exacts et sincères")));
}

TEST_F(SalaryCertificateTest, EmptyFamilySituationAndPeriod) {
    const QString text = pdf::text(rendered(2, 2), 1);
    EXPECT_TRUE(pdf::lineWith(text, QStringLiteral("SITUATION FAMILIALE"))
                    .startsWith(QStringLiteral("SITUATION FAMILIALE NOMBRE D'ENFANT")));
    EXPECT_TRUE(pdf::lineWith(text, QStringLiteral("PERIODE DE TRAVAIL"))
                    .startsWith(QStringLiteral("PERIODE DE TRAVAIL MOIS")));
}

TEST_F(SalaryCertificateTest, RangeWithoutRowsGivesAnEmptyPage) {
    const QString path = rendered(5, 3);
    EXPECT_EQ(pdf::pageCount(path), 1);
    EXPECT_EQ(pdf::text(path).trimmed(), QString());
}

} // namespace
