#include "exchange/DatasetImport.h"
#include "exchange/ImportPresets.h"
#include "exchange/ImportWizard.h"
#include "tests/annexes/AnnexFixture.h"
#include "tests/exchange/ImportData.h"

#include <QDir>
#include <QFile>

using importdata::n;
using importdata::s;

namespace {

class ImportTest : public AnnexFixture {
protected:
    ImportTest() {
        QDir().mkpath(folder());
        dm.spreadsheetFolder = folder();
    }
    QString folder() const { return db.folder() + QStringLiteral("/modeles"); }
    QString file(const QString &name) const { return folder() + QLatin1Char('/') + name; }

    Dataset &openTiers() {
        dm.Itiers.close();
        dm.Itiers.setSql(QStringLiteral("select * from tiers Order by code"));
        dm.Itiers.open();
        return dm.Itiers;
    }
    // The rows of a table as the database keeps them once committed, seen through a connection of its own.
    int committedRows(const QString &table) {
        TDatadeclaration other;
        other.connectDatabase(db.path());
        auto q = other.newQuery(QStringLiteral("count"));
        q->setSql(QStringLiteral("select count(*) from %1").arg(table));
        q->open();
        return q->valueAt(0, 0).toInt();
    }
};

// One file of each format holding the Annex I rows and the third parties, as the user would pick it.
struct FormatCase {
    const char *format;
};

class FormatImportTest : public ImportTest, public ::testing::WithParamInterface<FormatCase> {
protected:
    // The file, and the sheet that holds `target` in it.
    std::pair<QString, int> source(bool annex) {
        const QString format = QLatin1String(GetParam().format);
        const std::vector<testfiles::Sheet> sheets = {{QStringLiteral("Annexe I"), importdata::annexI()},
                                                      {QStringLiteral("Tiers"), importdata::tiers()}};
        if (format == QLatin1String("xls")) {
            const QString path = file(QStringLiteral("annexe1.xls")); // the preset's own file name
            QFile::remove(path);
            EXPECT_TRUE(QFile::copy(QStringLiteral(EXCHANGE_FIXTURES "/annexes.xls"), path));
            return {path, annex ? 0 : 1};
        }
        if (format == QLatin1String("xlsx")) {
            testfiles::writeXlsx(file(QStringLiteral("annexes.xlsx")), sheets);
            return {file(QStringLiteral("annexes.xlsx")), annex ? 0 : 1};
        }
        if (format == QLatin1String("ods")) {
            testfiles::writeOds(file(QStringLiteral("annexes.ods")), sheets);
            return {file(QStringLiteral("annexes.ods")), annex ? 0 : 1};
        }
        // Annex I with ';' as Excel writes it in French, the third parties with ','.
        const QString path = file(annex ? QStringLiteral("annexe1.csv") : QStringLiteral("tiers.csv"));
        testfiles::writeBytes(
            path,
            testfiles::delimitedText(annex ? importdata::annexI() : importdata::tiers(), annex ? ';' : ','));
        return {path, 0};
    }
};

TEST_P(FormatImportTest, AnnexIRowsComeInThroughThePreset) {
    Dataset &annex = openAnnex(1);
    ImportWizard wizard(annex, &dm);
    wizard.usePreset(QStringLiteral("ANNEXEI"), dm.spreadsheetFolder);
    EXPECT_EQ(wizard.specification().file, file(QStringLiteral("annexe1.xls")));
    const auto [path, sheet] = source(true);
    if (path != wizard.specification().file)
        wizard.setFile(path);
    wizard.setSheet(sheet);

    const ImportResult result = wizard.run();
    ASSERT_TRUE(result.complete) << result.message.toStdString();
    EXPECT_EQ(result.imported, 3);
    EXPECT_EQ(result.message,
              QStringLiteral("3 ligne(s) importée(s) depuis « %1 ».").arg(QFileInfo(path).fileName()));
    EXPECT_EQ(committedRows(QStringLiteral("ANNEXEI")), 3);

    annex.reopen();
    ASSERT_EQ(annex.rowCount(), 3);
    const testfiles::Rows rows = importdata::annexI();
    for (int r = 0; r < 3; ++r) {
        const QVariantList &in = rows[r + 1];
        SCOPED_TRACE(r);
        EXPECT_EQ(annex.valueAt(r, QStringLiteral("CODESOCIETE")).toString(), QStringLiteral("1234567AM000"));
        EXPECT_EQ(annex.valueAt(r, QStringLiteral("EXERCICE")).toString(), QStringLiteral("2018"));
        EXPECT_EQ(annex.valueAt(r, QStringLiteral("NUMEROORDRE")).toInt(),
                  r + 1); // the sheet's, not the rule's
        EXPECT_EQ(annex.valueAt(r, QStringLiteral("TYPEIDENTIFIANT")).toString(), cellText(in[3]));
        EXPECT_EQ(annex.valueAt(r, QStringLiteral("IDENTIFIANTBENEFICIAIRE")).toString().trimmed(),
                  in[4].toString());
        EXPECT_EQ(annex.valueAt(r, QStringLiteral("NOMPRENOM")).toString().trimmed(), in[5].toString());
        EXPECT_EQ(annex.valueAt(r, QStringLiteral("ADRESSE")).toString().trimmed(), in[7].toString());
        EXPECT_EQ(annex.valueAt(r, QStringLiteral("ENFANT")).toInt(), in[9].toInt());
        EXPECT_EQ(annex.valueAt(r, QStringLiteral("DATEFIN")).toDateTime().date(), in[10].toDate());
        EXPECT_EQ(annex.valueAt(r, QStringLiteral("DATEDEBUT")).toDateTime().date(), in[11].toDate());
        EXPECT_DOUBLE_EQ(annex.valueAt(r, QStringLiteral("NBJOURS")).toDouble(), in[12].toDouble());
        EXPECT_DOUBLE_EQ(annex.valueAt(r, QStringLiteral("REVENUIMPOSABLE")).toDouble(), in[13].toDouble());
        EXPECT_DOUBLE_EQ(annex.valueAt(r, QStringLiteral("RETENUEOPERES")).toDouble(), in[17].toDouble());
        EXPECT_DOUBLE_EQ(annex.valueAt(r, QStringLiteral("RETENUECONJONCTURELLE")).toDouble(),
                         in[19].toDouble());
        EXPECT_DOUBLE_EQ(annex.valueAt(r, QStringLiteral("MONTANTNET")).toDouble(), in[20].toDouble());
    }
}

TEST_P(FormatImportTest, ThirdPartiesComeInThroughThePreset) {
    Dataset &tiers = openTiers();
    ImportWizard wizard(tiers, &dm);
    wizard.usePreset(QStringLiteral("TIERS"), dm.spreadsheetFolder);
    EXPECT_EQ(wizard.specification().mappingText(),
              QStringLiteral("CODE A, TYPEIDENTIFIANT B, PHYSIQUEMORALE C, IDENTIFIANT D, NOMBENEFICIAIRE E, "
                             "ACTIVITE F, ADRESSE G"));
    const auto [path, sheet] = source(false);
    wizard.setFile(path);
    wizard.setSheet(sheet);
    EXPECT_EQ(wizard.preview(1).at(0).cells.value(0).toString(), QStringLiteral("Code"));
    wizard.setFirstRow(2); // the file holds its titles on row 1

    const ImportResult result = wizard.run();
    ASSERT_TRUE(result.complete) << result.message.toStdString();
    EXPECT_EQ(result.imported, 1);
    EXPECT_EQ(committedRows(QStringLiteral("TIERS")), 1);
    tiers.reopen();
    ASSERT_EQ(tiers.rowCount(), 1);
    EXPECT_EQ(tiers.valueAt(0, QStringLiteral("CODE")).toInt(), 1);
    EXPECT_EQ(tiers.valueAt(0, QStringLiteral("TYPEIDENTIFIANT")).toString(), QStringLiteral("1"));
    EXPECT_EQ(tiers.valueAt(0, QStringLiteral("PHYSIQUEMORALE")).toString(), QStringLiteral("2"));
    EXPECT_EQ(tiers.valueAt(0, QStringLiteral("NOMBENEFICIAIRE")).toString().trimmed(),
              QStringLiteral("Société Générale de Négoce"));
    EXPECT_EQ(tiers.valueAt(0, QStringLiteral("ACTIVITE")).toString().trimmed(), QStringLiteral("Commerce"));
}

INSTANTIATE_TEST_SUITE_P(Formats, FormatImportTest,
                         ::testing::Values(FormatCase{"xls"}, FormatCase{"xlsx"}, FormatCase{"ods"},
                                           FormatCase{"csv"}),
                         [](const auto &info) { return std::string(info.param.format); });

// A bad cell on file row 4, between good rows: the import stops there, rows 2 and 3 stay saved, row 4
// and the rows after it are not saved.
struct StopCase {
    const char *name;
    int column;
    QVariant value;
    const char *where; // the start of the message's place
    const char *reason;
};

class ImportStopTest : public ImportTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(ImportStopTest, StopsAtTheBadRowAndKeepsTheRowsBefore) {
    const StopCase &c = GetParam();
    testfiles::Rows rows = importdata::annexI();
    QVariantList fourth = rows[3];
    fourth[2] = n(4);
    QVariantList fifth = rows[3];
    fifth[2] = n(5);
    rows[3][c.column] = c.value; // file row 4
    rows.append(fourth);
    rows.append(fifth);
    testfiles::writeXlsx(file(QStringLiteral("annexe1.xlsx")), {{QStringLiteral("Feuil1"), rows}});

