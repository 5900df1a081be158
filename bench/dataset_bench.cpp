// Opening ANNEXEI datasets of 10,000 and 100,000 rows and saving 1,000 rows one by one, on the embedded
// engine, beside the time isql-fb takes to fetch the same rows. Prints one line per measure.
#include "bench/AnnexIRows.h"
#include "bench/BenchDatabase.h"
#include "bench/BenchMemory.h"
#include "data/FbConnection.h"
#include "data/FbStatement.h"
#include "data/TDatadeclaration.h"
#include "db/DatabaseCreation.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr const char *kCode = kBenchCompany;

double openMs(TDatadeclaration &dm, const QString &exercice, int *rows) {
    Dataset &ds = dm.iannexei;
    ds.close();
    ds.setParam(QStringLiteral("code"), QLatin1String(kCode));
    ds.setParam(QStringLiteral("exercice"), exercice);
    QElapsedTimer t;
    t.start();
    ds.open();
    const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
    *rows = ds.rowCount();
    return ms;
}

// Runs isql-fb on a script; returns the wall time in milliseconds.
double isqlMs(const QString &database, const QString &statement) {
    QProcess isql;
    isql.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    isql.start(QStringLiteral("isql-fb"),
               {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA"),
                QStringLiteral("-password"), QStringLiteral("qorvintel"), database});
    isql.waitForStarted();
    isql.write(statement.toUtf8() + "\n");
    isql.closeWriteChannel();
    isql.waitForFinished(600000);
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

double bestOf(int n, const std::function<double()> &f) {
    double best = 1e18;
    for (int i = 0; i < n; ++i)
        best = std::min(best, f());
    return best;
}

// The same 1,000 saves through isql-fb: one insert and one commit each.
double isqlSavesMs(const QString &database) {
    QString script;
    for (int i = 1; i <= 1000; ++i)
        script +=
            QStringLiteral("insert into ANNEXEI (CODESOCIETE, EXERCICE, NUMEROORDRE, TYPEIDENTIFIANT, "
                           "IDENTIFIANTBENEFICIAIRE, NOMPRENOM, EMPLOIOCCUPE, ADRESSE, ETATCIVIL, ENFANT, "
                           "REVENUIMPOSABLE, AVANTAGENATURE, TOTALREVENU, REVENUREINVESTI, RETENUEOPERES, "
                           "MONTANTNET, NBJOURS) values ('%1', '2020', %2, '1', '1', '1', '1', '1', '1', 1, "
                           "1, 1, 1, 1, 1, 1, 1);\ncommit;\n")
                .arg(QLatin1String(kCode))
                .arg(i);
    return isqlMs(database, script);
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "fill") == 0) {
        // Run as a separate process, so that the peak memory below is the opening's alone.
        TDatadeclaration dm;
        dm.connectDatabase(QString::fromLocal8Bit(argv[2]));
        fillAnnexI(dm, QStringLiteral("2017"), 10000);
        fillAnnexI(dm, QStringLiteral("2018"), 100000);
        return 0;
    }
    QTemporaryDir dir;
    const QString path = newFilledDatabase(dir);
    if (path.isEmpty())
        return 1;

    // isql-fb: the fetch time is the run with the query minus a run that only attaches.
    const QString select = QStringLiteral("select * from ANNEXEI where codesociete='%1' and exercice='%2';");
    const double isqlAttach =
        bestOf(3, [&] { return isqlMs(path, QStringLiteral("select 1 from rdb$database;")); });
    const double isql10k = bestOf(3, [&] { return isqlMs(path, select.arg(QLatin1String(kCode), "2017")); });
    const double isql100k = bestOf(3, [&] { return isqlMs(path, select.arg(QLatin1String(kCode), "2018")); });
    const double isqlSaves = isqlSavesMs(path) - isqlAttach;

    const long rssBefore = currentRssMb();
    TDatadeclaration dm;
    dm.connectDatabase(path);
    dm.activeCompany.code = QLatin1String(kCode);
    dm.activeCompany.exercice = QStringLiteral("2019");
    int rows10k = 0, rows100k = 0;
    const double open10k = bestOf(3, [&] { return openMs(dm, QStringLiteral("2017"), &rows10k); });
    const double open100k = bestOf(3, [&] { return openMs(dm, QStringLiteral("2018"), &rows100k); });
    const long rssWith100k = currentRssMb();
    const long peak = peakRssMb();

    // 1,000 rows saved one by one through the data module: numbering, save, commit-retaining.
    dm.iannexei.close();
    dm.iannexei.setParam(QStringLiteral("exercice"), QStringLiteral("2019"));
    dm.iannexei.open();
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 1000; ++i) {
        Dataset &ds = dm.iannexei;
        ds.append();
        ds.setValue(QStringLiteral("CODESOCIETE"), QLatin1String(kCode));
        ds.setValue(QStringLiteral("EXERCICE"), QStringLiteral("2019"));
        for (const char *c : {"TYPEIDENTIFIANT", "IDENTIFIANTBENEFICIAIRE", "NOMPRENOM", "EMPLOIOCCUPE",
                              "ADRESSE", "ETATCIVIL"})
            ds.setValue(QLatin1String(c), QStringLiteral("1"));
        for (const char *c : {"ENFANT", "REVENUIMPOSABLE", "AVANTAGENATURE", "TOTALREVENU", "REVENUREINVESTI",
                              "RETENUEOPERES", "MONTANTNET", "NBJOURS"})
            ds.setValue(QLatin1String(c), 1);
        ds.post();
    }
    const double save1000 = static_cast<double>(t.nsecsElapsed()) / 1e6;

    std::printf("open ANNEXEI %6d rows: %8.1f ms   isql-fb fetch: %8.1f ms (run %.1f ms - attach %.1f ms)\n",
                rows10k, open10k, isql10k - isqlAttach, isql10k, isqlAttach);
    std::printf("open ANNEXEI %6d rows: %8.1f ms   isql-fb fetch: %8.1f ms (run %.1f ms - attach %.1f ms)\n",
                rows100k, open100k, isql100k - isqlAttach, isql100k, isqlAttach);
    std::printf("ratio to isql-fb at 100,000 rows: %.2f (target 1.5 or less)\n",
                open100k / (isql100k - isqlAttach));
    std::printf("save and commit 1,000 rows one by one: %8.1f ms   isql-fb: %8.1f ms\n", save1000, isqlSaves);
    std::printf(
        "memory: %ld MB resident before opening, %ld MB with 100,000 rows open, peak %ld MB (target < 300)\n",
        rssBefore, rssWith100k, peak);
    return 0;
}
