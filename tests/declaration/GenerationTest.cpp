#include "declaration/Generation.h"
#include "declaration/DeclarationFiles.h"
#include "declaration/RecapComputation.h"
#include "tests/declaration/DeclarationFixture.h"

#include <QDirIterator>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>

using GenerationTest = DeclarationFixture;

namespace {

const QString kExpected = QStringLiteral(DECLARATION_EXPECTED);
const QStringList kAllFiles = {"ANXEMP_1_18_1", "ANXEMP_2_18_1", "ANXEMP_3_18_1", "ANXEMP_4_18_1",
                               "ANXEMP_5_18_1", "ANXEMP_6_18_1", "ANXEMP_7_18_1", "DECEMP_18"};

QString expectedFile(const QString &name) {
    return kExpected + QLatin1Char('/') + name;
}

// The message of the DeclarationError thrown by f, or "" when none is thrown.
template <typename F> QString errorOf(F f) {
    try {
        f();
    } catch (const DeclarationError &e) {
        return e.message();
    }
    return {};
}

} // namespace

TEST_F(GenerationTest, WritesEveryFileByteForByte) {
    insertRowsInEveryAnnex();
    const GenerationResult result = runGeneration(dm, {out.path(), 0});
    EXPECT_TRUE(result.recapRecomputed);
    ASSERT_EQ(result.files.size(), 8);
    EXPECT_EQ(result.files.first(), out.filePath(QStringLiteral("DECEMP_18")));
    EXPECT_EQ(filesWritten(), kAllFiles); // and no temporary file left
    for (const QString &name : kAllFiles) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(readFile(out.filePath(name)), readFile(expectedFile(name)));
    }
}

TEST_F(GenerationTest, WithoutAnnexRowsWritesTheDeclarationAloneWithEveryFlagAbsent) {
    runGeneration(dm, {out.path(), 2});
    EXPECT_EQ(filesWritten(), QStringList{QStringLiteral("DECEMP_18")});
    const QList<QByteArray> records = readFile(out.filePath(QStringLiteral("DECEMP_18"))).split('\n');
    ASSERT_EQ(records.size(), 40); // 39 records, each ended by CR LF
    EXPECT_EQ(records.first(), QByteArray("0001234567AM00020181111111            \r"));
}

// Each fault names the annex, the order number and the column in one message, and nothing is written.
TEST_F(GenerationTest, RefusesRowsThatWouldBreakARecordAndWritesNothing) {
    struct Case {
        const char *change;
        const char *message;
    } cases[] = {
        {"update ANNEXEII set MONTANTBRUT = -5 where NUMEROORDRE = 1",
         "Annexe II, numéro d'ordre 1, colonne MONTANTBRUT (positions 240-254) : -5,000 est négatif."},
        {"update ANNEXEVII set TYPEMONTANT = '7A'",
         "Annexe VII, numéro d'ordre 1, colonne TYPEMONTANT (positions 239-240) : « 7A » n'est pas un nombre "
         "entier."},
        {"update ANNEXEVII set TYPEMONTANT = null",
         "Annexe VII, numéro d'ordre 1, colonne TYPEMONTANT (positions 239-240) : «  » n'est pas un nombre "
         "entier."},
        {"update ANNEXEI set ENFANT = 100 where NUMEROORDRE = 2",
         "Annexe I, numéro d'ordre 2, colonne ENFANT (positions 240-241) : 100 dépasse les 2 chiffres de sa "
         "zone."},
        {"update ANNEXEI set NBJOURS = 999.5 where NUMEROORDRE = 1",
         "Annexe I, numéro d'ordre 1, colonne NBJOURS (positions 258-260) : 999,50 dépasse les 3 chiffres de "
         "sa "
         "zone."},
        {"update ANNEXEIV set TAUXMONTANT = 1000",
         "Annexe IV, numéro d'ordre 1, colonne TAUXMONTANT (positions 240-244) : 1000 dépasse les 5 chiffres "
         "de sa zone."},
        {"update ANNEXEV set NUMEROORDRE = 1000000",
         "Annexe V, numéro d'ordre 1000000, colonne NUMEROORDRE (positions 19-24) : 1000000 dépasse les 6 "
         "chiffres de sa zone."},
    };
    insertRowsInEveryAnnex();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.change);
        exec(QLatin1String(c.change));
        const QString message = errorOf([&] { runGeneration(dm, {out.path(), 0}); });
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.message))) << message.toStdString();
        EXPECT_TRUE(message.endsWith(QStringLiteral("Aucun fichier n'a été écrit.")))
            << message.toStdString();
        EXPECT_EQ(filesWritten(), QStringList());
        resetAnnexes();
    }
}

