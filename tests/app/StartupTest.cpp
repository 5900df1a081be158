#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The program started from <root>/work, so that its CheminBase.ini is looked up in <root>. It reports its
// start-up into a file instead of a message box and ends once the main window is shown.
struct ProgramRun {
    int exitCode = -1;
    QString report;
};

ProgramRun startProgram(const QString &root, const QStringList &arguments) {
    const QString work = root + QStringLiteral("/work");
    QDir().mkpath(work);
    const QString reportPath = root + QStringLiteral("/startup-report.txt");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TALVANE_STARTUP_REPORT"), reportPath);
    env.remove(QStringLiteral("TALVANE_TEST_SERVER"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(work);
    program.start(QStringLiteral(TALVANE_GUI), arguments);
    ProgramRun run;
    if (!program.waitForFinished(120000) || program.exitStatus() != QProcess::NormalExit) {
        program.kill();
        program.waitForFinished();
        return run;
    }
    run.exitCode = program.exitCode();
    QFile report(reportPath);
    if (report.open(QIODevice::ReadOnly))
        run.report = QString::fromUtf8(report.readAll());
    return run;
}

void writeIni(const QString &root, const QString &rep) {
    QFile ini(root + QStringLiteral("/CheminBase.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("[CheminBase]\nRep=%1\n").arg(rep).toUtf8());
}

} // namespace

TEST(Startup, ConnectionErrorDoesNotStopTheStart) {
    struct Case {
        const char *what;
        bool ini;            // a CheminBase.ini naming a folder without a database
        QString errorNaming; // the database path the error names
    } cases[] = {
        {"no CheminBase.ini", false, QStringLiteral("Vérifier le chemin de la base!/TALVANE.gdb")},
        {"Rep naming an empty folder", true, QStringLiteral("/vide/TALVANE.gdb")},
    };
    for (const Case &c : cases) {
        QTemporaryDir root;
        if (c.ini)
            writeIni(root.path(), root.path() + QStringLiteral("/vide"));
        const ProgramRun run = startProgram(root.path(), {});
        EXPECT_EQ(run.exitCode, 0) << c.what;
        EXPECT_TRUE(run.report.startsWith(QStringLiteral("window=Talvane 2018\nerror="))) << c.what;
        const QString error = run.report.section(QStringLiteral("error="), 1);
        EXPECT_TRUE(error.contains(c.errorNaming)) << c.what << ": " << error.toStdString();
    }
}

TEST(Startup, ConnectsToTheDatabaseOfCheminBaseOrOfTheOption) {
    QTemporaryDir root;
    const QString folder = root.path() + QStringLiteral("/base");
    QDir().mkpath(folder);
    const QString database = folder + QStringLiteral("/TALVANE.gdb");
    QProcess cli;
    cli.start(QStringLiteral(TALVANE_CLI), {QStringLiteral("create-db"), database});
    ASSERT_TRUE(cli.waitForFinished(120000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();

    struct Case {
        const char *what;
        QString rep; // empty: no CheminBase.ini
        QStringList arguments;
    } cases[] = {
        {"Rep naming the folder", folder, {}},
        {"--database over a missing CheminBase.ini", QString(), {QStringLiteral("--database"), database}},
        {"--database over a wrong Rep", root.path() + QStringLiteral("/vide"), {"--database=" + database}},
    };
    for (const Case &c : cases) {
        QFile::remove(root.path() + QStringLiteral("/CheminBase.ini"));
        if (!c.rep.isEmpty())
            writeIni(root.path(), c.rep);
        const ProgramRun run = startProgram(root.path(), c.arguments);
        EXPECT_EQ(run.exitCode, 0) << c.what;
        EXPECT_EQ(run.report, QStringLiteral("window=Talvane 2018\nerror=")) << c.what;
    }
}