    Dataset &annex = openAnnex(1);
    ImportWizard wizard(annex, &dm);
    wizard.usePreset(QStringLiteral("ANNEXEI"), dm.spreadsheetFolder);
    wizard.setFile(file(QStringLiteral("annexe1.xlsx")));
    const ImportResult result = wizard.run();

    EXPECT_FALSE(result.complete);
    EXPECT_EQ(result.imported, 2);
    EXPECT_EQ(result.failedRow, 4);
    EXPECT_TRUE(result.message.contains(QString::fromUtf8(c.where))) << result.message.toStdString();
    EXPECT_TRUE(result.message.contains(QString::fromUtf8(c.reason))) << result.message.toStdString();
    EXPECT_TRUE(result.message.contains(QStringLiteral("à partir de la ligne 4")))
        << result.message.toStdString();
    EXPECT_FALSE(annex.isEditing());
    EXPECT_EQ(annex.rowCount(), 2); // the refused row is not left in the dataset
    EXPECT_EQ(committedRows(QStringLiteral("ANNEXEI")), 2);

    // The row put right, the rest of the file comes in from row 4.
    QVariantList fixed = importdata::annexI()[3];
    testfiles::Rows rest = importdata::annexI();
    rest[3] = fixed;
    rest.append(fourth);
    rest.append(fifth);
    testfiles::writeXlsx(file(QStringLiteral("annexe1.xlsx")), {{QStringLiteral("Feuil1"), rest}});
    wizard.setFirstRow(result.failedRow);
    const ImportResult resumed = wizard.run();
    EXPECT_TRUE(resumed.complete) << resumed.message.toStdString();
    EXPECT_EQ(resumed.imported, 3);
    EXPECT_EQ(committedRows(QStringLiteral("ANNEXEI")), 5);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImportStopTest,
    ::testing::Values(StopCase{"MalformedNumber", 13, s("12,5"),
                               "Ligne 4, colonne N (REVENUIMPOSABLE) : ", "n'est pas un nombre"},
                      StopCase{"TwoDigitYear", 10, s("31/12/18"),
                               "Ligne 4, colonne K (DATEFIN) : ", "n'est pas une date"},
                      StopCase{"ImpossibleDate", 11, s("31/02/2018"),
                               "Ligne 4, colonne L (DATEDEBUT) : ", "n'est pas une date valide"},
                      StopCase{"FractionInInteger", 9, n(2.5),
                               "Ligne 4, colonne J (ENFANT) : ", "n'est pas un nombre entier"},
                      StopCase{"TextTooLong", 5, QVariant(QString(41, QLatin1Char('X'))),
                               "Ligne 4, colonne F (NOMPRENOM) : ", "dépasse"},
                      StopCase{"DuplicateKey", 2, n(1), "Ligne 4 : la ligne a été refusée", "PK_ANNEXEI"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ImportTest, ProgressCountsTheRowsAndCanStopTheImport) {
    testfiles::writeXlsx(file(QStringLiteral("annexe1.xlsx")),
                         {{QStringLiteral("Feuil1"), importdata::annexI()}});
    Dataset &annex = openAnnex(1);
    ImportWizard wizard(annex, &dm);
    wizard.usePreset(QStringLiteral("ANNEXEI"), dm.spreadsheetFolder);
    wizard.setFile(file(QStringLiteral("annexe1.xlsx")));
    std::vector<std::pair<int, int>> calls;
    const ImportResult result = wizard.run([&](int done, int total) {
        calls.emplace_back(done, total);
        return done < 2;
    });
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.imported, 2);
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}}));
    EXPECT_EQ(committedRows(QStringLiteral("ANNEXEI")), 2);
}