TEST_F(GenerationTest, RefusesToRunWithoutAMarkedCompanyOrAFolder) {
    insertRowsInEveryAnnex();
    EXPECT_TRUE(errorOf([&] {
                    runGeneration(dm, {QString(), 0});
                }).startsWith(QStringLiteral("Choisissez le dossier")));
    EXPECT_TRUE(errorOf([&] {
                    runGeneration(dm, {out.filePath(QStringLiteral("absent")), 0});
                }).contains(QStringLiteral("n'existe pas")));
    exec(QStringLiteral("update SOCIETE set ACTIVEON = 'N'"));
    EXPECT_TRUE(errorOf([&] {
                    runGeneration(dm, {out.path(), 0});
                }).startsWith(QStringLiteral("Aucune société n'est marquée « O »")));
    EXPECT_EQ(filesWritten(), QStringList());
}

// A file that cannot be written completely leaves neither itself nor a temporary file behind, and the
// files of an earlier run stay as they were.
TEST_F(GenerationTest, AFileThatCannotBeWrittenLeavesTheFolderAsItWas) {
    insertRowsInEveryAnnex();
    {
        QFile old(out.filePath(QStringLiteral("DECEMP_18")));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("earlier run\r\n");
    }
    DeclarationContent content;
    content.company = *markedCompanyRow(dm);
    openAnnexQueries(dm, content.company.code, content.company.exercice);
    computeRecap(dm, content.company.code, content.company.exercice);
    for (int annex = 1; annex <= 7; ++annex)
        content.annexes[static_cast<std::size_t>(annex - 1)] = &dm.annexQuery(annex);
    content.recap = &dm.Itableaurecap;

    // No file may grow beyond 1500 bytes: DECEMP_18 (1560 bytes) fails as on a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = 1500;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const QString message = errorOf([&] { writeDeclarationFiles(content, out.path()); });
    setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_TRUE(message.startsWith(QStringLiteral("Le fichier « %1 » n'a pas pu être écrit : ")
                                       .arg(out.filePath(QStringLiteral("DECEMP_18")))))
        << message.toStdString();
    EXPECT_TRUE(message.contains(QString::fromLocal8Bit(std::strerror(EFBIG)))) << message.toStdString();
    EXPECT_EQ(filesWritten(), QStringList{QStringLiteral("DECEMP_18")});
    EXPECT_EQ(readFile(out.filePath(QStringLiteral("DECEMP_18"))), QByteArray("earlier run\r\n"));
}

TEST_F(GenerationTest, TellsWhenTheMarkedCompanyIsNotTheOneShown) {
    EXPECT_EQ(markedCompanyQuestion(dm, QStringLiteral("1234567AM000"), QStringLiteral("2018")), QString());
    const QString question =
        markedCompanyQuestion(dm, QStringLiteral("7654321BM000"), QStringLiteral("2018"));
    EXPECT_TRUE(question.contains(QStringLiteral("1234567AM000"))) << question.toStdString();
    EXPECT_TRUE(question.contains(QStringLiteral("7654321BM000"))) << question.toStdString();
}

