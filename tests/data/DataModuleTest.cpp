#include "data/DbError.h"
#include "tests/support/DataModuleFixture.h"

#include <QDate>
#include <QDateTime>
#include <QProcess>

using DataModuleTest = DataModuleFixture;

namespace {

// A minimal annex row, enough for its required columns.
void fillAnnexRow(Dataset &ds, int annex) {
    const bool first = annex == 1;
    ds.setValue(QLatin1String(first ? "CODESOCIETE" : "IDENTIFIANT"), QStringLiteral("1234567AM000"));
    ds.setValue(QStringLiteral("EXERCICE"), QStringLiteral("2018"));
    for (int i = 0; i < ds.fieldCount(); ++i) {
        const ColumnInfo *c = ds.column(i);
        if (!c || c->nullable || !ds.value(c->name).isNull())
            continue;
        ds.setValue(c->name, c->isText() ? QVariant(QStringLiteral("1")) : QVariant(0));
    }
}

} // namespace

TEST_F(DataModuleTest, AnnexRowsAreNumberedWithinTheActiveCompanyAndYear) {
    for (const AnnexTable &a : kAnnexTables) {
        SCOPED_TRACE(a.table);
        Dataset &ds = dm.annex(a.number);
        ds.setParam(QStringLiteral("code"), dm.activeCompany.code);
        ds.setParam(QStringLiteral("exercice"), dm.activeCompany.exercice);
        ds.open();
        ds.append();
        EXPECT_EQ(ds.value(QStringLiteral("NUMEROORDRE")).toInt(), 1);
        fillAnnexRow(ds, a.number);
        ds.setValue(QStringLiteral("NUMEROORDRE"), 7); // the user may overwrite it
        ds.post();
        ds.append();
        EXPECT_EQ(ds.value(QStringLiteral("NUMEROORDRE")).toInt(), 8);
        fillAnnexRow(ds, a.number);
        ds.post();
        ds.remove(); // the highest number is freed
        ds.append();
        EXPECT_EQ(ds.value(QStringLiteral("NUMEROORDRE")).toInt(), 8);
        ds.cancel();

        // Rows of another company or of another year never count.
        const QString company = dm.activeCompany.code;
        dm.activeCompany.code = QStringLiteral("7654321BM000");
        ds.append();
        EXPECT_EQ(ds.value(QStringLiteral("NUMEROORDRE")).toInt(), 1);
        ds.cancel();
        dm.activeCompany.code = company;
        dm.activeCompany.exercice = QStringLiteral("2019");
        ds.append();
        EXPECT_EQ(ds.value(QStringLiteral("NUMEROORDRE")).toInt(), 1);
        ds.cancel();
        dm.activeCompany.exercice = QStringLiteral("2018");
        ds.close();
    }
}

TEST_F(DataModuleTest, HeadersAreNumberedWithinTheJournalsCompanyAndYear) {
    exec(QStringLiteral("insert into RTENUEALASOURCERECAP (CODESOCIETE, EXERCICE, NUMERO, CODE) values "
                        "('1234567AM000', '2018', 4, 1)"));
    exec(QStringLiteral("insert into RTENUEALASOURCERECAP (CODESOCIETE, EXERCICE, NUMERO, CODE) values "
                        "('1234567AM000', '2017', 9, 1)"));
    dm.journalCode = QStringLiteral("1234567AM000");
    dm.journalExercice = QStringLiteral("2018");
    Dataset &ds = dm.iretenuerecap;
    ds.setParam(QStringLiteral("code"), dm.journalCode);
    ds.setParam(QStringLiteral("exercice"), dm.journalExercice);
    ds.open();
    ds.append();
    EXPECT_EQ(ds.value(QStringLiteral("NUMERO")).toInt(), 5);
    EXPECT_EQ(ds.value(QStringLiteral("DATERETENUE")).toDateTime().date(), QDate::currentDate());
    ds.cancel();
}