TEST_F(ImportTest, WizardListsSheetsAndPreviewsRows) {
    ImportWizard wizard(openTiers(), &dm);
    wizard.setFile(QStringLiteral(EXCHANGE_FIXTURES "/annexes.xls"));
    EXPECT_EQ(wizard.sheets(), (QStringList{QStringLiteral("Annexe I"), QStringLiteral("Tiers")}));
    wizard.setSheet(1);
    const std::vector<SheetRow> preview = wizard.preview(5);
    ASSERT_EQ(preview.size(), 2u);
    EXPECT_EQ(preview[1].number, 2);
    EXPECT_EQ(cellText(preview[1].cells.value(0)), QStringLiteral("1"));
    EXPECT_EQ(preview[1].cells.value(4).toString(), QStringLiteral("Société Générale de Négoce"));
    EXPECT_EQ(wizard.specification().sheetName, QStringLiteral("Tiers"));
}

TEST_F(ImportTest, MistakesFoundBeforeTheFirstRowImportNothing) {
    Dataset &annex = openAnnex(1);
    ImportWizard wizard(annex, &dm);
    wizard.usePreset(QStringLiteral("ANNEXEI"), dm.spreadsheetFolder); // no annexe1.xls in the folder
    ImportResult r = wizard.run();
    EXPECT_FALSE(r.complete);
    EXPECT_TRUE(r.message.contains(QStringLiteral("annexe1.xls"))) << r.message.toStdString();
    EXPECT_TRUE(r.message.contains(QStringLiteral("introuvable"))) << r.message.toStdString();

    testfiles::writeXlsx(file(QStringLiteral("annexe1.xlsx")),
                         {{QStringLiteral("Feuil1"), importdata::annexI()}});
    wizard.setFile(file(QStringLiteral("annexe1.xlsx")));
    wizard.setMappings({{QStringLiteral("A"), QStringLiteral("CODESOCIETE")},
                        {QStringLiteral("B"), QStringLiteral("NOMCHAMP")}});
    r = wizard.run();
    EXPECT_TRUE(r.message.contains(QStringLiteral("le champ NOMCHAMP n'existe pas")))
        << r.message.toStdString();
    EXPECT_EQ(committedRows(QStringLiteral("ANNEXEI")), 0);
}

