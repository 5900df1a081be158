#include "exchange/GWGExporterXL.h"
#include "exchange/XlsxReader.h"
#include "exchange/ZipPackage.h"
#include "tests/annexes/AnnexFixture.h"
#include "tests/exchange/SpreadsheetFiles.h"

#include <QFile>
#include <QXmlStreamReader>

namespace {

// The row settings, step by step, with the examples of the export window.
struct RowStep {
    char setting; // 'f' first row, 'l' last row, 'r' rows
    int value;
    int first, last, rows; // after the step
};
struct RowRuleCase {
    const char *name;
    std::vector<RowStep> steps;
};

class ExporterRowRulesTest : public ::testing::TestWithParam<RowRuleCase> {};

TEST_P(ExporterRowRulesTest, StayConsistent) {
    GWGExporterXL exporter;
    EXPECT_EQ(exporter.firstRow(), 1);
    EXPECT_EQ(exporter.lastRow(), 65535);
    EXPECT_EQ(exporter.rows(), 65535);
    for (const RowStep &s : GetParam().steps) {
        SCOPED_TRACE(std::string(1, s.setting) + std::to_string(s.value));
        if (s.setting == 'f')
            exporter.setFirstRow(s.value);
        else if (s.setting == 'l')
            exporter.setLastRow(s.value);
        else
            exporter.setRows(s.value);
        EXPECT_EQ(exporter.firstRow(), s.first);
        EXPECT_EQ(exporter.lastRow(), s.last);
        EXPECT_EQ(exporter.rows(), s.rows);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ExporterRowRulesTest,
    ::testing::Values(
        // Choosing a source of 12 rows sets last row, then rows, to 12.
        RowRuleCase{"SourceOf12Rows", {{'l', 12, 1, 12, 12}, {'r', 12, 1, 12, 12}}},
        // Typing 5 in the first row box with 12 rows gives 8 rows.
        RowRuleCase{"FirstRow5Of12", {{'l', 12, 1, 12, 12}, {'f', 5, 5, 12, 8}}},
        RowRuleCase{"FirstAboveLastMovesLast", {{'l', 12, 1, 12, 12}, {'f', 20, 20, 20, 1}}},
        RowRuleCase{"LastBelowFirstMovesFirst", {{'f', 10, 10, 65535, 65526}, {'l', 4, 4, 4, 1}}},
        RowRuleCase{"RowsSetLast", {{'f', 3, 3, 65535, 65533}, {'r', 10, 3, 12, 10}}},
        RowRuleCase{"AtLeastOne", {{'f', 0, 1, 65535, 65535}, {'r', -4, 1, 1, 1}, {'l', 0, 1, 1, 1}}},
        RowRuleCase{
            "AtMost65535Rows",
            {{'r', 70000, 1, 65535, 65535}, {'f', 2, 2, 65535, 65534}, {'l', 90000, 2, 90000, 65535}}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ExporterStatusTest, RowsAndElapsedTime) {
    EXPECT_EQ(GWGExporterXL::statusText(120, 61250), QStringLiteral("Sended Rows : 120 in... 01:01.250"));
    EXPECT_EQ(GWGExporterXL::statusText(0, 7), QStringLiteral("Sended Rows : 0 in... 00:00.007"));
}

class ExporterTest : public AnnexFixture {
protected:
    // Twelve Annex I rows numbered 1 to 12, of which the odd ones have no start date.
    Dataset &annexOf12() {
        Dataset &ds = openAnnex(1);
        for (int i = 1; i <= 12; ++i) {
            appendFilled(1, QStringLiteral("NOM %1").arg(i));
            ds.setValue(QStringLiteral("IDENTIFIANTBENEFICIAIRE"),
                        QStringLiteral("%1").arg(i, 8, 10, QLatin1Char('0')));
            ds.setValue(QStringLiteral("REVENUIMPOSABLE"), 1000.125 * i);
            if (i % 2 == 0)
                ds.setValue(QStringLiteral("DATEDEBUT"), QDateTime(QDate(2018, i, 1), QTime(0, 0), Qt::UTC));
            ds.post();
        }
        ds.reopen();
        return ds;
    }
    QString path(const QString &name) const { return db.folder() + QLatin1Char('/') + name; }

    // The number format code of each cell of the first sheet, by reference ("B2" -> "@" for text).
    static QHash<QString, QString> cellFormats(const QString &file) {
        ZipPackage zip(file, [](const QString &what) { throw std::runtime_error(what.toStdString()); });
        std::vector<int> xfFormats;
        QHash<int, QString> codes{{49, QStringLiteral("@")}};
        QXmlStreamReader styles(zip.read(QStringLiteral("xl/styles.xml")));
        bool cellXfs = false;
        while (!styles.atEnd()) {
            styles.readNext();
            if (styles.isStartElement() && styles.name() == QLatin1String("numFmt"))
                codes.insert(styles.attributes().value(QLatin1String("numFmtId")).toInt(),
                             styles.attributes().value(QLatin1String("formatCode")).toString());
            else if (styles.isStartElement() && styles.name() == QLatin1String("cellXfs"))
                cellXfs = true;
            else if (cellXfs && styles.isStartElement() && styles.name() == QLatin1String("xf"))
                xfFormats.push_back(styles.attributes().value(QLatin1String("numFmtId")).toInt());
        }
        QHash<QString, QString> out;
        QXmlStreamReader sheet(zip.read(QStringLiteral("xl/worksheets/sheet1.xml")));
        while (!sheet.atEnd()) {
            sheet.readNext();
            if (sheet.isStartElement() && sheet.name() == QLatin1String("c")) {
                const int xf = sheet.attributes().value(QLatin1String("s")).toInt();
                out.insert(sheet.attributes().value(QLatin1String("r")).toString(),
                           codes.value(xf < static_cast<int>(xfFormats.size()) ? xfFormats[xf] : 0));
            }
        }
        return out;
    }
};

TEST_F(ExporterTest, WorkbookReadBackHoldsTheRowsCellByCell) {
    Dataset &ds = annexOf12();
    GWGExporterXL exporter;
    exporter.setSource(&ds);
    exporter.setLastRow(ds.rowCount());
    exporter.setRows(ds.rowCount());
    exporter.setFirstRow(5); // rows 5 to 12
    EXPECT_EQ(exporter.rows(), 8);
    exporter.saveAfterExport = true;
    exporter.saveFile = path(QStringLiteral("Export.xls"));
    std::vector<GWGExporterXL::Progress> progress;
    const QString written =
        exporter.exportRows([&](const GWGExporterXL::Progress &p) { progress.push_back(p); });

    // ".xls" is not what the writer makes: the workbook is saved as ".xlsx".
    EXPECT_EQ(written, path(QStringLiteral("Export.xlsx")));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Export.xls"))));
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back().percent, 100);
    EXPECT_EQ(progress.back().rowsSent, 8);

    XlsxReader reader(written);
    const std::vector<SheetRow> rows = reader.readAll(0);
    ASSERT_EQ(rows.size(), 9u);
    for (int f = 0; f < ds.fieldCount(); ++f)
        EXPECT_EQ(rows[0].cells.value(f).toString(), ds.fieldName(f));
    for (int r = 0; r < 8; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(rows[r + 1].number, r + 2);
        for (int f = 0; f < ds.fieldCount(); ++f) {
            const QVariant expected = ds.valueAt(4 + r, f);
            const QVariant cell = rows[r + 1].cells.value(f);
            SCOPED_TRACE(ds.fieldName(f).toStdString());
            if (expected.isNull())
                EXPECT_TRUE(cell.isNull());
            else if (ds.column(f)->isText())
                EXPECT_EQ(cell, expected.toString());
            else if (ds.column(f)->isNumeric())
                EXPECT_DOUBLE_EQ(cell.toDouble(), expected.toDouble());
            else
                EXPECT_EQ(cell.toDate(), expected.toDateTime().date());
        }
    }
    // Text columns keep "00000005" as text; amounts stay numbers.
    const QHash<QString, QString> formats = cellFormats(written);
    const int id = ds.fieldIndex(QStringLiteral("IDENTIFIANTBENEFICIAIRE"));
    const int amount = ds.fieldIndex(QStringLiteral("REVENUIMPOSABLE"));
    EXPECT_EQ(formats.value(columnLetters(id) + QStringLiteral("2")), QStringLiteral("@"));
    EXPECT_NE(formats.value(columnLetters(amount) + QStringLiteral("2")), QStringLiteral("@"));
}

TEST_F(ExporterTest, FirstRowBeyondTheSourceStartsFromRowOne) {
    Dataset &ds = annexOf12();
    GWGExporterXL exporter;
    exporter.setSource(&ds);
    exporter.setLastRow(12);
    exporter.setRows(12);
    exporter.setFirstRow(20);
    const QString written = exporter.exportRows();
    EXPECT_EQ(exporter.firstRow(), 1);
    const std::vector<SheetRow> rows = XlsxReader(written).readAll(0);
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[1].cells.value(ds.fieldIndex(QStringLiteral("NUMEROORDRE"))).toDouble(), 1.0);
    QFile::remove(written);
}

TEST_F(ExporterTest, ColumnFileAndTitlesFileChooseColumnsFormatsAndTitles) {
    Dataset &ds = annexOf12();
    testfiles::writeBytes(
        path(QStringLiteral("Export.ini")),
        "[Colonnes]\r\n; the columns sent\r\nNOMPRENOM=Texte\r\nREVENUIMPOSABLE\r\nNUMEROORDRE=Texte\r\n");
    testfiles::writeBytes(path(QStringLiteral("DATA.TXT")), "Nom et pr\xe9nom\tRevenu\r\nignored\tline\r\n");
    GWGExporterXL exporter;
    exporter.setSource(&ds);
    exporter.setLastRow(2);
    exporter.columnFile = path(QStringLiteral("Export.ini"));
    exporter.titlesFile = path(QStringLiteral("DATA.TXT"));
    const QString written = exporter.exportRows();
    const std::vector<SheetRow> rows = XlsxReader(written).readAll(0);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].cells, (QVariantList{QStringLiteral("Nom et prénom"), QStringLiteral("Revenu"),
                                           QStringLiteral("NUMEROORDRE")}));
    EXPECT_EQ(rows[2].cells, (QVariantList{ds.valueAt(1, QStringLiteral("NOMPRENOM")).toString(), 2000.25,
                                           QStringLiteral("2")}));
    EXPECT_EQ(cellFormats(written).value(QStringLiteral("C2")), QStringLiteral("@"));
    QFile::remove(written);

