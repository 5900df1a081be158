#include "tests/annexes/AnnexFixture.h"

#include "data/DbError.h"

namespace {

class AnnexRulesTest : public AnnexFixture {};

// Every column of the tables exists in the schema, the required ones are those the schema refuses empty,
// and every column of an annex table has its row in the table of its annex.
TEST_F(AnnexRulesTest, DefinitionsMatchTheSchema) {
    for (const AnnexDefinition &a : annexDefinitions()) {
        auto query = dm.newQuery(QStringLiteral("schema"));
        query->setSql(QStringLiteral("select * from %1 where 1 = 0").arg(QLatin1String(a.table)));
        query->open();
        QStringList undefined;
        for (int f = 0; f < query->fieldCount(); ++f)
            if (!a.find(query->fieldName(f)))
                undefined << query->fieldName(f);
        EXPECT_TRUE(undefined.isEmpty()) << a.table << ": " << undefined.join(QLatin1Char(' ')).toStdString();
        for (const AnnexColumn &c : a.columns) {
            const int f = query->fieldIndex(QLatin1String(c.column));
            ASSERT_GE(f, 0) << a.table << "." << c.column;
            EXPECT_EQ(!query->column(f)->nullable, bool(c.flags & Required)) << a.table << "." << c.column;
        }
    }
}

// A new row starts with the zeros of its annex; a save completes every empty amount of the completion
// list; Annex I's identifier type starts and completes as "2".
TEST_F(AnnexRulesTest, StartingValuesAndCompletionOfEveryAnnex) {
    for (const AnnexDefinition &a : annexDefinitions()) {
        Dataset &ds = openAnnex(a.number);
        appendFilled(a.number);
        for (const AnnexColumn &c : a.columns) {
            const QVariant v = ds.value(QLatin1String(c.column));
            if (c.flags & (StartZero | StartAlways)) {
                EXPECT_EQ(v.toString(), QString::fromUtf8(c.emptyText ? c.emptyText : "0"))
                    << a.table << "." << c.column;
            } else if (!(c.flags & (Required | Heading))) {
                EXPECT_TRUE(v.isNull()) << a.table << "." << c.column;
            }
        }
        // Emptied again before the save: the completion fills them.
        for (const AnnexColumn &c : a.columns)
            if (c.flags & Complete)
                ds.setValue(QLatin1String(c.column), QVariant());
        ds.post();
        for (const AnnexColumn &c : a.columns)
            if (c.flags & Complete) {
                const QVariant stored = scalar(
                    QStringLiteral("select %1 from %2").arg(QLatin1String(c.column), QLatin1String(a.table)));
                EXPECT_EQ(stored.toString(), QString::fromUtf8(c.emptyText ? c.emptyText : "0"))
                    << a.table << "." << c.column;
            }
    }
}

// Padding turns an empty required text into blanks, which must not pass for a name.
TEST_F(AnnexRulesTest, RequiredTextOfBlanksIsRefused) {
    Dataset &ds = openAnnex(1);
    appendFilled(1);
    ds.setValue(QStringLiteral("NOMPRENOM"), QString(40, QLatin1Char(' ')));
    try {
        ds.post();
        FAIL() << "saved a blank name";
    } catch (const DbError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Le champ 'NOMPRENOM' doit avoir une valeur."));
    }
    EXPECT_EQ(ds.state(), Dataset::State::Insert);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from ANNEXEI")).toInt(), 0);
}

} // namespace