TEST_F(DataModuleTest, ClientWithholdingsAndRebatesAreNumberedOverTheWholeTable) {
    exec(QStringLiteral("insert into RETENUECLIENT (NUMERO, CODE, CODESOCIETE, EXERCICE) values "
                        "(41, 1, '9999999ZZ999', '2015')"));
    exec(QStringLiteral("insert into RISTOURNE (NUMERO, CODE, CODESOCIETE, EXERCICE) values "
                        "(12, 1, '9999999ZZ999', '2016')"));
    for (Dataset *ds : {&dm.iretenueclient, &dm.IRISTOURNE}) {
        ds->setParam(QStringLiteral("code"), dm.activeCompany.code);
        ds->setParam(QStringLiteral("exercice"), dm.activeCompany.exercice);
        ds->open();
        EXPECT_TRUE(ds->isEmpty());
        ds->append();
    }
    EXPECT_EQ(dm.iretenueclient.value(QStringLiteral("NUMERO")).toInt(), 42);
    EXPECT_EQ(dm.IRISTOURNE.value(QStringLiteral("NUMERO")).toInt(), 13);
}

TEST_F(DataModuleTest, StartingValuesOfNewRows) {
    struct Case {
        Dataset *ds;
        std::vector<const char *> zero;
        std::vector<const char *> empty;
    } cases[] = {
        {&dm.ityperetenue, {"TAUX"}, {"DESIGNATION"}},
        {&dm.iretenueclient, {"TAUX", "MONTANTBRUT", "MONTANTRETENUE"}, {"TYPERETENUE"}},
        {&dm.iretenuepersonnel,
         {"REVENUIMPOSABLE", "AVANTAGENATURE", "REVENUREINVESTI", "RETENUE", "RETENUE20",
          "CONTRIBUTIONSOCIALE"},
         {"REDEVANCECOMPENSATION"}},
        {&dm.IRISTOURNE, {"MONTANTRISTOURNE", "VENTEPERSONNEPHYSIQUE", "AVANCEIMPOTPP"}, {"MONTANTESPECE"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.ds->name().toStdString());
        c.ds->open();
        c.ds->append();
        for (const char *f : c.zero) {
            EXPECT_FALSE(c.ds->isNull(QLatin1String(f))) << f;
            EXPECT_EQ(c.ds->number(QLatin1String(f)), 0.0) << f;
        }
        for (const char *f : c.empty)
            EXPECT_TRUE(c.ds->isNull(QLatin1String(f))) << f;
        c.ds->cancel();
    }
}

TEST_F(DataModuleTest, WithholdingLineTakesItsHeaderAndComputesTheWithheldAmount) {
    dm.journalCode = dm.activeCompany.code;
    dm.journalExercice = dm.activeCompany.exercice;
    Dataset &header = dm.iretenuerecap;
    header.setParam(QStringLiteral("code"), dm.journalCode);
    header.setParam(QStringLiteral("exercice"), dm.journalExercice);
    header.open();
    header.append();
    header.setValue(QStringLiteral("CODESOCIETE"), dm.journalCode);
    header.setValue(QStringLiteral("EXERCICE"), dm.journalExercice);
    header.setValue(QStringLiteral("CODE"), 17);
    header.setValue(QStringLiteral("DATEDECLARATION"), QDate(2018, 3, 31));
    header.setValue(QStringLiteral("MONTANTBRUT"), 1000.0);
    header.setValue(QStringLiteral("MONTANTRETENUE"), 15.0);
    header.post();
    EXPECT_DOUBLE_EQ(header.number(QStringLiteral("MONTANTNET")), 985.0);

    Dataset &line = dm.iretenuequotidien;
    line.setParam(QStringLiteral("code"), dm.journalCode);
    line.setParam(QStringLiteral("exercice"), dm.journalExercice);
    line.setParam(QStringLiteral("numero"), header.value(QStringLiteral("NUMERO")));
    line.open();
    line.append();
    EXPECT_EQ(line.text(QStringLiteral("CODESOCIETE")), dm.journalCode);
    EXPECT_EQ(line.value(QStringLiteral("NUMERO")).toInt(), 1);
    EXPECT_EQ(line.value(QStringLiteral("CODE")).toInt(), 17);
    EXPECT_EQ(line.value(QStringLiteral("DATEDECLARATION")).toDateTime().date(), QDate(2018, 3, 31));
    line.setValue(QStringLiteral("TYPERETENUE"), 4);
    line.setValue(QStringLiteral("MONTANTBRUT"), 1000.0);
    line.setValue(QStringLiteral("TAUX"), 1.5);
    line.setValue(QStringLiteral("MONTANTRETENUE"), 99.0); // recomputed whatever is typed
    line.post();
    EXPECT_DOUBLE_EQ(scalar(QStringLiteral("select montantretenue from rtenuealasource")).toDouble(), 15.0);
    EXPECT_DOUBLE_EQ(line.number(QStringLiteral("MONTANTNET")), 985.0);

    line.append();
    line.setValue(QStringLiteral("TYPERETENUE"), 9);
    line.post(); // empty amounts become 0
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from rtenuealasource where typeretenue=9 and taux=0 and "
                                    "montantbrut=0 and montantretenue=0"))
                  .toInt(),
              1);
}

