// Export of 100,000 Annex I rows to .xlsx by the exporter: two runs, since one sends at most 65535 rows
// (rows 1 to 65535, then 65536 to 100,000). Prints the time of each and the peak memory.
#include "bench/AnnexIRows.h"
#include "bench/BenchMemory.h"
#include "data/TDatadeclaration.h"
#include "db/DatabaseCreation.h"
#include "exchange/GWGExporterXL.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "fill") == 0) {
        TDatadeclaration dm;
        dm.connectDatabase(QString::fromLocal8Bit(argv[2]));
        fillAnnexI(dm, QStringLiteral("2018"), 100000);
        return 0;
    }
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/TALVANE.gdb");
    createDatabase(path);
    if (QProcess::execute(QCoreApplication::applicationFilePath(), {QStringLiteral("fill"), path}) != 0) {
        std::fprintf(stderr, "filling the database failed\n");
        return 1;
    }
    TDatadeclaration dm;
    dm.connectDatabase(path);
    Dataset &annex = dm.annex(1);
    annex.setSql(
        QStringLiteral("select * from ANNEXEI where codesociete=:code and exercice=:exercice order by "
                       "NUMEROORDRE"));
    annex.setParam(QStringLiteral("code"), QLatin1String(kBenchCompany));
    annex.setParam(QStringLiteral("exercice"), QStringLiteral("2018"));
    annex.open();
    const long opened = peakRssMb();

    GWGExporterXL exporter;
    exporter.setSource(&annex);
    exporter.saveAfterExport = true;
    double total = 0;
    int sent = 0;
    for (int first : {1, GWGExporterXL::kMaxRows + 1}) {
        exporter.saveFile = dir.path() + QStringLiteral("/Export%1.xlsx").arg(first);
        exporter.setLastRow(annex.rowCount());
        exporter.setFirstRow(first);
        int rows = 0;
        QElapsedTimer t;
        t.start();
        const QString written =
            exporter.exportRows([&](const GWGExporterXL::Progress &p) { rows = p.rowsSent; });
        const double seconds = static_cast<double>(t.nsecsElapsed()) / 1e9;
        total += seconds;
        sent += rows;
        std::printf("export of rows %d to %d: %.2f s, %lld bytes\n", first, first + rows - 1, seconds,
                    static_cast<long long>(QFileInfo(written).size()));
    }
    std::printf(
        "export of %d Annex I rows to .xlsx: %.2f s, peak memory %ld MB (%ld MB with the dataset open)\n",
        sent, total, peakRssMb(), opened);
    return sent == annex.rowCount() ? 0 : 1;
}
