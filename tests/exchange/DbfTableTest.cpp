#include "exchange/DbfTable.h"
#include "exchange/GWGExporterXL.h"
#include "exchange/XlsxReader.h"
#include "tests/exchange/SpreadsheetFiles.h"

#include <QDate>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct DbfField {
    const char *name;
    char type;
    int length;
    int decimals = 0;
};

// A dBase III table as its bytes: the header, the field descriptors, then each record (its deletion flag
// first) with its values as given, padded with blanks to their field's length (numbers on the left).
QByteArray dbfBytes(const std::vector<DbfField> &fields,
                    const std::vector<std::pair<char, QByteArrayList>> &records) {
    auto le = [](QByteArray &out, quint32 v, int size) {
        for (int i = 0; i < size; ++i)
            out.append(static_cast<char>(v >> (8 * i) & 0xFF));
    };
    int recordLength = 1;
    for (const DbfField &f : fields)
        recordLength += f.length;
    const auto headerLength = static_cast<quint32>(32 + 32 * fields.size() + 1);
    QByteArray out;
    out.append('\x03').append("\x76\x0C\x1F", 3); // dBase III, updated 31/12/2018
    le(out, static_cast<quint32>(records.size()), 4);
    le(out, headerLength, 2);
    le(out, static_cast<quint32>(recordLength), 2);
    out.append(QByteArray(20, '\0'));
    for (const DbfField &f : fields) {
        QByteArray descriptor(32, '\0');
        descriptor.replace(0, static_cast<qsizetype>(qstrlen(f.name)), f.name);
        descriptor[11] = f.type;
        descriptor[16] = static_cast<char>(f.length);
        descriptor[17] = static_cast<char>(f.decimals);
        out.append(descriptor);
    }
    out.append('\x0D');
    for (const auto &[flag, values] : records) {
        out.append(flag);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const QByteArray v = values.value(static_cast<qsizetype>(i));
            const bool number = fields[i].type == 'N' || fields[i].type == 'F';
            out.append(number ? v.rightJustified(fields[i].length, ' ', true)
                              : v.leftJustified(fields[i].length, ' ', true));
        }
    }
    out.append('\x1A');
    return out;
}

const std::vector<DbfField> kFields = {
    {"NOM", 'C', 12},   {"MONTANT", 'N', 10, 3}, {"TAUX", 'F', 6, 2},
    {"DATEOP", 'D', 8}, {"PAYE", 'L', 1},        {"REMARQUE", 'M', 10},
};

// Three records, the second deleted; blanks and the unknown logical are nulls, values that do not read
// as their type keep their text.
QByteArray sampleTable() {
    return dbfBytes(kFields, {
                                 {' ',
                                  {"  H\xe9"
                                   "di ",
                                   "1234.500", "1.5", "20181231", "T", "7"}},
                                 {'*', {"EFFACE", "1", "1", "20180101", "F", ""}},
                                 {' ', {"", "", "x", "", "n", ""}},
                                 {' ', {"AMEL", "**********", "", "2018AB01", "?", ""}},
                             });
}

