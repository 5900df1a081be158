#include "db/DatabaseCreation.h"
#include "data/DbError.h"
#include "data/TDatadeclaration.h"
#include "tests/support/TestDatabase.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SqlScript, SplitsOnTheTerminatorOutsideQuotesAndComments) {
    const QStringList s = splitSqlScript(QStringLiteral(
        "-- a comment; with a semicolon\ncreate table A (X integer);\ninsert into A values (';');\nCOMMIT;\n"
        "SET TERM ^ ;\ncreate procedure P as begin delete from A; end^\nSET TERM ; ^\nselect 1 from A;"));
    ASSERT_EQ(s.size(), 4);
    EXPECT_EQ(s[0], QStringLiteral("create table A (X integer)"));
    EXPECT_EQ(s[1], QStringLiteral("insert into A values (';')"));
    EXPECT_EQ(s[2], QStringLiteral("create procedure P as begin delete from A; end"));
    EXPECT_EQ(s[3], QStringLiteral("select 1 from A"));
}

namespace {

// The number of third parties in a database, read through a connection of its own.
int countTiers(const QString &path) {
    TDatadeclaration dm;
    dm.connectDatabase(path);
    dm.Itiers.open();
    return dm.Itiers.rowCount();
}

} // namespace

TEST(DatabaseCreation, CliCreatesOnceAndRefusesToOverwrite) {
    QTemporaryDir dir;
    TestDatabase::openToServer(dir.path());
    const QString file = dir.path() + QStringLiteral("/TALVANE.gdb");
    const QString path = TestDatabase::serverPrefix() + file;
    QProcess cli;
    cli.start(QStringLiteral(TALVANE_CLI), {QStringLiteral("create-db"), path});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    {
        TDatadeclaration dm;
        dm.connectDatabase(path);
        dm.Itiers.open();
        dm.Itiers.append();
        dm.Itiers.setValue(QStringLiteral("CODE"), 1);
        dm.Itiers.post();
    }

    cli.start(QStringLiteral(TALVANE_CLI), {QStringLiteral("create-db"), path});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), 1);
    const QString error = QString::fromUtf8(cli.readAllStandardError()).trimmed();
    EXPECT_EQ(error, QStringLiteral("Le fichier \"%1\" existe déjà : la base n'a pas été créée.").arg(path));
    EXPECT_EQ(countTiers(path), 1) << "the existing database was kept";
}

TEST(DatabaseCreation, CreatedDatabaseHoldsTheSchema) {
    TestDatabase db;
    TDatadeclaration dm;
    dm.connectDatabase(db.path());
    for (Dataset *ds : dm.datasets()) {
        if (ds->sql().isEmpty())
            continue;
        for (const QString &p : ds->paramNames())
            ds->setParam(p, QStringLiteral("2018"));
        EXPECT_NO_THROW(ds->open()) << ds->name().toStdString();
    }
    ASSERT_EQ(dm.ityperetenue.rowCount(), 38);
    const double rates[] = {0,  0,   0,   15, 15,  2.5, 5,  2.5, 5, 15, 20, 20, 20, 15, 10, 10,  20, 20, 15,
                            10, 2.5, 2.5, 15, 0.5, 1.5, 25, 100, 0, 15, 1,  10, 25, 15, 25, 1.5, 25, 3,  0};
    for (int i = 0; i < 38; ++i) {
        EXPECT_EQ(dm.ityperetenue.valueAt(i, QStringLiteral("NUMEROTYPE")).toInt(), i + 1);
        EXPECT_DOUBLE_EQ(dm.ityperetenue.valueAt(i, QStringLiteral("TAUX")).toDouble(), rates[i]) << i + 1;
        EXPECT_FALSE(dm.ityperetenue.valueAt(i, QStringLiteral("DESIGNATION")).toString().isEmpty());
    }
}

TEST(DatabaseCreation, BadDatabasesGiveAClearMessage) {
    QTemporaryDir dir;
    const QString notADatabase = dir.path() + QStringLiteral("/TALVANE.gdb");
    QFile f(notADatabase);
    f.open(QIODevice::WriteOnly);
    f.write("Ceci n'est pas une base de données.\n");
    f.close();
    QStringList cases = {
        dir.path() + QStringLiteral("/absent/TALVANE.gdb"),
        notADatabase,
        QStringLiteral("127.0.0.1/1:/tmp/TALVANE.gdb"), // no server answers on port 1
        QStringLiteral("Vérifier le chemin de la base!/TALVANE.gdb"),
    };
    if (!TestDatabase::serverPrefix().isEmpty()) {
        TestDatabase::openToServer(dir.path());
        f.setPermissions(f.permissions() | QFileDevice::ReadOther | QFileDevice::WriteOther);
        cases << TestDatabase::serverPrefix() + dir.path() + QStringLiteral("/absent/TALVANE.gdb")
              << TestDatabase::serverPrefix() + notADatabase;
    }
    for (const QString &path : cases) {
        TDatadeclaration dm;
        try {
            dm.connectDatabase(path);
            FAIL() << path.toStdString();
        } catch (const DbError &e) {
            EXPECT_TRUE(
                e.message().startsWith(QStringLiteral("Connexion impossible à la base \"%1\".").arg(path)))
                << e.message().toStdString();
            EXPECT_GT(e.message().size(), path.size() + 40) << "Firebird's own message follows";
            EXPECT_FALSE(e.message().contains(QStringLiteral("Ã"))) << e.message().toStdString();
        }
        // Every later use of data tries again and fails the same way, without a crash.
        EXPECT_THROW(dm.Isociete.open(), DbError);
        EXPECT_FALSE(dm.Isociete.isOpen());
    }
}

TEST(Cli, UsageErrorsAreExplainedInFrench) {
    struct Case {
        QStringList arguments;
        int exitCode;
        const char *says;
    } cases[] = {
        {{}, 2, "Usage : talvane-cli"},
        {{QStringLiteral("inconnue")}, 2, "Commande inconnue : inconnue"},
        {{QStringLiteral("create-db")}, 2, "Usage : talvane-cli create-db CHEMIN"},
        {{QStringLiteral("create-db"), QStringLiteral("/nulle/part/TALVANE.gdb")},
         1,
         "/nulle/part/TALVANE.gdb"},
        {{QStringLiteral("create-db"), QStringLiteral("--database")}, 2, "L'option --database attend"},
    };
    for (const Case &c : cases) {
        QProcess cli;
        cli.start(QStringLiteral(TALVANE_CLI), c.arguments);
        ASSERT_TRUE(cli.waitForFinished(60000));
        const QString err = QString::fromUtf8(cli.readAllStandardError());
        EXPECT_EQ(cli.exitCode(), c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(err.contains(QString::fromUtf8(c.says))) << err.toStdString();
    }
}
