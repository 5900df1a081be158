// talvane-cli generate over a company with 20,000 Annex I rows and 100,000 Annex II rows, beside the data
// layer fetching the same rows and nothing else. Both run as processes of their own, measured from outside
// (wall time, peak resident memory), best of three; then the same two inside this process, without the
// start of a process and the attachment of the database. Prints one line per measure.
#include "bench/AnnexIRows.h"
#include "data/FbStatement.h"
#include "data/TDatadeclaration.h"
#include "db/DatabaseCreation.h"
#include "declaration/DeclarationFiles.h"
#include "declaration/Generation.h"
#include "declaration/RecapComputation.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char **environ;

namespace {

constexpr const char *kCode = kBenchCompany;

void insertRows(TDatadeclaration &dm, const QString &sql, int rows,
                const std::function<std::vector<QVariant>(int)> &values) {
    FbStatement insert(dm.IBTransaction1);
    insert.prepare(sql);
    for (int i = 1; i <= rows; ++i) {
        const std::vector<QVariant> v = values(i);
        for (std::size_t p = 0; p < v.size(); ++p)
            insert.setParameter(static_cast<int>(p), v[p]);
        insert.execute();
    }
    dm.commit();
}

void fill(TDatadeclaration &dm) {
    insertRows(
        dm,
        QStringLiteral("insert into SOCIETE (IDENTIFIANT, CLE, CATEGORIE, ETABSECONDAIRE, RAISON_SOCIALE, "
                       "ACTIVITE, VILLE, RUE, NUMERO, CODEPOSTAL, EXERCICE, ACTIVEON) values "
                       "('1234567', 'A', 'M', '000', 'SOCIETE BENCH', 'COMMERCE', 'TUNIS', 'RUE DE ROME', "
                       "'1', '1000', 2018, 'O')"),
        1, [](int) { return std::vector<QVariant>(); });
    fillAnnexI(dm, QStringLiteral("2018"), 20000);
    insertRows(dm,
               QStringLiteral(
                   "insert into ANNEXEII (IDENTIFIANT, EXERCICE, NUMEROORDRE, TYPEIDENTIFIANT, "
                   "IDENTIFIANTBENEFICIAIRE, RAISONSOCIALE, ACTIVITE, ADRESSE, TYPEMONTANTSERVIS, "
                   "MONTANTBRUT, HONORAIRESERVIS, JETONSPRESENCES, REMUNIRATIONS, PLUSVALUE, LOYERSHOTELS, "
                   "RETENUESOPERES, NETSERVIS, RISTOURNES, PHYSIQUEMORALE, REMUNERATIONARTISTES, "
                   "HONORAIREBUREAU, TYPEMONTSERVISEXPORTATION, MONTANTBRUTACTEXPORT) values "
                   "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
               100000, [&](int i) {
                   return std::vector<QVariant>{
                       kCode,
                       QStringLiteral("2018"),
                       i,
                       QStringLiteral("1"),
                       QStringLiteral("%1B").arg(i, 7, 10, QLatin1Char('0')).leftJustified(13),
                       QStringLiteral("FOURNISSEUR NUMERO %1").arg(i).leftJustified(40),
                       QStringLiteral("CONSEIL").leftJustified(40),
                       QStringLiteral("%1 AVENUE HABIB BOURGUIBA").arg(i).leftJustified(120),
                       QString::number(i % 6),
                       1000.0 + i * 0.125,
                       i % 3 ? 0.0 : 250.5,
                       0.0,
                       0.0,
                       0.0,
                       i % 5 ? 0.0 : 80.0,
                       150.0 + i * 0.01875,
                       850.0 + i,
                       0.0,
                       QStringLiteral("2"),
                       0.0,
                       0.0,
                       QStringLiteral("1"),
                       0.0};
               });
}

// The rows the generation reads, fetched through the data module's annex queries and nothing else.
double fetchMs(TDatadeclaration &dm, int *rows) {
    QElapsedTimer t;
    t.start();
    *rows = 0;
    for (Dataset *ds : {&dm.irequetteannexeI, &dm.irequetteannexeii}) {
        ds->close();
        ds->setParam(QStringLiteral("codesociete"), QLatin1String(kCode));
        ds->setParam(QStringLiteral("exercice"), QStringLiteral("2018"));
        ds->open();
        *rows += ds->rowCount();
    }
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

struct Measure {
    double ms = 1e18;
    long peakMb = 0;
    int status = 0;
};

// Runs a program and waits for it, taking its wall time and its own peak memory.
Measure runProcess(const QStringList &arguments) {
    std::vector<QByteArray> args;
    for (const QString &a : arguments)
        args.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    QElapsedTimer t;
    t.start();
    pid_t pid = 0;
    Measure m;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        m.status = -1;
        return m;
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    m.ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
    m.peakMb = usage.ru_maxrss / 1024;
    m.status = status;
    posix_spawn_file_actions_destroy(&actions);
    return m;
}

Measure bestOf(int n, const QStringList &arguments) {
    Measure best;
    for (int i = 0; i < n; ++i) {
        const Measure m = runProcess(arguments);
        if (m.status != 0)
            return m;
        if (m.ms < best.ms)
            best = m;
    }
    return best;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && (qstrcmp(argv[1], "fill") == 0 || qstrcmp(argv[1], "fetch") == 0)) {
        TDatadeclaration dm;
        dm.connectDatabase(QString::fromLocal8Bit(argv[2]));
        if (qstrcmp(argv[1], "fill") == 0) {
            fill(dm);
        } else {
            int rows = 0;
            fetchMs(dm, &rows);
        }
        return 0;
    }
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/TALVANE.gdb");
    const QString folder = dir.path() + QStringLiteral("/out");
    QDir().mkpath(folder);
    createDatabase(path);
    const QString self = QCoreApplication::applicationFilePath();
    if (runProcess({self, QStringLiteral("fill"), path}).status != 0) {
        std::fprintf(stderr, "filling the database failed\n");
        return 1;
    }

    const Measure fetch = bestOf(3, {self, QStringLiteral("fetch"), path});
    const Measure generate = bestOf(3, {QStringLiteral(TALVANE_CLI), QStringLiteral("--database"), path,
                                        QStringLiteral("generate"), QStringLiteral("--folder"), folder});
    if (fetch.status != 0 || generate.status != 0) {
        std::fprintf(stderr, "a measured process failed\n");
        return 1;
    }

    TDatadeclaration dm;
    dm.connectDatabase(path);
    int rows = 0;
    double fetchIn = 1e18, generateIn = 1e18;
    for (int i = 0; i < 3; ++i) {
        fetchIn = std::min(fetchIn, fetchMs(dm, &rows));
        QElapsedTimer t;
        t.start();
        runGeneration(dm, {folder, 0});
        generateIn = std::min(generateIn, static_cast<double>(t.nsecsElapsed()) / 1e6);
    }

    // Where the generation's time goes, step by step.
    auto ms = [](QElapsedTimer &t) {
        const double v = static_cast<double>(t.nsecsElapsed()) / 1e6;
        t.restart();
        return v;
    };
    QElapsedTimer step;
    step.start();
    const CompanyRow company = *markedCompanyRow(dm);
    openAnnexQueries(dm, company.code, company.exercice);
    const double queries = ms(step);
    computeRecapFromQueries(dm, company.code, company.exercice);
    const double recap = ms(step);
    DeclarationContent content;
    content.company = company;
    for (int annex = 1; annex <= 7; ++annex)
        content.annexes[static_cast<std::size_t>(annex - 1)] = &dm.annexQuery(annex);
    content.recap = &dm.Itableaurecap;
    checkBeforeWriting(content);
    const double check = ms(step);
    writeDeclarationFiles(content, folder);
    const double write = ms(step);

    std::printf("rows: %d (20,000 Annex I, 100,000 Annex II)\n", rows);
    std::printf(
        "processes:  fetch only %8.1f ms, peak %4ld MB   talvane-cli generate %8.1f ms, peak %4ld MB\n",
        fetch.ms, fetch.peakMb, generate.ms, generate.peakMb);
    std::printf("ratio generate / fetch: %.2f (target 1.5 or less); generate under 5 s: %s\n",
                generate.ms / fetch.ms, generate.ms < 5000 ? "yes" : "no");
    std::printf("in process: fetch only %8.1f ms                runGeneration %8.1f ms (ratio %.2f)\n",
                fetchIn, generateIn, generateIn / fetchIn);
    std::printf("steps: annex queries %.1f ms, recap %.1f ms, check %.1f ms, files %.1f ms\n", queries, recap,
                check, write);
    return 0;
}
