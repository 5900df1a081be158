#include "data/DbError.h"
#include "tests/support/DataModuleFixture.h"

#include <QDate>
#include <QDateTime>

using DatasetTest = DataModuleFixture;

namespace {

void fillPersonnel(Dataset &ds, const QString &matricule) {
    ds.append();
    ds.setValue(QStringLiteral("MATRICULE"), matricule);
    ds.setValue(QStringLiteral("NOMPRENOM"), QStringLiteral("Ben Salah Hédi"));
    ds.setValue(QStringLiteral("ETATCIVIL"), QStringLiteral("2"));
    ds.setValue(QStringLiteral("ENFANT"), 3);
    ds.setValue(QStringLiteral("DATEDEBUT"), QDate(2018, 1, 15));
}

} // namespace

TEST_F(DatasetTest, TypesNullsAndFixedTextRoundTrip) {
    Dataset &ds = dm.ipersonnel;
    ds.open();
    fillPersonnel(ds, QStringLiteral("M1"));
    ds.post();
    ds.close();
    ds.open();
    ASSERT_EQ(ds.rowCount(), 1);
    EXPECT_EQ(ds.text(QStringLiteral("NOMPRENOM")), QStringLiteral("Ben Salah Hédi"));
    EXPECT_EQ(ds.bytes(QStringLiteral("NOMPRENOM")), QByteArray("Ben Salah H\xE9"
                                                                "di"));
    EXPECT_EQ(ds.value(QStringLiteral("ENFANT")).toInt(), 3);
    EXPECT_EQ(ds.value(QStringLiteral("DATEDEBUT")).toDateTime().date(), QDate(2018, 1, 15));
    EXPECT_TRUE(ds.isNull(QStringLiteral("DATEFIN")));
    EXPECT_TRUE(ds.isNull(QStringLiteral("ADRESSE")));
    // Text of fixed width comes back filled with blanks by the database.
    EXPECT_EQ(ds.text(QStringLiteral("ETATCIVIL")), QStringLiteral("2"));
    EXPECT_EQ(scalar(QStringLiteral("select octet_length(etatcivil) from personnel")).toInt(), 1);

    // An exact decimal of 9.2 digits (NBJOURS), a date with a time and a fixed text of width 1.
    exec(QStringLiteral(
        "insert into ANNEXEI (CODESOCIETE, EXERCICE, NUMEROORDRE, TYPEIDENTIFIANT, "
        "IDENTIFIANTBENEFICIAIRE, NOMPRENOM, EMPLOIOCCUPE, ADRESSE, ETATCIVIL, ENFANT, DATEFIN, "
        "REVENUIMPOSABLE, AVANTAGENATURE, TOTALREVENU, REVENUREINVESTI, RETENUEOPERES, MONTANTNET, "
        "NBJOURS) values ('1234567AM000', '2018', 1, '2', 'X', 'N', 'E', 'A', '1', 0, "
        "'2018-12-31 10:30:00', 1234.567, 0, 0, 0, 0, 0, 312.25)"));
    Dataset &a = dm.iannexei;
    a.setParam(QStringLiteral("code"), dm.activeCompany.code);
    a.setParam(QStringLiteral("exercice"), dm.activeCompany.exercice);
    a.open();
    ASSERT_EQ(a.rowCount(), 1);
    EXPECT_DOUBLE_EQ(a.number(QStringLiteral("NBJOURS")), 312.25);
    EXPECT_DOUBLE_EQ(a.number(QStringLiteral("REVENUIMPOSABLE")), 1234.567);
    EXPECT_EQ(a.value(QStringLiteral("DATEFIN")).toDateTime().time(), QTime(10, 30));
    a.edit();
    a.setValue(QStringLiteral("NBJOURS"), 100.5);
    a.post();
    EXPECT_DOUBLE_EQ(scalar(QStringLiteral("select nbjours from annexei")).toDouble(), 100.5);
}

TEST_F(DatasetTest, RequiredFieldRefusedBeforeAnyStatementAndRowStaysInEntry) {
    Dataset &ds = dm.ipersonnel;
    ds.open();
    ds.append();
    ds.setValue(QStringLiteral("NOMPRENOM"), QStringLiteral("Sans matricule"));
    try {
        ds.post();
        FAIL() << "saved without MATRICULE";
    } catch (const DbError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Le champ 'MATRICULE' doit avoir une valeur."));
    }
    EXPECT_EQ(ds.state(), Dataset::State::Insert);
    EXPECT_EQ(ds.text(QStringLiteral("NOMPRENOM")), QStringLiteral("Sans matricule"));
    ds.setValue(QStringLiteral("MATRICULE"), QStringLiteral(""));
    EXPECT_THROW(ds.post(), DbError); // an empty text is no value
    ds.cancel();
    EXPECT_EQ(ds.rowCount(), 0);
}

