#include "annexes/AnnexReports.h"
#include "report/ReportRenderer.h"
#include "tests/report/ReportFixture.h"

#include <QRegularExpression>

namespace {

class AnnexReportsTest : public ReportFixture {
protected:
    QString renderedAnnex(int annex) {
        const QString path = pdfPath(QStringLiteral("annex%1").arg(annex));
        QString error;
        EXPECT_TRUE(report::renderToPdf(
            annexReport(dm, annex, dm.activeCompany.code, dm.activeCompany.exercice), path, &error))
            << error.toStdString();
        return path;
    }
};

struct AnnexCase {
    int annex;
    const char *title, *subtitle;
    std::vector<const char *> headings; // lines of the column headings
    const char *nameColumn, *amountColumn;
    const char *amounts[3]; // 1234.5, 2000.25 and their total through the annex's mask
    QSize page;
};

const QSize kLandscape(842, 595), kPortrait(595, 842);
const char *const kMasked[3] = {"1234.500", "2000.250", "3234.750"};
const char *const kDefault[3] = {"1234.5", "2000.25", "3234.75"};
const std::vector<const char *> kBeneficiary{
    "N°", "Identifiant", "Bénéficiaire", "Nom & Raison Sociale", "Activité", "Adresse"};

std::vector<const char *> beneficiaryAnd(std::vector<const char *> amounts) {
    std::vector<const char *> all = kBeneficiary;
    all.insert(all.end(), amounts.begin(), amounts.end());
    return all;
}

const AnnexCase kCases[] = {
    {1,
     "Annexe I",
     "Traitements, salaires, pensions et rentes viagères payés",
     {"N°",         "Identifiant", "Bénéficiaire", "Nom & Prénom", "Emploi Occupé", "Adresse",
      "Etat",       "Civil",       "Nbr",          "Enf",          "Pér.",          "Travail",
      "Jours",      "Revenus",     "Imposables",   "Avantages",    "En Nature",     "Réinvestis",
      "Ret. R.Com", "20%+R.CGC",   "Nets",         "Servis"},
     "NOMPRENOM",
     "REVENUIMPOSABLE",
     {kMasked[0], kMasked[1], kMasked[2]},
     kLandscape},
    {2,
     "Annexe II",
     "Honoraires, Commissions, Courtages pour des Résidents",
     beneficiaryAnd({"Montants", "Honoraires", "Jetons de", "Présence", "Rémun.", "érations", "+Value",
                     "Immobil.", "Loyers", "Hotels", "Retenues", "Opérées"}),
     "RAISONSOCIALE",
     "LOYERSHOTELS",
     {kMasked[0], kMasked[1], kMasked[2]},
     kLandscape},
    {3,
     "Annexe III",
     "Intérêts des Comptes, Capitaux et des Prets",
     beneficiaryAnd(
         {"Intérêts", "Comptes", "Capitaux", "Prêts", "Retenues", "Opérées", "Montants Nets", "Servis"}),
     "RAISONSOCIALE",
     "INTERETPRETS",
     {kMasked[0], kMasked[1], kMasked[2]},
     kLandscape},
    {4,
     "Annexe IV",
     "Honoraires, Courtages, Pour des Non Résidents",
     beneficiaryAnd({"Montants", "Bruts", "Rémun.", "+Value", "Immo.", "Jetons", "de Présence", "Retenues",
                     "Opérées", "Servis"}),
     "RAISONSOCIALE",
     "REMUNIRATIONS",
     {kDefault[0], kDefault[1], kDefault[2]},
     kLandscape},
    {5,
     "Annexe V",
     "Marchés",
     beneficiaryAnd({"Marchés", ">1000", "Retenus", "Assiete Tva", "Retenus/Tva", "N.Résid.", "Mar N.Rés."}),
     "RAISONSOCIALE",
     "MARCHES",
     {kDefault[0], kDefault[1], kDefault[2]},
     kLandscape},
    {6,
     "Annexe VI",
     "Montants des Ristournes Commerciales et non Commerciales",
     beneficiaryAnd({"Montant Ristournes"}),
     "RAISONSOCIALE",
     "MONTANTRISTOURNES",
     {"1 234.500", "2 000.250", "3 234.750"},
     kPortrait},
    {7,
     "Annexe VII",
     "Montants Payés pour Autrui",
     beneficiaryAnd({"Montants", "Payés", "Retenues", "Opérées", "Montants Nets", "Servis"}),
     "RAISONSOCIALE",
     "MONTANTPAYES",
     {kMasked[0], kMasked[1], kMasked[2]},
     kLandscape},
};

class EveryAnnexReport : public AnnexReportsTest, public ::testing::WithParamInterface<AnnexCase> {};

TEST_P(EveryAnnexReport, TitleHeadingsRowsThroughTheMaskAndTotals) {
    const AnnexCase &c = GetParam();
    const QString name = QLatin1String(c.nameColumn), amount = QLatin1String(c.amountColumn);
    insertAnnexRow(c.annex, 1, {{name, "'BENEFICIAIRE UN'"}, {amount, "1234.5"}});
    insertAnnexRow(c.annex, 2, {{name, "'BENEFICIAIRE DEUX'"}, {amount, "2000.25"}});
    insertAnnexRow(c.annex, 3, {{name, "'AUTRE ANNEE'"}, {amount, "99"}});
    exec(QStringLiteral("update %1 set EXERCICE = '2017' where NUMEROORDRE = 3")
             .arg(QLatin1String(kAnnexTables.at(static_cast<std::size_t>(c.annex - 1)).table)));

    const QString path = renderedAnnex(c.annex);
    EXPECT_EQ(pdf::pageSize(path), c.page);
    EXPECT_EQ(pdf::pageCount(path), 1);
    const QString text = pdf::text(path);
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("^%1$").arg(QLatin1String(c.title)),
                                                 QRegularExpression::MultilineOption)))
        << text.toStdString();
    EXPECT_TRUE(text.contains(pdf::normalised(QString::fromUtf8(c.subtitle)))) << c.subtitle;
    for (const char *heading : c.headings)
        EXPECT_TRUE(text.contains(QString::fromUtf8(heading))) << heading;
    EXPECT_TRUE(pdf::lineWith(text, QStringLiteral("BENEFICIAIRE UN")).contains(QLatin1String(c.amounts[0])));
    EXPECT_TRUE(
        pdf::lineWith(text, QStringLiteral("BENEFICIAIRE DEUX")).contains(QLatin1String(c.amounts[1])));
    EXPECT_FALSE(text.contains(QStringLiteral("AUTRE ANNEE")));
    const QString totals = c.annex == 1 ? pdf::lineWith(text, QStringLiteral("Total Ret. Reg Comm."))
                                        : pdf::lineWith(text, QStringLiteral("Totaux"));
    EXPECT_TRUE(totals.contains(QLatin1String(c.amounts[2]))) << totals.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Annexes, EveryAnnexReport, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return "Annex" + std::to_string(info.param.annex); });