// The table has no company column: computed for another company, it is computed again for the marked one.
TEST_F(GenerationTest, RecomputesARecapComputedForAnotherCompany) {
    insertRowsInEveryAnnex();
    exec(QStringLiteral("insert into ANNEXEVII (IDENTIFIANT, EXERCICE, NUMEROORDRE, TYPEMONTANT) values "
                        "('7654321BM000', '2018', 1, '3')"));
    computeRecap(dm, QStringLiteral("7654321BM000"), QStringLiteral("2018"));
    computeRecap(dm, QStringLiteral("1234567AM000"), QStringLiteral("2017"));
    const GenerationResult result = runGeneration(dm, {out.path(), 0});
    EXPECT_TRUE(result.recapRecomputed);
    EXPECT_EQ(readFile(out.filePath(QStringLiteral("DECEMP_18"))),
              readFile(expectedFile(QStringLiteral("DECEMP_18"))));
}

// A line corrected in the recap window after the table was computed for the marked company is carried into
// DECEMP_ as it stands; the total line is left as computed.
TEST_F(GenerationTest, CarriesARecapCorrectionIntoTheDeclaration) {
    insertRowsInEveryAnnex();
    const DeclarationOpening opening = openDeclarationWindow(dm);
    EXPECT_EQ(opening.recapError, QString());
    EXPECT_EQ(opening.annexRows, (std::array<int, 7>{2, 2, 1, 1, 1, 2, 1}));
    correctRecapLine(dm, 4, 1234.5, 10);
    EXPECT_TRUE(errorOf([&] { correctRecapLine(dm, 4, -1, 0); }).contains(QStringLiteral("est négatif")));

    const GenerationResult result = runGeneration(dm, {out.path(), 0});
    EXPECT_FALSE(result.recapRecomputed);
    QList<QByteArray> expected = readFile(expectedFile(QStringLiteral("DECEMP_18"))).split('\n');
    expected[4] = "02100000000123450001500000000000010000\r";
    EXPECT_EQ(readFile(out.filePath(QStringLiteral("DECEMP_18"))).split('\n'), expected);
}

TEST_F(GenerationTest, RefusesARecapThatLostALineOrCannotBeComputed) {
    insertRowsInEveryAnnex();
    openDeclarationWindow(dm);
    exec(QStringLiteral("delete from TABLEAURECAPITULATIF where ORDRE = 5"));
    EXPECT_TRUE(errorOf([&] {
                    runGeneration(dm, {out.path(), 0});
                }).contains(QStringLiteral("Le tableau récapitulatif contient 37 lignes au lieu de 38.")));

    exec(QStringLiteral("update ANNEXEIV set TYPEMONTANTSERVIS = 'A'"));
    computeRecap(dm, QStringLiteral("7654321BM000"), QStringLiteral("2018"));
    EXPECT_EQ(
        errorOf([&] {
            runGeneration(dm, {out.path(), 0});
        }),
        QStringLiteral("Annexe IV, numéro d'ordre 1, colonne TYPEMONTANTSERVIS : « A » n'est pas un nombre "
                       "entier ; le tableau récapitulatif n'a pas pu être calculé."));
    EXPECT_EQ(filesWritten(), QStringList());
}

TEST_F(GenerationTest, OpeningTheWindowsWithoutACompanySaysSo) {
    dm.activeCompany = {};
    EXPECT_TRUE(errorOf([&] {
                    openDeclarationWindow(dm);
                }).startsWith(QStringLiteral("Aucune société n'est choisie")));
    dm.activeCompany.name = QStringLiteral("AUTRE SOCIETE");
    dm.activeCompany.exercice = QStringLiteral("2018");
    EXPECT_EQ(errorOf([&] { openDeclarationWindow(dm); }),
              QStringLiteral("La société « AUTRE SOCIETE » (exercice 2018) est introuvable dans la liste des "
                             "sociétés : choisissez-la de nouveau dans la liste."));
}