TEST_F(DatasetTest, DuplicateKeyGivesFirebirdsMessageAndKeepsTheEntry) {
    Dataset &ds = dm.ipersonnel;
    ds.open();
    fillPersonnel(ds, QStringLiteral("M1"));
    ds.post();
    fillPersonnel(ds, QStringLiteral("M1"));
    try {
        ds.post();
        FAIL() << "duplicate key accepted";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("PRIMARY or UNIQUE KEY")))
            << e.message().toStdString();
    }
    EXPECT_EQ(ds.state(), Dataset::State::Insert);
    ds.setValue(QStringLiteral("MATRICULE"), QStringLiteral("M2"));
    ds.post();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from personnel")).toInt(), 2);
}

TEST_F(DatasetTest, UpdateMovesTheKeyAndDeleteRemovesTheRow) {
    Dataset &ds = dm.ipersonnel;
    ds.open();
    fillPersonnel(ds, QStringLiteral("M1"));
    ds.post();
    ds.edit();
    ds.setValue(QStringLiteral("MATRICULE"), QStringLiteral("M9"));
    ds.post();
    EXPECT_EQ(scalar(QStringLiteral("select matricule from personnel")).toString(), QStringLiteral("M9"));
    ds.remove();
    EXPECT_EQ(ds.rowCount(), 0);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from personnel")).toInt(), 0);
}

TEST_F(DatasetTest, ValuesThatDoNotFitAreRefusedWithTheFieldNamed) {
    Dataset &ds = dm.ipersonnel;
    ds.open();
    ds.append();
    try {
        ds.setValue(QStringLiteral("MATRICULE"), QStringLiteral("1234567"));
        FAIL() << "seven characters accepted in a column of six";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("MATRICULE")));
    }
    EXPECT_THROW(ds.setValue(QStringLiteral("ENFANT"), QStringLiteral("deux")), DbError);
    EXPECT_THROW(ds.setValue(QStringLiteral("ENFANT"), 2.5), DbError);
    EXPECT_THROW(ds.setValue(QStringLiteral("DATEDEBUT"), QStringLiteral("31/02/2018")), DbError);
    EXPECT_THROW(ds.setValue(QStringLiteral("INCONNU"), 1), DbError);
    // A character WIN1252 cannot hold is refused, not turned into '?'.
    EXPECT_THROW(ds.setValue(QStringLiteral("NOMPRENOM"), QStringLiteral("محمد")), DbError);
    ds.setValue(QStringLiteral("NOMPRENOM"), QStringLiteral("Œuvre d’art à 5 €"));
    EXPECT_EQ(ds.text(QStringLiteral("NOMPRENOM")), QStringLiteral("Œuvre d’art à 5 €"));
    auto query = dm.newQuery(QStringLiteral("q"));
    query->setSql(QStringLiteral("select 'محمد' from rdb$database"));
    EXPECT_THROW(query->open(), DbError);
    ds.setValue(QStringLiteral("ENFANT"), QStringLiteral(" 2 "));
    EXPECT_EQ(ds.value(QStringLiteral("ENFANT")).toInt(), 2);
}

TEST_F(DatasetTest, ParametersLocateAndNavigation) {
    for (const char *code : {"1", "2", "10"})
        exec(QStringLiteral("insert into TIERS (CODE, NOMBENEFICIAIRE) values (%1, 'T%1')")
                 .arg(QLatin1String(code)));
    Dataset &ds = dm.Itiers;
    ds.setSql(QStringLiteral("select * from TIERS where code >= :c and code <= :c * 10 order by code"));
    ds.setParam(QStringLiteral("c"), 2);
    ds.open();
    ASSERT_EQ(ds.rowCount(), 2); // 2 and 10
    ds.setParam(QStringLiteral("C"), 1);
    ds.reopen();
    EXPECT_EQ(ds.rowCount(), 3);
    EXPECT_TRUE(ds.locate(QStringLiteral("CODE"), QStringLiteral(" 10 ")));
    EXPECT_EQ(ds.currentRow(), 2);
    EXPECT_TRUE(ds.eof());
    EXPECT_FALSE(ds.next());
    EXPECT_TRUE(ds.locate(QStringLiteral("nombeneficiaire"), QStringLiteral("t2"), Qt::CaseInsensitive));
    EXPECT_EQ(ds.value(QStringLiteral("CODE")).toInt(), 2);
    EXPECT_FALSE(ds.locate(QStringLiteral("NOMBENEFICIAIRE"), QStringLiteral("t2")));
    EXPECT_EQ(ds.currentRow(), 1);
}