// Annex I sums its four withholdings in one column, and totals three of them apart at the left.
TEST_F(AnnexReportsTest, AnnexIWithholdingsAndTheirTotalsUnderTheirColumns) {
    insertAnnexRow(1, 1,
                   {{"NOMPRENOM", "'SALARIE UN'"},
                    {"RETENUEOPERES", "100"},
                    {"RETENUES20", "20"},
                    {"REDEVANCECOMPENSATION", "3"},
                    {"RETENUECONJONCTURELLE", "7"},
                    {"ETATCIVIL", "'2'"},
                    {"ENFANT", "3"},
                    {"NBJOURS", "25.5"}});
    insertAnnexRow(1, 2, {{"NOMPRENOM", "'SALARIE DEUX'"}, {"RETENUEOPERES", "50"}});
    const QString path = renderedAnnex(1);
    const QString text = pdf::text(path);
    const QString first = pdf::lineWith(text, QStringLiteral("SALARIE UN"));
    EXPECT_TRUE(first.contains(QStringLiteral("130.000"))) << first.toStdString();
    EXPECT_TRUE(first.contains(QRegularExpression(QStringLiteral("\\b2 +3 +25.5\\b"))))
        << first.toStdString();
    EXPECT_TRUE(pdf::lineWith(text, QStringLiteral("SALARIE DEUX")).contains(QStringLiteral("50.000")));
    const struct {
        const char *label, *total;
    } labelled[] = {
        {"Total Ret. Reg Comm.", "150.000"}, {"Total Ret. 20%", "20.000"}, {"Total R.C.G.C", "3.000"}};
    for (const auto &t : labelled)
        EXPECT_TRUE(pdf::lineWith(text, QLatin1String(t.label)).contains(QLatin1String(t.total))) << t.label;

    // The sum of the four withholdings stands under the rows' withholdings.
    double rowRight = 0, totalRight = -1;
    for (const pdf::Word &w : pdf::words(path)) {
        if (w.text == QStringLiteral("130.000"))
            rowRight = w.box.right();
        if (w.text == QStringLiteral("180.000"))
            totalRight = w.box.right();
    }
    EXPECT_NEAR(totalRight, rowRight, 1);
}

TEST_F(AnnexReportsTest, EmptyAnnexPrintsItsTitleAndZeros) {
    const QString annexI = pdf::text(renderedAnnex(1));
    EXPECT_TRUE(annexI.contains(QStringLiteral("Annexe I")));
    EXPECT_TRUE(annexI.contains(QStringLiteral("Imposables")));
    const QString totalsI = pdf::lineWith(annexI, QStringLiteral("Total Ret. Reg Comm."));
    EXPECT_EQ(totalsI.count(QStringLiteral("0.000")), 6) << totalsI.toStdString(); // five columns, one label
    const QString totalsIV = pdf::lineWith(pdf::text(renderedAnnex(4)), QStringLiteral("Totaux"));
    EXPECT_EQ(totalsIV, QStringLiteral("Totaux 0 0 0 0 0 0"));
}

// The headings belong to the title band: on the first page only; the totals follow the last row.
TEST_F(AnnexReportsTest, LongListHasItsHeadingsOnTheFirstPageAndItsTotalsAfterTheLastRow) {
    for (int n = 1; n <= 60; ++n)
        insertAnnexRow(
            7, n, {{"RAISONSOCIALE", QStringLiteral("'BENEFICIAIRE %1'").arg(n)}, {"MONTANTPAYES", "10"}});
    const QString path = renderedAnnex(7);
    const int pages = pdf::pageCount(path);
    ASSERT_GE(pages, 2);
    EXPECT_TRUE(pdf::text(path, 1).contains(QStringLiteral("Payés")));
    for (int page = 2; page <= pages; ++page)
        EXPECT_FALSE(pdf::text(path, page).contains(QStringLiteral("Payés"))) << page;
    const QString last = pdf::text(path, pages);
    EXPECT_TRUE(pdf::lineWith(last, QStringLiteral("Totaux")).contains(QStringLiteral("600.000")));
    EXPECT_GT(last.indexOf(QStringLiteral("Totaux")), last.indexOf(QStringLiteral("BENEFICIAIRE 60")));
    EXPECT_EQ(pdf::text(path).count(QStringLiteral("BENEFICIAIRE")), 60);
}

} // namespace
