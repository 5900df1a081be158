#include "db/DatabaseCreation.h"

#include "data/DbError.h"
#include "data/FbConnection.h"
#include "data/FbStatement.h"
#include "data/TDatadeclaration.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

QStringList splitSqlScript(const QString &script) {
    static const QRegularExpression setTerm(QStringLiteral("^\\s*SET\\s+TERM\\s+(\\S+)\\s*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression commit(QStringLiteral("^\\s*COMMIT(\\s+WORK)?\\s*$"),
                                           QRegularExpression::CaseInsensitiveOption);
    QStringList statements;
    QString terminator = QStringLiteral(";");
    QString current;
    bool inQuote = false;
    auto finish = [&](const QString &text) {
        const QString statement = text.trimmed();
        if (statement.isEmpty())
            return;
        const auto term = setTerm.match(statement);
        if (term.hasMatch()) {
            // "SET TERM ^ ;" ends with the old terminator, already removed.
            terminator = term.captured(1);
            return;
        }
        if (!commit.match(statement).hasMatch())
            statements << statement;
    };
    const qsizetype n = script.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = script.at(i);
        if (inQuote) {
            current += c;
            if (c == QLatin1Char('\''))
                inQuote = false;
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < n && script.at(i + 1) == QLatin1Char('-')) {
            const qsizetype end = script.indexOf(QLatin1Char('\n'), i);
            i = end < 0 ? n : end;
            current += QLatin1Char('\n');
            continue;
        }
        if (c == QLatin1Char('/') && i + 1 < n && script.at(i + 1) == QLatin1Char('*')) {
            const qsizetype end = script.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? n : end + 1;
            continue;
        }
        if (c == QLatin1Char('\'')) {
            inQuote = true;
            current += c;
            continue;
        }
        if (script.mid(i, terminator.size()) == terminator) {
            finish(current);
            current.clear();
            i += terminator.size() - 1;
            continue;
        }
        current += c;
    }
    finish(current);
    return statements;
}

namespace {

// A file on this machine is looked at directly; one behind a server exists when it can be attached.
bool databaseExists(const QString &path) {
    if (!FbConnection::namesServer(path))
        return QFileInfo::exists(path);
    FbConnection probe;
    probe.setDatabaseName(path);
    probe.setCredentials(QLatin1String(TDatadeclaration::kUser), QLatin1String(TDatadeclaration::kPassword));
    try {
        probe.open();
    } catch (const DbError &) {
        return false; // absent, or not reachable: the creation says which
    }
    return true;
}

} // namespace

QString schemaScript() {
    QFile file(QStringLiteral(":/db/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("Le script de création de la base est introuvable dans le programme."));
    return QString::fromUtf8(file.readAll());
}

void createDatabase(const QString &path) {
    if (databaseExists(path))
        throw DbError(QStringLiteral("Le fichier \"%1\" existe déjà : la base n'a pas été créée.").arg(path));
    const QStringList statements = splitSqlScript(schemaScript());

    FbConnection connection;
    connection.setDatabaseName(path);
    connection.setCredentials(QLatin1String(TDatadeclaration::kUser),
                              QLatin1String(TDatadeclaration::kPassword));
    connection.create();
    FbTransaction transaction(connection);
    try {
        for (const QString &sql : statements) {
            FbStatement statement(transaction);
            statement.prepare(sql, false);
            statement.execute();
            transaction.commit();
        }
    } catch (const DbError &e) {
        // Leave no half-made database behind.
        try {
            transaction.rollback();
        } catch (const DbError &) {
        }
        ISC_STATUS_ARRAY status;
        isc_drop_database(status, connection.handle());
        throw DbError(QStringLiteral("Création de la base \"%1\" interrompue :\n%2").arg(path, e.message()));
    }
    connection.close();
}