TEST_F(DataModuleTest, SalaryWithholdingsCompleteTheirAmountsAndComputeTheNet) {
    Dataset &ds = dm.iretenuepersonnel;
    ds.setParam(QStringLiteral("codesociete"), dm.activeCompany.code);
    ds.setParam(QStringLiteral("exercice"), dm.activeCompany.exercice);
    ds.open();
    ds.append();
    ds.setValue(QStringLiteral("CODESOCIETE"), dm.activeCompany.code);
    ds.setValue(QStringLiteral("EXERCICE"), dm.activeCompany.exercice);
    ds.setValue(QStringLiteral("MATRICULE"), QStringLiteral("M1"));
    ds.setValue(QStringLiteral("MOIS"), 1);
    ds.setValue(QStringLiteral("REVENUIMPOSABLE"), 1500.0);
    ds.setValue(QStringLiteral("AVANTAGENATURE"), 100.0);
    ds.setValue(QStringLiteral("RETENUE"), 200.0);
    ds.setValue(QStringLiteral("CONTRIBUTIONSOCIALE"), 15.0);
    ds.setValue(QStringLiteral("RETENUE20"), QVariant()); // emptied by the user
    ds.post();
    EXPECT_DOUBLE_EQ(ds.number(QStringLiteral("NETSERVIS")), 1385.0);
    EXPECT_EQ(scalar(QStringLiteral("select retenue20 from retenuepersonnel")).toDouble(), 0.0);
    EXPECT_FALSE(scalar(QStringLiteral("select retenue20 from retenuepersonnel")).isNull());
}

TEST_F(DataModuleTest, RecapRowsShowTheirLabelAndAmounts) {
    exec(QStringLiteral("insert into TABLEAURECAPITULATIF values (4, '021', '000000001234567', '01500', "
                        "'000000000185185')"));
    exec(QStringLiteral("insert into TABLEAURECAPITULATIF values (38, '999', '               ', '     ', "
                        "'000000000185185')"));
    Dataset &ds = dm.Itableaurecap;
    ds.open();
    ASSERT_EQ(ds.rowCount(), 2);
    EXPECT_DOUBLE_EQ(ds.number(QStringLiteral("montantsbrut")), 1234.567);
    EXPECT_DOUBLE_EQ(ds.number(QStringLiteral("taux")), 15.0);
    EXPECT_DOUBLE_EQ(ds.number(QStringLiteral("retenues")), 185.185);
    EXPECT_EQ(ds.text(QStringLiteral("libelleretenue")),
              scalar(QStringLiteral("select designation from typeretenue where numerotype=4")).toString());
    EXPECT_EQ(dm.ityperetenue.value(QStringLiteral("NUMEROTYPE")).toInt(), 4); // left on the type found
    EXPECT_EQ(ds.displayFormat(QStringLiteral("MONTANTSBRUT")), QStringLiteral("# ##0.000"));
    ds.next();
    EXPECT_TRUE(ds.isNull(QStringLiteral("montantsbrut")));
    EXPECT_TRUE(ds.isNull(QStringLiteral("taux")));
    EXPECT_FALSE(ds.isNull(QStringLiteral("retenues")));

    // A correction of a line is written back through all five columns.
    ds.first();
    ds.edit();
    ds.setValue(QStringLiteral("ZONE4"), QStringLiteral("000000000185000"));
    ds.post();
    EXPECT_EQ(scalar(QStringLiteral("select zone4 from TABLEAURECAPITULATIF where ordre=4")).toString(),
              QStringLiteral("000000000185000"));
}

