// Deletes a third party, saves an employee, deletes another, then dies by a signal without ending the shared transaction.
#include "data/TDatadeclaration.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    TDatadeclaration dm;
    dm.connectDatabase(QString::fromLocal8Bit(argv[1]));
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
    return 0;
}
