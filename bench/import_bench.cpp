// Import of a 20,000-row .xlsx into Annex I through the import wizard with the Annex I preset (each row
// numbered, completed and saved by the data module's rules). Prints the time and the peak memory.
// With --descending-index, the same on a database given a descending index for the numbering rule; with
// --grid, with a grid of the annex shown meanwhile, as in the annex window (offscreen).
#include "bench/AnnexIRows.h"
#include "bench/BenchMemory.h"
#include "data/TDatadeclaration.h"
#include "db/DatabaseCreation.h"
#include "exchange/ImportWizard.h"
#include "tests/exchange/SpreadsheetFiles.h"
#include "ui/DatasetGrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int kRows = 20000;

void writeSheet(const QString &path) {
    testfiles::Rows rows;
    rows.append({QStringLiteral("Code"), QStringLiteral("Exercice"), QStringLiteral("N°")});
    for (int i = 1; i <= kRows; ++i)
        rows.append({QLatin1String(kBenchCompany),
                     QStringLiteral("2018"),
                     double(i),
                     QStringLiteral("2"),
                     QStringLiteral("%1").arg(i, 8, 10, QLatin1Char('0')),
                     QStringLiteral("BENEFICIAIRE NUMERO %1").arg(i),
                     QStringLiteral("EMPLOYE DE BUREAU"),
                     QStringLiteral("%1 RUE DE LA REPUBLIQUE TUNIS").arg(i),
                     QStringLiteral("1"),
                     double(i % 4),
                     QDate(2018, 12, 31),
                     QDate(2018, 1, 1),
                     312.0,
                     12000.0 + i,
                     500.0,
                     12500.0 + i,
                     0.0,
                     1800.5,
                     0.0,
                     12.5,
                     10700.0 + i});
    testfiles::writeXlsx(path, {{QStringLiteral("Annexe I"), rows}});
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool withGrid = argc == 2 && qstrcmp(argv[1], "--grid") == 0;
    if (argc == 3 && qstrcmp(argv[1], "write") == 0) {
        // Apart, so that the peak memory below is the import's alone.
        writeSheet(QString::fromLocal8Bit(argv[2]));
        return 0;
    }
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/TALVANE.gdb");
    const QString sheet = dir.path() + QStringLiteral("/annexe1.xlsx");
    createDatabase(path);
    if (QProcess::execute(QCoreApplication::applicationFilePath(), {QStringLiteral("write"), sheet}) != 0) {
        std::fprintf(stderr, "writing the sheet failed\n");
        return 1;
    }
    TDatadeclaration dm;
    dm.connectDatabase(path);
    if (argc == 2 && qstrcmp(argv[1], "--descending-index") == 0) {
        // What a descending index would bring to the numbering rule's max(NUMEROORDRE), run once per row.
        auto ddl = dm.newQuery(QStringLiteral("ddl"));
        ddl->setSql(QStringLiteral("create descending index ANNEXEI_NUMERO_DESC on ANNEXEI (CODESOCIETE, "
                                   "EXERCICE, NUMEROORDRE)"));
        ddl->open();
        dm.commit();
    }
    dm.activeCompany.code = QLatin1String(kBenchCompany);
    dm.activeCompany.exercice = QStringLiteral("2018");
    dm.spreadsheetFolder = dir.path();
    Dataset &annex = dm.annex(1);
    annex.setSql(
        QStringLiteral("select * from ANNEXEI  where codesociete=:code and exercice=:exercice order by "
                       "NUMEROORDRE"));
    annex.setParam(QStringLiteral("code"), dm.activeCompany.code);
    annex.setParam(QStringLiteral("exercice"), dm.activeCompany.exercice);
    annex.open();
    std::unique_ptr<DatasetGrid> grid;
    if (withGrid) {
        QList<GridColumn> columns;
        for (const char *f : {"NUMEROORDRE", "NOMPRENOM", "REVENUIMPOSABLE", "MONTANTNET"})
            columns.append({QLatin1String(f), QLatin1String(f)});
        grid = std::make_unique<DatasetGrid>(annex, columns);
        grid->resize(900, 500);
        grid->show();
    }
    const long before = currentRssMb();

    ImportWizard wizard(annex, &dm);
    wizard.usePreset(QStringLiteral("ANNEXEI"), dm.spreadsheetFolder);
    wizard.setFile(sheet);
    QElapsedTimer t;
    t.start();
    const ImportResult result = wizard.run();
    const double seconds = static_cast<double>(t.nsecsElapsed()) / 1e9;
    std::printf("import of %d .xlsx rows into Annex I%s: %.2f s (%s), peak memory %ld MB (%ld MB before)\n",
                result.imported, withGrid ? " with its grid shown" : "", seconds,
                result.complete ? "complete" : qPrintable(result.message), peakRssMb(), before);
    return result.complete && result.imported == kRows ? 0 : 1;
}
