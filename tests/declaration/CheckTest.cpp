#include "declaration/DeclarationCheck.h"
#include "tests/declaration/DeclarationFixture.h"

#include <QProcess>

namespace {

const QString kExpected = QStringLiteral(DECLARATION_EXPECTED);

struct CliRun {
    int exitCode;
    QString out, err;
};

CliRun runCli(const QStringList &arguments) {
    QProcess cli;
    cli.start(QStringLiteral(TALVANE_CLI), arguments);
    cli.waitForFinished(120000);
    return {cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1,
            QString::fromUtf8(cli.readAllStandardOutput()), QString::fromUtf8(cli.readAllStandardError())};
}

// A copy of the hand-written files of the fixture, to spoil.
struct FolderCopy {
    FolderCopy() {
        for (const QString &name : QDir(kExpected).entryList(QDir::Files))
            QFile::copy(kExpected + QLatin1Char('/') + name, dir.filePath(name));
    }
    // Replaces the characters of a record from a position (both counted from 1), as many as `with` holds
    // unless `replaced` says otherwise.
    void spoil(const QString &file, int record, int position, const QByteArray &with, int replaced = -1) {
        QList<QByteArray> records = readFile(dir.filePath(file)).split('\n');
        records[record - 1].replace(position - 1, replaced < 0 ? with.size() : replaced, with);
        QFile f(dir.filePath(file));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(records.join('\n'));
    }
    QTemporaryDir dir;
};

} // namespace

TEST(CheckTest, FindsAShortRecordAWrongCountAndAWrongTotal) {
    FolderCopy copy;
    auto &dir = copy.dir;
    auto spoil = [&](const char *file, int record, int position, const QByteArray &with, int replaced = -1) {
        copy.spoil(QLatin1String(file), record, position, with, replaced);
    };
    EXPECT_EQ(runCli({QStringLiteral("check"), dir.path()}).exitCode, 0);

    spoil("ANXEMP_2_18_1", 2, 405, "", 1); // one character less
    spoil("ANXEMP_1_18_1", 1, 23, "000003");
    spoil("ANXEMP_3_18_1", 3, 284, "000000000300001");
    const CliRun run = runCli({QStringLiteral("check"), dir.path()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(
        run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
        QStringList({"ANXEMP_1_18_1, enregistrement 1, positions 23-28 : 3 enregistrements L annoncés, le "
                     "fichier en a 2.",
                     "ANXEMP_2_18_1, enregistrement 2 : 404 caractères au lieu de 405.",
                     "ANXEMP_3_18_1, enregistrement 3, positions 284-298 : total « 000000000300001 » de "
                     "MONTANTRETENUES, la somme des enregistrements L est 000000000300000."}));
    EXPECT_EQ(run.err, QStringLiteral("3 anomalies.\n"));
}

TEST(CheckTest, FindsWhatThePreCheckRefuses) {
    struct Case {
        const char *what;
        std::function<void(FolderCopy &)> spoil;
        const char *problem;
    } cases[] = {
        {"an annex declared present without its file",
         [](FolderCopy &t) { QFile::remove(t.dir.filePath(QStringLiteral("ANXEMP_5_18_1"))); },
         "DECEMP_18, enregistrement 1, position 24 : l'annexe 5 est déclarée présente mais le fichier "
         "ANXEMP_5_18_1 est absent."},
        {"a 999 total that is not the sum of the lines",
         [](FolderCopy &t) { t.spoil(QStringLiteral("DECEMP_18"), 39, 38, "1"); },
         "DECEMP_18, enregistrement 39, positions 24-38 : le total « 000000002812751 » n'est pas la somme "
         "des "
         "retenues des lignes, 000000002812750."},
        {"a letter in an amount",
         [](FolderCopy &t) { t.spoil(QStringLiteral("ANXEMP_5_18_1"), 2, 270, "A"); },
         "ANXEMP_5_18_1, enregistrement 2, positions 269-283 : « 0A0000005000000 » n'est pas un nombre."},
        {"another company in an annex",
         [](FolderCopy &t) { t.spoil(QStringLiteral("ANXEMP_7_18_1"), 3, 3, "7654321"); },
         "ANXEMP_7_18_1, enregistrement 3, positions 3-14 : code déclarant « 7654321AM000 » au lieu de « "
         "1234567AM000 »."},
        {"records out of order", [](FolderCopy &t) { t.spoil(QStringLiteral("ANXEMP_6_18_1"), 4, 1, "L6"); },
         "ANXEMP_6_18_1, enregistrement 4, positions 1-2 : type d'enregistrement « L6 » au lieu de « T6 »."},
        {"a record ended by LF alone",
         [](FolderCopy &t) { t.spoil(QStringLiteral("ANXEMP_4_18_1"), 3, 406, "\n"); },
         "ANXEMP_4_18_1, enregistrement 3 : fin d'enregistrement LF sans CR."},
    };
    for (Case &c : cases) {
        SCOPED_TRACE(c.what);
        FolderCopy fresh;
        c.spoil(fresh);
        const QStringList problems = checkDeclarationFolder(fresh.dir.path());
        EXPECT_TRUE(problems.contains(QString::fromUtf8(c.problem)))
            << problems.join(QLatin1Char('\n')).toStdString();
    }
}

using CliTest = DeclarationFixture;

// The commands without a screen: the generation writes the very files of the window's run, which pass the
// check; the recap prints its 38 records.
TEST_F(CliTest, GeneratesPrintsTheRecapAndChecksThroughTheCommandLine) {
    insertRowsInEveryAnnex();
    dm.italvane.close(); // the embedded engine lets one process at a time open the file
    const QString database = QStringLiteral("--database=") + db.path();

    EXPECT_EQ(runCli({database, QStringLiteral("generate")}).exitCode, 2);
    const CliRun generate =
        runCli({database, QStringLiteral("generate"), QStringLiteral("--folder"), out.path()});
    ASSERT_EQ(generate.exitCode, 0) << generate.err.toStdString();
    EXPECT_EQ(generate.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size(), 8);
    for (const QString &name : QDir(kExpected).entryList(QDir::Files))
        EXPECT_EQ(readFile(out.filePath(name)), readFile(kExpected + QLatin1Char('/') + name))
            << name.toStdString();
    EXPECT_EQ(runCli({QStringLiteral("check"), out.path()}).exitCode, 0);

    const CliRun recap = runCli({database, QStringLiteral("recap")});
    ASSERT_EQ(recap.exitCode, 0) << recap.err.toStdString();
    QList<QByteArray> expected = readFile(kExpected + QStringLiteral("/DECEMP_18")).split('\n').mid(1, 38);
    for (QByteArray &r : expected)
        r.chop(1);
    EXPECT_EQ(recap.out.toLatin1().split('\n').mid(0, 38), expected);

    const CliRun other =
        runCli({database, QStringLiteral("recap"), QStringLiteral("--company"),
                QStringLiteral("7654321BM000"), QStringLiteral("--year"), QStringLiteral("2018")});
    EXPECT_EQ(other.exitCode, 0);
    EXPECT_EQ(other.out.count(QLatin1Char('\n')), 38);
}
