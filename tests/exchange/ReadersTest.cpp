#include "data/RecordLayout.h"
#include "exchange/DatasetImport.h"
#include "exchange/ImportSpecification.h"
#include "exchange/SpreadsheetReader.h"
#include "tests/exchange/SpreadsheetFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QVariant s(const char *text) {
    return QString::fromUtf8(text);
}

// The same sheet written in every format: texts with accents and quotes, numbers, a date, an empty cell
// inside a row, an empty row (row 3) and a value far to the right (column AB).
testfiles::Rows sampleRows() {
    QVariantList wide(28);
    wide[27] = 7.0;
    return {{s("Nom"), s("Montant"), s("Date")},
            {s("Hédi \"le grand\""), 1234.5, QDate(2018, 12, 31)},
            {},
            {s("Amel; Sfax"), QVariant(), QDate(2019, 1, 2)},
            wide};
}

struct FormatCase {
    const char *suffix;
};

class ReaderFormatTest : public ::testing::TestWithParam<FormatCase> {
protected:
    QTemporaryDir dir;
    QString write() {
        const QString suffix = QLatin1String(GetParam().suffix);
        const QString path = dir.filePath(QStringLiteral("classeur.") + suffix);
        const std::vector<testfiles::Sheet> sheets = {{QStringLiteral("Données"), sampleRows()},
                                                      {QStringLiteral("Vide"), {{s("x")}}}};
        if (suffix == QLatin1String("xlsx"))
            testfiles::writeXlsx(path, sheets);
        else if (suffix == QLatin1String("ods"))
            testfiles::writeOds(path, sheets);
        else
            testfiles::writeBytes(
                path, testfiles::delimitedText(sampleRows(), suffix == QLatin1String("txt") ? '\t' : ';'));
        return path;
    }
    bool text() const {
        return QLatin1String(GetParam().suffix) == QLatin1String("csv") ||
               QLatin1String(GetParam().suffix) == QLatin1String("txt");
    }
};

TEST_P(ReaderFormatTest, ReadsSheetsRowsAndCells) {
    const auto reader = openSpreadsheet(write());
    const QStringList sheets = text() ? QStringList{QStringLiteral("classeur")}
                                      : QStringList{QStringLiteral("Données"), QStringLiteral("Vide")};
    EXPECT_EQ(reader->sheets(), sheets);
    const std::vector<SheetRow> rows = reader->readAll(0);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].number, 1);
    EXPECT_EQ(rows[1].number, 2);
    EXPECT_EQ(rows[2].number, 4); // the empty row is passed over, its number kept
    EXPECT_EQ(rows[3].number, 5);
    EXPECT_EQ(rows[1].cells.value(0).toString(), QStringLiteral("Hédi \"le grand\""));
    EXPECT_EQ(rows[2].cells.value(0).toString(), QStringLiteral("Amel; Sfax"));
    EXPECT_TRUE(rows[2].cells.value(1).isNull());
    EXPECT_EQ(rows[3].cells.size(), 28);
    if (text()) { // text files hold texts; the import reads them with the preset formats
        EXPECT_EQ(rows[1].cells.value(1).toString(), QStringLiteral("1234.5"));
        EXPECT_EQ(rows[1].cells.value(2).toString(), QStringLiteral("31/12/2018"));
    } else {
        EXPECT_EQ(rows[1].cells.value(1).typeId(), QMetaType::Double);
        EXPECT_DOUBLE_EQ(rows[1].cells.value(1).toDouble(), 1234.5);
        EXPECT_EQ(rows[1].cells.value(2).toDate(), QDate(2018, 12, 31));
        EXPECT_DOUBLE_EQ(rows[3].cells.value(27).toDouble(), 7.0);
        EXPECT_EQ(reader->readAll(1).at(0).cells.value(0).toString(), QStringLiteral("x"));
    }
    EXPECT_EQ(reader->preview(0, 2).size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Formats, ReaderFormatTest,
                         ::testing::Values(FormatCase{"xlsx"}, FormatCase{"ods"}, FormatCase{"csv"},
                                           FormatCase{"txt"}),
                         [](const auto &info) { return std::string(info.param.suffix); });