    // Missing files are ignored; a column file naming an unknown field fails, leaving the old workbook.
    exporter.columnFile = path(QStringLiteral("absent.ini"));
    exporter.titlesFile = path(QStringLiteral("absent.txt"));
    exporter.saveAfterExport = true;
    exporter.saveFile = path(QStringLiteral("Export.xlsx"));
    EXPECT_EQ(XlsxReader(exporter.exportRows()).readAll(0).at(0).cells.size(), ds.fieldCount());
    const QByteArray before = testfiles::readBytes(exporter.saveFile);
    testfiles::writeBytes(path(QStringLiteral("Export.ini")), "NOMPRENOM\nNOMCHAMP=Texte\n");
    exporter.columnFile = path(QStringLiteral("Export.ini"));
    try {
        exporter.exportRows();
        ADD_FAILURE() << "no error";
    } catch (const ExportError &e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("Fichier de colonnes « Export.ini », ligne 2 : le champ « NOMCHAMP » "
                                 "n'existe pas."));
    }
    EXPECT_EQ(testfiles::readBytes(exporter.saveFile), before);
}

TEST_F(ExporterTest, FailuresAreErrorsForTheWindow) {
    GWGExporterXL exporter;
    EXPECT_THROW(exporter.exportRows(), ExportError); // no source
    Dataset &ds = annexOf12();
    exporter.setSource(&ds);
    exporter.saveAfterExport = true;
    EXPECT_THROW(exporter.exportRows(), ExportError); // no save file
    exporter.saveFile = path(QStringLiteral("absent/dossier/Export.xlsx"));
    EXPECT_THROW(exporter.exportRows(), ExportError);
    EXPECT_FALSE(QFile::exists(exporter.saveFile));
}

} // namespace