class DbfTableTest : public ::testing::Test {
protected:
    QString write(const QString &name, const QByteArray &bytes) {
        const QString path = dir.filePath(name);
        testfiles::writeBytes(path, bytes);
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(DbfTableTest, ReadsEveryFieldTypeSkippingDeletedRecords) {
    const DbfTable table(write(QStringLiteral("TABLE.DBF"), sampleTable()));
    ASSERT_EQ(table.fieldCount(), 6);
    EXPECT_EQ(table.fieldName(3), QStringLiteral("DATEOP"));
    using T = ExportSource::FieldType;
    const std::vector<T> types = {T::Text, T::Number, T::Number, T::Date, T::Other, T::Text};
    for (int f = 0; f < 6; ++f)
        EXPECT_EQ(table.fieldType(f), types[static_cast<std::size_t>(f)]) << f;
    EXPECT_EQ(table.fieldIndex(QStringLiteral("montant")), 1);

    const std::vector<QVariantList> expected = {
        {QStringLiteral("  Hédi"), 1234.5, 1.5, QDate(2018, 12, 31), true, QStringLiteral("7")},
        {QVariant(), QVariant(), QStringLiteral("x"), QVariant(), false, QVariant()},
        {QStringLiteral("AMEL"), QStringLiteral("**********"), QVariant(), QStringLiteral("2018AB01"),
         QVariant(), QVariant()},
    };
    ASSERT_EQ(table.rowCount(), 3);
    for (int r = 0; r < 3; ++r)
        for (int f = 0; f < 6; ++f) {
            SCOPED_TRACE(testing::Message() << "row " << r << ", field " << f);
            const QVariant &want = expected[static_cast<std::size_t>(r)][f];
            const QVariant got = table.value(r, f);
            EXPECT_EQ(got.isNull(), want.isNull());
            if (!want.isNull()) {
                EXPECT_EQ(got, want) << got.toString().toStdString();
            }
        }
}

TEST_F(DbfTableTest, ExportedRowsReadBackCellByCell) {
    auto table = std::make_shared<DbfTable>(write(QStringLiteral("TABLE.DBF"), sampleTable()));
    GWGExporterXL exporter;
    exporter.setSource(table);
    EXPECT_EQ(exporter.source(), nullptr); // not a dataset
    exporter.saveAfterExport = true;
    exporter.saveFile = dir.filePath(QStringLiteral("table.xlsx"));
    const std::vector<SheetRow> rows = XlsxReader(exporter.exportRows()).readAll(0);
    const std::vector<QVariantList> expected = {
        {QStringLiteral("NOM"), QStringLiteral("MONTANT"), QStringLiteral("TAUX"), QStringLiteral("DATEOP"),
         QStringLiteral("PAYE"), QStringLiteral("REMARQUE")},
        {QStringLiteral("  Hédi"), 1234.5, 1.5, QDate(2018, 12, 31), QStringLiteral("Oui"),
         QStringLiteral("7")},
        {QVariant(), QVariant(), QStringLiteral("x"), QVariant(), QStringLiteral("Non")},
        {QStringLiteral("AMEL"), QStringLiteral("**********"), QVariant(), QStringLiteral("2018AB01")},
    };
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (int c = 0; c < 6; ++c) {
            SCOPED_TRACE(testing::Message() << "row " << r << ", column " << c);
            const QVariant want = expected[r].value(c);
            const QVariant got = rows[r].cells.value(c);
            EXPECT_EQ(got.isNull(), want.isNull()) << got.toString().toStdString();
            if (!want.isNull()) {
                EXPECT_EQ(got, want) << got.toString().toStdString();
            }
        }
}

struct DamagedCase {
    const char *name;
    const char *file;
    std::function<QByteArray(QByteArray)> damage;
    const char *fault; // part of the message, after the file name
};

void PrintTo(const DamagedCase &c, std::ostream *os) {
    *os << c.name;
}

class DbfDamagedTest : public DbfTableTest, public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(DbfDamagedTest, IsRefusedWithAMessageNamingTheFile) {
    const DamagedCase &c = GetParam();
    const QString path = write(QString::fromLatin1(c.file), c.damage(sampleTable()));
    try {
        DbfTable table(path);
        ADD_FAILURE() << "read without an error";
    } catch (const SpreadsheetError &e) {
        EXPECT_TRUE(
            e.message().startsWith(QStringLiteral("Fichier « %1 » : ").arg(QString::fromLatin1(c.file))))
            << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.fault))) << e.message().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, DbfDamagedTest,
    ::testing::Values(
        DamagedCase{"TooShort", "T.DBF", [](QByteArray b) { return b.left(20); }, "trop court"},
        DamagedCase{"TruncatedRecords", "T.DBF", [](QByteArray b) { return b.left(b.size() - 10); },
                    "tronqué : 4 enregistrement(s) de 48 octets"},
        DamagedCase{"Garbage", "T.DBF",
                    [](QByteArray) {
                        return QByteArray(
                            "PK\x03\x04 not a table at all: a zip, or so it says, of some forty bytes");
                    },
                    "ce n'est pas une table dBase"},
        DamagedCase{"HeaderLongerThanTheFile", "T.DBF",
                    [](QByteArray b) { return b.replace(8, 2, "\xFF\xFF"); }, "en-tête endommagé"},
        DamagedCase{"FieldsNotEnded", "T.DBF", [](QByteArray b) { return b.replace(32 + 32 * 6, 1, " "); },
                    "n'est pas terminée"},
        DamagedCase{"FieldsLongerThanTheRecord", "T.DBF",
                    [](QByteArray b) { return b.replace(10, 2, QByteArray("\x05\x00", 2)); },
                    "plus que l'enregistrement"},
        DamagedCase{
            "ParadoxTable", "T.DB", [](QByteArray b) { return b; },
            "les tables Paradox (.DB) ne peuvent pas être lues : enregistrez la table au format dBase "
            "(.DBF)."}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(DbfTableTest, AMissingFileIsAnError) {
    EXPECT_THROW(DbfTable(dir.filePath(QStringLiteral("ABSENT.DBF"))), SpreadsheetError);
}

} // namespace