TEST_F(DataModuleTest, FailingNumberingAddsNoRow) {
    Dataset &ds = dm.iannexeii;
    ds.setParam(QStringLiteral("code"), dm.activeCompany.code);
    ds.setParam(QStringLiteral("exercice"), dm.activeCompany.exercice);
    ds.open();
    dm.activeCompany.exercice = QStringLiteral("20188"); // does not fit EXERCICE
    EXPECT_THROW(ds.append(), DbError);
    EXPECT_EQ(ds.rowCount(), 0);
    EXPECT_EQ(ds.state(), Dataset::State::Browse);
}

// A saved row is committed at once and survives a killed process; a deletion on a dataset that does not
// commit after deleting waits in the transaction and is lost with it.
TEST_F(DataModuleTest, SavesAreDurableAndPendingDeletionsAreNot) {
    exec(QStringLiteral("insert into PERSONNEL (MATRICULE) values ('OLD')"));
    exec(QStringLiteral("insert into TIERS (CODE) values (1)"));
    dm.italvane.close();
    QProcess helper;
    helper.start(QStringLiteral(SESSION_HELPER), {db.path(), QStringLiteral("kill")});
    ASSERT_TRUE(helper.waitForFinished(60000));
    EXPECT_NE(helper.exitStatus() == QProcess::NormalExit && helper.exitCode() == 0, true)
        << "the helper was expected to die";
    EXPECT_TRUE(helper.readAllStandardOutput().contains("saved"));
    dm.connectDatabase(db.path());
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from PERSONNEL where matricule='NEW'")).toInt(), 1);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from PERSONNEL where matricule='OLD'")).toInt(), 1);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TIERS")).toInt(), 0); // committed after deleting
}

TEST_F(DataModuleTest, NormalEndCommitsPendingWork) {
    exec(QStringLiteral("insert into PERSONNEL (MATRICULE) values ('OLD')"));
    {
        TDatadeclaration other;
        dm.italvane.close();
        other.connectDatabase(db.path());
        other.ipersonnel.open();
        other.ipersonnel.remove(); // pending until the end of the run
        other.ipersonnel.append();
        other.ipersonnel.setValue(QStringLiteral("MATRICULE"), QStringLiteral("DRAFT")); // discarded
    }
    dm.connectDatabase(db.path());
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from PERSONNEL")).toInt(), 0);
}

// SIGTERM ends the program as a normal end does: the pending work is committed and the database closed.
TEST_F(DataModuleTest, TerminationSignalEndsTheRunNormally) {
    exec(QStringLiteral("insert into PERSONNEL (MATRICULE) values ('OLD')"));
    dm.italvane.close();
    QProcess helper;
    helper.start(QStringLiteral(SESSION_HELPER), {db.path(), QStringLiteral("term")});
    ASSERT_TRUE(helper.waitForReadyRead(60000));
    ASSERT_TRUE(helper.readAllStandardOutput().contains("ready"));
    helper.terminate();
    ASSERT_TRUE(helper.waitForFinished(60000)) << "the program did not end";
    EXPECT_EQ(helper.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(helper.exitCode(), 0);
    dm.connectDatabase(db.path());
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from PERSONNEL")).toInt(), 0);
}
