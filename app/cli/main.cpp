#include "app/cli/CliCommands.h"
#include "data/QuitOnSignal.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv) {
    exitOnSignals();
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const int rc = runCli(arguments, out, err);
    out.flush();
    err.flush();
    return rc;
}
