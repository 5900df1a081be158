#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <vector>

// What a command of talvane-cli receives: its own arguments and the database chosen by --database
// (or by CheminBase.ini when the option is absent).
struct CliContext {
    QStringList arguments;
    QString databaseOption; // empty when --database is absent
    QTextStream &out;
    QTextStream &err;
    QString databasePath() const; // the option, or the path CheminBase.ini gives
};

struct CliCommand {
    const char *name;
    const char *usage;
    const char *summary;
    std::function<int(CliContext &)> run;
};

// Every command of the tool, in the order of the help text. Later subsystems add theirs here.
const std::vector<CliCommand> &cliCommands();
int runCli(const QStringList &arguments, QTextStream &out, QTextStream &err);
