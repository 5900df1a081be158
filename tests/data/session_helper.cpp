// A short working session on a database, ended in one of two ways:
//   session_helper PATH kill   deletes a third party, saves an employee, deletes another, then dies by a
//                              signal without ending the shared transaction;
//   session_helper PATH term   deletes an employee (pending), says "ready" and runs its event loop until
//                              SIGTERM ends it.
#include "data/QuitOnSignal.h"
#include "data/TDatadeclaration.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>

int main(int argc, char **argv) {
    blockQuitSignals();
    QCoreApplication app(argc, argv);
    quitEventLoopOnSignals();
    if (argc < 3)
        return 2;
    const QByteArray mode = argv[2];
    TDatadeclaration dm;
    dm.connectDatabase(QString::fromLocal8Bit(argv[1]));
    if (mode == "kill") {
        dm.Itiers.open();
        dm.Itiers.remove(); // committed at once
        dm.ipersonnel.open();
        dm.ipersonnel.append();
        dm.ipersonnel.setValue(QStringLiteral("MATRICULE"), QStringLiteral("NEW"));
        dm.ipersonnel.post(); // committed at once
        dm.ipersonnel.locate(QStringLiteral("MATRICULE"), QStringLiteral("OLD"));
        dm.ipersonnel.remove(); // waits for the next commit, which never comes
        std::puts("saved");
        std::fflush(stdout);
        std::raise(SIGKILL);
    }
    dm.ipersonnel.open();
    dm.ipersonnel.remove(); // pending until the end of the run
    std::puts("ready");
    std::fflush(stdout);
    return app.exec();
}
