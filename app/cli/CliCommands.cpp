#include "app/cli/CliCommands.h"

#include "data/Configuration.h"
#include "data/DbError.h"
#include "data/TDatadeclaration.h"
#include "db/DatabaseCreation.h"
#include "declaration/CompanyRow.h"
#include "declaration/DeclarationCheck.h"
#include "declaration/DeclarationError.h"
#include "declaration/Generation.h"
#include "declaration/RecapComputation.h"

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

// Options "--name VALUE" or "--name=VALUE" of a command; false (with a message) on anything else.
bool readOptions(CliContext &c, const QStringList &names, QHash<QString, QString> *values) {
    for (qsizetype i = 0; i < c.arguments.size(); ++i) {
        const QString &a = c.arguments.at(i);
        bool known = false;
        for (const QString &name : names) {
            const QString option = QStringLiteral("--") + name;
            if (a == option && i + 1 < c.arguments.size()) {
                values->insert(name, c.arguments.at(++i));
                known = true;
            } else if (a.startsWith(option + QLatin1Char('='))) {
                values->insert(name, a.mid(option.size() + 1));
                known = true;
            }
        }
        if (!known) {
            c.err << "Argument inattendu : " << a << "\n";
            return false;
        }
    }
    return true;
}

int generate(CliContext &c) {
    QHash<QString, QString> options;
    const bool ok = readOptions(c, {QStringLiteral("folder"), QStringLiteral("type")}, &options);
    const QString type = options.value(QStringLiteral("type"), QStringLiteral("0"));
    if (!ok || !options.contains(QStringLiteral("folder")) ||
        (type != QLatin1String("0") && type != QLatin1String("1") && type != QLatin1String("2"))) {
        c.err << "Usage : talvane-cli generate --folder DOSSIER [--type 0|1|2]\n";
        return 2;
    }
    TDatadeclaration dm;
    dm.connectDatabase(c.databasePath());
    const GenerationResult result =
        runGeneration(dm, {options.value(QStringLiteral("folder")), type.toInt()});
    for (const QString &file : result.files)
        c.out << file << "\n";
    for (const QString &stale : result.staleAnnexFiles)
        c.err << "Attention : " << stale
              << " vient d'une génération précédente ; son annexe n'a plus de lignes et DECEMP_ la déclare "
                 "absente.\n";
    return 0;
}

int recapCommand(CliContext &c) {
    QHash<QString, QString> options;
    const bool ok = readOptions(c, {QStringLiteral("company"), QStringLiteral("year")}, &options);
    if (!ok || options.contains(QStringLiteral("company")) != options.contains(QStringLiteral("year"))) {
        c.err << "Usage : talvane-cli recap [--company CODE --year AAAA]\n";
        return 2;
    }
    TDatadeclaration dm;
    dm.connectDatabase(c.databasePath());
    QString code = options.value(QStringLiteral("company"));
    QString year = options.value(QStringLiteral("year"));
    if (code.isEmpty() && year.isEmpty()) {
        const std::optional<CompanyRow> marked = markedCompanyRow(dm);
        if (!marked) {
            c.err << "Aucune société n'est marquée « O » : indiquez --company CODE --year AAAA.\n";
            return 1;
        }
        code = marked->code;
        year = marked->exercice;
    }
    for (const RecapRecord &r : computeRecap(dm, code, year))
        c.out << QString::fromLatin1(r.record()) << "\n";
    return 0;
}

int check(CliContext &c) {
    if (c.arguments.size() != 1) {
        c.err << "Usage : talvane-cli check DOSSIER\n";
        return 2;
    }
    const QStringList problems = checkDeclarationFolder(c.arguments.first());
    for (const QString &p : problems)
        c.out << p << "\n";
    if (!problems.isEmpty()) {
        c.err << problems.size() << (problems.size() == 1 ? " anomalie.\n" : " anomalies.\n");
        return 1;
    }
    c.out << "Aucune anomalie dans " << c.arguments.first() << ".\n";
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
        {"generate", "generate --folder DOSSIER [--type 0|1|2]",
         "écrit DECEMP_ et les fichiers des annexes de la société marquée « O » (type 0 Spontané, 1 "
         "Régularisation, 2 Redressement)",
         generate},
        {"recap", "recap [--company CODE --year AAAA]",
         "calcule le tableau récapitulatif (société marquée « O » par défaut) et affiche ses 38 lignes",
         recapCommand},
        {"check", "check DOSSIER", "contrôle les fichiers de déclaration d'un dossier, sans la base", check},
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
            } catch (const DeclarationError &e) {
                err << e.message() << "\n";
                return 1;
            }
        }
    }
    err << "Commande inconnue : " << name << "\n";
    printHelp(err);
    return 2;
}
