#include "app/cli/CliCommands.h"

#include "data/Configuration.h"
#include "data/DbError.h"
#include "db/DatabaseCreation.h"

QString CliContext::databasePath() const {
    return databaseOption.isEmpty() ? Configuration::read().databasePath() : databaseOption;
}

namespace {

int createDb(CliContext &c) {
    if (c.arguments.size() != 1) {
        c.err << "Usage : talvane-cli create-db CHEMIN\n";
        return 2;
    }
    createDatabase(c.arguments.first());
    c.out << "Base de données créée : " << c.arguments.first() << "\n";
    return 0;
}

void printHelp(QTextStream &out) {
    out << "Usage : talvane-cli [--database CHEMIN] COMMANDE [ARGUMENTS]\n\n"
           "--database CHEMIN  la base à utiliser à la place de celle de ../CheminBase.ini\n\nCommandes :\n";
    for (const CliCommand &c : cliCommands())
        out << "  " << c.usage << "\n      " << c.summary << "\n";
}

} // namespace

const std::vector<CliCommand> &cliCommands() {
    static const std::vector<CliCommand> commands = {
        {"create-db", "create-db CHEMIN", "crée une base vide (tables, procédures, types de retenues)",
         createDb},
    };
    return commands;
}

int runCli(const QStringList &arguments, QTextStream &out, QTextStream &err) {
    QString database;
    QStringList rest;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (a == QLatin1String("--database")) {
            if (i + 1 >= arguments.size()) {
                err << "L'option --database attend le chemin d'une base.\n";
                return 2;
            }
            database = arguments.at(++i);
        } else if (a.startsWith(QLatin1String("--database="))) {
            database = a.mid(11);
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            printHelp(out);
            return 0;
        } else {
            rest << a;
        }
    }
    if (rest.isEmpty()) {
        printHelp(err);
        return 2;
    }
    const QString name = rest.takeFirst();
    for (const CliCommand &command : cliCommands()) {
        if (name == QLatin1String(command.name)) {
            CliContext context{rest, database, out, err};
            try {
                return command.run(context);
            } catch (const DbError &e) {
                err << e.message() << "\n";
                return 1;
            }
        }
    }
    err << "Commande inconnue : " << name << "\n";
    printHelp(err);
    return 2;
}