TEST_F(ImportTest, EveryPresetMapsColumnsOfItsTable) {
    ASSERT_EQ(importPresets().size(), 8u);
    for (const ImportPreset &p : importPresets()) {
        SCOPED_TRACE(p.table);
        auto q = dm.newQuery(QStringLiteral("preset"));
        q->setSql(QStringLiteral("select * from %1").arg(QLatin1String(p.table)));
        q->open();
        const ImportSpecification spec =
            presetSpecification(QLatin1String(p.table), QStringLiteral("C:\\Modeles\\"));
        for (const ColumnMapping &m : spec.mappings)
            EXPECT_GE(q->layout().indexOf(m.field), 0) << m.field.toStdString();
        if (QLatin1String(p.table).startsWith(QLatin1String("ANNEXE"))) {
            EXPECT_EQ(spec.firstRow, 2);
            EXPECT_TRUE(spec.file.startsWith(QStringLiteral("C:/Modeles/annexe"))) << spec.file.toStdString();
            const bool first = QLatin1String(p.table) == QLatin1String("ANNEXEI");
            EXPECT_EQ(spec.mappings.front().field,
                      first ? QStringLiteral("CODESOCIETE") : QStringLiteral("IDENTIFIANT"));
            EXPECT_EQ(spec.mappings.front().source, QStringLiteral("A"));
        }
    }
    // The columns the models leave unread.
    auto letters = [](const char *table) {
        QStringList out;
        for (const ColumnMapping &m : presetSpecification(QLatin1String(table), QString()).mappings)
            out.append(m.source);
        return out.join(QString());
    };
    EXPECT_EQ(letters("ANNEXEI"), QStringLiteral("ABCDEFGHIJKLMNOPQRSTU"));
    EXPECT_EQ(letters("ANNEXEII"), QStringLiteral("ABCDEFGHIJLMNOPQRSTUV"));
    EXPECT_EQ(letters("ANNEXEIV"), QStringLiteral("ABCDEFGHIJKLMNOPQRSTVWXY"));
    EXPECT_EQ(letters("ANNEXEVII"), QStringLiteral("ABCDEGHIJKLM"));
    EXPECT_EQ(presetSpecification(QStringLiteral("ANNEXEVI"), QString()).file, QStringLiteral("annexe6.xls"));
}

} // namespace