TEST_F(DatasetTest, ErrorsCarryTheDatabaseMessage) {
    auto query = dm.newQuery(QStringLiteral("q"));
    query->setSql(QStringLiteral("select * from TABLE_ABSENTE"));
    try {
        query->open();
        FAIL();
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("TABLE_ABSENTE"))) << e.message().toStdString();
    }
    EXPECT_FALSE(query->isOpen());
    query->setSql(QStringLiteral(" "));
    EXPECT_THROW(query->open(), DbError);
}

TEST_F(DatasetTest, StatementsThatReturnNoRowsAndStoredProcedures) {
    exec(QStringLiteral("insert into TABLEAURECAPITULATIF (ORDRE, ZONE1) values (1, '010')"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TABLEAURECAPITULATIF")).toInt(), 1);
    dm.ieffacerrecap.execute();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TABLEAURECAPITULATIF")).toInt(), 0);

    exec(QStringLiteral("insert into RISTOURNE (NUMERO, CODE, EXERCICE) values (1, 1, '2017')"));
    exec(QStringLiteral("insert into RISTOURNE (NUMERO, CODE, EXERCICE) values (2, 1, '2018')"));
    auto purge = dm.newQuery(QStringLiteral("apurement"));
    purge->setSql(QStringLiteral("select * from apurement(:exercice)"));
    purge->setParam(QStringLiteral("exercice"), QStringLiteral("2018"));
    purge->open();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from RISTOURNE")).toInt(), 1);
    EXPECT_EQ(scalar(QStringLiteral("select exercice from RISTOURNE")).toString(), QStringLiteral("2018"));

    StoredProcedure init(QStringLiteral("INITIALISATION"), dm.IBTransaction1);
    init.execute();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from RISTOURNE")).toInt(), 0);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TYPERETENUE")).toInt(), 38);
}

TEST_F(DatasetTest, PayrollConnectionHasItsOwnTransaction) {
    TestDatabase payroll;
    dm.ipaie.setDatabaseName(payroll.path());
    Dataset employees(QStringLiteral("paie"), dm.IBTransaction2);
    employees.setSql(QStringLiteral("select * from PERSONNEL"));
    employees.setWriteKey(QStringLiteral("PERSONNEL"), {QStringLiteral("MATRICULE")});
    employees.open();
    employees.append();
    employees.setValue(QStringLiteral("MATRICULE"), QStringLiteral("P1"));
    employees.post();
    dm.IBTransaction2.commitRetaining();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from PERSONNEL")).toInt(), 0); // the main database
    EXPECT_TRUE(dm.ipaie.isOpen());
}

TEST(ServerNames, HostAndPortPrefixesReachAServer) {
    const std::pair<const char *, bool> cases[] = {
        {"serveur:/srv/talvane/TALVANE.gdb", true},
        {"192.168.1.10/3051:/srv/TALVANE.gdb", true},
        {"/srv/talvane/TALVANE.gdb", false},
        {"Vérifier le chemin de la base!/TALVANE.gdb", false},
        {"relatif/TALVANE.gdb", false},
    };
    for (const auto &[path, server] : cases)
        EXPECT_EQ(FbConnection::namesServer(QString::fromUtf8(path)), server) << path;
}

TEST_F(DatasetTest, ChangeOfARowDeletedSinceItWasReadIsRefused) {
    exec(QStringLiteral("insert into TIERS (CODE, NOMBENEFICIAIRE) values (1, 'A')"));
    Dataset &ds = dm.Itiers;
    ds.open();
    exec(QStringLiteral("delete from TIERS")); // another window or workstation
    ds.edit();
    ds.setValue(QStringLiteral("NOMBENEFICIAIRE"), QStringLiteral("B"));
    try {
        ds.post();
        FAIL() << "a lost change was reported as saved";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("n'a pas été enregistrée")))
            << e.message().toStdString();
    }
    EXPECT_EQ(ds.state(), Dataset::State::Edit);
    EXPECT_EQ(ds.text(QStringLiteral("NOMBENEFICIAIRE")), QStringLiteral("B"));
}

TEST_F(DatasetTest, RecapLineWithAnEmptyZoneCanBeCorrectedAndDeleted) {
    exec(QStringLiteral("insert into TABLEAURECAPITULATIF (ORDRE, ZONE1, ZONE4) values (3, '300', "
                        "'000000000000000')"));
    Dataset &ds = dm.Itableaurecap;
    ds.open();
    ds.edit();
    ds.setValue(QStringLiteral("ZONE4"), QStringLiteral("000000000001000"));
    ds.post();
    EXPECT_EQ(scalar(QStringLiteral("select zone4 from TABLEAURECAPITULATIF")).toString(),
              QStringLiteral("000000000001000"));
    ds.remove();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from TABLEAURECAPITULATIF")).toInt(), 0);
}