TEST(XlsReaderTest, ReadsTheCheckedInWorkbook) {
    const auto reader = openSpreadsheet(QStringLiteral(EXCHANGE_FIXTURES "/annexes.xls"));
    EXPECT_EQ(reader->sheets(), (QStringList{QStringLiteral("Annexe I"), QStringLiteral("Tiers")}));
    const std::vector<SheetRow> rows = reader->readAll(0);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].cells.value(11).toString(), QStringLiteral("Date début"));
    EXPECT_EQ(rows[1].cells.value(5).toString(), QStringLiteral("Hédi Ben Salah"));
    EXPECT_DOUBLE_EQ(rows[1].cells.value(20).toDouble(), 10700.25);
    EXPECT_EQ(rows[3].cells.value(11).toDate(), QDate(2018, 7, 1));
}

TEST(CsvReaderTest, QuotedFieldsSeparatorsAndLineEnds) {
    QTemporaryDir dir;
    struct Case {
        const char *name;
        QByteArray bytes;
        char delimiter;
        QList<QStringList> expected;
    };
    const Case cases[] = {
        {"semicolons", "a;\"b;c\";\"d\"\"e\"\r\n1;2;3\r\n", ';', {{"a", "b;c", "d\"e"}, {"1", "2", "3"}}},
        {"commas", "a,\"b,c\"\n1,2\n", ',', {{"a", "b,c"}, {"1", "2"}}},
        {"quoted line break", "a;\"deux\r\nlignes\"\r\nz\r\n", ';', {{"a", "deux\r\nlignes"}, {"z"}}},
        {"windows-1252", "caf\xe9;\xe9t\xe9\r\n", ';', {{"café", "été"}}},
        {"utf-8 with BOM",
         "\xEF\xBB\xBF"
         "caf\xc3\xa9;x\n",
         ';',
         {{"café", "x"}}},
        {"tabs keep inner blanks", "a b\t1 234.5\r\n", '\t', {{"a b", "1 234.5"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path =
            dir.filePath(c.delimiter == '\t' ? QStringLiteral("t.txt") : QStringLiteral("t.csv"));
        testfiles::writeBytes(path, c.bytes);
        const auto reader = openSpreadsheet(path);
        const std::vector<SheetRow> rows = reader->readAll(0);
        ASSERT_EQ(rows.size(), static_cast<std::size_t>(c.expected.size()));
        for (std::size_t r = 0; r < rows.size(); ++r) {
            QStringList cells;
            for (const QVariant &v : rows[r].cells)
                cells.append(v.toString());
            EXPECT_EQ(cells, c.expected[static_cast<qsizetype>(r)]);
        }
    }
}

// Damaged files: a French message naming the file and the place, never a crash.
TEST(MalformedFileTest, ClearMessageNamingFileAndPlace) {
    QTemporaryDir dir;
    const QString xlsx = dir.filePath(QStringLiteral("bon.xlsx"));
    testfiles::writeXlsx(xlsx, {{QStringLiteral("Feuil1"), sampleRows()}});
    const QByteArray good = testfiles::readBytes(xlsx);
    const QByteArray workbook =
        "<workbook xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
        "<sheets><sheet name=\"F\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
    const QByteArray rels =
        "<Relationships><Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/></Relationships>";
    auto xlsxWith = [&](const QString &name, const QByteArray &sheet) {
        const QString path = dir.filePath(name);
        testfiles::writeZip(path, {{QStringLiteral("xl/workbook.xml"), workbook},
                                   {QStringLiteral("xl/_rels/workbook.xml.rels"), rels},
                                   {QStringLiteral("xl/worksheets/sheet1.xml"), sheet}});
        return path;
    };
    auto bytes = [&](const QString &name, const QByteArray &content) {
        const QString path = dir.filePath(name);
        testfiles::writeBytes(path, content);
        return path;
    };
    const QByteArray xls = testfiles::readBytes(QStringLiteral(EXCHANGE_FIXTURES "/annexes.xls"));
    struct Case {
        QString path;
        QStringList expected; // parts of the message
    };
    const Case cases[] = {
        {bytes(QStringLiteral("tronque.xlsx"), good.left(good.size() / 2)), {"tronque.xlsx", "archive zip"}},
        {xlsxWith(QStringLiteral("xml.xlsx"),
                  "<worksheet><sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></row>"),
         {"xml.xlsx", "xl/worksheets/sheet1.xml", "ligne 1", "XML invalide"}},
        {xlsxWith(QStringLiteral("ref.xlsx"),
                  "<worksheet><sheetData><row r=\"2\"><c r=\"A9\"><v>1</v></c></row>"
                  "</sheetData></worksheet>"),
         {"ref.xlsx", "ligne 2", "référence de cellule invalide « A9 »"}},
        {xlsxWith(QStringLiteral("nombre.xlsx"),
                  "<worksheet><sheetData><row r=\"1\"><c r=\"B1\"><v>1,5</v></c></row>"
                  "</sheetData></worksheet>"),
         {"nombre.xlsx", "cellule B1", "nombre illisible"}},
        {bytes(QStringLiteral("sansfeuille.xlsx"), QByteArray()), {"sansfeuille.xlsx"}},
        {bytes(QStringLiteral("guillemets.csv"), "a;b\r\nc;\"d\"x;e\r\n"),
         {"guillemets.csv", "ligne 2", "guillemet"}},
        {bytes(QStringLiteral("ouvert.csv"), "a;b\r\nc;\"d;e\r\nf\r\n"),
         {"ouvert.csv", "ligne 2", "jamais refermé"}},
        {bytes(QStringLiteral("tronque.xls"), xls.left(1500)), {"tronque.xls"}},
        {bytes(QStringLiteral("texte.xls"), "Ceci n'est pas un classeur"), {"texte.xls", "Excel 97-2003"}},
        {bytes(QStringLiteral("image.png"), "\x89PNG"), {"image.png", "format inconnu"}},
        {dir.filePath(QStringLiteral("absent.xlsx")), {"absent.xlsx", "introuvable"}},
    };
    QString ods = dir.filePath(QStringLiteral("casse.ods"));
    testfiles::writeZip(
        ods, {{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet"},
              {QStringLiteral("content.xml"), "<office:document-content xmlns:office=\"o\"><a></b>"}});
    std::vector<Case> all(std::begin(cases), std::end(cases));
    all.push_back({ods, {"casse.ods", "content.xml", "ligne 1", "XML invalide"}});
    for (const Case &c : all) {
        SCOPED_TRACE(c.path.toStdString());
        try {
            const auto reader = openSpreadsheet(c.path);
            for (int sheet = 0; sheet < reader->sheets().size(); ++sheet)
                reader->readAll(sheet);
            ADD_FAILURE() << "no error";
        } catch (const SpreadsheetError &e) {
            for (const QString &part : c.expected)
                EXPECT_TRUE(e.message().contains(part))
                    << e.message().toStdString() << " / " << part.toStdString();
        }
    }
}

ColumnInfo columnOf(short type, short scale = 0, short length = 0) {
    ColumnInfo c;
    c.name = QStringLiteral("CHAMP");
    c.sqlType = type;
    c.sqlScale = scale;
    c.sqlLen = length;
    return c;
}

TEST(ConvertCellTest, PresetFormatsAndColumnTypes) {
    const ColumnInfo text = columnOf(SQL_VARYING, 0, 40), integer = columnOf(SQL_LONG),
                     amount = columnOf(SQL_DOUBLE), days = columnOf(SQL_LONG, -2),
                     date = columnOf(SQL_TIMESTAMP);
    const QDateTime dec31(QDate(2018, 12, 31), QTime(0, 0), Qt::UTC);
    struct Case {
        QVariant cell;
        const ColumnInfo *column;
        QVariant expected; // invalid: an error whose reason holds `error`
        const char *error = nullptr;
    };
    const Case cases[] = {
        {QVariant(), &amount, QVariant()},
        {s(""), &text, QVariant()},
        {2018.0, &text, s("2018")},
        {1234.5, &text, s("1234.5")},
        {QDate(2018, 12, 31), &text, s("31/12/2018")},
        {s("1 234 567.125"), &amount, 1234567.125},
        {s("1\u00a0234.5"), &amount, 1234.5},
        {s("-12"), &amount, -12.0},
        {s(" .5 "), &amount, 0.5},
        {s("12,5"),
         &amount,
         {},
         "« 12,5 » n'est pas un nombre (séparateur décimal « . », séparateur des milliers espace)"},
        {s("1e3"), &amount, {}, "n'est pas un nombre"},
        {s("abc"), &amount, {}, "n'est pas un nombre"},
        {QDate(2018, 1, 1), &amount, {}, "n'est pas un nombre"},
        {s("42"), &integer, 42LL},
        {42.0, &integer, 42LL},
        {s("4.5"), &integer, {}, "n'est pas un nombre entier"},
        {1e12, &integer, {}, "trop grand"},
        {s("312.5"), &days, 312.5},
        {s("31/12/2018"), &date, dec31},
        {s("1/2/2019"), &date, QDateTime(QDate(2019, 2, 1), QTime(0, 0), Qt::UTC)},
        {s("31/12/2018 10:30"), &date, QDateTime(QDate(2018, 12, 31), QTime(10, 30), Qt::UTC)},
        {43465.0, &date, dec31}, // a spreadsheet day number
        {QDate(2018, 12, 31), &date, dec31},
        {s("2018-12-31"), &date, {}, "n'est pas une date au format jj/mm/aaaa"},
        {s("31/12/18"), &date, {}, "n'est pas une date au format jj/mm/aaaa"},
        {s("30/02/2018"), &date, {}, "« 30/02/2018 » n'est pas une date valide"},
        {-3.0, &date, {}, "n'est pas une date"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(cellText(c.cell).toStdString());
        if (c.error) {
            try {
                convertCell(c.cell, *c.column, ValueFormats());
                ADD_FAILURE() << "no error";
            } catch (const ConversionError &e) {
                EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.error))) << e.message().toStdString();
            }
        } else {
            const QVariant v = convertCell(c.cell, *c.column, ValueFormats());
            EXPECT_EQ(v, c.expected) << cellText(v).toStdString();
            EXPECT_EQ(v.typeId(), c.expected.typeId());
        }
    }
}

TEST(ImportSpecificationTest, SavedAndLoadedUnchanged) {
    QTemporaryDir dir;
    ImportSpecification spec;
    spec.file = QStringLiteral("/données/annexe1.csv");
    spec.format = SpreadsheetFormat::Csv;
    spec.delimiter = ';';
    spec.sheet = 1;
    spec.sheetName = QStringLiteral("Feuille 2");
    spec.firstRow = 3;
    spec.lastRow = 90;
    spec.mappings =
        ImportSpecification::parseMappings(QStringLiteral("CODE A, NOMBENEFICIAIRE  AB ,ADRESSE c"));
    spec.formats.thousandsSeparator = QLatin1Char('\'');
    const QString path = dir.filePath(QStringLiteral("SMImport.SMI"));
    spec.save(path);
    EXPECT_EQ(ImportSpecification::load(path), spec);
    EXPECT_EQ(spec.mappingText(), QStringLiteral("CODE A, NOMBENEFICIAIRE AB, ADRESSE C"));

    testfiles::writeBytes(path, "{\"firstRow\": 0}");
    EXPECT_THROW(ImportSpecification::load(path), DbError);
    testfiles::writeBytes(path, "{pas du json");
    try {
        ImportSpecification::load(path);
        ADD_FAILURE();
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Spécification d'importation « SMImport.SMI » :")));
    }
    EXPECT_THROW(ImportSpecification::parseMappings(QStringLiteral("CODE 12")), DbError);
}

} // namespace
